# The bundled examples run to the reviewed results in tests/reference/examples/ (whole
# files, byte for byte, the folder part of the printed paths aside).
# Usage: bash examples.sh VELTRA SOURCE_DIR [--update-references]
# --update-references rewrites tests/reference/examples/ from this build; review the
# change with `git diff` before committing it.
. "$(dirname "$0")/lib.bash"
UPDATE=${3:-}
for ex in field wells; do
  mkdir -p "$T/$ex" && cd "$T/$ex"
  cp "$SRC/examples/$ex.inp" .
  "$VELTRA" run "$ex.inp" > out.txt 2> err.txt; st=$?
  [ $st -eq 0 ] || { fail "$ex: status $st"; cat err.txt; continue; }
  for f in "$ex.res" "$ex.frq" "$ex.trf" warning.lst; do
    if [ "$UPDATE" = "--update-references" ]; then
      sed "s#$T/$ex/##g" "$f" > "$SRC/tests/reference/examples/$ex/$f"
    elif ! sed "s#$T/$ex/##g" "$f" | cmp -s - "$SRC/tests/reference/examples/$ex/$f"; then
      fail "$ex: $f differs from tests/reference/examples/$ex/$f"
      sed "s#$T/$ex/##g" "$f" | diff - "$SRC/tests/reference/examples/$ex/$f" | head -5
    fi
  done
done
finish
