#!/usr/bin/env bash
# Installs the Debian packages the build needs; quiet and quick when they are all there.
set -euo pipefail

packages=(build-essential cmake make qt6-base-dev qt6-serialport-dev qt6-svg-dev)
# The Debian package: dpkg-shlibdeps and file find its dependencies; the package test validates
# its desktop entry and AppStream metadata.
packages+=(dpkg-dev file desktop-file-utils appstream)
# Qt's linter for `make lint`, which the test run includes.
packages+=(clazy)
# A real X server is only needed to look at the window under Xvfb; offscreen rendering needs nothing.
[ "${WITH_X:-0}" = 1 ] && packages+=(xvfb xauth)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
