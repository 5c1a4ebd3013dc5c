# bash completion for sarvonex                             -*- shell-script -*-
# The job-file form (-f<file> -r -s, --preview, --undo) and the replace
# command: its options, their values and file names.

_sarvonex_replace()
{
    local cur=$1 prev=$2
    case $prev in
        --encoding) COMPREPLY=($(compgen -W 'auto ansi utf-8 utf-16le utf-16be' -- "$cur")); return ;;
        --depth) COMPREPLY=($(compgen -W '0 1 all' -- "$cur")); return ;;
        --binary) COMPREPLY=($(compgen -W 'skip text' -- "$cur")); return ;;
        --read-only) COMPREPLY=($(compgen -W 'skip modify' -- "$cur")); return ;;
        --color) COMPREPLY=($(compgen -W 'auto always never' -- "$cur")); return ;;
        --backup)
            COMPREPLY=($(compgen -W 'none folder folder= rename rename=' -- "$cur"))
            [[ ${COMPREPLY[0]-} == *= ]] && compopt -o nospace
            return ;;
        --save-job)
            compopt -o filenames
            COMPREPLY=($(compgen -f -- "$cur"))
            return ;;
        -g | --glob | -x | --exclude | -j | --threads) return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '-g --glob -x --exclude --depth -i --ignore-case -w --word
            -e --regex --encoding --backup --binary --read-only --preview --color --json
            --save-job -j --threads -h --help --' -- "$cur"))
        return
    fi
    compopt -o filenames
    COMPREPLY=($(compgen -f -- "$cur"))
}

_sarvonex()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=
    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
    # "--encoding=utf" reaches us as "--encoding", "=", "utf".
    if [[ $cur == = ]]; then
        cur=
    elif [[ $prev == = ]] && ((COMP_CWORD > 1)); then
        prev=${COMP_WORDS[COMP_CWORD - 2]}
    fi

    local i
    for ((i = 1; i < COMP_CWORD; i++)); do
        if [[ ${COMP_WORDS[i]} == replace ]]; then
            _sarvonex_replace "$cur" "$prev"
            return
        fi
    done

    case $cur in
        -f*)
            compopt -o filenames
            COMPREPLY=($(compgen -f -P -f -- "${cur#-f}"))
            ;;
        -*)
            COMPREPLY=($(compgen -W '-f -r -s --preview --color --undo --help --version' -- "$cur"))
            ;;
        *)
            ((COMP_CWORD == 1)) && COMPREPLY=($(compgen -W replace -- "$cur"))
            ;;
    esac
}

complete -F _sarvonex sarvonex
