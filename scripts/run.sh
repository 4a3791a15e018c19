#!/usr/bin/env bash
# Installs what is missing, builds Mirel (Release) and starts it from the build tree.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=scripts/common.sh
source "$root/scripts/common.sh"

mirel_install_packages
build="$root/build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j "$(mirel_jobs)"

program="$build/bin/mirel"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Mirel is built: $program"
    echo "There is no display here. Start it in a virtual one with:"
    echo "    xvfb-run -a -s '-screen 0 1600x900x24' $program"
    exit 0
fi
exec "$program"
