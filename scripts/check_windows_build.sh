#!/usr/bin/env bash
# Checks, without Qt for Windows, that the tool still builds for 64-bit Windows:
#  1. CMake configures the project for Windows (MinGW-w64, a stand-in Qt package over this machine's
#     Qt headers) and packs it as ZIP (and NSIS), not as a Debian package;
#  2. every file of src/, the moc output of its Q_OBJECT headers and every suite that needs no
#     pseudo-terminal compile for Windows: MinGW-w64 GCC makes each object, Clang aimed at the same
#     target parses it again. -pedantic-errors turns GNU extensions MSVC rejects (variable-length
#     arrays, designated initializers) into errors; any warning fails;
#  3. none of those files includes a POSIX header, which MinGW has and MSVC has not.
# Nothing is linked or run. Needs g++-mingw-w64-x86-64-posix, clang, cmake and Qt's dev packages.
# usage: check_windows_build.sh [source folder] [this machine's build folder, whose icon the program's
#        Windows resources take]   (JOBS=n files at once, default 2)
set -uo pipefail
ROOT=$(cd "${1:-$(dirname "$0")/..}" && pwd)
CROSS=$ROOT/scripts/windows-cross
GXX=${GXX:-x86_64-w64-mingw32-g++-posix} CLANG=${CLANG:-clang++}
QT=${QT_HEADERS:-/usr/include/x86_64-linux-gnu/qt6} MOC=${MOC:-/usr/lib/qt6/libexec/moc}
WORK=$(mktemp -d); trap 'rm -rf "$WORK"' EXIT
status=0
fail() { echo "FAILED ($1): ${2#"$ROOT"/}"; status=1; }

# 1. The CMake side, as a Windows builder's first step sees it.
if cmake -S "$ROOT" -B "$WORK/cmake" -DCMAKE_TOOLCHAIN_FILE="$CROSS/mingw-w64.cmake" -DQt6_DIR="$CROSS/qt6" \
        -DQT_HEADERS="$QT" -DMOC="$MOC" >"$WORK/cmake.log" 2>&1; then
    generators=$(sed -n 's/^set(CPACK_GENERATOR "\(.*\)")$/\1/p' "$WORK/cmake/CPackConfig.cmake")
    echo "configured for Windows; package generators: $generators"
    [[ ";$generators;" == *";ZIP;"* && ";$generators;" != *";DEB;"* ]] || fail cmake "package generators"
    if [ -n "${2:-}" ]; then # the icon and version details, as the Windows build compiles them
        mkdir -p "$WORK/cmake/icons" && cp "$2"/icons/*.ico "$WORK/cmake/icons/" &&
            x86_64-w64-mingw32-windres "$WORK/cmake/app.rc" -O coff -o "$WORK/app.res" || fail windres app.rc
    fi
else
    cat "$WORK/cmake.log"; fail cmake "configure for Windows"
fi

# The presets a Windows builder starts from must at least parse.
(cd "$ROOT" && cmake --workflow --list-presets >/dev/null) || fail cmake CMakePresets.json

# 2. As Qt's CMake targets define for a MinGW program; Qt's folders are system folders, as in CMake.
DEFS=(-DQT_CORE_LIB -DQT_GUI_LIB -DQT_WIDGETS_LIB -DQT_SERIALPORT_LIB -DQT_NO_DEBUG
      -DUNICODE -D_UNICODE -DWIN32 -DMINGW_HAS_SECURE_API=1)
INCS=(-I"$ROOT/src" -isystem "$QT")
for m in QtCore QtGui QtWidgets QtSerialPort; do INCS+=(-isystem "$QT/$m"); done
FLAGS=(-std=c++17 -O0 -Wall -Wextra -pedantic-errors -Werror)
# Clang on MinGW's headers only: the host's /usr/include would hide a missing Windows header.
G=$(dirname "$("$GXX" -print-libgcc-file-name)")
CLANG_TARGET=(--target=x86_64-w64-windows-gnu -nostdinc -nostdinc++ -isystem "$G/include/c++"
    -isystem "$G/include/c++/x86_64-w64-mingw32" -isystem "$("$CLANG" -print-resource-dir)/include"
    -isystem "$G/../../../../x86_64-w64-mingw32/include")
"$GXX" -std=c++17 -dM -E -x c++ /dev/null >"$WORK/predefs.h" # moc sees Windows' macros
moc() { "$MOC" --include "$WORK/predefs.h" "${DEFS[@]}" -I"$ROOT/src" -I"$ROOT/tests/support" "$@"; }
SUITES=$(grep -LE '#include "(SimPorts|WindowRig)\.h"' "$ROOT"/tests/tst_*.cpp)

# 3. POSIX headers MinGW has and MSVC has not.
grep -rnE '#\s*include\s*<(unistd|dirent|pthread|strings|termios|poll|dlfcn|sys/(time|ioctl|socket|mman|wait|resource|timerfd|fsuid))\.h>' \
    "$ROOT/src" "$ROOT/tests/support" $SUITES && fail "POSIX header" "(above)"

# One line per file to compile: the file, then its own flags. The moc output goes first, so that a
# suite finds its .moc file.
jobs=$WORK/jobs; : >"$jobs"
while IFS= read -r h; do
    out="$WORK/moc_$(basename "${h%.h}").cpp"
    if moc "$h" -o "$out"; then echo "$out" >>"$jobs"; else fail moc "$h"; fi
done < <(grep -rl --include='*.h' 'Q_OBJECT' "$ROOT/src" | sort)
for suite in $SUITES; do
    moc "$suite" -o "$WORK/$(basename "$suite" .cpp).moc" || fail moc "$suite"
done
find "$ROOT/src" -name '*.cpp' ! -name main.cpp | sort >>"$jobs"
# The program's own definitions as CMake gives them, shell-quoted as xargs reads them.
echo "$ROOT/src/main.cpp $(grep -s '"command": .* -c [^ ]*/src/main\.cpp"' "$WORK/cmake/compile_commands.json" |
    grep -oE -- '-D[^ ]+' | sed 's/\\\(.\)/\1/g' | paste -sd' ')" >>"$jobs" # a trailing blank would join lines in xargs
