# Every reference case run by the tool and compared with the files of the reference
# implementation (result, frequency, run marker, warning and error lists, group
# tables). Usage: bash reference.sh VELTRA SOURCE_DIR
# Cases believed wrong on the reference side go after --except, each with its reason.
set -u
REF=${VELTRA_REFERENCE_DIR:-$2/../shared/reference}
TOOL=$REF/../tools/compare-reference
if [ ! -x "$TOOL" ] && [ ! -f "$TOOL" ]; then
  echo "no reference tool at $TOOL: skipped"
  exit 0
fi
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
python3 "$TOOL" "$(realpath "$1")" --exact --keep "$T"
