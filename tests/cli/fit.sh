# veltra fit: observations made from a run with known leaching efficiencies and QH1
# are fitted from wide bounds; the parameters come back; fitted.inp checks and `veltra
# run` on it gives the reported statistics; the same seed gives the same runs.csv with
# -j 1 and -j 2; the charts are pictures; and every refusal, with its status.
# Usage: bash fit.sh VELTRA SOURCE_DIR
. "$(dirname "$0")/lib.bash"
sed -e '6s/        10      2/        5      2/' "$F" > field.inp
cp "$SRC/examples/wells.inp" .
# The truth: Flr 0.70, Flx 0.85, QH1 0.0045 (field.inp: 0.80, 0.90, 0.0030), over 5 years.
sed -e 's/0.050   0.80    0.060   0.90/0.050   0.70    0.060   0.85/' -e 's/1.50    0.0030/1.50    0.0045/' \
  field.inp > truth.inp
"$VELTRA" run truth.inp > /dev/null 2>&1 || fail "the truth does not run"
# Cr4 (line 10, item 4) at the end of each year, Dw (line 7, item 2) in both seasons.
python3 - truth.res > obs.csv <<'PY'
import sys
lines = open(sys.argv[1]).read().splitlines()
print("# made from truth.res\nyear,season,symbol,value")
for i, l in enumerate(lines):
    if l.startswith("  YEAR: ") and int(l[8:12]) > 0:
        year, season = int(l[8:12]), int(lines[i + 2][9:12])
        if season == 2:
            print(f"{year},{season},Cr4,{float(lines[i + 13][68:78])}")
        print(f"{year},{season},Dw,{float(lines[i + 10][28:38])}")
PY
check "observations: 5 Cr4 and 10 Dw" '[ $(grep -c ",Cr4," obs.csv) -eq 5 ] && [ $(grep -c ",Dw," obs.csv) -eq 10 ]'

FIT=(fit field.inp --observed obs.csv --fit Flr=0.3:1 --fit Flx=0.3:1 --fit QH1=0.0005:0.02 --max-runs 300 --seed 5)
"$VELTRA" "${FIT[@]}" -j 2 --out out > out.txt 2> err.txt; st=$?
check "fit: status 0, nothing on stderr" '[ $st -eq 0 ] && [ ! -s err.txt ]'
check "fit: its files" '[ "$(ls out | tr "\n" " ")" = "fit-Cr4.png fit-Dw.png fit.txt fitted.inp runs.csv " ]'
check "fit: plain progress lines off a terminal" 'grep -q "^sample: [0-9]* runs, best objective " out.txt && ! grep -q $'"'"'\r'"'"' out.txt'
best() { grep "^$1 " out/fit.txt | awk '{print $4}'; }
near() { python3 -c "import sys; sys.exit(0 if abs(float('$1') - $2) <= $3 else 1)"; }
# The observations keep three digits: Flr and Flx, which the data tell apart poorly,
# come back within 0.05, QH1 within a step of its decimals.
check "fit: Flr recovered within 0.05" 'near "$(best Flr)" 0.70 0.05'
check "fit: Flx recovered within 0.05" 'near "$(best Flx)" 0.85 0.05'
check "fit: QH1 recovered within 0.0001" 'near "$(best QH1)" 0.0045 0.0001'
check "fit: standard errors given" '! grep -q "^\(Flr\|Flx\|QH1\) .* n/a" out/fit.txt'
check "fitted.inp: the input with the best values" \
  '[ "$(diff field.inp out/fitted.inp | grep -c "^>")" -eq 2 ] && grep -q "$(best QH1)  0.0010" out/fitted.inp'
check "fitted.inp: passes the check" '"$VELTRA" check out/fitted.inp > /dev/null'

# veltra run on fitted.inp: its result file gives the reported RMSE and bias to the
# three digits its cells keep.
(cd out && "$VELTRA" run fitted.inp > /dev/null 2>&1) || fail "fitted.inp does not run"
python3 - out/fitted.res obs.csv out/fit.txt > stats.txt <<'PY'
import sys, math
lines = open(sys.argv[1]).read().splitlines()
cells = {}
for i, l in enumerate(lines):
    if l.startswith("  YEAR: "):
        y, s = int(l[8:12]), int(lines[i + 2][9:12])
        cells[(y, s, "Cr4")] = float(lines[i + 13][68:78])
        cells[(y, s, "Dw")] = float(lines[i + 10][28:38])
obs = [l.split(",") for l in open(sys.argv[2]).read().split("\n") if l and l[0].isdigit()]
report = {l.split()[0]: l.split() for l in open(sys.argv[3]).read().splitlines() if l[:3] in ("Cr4", "Dw ")}
bad = 0
for sym in ("Cr4", "Dw"):
    d = [cells[(int(y), int(s), sym)] - float(v) for y, s, q, v in obs if q == sym]
    rmse, bias = math.sqrt(sum(x * x for x in d) / len(d)), sum(d) / len(d)
    r_rmse, r_bias = float(report[sym][2]), float(report[sym][3])
    scale = max(abs(float(v)) for y, s, q, v in obs if q == sym) * 0.006
    if abs(rmse - r_rmse) > scale or abs(bias - r_bias) > scale:
        print(f"{sym}: res gives RMSE {rmse} bias {bias}, fit.txt {r_rmse} {r_bias}"); bad += 1
sys.exit(bad)
PY
st=$?
check "veltra run fitted.inp: the reported RMSE and bias $(cat stats.txt)" '[ $st -eq 0 ]'

