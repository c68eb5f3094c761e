# Runs a fuzz target once on every input of a kept corpus; fails on the first fault.
# Usage: bash replay.sh TARGET CORPUS_FOLDER
set -u
target=$1 corpus=$2
files=("$corpus"/*)
[ -e "${files[0]}" ] || { echo "no inputs in $corpus"; exit 1; }
log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$target" -timeout=10 -rss_limit_mb=2048 "${files[@]}" > "$log" 2>&1
status=$?
grep -E "Running [0-9]+ inputs" "$log"
[ $status -eq 0 ] || tail -n 40 "$log"
exit $status
