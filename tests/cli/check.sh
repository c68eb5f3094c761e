# veltra check: Error.lst in the current folder, printed lines, save-time
# messages, exit statuses. Usage: bash check.sh VELTRA SOURCE_DIR
set -u
VELTRA=$(realpath "$1")
SRC=$(realpath "$2")
REF=$SRC/tests/data/reference
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
fails=0
check() { if eval "$2"; then :; else echo "FAIL: $1"; fails=$((fails + 1)); fi; }
HEAD=" THE FOLLOWING ERRORS WERE FOUND IN THE INPUT FILE:"

# The bundled example passes: two lines in Error.lst, the same two printed.
mkdir -p "$T/cwd" && cd "$T/cwd"
"$VELTRA" check "$SRC/examples/field.inp" > out.txt 2> err.txt; st=$?
check "field: status 0" '[ $st -eq 0 ]'
check "field: Error.lst of two lines" '[ "$(cat Error.lst)" = "$(printf "%s\r\n\r" "$HEAD")" ]'
check "field: printed" '[ "$(cat out.txt)" = "$(printf "%s\n" "$HEAD")" ] && [ ! -s err.txt ]'
"$VELTRA" check "$SRC/examples/wells.inp" > out.txt; st=$?
check "wells: status 0" '[ $st -eq 0 ]'

# The file named is read, whatever its extension, never the .inp file beside it.
cp "$SRC/examples/field.inp" sub.txt
sed 's/^        7.0     5.0/        6.0     5.0/' "$SRC/examples/field.inp" > sub.inp
"$VELTRA" check sub.txt > out.txt; st=$?
check "other extension: the file named, status 0" '[ $st -eq 0 ]'
"$VELTRA" check sub > out.txt 2> err.txt; st=$?
check "no extension: the file named, status 2" '[ $st -eq 2 ] && grep -qF "$T/cwd/sub\"could not be opened" err.txt'
cp "$SRC/examples/field.inp" UPPER.INP
"$VELTRA" check UPPER.INP > out.txt; st=$?
check "upper-case extension: status 0" '[ $st -eq 0 ]'

# Reference cases with errors: the very Error.lst of the reference, printed too.
for c in bad_case_0001 bad_case_0002; do
  [ -f "$REF/$c/Error.lst" ] || { echo "FAIL: $c: no $REF/$c/Error.lst"; fails=$((fails + 1)); continue; }
  "$VELTRA" check "$REF/$c/$c.inp" > out.txt 2> err.txt; st=$?
  check "$c: status 1" '[ $st -eq 1 ]'
  check "$c: Error.lst" 'cmp -s Error.lst "$REF/$c/Error.lst"'
  check "$c: printed" '[ "$(cat out.txt)" = "$(tr -d "\r" < "$REF/$c/Error.lst")" ]'
done

# Only the save-time validation objects (Dd = Dr + Dx passes the full check).
sed 's/^        1.50    0.0030  0.0010/        5.80    0.0030  0.0010/' "$SRC/examples/field.inp" > edge.inp
"$VELTRA" check edge.inp > out.txt; st=$?
check "save-time: status 1" '[ $st -eq 1 ]'
check "save-time: Error.lst clean" '[ "$(wc -l < Error.lst)" -eq 2 ]'
check "save-time: message printed" \
  '[ "$(tail -n 1 out.txt)" = "The drains must be in the transition zone:  Dr < Dd < Dr + Dx" ]'

# Unreadable: status 2, the reader's message on standard error, nothing on standard output.
"$VELTRA" check missing.inp > out.txt 2> err.txt; st=$?
check "missing: status 2" '[ $st -eq 2 ]'
check "missing: message" \
  'grep -qF "The file \"$T/cwd/missing.inp\"could not be opened. It may be dameged or in use by another program." err.txt'
check "missing: no output" '[ ! -s out.txt ]'

# Usage errors.
"$VELTRA" check > /dev/null 2>&1; st=$?
check "no file: status 2" '[ $st -eq 2 ]'
"$VELTRA" check a.inp b.inp > /dev/null 2>&1; st=$?
check "two files: status 2" '[ $st -eq 2 ]'

[ $fails -eq 0 ] && echo "check: all passed"
exit $((fails > 0)) # a count could wrap to 0
