# Files never lie at the command line. No command writes over a file it reads,
# nor replaces year files unasked; every command reads exactly the file it is
# given, within a size limit, and says so when it is a folder; a write that fails
# (a full device, standard output lost, a read-only folder) is status 2 and leaves
# no part of a file and the earlier files whole; links are followed, devices and
# pipes written through; a result file with a record doubled is refused, a stopped
# run's read as it stands.
# Usage: bash files.sh VELTRA SOURCE_DIR
. "$(dirname "$0")/lib.bash"
no_raw() { ! grep -q -e "basic_filebuf" -e "internal error" -e "filesystem error" -e "terminate" "$1"; }

# --- An output over an input: status 2, named, nothing written or changed.
mkdir -p "$T/over" && cd "$T/over"
cp "$REF/field/field.res" "$REF/field/field.frq" .
# Each output of a run (result, frequency, run marker) named as its input.
for ext in res frq trf; do
  cp "$F" case.$ext
  "$VELTRA" run case.$ext > out.txt 2> err.txt; st=$?
  check "run over its input .$ext: status 2" '[ $st -eq 2 ] && grep -qF "\"$T/over/case.$ext\" is the input file" err.txt'
  check "run over its input .$ext: nothing changed" 'cmp -s case.$ext "$F" && [ "$(ls case.*)" = "case.$ext" ] && [ ! -e warning.lst ]'
  rm case.$ext
done
"$VELTRA" table field.res 1 --prn field.res > out.txt 2> err.txt; st=$?
check "table --prn over its input: status 2, nothing printed" '[ $st -eq 2 ] && [ ! -s out.txt ] && cmp -s field.res "$REF/field/field.res"'
"$VELTRA" table field.res 1 --csv ./field.res > /dev/null 2>&1; st=$?
check "table --csv over its input: status 2" '[ $st -eq 2 ] && cmp -s field.res "$REF/field/field.res"'
"$VELTRA" table field.res 13 --prn field.frq > /dev/null 2>&1; st=$?
check "table 13 --prn over the frequency file it reads: status 2" '[ $st -eq 2 ] && cmp -s field.frq "$REF/field/field.frq"'
ln -s field.res link.prn
"$VELTRA" table field.res 2 --prn link.prn > /dev/null 2>&1; st=$?
check "table --prn through a link to its input: status 2" '[ $st -eq 2 ] && cmp -s field.res "$REF/field/field.res"'
"$VELTRA" table field.res 2 --prn same.txt --csv same.txt > /dev/null 2>&1; st=$?
check "--prn and --csv to one file: status 2" '[ $st -eq 2 ] && [ ! -e same.txt ]'
cp field.res pic.png
"$VELTRA" chart pic.png 5 -o pic.png > /dev/null 2>&1; st=$?
check "chart over its input: status 2" '[ $st -eq 2 ] && cmp -s pic.png field.res'
cp "$F" Error.lst
"$VELTRA" check Error.lst > /dev/null 2>&1; st=$?
check "check over its input: status 2" '[ $st -eq 2 ] && cmp -s Error.lst "$F"'

# --- Year files of a series are not replaced without --force (status 1, named).
mkdir -p "$T/years" && cd "$T/years"
cp "$REF/gen_case_0009/gen_case_0009.inp" g.inp   # Ky = 1, Ny = 4
echo mine > g3.inp; echo mine > g4.inp
"$VELTRA" series g.inp > out.txt 2> err.txt; st=$?
check "series: existing year files refused, status 1" '[ $st -eq 1 ] && [ "$(grep -c "already exists; use --force to overwrite it." err.txt)" -eq 2 ] && grep -qF "\"$T/years/g4.inp\"" err.txt'
check "series: nothing run, nothing written" '[ "$(cat g3.inp g4.inp)" = "$(printf "mine\nmine")" ] && [ ! -e g2.inp ] && [ ! -e g.res ]'
"$VELTRA" series g.inp --force > out.txt 2> err.txt; st=$?
check "series --force: replaced" '[ $st -eq 0 ] && cmp -s g3.inp g2.inp && cmp -s g4.inp g2.inp && [ -s g.res ]'

