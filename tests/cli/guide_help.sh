#!/usr/bin/env bash
# The command-line reference of the user guide (docs/cli.md) against the program: the help
# block of every command below equals `veltra COMMAND --help`, its section explains exactly
# the program's options, and every command of the program is in this list.
# Usage: bash guide_help.sh VELTRA SOURCE_DIR
# A command that lands: document it in docs/cli.md, then add one line here.
CHECKED=(
    check
    convert
    example
    run
    series
    table
    chart
    calc
    batch
    sweep
    summary
    fit
)
exec python3 "$(dirname "$0")/guide.py" help "$1" "$2" "${CHECKED[@]}"
