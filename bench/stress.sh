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
#   FUZZ_SECONDS=S                  seconds per markup fuzzer (default 30; 0 skips them)
#   STRESS_ONLY=fuzz|cli            run only one of the two parts
#
# Then every libFuzzer target (fuzz/*_fuzz.cpp: each corpus handler's and the
# pattern layer's) runs for
# FUZZ_SECONDS, built with clang in build-fuzz/ (ASan and UBSan on); a crash,
# a leak, undefined behaviour or a hang counts as a failure.
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

if [ "${STRESS_ONLY:-}" != fuzz ]; then
  for cmd in "${commands[@]}"; do
    run_case "random bytes" "$cmd" "$data/random.bin"
    run_case "NUL bytes" "$cmd" "$data/nul.bin"
    run_case "0-byte file" "$cmd" "$data/empty.txt"
    run_case "folder" "$cmd" "$data/folder"
    run_case "50 MB line" "$cmd" "$data/longline.txt"
    run_case "10 000 files, whole" "$cmd" --whole "$data"/many/f*.txt
  done
fi
echo

# --- the markup parsers under libFuzzer ----------------------------------------
fuzz_seconds=${FUZZ_SECONDS:-30}
if [ "${STRESS_ONLY:-}" != cli ] && [ "$fuzz_seconds" -gt 0 ]; then
  if ! command -v clang++ >/dev/null; then
    echo "stress: clang++ is not installed; the fuzzers were not run"
    failures=$((failures + 1))
  elif ! { CC=clang CXX=clang++ cmake -S . -B build-fuzz -DPLIX_FUZZ=ON -DPLIX_BUILD_DESKTOP=OFF \
             -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$data/fuzz-build.log" 2>&1 &&
           cmake --build build-fuzz -j"$(nproc)" >>"$data/fuzz-build.log" 2>&1; }; then
    echo "stress: the fuzzers did not build; see $data/fuzz-build.log"
    failures=$((failures + 1))
  else
    printf '| fuzzer | seconds | runs | result |\n|---|---|---|---|\n'
    for fuzzer in build-fuzz/fuzz/*_fuzz; do
      name=$(basename "$fuzzer")
      corpus_dir=$data/fuzz-corpus/$name
      mkdir -p "$corpus_dir"
      log=$data/$name.log
      # Findings are written to the log's folder, never into the tree.
      "$fuzzer" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$data/$name-" "$corpus_dir" >"$log" 2>&1
      status=$?
      runs=$(grep -o 'Done [0-9]* runs' "$log" | grep -o '[0-9]*' | tail -n1)
      if [ $status -eq 0 ]; then
        result=clean
      else
        result="FINDING (exit $status; see $log)"
        failures=$((failures + 1))
      fi
      printf '| %s | %s | %s | %s |\n' "$name" "$fuzz_seconds" "${runs:-?}" "$result"
    done
  fi
  echo
fi
if [ $failures -eq 0 ]; then
  echo "stress: every run ended by itself and every fuzzer ran clean"
else
  echo "stress: $failures run(s) or fuzzer(s) crashed, hung or failed without a message"
  exit 1
fi
