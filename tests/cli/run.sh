# veltra run: files written, statuses, outputs of an earlier run removed on errors,
# no half-written result file. The records themselves: the whole-run reference test.
# Usage: bash run.sh VELTRA SOURCE_DIR
. "$(dirname "$0")/lib.bash"
crlf_count() { tr -cd '\r' < "$1" | wc -c; }

# A plain run, started from another folder: results beside the input, warning.lst
# in the current folder, the input file untouched, the run marker holding 2.
mkdir -p "$T/data" "$T/cwd"
cp "$F" "$T/data/"
(cd "$T/cwd" && "$VELTRA" run ../data/field.inp > out.txt 2> err.txt); st=$?
check "field: status 0, result and frequency files" '[ $st -eq 0 ] && [ -f "$T/data/field.res" ] && [ -f "$T/data/field.frq" ]'
check "field: warning.lst in the current folder, no Error.lst" \
  '[ -f "$T/cwd/warning.lst" ] && [ ! -e "$T/data/warning.lst" ] && [ ! -e "$T/cwd/Error.lst" ]'
check "field: input untouched" 'cmp -s "$F" "$T/data/field.inp"'
check "field: run marker" '[ "$(cat "$T/data/field.trf")" = "$(printf "2\r")" ]'
check "field: header names the files by full path" \
  'grep -q "^ Name of this output (result) file: $T/data/field.RES" "$T/data/field.res"'
check "field: CR LF line ends" '[ "$(crlf_count "$T/data/field.res")" -eq "$(wc -l < "$T/data/field.res")" ]'
check "field: warnings printed" 'grep -q "The drainage re-use (DRR) is reduced" "$T/cwd/out.txt"'
check "field: last year summarised" 'grep -q "^Year 10 " "$T/cwd/out.txt" && grep -q "season 2: Dw = 1.27E+000 m, Cr4 = 2.62E+001 dS/m" "$T/cwd/out.txt"'

# Input errors: Error.lst left and printed, the outputs of an earlier run deleted.
mkdir -p "$T/bad" && cd "$T/bad"
cp "$REF/bad_case_0001/bad_case_0001.inp" .
echo old > bad_case_0001.res; echo old > bad_case_0001.frq; echo old > warning.lst
"$VELTRA" run bad_case_0001.inp > out.txt 2> err.txt; st=$?
check "errors: status 1, printed" '[ $st -eq 1 ] && [ -f Error.lst ] && grep -q "QH1 and QH2 must not be negative" out.txt'
check "errors: earlier outputs deleted" '[ ! -e bad_case_0001.res ] && [ ! -e bad_case_0001.frq ] && [ ! -e warning.lst ]'

# An input named without an extension in a folder whose name has a dot: the outputs
# take its name, not the folder's.
mkdir -p "$T/v1.2" && cp "$F" "$T/v1.2/field"
(cd "$T" && "$VELTRA" run v1.2/field > /dev/null 2>&1); st=$?
check "no extension, dotted folder: outputs beside it" \
  '[ $st -eq 0 ] && [ -f "$T/v1.2/field.res" ] && [ -f "$T/v1.2/field.trf" ] && [ ! -e "$T/v1.res" ]'

# The save-time validation refuses before the check: no Error.lst, nothing run.
mkdir -p "$T/val" && cd "$T/val"
sed 's/^        7.0     5.0/        6.0     5.0/' "$F" > f.inp
"$VELTRA" run f.inp > out.txt 2> err.txt; st=$?
check "validation: status 1, nothing written" '[ $st -eq 1 ] && [ -s out.txt ] && [ "$(ls)" = "$(printf "err.txt\nf.inp\nout.txt")" ]'

# Usage and unreadable files.
cd "$T"
printf 'just text\r\n' > junk.inp
for args in "" "$T/none.inp" junk.inp; do
  "$VELTRA" run $args > /dev/null 2>&1; st=$?
  check "run $args: status 2" '[ $st -eq 2 ] && [ ! -e junk.res ]'
done

# A result or frequency file that cannot be written: status 2 and no half-written result.
mkdir -p "$T/ro1/field.res" "$T/ro2/field.frq"
cp "$F" "$T/ro1/"; cp "$F" "$T/ro2/"
(cd "$T/ro1" && "$VELTRA" run field.inp > out.txt 2> err.txt); st=$?
check "result file not writable: status 2, named" '[ $st -eq 2 ] && grep -q "field.res" "$T/ro1/err.txt" && [ ! -e "$T/ro1/field.frq" ] && [ ! -e "$T/ro1/field.trf" ]'
(cd "$T/ro2" && "$VELTRA" run field.inp > out.txt 2> err.txt); st=$?
check "frequency file not writable: status 2, no result left" '[ $st -eq 2 ] && [ ! -e "$T/ro2/field.res" ] && [ ! -e "$T/ro2/field.trf" ]'

# Ky = 1 in the file: the whole series without changes, one header, no run marker.
mkdir -p "$T/ky" && cd "$T/ky"
cp "$REF/gen_case_0008/gen_case_0008.inp" g.inp
"$VELTRA" run g.inp > out.txt 2> err.txt; st=$?
check "Ky=1: status 0, one header, year by year" \
  '[ $st -eq 0 ] && [ "$(grep -c "^ VELTRA" g.res)" -eq 1 ] && grep -q "^ Calculations were done year by year." g.res'
check "Ky=1: years 0 to 5, two seasons each" '[ "$(years_of g.res)" = "0 0 1 1 2 2 3 3 4 4 5 5 " ]'
check "Ky=1: no run marker, no year files" '[ ! -e g.trf ] && [ "$(ls *.inp)" = "g.inp" ]'
check "Ky=1: year 1 as the series reference" \
  'diff <(sed -n "/^  YEAR:    1/,/^  YEAR:    2/p" "$REF/gen_case_0008/gen_case_0008.res") <(sed -n "/^  YEAR:    1/,/^  YEAR:    2/p" g.res | sed "s#$T/ky/g#gen_case_0008#") > /dev/null'
finish
