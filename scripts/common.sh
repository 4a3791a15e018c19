#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs the Debian packages that are missing.

# Packages the build and the tests need on a fresh Debian 12 machine.
MIREL_PACKAGES=(
    g++ make cmake pkg-config
    qtbase5-dev qtbase5-dev-tools libqt5charts5-dev poppler-utils
    libbenchmark-dev libxml2-utils
    xvfb xauth fonts-dejavu-core
    libxlsxwriter-dev libzip-dev
    clang libclang-rt-14-dev libfuzzer-14-dev
    xdotool desktop-file-utils appstream shared-mime-info xdg-utils libfile-mimeinfo-perl
    libglib2.0-bin
)

mirel_install_packages() {
    local missing=()
    local package
    for package in "${MIREL_PACKAGES[@]}" "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

mirel_jobs() {
    nproc 2>/dev/null || echo 2
}
