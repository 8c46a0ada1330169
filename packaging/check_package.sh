#!/usr/bin/env bash
# The Debian package as a technician gets it: packed from this build, its files listed, its desktop
# entry and metadata validated, its program started from the unpacked files.
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

files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./||')
share=usr/share
for f in usr/bin/$program $share/applications/$id.desktop $share/metainfo/$id.metainfo.xml \
         $share/icons/hicolor/scalable/apps/$id.svg $share/icons/hicolor/{48x48,128x128,256x256}/apps/$id.png; do
  grep -qx "$f" <<<"$files" || fail "missing from the package: $f"
done
# The program is the only one installed; nothing built from tests/ or bench/ comes along.
strays=$(grep -E "^usr/bin/|(^|/)(tst_|bench_)|testsupport" <<<"$files" | grep -vx "usr/bin/$program" || true)
[ -z "$strays" ] || fail "should not be in the package: $strays"

# The program's Qt libraries come from the binary; the platform plugins are named by hand.
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 qt6-qpa-plugins; do
  grep -qw "$p" <<<"$depends" || fail "Depends lacks $p: $depends"
done

root=$work/root
dpkg-deb -x "$deb" "$root"
# The validator returns 0 on some errors ("will be fatal in the future"): any remark fails.
remarks=$(desktop-file-validate "$root/$share/applications/$id.desktop" 2>&1) || fail "$remarks"
[ -z "$remarks" ] || fail "$remarks"
appstreamcli validate --no-net --strict "$root/$share/metainfo/$id.metainfo.xml" || fail "metadata"

QT_QPA_PLATFORM=offscreen "$root/usr/bin/$program" >"$work/run.log" 2>&1 &
pid=$!
sleep 2
kill -0 "$pid" 2>/dev/null || { cat "$work/run.log"; fail "the unpacked program ended within two seconds"; }
kill "$pid"
wait "$pid" 2>/dev/null || true
echo "package checked"
