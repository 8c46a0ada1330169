#!/usr/bin/env bash
# Checks, without Qt for Windows, that the tool still builds for 64-bit Windows. CMake configures the
# project for Windows (MinGW-w64, and a stand-in Qt package over this machine's Qt headers; see
# scripts/windows-cross/), which must pack it as ZIP (and NSIS), not as a Debian package. Then all
# that build compiles (src/ and its moc output, the icon tool, the suites that need no
# pseudo-terminal, the resources with the icon) is compiled: MinGW-w64 makes the objects through
# CMake's own build, and Clang aimed at the same target parses each C++ file again. -pedantic-errors
# turns GNU extensions MSVC rejects (variable-length arrays, designated initializers) into errors;
# any warning fails. POSIX headers, which MinGW has and MSVC has not, fail too. Nothing is linked.
# Needs g++-mingw-w64-x86-64-posix, clang, cmake, ninja-build and Qt's dev packages.
# usage: check_windows_build.sh <source folder> <this machine's build folder, whose icons the Windows
#        build takes>   (JOBS=n files at once, default 2)
set -uo pipefail
ROOT=$(cd "$1" && pwd) ICONS=$(cd "$2/icons" && pwd) || exit 2
CROSS=$ROOT/scripts/windows-cross
CLANG=${CLANG:-clang++} JOBS=${JOBS:-2}
WORK=$(mktemp -d); trap 'rm -rf "$WORK"' EXIT
BUILD=$WORK/build
status=0
fail() { echo "FAILED ($1): ${2#"$ROOT"/}"; status=1; }

# The CMake side, as a Windows builder's first step sees it. -O0: only whether it compiles counts.
if ! cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$CROSS/mingw-w64.cmake" -DQt6_DIR="$CROSS/qt6" \
        -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 -DCMAKE_CXX_FLAGS="-pedantic-errors -Werror" \
        -DDRAVO_ICONS_FROM="$ICONS" \
        >"$WORK/cmake.log" 2>&1; then
    cat "$WORK/cmake.log"; fail cmake "configure for Windows"
    exit 1
fi
generators=$(sed -n 's/^set(CPACK_GENERATOR "\(.*\)")$/\1/p' "$BUILD/CPackConfig.cmake")
echo "configured for Windows; package generators: $generators"
[[ ";$generators;" == *";ZIP;"* && ";$generators;" != *";DEB;"* ]] || fail cmake "package generators"
# The presets a Windows builder starts from must at least parse.
(cd "$ROOT" && cmake --workflow --list-presets >/dev/null) || fail cmake CMakePresets.json

# What the Windows build compiles: one line per C++ file, its folder and its command, as a shell reads it.
sed -n 's/^ *"directory": "\(.*\)",$/\1/p; s/^ *"command": "\(.*\)",$/\1/p' "$BUILD/compile_commands.json" |
    sed 's/\\\(.\)/\1/g' | paste -d'\t' - - | grep '\.cpp$' >"$WORK/commands"
files=$(sed 's/.* -c //' "$WORK/commands" | grep -v '_autogen/' | sort)
grep -nE '#\s*include\s*<(unistd|dirent|pthread|strings|termios|poll|dlfcn|sys/(time|ioctl|socket|mman|wait|resource|timerfd|fsuid))\.h>' \
    $files $(find "$ROOT/src" -name '*.h') && fail "POSIX header" "(above)"

# MinGW-w64: every object, through CMake's build (moc first, as on Windows); every file is tried.
objects=$(ninja -C "$BUILD" -t targets all | sed -n 's/^\(.*\.\(obj\|res\)\): \(CXX\|RC\)_COMPILER.*/\1/p')
ninja -C "$BUILD" -k 0 -j "$JOBS" $objects >"$WORK/gcc.log" 2>&1 ||
    { grep -vE '^\[[0-9]+/[0-9]+\] |^ninja: |^FAILED: |^/[^ ]*x86_64-w64-mingw32-' "$WORK/gcc.log"
      sed -n 's/^FAILED: /FAILED (mingw): /p' "$WORK/gcc.log"; status=1; }
waiting=$(for o in $objects; do [ -f "$BUILD/$o" ] || echo "$o"; done | wc -l)
[ "$waiting" -eq 0 ] || { echo "$waiting files not compiled: they wait on those that failed"; status=1; }

# Clang: the same commands with Clang aimed at Windows, on MinGW's headers only (the host's
# /usr/include would hide a missing Windows header), for each file MinGW-w64 compiled.
G=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
CLANG_AS_MINGW="$CLANG --target=x86_64-w64-windows-gnu -nostdinc -nostdinc++ -isystem $G/include/c++"
CLANG_AS_MINGW+=" -isystem $G/include/c++/x86_64-w64-mingw32 -isystem $("$CLANG" -print-resource-dir)/include"
export CLANG_AS_MINGW+=" -isystem $G/../../../../x86_64-w64-mingw32/include"
parse() { # folder, command
    cd "$1" && eval "$CLANG_AS_MINGW ${2#* }" || { echo "FAILED (clang): ${2##* }"; return 1; }
}
export -f parse
while IFS= read -r line; do
    [ -f "$BUILD/$(sed 's/.* -o \([^ ]*\) -c .*/\1/' <<<"$line")" ] && echo "$line"
done <"$WORK/commands" | sed 's/ -o [^ ]* -c / -fsyntax-only /' |
    xargs -d '\n' -n 1 -P "$JOBS" bash -c 'IFS=$'"'\t'"' read -r dir cmd <<<"$1"; parse "$dir" "$cmd"' parse || status=1

echo "$(wc -l <"$WORK/commands") C++ files in the Windows build, suites among them: $(grep -o '/tests/tst_[a-z]*\.cpp' <<<"$files" | sed 's|.*/||; s|\.cpp||' | paste -sd' ')"
[ $status -eq 0 ] && echo "Windows build check passed" || echo "Windows build check FAILED"
exit $status
