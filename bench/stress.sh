#!/usr/bin/env bash
# Stress runs: every plix-cli command over hostile corpora that are too big for
# the unit tests — a single 50 MB line, 10 000 one-line files as one result —
# and the small hostile ones again (random bytes, NUL bytes, an empty file, a
# folder). A run passes when it ends by itself within the time limit with exit
# status 0, or with status 1 and a message naming the file it could not read.
#
#   bench/stress.sh                 use (and build) build/bin/plix-cli
#   PLIX_CLI=path bench/stress.sh   use that binary (e.g. a sanitizer build)
#   STRESS_TIMEOUT=S                seconds per run (default 300)
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
data=$root/bench/data/stress
mkdir -p "$data"
limit=${STRESS_TIMEOUT:-300}

cli=${PLIX_CLI:-}
if [ -z "$cli" ]; then
  cmake -S . -B build >/dev/null && cmake --build build -j"$(nproc)" --target plix-cli >/dev/null || exit 1
  cli=$root/build/bin/plix-cli
fi

# --- inputs, made once -------------------------------------------------------
[ -f "$data/random.bin" ] || head -c 2000000 /dev/urandom >"$data/random.bin"
[ -f "$data/nul.bin" ] || { head -c 1000000 /dev/zero | tr '\0' '\0'; printf 'a b c\n'; head -c 1000 /dev/zero; } >"$data/nul.bin"
: >"$data/empty.txt"
mkdir -p "$data/folder"
if [ ! -f "$data/longline.txt" ]; then
  yes 'the quick brown fox jumps over the lazy dog and a cat' | head -c 50000000 | tr '\n' ' ' >"$data/longline.txt"
fi
if [ ! -d "$data/many" ]; then
  mkdir -p "$data/many"
  for i in $(seq 1 10000); do printf 'line %d of the corpus\n' "$i" >"$data/many/f$i.txt"; done
fi

commands=(wordlist backward descending ascending index rhyme concordance concordance-left
          concordance-right collocation concordance-all)
keyword_args() {
  case "$1" in
    concordance|concordance-left|concordance-right|collocation) printf -- '--keyword\nthe\n' ;;
  esac
}

failures=0
printf '| input | command | status | seconds | note |\n|---|---|---|---|---|\n'
run_case() {
  local name=$1 cmd=$2; shift 2
  local args=() start end status note
  mapfile -t args < <(keyword_args "$cmd")
  start=$(date +%s.%N)
  timeout "$limit" "$cli" "$cmd" --quiet "${args[@]}" "$@" >/dev/null 2>"$data/err.txt"
  status=$?
  end=$(date +%s.%N)
  note=$(head -c 120 "$data/err.txt" | tr '\n' ' ')
  local ok=1
  case $status in
    0) ;;
    1) grep -q "Abort Process" "$data/err.txt" || ok=0 ;;
    124) note="timeout after ${limit}s"; ok=0 ;;
    *) ok=0 ;;
  esac
  [ $ok -eq 1 ] || failures=$((failures + 1))
  printf '| %s | %s | %s | %.2f | %s |\n' "$name" "$cmd" "$status" "$(echo "$end - $start" | bc)" "$note"
}

for cmd in "${commands[@]}"; do
  run_case "random bytes" "$cmd" "$data/random.bin"
  run_case "NUL bytes" "$cmd" "$data/nul.bin"
  run_case "0-byte file" "$cmd" "$data/empty.txt"
  run_case "folder" "$cmd" "$data/folder"
  run_case "50 MB line" "$cmd" "$data/longline.txt"
  run_case "10 000 files, whole" "$cmd" --whole "$data"/many/f*.txt
done
echo
if [ $failures -eq 0 ]; then
  echo "stress: every run ended by itself"
else
  echo "stress: $failures run(s) crashed, hung or failed without a message"
  exit 1
fi
