# fish completion for sarvonex: the job-file form (-f<file> -r -s, --preview,
# --undo) and the replace command, with its options, their values and file
# names.

function __sarvonex_replacing
    contains -- replace (commandline -opc)
end

complete -c sarvonex -f

# The job-file form.
complete -c sarvonex -n 'not __sarvonex_replacing' -a replace -d 'Replace strings without a job file'
complete -c sarvonex -n 'not __sarvonex_replacing' -s f -r -F -d "The job's settings file"
complete -c sarvonex -n 'not __sarvonex_replacing' -s r -d 'Run the job, then end'
complete -c sarvonex -n 'not __sarvonex_replacing' -s s -d 'With -r: unattended'
complete -c sarvonex -n 'not __sarvonex_replacing' -l preview -d 'Print what a run of the job would change'
complete -c sarvonex -n 'not __sarvonex_replacing' -l color -x -a 'auto always never' -d 'Colour the preview'
complete -c sarvonex -n 'not __sarvonex_replacing' -l undo -d 'Put back the files of the last run'
complete -c sarvonex -n 'not __sarvonex_replacing' -l help -d 'Show the usage'
complete -c sarvonex -n 'not __sarvonex_replacing' -l version -d 'Show the version'

# sarvonex replace [OPTIONS] [--] FIND REPLACE [PATH...]
complete -c sarvonex -n __sarvonex_replacing -F
complete -c sarvonex -n __sarvonex_replacing -s g -l glob -x -d 'Take files whose names match MASK'
complete -c sarvonex -n __sarvonex_replacing -s x -l exclude -x -d 'Leave out files whose names match MASK'
complete -c sarvonex -n __sarvonex_replacing -l depth -x -a '0 1 all' -d 'How deep folders are searched'
complete -c sarvonex -n __sarvonex_replacing -s i -l ignore-case -d 'Match without regard to case'
complete -c sarvonex -n __sarvonex_replacing -s w -l word -d 'Match whole words only'
complete -c sarvonex -n __sarvonex_replacing -s e -l regex -d 'FIND is a regular expression'
complete -c sarvonex -n __sarvonex_replacing -l encoding -x -a 'auto ansi utf-8 utf-16le utf-16be' -d 'The coding of the files'
complete -c sarvonex -n __sarvonex_replacing -l backup -x -a 'none folder folder= rename rename=' -d 'Back-up copies'
complete -c sarvonex -n __sarvonex_replacing -l binary -x -a 'skip text' -d 'Files that look binary'
complete -c sarvonex -n __sarvonex_replacing -l read-only -x -a 'skip modify' -d 'Read-only files'
complete -c sarvonex -n __sarvonex_replacing -l preview -d 'Print the changes as unified diffs, write nothing'
complete -c sarvonex -n __sarvonex_replacing -l color -x -a 'auto always never' -d 'Colour the preview'
complete -c sarvonex -n __sarvonex_replacing -l json -d 'JSON Lines on standard output'
complete -c sarvonex -n __sarvonex_replacing -l save-job -r -F -d 'Write the equivalent job file, run nothing'
complete -c sarvonex -n __sarvonex_replacing -s j -l threads -x -d "Threads besides the run's own"
complete -c sarvonex -n __sarvonex_replacing -s h -l help -d 'Show the usage'
