#!/usr/bin/env bash
# The folders of src/ include only folders below their own, so that each layer can be read, built
# and tested without those above it. Prints every include that points the wrong way.
# usage: check_layers.sh <src folder>
set -euo pipefail
src=$1
# What each folder may include besides itself: a folder, or a single header of one.
declare -A allowed=([state]="" [platform]="state" [link]="platform state" [protocol]="link platform state"
  [convert]="protocol/NumberText.h state" [files]="convert platform state"
  [core]="convert files link platform protocol state" [ui]="convert core files link platform protocol state")
bad=0
while IFS=: read -r file line text; do
  folder=${file#"$src"/}; folder=${folder%%/*}
  target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)".*/\1/' <<<"$text")
  [ "${target%%/*}" = "$folder" ] || [ ! -d "$src/${target%%/*}" ] && continue # own folder, or not a folder of src
  ok=0
  for a in ${allowed[$folder]-}; do
    [ "$target" = "$a" ] || [ "${target%%/*}" = "$a" ] && ok=1
  done
  [ -n "${allowed[$folder]+set}" ] || echo "$file:$line: folder '$folder' has no place among the layers"
  [ $ok = 1 ] || { echo "$file:$line: $text"; bad=1; }
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"/]+/' "$src" --include='*.h' --include='*.cpp' \
           | grep -v "^$src/[^/]*:") # main.cpp stands above every folder
[ $bad = 0 ] || { echo "FAIL: includes above their own folder"; exit 1; }
echo "every include points down"
