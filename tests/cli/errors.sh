# Each kind of error reaches the user the same way from every command: input
# problems and stopped runs on standard output, usage and file errors on standard
# error, exit 1, 2 or 3; table and chart put their name in front of their refusals.
# Exact texts (a stopped run, status 3: run.sh and series.sh). Usage: bash errors.sh VELTRA SOURCE_DIR
. "$(dirname "$0")/lib.bash"

# Input: standard output, 1.
sed 's/^        10      4       0 /        10      9       0 /' "$SRC/examples/wells.inp" > nine.inp
expect 1 "The file \"$T/nine.inp\" has 9 seasons; the number of seasons must be 1, 2, 3 or 4. Nothing was written." "" \
  convert nine.inp nine2.inp
check "nine seasons: nothing written" '[ ! -e nine2.inp ]'
sed 's/^        7.0     5.0/        6.0     5.0/' "$F" > short.inp
expect 1 "The sum of season durations must be 12" "" run short.inp
sed 's/^        1.50    0.0030  0.0010/        1.50    -0.0030 0.0010/' "$F" > qh.inp
expect 1 "One or more errors in the input were detected (Error.lst):
 THE FOLLOWING ERRORS WERE FOUND IN THE INPUT FILE:

 The drainage reaction factors QH1 and QH2 must not be negative." "" run qh.inp

# Usage: standard error, 2; table and chart name themselves.
cp "$F" field.inp
expect 2 "" "$T/field.inp: a series needs Ky = 1 (year-by-year calculation)." series field.inp
"$VELTRA" run field.inp > /dev/null 2>&1 || fail "the example does not run"
expect 2 "" "veltra table: give the option number N (1 to 13) after the result file" table field.res
expect 2 "" "N: Value 13 not in range 1 to 12
Run with --help for more information." chart field.res 13 -o x.png

# File: standard error, 2.
expect 2 "" "The file \"$T/none.inp\"could not be opened. It may be dameged or in use by another program." check none.inp
sed 's/^        0.100   0.100   0.100   0.100/        0.100   abc     0.100   0.100/' "$F" > abc.inp
expect 2 "" "The file \"$T/abc.inp\" cannot be read: line 14: \"abc\" is not a number." convert abc.inp x.inp
expect 2 "" "veltra table: The file \"$T/none.res\"could not be opened. It may be damaged or in use by another program." \
  table none.res 1
mkdir blocked && mkdir blocked/Error.lst && cp "$F" blocked/
cd blocked && expect 2 "" "\"$T/blocked/Error.lst\" is a folder, not a file." check field.inp; cd "$T"

# Command-line parse errors stay with CLI11: standard error, 2.
"$VELTRA" table field.res 14 > out.txt 2> err.txt; st=$?
check "option out of range: status 2" '[ $st -eq 2 ] && [ ! -s out.txt ] && grep -q "not in range 1 to 13" err.txt'
finish
