# veltra sweep: a 3 x 3 grid gives 9 cases whose inputs differ from the swept file in
# the varied fields only and whose results are those of `veltra run` on them; a value
# that makes the input invalid is listed with its first error and not run; shards joined
# are the whole, file by file; refusals before anything runs, with their statuses.
# Usage: bash sweep.sh VELTRA SOURCE_DIR
. "$(dirname "$0")/lib.bash"
cp "$SRC/examples/field.inp" "$SRC/examples/wells.inp" .

# 3 x 3: the first --set varies slowest.
"$VELTRA" sweep field.inp --set Dd=1.5,2,2.5 --set IaA=0.4:0.8:0.2 -j 2 --out sw > out.txt 2> err.txt; st=$?
check "3 x 3: status 0" '[ $st -eq 0 ] && [ ! -s err.txt ]'
check "3 x 3: 9 rows with the varied columns" \
  '[ "$(cut -d, -f1-6 sw/summary.csv)" = "$(printf "%s\n" index,name,Dd,IaA,status,exit_status \
     1,field_1,1.5,0.4,ok,0 2,field_2,1.5,0.6,ok,0 3,field_3,1.5,0.8,ok,0 \
     4,field_4,2,0.4,ok,0 5,field_5,2,0.6,ok,0 6,field_6,2,0.8,ok,0 \
     7,field_7,2.5,0.4,ok,0 8,field_8,2.5,0.6,ok,0 9,field_9,2.5,0.8,ok,0)" ]'
# Case 5's input: field.inp with Dd = 2.00 and IaA = 0.600 in both seasons, nothing else.
check "case 5: its input differs in the varied fields only" \
  '[ "$(diff field.inp sw/field_5/field_5.inp | grep "^[<>]" | tr -d "\r")" = "$(printf "%s\n" \
     "<         0.500   0.300   0.400   0.200" ">         0.600   0.300   0.600   0.200" \
     "<         1.50    0.0030  0.0010" ">         2.00    0.0030  0.0010")" ]'
mkdir single && cp sw/field_5/field_5.inp single/
(cd single && "$VELTRA" run field_5.inp > /dev/null 2>&1)
check "case 5: the files veltra run writes for its input" 'same_files single sw/field_5'
check "3 x 3: Cr4 in the summary is the last record's" \
  '[ "$(grep "Cr4 = " sw/field_9/field_9.res | tail -1 | cut -c69-78 | tr -d " ")" = \
     "$(python3 -c "import csv; r=list(csv.DictReader(open(\"sw/summary.csv\")))[8]; print(\"%.2E\" % float(r[\"Cr4\"]))" | sed "s/E\([+-]\)\([0-9][0-9]\)$/E\10\2/")" ]'

# A value that makes the input invalid: listed with its first error, not run.
"$VELTRA" sweep field.inp --set Dd=0.5,1.5 --set QH1=0.003,-0.003 --out bad > out.txt 2> err.txt; st=$?
check "invalid values: status 1" '[ $st -eq 1 ]'
check "invalid values: refused by the save-time validation" \
  'grep -q "^1,field_1,0.5,0.003,input errors,1,.*,The drains must be in the transition zone:  Dr < Dd < Dr + Dx,[0-9a-f]\{16\},4$" bad/summary.csv'
check "invalid values: refused by the check, its first error" \
  'grep -q "^4,field_4,1.5,-0.003,input errors,1,.*,The drainage reaction factors QH1 and QH2 must not be negative.,[0-9a-f]\{16\},4$" bad/summary.csv'
check "invalid values: not run" \
  '[ "$(ls bad/field_1)" = "field_1.inp" ] && [ "$(ls bad/field_4)" = "$(printf "Error.lst\nfield_4.inp")" ]'
check "invalid values: the valid case ran" 'grep -q "^3,field_3,1.5,0.003,ok,0," bad/summary.csv && [ -f bad/field_3/field_3.trf ]'

# Shards of the 3 x 3 sweep in one folder, joined: the whole, file by file.
for k in 0 1 2; do
  "$VELTRA" sweep field.inp --set Dd=1.5,2,2.5 --set IaA=0.4:0.8:0.2 --shard $k/3 --out sh > out.txt 2>&1 || fail "shard $k/3"
