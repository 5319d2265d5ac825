#!/usr/bin/env bash
# Installs the Debian packages the suite needs to build, run and test, when any is missing.
set -euo pipefail
packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libpng-dev libfontconfig-dev fonts-wqy-microhei
          xvfb xauth faketime libbenchmark-dev procps libxcb1-dev libxcb-randr0-dev
          dbus dconf-service libglib2.0-bin gsettings-desktop-schemas)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}" >&2
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
