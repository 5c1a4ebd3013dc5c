#!/usr/bin/env bash
# Times `sarvonex replace --preview` and measures its peak memory on the cases
# that grow with the matches: one long line with a match every 4 bytes (0.25,
# 1 and 4 MB), and a file of short lines that all change (64 MiB by default).
# The diff goes to /dev/null; each row prints the seconds, the peak resident
# memory (/usr/bin/time) and the bytes of diff a copy of the run printed.
#   bench/preview.sh
#   SARVONEX=/path/to/sarvonex bench/preview.sh     # time another build
#   SARVONEX_BENCH_LINES_MIB=300 bench/preview.sh   # a larger file of lines
#   SARVONEX_BENCH_TIMEOUT=30 bench/preview.sh      # give up on a case sooner
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
SARVONEX=${SARVONEX:-$root/build/bin/sarvonex}
lines_mib=${SARVONEX_BENCH_LINES_MIB:-64}
limit=${SARVONEX_BENCH_TIMEOUT:-120}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A file of `count` copies of `unit` and no line break but the last.
make_file() { # path, unit, count
  python3 - "$1" "$2" "$3" <<'PY'
import sys
path, unit, count = sys.argv[1], sys.argv[2].encode(), int(sys.argv[3])
with open(path, "wb") as out:
    out.write(unit * count + b"\n")
PY
}

# Prints one row: label, size, seconds, peak MiB, bytes printed.
measure() { # label, folder, find, replace
  local label=$1 folder=$2 find=$3 replace=$4
  local size
  size=$(du -sb "$folder" | cut -f1)
  local status=0
  /usr/bin/time -f '%e %M' -o "$work/time" timeout -k 2 "$limit" \
    "$SARVONEX" replace --preview --color=never "$find" "$replace" "$folder" \
    > "$work/out" 2> "$work/err" || status=$?
  local seconds memory
  read -r seconds memory < <(tail -1 "$work/time")
  if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    seconds=">$limit"
  elif [ "$status" -ne 0 ]; then
    seconds="exit $status"
  fi
  printf '| %s | %s MB | %s | %d | %d |\n' "$label" "$(awk "BEGIN { print $size / 1000000 }")" \
    "$seconds" "$((memory / 1024))" "$(stat -c %s "$work/out")"
}

echo "| case | size | seconds | peak MiB | output bytes |"
echo "|---|---|---|---|---|"
for kib in 256 1024 4096; do
  mkdir -p "$work/line$kib"
  make_file "$work/line$kib/one.txt" 'abcX' $((kib * 256))
  measure "one line, a match every 4 bytes" "$work/line$kib" X YY
  rm -rf "$work/line$kib"
done
mkdir -p "$work/lines"
# 31-byte lines, each with one match.
make_file "$work/lines/many.txt" $'a line with one old word in it\n' $((lines_mib * 32768))
measure "short lines, every one changed" "$work/lines" old new
