# veltra run of an input whose water-table iteration cannot meet its balance: a
# very small drainable porosity of the aquifer under a large outflow needs more
# 1 mm steps than a season may take. The run stops with its warning and status 3.
# Usage: bash stop.sh VELTRA SOURCE_DIR
. "$(dirname "$0")/lib.bash"

# Peq 0.0001, Go1 2 m, the water table starting in the aquifer at 10 m.
sed -e 's/^        0.050   0.80    0.060   0.90    0.070   1.00/        0.050   0.80    0.060   0.90    0.0001  1.00/' \
    -e '/^12\./{n;s/^        0.100   0.080/        0.100   2.000/}' \
    -e 's/^        5.0     5.0     5.0     0.80    1.50/        5.0     5.0     5.0     10.0    1.50/' "$F" > nc.inp
check "input changed in three places" '[ "$(diff "$F" nc.inp | grep -c "^>")" -eq 3 ]'
"$VELTRA" run nc.inp > out.txt 2> err.txt; st=$?
check "status 3, nothing on standard error" '[ $st -eq 3 ] && [ ! -s err.txt ]'
check "warning in warning.lst" \
  'grep -q "^ The water table iteration did not converge in year:  1, season: 1"$'"'"'\r'"'"'"$" warning.lst'
check "interrupted" 'grep -q "^ Calculations are interrupted. Please revise the input data." warning.lst'
check "stop told on standard output" 'grep -q "The run was stopped; warning.lst says why." out.txt'
check "no run marker" '[ ! -e nc.trf ]'
check "the initial block is in the result file" '[ "$(grep -c "^  YEAR:    0" nc.res)" -eq 2 ] && ! grep -q "^  YEAR:    1" nc.res'

# The same input as a year-by-year series says why the series cannot go on.
sed '6s/^\(        10      2       \)0/\11/' nc.inp > ncy.inp
"$VELTRA" run ncy.inp > out.txt 2> err.txt; st=$?
check "series: status 3" '[ $st -eq 3 ]'
check "series: the iteration's own message" \
  'grep -q "^The water table iteration did not converge. The output can be partially seen" out.txt && ! grep -q "bottom of the aquifer" out.txt'
finish
