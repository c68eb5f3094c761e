#!/usr/bin/env bash
# Installs, builds the command-line tool (release) and runs it on the bundled example, in
# run/ (git ignores it). Only `veltra` is built: the window, the tests and the rest are
# not needed for the example (scripts/test.sh builds everything).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target veltra
mkdir -p run
cp examples/field.inp run/field.inp
cd run
../build/release/veltra run field.inp
echo
echo "Results in $(pwd): field.res (result file), field.frq (frequency distribution), field.trf and warning.lst"
