#!/usr/bin/env bash
# Builds the Debian packages from a release build and tests them as they install: lintian
# finds no error in it, its fields and files are what a desktop needs, every package it
# depends on is installed on this machine, and, unpacked into a clean folder, its
# programs run from the installed paths: veltra example, run (to the reviewed results)
# and chart (with the module found from the installed layout), the window's screenshot
# run, the manual pages, the desktop entry and the file type of Veltra's input files
# (recognised by name and content; other programs' .inp files are left alone). The Python
# package python3-veltra likewise: its fields, lintian, and, unpacked beside veltra, Debian's
# python3 imports it from there and runs the example to the reviewed results.
# Usage: bash scripts/test-package.sh [BUILD_DIR]   (a configured release build; default build/release)
set -uo pipefail
SRC=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath "${1:-$SRC/build/release}")
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
# A step whose failure leaves nothing to test.
die() { echo "FAIL: $*"; exit 1; }

[ -f "$BUILD/CPackConfig.cmake" ] || die "no configured build in $BUILD"
# cpack packs what the build holds: bring it up to date first (nothing to do after a build).
cmake --build "$BUILD" -j 2 > "$T/build.log" 2>&1 || { tail -20 "$T/build.log"; die "the build failed"; }

# ------------------------------------------------------------------ the package
(cd "$BUILD" && cpack -G DEB -B "$T/out") > "$T/cpack.log" 2>&1 || { cat "$T/cpack.log"; die "cpack failed"; }
debs=("$T"/out/veltra_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || die "cpack made no veltra_*.deb: $(ls "$T/out")"
DEB=${debs[0]}
echo "package: $(basename "$DEB") ($(du -k "$DEB" | cut -f1) KiB)"

field() { dpkg-deb -f "$DEB" "$1"; }
version=$(sed -n 's/^project(Veltra VERSION \([0-9.]*\).*/\1/p' "$SRC/CMakeLists.txt")
[ "$(field Package)" = veltra ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), the project is $version"
[ "$(field Maintainer)" = "Veltra maintainers <maintainers@veltra.invalid>" ] || fail "Maintainer: $(field Maintainer)"
[ "$(dpkg-parsechangelog -l "$SRC/packaging/changelog" -S Version)" = "$version" ] ||
  fail "packaging/changelog has no entry for version $version"
# A package's Depends names each package given after its file ($1) and its name in
# messages ($2); every dependency, with its version and alternatives, is installed here
# (dpkg's own check of a dependency line against the installed packages); lintian's
# warnings are reported, its errors fail.
check_depends_and_lintian() {
  local deb=$1 name=$2 depends st
  shift 2
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "Depends: $depends"
  for p in "$@"; do
    [[ ", $depends," == *", $p "* || ", $depends," == *", $p,"* ]] || fail "$name Depends lacks $p"
  done
  dpkg-checkbuilddeps -d "$depends" /dev/null > "$T/$name-deps.log" 2>&1 ||
    fail "$name dependencies not installed on this machine: $(sed 's/.*Unmet build dependencies: //' "$T/$name-deps.log")"
  lintian --fail-on error --tag-display-limit 0 "$deb" > "$T/$name-lintian.log" 2>&1; st=$?
  grep -v "^running with root privileges" "$T/$name-lintian.log" | sed 's/^/lintian: /'
  [ $st -eq 0 ] || fail "lintian finds errors in $name (status $st)"
}
check_depends_and_lintian "$DEB" veltra libc6 libstdc++6 libnlopt0 libqt6core6 libqt6gui6 libqt6svg6 \
  libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins fonts-dejavu-core

# ------------------------------------------------------------------ installed files
R=$T/root
dpkg -x "$DEB" "$R" || die "dpkg -x failed"
U=$R/usr
for f in bin/veltra bin/veltra-gui lib/veltra/veltra_canvas.so \
         share/veltra/examples/field.inp share/veltra/examples/wells.inp \
         share/applications/veltra.desktop share/icons/hicolor/scalable/apps/veltra.svg \
         share/mime/packages/veltra.xml share/man/man1/veltra.1.gz share/man/man1/veltra-gui.1.gz \
         share/doc/veltra/copyright share/doc/veltra/changelog.gz share/doc/veltra/guide/README.md; do
  [ -f "$U/$f" ] || fail "the package lacks /usr/$f"
done
for ex in field wells; do
  cmp -s "$U/share/veltra/examples/$ex.inp" "$SRC/examples/$ex.inp" || fail "installed $ex.inp differs from examples/$ex.inp"
done
grep -q $'\r$' "$U/share/veltra/examples/field.inp" || fail "installed field.inp lost its CR LF line ends"
# PNG icons of the size their folder names: width and height are bytes 17 to 24.
for size in 16 22 24 32 48 64 128 256; do
  png=$U/share/icons/hicolor/${size}x${size}/apps/veltra.png
  [ -f "$png" ] || { fail "no ${size}x${size} icon"; continue; }
  dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3 * 256 + $4 "x" $7 * 256 + $8}')
  [ "$dims" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $dims"
done
# Programs and module: stripped, without a run path.
for f in bin/veltra bin/veltra-gui lib/veltra/veltra_canvas.so; do
  [ -f "$U/$f" ] || continue
  readelf -S --wide "$U/$f" | grep -q ' \.symtab ' && fail "/usr/$f is not stripped"
  readelf -d "$U/$f" | grep -qE 'RPATH|RUNPATH' && fail "/usr/$f has a run path: $(readelf -d "$U/$f" | grep -E 'RPATH|RUNPATH')"
done
gzip -l "$U/share/man/man1/veltra.1.gz" > /dev/null 2>&1 || fail "veltra.1.gz is not gzip"
zcat "$U/share/man/man1/veltra.1.gz" | cmp -s - "$SRC/docs/man/veltra.1" || fail "veltra.1.gz is not docs/man/veltra.1"

# ------------------------------------------------------------------ the programs, installed
export QT_QPA_PLATFORM=offscreen
mkdir -p "$T/work" && cd "$T/work"
[ "$("$U/bin/veltra" --version)" = "veltra $version" ] || fail "veltra --version: $("$U/bin/veltra" --version)"
[ "$("$U/bin/veltra-gui" --version)" = "veltra-gui $version" ] || fail "veltra-gui --version: $("$U/bin/veltra-gui" --version)"

"$U/bin/veltra" example > out.txt 2> err.txt || fail "veltra example: status $?, $(cat err.txt)"
for ex in field wells; do
  cmp -s "$ex.inp" "$SRC/examples/$ex.inp" || fail "veltra example wrote another $ex.inp"
done
"$U/bin/veltra" run field.inp > out.txt 2> err.txt; st=$?
[ $st -eq 0 ] || fail "veltra run field.inp: status $st, $(cat err.txt)"
for f in field.res field.frq field.trf warning.lst; do
  sed "s#$T/work/##g" "$f" | cmp -s - "$SRC/tests/reference/examples/field/$f" ||
    fail "the installed veltra run gives another $f than tests/reference/examples/field/$f"
done
# The chart module is found from the installed layout (../lib/veltra/ from bin/), and
# draws the picture the build tree's module draws.
"$U/bin/veltra" chart field.res 1 -o chart.png > out.txt 2> err.txt; st=$?
[ $st -eq 0 ] || fail "veltra chart: status $st, $(cat err.txt)"
[ "$(cat out.txt)" = "The graph was saved in  chart.png" ] || fail "veltra chart says: $(cat out.txt)"
mkdir -p build-tree && (cd build-tree && cp ../field.inp . && "$BUILD/veltra" run field.inp > /dev/null 2>&1 &&
  "$BUILD/veltra" chart field.res 1 -o chart.png > /dev/null 2>&1) || fail "the build tree's veltra chart failed"
cmp -s chart.png build-tree/chart.png || fail "the installed chart differs from the build tree's"
# The same chart as vectors, through the installed Qt Svg and PDF writer.
"$U/bin/veltra" chart field.res 1 -o chart.svg > /dev/null 2> err.txt || fail "veltra chart -o chart.svg: $(cat err.txt)"
"$U/bin/veltra" chart field.res 1 -o chart.pdf > /dev/null 2> err.txt || fail "veltra chart -o chart.pdf: $(cat err.txt)"
head -c 5 chart.svg | grep -q '^<?xml' && grep -q '<svg' chart.svg || fail "chart.svg is no SVG"
[ "$(head -c 5 chart.pdf)" = "%PDF-" ] || fail "chart.pdf is no PDF"

"$U/bin/veltra-gui" --screenshots "$T/shots" > shots.txt 2> err.txt; st=$?
[ $st -eq 0 ] || fail "veltra-gui --screenshots: status $st, $(cat shots.txt err.txt)"
for p in intro input output output-group graphics figure; do
  [ -s "$T/shots/$p.png" ] || fail "veltra-gui --screenshots made no $p.png"
done

# Manual pages: rendered by man without a warning; veltra-gui's names every option
# of veltra-gui --help.
for page in veltra veltra-gui; do
  MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -P cat -l "$U/share/man/man1/$page.1.gz" > man.txt 2> err.txt ||
    fail "man -l $page.1.gz: status $?"
  [ ! -s err.txt ] || fail "man -l $page.1.gz warns: $(head -3 err.txt)"
  grep -q "^NAME" man.txt && grep -qi "^$page(1)" man.txt || fail "man -l $page.1.gz shows no $page(1) page"
done
for opt in $("$U/bin/veltra-gui" --help | grep -oE -- '--[a-z-]+' | sort -u); do
  zcat "$U/share/man/man1/veltra-gui.1.gz" | grep -qF -- "\\fB${opt//-/\\-}\\fR" ||
    zcat "$U/share/man/man1/veltra-gui.1.gz" | grep -qxF -- ".B ${opt//-/\\-}" ||
    fail "veltra-gui.1 does not name $opt"
done

# ------------------------------------------------------------------ desktop entry and file type
desktop-file-validate "$U/share/applications/veltra.desktop" > err.txt 2>&1 ||
  fail "desktop-file-validate: $(cat err.txt)"
sed 's/^/desktop-file-validate: /' err.txt
entry() { sed -n "s/^$1=//p" "$U/share/applications/veltra.desktop"; }
[ "$(entry Exec)" = "veltra-gui %f" ] || fail "Exec=$(entry Exec)"
[ "$(entry Categories)" = "Science;Education;" ] || fail "Categories=$(entry Categories)"
[ "$(entry Icon)" = veltra ] || fail "Icon=$(entry Icon)"
mime=$(sed -n 's/.*<mime-type type="\([^"]*veltra[^"]*\)".*/\1/p' "$U/share/mime/packages/veltra.xml")
[ -n "$mime" ] && [ "$(entry MimeType)" = "$mime;" ] || fail "MimeType=$(entry MimeType), the package's type is '$mime'"

# The installed data folder as the desktop sees it, over a private copy of the system's
# base types (so that other packages installed on this machine change no answer), and
# once more beside another program that names its inputs .inp too (as GAMESS does, with
# a content rule of its own).
export XDG_DATA_HOME=$T/nohome
base=$T/base/share other=$T/other/share
mkdir -p "$base/mime/packages" "$other/mime/packages"
cp /usr/share/mime/packages/freedesktop.org.xml "$base/mime/packages/" || fail "no freedesktop.org.xml"
cat > "$other/mime/packages/other.xml" << 'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="chemical/x-other-input">
    <comment>another program's input</comment>
    <sub-class-of type="text/plain"/>
    <glob pattern="*.inp"/>
    <magic priority="80"><match type="string" value="$CONTRL" offset="0:80"/></magic>
  </mime-type>
</mime-info>
EOF
for d in "$U/share" "$base" "$other"; do
  XDG_DATA_DIRS=$d update-mime-database "$d/mime" || fail "update-mime-database $d/mime"
done
update-desktop-database "$U/share/applications" || fail "update-desktop-database"
# type_in DATA_DIRS FILE: the type gio gives FILE with those data folders.
type_in() { XDG_DATA_DIRS=$1 gio info -a standard::content-type "$2" 2> /dev/null | sed -n 's/^ *standard::content-type: //p'; }
mkdir -p types && cd types
cp ../field.inp field.inp
cp ../wells.inp WELLS.INP                         # the window saves with .INP
cp ../field.inp field2.inp                        # a year file of a series
cp ../field.inp Field                             # no extension: content alone
cp ../field.inp field.txt                         # another extension keeps its type
{ printf '\r\n\r\n'; tail -n +3 ../field.inp; } > untitled.inp  # empty title lines
# The older area-wise layout: "Ns" after Area in the group-1 label line.
sed '3s/Area    Kd      Kp/Area    Ns      Kd/' ../field.inp > old.inp
# Other programs' .inp files: quantum chemistry, a water network, finite elements, and
# files that mention the words but not as Veltra's label line does.
printf ' $CONTRL SCFTYP=RHF RUNTYP=ENERGY $END\n $DATA\nWater\nC1\n $END\n' > gamess.inp
printf '[TITLE]\r\nNetwork 1\r\n\r\n[JUNCTIONS]\r\n;ID  Elev  Demand\r\n 10  710  0\r\n' > epanet.inp
printf '*Heading\n** Area of the plate\n*Node\n1, 0.0, 0.0\n' > abaqus.inp
printf 'Title\r\nTitle 2\r\n1. Area Kd Kp Kf Kr Krf\r\n100 1 0 0 4 0\r\n' > spaced.inp
printf 'Title\r\nArea    Kd\r\n' > short.inp
printf '\000\001\002\003\200\377\376\020%.0s' {1..32} > binary.inp
: > empty.inp
ours=$U/share:$base
beside=$U/share:$other:$base
for f in field.inp WELLS.INP field2.inp Field untitled.inp old.inp; do
  for dirs in "$ours" "$beside"; do
    [ "$(type_in "$dirs" "$f")" = "$mime" ] || fail "$f is $(type_in "$dirs" "$f"), not $mime (data folders $dirs)"
  done
done
for f in field.txt gamess.inp epanet.inp abaqus.inp spaced.inp short.inp binary.inp empty.inp; do
  for dirs in "$ours" "$beside"; do
    t=$(type_in "$dirs" "$f")
    [ -n "$t" ] || fail "gio gives no type for $f (data folders $dirs)"
    [ "$t" != "$mime" ] || fail "$f is taken for a Veltra input (data folders $dirs)"
  done
done
# Text files keep the type they have without Veltra; the other program keeps its own.
for f in field.txt gamess.inp epanet.inp abaqus.inp spaced.inp short.inp; do
  [ "$(type_in "$ours" "$f")" = "$(type_in "$base" "$f")" ] ||
    fail "$f is $(type_in "$ours" "$f") with Veltra, $(type_in "$base" "$f") without"
done
[ "$(type_in "$ours" epanet.inp)" = text/plain ] || fail "epanet.inp is $(type_in "$ours" epanet.inp), not text/plain"
[ "$(type_in "$beside" gamess.inp)" = chemical/x-other-input ] ||
  fail "the other program's gamess.inp is $(type_in "$beside" gamess.inp) beside Veltra"
# The menu shows the entry only when its TryExec program is on the path.
PATH=$U/bin:$PATH XDG_DATA_DIRS=$ours gio mime "$mime" > mime.txt 2>&1
grep -q "veltra.desktop" mime.txt || fail "no application opens $mime: $(cat mime.txt)"

# ------------------------------------------------------------------ python3-veltra
cd "$T"
pydebs=("$T"/out/python3-veltra_*.deb)
[ ${#pydebs[@]} -eq 1 ] && [ -f "${pydebs[0]}" ] || die "cpack made no python3-veltra_*.deb: $(ls "$T/out")"
PYDEB=${pydebs[0]}
echo "package: $(basename "$PYDEB") ($(du -k "$PYDEB" | cut -f1) KiB)"
pyfield() { dpkg-deb -f "$PYDEB" "$1"; }
[ "$(pyfield Package)" = python3-veltra ] || fail "Package: $(pyfield Package)"
[ "$(pyfield Version)" = "$version" ] || fail "python3-veltra Version: $(pyfield Version), the project is $version"
[ "$(pyfield Section)" = python ] || fail "python3-veltra Section: $(pyfield Section)"
check_depends_and_lintian "$PYDEB" python3-veltra python3 python3-pandas libc6 libstdc++6
dpkg-deb -c "$DEB" | grep -q "dist-packages" && fail "the veltra package holds the Python package"
dpkg -x "$PYDEB" "$R" || die "dpkg -x python3-veltra failed"
P=$U/lib/python3/dist-packages/veltra
for f in __init__.py __init__.pyi py.typed; do
  [ -f "$P/$f" ] || fail "python3-veltra lacks /usr/lib/python3/dist-packages/veltra/$f"
done
[ -f "$U/share/doc/python3-veltra/copyright" ] || fail "python3-veltra lacks its copyright file"
mods=("$P"/_veltra.cpython-*.so)
if [ -f "${mods[0]}" ]; then
  readelf -S --wide "${mods[0]}" | grep -q ' \.symtab ' && fail "the Python module is not stripped"
  readelf -d "${mods[0]}" | grep -qE 'RPATH|RUNPATH' && fail "the Python module has a run path"
else
  fail "python3-veltra lacks the module _veltra.cpython-*.so"
fi
# Debian's python3 imports the installed package (not the build tree's) and runs the
# example to the files veltra run gives.
mkdir -p "$T/pywork" && cd "$T/pywork"
PYTHONPATH=$U/lib/python3/dist-packages /usr/bin/python3 -c "
import veltra, sys
assert veltra.__file__.startswith('$P'), veltra.__file__
print(veltra.run(veltra.example('field')).seasons.tail())
veltra.run(veltra.example('field'), write_to='run')
" > py.txt 2> err.txt || fail "import veltra from the package: $(cat err.txt)"
grep -q "^\[5 rows x 47 columns\]$" py.txt || fail "the installed veltra printed no seasons: $(cat py.txt)"
for f in field.res field.frq field.trf warning.lst; do
  sed "s#$T/pywork/run/##g" "run/$f" | cmp -s - "$SRC/tests/reference/examples/field/$f" ||
    fail "the installed Python package gives another $f than tests/reference/examples/field/$f"
done

if [ $fails -eq 0 ]; then
  echo "package: all passed"
else
  echo "package: $fails failed"
fi
exit $((fails > 0))
