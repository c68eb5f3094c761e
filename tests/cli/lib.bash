# Sourced by the command-line scripts of this folder, which CTest runs as
# `bash SCRIPT VELTRA SOURCE_DIR`: the program, the sources and the reference cases,
# a scratch folder T that is the current folder and goes at exit, and the helpers.
# (Not named *.sh, so that it is no test of its own.)
set -u
VELTRA=$(realpath "$1")
SRC=$(realpath "$2")
REF=$SRC/tests/reference/shared
F=$SRC/examples/field.inp
[ -f "$REF/field/field.res" ] && [ -f "$F" ] || { echo "FAIL: no examples or whole-run cases in $SRC"; exit 1; }
export QT_QPA_PLATFORM=offscreen
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
cd "$T" || exit 1
fails=0

# check NAME CONDITION: CONDITION is evaluated; NAME is reported when it is false.
check() { if eval "$2"; then :; else echo "FAIL: $1"; fails=$((fails + 1)); fi; }
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }

# expect STATUS STDOUT STDERR veltra-arguments... (the whole texts, without the last line end)
expect() {
  local want=$1 out=$2 err=$3; shift 3
  "$VELTRA" "$@" > out.txt 2> err.txt; local st=$?
  if [ $st -ne "$want" ] || [ "$(cat out.txt)" != "$out" ] || [ "$(cat err.txt)" != "$err" ]; then
    fail "veltra $*: status $st (want $want)"
    echo "  stdout: $(cat out.txt)"; echo "  stderr: $(cat err.txt)"
  fi
}

# The files of two case folders agree, the folder part of printed paths aside.
same_files() {
  local a=$1 b=$2 f
  [ "$(ls "$a")" = "$(ls "$b")" ] || return 1
  for f in "$a"/*; do
    cmp -s <(sed "s#$a/##g" "$f") <(sed "s#$b/##g" "$b/$(basename "$f")") || return 1
  done
}

# The years of the records of a result file, in order.
years_of() { grep "^  YEAR:" "$1" | cut -c9-12 | tr -d " " | tr "\n" " "; }

finish() {
  [ $fails -eq 0 ] && echo "$(basename "$0" .sh): all checks passed"
  exit $((fails > 0)) # a count could wrap to 0
}
