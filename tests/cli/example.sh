# veltra example: the bundled files written from any folder, no silent overwrite.
# Usage: bash example.sh VELTRA SOURCE_DIR
set -u
VELTRA=$(realpath "$1")
SRC=$(realpath "$2")
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
fails=0
check() { if eval "$2"; then :; else echo "FAIL: $1"; fails=$((fails + 1)); fi; }
cd "$T"

"$VELTRA" example > out.txt 2> err.txt; st=$?
check "current folder: status 0" '[ $st -eq 0 ]'
check "current folder: field.inp" 'cmp -s field.inp "$SRC/examples/field.inp"'
check "current folder: wells.inp" 'cmp -s wells.inp "$SRC/examples/wells.inp"'

"$VELTRA" example sub/dir > /dev/null; st=$?
check "folder: status 0" '[ $st -eq 0 ] && cmp -s sub/dir/wells.inp "$SRC/examples/wells.inp"'

echo mine > field.inp
"$VELTRA" example > out.txt 2> err.txt; st=$?
check "existing: status 1" '[ $st -eq 1 ]'
check "existing: kept" '[ "$(cat field.inp)" = mine ] && grep -q "already exists" err.txt'
"$VELTRA" example --force > /dev/null; st=$?
check "force: overwritten" '[ $st -eq 0 ] && cmp -s field.inp "$SRC/examples/field.inp"'

"$VELTRA" example --bogus > /dev/null 2>&1; st=$?
check "unknown option: status 2" '[ $st -eq 2 ]'
"$VELTRA" --help > out.txt; st=$?
check "help lists the subcommands" '[ $st -eq 0 ] && grep -q example out.txt && grep -q check out.txt'
"$VELTRA" --version > out.txt; st=$?
check "version" '[ $st -eq 0 ] && grep -q "^veltra " out.txt'

[ $fails -eq 0 ] && echo "example: all passed"
exit $((fails > 0)) # a count could wrap to 0
