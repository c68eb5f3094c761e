# What the whole-process timing scripts of bench/ share; sourced by them.

# Microseconds since the epoch, without starting a process where bash can tell.
now_us() {
  if [ -n "${EPOCHREALTIME:-}" ]; then
    local t=${EPOCHREALTIME/[.,]/}
    echo $((10#$t))
  else
    echo $(($(date +%s%N) / 1000))
  fi
}

# The median of the numbers in a file, one a line.
median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Builds the program that does nothing (`int main(){}`) at the path given, with ${CXX:-c++} -O2.
build_plain() {
  printf 'int main() {}\n' > "$1.cpp"
  "${CXX:-c++}" -O2 -o "$1" "$1.cpp"
}
