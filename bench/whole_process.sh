#!/usr/bin/env bash
# Times an unattended Sarvonex run against sed -i and perl -pi doing the same
# literal replacement over a ~200 MiB corpus, each on a fresh copy, with the
# floors cat (read every file) and cp -r (copy the corpus).
#   bench/whole_process.sh [MiB] [files]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mib=${1:-200}
count=${2:-2000}
command -v python3 >/dev/null || { apt-get update -qq && apt-get install -y -qq python3 >/dev/null; }
"$root/scripts/setup"
build="$root/build-release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSARVONEX_TESTS=OFF >/dev/null
cmake --build "$build" --target sarvonex >/dev/null
sarvonex="$build/bin/sarvonex"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
corpus="$work/corpus"
python3 "$root/bench/make_corpus.py" "$corpus" "$mib" "$count"
bytes=$(du -sb "$corpus" | cut -f1)
echo "corpus: $(find "$corpus" -type f | wc -l) files, $((bytes / 1048576)) MiB"

fresh() { rm -rf "$work/copy"; cp -r "$corpus" "$work/copy"; sync; }

# Writes a job replacing $1 by $2 with options text $3 in the fresh copy.
job() {
  cat > "$work/job.ini" <<INI
[Sarvonex]
Version=2.2
[Directories]
GridWidth=3
GridHeight=1
Value1=$work/copy
Value2=All levels
Value3=-B
[FileTypes]
GridWidth=3
GridHeight=1
Value1=*.txt
Value2=Auto
Value3=
[ExcludeFileTypes]
GridWidth=3
GridHeight=0
[Strings]
GridWidth=3
GridHeight=1
Value1=$1
Value2=$2
Value3=$3
[Options]
Backup=1
ShowFileList=0
PromptEachReplace=0
ShowFinalStats=0
PreserveDateTime=0
INI
}

declare -A sed_seconds sed_digest
# A digest of every file of the copy, to check the tools agree.
digest() { (cd "$work/copy" && find . -type f -print0 | sort -z | xargs -0 cat | md5sum | cut -c1-32); }
measure() { # name, case, command...
  local name=$1 case=$2; shift 2
  fresh
  local start end secs
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s.%N)
  secs=$(echo "$end - $start" | bc -l)
  local result
  result=$(digest)
  if [ "$name" = "sed -i" ]; then
    sed_seconds[$case]=$secs
    sed_digest[$case]=$result
  fi
  local ratio="-" same="-"
  if [ -n "${sed_seconds[$case]:-}" ]; then
    ratio=$(printf '%.2f' "$(echo "$secs / ${sed_seconds[$case]}" | bc -l)")
    [ "$result" = "${sed_digest[$case]}" ] && same=yes || same=NO
  fi
  printf '%-18s %-10s %8.2f s %9.1f MB/s %8s %8s\n' "$case" "$name" "$secs" \
    "$(echo "$bytes / 1000000 / $secs" | bc -l)" "$ratio" "$same"
}

files() { find "$work/copy" -type f -print0; }
run_sed() { files | xargs -0 sed -i "s/$1/$2/g"; }
run_perl() { files | xargs -0 perl -pi -e "s/$1/$2/g$3"; }
run_sarvonex() { job "$1" "$2" "$3"; env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$work/config" "$sarvonex" "-f$work/job.ini" -r -s; }
run_cat() { files | xargs -0 cat >/dev/null; }
run_cp() { cp -r "$corpus" "$work/copy2"; rm -rf "$work/copy2"; }

command -v bc >/dev/null || { apt-get update -qq && apt-get install -y -qq bc >/dev/null; }
printf '%-18s %-10s %10s %14s %8s %8s\n' case tool time throughput "x sed" "as sed"
for job_case in "rare:QUIXOTRIX:QUIXOTIC" "common:the:THE"; do
  IFS=: read -r case find repl <<<"$job_case"
  measure "sed -i" "$case" run_sed "$find" "$repl"
  measure "perl -pi" "$case" run_perl "$find" "$repl" ""
  measure "sarvonex" "$case" run_sarvonex "$find" "$repl" "c(--)[Default]"
done
# Case-insensitive, compared with sed's case-sensitive run on the same token.
measure "perl -pi/i" "rare" run_perl "quixotrix" "QUIXOTIC" "i"
measure "sarvonex/i" "rare" run_sarvonex "quixotrix" "QUIXOTIC" "(--)[Default]"
measure "cat" "floor" run_cat
measure "cp -r" "floor" run_cp
