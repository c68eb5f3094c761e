# veltra batch: every case in its own folder with exactly the files a single run leaves,
# equal base names kept apart, the exit status of the worst case, a failing case that
# stops no other, a line per case when the output is not a terminal, shards joined into
# the whole, and the refusals before anything runs. Usage: bash batch.sh VELTRA SOURCE_DIR
set -u
VELTRA=$(realpath "$1")
SRC=$(realpath "$2")
REF=$SRC/tests/data/reference
[ -f "$REF/field/field.inp" ] || { echo "FAIL: no whole-run cases in $REF"; exit 1; }
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
fails=0
check() { if eval "$2"; then :; else echo "FAIL: $1"; fails=$((fails + 1)); fi; }
# The files of two case folders agree, the folder part of printed paths aside.
same_files() {
  local a=$1 b=$2 f
  [ "$(ls "$a")" = "$(ls "$b")" ] || return 1
  for f in "$a"/*; do
    cmp -s <(sed "s#$a/##g" "$f") <(sed "s#$b/##g" "$b/$(basename "$f")") || return 1
  done
}
cd "$T"

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
check "field holds the reviewed results" \
  'cmp -s <(tail -n +10 out/field/field.res | sed "s#$T/out/field/##g") <(tail -n +10 "$REF/field/field.res")'
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
# fails stops no other. --list names the inputs a line each.
cp "$REF/bad_case_0001/bad_case_0001.inp" "$REF/hm_aquifer_stop/hm_aquifer_stop.inp" .
printf '%s\n\n%s\n' "$T/bad_case_0001.inp" "a/field.inp" > errors.list
"$VELTRA" batch --out s1 --list errors.list > out.txt 2>&1; st=$?
check "input errors: status 1" '[ $st -eq 1 ] && grep -q "^1,bad_case_0001,input errors,1," s1/summary.csv'
check "input errors: Error.lst in its folder, nothing else" '[ "$(ls s1/bad_case_0001)" = "$(printf "Error.lst\nbad_case_0001.inp")" ]'
"$VELTRA" batch --out s3 bad_case_0001.inp hm_aquifer_stop.inp a/field.inp > out.txt 2>&1; st=$?
check "stopped: status 3" '[ $st -eq 3 ] && grep -q "^2,hm_aquifer_stop,stopped,3," s3/summary.csv'
check "stopped: partial results, no run marker" '[ -f s3/hm_aquifer_stop/hm_aquifer_stop.res ] && [ ! -e s3/hm_aquifer_stop/hm_aquifer_stop.trf ]'
printf 'just text\r\n' > junk.inp
"$VELTRA" batch -j 3 --out s2 missing.inp hm_aquifer_stop.inp junk.inp bad_case_0001.inp a/field.inp > out.txt 2>&1; st=$?
check "failed: status 2" '[ $st -eq 2 ]'
check "failed: each failure its own row, with why" \
  'grep -q "^1,missing,failed,2,.*missing.inp" s2/summary.csv && grep -q "^3,junk,failed,2,.*junk.inp" s2/summary.csv'
check "failed: the other cases ran" \
  'grep -q "^5,field,ok,0," s2/summary.csv && [ -f s2/field/field.trf ] && grep -q "^2,hm_aquifer_stop,stopped,3," s2/summary.csv'

# Shards: each runs every N-th case into the shared folder; joined, they are the whole.
cp "$SRC/examples/wells.inp" .
"$VELTRA" batch --out whole a/field.inp wells.inp hm_aquifer_stop.inp > /dev/null 2>&1
for k in 0 1; do "$VELTRA" batch --shard $k/2 --out parts a/field.inp wells.inp hm_aquifer_stop.inp > /dev/null 2>&1; done
check "shards: their own summaries" '[ -f parts/summary-0-of-2.csv ] && [ -f parts/summary-1-of-2.csv ] && [ ! -e parts/summary.csv ]'
check "shards: shard 1 ran case 2 only" '[ "$(tail -n +2 parts/summary-1-of-2.csv | cut -d, -f1,2)" = "2,wells" ]'
"$VELTRA" summary parts > out.txt 2>&1; st=$?
check "summary: status 0, joined into the whole" '[ $st -eq 0 ] && cmp -s parts/summary.csv whole/summary.csv'
all_same() { local c; for c in "$@"; do same_files "parts/$c" "whole/$c" || return 1; done; }
check "shards: every case folder as in the whole" 'all_same field wells hm_aquifer_stop'

# Refusals before anything runs.
"$VELTRA" batch --out none > out.txt 2> err.txt; st=$?
check "no input: status 2" '[ $st -eq 2 ] && [ -s err.txt ] && [ ! -e none ]'
"$VELTRA" batch --shard 2/2 --out none a/field.inp > out.txt 2> err.txt; st=$?
check "shard out of range: status 2" '[ $st -eq 2 ] && grep -q "K/N" err.txt && [ ! -e none ]'
"$VELTRA" batch -j 0 --out none a/field.inp > out.txt 2> err.txt; st=$?
check "-j 0: status 2" '[ $st -eq 2 ] && [ ! -e none ]'
printf 'x' > afile
"$VELTRA" batch --out afile a/field.inp > out.txt 2> err.txt; st=$?
check "output folder is a file: status 2" '[ $st -eq 2 ] && grep -q "afile" err.txt'
"$VELTRA" batch --out afile/below a/field.inp > out.txt 2> err.txt; st=$?
check "output folder below a file: status 2" '[ $st -eq 2 ] && grep -q "could not be created" err.txt'
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
  echo "FAIL: running as root without setpriv: the read-only folder cannot be tested"
  fails=$((fails + 1))
fi

[ $fails -eq 0 ] && echo "batch: all checks passed"
exit $((fails > 0)) # a count could wrap to 0
