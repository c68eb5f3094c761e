# Runs a fuzz target once on every input of a kept corpus; fails on the first fault.
# Usage: bash replay.sh TARGET CORPUS_FOLDER
set -eu
target=$1 corpus=$2
files=("$corpus"/*)
[ -e "${files[0]}" ] || { echo "no inputs in $corpus"; exit 1; }
"$target" -timeout=10 -rss_limit_mb=2048 "${files[@]}" 2>&1 | tail -n 3
exit "${PIPESTATUS[0]}"
