# veltra batch: every case in its own folder with exactly the files a single run leaves,
# equal base names kept apart, the exit status of the worst case, a failing case that
# stops no other, a line per case when the output is not a terminal, a shard of the
# cases, and the refusals before anything runs. Usage: bash batch.sh VELTRA SOURCE_DIR
. "$(dirname "$0")/lib.bash"

# Two inputs with the same base name; each runs in its own folder as a single run would.
mkdir a b single
cp "$REF/field/field.inp" a/field.inp
cp "$SRC/examples/wells.inp" b/field.inp
cp "$SRC/examples/wells.inp" single/field.inp
(cd single && "$VELTRA" run field.inp > /dev/null 2>&1)
"$VELTRA" batch -j 2 --out out a/field.inp b/field.inp > out.txt 2> err.txt; st=$?
check "two inputs: status 0" '[ $st -eq 0 ] && [ ! -s err.txt ]'
check "equal base names: field and field_2" '[ -f out/field/field.res ] && [ -f out/field_2/field.res ]'
check "field_2 holds what a single run of its input leaves" 'same_files single out/field_2'
check "a plain line per case, not a bar" \
  'grep -qx "\[[12]/2\] field: ok" out.txt && grep -qx "\[[12]/2\] field_2: ok" out.txt && ! grep -q $'"'"'\r'"'"' out.txt'
check "closing line" 'grep -q "^2 cases in .*: 2 ok, 0 input errors, 0 stopped, 0 failed. Summary: $T/out/summary.csv$" out.txt'
check "summary rows in input order" \
  '[ "$(cut -d, -f1-4 out/summary.csv)" = "$(printf "index,name,status,exit_status\n1,field,ok,0\n2,field_2,ok,0")" ]'

# Results of the same cases are not written over without --force; with it, nothing of the
# earlier run stays behind.
cp out/summary.csv summary.before
"$VELTRA" batch --out out a/field.inp b/field.inp > out.txt 2> err.txt; st=$?
check "again: status 1, the folders named" '[ $st -eq 1 ] && grep -q "\"$T/out/field\" already exists" err.txt && grep -q -- "--force" err.txt'
check "again: nothing written" 'cmp -s out/summary.csv summary.before && [ ! -s out.txt ]'
printf 'old\r\n' > out/field/Error.lst
"$VELTRA" batch --force --out out a/field.inp b/field.inp > out.txt 2> err.txt; st=$?
check "--force: status 0, the stale error list gone" '[ $st -eq 0 ] && [ ! -e out/field/Error.lst ] && [ -f out/field/field.trf ]'
"$VELTRA" batch --force --out out out/field/field.inp > out.txt 2> err.txt; st=$?
check "--force on a case's own copy: the input kept" '[ $st -eq 0 ] && cmp -s out/field/field.inp a/field.inp && [ -f out/field/field.trf ]'

# The worst case decides the status (failed over stopped over input errors); a case that
# fails stops no other. --list names the inputs a line each. (The files and rows of
# input errors and stopped runs: the batch of every whole-run case, tests/runs/BatchTest.cpp.)
cp "$REF/bad_case_0001/bad_case_0001.inp" "$REF/hm_aquifer_stop/hm_aquifer_stop.inp" .
printf '%s\n\n%s\n' "$T/bad_case_0001.inp" "a/field.inp" > errors.list
"$VELTRA" batch --out s1 --list errors.list > out.txt 2>&1; st=$?
check "input errors: status 1" '[ $st -eq 1 ] && grep -q "^1,bad_case_0001,input errors,1," s1/summary.csv && grep -q "^2,field,ok,0," s1/summary.csv'
printf 'just text\r\n' > junk.inp
"$VELTRA" batch -j 3 --out s2 missing.inp hm_aquifer_stop.inp junk.inp bad_case_0001.inp a/field.inp > out.txt 2>&1; st=$?
check "failed: status 2" '[ $st -eq 2 ]'
check "failed: each failure its own row, with why" \
  'grep -q "^1,missing,failed,2,.*missing.inp" s2/summary.csv && grep -q "^3,junk,failed,2,.*junk.inp" s2/summary.csv'
check "failed: the other cases ran" \
  'grep -q "^5,field,ok,0," s2/summary.csv && [ -f s2/field/field.trf ] && grep -q "^2,hm_aquifer_stop,stopped,3," s2/summary.csv'

# A series given with its year files runs once, with them, as `veltra series` would.
cp "$REF"/gen_case_0007/gen_case_0007*.inp .
"$VELTRA" batch --out ser gen_case_0007*.inp > out.txt 2>&1; st=$?
check "series: the year files run with the first" \
  '[ $st -eq 0 ] && [ "$(grep -c "is a later year of a series given too; it runs with that series.$" out.txt)" -eq 5 ] && [ "$(cut -d, -f1-4 ser/summary.csv | tail -n +2)" = "1,gen_case_0007,ok,0" ]'
check "series: the reviewed result" \
  'cmp -s <(sed "s#$T/ser/gen_case_0007/##g; 4,9d" ser/gen_case_0007/gen_case_0007.res) <(sed "4,9d" "$REF/gen_case_0007/gen_case_0007.res")'

# Shards: each runs every N-th case (joining them: sweep.sh).
cp "$SRC/examples/wells.inp" .
"$VELTRA" batch --shard 1/2 --out parts a/field.inp wells.inp hm_aquifer_stop.inp > /dev/null 2>&1
check "shards: its own summary, shard 1 ran case 2 only" \
  '[ ! -e parts/summary.csv ] && [ "$(tail -n +2 parts/summary-1-of-2.csv | cut -d, -f1,2)" = "2,wells" ] && [ "$(ls parts)" = "$(printf "summary-1-of-2.csv\nwells")" ]'

# Refusals before anything runs: status 2, a message, no output folder.
printf 'x' > afile
while IFS='|' read -r name text args; do
  "$VELTRA" batch $args > out.txt 2> err.txt; st=$?
  check "$name: status 2" '[ $st -eq 2 ] && grep -q -- "$text" err.txt && [ ! -e none ]'
done <<'CASES'
no input|.|--out none
shard out of range|K/N|--shard 2/2 --out none a/field.inp
-j 0|.|-j 0 --out none a/field.inp
output folder is a file|afile|--out afile a/field.inp
output folder below a file|could not be created|--out afile/below a/field.inp
CASES
# A folder its user may not write (root writes anywhere: run as nobody where possible).
if [ "$(id -u)" -eq 0 ] && command -v setpriv > /dev/null; then
  chmod 755 "$T" && mkdir ro && chmod 555 ro && chmod 644 a/field.inp
  setpriv --reuid=65534 --regid=65534 --clear-groups "$VELTRA" batch --out ro/out a/field.inp > out.txt 2> err.txt; st=$?
  check "read-only folder (as nobody): status 2" '[ $st -eq 2 ] && grep -q "could not be created" err.txt'
  mkdir rw && chmod 555 rw
  setpriv --reuid=65534 --regid=65534 --clear-groups "$VELTRA" batch --out rw a/field.inp > out.txt 2> err.txt; st=$?
  check "existing read-only folder (as nobody): status 2" '[ $st -eq 2 ] && grep -q "is not writable" err.txt'
elif [ "$(id -u)" -ne 0 ]; then
  mkdir rw && chmod 555 rw
  "$VELTRA" batch --out rw a/field.inp > out.txt 2> err.txt; st=$?
  check "existing read-only folder: status 2" '[ $st -eq 2 ] && grep -q "is not writable" err.txt'
else
  fail "running as root without setpriv: the read-only folder cannot be tested"
fi

finish
