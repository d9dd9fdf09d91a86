#!/usr/bin/env bash
# Installs the Debian 12 packages Corvane needs to build, test and run. Safe to run again:
# packages already present are not fetched twice.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    clang libclang-rt-14-dev clang-format
    qt6-base-dev qt6-serialport-dev libgl-dev
    socat xvfb xauth mbpoll libmodbus-dev libxml2-utils
    unrtf poppler-utils enscript latex2rtf
    dpkg-dev lintian desktop-file-utils appstream shared-mime-info man-db
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