# --- The file named is read, whatever its extension; a folder says so; sizes are bounded.
mkdir -p "$T/read" && cd "$T/read"
cp "$F" field.txt
sed 's/^        7.0     5.0/        6.0     5.0/' "$F" > field.inp   # another field.inp beside it
"$VELTRA" convert field.txt out.inp; st=$?
check "convert reads the file named" '[ $st -eq 0 ] && cmp -s out.inp "$F"'
"$VELTRA" check field.txt > /dev/null; st=$?
check "check reads the file named" '[ $st -eq 0 ]'
"$VELTRA" run field.txt > /dev/null; st=$?
check "run reads the file named" '[ $st -eq 0 ] && [ -s field.res ]'
cp field.res other.txt
"$VELTRA" table other.txt 5 > out.txt; st=$?
check "table reads the result file named" '[ $st -eq 0 ] && grep -qF "Data from: $T/read/other.txt" out.txt'
mkdir folder.inp folder.res folder.prn
for args in "check folder.inp" "convert folder.inp x.inp" "run folder.inp" "series folder.inp" \
            "table folder.res 1" "table folder.prn" "chart folder.res 1 -o x.png" "chart folder.prn -o x.png"; do
  "$VELTRA" $args > out.txt 2> err.txt; st=$?
  check "$args: status 2, a folder" '[ $st -eq 2 ] && grep -qF "\"$T/read/folder." err.txt && grep -q "is a folder, not a file." err.txt && no_raw err.txt'
done
"$VELTRA" convert field.txt folder.inp > /dev/null 2> err.txt; st=$?
check "convert onto a folder: status 2, a folder" '[ $st -eq 2 ] && grep -q "is a folder, not a file." err.txt && [ -z "$(ls folder.inp)" ]'
mkdir gone
(cd gone && rmdir ../gone && "$VELTRA" check "$F" > ../out.txt 2> ../err.txt); st=$?
check "a current folder removed: status 2, said plainly" '[ $st -eq 2 ] && grep -q "could not be used" err.txt && no_raw err.txt'
"$VELTRA" run /dev/zero > out.txt 2> err.txt; st=$?
check "run /dev/zero: status 2, too large" '[ $st -eq 2 ] && grep -qF "\"/dev/zero\" is too large for an input file (more than 1 MB)." err.txt'
truncate -s 65M big.res; truncate -s 65M big.prn
for kind in result group; do
  [ $kind = result ] && args="big.res 1" || args=big.prn
  "$VELTRA" table $args > out.txt 2> err.txt; st=$?
  check "a $kind file above 64 MB: status 2" '[ $st -eq 2 ] && grep -q "too large for a $kind file (more than 64 MB)" err.txt'
done

# --- Standard output lost: status 2, said on standard error, and no file after it.
cd "$T/over"
for args in "check $F" "table field.res 1" "table field.res 13" "--help" "--version" "chart --help"; do
  "$VELTRA" $args > /dev/full 2> err.txt; st=$?
  check "$args > /dev/full: status 2" '[ $st -eq 2 ] && grep -q "The standard output could not be written.$" err.txt'
done
"$VELTRA" table field.res 4 --prn lost.prn --csv lost.csv > /dev/full 2> err.txt; st=$?
check "table > /dev/full: status 2, no group file" '[ $st -eq 2 ] && [ ! -e lost.prn ] && [ ! -e lost.csv ]'
"$VELTRA" check "$REF/bad_case_0001/bad_case_0001.inp" > /dev/full 2> err.txt; st=$?
check "input errors > /dev/full: status 2" '[ $st -eq 2 ] && grep -q "standard output" err.txt'

# --- Links followed, devices and pipes written through, a full device a failure.
# Devices are reached through links in the scratch folder: a writer that replaced
# what it is given would then replace the link, never a device of the machine.
mkdir -p "$T/special" && cd "$T/special"
cp "$SRC/examples/wells.inp" wells.inp
echo old > target.inp; ln -s target.inp link.inp
"$VELTRA" convert wells.inp link.inp; st=$?
check "convert onto a link: the target replaced, the link kept" '[ $st -eq 0 ] && [ -L link.inp ] && cmp -s target.inp wells.inp'
# A full device of the test's own where one can be made (as root, who could also replace
# the machine's /dev/full were the writer wrong), else a link to the machine's.
mknod full.inp c 1 7 2> /dev/null || ln -s /dev/full full.inp
ln -s /proc/self/fd/1 stdout.inp
"$VELTRA" convert wells.inp full.inp 2> err.txt; st=$?
check "convert onto a full device: status 2" '[ $st -eq 2 ] && { [ -L full.inp ] || [ -c full.inp ]; } && grep -qF "full.inp" err.txt'
"$VELTRA" convert wells.inp stdout.inp > stdout.txt; st=$?
check "convert onto standard output: written through" '[ $st -eq 0 ] && [ -L stdout.inp ] && cmp -s stdout.txt wells.inp'
mknod full.png c 1 7 2> /dev/null || ln -s /dev/full full.png
"$VELTRA" chart "$REF/field/field.res" 5 -o full.png > out.txt 2> err.txt; st=$?
check "chart onto a full device: status 2, not saved" '[ $st -eq 2 ] && ! grep -q "saved" out.txt && { [ -L full.png ] || [ -c full.png ]; }'
mknod full.bmp c 1 7 2> /dev/null || ln -s /dev/full full.bmp
"$VELTRA" chart "$REF/field/group_05.prn" -o full.bmp > out.txt 2> err.txt; st=$?
check "bitmap onto a full device: status 2" '[ $st -eq 2 ] && { [ -L full.bmp ] || [ -c full.bmp ]; }'

