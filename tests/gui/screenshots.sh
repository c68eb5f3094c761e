# veltra-gui from the command line: --help, a wrong option, and --screenshots,
# which runs the bundled example through the window without a display and leaves a
# picture of every page, window and data-group panel, and the charts of a 99-year
# and a 4-season run, beside the runs' files; those files are the ones `veltra run`
# gives for the same input in the same folder.
# Usage: bash screenshots.sh VELTRA_GUI VELTRA
set -u
GUI=$1
VELTRA=$2
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$GUI" --help > "$work/help.txt" 2>&1 || fail "--help exits with $?"
grep -q -- "--screenshots DIR" "$work/help.txt" || fail "--help does not name --screenshots"
QT_QPA_PLATFORM=offscreen "$GUI" --no-such-option > /dev/null 2>&1
[ $? -eq 2 ] || fail "an unknown option does not exit with 2"

# No display: the screenshots need none, whatever the environment says.
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$GUI" --screenshots "$work/shots" > "$work/log.txt" 2>&1
status=$?
[ $status -eq 0 ] || { fail "--screenshots exits with $status"; cat "$work/log.txt"; }
groups="general-data season-durations irrigated-areas rice-cropping canal-losses irrigation-quantity climatic-data
  storage-efficiency surface-run-in-off surface-drainage ground-water pumping-wells use-well-water soil-thickness
  soil-porosity leaching-efficiency drainage-system drainage-control drainage-reuse soil-salinity water-salinity
  water-table general-data-farmers drainage-system-calculated"
shots="intro input-new input output output-group graphics figure help input-symbols output-symbols warning drain
  close calculator chart-99-years chart-4-seasons window-1366x768 window-minimum"
for g in $groups; do shots="$shots group-$g"; done
[ "$(echo $shots | wc -w)" -eq 42 ] || fail "the list of pictures is not the 42 expected"
for page in $shots; do
  png="$work/shots/$page.png"
  [ -s "$png" ] || { fail "no $page.png"; continue; }
  [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "$page.png is not a PNG"
done
grep -q "message: Calculations were done and the output is saved in $work/shots/field.res" "$work/log.txt" \
  || fail "the run's message is not in the log"
for f in field.inp field.res field.frq field.trf; do
  [ -s "$work/shots/$f" ] || fail "no $f"
done
# Saved over the opened field.inp: one input file for the data set, not a second field.INP.
[ ! -e "$work/shots/field.INP" ] || fail "field.INP written beside field.inp"
grep -q "question: The data were saved in: field.inp. Do you wish to do the calculations?" "$work/log.txt" \
  || fail "the input was not saved as field.inp"
[ ! -e "$work/shots/warning.lst" ] || fail "warning.lst left behind"
[ "$(ls "$work/shots"/*.png | wc -l)" -eq 42 ] || fail "pictures other than the expected ones: $(ls "$work/shots")"
# The charts are the chart pictures themselves, 762 x 486 (PNG width and height: bytes 17 to 24).
for chart in chart-99-years chart-4-seasons; do
  dims=$(od -An -tu1 -j16 -N8 "$work/shots/$chart.png" | awk '{print $3 * 256 + $4 "x" $7 * 256 + $8}')
  [ "$dims" = "762x486" ] || fail "$chart.png is $dims"
done
for f in years99.res wells.res; do
  [ -s "$work/shots/$f" ] || fail "no $f"
done
grep -q "message: The input file is opened." "$work/log.txt" || fail "no file was opened"
[ "$(grep -c "^open: " "$work/log.txt")" -eq 4 ] || fail "field.inp, wells.inp (twice) and years99.inp were not opened"

# The same input run by veltra in the same folder gives the same files.
mkdir "$work/window"
cp "$work/shots/field.res" "$work/shots/field.frq" "$work/shots/field.trf" "$work/window/"
(cd "$work/shots" && "$VELTRA" run field.inp > /dev/null) || fail "veltra run field.inp failed"
for f in field.res field.frq field.trf; do
  cmp -s "$work/window/$f" "$work/shots/$f" || fail "$f differs from veltra run"
done

[ $fails -eq 0 ] && echo "veltra-gui: help, options, screenshots and the run's files as veltra gives them"
exit $fails
