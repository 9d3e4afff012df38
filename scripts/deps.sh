#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12.
# --no-install-recommends: the default recommends bring a GTK platform theme
# whose native dialogs get in the way of the tests.
set -euo pipefail

packages=(
    build-essential cmake clang-format
    qtbase5-dev libqt5serialport5-dev qttools5-dev qttools5-dev-tools qttranslations5-l10n
    libqcustomplot-dev
    fonts-wqy-microhei
    xvfb xauth xdotool imagemagick libx11-dev
    dpkg-dev file poppler-utils
    libmosquitto-dev mosquitto openssl
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
