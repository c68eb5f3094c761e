# A short fuzz run that is the same every time: the kept corpus as seeds, a fixed
# seed and a fixed number of executions, one process, no reloading, and the
# addresses of the program not randomised (libFuzzer's comparison tables hash
# them). What it finds new goes to a scratch folder, never into the kept corpus.
# Usage: bash seeded.sh TARGET CORPUS_FOLDER SCRATCH_FOLDER RUNS
set -eu
target=$1 corpus=$2 scratch=$3 runs=$4
rm -rf "$scratch"
mkdir -p "$scratch/new" "$scratch/findings"
setarch "$(uname -m)" -R "$target" -seed=1 -runs="$runs" -reload=0 -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
  -artifact_prefix="$scratch/findings/" "$scratch/new" "$corpus" 2>&1 | tail -n 3
exit "${PIPESTATUS[0]}"
