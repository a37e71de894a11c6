#!/usr/bin/env bash
# Fails when a file of src/ includes from a layer above its own, when a library
# of src/ compiles a file of another layer, and when a library links a Qt
# module that its layer may not use. Includes are written from src/, so the
# first folders of an include line name its layer.
set -euo pipefail
cd "$(dirname "$0")/../.."

# The layers each layer may include from, besides itself. Written once, here.
declare -A ALLOWED=(
  [platform]=""
  [platform/qtgui]="platform"
  [model]="platform"
  [genlib]="platform"
  [printing]="platform platform/qtgui model genlib"
  [help]="platform"
  [help/viewer]="platform help"
  [toolkit]="platform platform/qtgui"
  [help/whatsthis]="platform platform/qtgui help toolkit"
  [screens]="platform platform/qtgui model genlib printing help toolkit help/whatsthis"
  [langedit]="platform platform/qtgui toolkit"
  [app]="platform platform/qtgui model genlib printing help toolkit help/whatsthis screens"
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

# The Qt modules each layer's libraries link themselves. A library may also
# link what the libraries of the layers it may use bring along, and nothing
# else: the model and the plain platform stay free of Qt, and only the layers
# that hold windows have Widgets.
declare -A QT=(
  [platform]=""
  [platform/qtgui]="Core Gui PrintSupport Svg Network"
  [model]=""
  [genlib]="Core Gui"
  [printing]="Core Gui"
  [help]=""
  [help/viewer]="Core Gui Widgets"
  [toolkit]="Core Gui Widgets"
  [help/whatsthis]="Core Gui Widgets"
  [screens]="Core Gui Widgets"
  [langedit]="Core Gui Widgets"
  [app]="Core Gui Widgets"
)
for l in "${!ALLOWED[@]}"; do
  [[ -v QT[$l] ]] || { echo "layers: layer $l has no entry of Qt modules" >&2; exit 1; }
done

# What the build makes of src/: a configured (not built) scratch build, whose
# compile commands tell each library's folder and files, and whose dependency
# graph tells what each links.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
if ! cmake -S . -B "$scratch" -G Ninja -DZORVIK_BUILD_TESTS=OFF -DZORVIK_BENCH=OFF \
    --graphviz="$scratch/graph/links.dot" >"$scratch/configure.log" 2>&1; then
  cat "$scratch/configure.log" >&2
  echo "layers: the build could not be configured" >&2
  exit 1
fi

declare -A TARGET_LAYER=()
root=$PWD/
target=""
while IFS= read -r line; do
  if [[ $line =~ \ -o\ ([^ ]+)/CMakeFiles/([^/ ]+)\.dir/ ]]; then
    dir=${BASH_REMATCH[1]}
    target=${BASH_REMATCH[2]}
    if [[ $dir != src/* ]]; then target=""; continue; fi
    layer_of "${dir#src/}/"
    if [ -z "$LAYER" ]; then
      echo "layers: library $target ($dir) lies in no known layer" >&2
      status=1
      target=""
      continue
    fi
    TARGET_LAYER[$target]=$LAYER
  elif [ -n "$target" ] && [[ $line =~ \"file\":\ \"([^\"]+)\" ]]; then
    file=${BASH_REMATCH[1]}
    [[ $file == "$root"src/* ]] || continue  # made by the build
    layer_of "${file#"$root"src/}"
    if [ "$LAYER" != "${TARGET_LAYER[$target]}" ]; then
      echo "layers: library $target (${TARGET_LAYER[$target]}) compiles ${file#"$root"} of ${LAYER:-no layer}; link that layer's library instead" >&2
      status=1
    fi
  fi
done <"$scratch/compile_commands.json"

# Edges of the graph: "a -> b" where a links b.
declare -A LINKS=()
while IFS= read -r line; do
  [[ $line =~ //\ ([^ ]+)\ -\>\ ([^ ]+)$ ]] || continue
  LINKS[${BASH_REMATCH[1]}]+=" ${BASH_REMATCH[2]}"
done <"$scratch/graph/links.dot"

# The Qt modules a target links, itself or through anything it links. Qt's
# own dependencies, its code generators and Qt6::Platform (the compile
# settings every Qt target carries) do not count.
qt_modules_of() {
  local -A seen=()
  local -a todo=("$1")
  local node next
  MODULES=""
  while [ ${#todo[@]} -gt 0 ]; do
    node=${todo[-1]}
    unset 'todo[-1]'
    for next in ${LINKS[$node]:-}; do
      [[ -v seen[$next] ]] && continue
      seen[$next]=1
      if [[ $next == Qt6::* ]]; then
        case ${next#Qt6::} in moc | rcc | uic | Platform) ;; *) MODULES+=" ${next#Qt6::}" ;; esac
      else
        todo+=("$next")
      fi
    done
  done
}

for target in "${!TARGET_LAYER[@]}"; do
  own=${TARGET_LAYER[$target]}
  permitted=" ${QT[$own]} "
  for l in ${ALLOWED[$own]}; do permitted+="${QT[$l]} "; done
  qt_modules_of "$target"
  for m in $MODULES; do
    if [[ $permitted != *" $m "* ]]; then
      echo "layers: library $target ($own) links Qt $m, which $own may not use" >&2
      status=1
    fi
  done
done

if [ $status -eq 0 ]; then echo "layers: every library compiles its own layer's files and links only the Qt its layer may use"; fi
exit $status
