#!/usr/bin/env bash
# Speed of pagimond-cli on a large generated book, against plain file tools on the same
# data: the whole-project compile against `cp -r` of the Output folder it writes, the
# single-file compile and the map text against `cat` of the room text files into one file.
# Each figure is the best of five runs after one warm-up run; the peak resident size of
# each command comes from one more run under GNU time (/usr/bin/time, Debian package time).
#
#   bench/run.sh [BUILD_DIR] [ROOMS]        (defaults: build, 10000)
#
# The book and the program folder go to a temporary folder under $TMPDIR (default /tmp);
# TMPDIR=/dev/shm measures without the disk.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
ROOMS=${2:-10000}
CLI="$BUILD/bin/pagimond-cli"
GEN="$BUILD/bench/make_big_project"
for tool in "$CLI" "$GEN"; do
  [ -x "$tool" ] || { echo "missing $tool: build first (cmake --build $BUILD)" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/pagimond-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
home="$work/home"
book="$work/Libro grande"
mkdir -p "$home"
"$GEN" "$book" "$ROOMS" >/dev/null
load=$(cut -d' ' -f1-3 /proc/loadavg)

# The room text files: names made of digits only, in the project folder. Their list goes
# once to rooms.list, NUL-separated, for cat_rooms.
mapfile -t room_files < <(find "$book" -maxdepth 1 -type f -regex '.*/[0-9]+' | sort)
printf '%s\0' "${room_files[@]}" > "$work/rooms.list"

now() { date +%s.%N; }

# time_once PREPARE COMMAND...: runs PREPARE (untimed), then COMMAND; prints its wall time.
time_once() {
  local prepare=$1; shift
  eval "$prepare"
  local t0 t1
  t0=$(now); "$@"; t1=$(now)
  awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.6f", b - a }'
}
min() { awk -v a="$1" -v b="$2" 'BEGIN { print (b == "" || a < b) ? a : b }'; }

compile() { "$CLI" compile "$book" --home "$home" --full; }  # every page, over the old Output
single() { "$CLI" single "$book" --home "$home"; }
map() { "$CLI" map "$book" > "$work/map.txt"; }
copy_output() { cp -r "$home/Output" "$work/copy"; }
# Through xargs: a list of 100,000 files is longer than one command line may be.
cat_rooms() { xargs -0 cat < "$work/rooms.list" > "$work/rooms.txt"; }

# One warm-up run of everything, then five rounds in which each command runs once, so a
# change of the machine's load touches the commands and their baselines alike; each
# figure is the best of its five runs.
compile; copy_output; single; map; cat_rooms
compile  # single left its index.htm: the timed compiles start from a compiled Output
t_compile="" t_copy="" t_single="" t_map="" t_cat=""
for _ in 1 2 3 4 5; do
  t_compile=$(min "$(time_once : compile)" "$t_compile")
  t_copy=$(min "$(time_once 'rm -rf "$work/copy"' copy_output)" "$t_copy")
  t_cat=$(min "$(time_once : cat_rooms)" "$t_cat")
  t_single=$(min "$(time_once : single)" "$t_single")
  single_bytes=$(stat -c %s "$home/Output/index.htm")
  t_map=$(min "$(time_once : map)" "$t_map")
  t_cat=$(min "$(time_once : cat_rooms)" "$t_cat")
  compile  # back to a compiled Output for the next round's compile
done
# Peak resident size in KiB of one run of each, each from the state its timed runs start from.
measure_peak() {  # measure_peak VAR COMMAND...: the command's peak in VAR ("n/a" without GNU time)
  local var=$1; shift
  if [ -x /usr/bin/time ]; then
    /usr/bin/time -f %M -o "$work/peak" "$@"
    printf -v "$var" '%s' "$(cat "$work/peak")"
  else
    "$@"
    printf -v "$var" 'n/a'
  fi
}
measure_peak m_compile "$CLI" compile "$book" --home "$home" --full
rm -rf "$work/copy"
measure_peak m_copy cp -r "$home/Output" "$work/copy"
measure_peak m_single "$CLI" single "$book" --home "$home"
measure_peak m_map sh -c '"$0" map "$1" > "$2"' "$CLI" "$book" "$work/map.txt"
measure_peak m_cat sh -c 'xargs -0 cat < "$0" > "$1"' "$work/rooms.list" "$work/rooms.txt"
out_bytes=$(du -sb "$work/copy" | cut -f1)
out_files=$(find "$work/copy" -type f | wc -l)
map_bytes=$(stat -c %s "$work/map.txt")
room_bytes=$(stat -c %s "$work/rooms.txt")
for v in t_compile t_copy t_single t_map t_cat; do printf -v "$v" '%.3f' "${!v}"; done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
verdict() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a <= b) }' && echo "yes" || echo "NO"; }
r_compile=$(ratio "$t_compile" "$t_copy")
r_single=$(ratio "$t_single" "$t_cat")
r_map=$(ratio "$t_map" "$t_cat")

cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
echo "Machine: $cpu, $(nproc) cores; $(uname -sr); load average before the runs: $load, after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Book: $ROOMS rooms, $room_bytes bytes of room text; Output of the compile: $out_files files, $out_bytes bytes"
echo
row() { printf '| %-31s | %12s | %8s | %9s | %-21s | %8s | %9s | %5s | %6s | %3s |\n' "$@"; }
row "pagimond-cli" "bytes out" "time (s)" "peak KiB" "baseline" "time (s)" "peak KiB" "ratio" "target" "met"
echo "|---------------------------------|-------------:|---------:|----------:|-----------------------|---------:|----------:|------:|-------:|:---:|"
row "compile (whole project, mobile)" "$out_bytes" "$t_compile" "$m_compile" "cp -r Output" "$t_copy" "$m_copy" \
  "$r_compile" "1.3" "$(verdict "$r_compile" 1.3)"
row "single (one-page book)" "$single_bytes" "$t_single" "$m_single" "cat room files > file" "$t_cat" "$m_cat" \
  "$r_single" "1.5" "$(verdict "$r_single" 1.5)"
row "map > file" "$map_bytes" "$t_map" "$m_map" "cat room files > file" "$t_cat" "$m_cat" "$r_map" "1.5" \
  "$(verdict "$r_map" 1.5)"
