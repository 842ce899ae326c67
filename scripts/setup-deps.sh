#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the headless test
# suite need. Idempotent: does nothing but a quick dpkg query when all are there.
set -euo pipefail

PACKAGES=(
    build-essential cmake zlib1g-dev
    qtbase5-dev qtbase5-dev-tools qtdeclarative5-dev
    libqt5xml5 libqt5network5
    qml-module-qtquick2 qml-module-qtquick-controls qml-module-qtquick-layouts
    qml-module-qtquick-window2 qml-module-qtqml-models2
    xvfb xauth libgl1-mesa-dri libglx-mesa0 libegl-mesa0
    fonts-dejavu-core
)

missing=()
for pkg in "${PACKAGES[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    if [[ "$status" != "install ok installed" ]]; then
        missing+=("$pkg")
    fi
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

SUDO=""
if [[ $(id -u) -ne 0 ]]; then
    SUDO="sudo"
fi

echo "Installing missing packages: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
