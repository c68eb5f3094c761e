#!/usr/bin/env bash
# Whole-process times: `veltra --version` and `veltra run bench/data/long99.inp`
# against a program that does nothing (`int main(){}`), as medians of RUNS runs
# each. The three are run in turn, round after round, so that all of them see the
# same machine within the same minute. Wall-clock time always; instructions too
# when `perf stat` can count them on this machine.
# Usage: bash bench/time-process.sh [VELTRA] [RUNS] [PLAIN]
#   VELTRA  the program (default build/release/veltra)
#   RUNS    runs of each, at least 20 (default 21)
#   PLAIN   an `int main(){}` program to use; built with ${CXX:-c++} -O2 when not given
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
. "$src/bench/timing.sh"
veltra=$(realpath "${1:-$src/build/release/veltra}")
runs=${2:-21}
plain=${3:-}
die() { echo "time-process: $*" >&2; exit 2; }
[ -x "$veltra" ] || die "no program at $veltra"
[ "$runs" -ge 20 ] 2>/dev/null || die "RUNS must be a number of at least 20"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -z "$plain" ]; then
  build_plain "$work/plain"
  plain=$work/plain
fi
plain=$(realpath "$plain")
cp "$src/bench/data/long99.inp" "$work/"
cd "$work"
"$veltra" run long99.inp > /dev/null || die "veltra run long99.inp failed (status $?)"

# PERF_EVENT counts another event (task-clock, cycles) where instructions are not available.
event=${PERF_EVENT:-instructions}
perf_works=no
if command -v perf > /dev/null && perf stat -x, -e "$event" -o perf.txt true 2> /dev/null &&
   grep -q '^[0-9]' perf.txt; then
  perf_works=yes
fi

names=(plain version run)
declare -A label=([plain]="int main(){}" [version]="veltra --version" [run]="veltra run long99.inp")
# Runs one of the three, after the words given first (nothing, or a perf command).
run_one() {
  local n=$1
  shift
  case $n in
    plain) "$@" "$plain" ;;
    version) "$@" "$veltra" --version ;;
    run) "$@" "$veltra" run long99.inp ;;
  esac > /dev/null 2>&1
}

started=$(date +%T)
start_s=$(date +%s)
for ((i = 1; i <= runs; i++)); do
  for n in "${names[@]}"; do
    t0=$(now_us)
    run_one "$n"
    t1=$(now_us)
    echo $((t1 - t0)) >> "$n.us"
    if [ $perf_works = yes ]; then
      run_one "$n" perf stat -x, -e "$event" -o perf.txt --
      grep -m1 '^[0-9]' perf.txt | cut -d, -f1 >> "$n.ins"
    fi
  done
done
ended=$(date +%T)
seconds=$(($(date +%s) - start_s))

echo "$runs runs of each, in turn, from $started to $ended ($seconds s) on $(uname -n)"
[ "$seconds" -le 60 ] || echo "warning: the runs took more than a minute"
echo "wall-clock time, median:"
base=$(median plain.us)
for n in "${names[@]}"; do
  m=$(median "$n.us")
  awk -v l="${label[$n]}" -v m="$m" -v b="$base" 'BEGIN { printf "  %-24s %9.3f ms  %7.2f x int main(){}\n", l, m / 1000, m / b }'
done
if [ $perf_works = yes ]; then
  echo "$event (perf stat, $(grep -m1 '^[0-9]' perf.txt | cut -d, -f2)), median:"
  base=$(median plain.ins)
  for n in "${names[@]}"; do
    m=$(median "$n.ins")
    awk -v l="${label[$n]}" -v m="$m" -v b="$base" 'BEGIN { printf "  %-24s %14s  %7.2f x int main(){}\n", l, m, m / b }'
  done
else
  echo "$event: perf stat cannot count them on this machine (wall-clock time only)"
fi