# --- A read-only folder, as a user who cannot write there (root writes anywhere).
# The program is copied where that user can reach it; the results of an earlier
# run stay as they were, and nothing else appears.
mkdir -p "$T/ro/bin" "$T/ro/data"
chmod 755 "$T" "$T/ro" "$T/ro/bin"
cp "$VELTRA" "$(dirname "$VELTRA")/veltra_canvas.so" "$T/ro/bin/"
cp "$F" "$T/ro/data/field.inp"
(cd "$T/ro/data" && "$T/ro/bin/veltra" run field.inp > /dev/null)
if [ "$(id -u)" -eq 0 ]; then AS="setpriv --reuid=nobody --regid=nogroup --clear-groups"; else AS=""; fi
chmod 555 "$T/ro/data"
before=$(cd "$T/ro/data" && ls -la --time-style=+ && md5sum *)
for args in "run field.inp" "check field.inp" "convert field.inp out.inp" "example --force ." "table field.res 1 --prn g.prn" \
            "table field.res 1 --csv g.csv" "chart field.res 5 -o g.png"; do
  (cd "$T/ro/data" && $AS env HOME=/ "$T/ro/bin/veltra" $args > /dev/null 2> "$T/ro/err.txt"); st=$?
  check "read-only folder, $args: status 2" '[ $st -eq 2 ] && [ -s "$T/ro/err.txt" ] && no_raw "$T/ro/err.txt"'
  check "read-only folder, $args: nothing changed" '[ "$(cd "$T/ro/data" && ls -la --time-style=+ && md5sum *)" = "$before" ]'
done
chmod 755 "$T/ro/data"

