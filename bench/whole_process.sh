#!/usr/bin/env bash
# Times unattended Sarvonex runs against sed -i, perl -pi, sd (when it can
# be installed) and the durable floor (bench/DurableFloor.cpp: the least work
# that replaces durably, on 8 threads) on the cases below (the last of them a
# regular expression with a group, beside the same replacement as plain text), each tool on a fresh copy of the
# corpus per run (warm cache), checks that every tool's result is right
# (UTF-16 files excepted for the byte tools) and prints one table of medians,
# speed-ups and Sarvonex's peak memory. Sarvonex is timed with the threads it
# chooses and, in a column of its own, with one thread (SARVONEX_THREADS=1).
# The tools take turns, run after run.
#   bench/whole_process.sh
#   SARVONEX_BENCH_RUNS=1 bench/whole_process.sh   # quick look (default 5)
#   SARVONEX=/path/to/sarvonex bench/whole_process.sh   # time another build
#   SARVONEX_BENCH_CASES=regex bench/whole_process.sh   # only the cases whose label has "regex"
#   SARVONEX_BENCH_LARGE=1 bench/whole_process.sh   # also 100,000 small files and a 1 GiB
#                                                   # file, the floor and Sarvonex only, once each
# The goal column is Sarvonex's time over the durable floor's.
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
  cmake --build "$build" --target sarvonex DurableFloor >/dev/null
  SARVONEX="$build/bin/sarvonex"
fi
DURABLE_FLOOR=${DURABLE_FLOOR:-$(dirname "$SARVONEX")/DurableFloor}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
corpora=(tree big)
[ -z "${SARVONEX_BENCH_LARGE:-}" ] || corpora+=(many huge)
for corpus in "${corpora[@]}"; do
  python3 "$root/bench/make_corpus.py" "$corpus" "$work/$corpus"
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
# Each tool: find, replacement, "i" for any case, "r" for a regular expression
# (whose replacement names groups as $1).
tool_sed() {
  if [ -n "$4" ]; then files | xargs -0 sed -E -i "s/$1/${2//\$/\\}/g${3:+I}"
  else files | xargs -0 sed -i "s/$1/$2/g${3:+I}"; fi
}
tool_perl() { files | xargs -0 perl -pi -e "s/$1/$2/g$3"; }
tool_sd() {
  local strings=(-s)
  [ -z "$4" ] || strings=()
  files | xargs -0 sd "${strings[@]}" ${3:+-f i} "$1" "$2"
}
tool_sarvonex() {
  job "$1" "$2" "$([ -n "$3" ] || echo c)$4(--)[Default]"
  env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$work/config" HOME="$work" \
    SARVONEX_THREADS="${SARVONEX_THREADS:-0}" \
    "$SARVONEX" "-f$work/job.ini" -r -s
}
tool_sarvonex1() { SARVONEX_THREADS=1 tool_sarvonex "$@"; }
tool_floor() { files | xargs -0 wc -l >/dev/null; }
tool_durable() { "$DURABLE_FLOOR" "$1" "$2" $3 "$work/copy"; }
# /usr/bin/time runs the tools through a new shell.
export work SARVONEX DURABLE_FLOOR
export -f job files tool_sed tool_perl tool_sd tool_sarvonex tool_sarvonex1 tool_floor tool_durable

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# One run of a tool on a fresh copy; appends its seconds and peak memory (KiB)
# to times_<tool> and peaks_<tool>, and on the first run checks the result.
run_once() { # corpus, tool, find, replacement, any case, regex, first run?
  local corpus=$1 tool=$2 taken kib
  rm -rf "$work/copy"
  cp -r "$work/$corpus" "$work/copy"
  sync
  /usr/bin/time -f "%e %M" -o "$work/time" bash -c '"$@"' - "tool_$tool" "$3" "$4" "$5" "$6" \
    >/dev/null 2>&1 || true
  read -r taken kib < <(tail -1 "$work/time")
  eval "times_$tool+=(\"\$taken\") peaks_$tool+=(\"\$kib\")"
  if [ "$7" = yes ] && [ "$tool" != floor ]; then
    checks[$tool]=$(python3 "$root/bench/check_result.py" "$work/$corpus" "$work/copy" "$3" \
      "$4" "$5" "$6" "$(case $tool in sarvonex*) ;; *) echo bytes ;; esac)" || true)
  fi
}

# The tools take turns run after run: the file system's state after many
# deletions and creations then weighs on each alike.
measure_all() { # corpus, find, replacement, any case, regex, tools...
  local corpus=$1 find=$2 repl=$3 anycase=$4 regex=$5
  shift 5
  local tool run
  for tool in "$@"; do eval "times_$tool=() peaks_$tool=()"; done
  for ((run = 0; run < runs; ++run)); do
    for tool in "$@"; do
      run_once "$corpus" "$tool" "$find" "$repl" "$anycase" "$regex" \
        "$([ $run = 0 ] && echo yes)"
    done
  done
  for tool in "$@"; do
    eval "secs[$tool]=\$(printf '%s\\n' \"\${times_$tool[@]}\" | median)"
    eval "peak[$tool]=\$(printf '%s\\n' \"\${peaks_$tool[@]}\" | sort -n | tail -1)"
  done
}

