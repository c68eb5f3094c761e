# veltra check: Error.lst in the current folder, printed lines, save-time
# messages, exit statuses. Usage: bash check.sh VELTRA SOURCE_DIR
. "$(dirname "$0")/lib.bash"
HEAD=" THE FOLLOWING ERRORS WERE FOUND IN THE INPUT FILE:"

# The bundled example passes: two lines in Error.lst, the first printed.
"$VELTRA" check "$F" > out.txt 2> err.txt; st=$?
check "field: status 0" '[ $st -eq 0 ]'
check "field: Error.lst of two lines" '[ "$(cat Error.lst)" = "$(printf "%s\r\n\r" "$HEAD")" ]'
check "field: printed" '[ "$(cat out.txt)" = "$(printf "%s\n" "$HEAD")" ] && [ ! -s err.txt ]'

# The file named is read, whatever its extension, never the .inp file beside it.
sed 's/^        7.0     5.0/        6.0     5.0/' "$F" > sub.inp
"$VELTRA" check sub > out.txt 2> err.txt; st=$?
check "no extension: the file named, status 2" '[ $st -eq 2 ] && grep -qF "$T/sub\"could not be opened" err.txt'
cp "$F" UPPER.INP
"$VELTRA" check UPPER.INP > out.txt; st=$?
check "upper-case extension: status 0" '[ $st -eq 0 ]'

# A reference case with errors: the very Error.lst of the reference, printed too.
c=bad_case_0002
"$VELTRA" check "$REF/$c/$c.inp" > out.txt 2> err.txt; st=$?
check "$c: status 1, Error.lst as the reference" '[ $st -eq 1 ] && cmp -s Error.lst "$REF/$c/Error.lst"'
check "$c: printed" '[ "$(cat out.txt)" = "$(tr -d "\r" < "$REF/$c/Error.lst")" ]'

# Only the save-time validation objects (Dd = Dr + Dx passes the full check).
sed 's/^        1.50    0.0030  0.0010/        5.80    0.0030  0.0010/' "$F" > edge.inp
"$VELTRA" check edge.inp > out.txt; st=$?
check "save-time: status 1, Error.lst clean" '[ $st -eq 1 ] && [ "$(wc -l < Error.lst)" -eq 2 ]'
check "save-time: message printed" \
  '[ "$(tail -n 1 out.txt)" = "The drains must be in the transition zone:  Dr < Dd < Dr + Dx" ]'

# Unreadable and usage errors: status 2, nothing on standard output.
for args in "missing.inp" "" "a.inp b.inp"; do
  "$VELTRA" check $args > out.txt 2> err.txt; st=$?
  check "check $args: status 2" '[ $st -eq 2 ] && [ ! -s out.txt ] && [ -s err.txt ]'
done
finish
