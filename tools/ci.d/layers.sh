#!/usr/bin/env bash
# Fails when a file of src/ includes from a layer above its own. Includes are
# written from src/, so the first folders of an include line name its layer.
set -euo pipefail
cd "$(dirname "$0")/../.."

# The layers each layer may include from, besides itself. Written once, here.
declare -A ALLOWED=(
  [platform]=""
  [platform/qtnet]="platform"
  [platform/qtgui]="platform"
  [model]="platform platform/qtnet"
  [genlib]="platform"
  [help]="platform"
  [toolkit]="platform platform/qtgui"
  [help/whatsthis]="platform platform/qtgui help toolkit"
  [screens]="platform platform/qtnet platform/qtgui model genlib help toolkit help/whatsthis"
  [langedit]="platform platform/qtgui toolkit"
  [app]="platform platform/qtnet platform/qtgui model genlib help toolkit help/whatsthis screens"
)

# The layer of a path below src/: the longest name of ALLOWED it starts with.
# Sets LAYER rather than printing it, so no subshell runs per include.
layer_of() {
  local path=$1 l
  LAYER=""
  for l in "${!ALLOWED[@]}"; do
    if [[ $path == "$l"/* && ${#l} -gt ${#LAYER} ]]; then LAYER=$l; fi
  done
}

status=0
while IFS= read -r file; do
  rel=${file#src/}
  layer_of "$rel"
  own=$LAYER
  if [ -z "$own" ]; then
    echo "layers: $file lies in no known layer" >&2
    status=1
    continue
  fi
  while IFS= read -r line; do
    [[ $line =~ \"([^\"]+)\" ]] || continue
    inc=${BASH_REMATCH[1]}
    layer_of "$inc"
    target=$LAYER
    if [ -z "$target" ]; then
      echo "layers: $file includes \"$inc\", which names no layer (write includes from src/)" >&2
      status=1
    elif [ "$target" != "$own" ] && [[ " ${ALLOWED[$own]} " != *" $target "* ]]; then
      echo "layers: $file ($own) includes \"$inc\" from $target, which $own may not use" >&2
      status=1
    fi
  done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]+"' "$file" || true)
done < <(git ls-files 'src/*.cpp' 'src/*.h' 'src/*.c'; git ls-files --others --exclude-standard 'src/*.cpp' 'src/*.h' 'src/*.c')

if [ $status -eq 0 ]; then echo "layers: every include stays within its layer's allowed directions"; fi
exit $status
