#!/usr/bin/env bash
# Installs what is missing, builds Mirel and runs the whole test suite twice: in a normal build
# and in a build with AddressSanitizer and UndefinedBehaviorSanitizer. Then replays every fuzz
# target's corpus (no new inputs; the long fuzzing runs are scripts/fuzz.sh, by hand).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=scripts/common.sh
source "$root/scripts/common.sh"

mirel_install_packages
jobs="$(mirel_jobs)"
export QT_QPA_PLATFORM=offscreen

echo "== Release build"
cmake -S "$root" -B "$root/build-test" -DCMAKE_BUILD_TYPE=Release
cmake --build "$root/build-test" -j "$jobs"
(cd "$root/build-test" && ctest --output-on-failure -j "$jobs")

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DMIREL_SANITIZE=ON
cmake --build "$root/build-asan" -j "$jobs"
(cd "$root/build-asan" && ctest --output-on-failure -j "$jobs")

echo "== Fuzz targets over their corpora"
bash "$root/scripts/fuzz.sh" --replay
