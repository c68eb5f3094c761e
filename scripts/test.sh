#!/usr/bin/env bash
# Installs, builds and runs every test: the release build and its Debian package,
# then the build with AddressSanitizer and UndefinedBehaviorSanitizer. A compiler
# warning fails the build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)
for preset in release asan; do
  echo "=== $preset build"
  cmake --preset "$preset" -DVELTRA_WERROR=ON >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "=== $preset tests"
  ctest --preset "$preset" -j "$jobs"
  if [ "$preset" = release ]; then
    echo "=== package"
    bash scripts/test-package.sh build/release
  fi
done
