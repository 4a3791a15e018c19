#!/usr/bin/env bash
# Builds the Debian package mirel_<version>_amd64.deb into the repository's folder; with
# --install it then installs it (apt-get brings the libraries it needs).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=scripts/common.sh
source "$root/scripts/common.sh"

# dpkg-shlibdeps works out the package's dependencies from the libraries it links
mirel_install_packages dpkg-dev file
build="$root/build-package"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMIREL_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr
cmake --build "$build" -j "$(mirel_jobs)"
(cd "$build" && cpack -G DEB -B "$build/package")
package="$(ls "$build"/package/mirel_*_amd64.deb)"
cp "$package" "$root/"
package="$root/$(basename "$package")"
echo "Built $package"

if [ "${1:-}" = "--install" ]; then
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "$package"
fi
