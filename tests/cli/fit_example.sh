# The worked example of docs/fit.md: scripts/fit-example.sh makes the observations from a
# known run with seeded noise and fits them; the parameters come back near the truth, and
# the observations and the report docs/fit.md shows are those the script makes.
# Usage: bash fit_example.sh VELTRA SOURCE_DIR
. "$(dirname "$0")/lib.bash"
bash "$SRC/scripts/fit-example.sh" ex "$VELTRA" > out.txt 2> err.txt; st=$?
check "the example runs: status 0" '[ $st -eq 0 ] && [ ! -s err.txt ]'
# The block of docs/fit.md after <!-- made by scripts/fit-example.sh: FILE -->.
shown() {
  awk -v f="$1" '$0 == "<!-- made by scripts/fit-example.sh: " f " -->" {m = 1; next}
                 m == 1 && /^```/ {m = 2; next} m == 2 && /^```/ {exit} m == 2 {print}' "$SRC/docs/fit.md"
}
check "docs/fit.md shows the start of obs.csv" \
  '[ -n "$(shown obs.csv)" ] && [ "$(shown obs.csv)" = "$(head -n "$(shown obs.csv | wc -l)" ex/obs.csv)" ]'
check "docs/fit.md shows fit.txt as the example makes it" \
  '[ "$(shown fit/fit.txt)" = "$(tr -d "\r" < ex/fit/fit.txt | sed "s#$T/ex#/home/user/demo#g")" ]'
best() { grep "^$1 " ex/fit/fit.txt | awk '{print $4}'; }
near() { python3 -c "import sys; sys.exit(0 if abs(float('$1') - $2) <= $3 else 1)"; }
check "QH1 within 0.0002 of the truth" 'near "$(best QH1)" 0.0045 0.0002'
check "Flr and Flx within 0.1 of the truth" 'near "$(best Flr)" 0.70 0.1 && near "$(best Flx)" 0.85 0.1'
check "the charts" '[ -s ex/fit/fit-Cr4.png ] && [ -s ex/fit/fit-Dw.png ]'
finish
