#!/usr/bin/env bash
# veltra chart: pictures of 762 x 486 from a result file and from a group file,
# their colours and geometry, and the refusals with their exit statuses.
# Usage: bash chart.sh VELTRA SOURCE_DIR
set -u
veltra=$1
ref=$(realpath "$2")/tests/data/reference/field
[ -f "$ref/field.res" ] || { echo "FAIL: no whole-run case in $ref"; exit 1; }
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
expect() { # status, description, veltra arguments...
    local want=$1 what=$2; shift 2
    "$veltra" "$@" >/dev/null 2>"$work/err"
    local got=$?
    [ "$got" -eq "$want" ] || { echo "FAIL: $what: exit $got, $(cat "$work/err")"; fail=1; }
}

for n in 1 2 4 5 6 7 8 9 10 11 12; do expect 0 "option $n" chart "$ref/field.res" "$n" -o "$work/g$n.png"; done
expect 0 "Dw bitmap" chart "$ref/field.res" 5 -o "$work/dw.bmp"
expect 0 "Dw bitmap from the group file" chart "$ref/group_05.prn" -o "$work/dw_prn.bmp"
expect 0 "Dw bitmap again" chart "$ref/field.res" 5 -o "$work/dw_again.bmp"
cmp -s "$work/dw.bmp" "$work/dw_again.bmp" || { echo "FAIL: the same chart twice differs"; fail=1; }
python3 - "$work" <<'PY' || fail=1
import glob, struct, sys
work = sys.argv[1]
pngs = glob.glob(work + "/g*.png")
assert len(pngs) == 11, pngs
for f in pngs:
    d = open(f, "rb").read()
    assert d[:8] == b"\x89PNG\r\n\x1a\n" and struct.unpack(">II", d[16:24]) == (762, 486), f
for f in (work + "/dw.bmp", work + "/dw_prn.bmp"):
    d = open(f, "rb").read()
    off, = struct.unpack("<I", d[10:14])
    assert d[:2] == b"BM" and struct.unpack("<iiHH", d[18:30]) == (762, 486, 1, 24), f
    px = lambda x, y: tuple(d[off + (485 - y) * 2288 + 3 * x + i] for i in (2, 1, 0))  # bottom-up BGR rows
    assert px(5, 480) == (255, 255, 255) and px(400, 300) == (255, 255, 255), f  # background
    assert px(70, 200) == (0, 0, 255) and px(400, 370) == (0, 0, 255), f         # axes
    # Water table 0.8 .. 1.27 m deep on the axis -2 .. 0: bars hang from y = 70, by season.
    assert {px(x, 100) for x in range(120, 660)} == {(128, 128, 0), (192, 192, 192)}, f
PY

expect 1 "Zs of a run without ponding is refused" chart "$ref/field.res" 3 -o "$work/zs.png"
grep -qx "No data present. Graph is not made" "$work/err" || { echo "FAIL: refusal message"; fail=1; }
[ ! -e "$work/zs.png" ] || { echo "FAIL: a picture after a refusal"; fail=1; }
expect 2 "a missing result file" chart "$work/missing.res" 1 -o "$work/m.png"
printf 'just text\r\n' >"$work/plain.prn"
expect 2 "a text that is no group file" chart "$work/plain.prn" -o "$work/p.png"
expect 2 "an unknown picture type" chart "$ref/field.res" 1 -o "$work/g.jpg"
exit $fail
