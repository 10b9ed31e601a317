#!/usr/bin/env bash
# Takes a screenshot of the desktop program as a user sees it: under Xvfb with
# a window manager (openbox), the bundled sample corpus set up as the corpus
# list, a word list and then a concordance of "the" run from the empty first
# window, and the whole screen saved as a PNG once the window manager has
# handed the activation back. The newest result window (PLIX3) must be in
# front with the focus: the program says which window is, and the script
# fails otherwise.
#
#   tests/app/screenshot.sh [--no-wm] [OUTPUT.png]   (default: build/screenshot.png)
#
# --no-wm runs without a window manager. BUILD_DIR chooses the build tree
# (default: build). The program is started with its hidden automation
# options (see src/app/main.cpp):
#   --automate-wordlist --automate-concordance=the --automate-grab=OUTPUT.png
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
build=${BUILD_DIR:-build}
wm=openbox
if [ "${1:-}" = "--no-wm" ]; then
  wm=
  shift
fi
output=${1:-$build/screenshot.png}
case $output in /*) ;; *) output=$root/$output ;; esac

# The X server and the window manager are needed here only, not by the tests.
source tools/deps.sh
PLIX_PACKAGES=(xvfb xauth ${wm:+openbox})
plix_install_deps

if [ ! -x "$build/bin/plix" ]; then
  cmake -S . -B "$build" >/dev/null
  cmake --build "$build" -j"$(nproc)" --target plix
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
# The session: the window manager first (given a moment to take the screen),
# then the program; the window manager goes when the program has ended.
session='
if [ -n "$PLIX_WM" ]; then
  "$PLIX_WM" >/dev/null 2>&1 &
  wm_pid=$!
  sleep 1
fi
status=0
"$PLIX_BIN" --automate-wordlist --automate-concordance=the --automate-grab="$PLIX_OUTPUT" || status=$?
if [ -n "${wm_pid:-}" ]; then kill "$wm_pid" 2>/dev/null || true; fi
exit $status
'
status=0
XDG_CONFIG_HOME=$config LC_ALL=C.UTF-8 PLIX_WM=$wm PLIX_BIN=$build/bin/plix PLIX_OUTPUT=$output \
  xvfb-run -a -s "-screen 0 1280x900x24" bash -c "$session" || status=$?
if [ ! -s "$output" ]; then
  echo "no screenshot was written" >&2
  exit 1
fi
echo "screenshot (${wm:-no window manager}): $output"
if [ "$status" -ne 0 ]; then
  echo "the newest result window was not in front with the focus" >&2
  exit "$status"
fi