done
check "shards: their summaries, no whole one yet" '[ "$(ls sh | grep csv | tr "\n" " ")" = "summary-0-of-3.csv summary-1-of-3.csv summary-2-of-3.csv " ]'
check "shards: shard 1 holds cases 2, 5 and 8" '[ "$(tail -n +2 sh/summary-1-of-3.csv | cut -d, -f2 | tr "\n" " ")" = "field_2 field_5 field_8 " ]'
"$VELTRA" sweep field.inp --set Dd=1.5,2,2.5 --set IaA=0.4:0.8:0.2 --shard 1/3 --out sh > out.txt 2> err.txt; st=$?
check "shards: a shard run again is refused" '[ $st -eq 1 ] && grep -q "summary-1-of-3.csv\" already exists" err.txt'
"$VELTRA" summary sh > out.txt 2> err.txt; st=$?
check "summary: joined" '[ $st -eq 0 ] && grep -q "^Joined 3 shards (9 cases) into $T/sh/summary.csv$" out.txt'
check "summary: the whole summary, byte for byte" 'cmp -s sh/summary.csv sw/summary.csv'
all_same() { local k; for k in 1 2 3 4 5 6 7 8 9; do same_files "sh/field_$k" "sw/field_$k" || return 1; done; }
check "shards: every case folder as in the whole" 'all_same'
rm sh/summary-1-of-3.csv
"$VELTRA" summary sh > out.txt 2> err.txt; st=$?
check "summary: a missing shard named, status 2" '[ $st -eq 2 ] && grep -q "summary-1-of-3.csv" err.txt && [ ! -s out.txt ]'

# Any number of shards: a job array larger than the grid leaves shards without a case,
# which write their header only, and the shards still join into the whole.
for k in 0 1 2 3 4 5 6 7 8 999999; do
  "$VELTRA" sweep field.inp --set Dd=1.5,2,2.5 --set IaA=0.4:0.8:0.2 --shard $k/1000000 --out mil > out.txt 2>&1 || fail "shard $k/1000000"
done
check "a shard without a case: its header only" '[ "$(cat mil/summary-999999-of-1000000.csv)" = "$(head -n 1 sw/summary.csv)" ]'
"$VELTRA" summary mil > out.txt 2> err.txt; st=$?
check "summary of a million shards: the whole" '[ $st -eq 0 ] && cmp -s mil/summary.csv sw/summary.csv'
# The summary of another run is replaced only with --force; that of the same run is.
cp bad/summary.csv mil/summary.csv
"$VELTRA" summary mil > out.txt 2> err.txt; st=$?
check "summary over another run's: status 1, kept" \
  '[ $st -eq 1 ] && grep -q "holds the summary of another run; use --force" err.txt && cmp -s mil/summary.csv bad/summary.csv'
"$VELTRA" summary --force mil > out.txt 2> err.txt; st=$?
check "summary --force: replaced" '[ $st -eq 0 ] && cmp -s mil/summary.csv sw/summary.csv'
"$VELTRA" summary mil > out.txt 2> err.txt; st=$?
check "summary again: the same run's, replaced" '[ $st -eq 0 ] && cmp -s mil/summary.csv sw/summary.csv'

# Refusals before anything runs: status 2, a message, no output folder.
refused() { # NAME TEXT veltra-arguments...
  local name=$1 text=$2; shift 2
  "$VELTRA" "$@" --out none > out.txt 2> err.txt; local st=$?
  [ $st -eq 2 ] && grep -qF -- "$text" err.txt && [ ! -e none ] || fail "$name: status $st, $(cat err.txt)"
}
refused "unknown field" 'unknown field "Depth"' sweep field.inp --set Depth=1:2:0.5
refused "empty range" "the range is empty" sweep field.inp --set Dd=2:1:0.5
refused "step 0" "STEP must not be 0" sweep field.inp --set Dd=1:2:0
refused "too many cases" "more than 100000 cases" sweep field.inp --set Dd=1:2:0.01 --set Cic=0:200:0.1
refused "a field the keys leave out" "no drains (Kd = 0)" sweep wells.inp --set Dd=1.5
refused "a season the file lacks" "has 2 season(s)" sweep field.inp --set "IaA[3]=0.5"
refused "more decimals than the file keeps" "more decimals" sweep field.inp --set Dd=1.125
refused "no --set" "--set" sweep field.inp
refused "no input file" "could not be read" sweep none.inp --set Dd=1.5
# The swept input in a case folder (with or without --force): refused, the file named.
mkdir -p in/field_1 && cp field.inp in/field_1/field.inp
for force in "" --force; do
  "$VELTRA" sweep in/field_1/field.inp --set Dd=1.5,2 --out in $force > out.txt 2> err.txt; st=$?
  check "the swept input in a case folder $force: status 2" \
    '[ $st -eq 2 ] && grep -qF "in/field_1/field.inp\" lies in the folder of case 1" err.txt && [ "$(ls in)" = field_1 ] && [ "$(ls in/field_1)" = field.inp ]'
done

finish
