#!/usr/bin/env bash
# Times unattended Sarvonex runs against sed -i, perl -pi and sd (when it can
# be installed) on the five cases below, each tool on a fresh copy of the
# corpus per run (warm cache), checks that every tool's result is right
# (UTF-16 files excepted for the byte tools) and prints one table of medians,
# speed-ups and Sarvonex's peak memory.
#   bench/whole_process.sh
#   SARVONEX_BENCH_RUNS=1 bench/whole_process.sh   # quick look (default 5)
#   SARVONEX=/path/to/sarvonex bench/whole_process.sh   # time another build
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${SARVONEX_BENCH_RUNS:-5}

need() { # command, Debian package
  command -v "$1" >/dev/null && return
  { apt-get update -qq && apt-get install -y -qq "$2"; } >/dev/null 2>&1 || true
}
need python3 python3
need /usr/bin/time time
need sd sd
have_sd=$(command -v sd >/dev/null && echo yes || echo no)

if [ -z "${SARVONEX:-}" ]; then
  build="$root/build-release"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSARVONEX_TESTS=OFF >/dev/null
  cmake --build "$build" --target sarvonex >/dev/null
  SARVONEX="$build/bin/sarvonex"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$root/bench/make_corpus.py" tree "$work/tree"
python3 "$root/bench/make_corpus.py" big "$work/big"
for corpus in tree big; do
  echo "corpus $corpus: $(find "$work/$corpus" -type f | wc -l) files," \
    "$(($(du -sb "$work/$corpus" | cut -f1) / 1000000)) MB"
done

# Sarvonex's job: every *.txt below the copy, one pair, no back-up, no list,
# no statistics, no prompting.
job() { # find, replacement, options text
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

files() { find "$work/copy" -type f -print0; }
# Each tool: find, replacement, "i" for any case.
tool_sed() { files | xargs -0 sed -i "s/$1/$2/g${3:+I}"; }
tool_perl() { files | xargs -0 perl -pi -e "s/$1/$2/g$3"; }
tool_sd() { files | xargs -0 sd -s ${3:+-f i} "$1" "$2"; }
tool_sarvonex() {
  job "$1" "$2" "$([ -n "$3" ] || echo c)(--)[Default]"
  env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$work/config" HOME="$work" \
    "$SARVONEX" "-f$work/job.ini" -r -s
}
tool_floor() { files | xargs -0 wc -l >/dev/null; }
# /usr/bin/time runs the tools through a new shell.
export work SARVONEX
export -f job files tool_sed tool_perl tool_sd tool_sarvonex tool_floor

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Runs a tool $runs times on fresh copies; sets seconds, peak (KiB) and check.
measure() { # corpus, tool, find, replacement, any case
  local corpus=$1 tool=$2 times=() peaks=()
  check=-
  for ((run = 0; run < runs; ++run)); do
    rm -rf "$work/copy"
    cp -r "$work/$corpus" "$work/copy"
    sync
    /usr/bin/time -f "%e %M" -o "$work/time" bash -c '"$@"' - "tool_$tool" "$3" "$4" "$5" \
      >/dev/null 2>&1 || true
    read -r secs kib < <(tail -1 "$work/time")
    times+=("$secs")
    peaks+=("$kib")
    if [ "$run" = 0 ] && [ "$tool" != floor ]; then
      check=$(python3 "$root/bench/check_result.py" "$work/$corpus" "$work/copy" "$3" "$4" \
        "$5" "$([ "$tool" = sarvonex ] || echo bytes)" || true)
    fi
  done
  seconds=$(printf '%s\n' "${times[@]}" | median)
  peak=$(printf '%s\n' "${peaks[@]}" | sort -n | tail -1)
}

threads=1
echo "runs per figure: $runs (median); Sarvonex threads: $threads; sd: $have_sd"
printf '%-34s %7s %7s %7s %9s %8s %7s %6s %9s %s\n' case "sed -i" "perl -pi" sd sarvonex \
  "x sed" "x sd" goal "peak MiB" checks
while IFS='|' read -r label corpus find repl anycase goal; do
  declare -A secs=() checks=()
  for tool in sed perl sd sarvonex; do
    if [ "$tool" = sd ] && [ "$have_sd" = no ]; then secs[sd]=-; checks[sd]=-; continue; fi
    measure "$corpus" "$tool" "$find" "$repl" "$anycase"
    secs[$tool]=$seconds
    checks[$tool]=$check
    [ "$tool" = sarvonex ] && sarvonex_peak=$((peak / 1024))
  done
  x_sed=$(awk -v a="${secs[sed]}" -v b="${secs[sarvonex]}" 'BEGIN { printf "%.2f", a / b }')
  x_sd=-
  [ "$have_sd" = yes ] && x_sd=$(awk -v a="${secs[sd]}" -v b="${secs[sarvonex]}" 'BEGIN { printf "%.2f", a / b }')
  met=$(awk -v x="$x_sed" -v g="$goal" 'BEGIN { print (x >= g) ? "met" : "not met" }')
  printf '%-34s %7s %8s %7s %9s %8s %7s %6s %9s %s\n' "$label" "${secs[sed]}" "${secs[perl]}" \
    "${secs[sd]}" "${secs[sarvonex]}" "$x_sed" "$x_sd" "${goal}x:$met" "$sarvonex_peak" \
    "sed ${checks[sed]}, perl ${checks[perl]}, sd ${checks[sd]}, sarvonex ${checks[sarvonex]}"
done <<'CASES'
2,000 files; token in half|tree|QUIXOTRIX|QUIXOTIC||3
2,000 files; the -> THE|tree|the|THE||2.5
2,000 files; token, any case|tree|quixotrix|QUIXOTIC|i|3
20 x 10 MiB; token in every file|big|QUIXOTRIX|QUIXOTIC||4
CASES
for corpus in tree big; do
  measure "$corpus" floor "" "" ""
  printf '%-34s %7s\n' "read floor (wc -l), $corpus" "$seconds"
done
echo "peak memory goal: largest file x files in flight ($threads) + 64 MiB" \
  "= $((106000 / 1048576 + 64)) MiB (tree), $((10 + 64)) MiB (big)"
