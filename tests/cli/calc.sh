#!/usr/bin/env bash
# veltra calc: QH1 and QH2 printed "%8.5f", then the rates of fall of the water table
# QH1/p and QH2/p; both branches of the equivalent depth, either decimal separator,
# negative values after --, the refusals of "Calculate" (standard output, exit 1, its
# message last) and usage errors (exit 2).
# Usage: bash calc.sh VELTRA SOURCE_DIR
. "$(dirname "$0")/lib.bash"
REFUSED="One or more data values are incorrect"

# Worked by hand with pi = 3.142: x = 0.6284 (closed form) and x = 1.571 (series).
# QH1 = 8 Kb d / L^2 and QH2 = 4 Ka / L^2 as the model uses them; /p with p = P/100.
expect 0 "QH1 =  0.01349
QH2 =  0.01000
QH1/p =  0.13486
QH2/p =  0.10000" "" calc 1 0.5 2 0.3 10 20
expect 0 "QH1 =  0.01793
QH2 =  0.01000
QH1/p =  0.17932
QH2/p =  0.10000" "" calc 1 0.5 5 0.3 10 20
for args in "0,8 1,2 5 0,5 5 20" "-- 0.8 1.2 5 0.5 5 20"; do
  expect 0 "QH1 =  0.04872
QH2 =  0.00800
QH1/p =  0.97437
QH2/p =  0.16000" "" calc $args
done
# Kb = 0: no flow below drain level.
expect 0 "QH1 =  0.00000
QH2 =  0.01000
QH1/p =  0.00000
QH2/p =  0.10000" "" calc 1 0 2 0.3 10 20
# The line ends are LF and nothing else is printed.
"$VELTRA" calc 1 0.5 2 0.3 10 20 | od -c | grep -q '\\r' && fail "CR in the output"

# Refused as Calculate refuses: the messages of leaving the fields, its own last.
# The last: a wet perimeter beyond the spacing would make the equivalent depth negative.
for args in "0 0.5 2 0.3 10 20" "1 0.5 2 0.3 1 20" "1 0.5 2 0.3 30 20" "1 0.5 5 500 10 20"; do
  expect 1 "$REFUSED" "" calc $args
done
expect 1 "P should be greater than 1%
$REFUSED" "" calc 1 0.5 2 0.3 0,5 20
expect 1 "P should be less than 30%
$REFUSED" "" calc 1 0.5 2 0.3 31 20
expect 1 "Ka should be greater than zero
Kb should be greater than zero
D should be greater than zero
U should be greater than zero
P should be greater than zero
L should be greater than zero
$REFUSED" "" calc -- -1 -1 0 -0.3 0 -20

# Usage: standard error, 2.
expect 2 "" "KB: abc is not a valid number" calc 1 abc 2 0.3 10 20
expect 2 "" "P: 1.0,5 is not a valid number" calc 1 1 2 0.3 1.0,5 20
expect 2 "" "KA:  is not a valid number" calc "" 1 2 0.3 10 20
"$VELTRA" calc 1 2 3 > out.txt 2> err.txt; st=$?
check "too few values: status 2" '[ $st -eq 2 ] && [ ! -s out.txt ] && grep -q "U is required" err.txt'
"$VELTRA" calc 1 2 3 4 5 6 7 > /dev/null 2>&1; st=$?
check "seven values: status 2" '[ $st -eq 2 ]'
finish
