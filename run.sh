#!/usr/bin/env bash
# Installs what is missing, builds, and runs PLIX on the bundled sample corpus.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
plix_install_deps

cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)"

samples=(samples/*.txt)
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
