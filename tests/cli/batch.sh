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
chmod 0444 out/field_2/field.res; cp out/field_2/field.res kept.res
"$VELTRA" batch --force --out out a/field.inp b/field.inp > out.txt 2> err.txt; st=$?
check "--force over a read-only result: that case fails, named, the file kept" \
  '[ $st -eq 2 ] && grep -q "^2,field_2,failed,2,.*is read-only" out/summary.csv && cmp -s kept.res out/field_2/field.res && [ -f out/field_2/field.trf ]'
chmod 0644 out/field_2/field.res
"$VELTRA" batch --force --out out out/field/field.inp > out.txt 2> err.txt; st=$?
check "--force on a case's own copy: the input kept" '[ $st -eq 0 ] && cmp -s out/field/field.inp a/field.inp && [ -f out/field/field.trf ]'

# A user's files are never touched. Plans that would are refused before anything runs
# (status 2, the file named, with or without --force): a case folder that holds another
# case's input, a case folder that is a link to elsewhere, an input that is the summary.
mkdir -p plan/C/field plan/other plan/L plan/elsewhere plan/S
cp "$F" plan/other/field.inp
cp "$SRC/examples/wells.inp" plan/C/field/field.inp
ln -s ../elsewhere plan/L/field
printf 'theirs\r\n' > plan/elsewhere/Error.lst
cp "$F" plan/S/summary.csv
sums() { (cd plan && find . -type f -exec md5sum {} + | sort); }
sums > plan.sums
while IFS='|' read -r name text args; do
  for force in "" --force; do
    (cd plan && "$VELTRA" batch $force $args) > out.txt 2> err.txt; st=$?
    check "$name $force: status 2, named" '[ $st -eq 2 ] && grep -qF -- "$text" err.txt && [ ! -s out.txt ]'
  done
done <<'CASES'
another case's input in a case folder|C/field/field.inp" lies in the folder of case 1|--out C other/field.inp C/field/field.inp
a case folder that is a link|L/field" is a symbolic link|--out L other/field.inp
an input that is the summary|S/summary.csv" is the summary|--out S S/summary.csv
CASES
check "plan refusals: every file as it was, nothing written" '[ "$(sums)" = "$(cat plan.sums)" ] && [ ! -e plan/C/summary.csv ]'

# A case run from its own folder keeps the user's other files there (year-named ones too).
mkdir -p own/field && cp "$F" own/field/field.inp && cp "$F" own/field/field2.inp && cp "$F" own/field/field5.inp
"$VELTRA" batch --force --out own own/field/field.inp > out.txt 2>&1; st=$?
check "own folder: run, every input kept" \
  '[ $st -eq 0 ] && [ -f own/field/field.trf ] && cmp -s own/field/field.inp "$F" && cmp -s own/field/field2.inp "$F" && cmp -s own/field/field5.inp "$F"'
# Run again over another case of extension: the earlier input goes, as the case listed it.
mkdir ext && cp "$F" ext/field.INP
"$VELTRA" batch --out redo a/field.inp > out.txt 2>&1
printf 'mine\n' > redo/field/notes.txt
"$VELTRA" batch --force --out redo ext/field.INP > out.txt 2>&1; st=$?
check "another extension: what the earlier run wrote is gone" \
  '[ $st -eq 0 ] && [ -f redo/field/field.INP ] && [ -f redo/field/field.trf ] && [ ! -e redo/field/field.inp ]'
check "another extension: a file the earlier run did not write is kept" '[ -f redo/field/notes.txt ]'

# Case names stay inside --out and apart from the summary; an input named like an output
# fails its row with the refusal of `run`, and is not copied.
cp "$F" ...inp && cp "$F" summary.csv.inp && cp "$F" case.res && cp "$F" warning.lst
"$VELTRA" batch --out names ...inp summary.csv.inp case.res warning.lst > out.txt 2>&1; st=$?
check "names: status 2, summary written" '[ $st -eq 2 ] && [ -f names/summary.csv ] && [ ! -e ...res ]'
check "names: __ and summary.csv_" '[ -f names/__/...res ] && [ -f names/summary.csv_/summary.csv.res ]'
check "names: an input named like an output fails, not copied" \
  'grep -q "^3,case,failed,2,.*The output file \"\"$T/names/case/case.res\"\" is the input file" names/summary.csv &&
   grep -q "^4,warning,failed,2," names/summary.csv && [ -z "$(ls -A names/case names/warning | grep -v :)" ] && cmp -s case.res "$F"'

# A folder another batch holds: refused, nothing written.
if command -v flock > /dev/null; then
  flock -n out -c "\"$VELTRA\" batch --force --out out a/field.inp > out.txt 2> err.txt"; st=$?
  check "a folder in use: status 2" '[ $st -eq 2 ] && grep -q "is in use by another batch" err.txt && [ ! -s out.txt ]'
fi

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

# A list file that starts with a byte-order mark (CR LF lines): its first case runs.
printf '\xEF\xBB\xBF%s\r\nwells.inp\r\n' a/field.inp > bom.list
"$VELTRA" batch --out bom --list bom.list > out.txt 2>&1; st=$?
check "a list with a byte-order mark" '[ $st -eq 0 ] && grep -q "^1,field,ok,0," bom/summary.csv && grep -q "^2,wells,ok,0," bom/summary.csv'

# A reader that goes away early ends the progress, not the batch: every case runs and the
# summary is written (status 2: the lost standard output).
for i in $(seq 1 500); do echo wells.inp; done > many.list
"$VELTRA" batch -j 2 --out piped --list many.list 2> err.txt | head -n 2 > head.txt; st=${PIPESTATUS[0]}
check "| head -n 2: every case, the summary" \
  '[ $st -eq 2 ] && [ "$(wc -l < piped/summary.csv)" -eq 501 ] && [ "$(wc -l < head.txt)" -eq 2 ] && [ "$(grep -c ",ok,0," piped/summary.csv)" -eq 500 ]'
# Lines are flushed case by case when the output is no terminal: a killed job's log has
# every finished case's line, whole.
"$VELTRA" batch -j 1 --out killed --list many.list > log.txt 2>&1 & pid=$!
for i in $(seq 1 600); do grep -q "^\[1/500\]" log.txt && break; sleep 0.05; done
kill -9 $pid; wait $pid 2> /dev/null
check "a killed batch: its log line by line" \
  '[ "$(wc -c < log.txt)" -lt 4096 ] && grep -qx "\[1/500\] wells: ok" log.txt && [ -z "$(tail -c 1 log.txt)" ]'

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