# --- A file without write permission for its owner is never replaced, root
# included: each command names it (status 2) and leaves every file as it was.
mkdir -p "$T/protect" && cd "$T/protect"
cp "$F" field.inp; "$VELTRA" run field.inp > /dev/null
cp "$REF/gen_case_0009/gen_case_0009.inp" g.inp   # Ky = 1, Ny = 4
"$VELTRA" table field.res 1 --prn g.prn --csv g.csv > /dev/null; "$VELTRA" chart field.res 5 -o g.png > /dev/null
cp field.inp copy.inp; echo mine > g2.inp
# PROTECTED FILE | veltra arguments
while IFS='|' read -r file args; do
  chmod 444 "$file"
  before=$(ls -l --time-style=+%s.%N && md5sum ./*)
  "$VELTRA" $args > ../out.txt 2> ../err.txt; st=$?
  check "$args, $file read-only: status 2, named" '[ $st -eq 2 ] && grep -qF "$file\" is read-only" ../err.txt && no_raw ../err.txt'
  check "$args, $file read-only: nothing changed" '[ "$(ls -l --time-style=+%s.%N && md5sum ./*)" = "$before" ]'
  chmod 644 "$file"
done <<'TABLE'
field.res|run field.inp
field.frq|run field.inp
field.trf|run field.inp
warning.lst|run field.inp
g2.inp|series g.inp --force
copy.inp|convert field.inp copy.inp
field.inp|convert field.inp field.inp
g.prn|table field.res 1 --prn g.prn
g.csv|table field.res 4 --csv g.csv
g.png|chart field.res 5 -o g.png
TABLE

# --- Two outputs that are one file through a link not pointing anywhere yet.
mkdir -p "$T/linked" && cd "$T/linked"
cp "$F" field.inp; ln -s field.res field.frq
"$VELTRA" run field.inp > out.txt 2> err.txt; st=$?
check "run with field.frq -> field.res: status 2, nothing written" \
  '[ $st -eq 2 ] && grep -qF "\"$T/linked/field.res\" and \"$T/linked/field.frq\" are one file" err.txt && [ ! -e field.res ] && [ ! -e warning.lst ]'
ln -s a.prn b.csv
"$VELTRA" table "$REF/field/field.res" 4 --prn a.prn --csv b.csv > out.txt 2> err.txt; st=$?
check "--csv b.csv -> a.prn: status 2, nothing written" '[ $st -eq 2 ] && grep -q "are one file" err.txt && [ ! -e a.prn ]'

# --- A damaged frequency file is refused as a damaged result file is, naming the line.
mkdir -p "$T/frq" && cd "$T/frq"
Q=$REF/field/field.frq
cp "$REF/field/field.res" field.res
# DAMAGE | the message after "field.frq", line
while IFS='|' read -r damage want; do
  case $damage in
    "cut at a line end") head -n 30 "$Q" > field.frq ;;
    "cut inside a line") head -c 2000 "$Q" > field.frq ;;
    "title changed") sed '1s/SOIL/SOLE/' "$Q" > field.frq ;;
    "a year doubled") { head -n 27 "$Q"; sed -n 16,27p "$Q"; tail -n +28 "$Q"; } > field.frq ;;
    "a year missing") { head -n 15 "$Q"; tail -n +28 "$Q"; } > field.frq ;;
  esac
  "$VELTRA" table field.res 13 > out.txt 2> err.txt; st=$?
  check "table 13 with its .frq $damage: status 2, $want" '[ $st -eq 2 ] && [ ! -s out.txt ] && grep -qF "field.frq\", line $want" err.txt'
done <<'TABLE'
cut at a line end|30: the file ends inside the table of year 2 season 1 (line 28)
cut inside a line|52: no season line where season 1 of year 4 should start
title changed|1: the title is not "FREQUENCY DISTRIBUTION OF SOIL SALINITY"
a year doubled|28: year 1 follows year 1 (a table doubled or missing)
a year missing|16: year 2 follows year 0 (a table doubled or missing)
TABLE

# --- A count of seasons outside 1..4 that derails the reader is named as such.
mkdir -p "$T/seasons" && cd "$T/seasons"
for n in 5 9 255; do
  sed "6s/^        10      2 /        10      $n /" "$F" > ns$n.inp
  for cmd in check run; do
    "$VELTRA" $cmd ns$n.inp > out.txt 2> err.txt; st=$?
    check "$cmd with Ns = $n: status 2, Ns named" \
      '[ $st -eq 2 ] && [ "$(cat err.txt)" = "The file \"$T/seasons/ns$n.inp\" cannot be read: line 9: Ns is $n. Number of seasons NS must be 1, 2, 3 or 4." ]'
  done
done

# --- Result files: a doubled record refused naming the line (the other damage: the
# results tests); a stopped run's last year read as it stands.
mkdir -p "$T/res" && cd "$T/res"
R=$REF/field/field.res
year_line() { grep -n "^  YEAR:" "$R" | sed -n "$1p" | cut -d: -f1; }
s6=$(year_line 6); s7=$(year_line 7)
{ head -n $((s7 - 2)) "$R"; sed -n "$((s6 - 1)),$((s7 - 2))p" "$R"; tail -n +$((s7 - 1)) "$R"; } > doubled.res
"$VELTRA" table doubled.res 1 > out.txt 2> err.txt; st=$?
check "a doubled record: status 2, the line named" \
  '[ $st -eq 2 ] && grep -qF "doubled.res\", line $s7: year 2 season 2 follows year 2 season 2 (a record doubled or missing)" err.txt'
# A run stopped by a value out of range in season 2 of year 1.
sed 's/^        10.0    15.0    2.0 /        10.0    15.0    1e308 /' "$F" > range.inp
"$VELTRA" run range.inp > out.txt 2> err.txt; st=$?
check "value out of range: status 3" '[ $st -eq 3 ] && grep -q "out of range in year:  1, season: 2" warning.lst'
"$VELTRA" table range.res 5 > out.txt 2> err.txt; st=$?
check "its result file read as it stands" \
  '[ $st -eq 0 ] && [ "$(grep "^  [0-9]       [12]" out.txt | cut -c1-11 | tr -s " " | tr "\n" "/")" = " 0 1/ 0 2/ 1 1/" ]'

finish
