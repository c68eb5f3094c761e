#!/usr/bin/env bash
# veltra table: the reference case's group files for every option, the printed lines,
# the frequency view, group files read back, CSV, and the refusals (stderr, exit 2).
# Usage: bash table.sh VELTRA SOURCE_DIR
set -u
VELTRA=$1
CASE=$(realpath "$2")/tests/data/reference/field
[ -f "$CASE/field.res" ] || { echo "FAIL: no whole-run case in $CASE"; exit 1; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1
cp "$CASE/field.res" "$CASE/field.frq" .
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }

for n in $(seq 1 12); do
    nn=$(printf %02d "$n")
    "$VELTRA" table field.res "$n" --prn "g$nn.prn" > "out$nn.txt" 2> err.txt || fail "option $n exit $?: $(cat err.txt)"
    # The reference prints the bare file name where the tool prints the full path.
    sed "1s|\"Data from: $WORK/|\"Data from: |" "g$nn.prn" | cmp -s - "$CASE/group_$nn.prn" || fail "group_$nn.prn differs"
    # Printed: the group file's lines up to the last row, LF line ends.
    rows=$(( $(wc -l < "$CASE/group_$nn.prn") - 3 ))
    head -n "$rows" "g$nn.prn" | tr -d '\r' | cmp -s - "out$nn.txt" || fail "option $n printed lines differ"
done

"$VELTRA" table field.res 13 --prn freq.prn > out13.txt || fail "option 13 exit $?"
tr -d '\r' < "$CASE/field.frq" | cmp -s - out13.txt || fail "option 13 does not print the frequency file"
cmp -s freq.prn "$CASE/field.frq" || fail "option 13 --prn does not save the frequency text"

"$VELTRA" table g05.prn > back.txt || fail "group file read back exit $?"
tr -d '\r' < g05.prn | cmp -s - back.txt || fail "group file read back prints other lines"

"$VELTRA" table field.res 11 --csv areas.csv > /dev/null || fail "--csv exit $?"
[ "$(head -n 1 areas.csv)" = "Year,Season,A,B,U,Uc" ] || fail "csv header: $(head -n 1 areas.csv)"
[ "$(sed -n 4p areas.csv)" = "1,1,0.5,0.3,0.2," ] || fail "csv row: $(sed -n 4p areas.csv)"
grep -q $'\r' areas.csv && fail "csv has CR line ends"

expect_refusal() { # expected-stderr-fragment args...
    local want=$1
    shift
    "$VELTRA" table "$@" > refused.txt 2> err.txt
    local rc=$?
    [ "$rc" -eq 2 ] || fail "table $* exit $rc, expected 2"
    grep -qF -- "$want" err.txt || fail "table $* stderr: $(cat err.txt)"
    [ -s refused.txt ] && fail "table $* printed to stdout"
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

[ "$fails" -eq 0 ] || exit 1
echo "table: all checks passed"
