#!/usr/bin/env bash
# Installs everything Veltra needs to build and test, from Debian's packages.
# The second-last line: the icons (rsvg-convert), and the Debian package and its test
# (dpkg-shlibdeps, lintian, the desktop and file-type tools, man). The last line: the
# Python module (pybind11) and what its tests and guide use (pandas, Dask, matplotlib).
set -euo pipefail
# clang and its runtime libraries (libFuzzer, the sanitizers) build the fuzz targets
# (clang-format and clang-tidy check the sources: scripts/check-format.sh, scripts/tidy.sh);
# libnlopt-dev: the search of `veltra fit` (its C library);
# locales gives localedef the sources of the comma-decimal locale a test builds.
pkgs=(g++ cmake ninja-build qt6-base-dev qt6-svg-dev qt6-qpa-plugins fonts-dejavu-core
      libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev libnlopt-dev python3 groff-base
      clang libclang-rt-14-dev clang-format clang-tidy util-linux locales
      librsvg2-bin dpkg-dev binutils lintian desktop-file-utils shared-mime-info libglib2.0-bin man-db gzip
      pybind11-dev python3-dev python3-numpy python3-pandas python3-distributed python3-pytest python3-matplotlib)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
