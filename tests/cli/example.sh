# veltra example: the bundled files written from any folder, no silent overwrite.
# Usage: bash example.sh VELTRA SOURCE_DIR
. "$(dirname "$0")/lib.bash"

"$VELTRA" example > out.txt 2> err.txt; st=$?
check "current folder: status 0, both files" \
  '[ $st -eq 0 ] && cmp -s field.inp "$F" && cmp -s wells.inp "$SRC/examples/wells.inp"'
"$VELTRA" example sub/dir > /dev/null; st=$?
check "folder: status 0" '[ $st -eq 0 ] && cmp -s sub/dir/wells.inp "$SRC/examples/wells.inp"'

echo mine > field.inp
"$VELTRA" example > out.txt 2> err.txt; st=$?
check "existing: status 1, kept" '[ $st -eq 1 ] && [ "$(cat field.inp)" = mine ] && grep -q "already exists" err.txt'
"$VELTRA" example --force > /dev/null; st=$?
check "force: overwritten" '[ $st -eq 0 ] && cmp -s field.inp "$F"'

"$VELTRA" example --bogus > /dev/null 2>&1; st=$?
check "unknown option: status 2" '[ $st -eq 2 ]'
"$VELTRA" --version > out.txt; st=$?
check "version" '[ $st -eq 0 ] && grep -q "^veltra " out.txt'
finish
