# What the programs and libraries carry: veltra starts without any Qt library (the
# chart's canvas module is where Qt went) and carries none of the window's logic, and
# no production library or program contains the test doubles.
# Usage: bash binaries.sh VELTRA CANVAS_MODULE LIBRARY...
set -u
VELTRA=$1
MODULE=$2
shift 2
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }

deps=$(ldd "$VELTRA") || fail "ldd cannot read $VELTRA"
echo "$deps" | grep -q "libc\.so" || fail "ldd lists no C library for $VELTRA: $deps"
qt=$(echo "$deps" | grep -i "libQt")
[ -z "$qt" ] || fail "veltra depends on Qt:
$qt"
window=$(nm -C "$VELTRA" 2>/dev/null | grep -E "TMainFormLogic|TInputEditor|TAlfaFormLogic" | head -3)
[ -z "$window" ] || fail "veltra carries the window's logic: $window"
ldd "$MODULE" | grep -q "libQt6Gui" || fail "the canvas module $MODULE does not use Qt Gui"

# The Python module, like veltra, runs without Qt and without the window's logic.
for binary in "$@"; do
  case $(basename "$binary") in
  _veltra*.so)
    ldd "$binary" | grep -qi "libQt" && fail "the Python module depends on Qt: $(ldd "$binary" | grep -i libQt)"
    window=$(nm -C "$binary" 2>/dev/null | grep -E "TMainFormLogic|TInputEditor|TAlfaFormLogic" | head -3)
    [ -z "$window" ] || fail "the Python module carries the window's logic: $window"
    ;;
  esac
done

for binary in "$VELTRA" "$MODULE" "$@"; do
  doubles=$(nm -C "$binary" 2>/dev/null | grep -E "TFakeShellOps|TRecordingCanvas" | head -3)
  [ -z "$doubles" ] || fail "$(basename "$binary") contains test doubles: $doubles"
done

[ $fails -eq 0 ] && echo "binaries: veltra without Qt, no test doubles in $(($# + 2)) binaries"
exit $fails