# What a thread count of 0 resolves to in the program: readers by the
# processor count (at least 2), writers twice as many (at least 8).
cpus=$(nproc)
readers=$((cpus > 2 ? cpus : 2))
writers=$((2 * readers > 8 ? 2 * readers : 8))
tools=(durable sed perl)
[ "$have_sd" = yes ] && tools+=(sd)
tools+=(sarvonex sarvonex1)
echo "runs per figure: $runs (median); processors: $cpus; Sarvonex threads: $readers reading" \
  "and matching, $writers writing (1-thread column: SARVONEX_THREADS=1); sd: $have_sd"
printf '%-34s %7s %7s %8s %7s %9s %9s %8s %7s %8s %9s %9s %s\n' case floor "sed -i" "perl -pi" \
  sd sarvonex "1 thread" "x sed" "x sd" "/ floor" goal "peak MiB" checks
declare -A literal_secs=()
while IFS='|' read -r label corpus find repl anycase regex goal; do
  [[ "$label" == *"${SARVONEX_BENCH_CASES:-}"* ]] || continue
  declare -A secs=([sd]=- [durable]=-) peak=() checks=([sd]=- [durable]=-)
  # The durable floor replaces plain text only.
  row_tools=("${tools[@]}")
  [ -z "$regex" ] || row_tools=("${tools[@]/durable/}")
  measure_all "$corpus" "$find" "$repl" "$anycase" "$regex" ${row_tools[@]}
  x_sed=$(awk -v a="${secs[sed]}" -v b="${secs[sarvonex]}" 'BEGIN { printf "%.2f", a / b }')
  x_sd=-
  [ "$have_sd" = yes ] && x_sd=$(awk -v a="${secs[sd]}" -v b="${secs[sarvonex]}" 'BEGIN { printf "%.2f", a / b }')
  x_floor=-
  [ -n "$regex" ] || x_floor=$(awk -v a="${secs[sarvonex]}" -v b="${secs[durable]}" 'BEGIN { printf "%.2f", a / b }')
  met=$(awk -v x="$x_floor" -v g="$goal" 'BEGIN { print (g == "-") ? "" : (x <= g) ? ":met" : ":not met" }')
  printf '%-34s %7s %7s %8s %7s %9s %9s %8s %7s %8s %9s %9s %s\n' "$label" "${secs[durable]}" \
    "${secs[sed]}" "${secs[perl]}" "${secs[sd]}" "${secs[sarvonex]}" "${secs[sarvonex1]}" "$x_sed" \
    "$x_sd" "$x_floor" "${goal}$met" "$((peak[sarvonex] / 1024))" \
    "floor ${checks[durable]}, sed ${checks[sed]}, perl ${checks[perl]}, sd ${checks[sd]}, sarvonex ${checks[sarvonex]}/${checks[sarvonex1]}"
  # The regular expression against the same replacement as plain text.
  if [ -z "$regex" ]; then
    literal_secs=([sarvonex]=${secs[sarvonex]} [sarvonex1]=${secs[sarvonex1]})
  elif [ -n "${literal_secs[sarvonex]:-}" ]; then
    for tool in sarvonex sarvonex1; do
      awk -v r="${secs[$tool]}" -v l="${literal_secs[$tool]}" -v s="${secs[sd]}" -v t="$tool" \
        'BEGIN { printf "  %s: regex / plain text %.2fx (goal <= 1.3x)", t, r / l;
                 if (s != "-") printf ", regex / sd %.2fx (goal < 1)", r / s; print "" }'
    done
  fi
done <<'CASES'
2,000 files; token in half|tree|QUIXOTRIX|QUIXOTIC|||1.25
2,000 files; the -> THE|tree|the|THE|||1.25
2,000 files; token, any case|tree|quixotrix|QUIXOTIC|i||1.25
20 x 10 MiB; token in every file|big|QUIXOTRIX|QUIXOTIC|||1.1
2,000 files; rare token, plain|tree|needle_|pin_|||-
2,000 files; rare token, regex|tree|needle_(\w+)|pin_$1||r|-
CASES
# The large cases: the floor and Sarvonex only, once each.
if [ -n "${SARVONEX_BENCH_LARGE:-}" ]; then
  while IFS='|' read -r label corpus; do
    declare -A secs=() peak=() checks=()
    runs=1 measure_all "$corpus" QUIXOTRIX QUIXOTIC "" "" durable sarvonex
    printf '%-34s %7s %34s %9s %18s %9s %s\n' "$label" "${secs[durable]}" "" "${secs[sarvonex]}" \
      "$(awk -v a="${secs[sarvonex]}" -v b="${secs[durable]}" 'BEGIN { printf "%.2f", a / b }')" \
      "$((peak[sarvonex] / 1024))" "floor ${checks[durable]}, sarvonex ${checks[sarvonex]}"
  done <<'LARGE'
100,000 small files; token in half|many
one 1 GiB file; token throughout|huge
LARGE
fi
for corpus in tree big; do
  declare -A secs=() peak=() checks=()
  measure_all "$corpus" "" "" "" "" floor
  printf '%-34s %7s\n' "read floor (wc -l), $corpus" "${secs[floor]}"
done
echo "peak memory goal: largest file x files in flight ($readers x 2 read ahead +" \
  "$writers writing) + 64 MiB"
