#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over every source of ours, in parallel, and exits non-zero
# on any finding.
#   scripts/clang-tidy.sh [BUILD_DIR]     default build-tidy
# The build folder is configured with clang (the fuzz targets included) when it has no
# compile_commands.json yet; only moc runs in it, nothing is compiled. Needs Debian's clang
# and clang-tidy. About eleven minutes of both cores here, so CI does not run it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
dir=${1:-build-tidy}
tidy=$(command -v clang-tidy || command -v clang-tidy-14)
runner=$(command -v run-clang-tidy || command -v run-clang-tidy-14)

if [ ! -f "$dir/compile_commands.json" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DVELLUMORE_BUILD_FUZZ=ON
fi
# Configured again each time: sources added or removed since the last run.
cmake -S . -B "$dir" > /dev/null
# The tests include the moc output of their own classes. CMake's autogen step of each
# target runs moc alone; the targets' own build would first build all that they link.
config=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$dir/CMakeCache.txt")
find "$dir" -path '*_autogen.dir/AutogenInfo.json' -print0 |
    xargs -0 -P "$(nproc)" -I{} cmake -E cmake_autogen {} "$config"

log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
"$runner" -clang-tidy-binary "$tidy" -p "$dir" -j "$(nproc)" -quiet \
    "^$root/(src|tools|tests|bench|fuzz|packaging)/.*\\.cpp\$" > "$log" 2>&1 || status=$?
sed -i 's/\x1b\[[0-9;]*m//g' "$log" # the runner asks for colours
# Only the findings and their context: the runner also prints each command it starts.
grep -v -e "^$tidy " -e '^[0-9]* warnings\? generated' -e '^Suppressed [0-9]* warnings' \
    -e '^Use -header-filter' -e '^Enabled checks:' "$log" || true
findings=$(grep -c -E ': (warning|error):' "$log" || true)
if [ "$status" -ne 0 ] || [ "$findings" -ne 0 ]; then
    echo "clang-tidy: $findings finding(s)" >&2
    exit 1
fi
echo "clang-tidy: no findings"
