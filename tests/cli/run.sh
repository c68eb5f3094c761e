# veltra run: files written, statuses, outputs of an earlier run removed on errors,
# no half-written result file. Usage: bash run.sh VELTRA SOURCE_DIR
set -u
VELTRA=$(realpath "$1")
REF=$(realpath "$2")/tests/data/reference
[ -f "$REF/field/field.inp" ] || { echo "FAIL: no whole-run cases in $REF"; exit 1; }
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
fails=0
check() { if eval "$2"; then :; else echo "FAIL: $1"; fails=$((fails + 1)); fi; }
crlf_count() { tr -cd '\r' < "$1" | wc -c; }

# A plain run, started from another folder: results beside the input, warning.lst
# in the current folder, the input file untouched, the run marker holding 2.
mkdir -p "$T/data" "$T/cwd"
cp "$REF/field/field.inp" "$T/data/"
(cd "$T/cwd" && "$VELTRA" run ../data/field.inp > out.txt 2> err.txt); st=$?
check "field: status 0" '[ $st -eq 0 ]'
for f in field.res field.frq field.trf; do check "field: $f written" '[ -f "$T/data/$f" ]'; done
check "field: warning.lst in the current folder" '[ -f "$T/cwd/warning.lst" ] && [ ! -e "$T/data/warning.lst" ]'
check "field: no Error.lst" '[ ! -e "$T/cwd/Error.lst" ]'
check "field: input untouched" 'cmp -s "$REF/field/field.inp" "$T/data/field.inp"'
check "field: run marker" '[ "$(cat "$T/data/field.trf")" = "$(printf "2\r")" ]'
check "field: header names the files by full path" \
  'grep -q "^ Name of this output (result) file: $T/data/field.RES" "$T/data/field.res"'
check "field: CR LF line ends" '[ "$(crlf_count "$T/data/field.res")" -eq "$(wc -l < "$T/data/field.res")" ]'
check "field: same records as the reference" \
  'diff <(tail -n +10 "$REF/field/field.res") <(tail -n +10 "$T/data/field.res" | sed "s#$T/data/##g") > /dev/null'
check "field: warnings printed" 'grep -q "The drainage re-use (DRR) is reduced" "$T/cwd/out.txt"'
check "field: last year summarised" 'grep -q "^Year 10 " "$T/cwd/out.txt" && grep -q "season 2: Dw = 1.27E+000 m, Cr4 = 2.62E+001 dS/m" "$T/cwd/out.txt"'

# Input errors: Error.lst left and printed, the outputs of an earlier run deleted.
mkdir -p "$T/bad" && cd "$T/bad"
cp "$REF/bad_case_0001/bad_case_0001.inp" .
echo old > bad_case_0001.res; echo old > bad_case_0001.frq; echo old > warning.lst
"$VELTRA" run bad_case_0001.inp > out.txt 2> err.txt; st=$?
check "errors: status 1" '[ $st -eq 1 ]'
check "errors: Error.lst as the reference" 'cmp -s Error.lst "$REF/bad_case_0001/Error.lst"'
check "errors: printed" 'grep -q "QH1 and QH2 must not be negative" out.txt'
check "errors: earlier outputs deleted" '[ ! -e bad_case_0001.res ] && [ ! -e bad_case_0001.frq ] && [ ! -e warning.lst ]'

# The save-time validation refuses before the check: no Error.lst, nothing run.
mkdir -p "$T/val" && cd "$T/val"
sed 's/^        7.0     5.0/        6.0     5.0/' "$REF/field/field.inp" > f.inp
"$VELTRA" run f.inp > out.txt 2> err.txt; st=$?
check "validation: status 1" '[ $st -eq 1 ] && [ -s out.txt ]'
check "validation: nothing written" '[ "$(ls)" = "$(printf "err.txt\nf.inp\nout.txt")" ]'

# Usage and unreadable files.
cd "$T"
"$VELTRA" run > /dev/null 2>&1; st=$?
check "usage: status 2" '[ $st -eq 2 ]'
"$VELTRA" run "$T/none.inp" > /dev/null 2>&1; st=$?
check "missing file: status 2" '[ $st -eq 2 ]'
printf 'just text\r\n' > junk.inp
"$VELTRA" run junk.inp > /dev/null 2>&1; st=$?
check "unreadable file: status 2" '[ $st -eq 2 ] && [ ! -e junk.res ]'

# A result or frequency file that cannot be written: status 2 and no half-written result.
mkdir -p "$T/ro1/field.res" "$T/ro2/field.frq"
cp "$REF/field/field.inp" "$T/ro1/"; cp "$REF/field/field.inp" "$T/ro2/"
(cd "$T/ro1" && "$VELTRA" run field.inp > out.txt 2> err.txt); st=$?
check "result file not writable: status 2, named" '[ $st -eq 2 ] && grep -q "field.res" "$T/ro1/err.txt" && [ ! -e "$T/ro1/field.frq" ] && [ ! -e "$T/ro1/field.trf" ]'
(cd "$T/ro2" && "$VELTRA" run field.inp > out.txt 2> err.txt); st=$?
check "frequency file not writable: status 2, no result left" '[ $st -eq 2 ] && [ ! -e "$T/ro2/field.res" ] && [ ! -e "$T/ro2/field.trf" ]'

# The water table below the aquifer bottom stops the run: status 3, no run marker.
mkdir -p "$T/stop" && cd "$T/stop"
cp "$REF/hm_aquifer_stop/hm_aquifer_stop.inp" .
"$VELTRA" run hm_aquifer_stop.inp > out.txt 2> err.txt; st=$?
check "stop: status 3" '[ $st -eq 3 ]'
check "stop: no run marker" '[ ! -e hm_aquifer_stop.trf ] && [ -f hm_aquifer_stop.res ]'
check "stop: reason in warning.lst" 'cmp -s warning.lst "$REF/hm_aquifer_stop/warning.lst"'

# Ky = 1 in the file: the whole series without changes, one header, no run marker.
mkdir -p "$T/ky" && cd "$T/ky"
cp "$REF/gen_case_0008/gen_case_0008.inp" g.inp
"$VELTRA" run g.inp > out.txt 2> err.txt; st=$?
check "Ky=1: status 0" '[ $st -eq 0 ]'
check "Ky=1: one header, year by year" '[ "$(grep -c "^ VELTRA" g.res)" -eq 1 ] && grep -q "^ Calculations were done year by year." g.res'
check "Ky=1: years 0 to 5, two seasons each" \
  '[ "$(grep "^  YEAR:" g.res | cut -c9-12 | tr -d " " | tr "\n" " ")" = "0 0 1 1 2 2 3 3 4 4 5 5 " ]'
check "Ky=1: no run marker, no year files" '[ ! -e g.trf ] && [ "$(ls *.inp)" = "g.inp" ]'
check "Ky=1: year 1 as the series reference" \
  'diff <(sed -n "/^  YEAR:    1/,/^  YEAR:    2/p" "$REF/gen_case_0008/gen_case_0008.res") <(sed -n "/^  YEAR:    1/,/^  YEAR:    2/p" g.res | sed "s#$T/ky/g#gen_case_0008#") > /dev/null'

[ $fails -eq 0 ] && echo "run: all checks passed"
exit $((fails > 0)) # a count could wrap to 0
