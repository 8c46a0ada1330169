#!/bin/bash
# run_in_parts.sh PARTS SUITE: runs a Qt Test suite as PARTS processes side by side, its rows (one
# function, or one function's data row) dealt out in turn. The suites wait on simulated serial lines
# far more than they compute, so the parts share the processor without slowing each other.
# Prints the output of every part that failed; exits non-zero if any did.
set -u
parts=$1 suite=$2
mapfile -t rows < <("$suite" -datatags 2>/dev/null | sed -E 's/^[^ ]+ //; s/ /:/')
if ((${#rows[@]} == 0)); then
    echo "run_in_parts: $suite lists no tests" >&2
    exit 1
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
pids=()
for ((k = 0; k < parts && k < ${#rows[@]}; ++k)); do
    args=()
    for ((i = k; i < ${#rows[@]}; i += parts)); do args+=("${rows[i]}"); done
    "$suite" "${args[@]}" >"$out/$k" 2>&1 &
    pids+=($!)
done
failed=0
for k in "${!pids[@]}"; do
    if ! wait "${pids[k]}"; then
        failed=1
        echo "---- part $k of ${#pids[@]} failed:"
        cat "$out/$k"
    fi
done
grep -h '^Totals:' "$out"/* | awk '{ p += $2; f += $4; s += $6 } END { print "Totals: " p " passed, " f " failed, " s " skipped, in " NR " parts" }'
exit $failed
