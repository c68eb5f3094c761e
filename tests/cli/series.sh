# veltra series: year files read over the record, saved under the series' names,
# one result file with years continuing, refusals before anything runs, stops.
# Usage: bash series.sh VELTRA SOURCE_DIR
. "$(dirname "$0")/lib.bash"
G=$REF/gen_case_0009   # Ky = 1, Ns = 3, Ny = 4; its first two files as years 1 and 2
records() { sed -n "/^  YEAR:    $2/,\$p" "$1" | sed -n "1,/^  YEAR:    $3/p" | sed "s#$4#gen_case_0009#g"; }

# Fewer files than years: the last one is read again for each remaining year and
# saved as g3.inp, g4.inp; the files given are not rewritten.
mkdir -p "$T/s" && cd "$T/s"
cp "$G/gen_case_0009.inp" g.inp; cp "$G/gen_case_00092.inp" g2.inp
"$VELTRA" series g.inp g2.inp > out.txt 2> err.txt; st=$?
check "series: status 0" '[ $st -eq 0 ] && [ ! -s err.txt ]'
check "series: files given untouched" 'cmp -s g.inp "$G/gen_case_0009.inp" && cmp -s g2.inp "$G/gen_case_00092.inp"'
check "series: later years saved under the series name" 'cmp -s g3.inp g2.inp && cmp -s g4.inp g2.inp'
check "series: one header, year by year" \
  '[ "$(grep -c "^ VELTRA" g.res)" -eq 1 ] && grep -q "^ Calculations were done year by year." g.res'
check "series: years 0 to 4, three seasons each" '[ "$(years_of g.res)" = "0 0 0 1 1 1 2 2 2 3 3 3 4 4 4 " ]'
check "series: frequency title once" '[ "$(grep -c "FREQUENCY DISTRIBUTION" g.frq)" -eq 1 ] && grep -q "^ \"YEAR:     4\"" g.frq'
check "series: no run marker" '[ ! -e g.trf ] && [ -f warning.lst ]'
check "series: warnings of every year printed" '[ "$(grep -c "^Year [1-4]:" out.txt)" -eq 4 ]'
check "series: last year summarised" 'grep -q "^Year 4 " out.txt && grep -q "season 3: Dw = " out.txt'
check "series: years 0 to 2 as the reference" \
  'diff <(records "$G/gen_case_0009.res" 0 3 gen_case_0009) <(records g.res 0 3 "$T/s/g") > /dev/null'

# Refusals before anything runs (status 2, nothing written): the first file without
# Ky = 1, a later file with another Ns and Ny, with another Ny alone, with another Ns
# alone, more files than years, an unreadable file.
mkdir -p "$T/r" && cd "$T/r"
cp "$G"/gen_case_0009*.inp .; cp "$F" .
sed '6s/^        4      3/        5      3/' "$G/gen_case_00092.inp" > ny.inp
sed '6s/^        5      2/        4      2/' "$REF/gen_case_0008/gen_case_0008.inp" > ns.inp
for args in "field.inp" "gen_case_0009.inp field.inp" "gen_case_0009.inp ny.inp" "gen_case_0009.inp ns.inp" \
            "gen_case_0009.inp missing.inp" \
            "gen_case_0009.inp gen_case_00092.inp gen_case_00093.inp gen_case_00094.inp gen_case_00094.inp"; do
  "$VELTRA" series $args > /dev/null 2>&1; st=$?
  check "refused: series $args" '[ $st -eq 2 ]'
done
check "refused: nothing written" '[ -z "$(ls | grep -v "\.inp$")" ] && [ "$(ls | wc -l)" -eq 7 ]'

# A later year whose input fails the save-time validation or the check: the series
# stops with status 1 and the years already run stay in the files.
mkdir -p "$T/e" && cd "$T/e"
cp "$G/gen_case_0009.inp" g.inp
sed 's/^        6.8     3.5     1.7/        6.8     3.5     2.7/' "$G/gen_case_00092.inp" > ts.inp
"$VELTRA" series g.inp ts.inp > out.txt 2> err.txt; st=$?
check "validation in year 2: status 1, not saved" '[ $st -eq 1 ] && [ -s out.txt ] && [ ! -e g2.inp ] && [ ! -e Error.lst ]'
check "validation in year 2: year 1 kept" '[ "$(years_of g.res)" = "0 0 0 1 1 1 " ]'
awk 'p { $2 = "-" $2; p = 0 } /^21\./ { p = 1 } { print }' "$G/gen_case_00092.inp" | sed 's/$/\r/; s/\r\r$/\r/' > qh.inp
"$VELTRA" series g.inp qh.inp > out.txt 2> err.txt; st=$?
check "errors in year 2: status 1, Error.lst" '[ $st -eq 1 ] && grep -q "QH1 and QH2" Error.lst && grep -q "QH1 and QH2" out.txt'
check "errors in year 2: year 1 kept" '[ "$(years_of g.res)" = "0 0 0 1 1 1 " ] && [ -f g.frq ]'

# The water table below the aquifer bottom ends the series after that year; year by
# year it is not a warning of its own.
mkdir -p "$T/stop" && cd "$T/stop"
sed '6s/^\(        5      2       \)0/\11/' "$REF/hm_aquifer_stop/hm_aquifer_stop.inp" > a.inp
"$VELTRA" series a.inp > out.txt 2> err.txt; st=$?
check "stop: status 3 and the message" '[ $st -eq 3 ] && grep -q "^The watertable reached the bottom of the aquifer. The output can be partially seen" out.txt'
check "stop: year 1 written, nothing more" '[ "$(years_of a.res)" = "0 0 1 1 " ] && [ ! -e a.trf ] && [ ! -e a2.inp ]'
check "stop: no warning of it" '! grep -q "bottom of the aquifer" warning.lst'

# Each stop cause of a series says its own message: a value out of range in year 1.
mkdir -p "$T/range" && cd "$T/range"
sed -e '6s/^\(        10      2       \)0/\11/' -e 's/^        10.0    15.0    2.0 /        10.0    15.0    1e308 /' "$F" > r.inp
"$VELTRA" series r.inp > out.txt 2> err.txt; st=$?
check "out of range: status 3 and its own message" \
  '[ $st -eq 3 ] && grep -q "^The calculations gave a value out of range. The output can be partially seen" out.txt && ! grep -q "bottom of the aquifer" out.txt'
check "out of range: the records before it kept" '[ "$(years_of r.res)" = "0 0 1 " ] && [ ! -e r.trf ] && [ ! -e r2.inp ]'
finish
