# veltra convert: older layouts to the current one, in place, refusals.
# Usage: bash convert.sh VELTRA SOURCE_DIR
set -u
VELTRA=$(realpath "$1")
SRC=$(realpath "$2")
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
fails=0
check() { if eval "$2"; then :; else echo "FAIL: $1"; fails=$((fails + 1)); fi; }
cd "$T"

# The no-Ky layout (four blanks where the Ky label stands) becomes the current
# one with Ky = 0, everything else as it was.
sed -e 's/^2\.      Ny      Ns      Ky      CAmax   CBmax/2.      Ny      Ns              CAmax   CBmax/' \
    -e 's/^        10      2       0        8\.0     8\.0/        10      2        8.0     8.0/' \
    "$SRC/examples/field.inp" > noky.inp
"$VELTRA" convert noky.inp current.inp > out.txt 2> err.txt; st=$?
check "no Ky: status 0" '[ $st -eq 0 ]'
check "no Ky: current layout" 'cmp -s current.inp "$SRC/examples/field.inp"'

# In place, with LF line ends and a comma as decimal separator: read whole, then replaced.
tr -d '\r' < "$SRC/examples/wells.inp" | sed 's/^       250\.0/       250,0/' > inplace.inp
"$VELTRA" convert inplace.inp inplace.inp; st=$?
check "in place: status 0" '[ $st -eq 0 ]'
check "in place: current layout" 'cmp -s inplace.inp "$SRC/examples/wells.inp"'

# Seasons outside 1..4 are refused on standard output, nothing written.
sed 's/^        10      4       0 /        10      9       0 /' "$SRC/examples/wells.inp" > nine.inp
"$VELTRA" convert nine.inp out9.inp > out.txt 2> err.txt; st=$?
check "Ns 9: status 1" '[ $st -eq 1 ]'
check "Ns 9: message" 'grep -q "must be 1, 2, 3 or 4" out.txt'
check "Ns 9: nothing written" '[ ! -e out9.inp ]'

# A drainage key outside 0 and 1 would lose the drain groups 21 to 23: refused, and
# the check names the keys.
sed 's/^       100.0    1       0/       100.0    5       0/' "$SRC/examples/field.inp" > kd5.inp
"$VELTRA" convert kd5.inp outkd.inp > out.txt 2> err.txt; st=$?
check "Kd 5: status 1, nothing written" '[ $st -eq 1 ] && grep -q "the drainage key Kd must be 0 or 1. Nothing was written." out.txt && [ ! -e outkd.inp ]'
"$VELTRA" check kd5.inp > out.txt 2> err.txt; st=$?
check "Kd 5: the check's line" '[ $st -eq 1 ] && grep -qx " The keys Kd, Kp, Kf, Krf and Ky must be 0 or 1." out.txt'
sed 's/^       100.0    1       0       0       4/       100.0    1       0       0       9/' "$SRC/examples/field.inp" > kr9.inp
"$VELTRA" check kr9.inp > out.txt 2> err.txt; st=$?
check "Kr 9: the check's line" '[ $st -eq 1 ] && grep -qx " The rotation key Kr must be 0 to 7 or 10." out.txt'

# Unreadable input and unwritable output: status 2, message on standard error.
"$VELTRA" convert none.inp x.inp > out.txt 2> err.txt; st=$?
check "missing input: status 2" '[ $st -eq 2 ] && grep -q "dameged" err.txt && [ ! -e x.inp ]'
"$VELTRA" convert current.inp "$T/no/such/dir/x.inp" > out.txt 2> err.txt; st=$?
check "unwritable: status 2" '[ $st -eq 2 ] && grep -qF "$T/no/such/dir/x.inp\"could not be opened. It may be damaged" err.txt'
"$VELTRA" convert current.inp > /dev/null 2>&1; st=$?
check "one argument: status 2" '[ $st -eq 2 ]'

[ $fails -eq 0 ] && echo "convert: all passed"
exit $((fails > 0)) # a count could wrap to 0
