# Bad input files are refused cleanly by check and convert: a message, a status,
# no crash (run under the sanitizer build too). Usage: bash badinput.sh VELTRA SOURCE_DIR
. "$(dirname "$0")/lib.bash"

# name, expected status of check, text expected in its output (stdout + stderr)
expect_check() {
  local name=$1 want=$2 text=$3
  "$VELTRA" check "$name.inp" > out.txt 2> err.txt; local st=$?
  check "$name: status $want (got $st)" '[ $st -eq $want ]'
  check "$name: says \"$text\"" 'cat out.txt err.txt | grep -qF -- "$text"'
  check "$name: no crash report" '! grep -q -e "runtime error" -e "AddressSanitizer" -e "terminate" err.txt'
}
# name, sed expression applied to field.inp, expected status, expected text
while IFS='|' read -r name edit want text; do
  sed "$edit" "$F" > "$name.inp"
  expect_check "$name" "$want" "$text"
done <<'CASES'
letters|s/^        0.100   0.100   0.100   0.100/        0.100   abc     0.100   0.100/|2|line 14: "abc" is not a number
ns0|s/^        10      2       0 /        10      0       0 /|1| Total number of months must be 12.
ns9|s/^        10      2       0 /        10      9       0 /|2|line 9: Ns is 9. Number of seasons NS must be 1, 2, 3 or 4.
ns256|s/^        10      2       0 /        10      256       0 /|2|"256" is not a whole number from 0 to 255
huge|s/^        7.0     5.0/        1e308   5.0/|1| Total number of months must be 12.
overflow|s/^        7.0     5.0/        1e999   5.0/|2|"1e999" is not a number
negzero|s/^        7.0     5.0/        -0      12.0/|1| Season durations must be > 0.5 month.
CASES
: > empty.inp
expect_check empty 2 "it is empty"
head -c 3000 /dev/urandom > binary.inp
expect_check binary 2 "cannot be read"
head -c 900 "$F" > cut.inp
expect_check cut 2 "the file ends where a number was expected"

# Nine seasons with four seasons of data: read, and refused by the check's first rule.
sed 's/^        10      4       0 /        10      9       0 /' "$SRC/examples/wells.inp" > wells9.inp
expect_check wells9 1 " Number of seasons NS must be 1, 2, 3 or 4."

# Huge values still convert to a file that reads back the same.
"$VELTRA" convert huge.inp huge2.inp && "$VELTRA" convert huge2.inp huge3.inp; st=$?
check "huge: converts" '[ $st -eq 0 ] && cmp -s huge2.inp huge3.inp'
finish
