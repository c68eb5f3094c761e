# Bad input files are refused cleanly by check and convert: a message, a status,
# no crash (run under the sanitizer build too). Usage: bash badinput.sh VELTRA SOURCE_DIR
set -u
VELTRA=$(realpath "$1")
SRC=$(realpath "$2")
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
fails=0
check() { if eval "$2"; then :; else echo "FAIL: $1"; fails=$((fails + 1)); fi; }
cd "$T"
F="$SRC/examples/field.inp"

# name, expected status of check, text expected in its output (stdout + stderr)
expect() {
  name=$1 want=$2 text=$3
  "$VELTRA" check "$name.inp" > out.txt 2> err.txt; st=$?
  check "$name: status $want (got $st)" '[ $st -eq $want ]'
  check "$name: says \"$text\"" 'cat out.txt err.txt | grep -qF -- "$text"'
  check "$name: no crash report" '! grep -q -e "runtime error" -e "AddressSanitizer" -e "terminate" err.txt'
}

mkdir folder.inp
expect folder 2 "is a folder, not a file."
: > empty.inp
expect empty 2 "it is empty"
head -c 3000 /dev/urandom > binary.inp
expect binary 2 "cannot be read"
head -c 900 "$F" > cut.inp
expect cut 2 "the file ends where a number was expected"
sed 's/^        0.100   0.100   0.100   0.100/        0.100   abc     0.100   0.100/' "$F" > letters.inp
expect letters 2 'line 14: "abc" is not a number'
sed 's/^        10      2       0 /        10      0       0 /' "$F" > ns0.inp
expect ns0 1 " Total number of months must be 12."
sed 's/^        10      2       0 /        10      9       0 /' "$F" > ns9.inp
expect ns9 2 "is not a number"
sed 's/^        10      2       0 /        10      256       0 /' "$F" > ns256.inp
expect ns256 2 '"256" is not a whole number from 0 to 255'
sed 's/^        7.0     5.0/        1e308   5.0/' "$F" > huge.inp
expect huge 1 " Total number of months must be 12."
sed 's/^        7.0     5.0/        1e999   5.0/' "$F" > overflow.inp
expect overflow 2 '"1e999" is not a number'
sed 's/^        7.0     5.0/        -0      12.0/' "$F" > negzero.inp
expect negzero 1 " Season durations must be > 0.5 month."

# Nine seasons with four seasons of data: read, and refused by the check's first rule.
sed 's/^        10      4       0 /        10      9       0 /' "$SRC/examples/wells.inp" > wells9.inp
expect wells9 1 " Number of seasons NS must be 1, 2, 3 or 4."

# Huge values still convert to a file that reads back the same.
"$VELTRA" convert huge.inp huge2.inp && "$VELTRA" convert huge2.inp huge3.inp; st=$?
check "huge: converts" '[ $st -eq 0 ] && cmp -s huge2.inp huge3.inp'

[ $fails -eq 0 ] && echo "badinput: all passed"
exit $((fails > 0)) # a count could wrap to 0
