#!/usr/bin/env bash
# Installs, builds (release) and runs Veltra on the bundled example, in run/ (git ignores it).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
mkdir -p run
cp examples/field.inp run/field.inp
cd run
../build/release/veltra run field.inp
echo
echo "Results in $(pwd): field.res (result file), field.frq (frequency distribution), field.trf and warning.lst"
