#!/usr/bin/env bash
# Installs what is missing, builds, and runs PLIX on the bundled sample corpus:
# the desktop program with the samples open in result windows when there is a
# display, else the plix-cli demonstration.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
plix_install_deps

cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)"

samples=(samples/*.txt)
if [ -x build/bin/plix ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  echo "== plix ${samples[*]}"
  exec build/bin/plix "${samples[@]}"
fi
if [ ! -x build/bin/plix ]; then
  echo "The desktop program was not built (Qt 6 missing): running the plix-cli demonstration."
else
  echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): running the plix-cli demonstration."
  echo "With a display, ./run.sh starts build/bin/plix ${samples[*]}."
fi

cli=build/bin/plix-cli
echo
echo "== plix-cli wordlist ${samples[*]} --whole"
"$cli" wordlist --whole "${samples[@]}"
echo
echo "== plix-cli descending ${samples[*]} --whole"
"$cli" descending --whole "${samples[@]}"
echo
echo "== plix-cli concordance --keyword the --length 70 --position 30 samples/harbour.txt"
"$cli" concordance --keyword the --right --length 70 --position 30 samples/harbour.txt
echo
echo "== plix-cli concordance --type COCOA --cocoa-select A='Margaret Hale' --cocoa-output AYP --keyword mill samples/diaries.cocoa"
"$cli" concordance --type COCOA --cocoa-select A="Margaret Hale" --cocoa-output AYP --keyword mill \
  --length 80 --position 40 samples/diaries.cocoa
echo
echo "== plix-cli concordance --type SGML --sgml-exclude NOTE --sgml-output 'DIV N' --keyword river samples/letters.sgml"
"$cli" concordance --type SGML --sgml-exclude NOTE --sgml-output "DIV N" --keyword river \
  --length 80 --position 40 samples/letters.sgml
echo
echo "== plix-cli concordance --type Helsinki --cocoa-output APT --keyword ditch samples/chronicle.helsinki"
"$cli" concordance --type Helsinki --cocoa-output APT --keyword ditch \
  --length 80 --position 40 samples/chronicle.helsinki
echo
echo "== plix-cli concordance --type ICE --ice-show function,category --keyword london samples/talk.ice"
"$cli" concordance --type ICE --ice-show function,category --keyword london \
  --length 80 --position 40 samples/talk.ice
echo
echo "== plix-cli concordance --type BNC --sgml-exclude NOTE --sgml-output 'S N' --keyword river samples/report.bnc"
"$cli" concordance --type BNC --sgml-exclude NOTE --sgml-output "S N" --keyword river \
  --length 80 --position 40 samples/report.bnc
echo
echo "== plix-cli concordance --type PPCME2 --ppcme2-node NP-SBJ --keyword river samples/sermon.ppcme2"
"$cli" concordance --type PPCME2 --ppcme2-node NP-SBJ --keyword river \
  --length 80 --position 40 samples/sermon.ppcme2
