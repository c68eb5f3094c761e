#!/usr/bin/env bash
# veltra chart: pictures of 762 x 486 from a result file and from group files,
# their colours and geometry, and the refusals with their exit statuses.
set -u
veltra=$1
ref=${VELTRA_REFERENCE_DIR:-$2/../shared/reference}/field
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
check() { # description, command...
    local what=$1; shift
    if ! "$@"; then echo "FAIL: $what"; fail=1; fi
}

# Every option with data gives a PNG of the picture's size.
for n in 1 2 4 5 6 7 8 9 10 11 12; do
    "$veltra" chart "$ref/field.res" "$n" -o "$work/g$n.png" >/dev/null 2>"$work/err"
    check "option $n exits 0 ($(cat "$work/err"))" test $? -eq 0
done
check "PNG headers" python3 - "$work" <<'PY'
import struct, sys, glob
files = glob.glob(sys.argv[1] + "/g*.png")
assert len(files) == 11, files
for f in files:
    d = open(f, "rb").read()
    assert d[:8] == b"\x89PNG\r\n\x1a\n", f
    assert d[12:16] == b"IHDR" and struct.unpack(">II", d[16:24]) == (762, 486), f
PY

# Bitmaps: the water-table chart from the result file and from its group file.
"$veltra" chart "$ref/field.res" 5 -o "$work/dw.bmp" >/dev/null 2>&1
check "Dw bitmap from the result file" test $? -eq 0
"$veltra" chart "$ref/group_05.prn" -o "$work/dw_prn.bmp" >/dev/null 2>&1
check "Dw bitmap from the group file" test $? -eq 0
"$veltra" chart "$ref/field.res" 5 -o "$work/dw_again.bmp" >/dev/null 2>&1
check "the same chart twice gives the same picture" cmp -s "$work/dw.bmp" "$work/dw_again.bmp"
check "bitmap size, colours and geometry" python3 - "$work/dw.bmp" "$work/dw_prn.bmp" <<'PY'
import struct, sys
def load(path):
    d = open(path, "rb").read()
    assert d[:2] == b"BM", path
    off, = struct.unpack("<I", d[10:14])
    w, h, planes, bits = struct.unpack("<iiHH", d[18:30])
    assert (w, h, bits) == (762, 486, 24), (path, w, h, bits)
    row = (w * 3 + 3) // 4 * 4
    def px(x, y):  # rows are stored bottom-up, BGR
        i = off + (h - 1 - y) * row + 3 * x
        return (d[i + 2], d[i + 1], d[i])
    return px
for path in sys.argv[1:]:
    px = load(path)
    assert px(5, 480) == (255, 255, 255), path          # background
    assert px(70, 200) == (0, 0, 255), path             # value axis
    assert px(400, 370) == (0, 0, 255), path            # time axis
    # Water table 0.8 .. 1.27 m deep: axis -2 .. 0, bars hang from the level 0 at y = 70,
    # season 1 olive, season 2 silver, never below -1.27 (y = 261).
    colours = {px(x, 100) for x in range(120, 660)}
    assert colours == {(128, 128, 0), (192, 192, 192)}, (path, colours)
    assert px(400, 300) == (255, 255, 255), path
PY

# Refusals: no data (exit 1, message on stderr, no picture); unreadable input (exit 2).
"$veltra" chart "$ref/field.res" 3 -o "$work/zs.png" >/dev/null 2>"$work/err"
check "Zs of a run without ponding is refused with 1" test $? -eq 1
check "refusal message" grep -qx "No data present. Graph is not made" "$work/err"
check "no picture after a refusal" test ! -e "$work/zs.png"
"$veltra" chart "$work/missing.res" 1 -o "$work/m.png" >/dev/null 2>&1
check "a missing result file exits 2" test $? -eq 2
printf 'just text\r\n' >"$work/plain.prn"
"$veltra" chart "$work/plain.prn" -o "$work/p.png" >/dev/null 2>&1
check "a text that is no group file exits 2" test $? -eq 2
"$veltra" chart "$ref/field.res" 1 -o "$work/g.jpg" >/dev/null 2>&1
check "an unknown picture type exits 2" test $? -eq 2

exit $fail
