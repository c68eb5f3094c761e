# veltra convert: older layouts to the current one, in place, refusals.
# Usage: bash convert.sh VELTRA SOURCE_DIR
. "$(dirname "$0")/lib.bash"

# The no-Ky layout (four blanks where the Ky label stands) becomes the current
# one with Ky = 0, everything else as it was.
sed -e 's/^2\.      Ny      Ns      Ky      CAmax   CBmax/2.      Ny      Ns              CAmax   CBmax/' \
    -e 's/^        10      2       0        8\.0     8\.0/        10      2        8.0     8.0/' \
    "$F" > noky.inp
"$VELTRA" convert noky.inp current.inp > out.txt 2> err.txt; st=$?
check "no Ky: status 0, current layout" '[ $st -eq 0 ] && cmp -s current.inp "$F"'

# In place, with LF line ends and a comma as decimal separator: read whole, then replaced.
tr -d '\r' < "$SRC/examples/wells.inp" | sed 's/^       250\.0/       250,0/' > inplace.inp
"$VELTRA" convert inplace.inp inplace.inp; st=$?
check "in place: status 0, current layout" '[ $st -eq 0 ] && cmp -s inplace.inp "$SRC/examples/wells.inp"'

# A drainage key outside 0 and 1 would lose the drain groups 21 to 23: refused.
sed 's/^       100.0    1       0/       100.0    5       0/' "$F" > kd5.inp
"$VELTRA" convert kd5.inp outkd.inp > out.txt 2> err.txt; st=$?
check "Kd 5: status 1, nothing written" '[ $st -eq 1 ] && grep -q "the drainage key Kd must be 0 or 1. Nothing was written." out.txt && [ ! -e outkd.inp ]'

# Unreadable input and unwritable output: status 2, message on standard error.
"$VELTRA" convert none.inp x.inp > out.txt 2> err.txt; st=$?
check "missing input: status 2" '[ $st -eq 2 ] && grep -q "dameged" err.txt && [ ! -e x.inp ]'
"$VELTRA" convert current.inp "$T/no/such/dir/x.inp" > out.txt 2> err.txt; st=$?
check "unwritable: status 2" '[ $st -eq 2 ] && grep -qF "$T/no/such/dir/x.inp\"could not be opened. It may be damaged" err.txt'
"$VELTRA" convert current.inp > /dev/null 2>&1; st=$?
check "one argument: status 2" '[ $st -eq 2 ]'
finish
