# veltra chart finds its canvas module beside the program (the build tree) or in
# ../lib/veltra/ (an installation), draws the same picture from either, and says
# which files it looked for when there is none; the other commands never need it.
# Usage: bash canvas_module.sh VELTRA CANVAS_MODULE SOURCE_DIR
set -u
VELTRA=$(realpath "$1")
MODULE=$(realpath "$2")
SRC=$(realpath "$3")
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
export QT_QPA_PLATFORM=offscreen
cd "$T"
name=$(basename "$MODULE")

mkdir -p alone/bin inst/bin inst/lib/veltra
cp "$VELTRA" alone/bin/veltra
cp "$VELTRA" inst/bin/veltra
cp "$MODULE" inst/lib/veltra/

cp "$SRC/examples/field.inp" .
"$VELTRA" run field.inp > /dev/null 2>&1 || fail "the example does not run"
"$VELTRA" chart field.res 5 -o build.bmp > out.txt 2> err.txt || fail "chart from the build tree: $(cat err.txt)"

# Without the module: every other command works, chart names the files it looked for.
alone/bin/veltra table field.res 5 > /dev/null 2>&1 || fail "table needs the canvas module"
alone/bin/veltra check field.inp > /dev/null 2>&1 || fail "check needs the canvas module"
alone/bin/veltra chart field.res 5 -o alone.bmp > out.txt 2> err.txt; st=$?
want="veltra chart: charts need the module $name, which is neither at $T/alone/bin/$name nor at $T/alone/lib/veltra/$name"
[ $st -eq 2 ] || fail "chart without the module: status $st"
[ "$(cat err.txt)" = "$want" ] || fail "chart without the module says: $(cat err.txt)"
[ ! -s out.txt ] && [ ! -e alone.bmp ] || fail "chart without the module wrote something"

# A file in the module's place that is no module: named, with the loader's reason.
echo "not a module" > "alone/bin/$name"
alone/bin/veltra chart field.res 5 -o alone.bmp > out.txt 2> err.txt; st=$?
[ $st -eq 2 ] && grep -qF "veltra chart: the chart module $T/alone/bin/$name could not be loaded: " err.txt ||
  fail "a broken module: status $st, $(cat err.txt)"

# Installed: bin/veltra with lib/veltra/ beside bin/, the same picture and message.
inst/bin/veltra chart field.res 5 -o inst.bmp > out.txt 2> err.txt; st=$?
[ $st -eq 0 ] || fail "installed chart: status $st, $(cat err.txt)"
cmp -s inst.bmp build.bmp || fail "the installed module draws another picture"
[ "$(cat out.txt)" = "The graph was saved in  inst.bmp" ] || fail "installed chart says: $(cat out.txt)"

[ $fails -eq 0 ] && echo "canvas module: all passed"
exit $fails
