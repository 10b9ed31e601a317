#!/usr/bin/env bash
# Takes a screenshot of the desktop program under Xvfb: the bundled sample
# corpus set up as the corpus list, a concordance of "the" run at start-up,
# and the main window (menus, tool bar, the result with its keywords in red)
# saved as a PNG.
#
#   tests/app/screenshot.sh [OUTPUT.png]     (default: build/screenshot.png)
#
# BUILD_DIR chooses the build tree (default: build). The program is started
# with its hidden automation options (see src/app/main.cpp):
#   --automate-concordance=the --automate-grab=OUTPUT.png
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
build=${BUILD_DIR:-build}
output=${1:-$build/screenshot.png}
case $output in /*) ;; *) output=$root/$output ;; esac

if [ ! -x "$build/bin/plix" ]; then
  cmake -S . -B "$build" >/dev/null
  cmake --build "$build" -j"$(nproc)" --target plix
fi
if ! command -v xvfb-run >/dev/null; then
  echo "xvfb-run is missing: apt-get install xvfb xauth" >&2
  exit 1
fi

# A private settings folder holding a corpus list of the sample corpus; the
# user's own settings are never touched.
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
mkdir -p "$config/PLIX"
corpus=$root/samples/harbour.txt
settings="[CorpusList]
Max=1
File=0
Whole=0
Language=System

[Input]
Input1=$corpus

[Output]
Output1=${corpus%.txt}.plx

[Type]
Len=100
Pos=50
"
printf '%s' "$settings" >"$config/PLIX/plix.conf"

mkdir -p "$(dirname "$output")"
rm -f "$output"
XDG_CONFIG_HOME=$config LC_ALL=C.UTF-8 \
  xvfb-run -a -s "-screen 0 1280x900x24" \
  "$build/bin/plix" "$corpus" --automate-concordance=the --automate-grab="$output"
if [ ! -s "$output" ]; then
  echo "no screenshot was written" >&2
  exit 1
fi
echo "screenshot: $output"
