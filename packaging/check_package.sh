#!/usr/bin/env bash
# The Debian package as a technician gets it: packed from this build, checked by lintian, its files
# listed, its desktop entry and metadata validated, its file type resolved, its program started
# from the unpacked files.
# usage: check_package.sh <cpack> <build folder> <application id> <program name>
set -euo pipefail
cpack=$1 build=$2 id=$3 program=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" || { cat "$work/cpack.log"; fail "cpack"; }
debs=("$work"/*.deb)
deb=${debs[0]}
[ -f "$deb" ] || fail "no .deb made"
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes; Depends: $(dpkg-deb -f "$deb" Depends)"

# Debian's own checks: any error or warning fails. The one tag the package overrides, with its reason,
# is initial-upload-closes-no-bugs (never uploaded to Debian, so no bug to close). No info remains;
# a new one fails too, to be mended or named here with its reason.
lintian --fail-on error,warning --display-info --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 ||
  { cat "$work/lintian.log"; fail "lintian"; }
if grep '^I: ' "$work/lintian.log"; then fail "lintian: an info not named here"; fi

files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./||')
share=usr/share
for f in usr/bin/$program $share/applications/$id.desktop $share/metainfo/$id.metainfo.xml \
         $share/icons/hicolor/scalable/apps/$id.svg $share/icons/hicolor/{48x48,128x128,256x256}/apps/$id.png \
         $share/mime/packages/$id.xml $share/man/man1/$program.1.gz $share/doc/$program/{copyright,changelog.Debian.gz}; do
  grep -qx "$f" <<<"$files" || fail "missing from the package: $f"
done
# The program is the only one installed; nothing built from tests/ or bench/ comes along.
strays=$(grep -E "^usr/bin/|(^|/)(tst_|bench_)|testsupport" <<<"$files" | grep -vx "usr/bin/$program" || true)
[ -z "$strays" ] || fail "should not be in the package: $strays"

# The program's Qt libraries come from the binary (libqt6gui6 brings the X11 platform plugin); the
# Wayland one is recommended.
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6; do
  grep -qw "$p" <<<"$depends" || fail "Depends lacks $p: $depends"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = qt6-wayland ] || fail "Recommends: $(dpkg-deb -f "$deb" Recommends)"

root=$work/root
dpkg-deb -x "$deb" "$root"
# The validator returns 0 on some errors ("will be fatal in the future"): any remark fails.
remarks=$(desktop-file-validate "$root/$share/applications/$id.desktop" 2>&1) || fail "$remarks"
[ -z "$remarks" ] || fail "$remarks"
appstreamcli validate --no-net --strict "$root/$share/metainfo/$id.metainfo.xml" || fail "metadata"

# A saved settings file (34 bytes) is of the tool's type, where the X11 bitmap fonts claim *.bdf too.
saved=$work/saved.bdf
printf '\x03\0\0\0\0\0\xc8\x42\0\0\0\0\xc8\x42\x01\0\0\0\0\0\0\0\xa0\x40\xcd\xcc\x4c\x3d\x04\0\x02\0\x01\0' >"$saved"
mkdir -p "$work/mime/packages"
cp /usr/share/mime/packages/freedesktop.org.xml "$root/$share/mime/packages/$id.xml" "$work/mime/packages/"
XDG_DATA_HOME=$work update-mime-database "$work/mime"
type=$(XDG_DATA_HOME=$work XDG_DATA_DIRS=$work/none gio info -a standard::content-type "$saved" | awk '/content-type/ { print $2 }')
mime=$(grep -o 'type="[^"]*"' "$root/$share/mime/packages/$id.xml" | cut -d'"' -f2)
[ "$type" = "$mime" ] || fail "a saved settings file is of type '$type', not '$mime'"
grep -qx "MimeType=$mime;" "$root/$share/applications/$id.desktop" || fail "the desktop entry does not open $mime"

# Started without a display but with Qt's own -platform option, and given the saved file, the window
# stays up: Qt gets its options, and the file is no reason to end.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/$program" -platform offscreen "$saved" >"$work/run.log" 2>&1 &
pid=$!
sleep 2
kill -0 "$pid" 2>/dev/null || { cat "$work/run.log"; fail "the unpacked program ended within two seconds"; }
kill "$pid"
wait "$pid" 2>/dev/null || true
echo "package checked"
