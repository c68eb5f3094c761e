#!/usr/bin/env bash
# Runs clang-tidy (the checks of .clang-tidy, every warning an error) over every C++
# source of the release build outside tests/, two files at a time; prints the
# warnings of the files that have any and exits 1 when there are. Needs the
# configured release build (cmake --preset release) for its compile_commands.json.
# The fuzz targets are built only by the fuzz preset and are not among them.
# `bash scripts/tidy.sh FILE.cpp ...` checks just those files.
set -euo pipefail
cd "$(dirname "$0")/.."
db=build/release/compile_commands.json
if [ ! -f "$db" ]; then
  echo "tidy: $db is missing (cmake --preset release)" >&2
  exit 2
fi
if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(python3 - "$db" "$PWD" <<'PY'
import json, os, sys
db, root = sys.argv[1], sys.argv[2]
files = {os.path.relpath(e["file"], root) for e in json.load(open(db))}
for f in sorted(files):
    if not f.startswith(("..", "build/", "tests/")):
        print(f)
PY
  )
fi
# Each file's output is printed whole, only when clang-tidy finds something.
printf '%s\0' "${files[@]}" | xargs -0 -P 2 -n 1 sh -c '
  out=$(clang-tidy -p build/release --quiet "$1" 2>&1) && exit 0
  printf "%s\n" "$out" | grep -v "warnings\? generated\.$"
  exit 1' tidy || {
  echo "tidy: clang-tidy found problems (above)" >&2
  exit 1
}
echo "tidy: ${#files[@]} files clean"
