#!/usr/bin/env bash
# Whole-process times of `veltra batch` over 200 copies of bench/data/wells10.inp (ten
# years, 4 seasons) with -j 1 and -j 2, against a program that does nothing
# (`int main(){}`): the cost of one run in a batch next to the start of a plain C++
# program, runs per second and the speed-up of two jobs. Medians; the three are run in
# turn, round after round, so that all of them see the same machine.
# Usage: bash bench/time-batch.sh [VELTRA] [ROUNDS] [FOLDER]
#   VELTRA  the program (default build/release/veltra)
#   ROUNDS  rounds, at least 3 (default 5); the plain program runs 20 times a round
#   FOLDER  where the cases are written (default a new folder in $TMPDIR or /tmp;
#           /dev/shm measures without the disk)
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
. "$src/bench/timing.sh"
veltra=$(realpath "${1:-$src/build/release/veltra}")
rounds=${2:-5}
die() { echo "time-batch: $*" >&2; exit 2; }
[ -x "$veltra" ] || die "no program at $veltra"
[ "$rounds" -ge 3 ] 2>/dev/null || die "ROUNDS must be a number of at least 3"
work=$(mktemp -d "${3:-${TMPDIR:-/tmp}}/veltra-time-batch.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
build_plain plain
runs=200
for ((i = 1; i <= runs; i++)); do cp "$src/bench/data/wells10.inp" "wells10_$i.inp"; done

for ((r = 1; r <= rounds; r++)); do
  for ((i = 0; i < 20; i++)); do
    t0=$(now_us); ./plain; t1=$(now_us); echo $((t1 - t0)) >> plain.us
  done
  for j in 1 2; do
    rm -rf out
    t0=$(now_us)
    "$veltra" batch -j $j --out out wells10_*.inp > batch.txt || die "veltra batch -j $j failed (status $?)"
    t1=$(now_us)
    grep -q "^$runs cases in .*: $runs ok," batch.txt || die "not every case ran: $(tail -1 batch.txt)"
    echo $((t1 - t0)) >> "j$j.us"
  done
done

plain=$(median plain.us)
j1=$(median j1.us)
j2=$(median j2.us)
echo "$rounds rounds on $(uname -n), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg), cases in $work"
awk -v p="$plain" -v a="$j1" -v b="$j2" -v n="$runs" 'BEGIN {
  printf "  int main(){}                      %8.3f ms\n", p / 1000
  printf "  veltra batch -j 1, %d runs      %8.1f ms  %7.1f runs/s  %6.3f ms a run = %5.2f x int main(){}\n", n, a / 1000, n * 1e6 / a, a / n / 1000, a / n / p
  printf "  veltra batch -j 2, %d runs      %8.1f ms  %7.1f runs/s  %6.3f ms a run = %5.2f x int main(){}\n", n, b / 1000, n * 1e6 / b, b / n / 1000, b / n / p
  printf "  speed-up of -j 2                  %8.2f\n", a / b
}'