"$VELTRA" "${FIT[@]}" -j 1 --out again > /dev/null 2>&1
check "same seed, -j 1 and -j 2: the same runs.csv" 'cmp -s out/runs.csv again/runs.csv'
check "same seed: the same fit.txt and fitted.inp" 'cmp -s out/fit.txt again/fit.txt && cmp -s out/fitted.inp again/fitted.inp'
check "runs.csv: header and a row a run" \
  '[ "$(head -1 out/runs.csv)" = "run,stage,Flr,Flx,QH1,objective,infeasible" ] &&
   [ "$(($(wc -l < out/runs.csv) - 1))" = "$(sed -n "s/^Runs used: \([0-9]*\) .*/\1/p" out/fit.txt)" ]'
check "runs.csv: the input first, the rounded best before the Jacobian's runs" \
  'sed -n 2p out/runs.csv | grep -q "^1,input,0.8,0.9,0.003," && [ $(grep -c ",rounded," out/runs.csv) -eq 1 ] &&
   [ $(grep -c ",jacobian," out/runs.csv) -eq 6 ]'
png_size() { python3 -c "import struct,sys; d=open(sys.argv[1],'rb').read(24); print(d[:8]==b'\x89PNG\r\n\x1a\n', *struct.unpack('>II', d[16:24]))" "$1"; }
check "charts: PNG pictures of 762 x 486" '[ "$(png_size out/fit-Cr4.png)" = "True 762 486" ] && [ "$(png_size out/fit-Dw.png)" = "True 762 486" ]'

# Infeasible runs are listed with their reason; all infeasible ends the fit (status 1).
"$VELTRA" fit field.inp --observed obs.csv --fit Flr=0.3:1 --fit Dd=1:9 --max-runs 60 --out inf > out.txt 2>&1
check "infeasible runs: listed with the reason" 'grep -q ",The drains must be in the transition zone" inf/runs.csv'
"$VELTRA" fit field.inp --observed obs.csv --fit Dd=6:9 --max-runs 30 --out none > out.txt 2> err.txt; st=$?
check "all infeasible: status 1, a message, no files" \
  '[ $st -eq 1 ] && grep -q "^No run of the fit was feasible (5 runs within the bounds)" out.txt && [ ! -e none/runs.csv ]'

# Refusals: status and message; nothing written.
refused() { # NAME STATUS TEXT veltra-fit-arguments...
  local name=$1 want=$2 text=$3; shift 3
  "$VELTRA" fit "$@" --out none > out.txt 2> err.txt; local st=$?
  [ $st -eq "$want" ] && grep -qF -- "$text" out.txt err.txt && [ ! -e none/fit.txt ] ||
    fail "$name: status $st, $(cat out.txt err.txt)"
}
printf 'year,season,symbol,value\n1,1,Salt,2\n' > sym.csv
printf 'year,season,symbol,value\n1,1,Dw,1\n6,1,Dw,1\n' > year.csv
printf 'year,season,symbol,value\n1,3,Dw,1\n' > season.csv
printf 'year,season,symbol,value\n1,1,Dw,1.2.3\n' > number.csv
printf '# none\nyear,season,symbol,value\n' > empty.csv
printf 'year,season,symbol,value\n1,1,CrA,1\n' > absent.csv
sed 's/1.50    0.0045  0.0010/1.50   -0.0045  0.0010/' truth.inp > bad.inp
cp obs.csv runs.csv
while IFS='|' read -r name st text args; do
  eval "refused \"$name\" $st \"\$text\" $args"
done <<'TABLE'
unknown symbol|2|sym.csv, line 2, field "symbol": "Salt" is not a symbol|field.inp --observed sym.csv --fit Flr=0.3:1
year beyond Ny|2|year.csv, line 3, field "year": 6 is not one of the run's years 1 to 5 (Ny).|field.inp --observed year.csv --fit Flr=0.3:1
season beyond Ns|2|season.csv, line 2, field "season": 3 is not one of the run's seasons 1 to 2 (Ns).|field.inp --observed season.csv --fit Flr=0.3:1
a non-number|2|number.csv, line 2, field "value": "1.2.3" is not a number|field.inp --observed number.csv --fit Flr=0.3:1
empty observations|2|empty.csv, line 2: the file holds no observations|field.inp --observed empty.csv --fit Flr=0.3:1
LOW >= HIGH|2|--fit Flr=1:0.3: LOW must be below HIGH.|field.inp --observed obs.csv --fit Flr=1:0.3
field the keys leave out|2|has no drains (Kd = 0), so its input holds no QH1.|wells.inp --observed obs.csv --fit QH1=0.001:0.01
unknown field|2|--fit Depth=1:2: unknown field "Depth"|field.inp --observed obs.csv --fit Depth=1:2
a whole-number field|2|Kr takes whole numbers|field.inp --observed obs.csv --fit Kr=0:4
too few runs|2|--max-runs 5 is too few|field.inp --observed obs.csv --fit Flr=0.3:1 --max-runs 5
symbol shown as -|2|CrA is "-" in year 1, season 1 (|field.inp --observed absent.csv --fit Flr=0.3:1
input failing the check|1|fails the check:|bad.inp --observed obs.csv --fit Flr=0.3:1
no observation file|2|could not be read|field.inp --observed nothing.csv --fit Flr=0.3:1
no --fit|2|--fit is required|field.inp --observed obs.csv
TABLE
"$VELTRA" fit field.inp --observed runs.csv --fit Flr=0.3:1 --out . > out.txt 2> err.txt; st=$?
check "an output over an input: refused, status 2" '[ $st -eq 2 ] && cmp -s runs.csv obs.csv && [ ! -e fit.txt ]'

finish