TEST_FLAGS="-I$ROOT/tests/support -isystem $QT/QtTest -I$WORK -DQT_TESTLIB_LIB"
for f in "$ROOT"/tests/support/*.cpp $SUITES; do
    [[ $f == */SimPorts.cpp ]] || echo "$f $TEST_FLAGS" >>"$jobs"
done

compile() { # file, extra flags...
    eval "$ARRAYS"
    local f=$1 ok=0; shift
    "$GXX" "${FLAGS[@]}" "${DEFS[@]}" "${INCS[@]}" "$@" -c "$f" -o "$WORK/$(basename "$f").o" ||
        { echo "FAILED (gcc): ${f#"$ROOT"/}"; ok=1; }
    "$CLANG" "${CLANG_TARGET[@]}" "${FLAGS[@]}" "${DEFS[@]}" "${INCS[@]}" "$@" -fsyntax-only "$f" ||
        { echo "FAILED (clang): ${f#"$ROOT"/}"; ok=1; }
    return $ok
}
ARRAYS=$(declare -p FLAGS DEFS INCS CLANG_TARGET) WORK=$WORK ROOT=$ROOT GXX=$GXX CLANG=$CLANG
export -f compile; export ARRAYS WORK ROOT GXX CLANG
# Paths hold no blanks here (a blank would split a line into file and flags).
xargs -P "${JOBS:-2}" -L 1 bash -c 'compile "$@"' compile <"$jobs" || status=1
echo "$(wc -l <"$jobs") files compiled, suites among them: $(for s in $SUITES; do basename "$s" .cpp; done | tr '\n' ' ')"

[ $status -eq 0 ] && echo "Windows build check passed" || echo "Windows build check FAILED"
exit $status
