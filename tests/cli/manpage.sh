#!/usr/bin/env bash
# docs/man/veltra.1 is what scripts/make-man.py makes of its template and the program's
# help texts, and groff finds no fault in it.
# Usage: bash manpage.sh VELTRA SOURCE_DIR
exec python3 "$(dirname "$0")/guide.py" man "$1" "$2"
