#!/usr/bin/env bash
# Runs every veltra command shown in the user guide (```sh blocks of docs/*.md) and in the
# examples of the man page, in scratch folders, and compares the outputs the guide shows.
# Usage: bash guide_commands.sh VELTRA SOURCE_DIR
exec python3 "$(dirname "$0")/guide.py" commands "$1" "$2"
