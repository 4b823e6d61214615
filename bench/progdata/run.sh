#!/usr/bin/env bash
# Program-data benchmark: builds the program data of the Windows tree (the
# pictures, fonts, strings, cursors, settings files, packs, Skinres.dll,
# RW256.dll and the program's resource object) twice, each time in a fresh
# tree on the given processors, prints the wall and processor seconds of
# each build and its slowest steps, and compares the two builds byte for
# byte (files that name their own tree's folder are compared with that
# folder's name taken out).
#   bench/progdata/run.sh [CPUS]        CPUS as taskset takes it, default 0,1
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cpus="${1:-0,1}"
jobs=$(( $(echo "$cpus" | tr ',' '\n' | wc -l) ))
work="$root/build/bench-progdata"
rm -rf "$work"
mkdir -p "$work"

# The host tools (mkpack) come from a native tree of their own, built
# before the clock starts.
cmake -S "$root" -B "$work/host" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/host" --target mkpack >/dev/null

targets=(progdata_pictures progdata_fonts progdata_resources progdata_packs Skinres RW256 rookwell_res)
for run in a b; do
  tree="$work/$run"
  cmake -S "$root" -B "$tree" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
    -DRW_HOST_TOOLS="$work/host" >/dev/null
  /usr/bin/time -f "%e %U %S" -o "$work/time-$run" \
    taskset -c "$cpus" ninja -C "$tree" -j "$jobs" "${targets[@]}" >"$work/build-$run.log"
  read -r wall user sys <"$work/time-$run"
  echo "build $run on processors $cpus: ${wall} s wall, $(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }') s processor"
  # The slowest steps, from ninja's log (start and end in milliseconds).
  awk 'NR > 1 { t = ($2 - $1) / 1000; if (!($1 SUBSEP $2 in seen)) { seen[$1 SUBSEP $2] = 1; printf "  %6.1f s  %s\n", t, $4 } }' \
    "$tree/.ninja_log" | sort -rn | head -6
done

# Byte-for-byte comparison of everything the two builds made.
list() {
  (cd "$1" && find progdata packs -type f ! -name '*.d' | sort
   echo bin/Skinres.dll
   echo bin/RW256.dll
   find . -name 'rookwell_res.rc.res' -printf '%P\n')
}
differ=0
count=0
while read -r f; do
  count=$((count + 1))
  if ! cmp -s "$work/a/$f" "$work/b/$f"; then
    # A list file or resource script names the files of its own tree.
    if ! cmp -s <(sed "s|$work/a|TREE|g" "$work/a/$f") <(sed "s|$work/b|TREE|g" "$work/b/$f"); then
      echo "differs: $f"
      differ=$((differ + 1))
    fi
  fi
done < <(list "$work/a")
if [ "$(list "$work/a")" != "$(list "$work/b")" ]; then
  echo "the two builds made different sets of files"
  differ=$((differ + 1))
fi
echo "$count files compared, $differ differ"
[ "$differ" -eq 0 ]
