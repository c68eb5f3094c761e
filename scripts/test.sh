#!/usr/bin/env bash
# Installs, builds and runs every test: the release build and its Debian package,
# then the build with AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzz
# targets (clang, with both sanitizers), which replay their kept corpora and make a
# short run with a fixed seed. A compiler warning fails the build, and so does a
# C++ file that does not follow .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/check-format.sh
jobs=$(nproc)
for preset in release asan fuzz; do
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
