#!/bin/bash
# run_in_parts.sh PARTS SUITE: runs a Qt Test suite as PARTS processes side by side, its rows (a
# function, or one data row of one) dealt out in turn. The suites wait on simulated serial lines far
# more than they compute, so the parts do not slow each other. Prints every failed part's output.
set -u
parts=$1 suite=$2
mapfile -t rows < <("$suite" -datatags 2>/dev/null | sed -E 's/^[^ ]+ //; s/ /:/')
((${#rows[@]})) || { echo "$suite lists no tests"; exit 1; }
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
    wait "${pids[k]}" || { failed=1; echo "---- part $k failed:"; cat "$out/$k"; }
done
echo "${#rows[@]} tests in ${#pids[@]} parts"
exit $failed
