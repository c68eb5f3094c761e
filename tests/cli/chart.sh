#!/usr/bin/env bash
# veltra chart: pictures of 762 x 486 from a result file and from a group file,
# their colours and geometry, the same axis from either, the drawing as SVG and
# PDF, and the refusals with their exit statuses.
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
for n in 1 4; do
  expect_status 0 "option $n from the result file" chart "$ref/field.res" "$n" -o "res$n.bmp"
  expect_status 0 "option $n from its group file" chart "$ref/group_0$n.prn" -o "prn$n.bmp"
done
expect_status 0 "SVG" chart "$ref/field.res" 4 -o g4.svg
expect_status 0 "PDF" chart "$ref/group_05.prn" -o dw.PDF
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
    # Water table 0.8 .. 1.27 m deep on the axis -2 .. 0: bars hang from y = 70, by
    # season, from the start of year 0 to the end of year 10 and no further.
    assert {px(x, 100) for x in range(71, 670)} == {(128, 128, 0), (192, 192, 192)}, f
    assert px(71, 100) == (128, 128, 0) and px(669, 100) == (192, 192, 192), f
    assert {px(x, 100) for x in range(671, 762)} == {(255, 255, 255)}, f

# A result file and its group file: the same axes, ticks, labels and curves; only
# the footer, which names the file, differs.
def rows(f):
    d = open(f, "rb").read()
    off, = struct.unpack("<I", d[10:14])
    return [d[off + (485 - y) * 2288: off + (486 - y) * 2288] for y in range(486)]
for n in (1, 4, 5):
    res, prn = (work + "/dw.bmp", work + "/dw_prn.bmp") if n == 5 else (work + f"/res{n}.bmp", work + f"/prn{n}.bmp")
    a, b = rows(res), rows(prn)
    assert a[:410] == b[:410], f"option {n}: the group file gives another chart"
    assert a != b, f"option {n}: no footer of its own"

# The drawing as vectors: an SVG of 762 x 486 units with its texts, a PDF page.
svg = open(work + "/g4.svg", encoding="utf-8").read()
assert svg.startswith("<?xml") and "<svg" in svg and 'viewBox="0 0 762 486"' in svg, svg[:200]
assert "Ga*1000" in svg and "Veltra: field.res" in svg
pdf = open(work + "/dw.PDF", "rb").read()
assert pdf.startswith(b"%PDF-") and b"%%EOF" in pdf[-64:], pdf[:20]
PY

expect_status 1 "Zs of a run without ponding is refused" chart "$ref/field.res" 3 -o zs.png
check "refusal message, no picture" 'grep -qx "No data present. Graph is not made" err.txt && [ ! -e zs.png ]'
expect_status 2 "a missing result file" chart missing.res 1 -o m.png
printf 'just text\r\n' > plain.prn
expect_status 2 "a text that is no group file" chart plain.prn -o p.png
expect_status 2 "an unknown picture type" chart "$ref/field.res" 1 -o g.jpg
check "the picture types named, after the command's name" \
  'grep -qxF "veltra chart: the picture file must end in .bmp, .png, .svg or .pdf: g.jpg" err.txt'
[ ! -e g.jpg ] || fail "g.jpg written"
finish
