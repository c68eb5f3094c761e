# The generated cases of compare-builds: the same seed makes the same cases, the
# files are those the program writes and reads, and the comparison of two programs
# finds a difference that is there and none where there is none.
# Usage: bash smoke.sh VELTRA SOURCE_DIR
. "$(dirname "$0")/../cli/lib.bash"
G=$SRC/tests/generated

python3 "$G/make-inputs.py" a --count 30 --seed 7 && python3 "$G/make-inputs.py" b --count 30 --seed 7 &&
  python3 "$G/make-inputs.py" c --count 5 --seed 8
made=$?
check "the cases are made" '[ $made -eq 0 ] && [ -f a/c00030/c00030.inp ] && [ -f a/cases.tsv ]'
check "same seed, same cases" 'diff -r a b > /dev/null'
check "another seed, other cases" '! diff -r a/c00001 c/c00001 > /dev/null'

# Files in the current layout are what `veltra convert` writes of them (unless it
# refuses to write a file with an impossible Ns or Kd); the older layouts and the
# files the reader only tolerates are read; the unreadable ones are not.
mismatch="" unread="" converted=0
while IFS=$'\t' read -r name kind layout rest; do
  for f in a/"$name"/*.inp; do
    "$VELTRA" convert "$f" x.inp > /dev/null 2>&1; st=$?
    case $layout:$st in
      current:0) converted=$((converted + 1)); cmp -s "$f" x.inp || mismatch="$mismatch $f" ;;
      current:1) ;;
      unreadable:2) ;;
      *:0) converted=$((converted + 1)) ;;
      *) unread="$unread $f($st)" ;;
    esac
  done
done < <(tail -n +2 a/cases.tsv)
check "current layout as veltra writes it:$mismatch" '[ -z "$mismatch" ]'
check "read as the generator means:$unread" '[ -z "$unread" ] && [ $converted -ge 20 ]'

# One program against itself: identical, with runs that end well and inputs with errors.
before=$fails
python3 "$G/compare-builds.py" "$VELTRA" "$VELTRA" --count 24 --seed 7 -j 2 > same.txt 2>&1; st=$?
check "a program compared with itself is identical" '[ $st -eq 0 ] && grep -q "^IDENTICAL" same.txt'
check "runs with results and with input errors" \
  'grep -q "^cases with results (.res): [1-9]" same.txt && grep -q "input errors [1-9]" same.txt'
[ $fails -eq $before ] || cat same.txt

# A program whose warning list has one more line: every case that ran differs there.
cat > changed <<EOF
#!/bin/bash
"$VELTRA" "\$@"; st=\$?
[ -f warning.lst ] && printf ' one more line\r\n' >> warning.lst
exit \$st
EOF
chmod +x changed
python3 "$G/compare-builds.py" "$VELTRA" ./changed --count 8 --seed 7 -j 2 --work w > diff.txt 2>&1; st=$?
check "a changed warning list: status 1, the file and line named" \
  '[ $st -eq 1 ] && grep -q "^DIFFERENT" diff.txt && grep -q "warning.lst: line [0-9]*: .* | .* one more line" diff.txt'
check "the differing case kept" '[ -n "$(ls w/diff/new 2>/dev/null)" ]'
finish
