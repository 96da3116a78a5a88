#!/usr/bin/env bash
# Sets up and builds, checks that every source is formatted, then runs every test: the
# normal build with all tests, then the core tests and the fuzzers under AddressSanitizer
# and UndefinedBehaviorSanitizer, all built with warnings as errors.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
ZELK_WERROR=1 "$here/scripts/setup.sh"

echo "== formatting =="
mapfile -t sources < <(cd "$here" && find app bench calc components data resources tests ui windowlogic \
  -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
(cd "$here" && clang-format --dry-run --Werror "${sources[@]}")

echo "== tests =="
(cd "$here/build" && ctest --output-on-failure --parallel "$(nproc)")

echo "== core tests with sanitizers =="
generator=()
if command -v ninja >/dev/null 2>&1; then generator=(-G Ninja); fi
san="$here/build-sanitize"
if [ ! -f "$san/CMakeCache.txt" ]; then
  cmake -S "$here" -B "$san" "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_COMPILER=clang++ -DZELK_CORE_ONLY=ON -DZELK_SANITIZE=ON -DZELK_WARNINGS_AS_ERRORS=ON
fi
cmake --build "$san" --parallel "$(nproc)"
(cd "$san" && ctest --output-on-failure --parallel "$(nproc)")
