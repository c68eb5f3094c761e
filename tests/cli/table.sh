#!/usr/bin/env bash
# veltra table: the printed lines of every option, the frequency view saved and read
# back, group files read back, CSV, and the refusals (stderr, exit 2). The group
# files themselves: the whole-run reference test.
# Usage: bash table.sh VELTRA SOURCE_DIR
. "$(dirname "$0")/lib.bash"
CASE=$REF/field
cp "$CASE/field.res" "$CASE/field.frq" .

for n in $(seq 1 12); do
  nn=$(printf %02d "$n")
  "$VELTRA" table field.res "$n" --prn "g$nn.prn" > "out$nn.txt" 2> err.txt || fail "option $n exit $?: $(cat err.txt)"
  # Printed: the group file's lines up to the last row, LF line ends.
  rows=$(( $(wc -l < "$CASE/group_$nn.prn") - 3 ))
  head -n "$rows" "g$nn.prn" | tr -d '\r' | cmp -s - "out$nn.txt" || fail "option $n printed lines differ"
done

"$VELTRA" table field.res 13 --prn freq.prn > out13.txt || fail "option 13 exit $?"
tr -d '\r' < "$CASE/field.frq" | cmp -s - out13.txt || fail "option 13 does not print the frequency file"
cmp -s freq.prn "$CASE/field.frq" || fail "option 13 --prn does not save the frequency text"
"$VELTRA" chart freq.prn -o freq.png > /dev/null 2> err.txt; st=$?
check "a saved frequency view has no chart" '[ $st -eq 2 ] && grep -q "saved frequency view" err.txt && [ ! -e freq.png ]'
for f in freq.prn g05.prn; do
  "$VELTRA" table $f > back.txt || fail "$f read back exit $?"
  tr -d '\r' < $f | cmp -s - back.txt || fail "$f read back prints other lines"
done

"$VELTRA" table field.res 11 --csv areas.csv > /dev/null || fail "--csv exit $?"
[ "$(head -n 1 areas.csv)" = "Year,Season,A,B,U,Uc" ] || fail "csv header: $(head -n 1 areas.csv)"
[ "$(sed -n 4p areas.csv)" = "1,1,0.5,0.3,0.2," ] || fail "csv row: $(sed -n 4p areas.csv)"
grep -q $'\r' areas.csv && fail "csv has CR line ends"

expect_refusal() { # expected-stderr-fragment args...
  local want=$1; shift
  "$VELTRA" table "$@" > refused.txt 2> err.txt; local rc=$?
  [ "$rc" -eq 2 ] && grep -qF -- "$want" err.txt && [ ! -s refused.txt ] || fail "table $*: exit $rc, $(cat err.txt)"
}
expect_refusal "could not be opened" missing.res 3
sed 's/ 7.08E+000/ 7.O8E+000/' field.res > badcell.res
expect_refusal "badcell.res\", line" badcell.res 2
head -n 14 field.res > noseason.res
expect_refusal "no season record" noseason.res 1
head -n 6 g04.prn > short.prn
expect_refusal "short.prn" short.prn
expect_refusal "N" field.res
expect_refusal "14" field.res 14
expect_refusal "--csv" field.res 13 --csv x.csv
[ -e x.csv ] && fail "a refused --csv wrote a file"
finish
