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
layer_of() {
  local path=$1 best=""
  for l in "${!ALLOWED[@]}"; do
    if [[ $path == "$l"/* && ${#l} -gt ${#best} ]]; then best=$l; fi
  done
  echo "$best"
}

status=0
while IFS= read -r file; do
  rel=${file#src/}
  own=$(layer_of "$rel")
  if [ -z "$own" ]; then
    echo "layers: $file lies in no known layer" >&2
    status=1
    continue
  fi
  while IFS= read -r line; do
    inc=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]+"([^"]+)".*/\1/' <<<"$line")
    target=$(layer_of "$inc")
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
