#!/usr/bin/env bash
# Installs the Debian packages one make target needs, and says what it installs; silent and quick
# when they are all there.
# usage: install-deps.sh [build|lint|package|test]   (default: build)
#   build    compiler, CMake and Qt: enough for `make demo` and `make run`
#   lint     build, plus Qt's linter clazy (which brings LLVM, about 220 MB)
#   package  build, plus what packs and checks the Debian package
#   test     everything `make test` runs: build, lint and package, plus the test-only tools
set -euo pipefail

group=${1:-build}
build=(build-essential cmake make qt6-base-dev qt6-serialport-dev qt6-svg-dev)
lint=(clazy)
# dpkg-shlibdeps and file find the package's dependencies, help2man writes its manual page; the
# package test validates its desktop entry and AppStream metadata, runs lintian on it and resolves
# the settings files' type with shared-mime-info and gio (libglib2.0-bin).
package=(dpkg-dev file desktop-file-utils appstream lintian help2man shared-mime-info libglib2.0-bin)
# The screen-reader check: an X server, private D-Bus and AT-SPI buses, and an AT-SPI client.
test_only=(xvfb xauth dbus at-spi2-core python3-pyatspi)
# The Windows build check (scripts/check_windows_build.sh): MinGW-w64 compiles, through Ninja, which
# builds objects alone; Clang parses. The C library's German messages, under which the workflow suite
# opens a port it may not.
test_only+=(g++-mingw-w64-x86-64-posix clang ninja-build libc-l10n)

case $group in
  build)   packages=("${build[@]}") ;;
  lint)    packages=("${build[@]}" "${lint[@]}") ;;
  package) packages=("${build[@]}" "${package[@]}") ;;
  test)    packages=("${build[@]}" "${lint[@]}" "${package[@]}" "${test_only[@]}") ;;
  *) echo "usage: $0 [build|lint|package|test]" >&2; exit 2 ;;
esac
# A real X server is only needed to look at the window under Xvfb; offscreen rendering needs nothing.
[ "${WITH_X:-0}" = 1 ] && packages+=(xvfb xauth)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || {
    echo "Missing Debian packages: ${missing[*]}. Install them as root (apt-get install ${missing[*]}), or install sudo, then run this again." >&2
    exit 1
  }
  sudo=(sudo)
fi
echo "Installing for '$group' (Debian packages, with apt-get): ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
