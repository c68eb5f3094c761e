#!/usr/bin/env bash
# compare-builds.sh OLD_VELTRA NEW_VELTRA [--count N] [--seed S] [-j N] [--work DIR] [--keep]
# Runs both programs on the generated cases and compares everything they leave;
# exit 0 only when all of it is identical. See compare-builds.py and README.md here.
exec python3 "$(dirname "$0")/compare-builds.py" "$@"
