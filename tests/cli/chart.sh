#!/usr/bin/env bash
# veltra chart: pictures of 762 x 486 from a result file and from a group file,
# their colours and geometry, and the refusals with their exit statuses.
# Usage: bash chart.sh VELTRA SOURCE_DIR
. "$(dirname "$0")/lib.bash"
ref=$REF/field
expect_status() { # status, description, veltra arguments...
  local want=$1 what=$2; shift 2
  "$VELTRA" "$@" > /dev/null 2> err.txt; local got=$?
  [ "$got" -eq "$want" ] || fail "$what: exit $got, $(cat err.txt)"
}

for n in 1 2 4 5 6 7 8 9 10 11 12; do expect_status 0 "option $n" chart "$ref/field.res" "$n" -o "g$n.png"; done
expect_status 0 "Dw bitmap" chart "$ref/field.res" 5 -o dw.bmp
expect_status 0 "Dw bitmap from the group file" chart "$ref/group_05.prn" -o dw_prn.bmp
expect_status 0 "Dw bitmap again" chart "$ref/field.res" 5 -o dw_again.bmp
cmp -s dw.bmp dw_again.bmp || fail "the same chart twice differs"
python3 - "$T" <<'PY' || fail "pictures"
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

expect_status 1 "Zs of a run without ponding is refused" chart "$ref/field.res" 3 -o zs.png
check "refusal message, no picture" 'grep -qx "No data present. Graph is not made" err.txt && [ ! -e zs.png ]'
expect_status 2 "a missing result file" chart missing.res 1 -o m.png
printf 'just text\r\n' > plain.prn
expect_status 2 "a text that is no group file" chart plain.prn -o p.png
expect_status 2 "an unknown picture type" chart "$ref/field.res" 1 -o g.jpg
finish
