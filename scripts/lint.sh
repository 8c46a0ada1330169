#!/usr/bin/env bash
# Qt's linter, clazy (checks level1 and level2), over the tool's own code: every src/*.cpp and the
# src/ headers it includes. Any warning there fails; Qt's headers, the simulator and the tests are
# not checked. Takes the build folder, configured with compile commands (CMakeLists.txt writes them).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
if [ ! -f "$build/compile_commands.json" ]; then
  echo "lint: no compile_commands.json in $build; configure first (make lint does)" >&2
  exit 2
fi

out=$(mktemp)
trap 'rm -f "$out"' EXIT
# Two files at a time, like the build. clazy failing on a file (one that does not compile) fails too.
if ! find "$root/src" -name '*.cpp' -print0 | sort -z |
     xargs -0 -P "${LINT_JOBS:-2}" -n 1 clazy-standalone -checks=level1,level2 -p "$build" \
       --header-filter="^$root/src/" >"$out" 2>&1; then
  cat "$out"
  echo "lint: clazy could not check every file" >&2
  exit 1
fi
# A header's warning comes once for every file that includes it.
warnings=$(grep -E "^$root/src/[^:]+:[0-9]+:[0-9]+: (warning|error):" "$out" | sort -u || true)
if [ -n "$warnings" ]; then
  echo "$warnings"
  echo "lint: $(wc -l <<<"$warnings") clazy warning(s) in src/" >&2
  exit 1
fi
echo "lint: src/ is clazy-clean"
