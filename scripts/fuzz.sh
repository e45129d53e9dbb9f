#!/usr/bin/env bash
# Builds the libFuzzer targets of the readers of outside input with clang and runs each of them for
# the given number of seconds (default 60): scripts/fuzz.sh 300
# FUZZ_TARGETS picks targets ("fuzz_settings fuzz_sectionfile"), FUZZ_JOBS runs that many at
# once. Corpora grow in build/fuzz/corpus/<target>; crashes land in build/fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH="${1:-60}"
OUT="${FUZZ_DIR:-build/fuzz}"
CXX="${FUZZ_CXX:-clang++}"
JOBS="${FUZZ_JOBS:-1}"
TARGETS=(${FUZZ_TARGETS:-fuzz_settings fuzz_savedsitelog fuzz_sectionfile fuzz_linkscanner fuzz_argumentline fuzz_resolvelink fuzz_xml fuzz_lookup fuzz_adrules fuzz_cookies fuzz_robots fuzz_sitemaps fuzz_warc})
FLAGS=(-std=c++20 -O1 -g -I. -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -fno-omit-frame-pointer)

# Every Qt-free library the readers may reach, compiled once and linked from an archive, so a
# target takes only the objects it needs and no list goes stale when the code moves.
CORE_DIRS=(platform engine records xml filters app cui)
# Seeds: typical record files.
declare -A SEEDS=(
  [fuzz_settings]="tests/fuzz/seeds/Sitrov.ini"
  [fuzz_savedsitelog]="tests/data/records/SitrovSaveInfo.golden tests/data/records/WindowsSaveInfo.log"
  [fuzz_sectionfile]="tests/fuzz/seeds/site.qdx"
  [fuzz_xml]="tests/fuzz/seeds/catalogue.xml"
  [fuzz_lookup]="tests/fuzz/seeds/params.xml"
  [fuzz_linkscanner]="tests/fuzz/seeds/page.html tests/data/demo-site/main/index.html"
  [fuzz_adrules]="tests/fuzz/seeds/page.html tests/data/demo-site/main/site/top/index.html"
  [fuzz_argumentline]="tests/fuzz/seeds/argument.txt"
  [fuzz_resolvelink]="tests/fuzz/seeds/link.txt"
  [fuzz_cookies]="tests/fuzz/seeds/cookies.txt"
  [fuzz_robots]="tests/fuzz/seeds/robots.txt"
  [fuzz_sitemaps]="tests/fuzz/seeds/sitemap.xml tests/fuzz/seeds/sitemap-index.xml tests/fuzz/seeds/sitemap.xml.gz"
  [fuzz_warc]="tests/fuzz/seeds/sample.warc tests/fuzz/seeds/sample.warc.gz"
)

mkdir -p "$OUT/artifacts" "$OUT/core"
echo "fuzz: building the core archive"
objects=()
for src in $(ls ${CORE_DIRS[@]/%//*.cpp} | grep -v '/main\.cpp$'); do
  obj="$OUT/core/$(echo "$src" | tr / _).o"
  if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ]; then
    # Coverage without libFuzzer's main: the targets bring that in.
    "$CXX" "${FLAGS[@]/-fsanitize=fuzzer,/-fsanitize=fuzzer-no-link,}" -c "$src" -o "$obj"
  fi
  objects+=("$obj")
done
rm -f "$OUT/core/libcore.a"
ar rcs "$OUT/core/libcore.a" "${objects[@]}"
for t in "${TARGETS[@]}"; do
  echo "fuzz: building $t"
  "$CXX" "${FLAGS[@]}" "tests/fuzz/$t.cpp" "$OUT/core/libcore.a" -lcurl -lz -lzip -lbrotlidec -ldl -o "$OUT/$t"
  mkdir -p "$OUT/corpus/$t"
  for s in ${SEEDS[$t]}; do cp -n "$s" "$OUT/corpus/$t/" 2>/dev/null || true; done
done

run() {
  local t="$1"
  echo "fuzz: running $t for ${SECONDS_EACH}s"
  local rc=0
  "$OUT/$t" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
    -artifact_prefix="$OUT/artifacts/$t-" -print_final_stats=1 "$OUT/corpus/$t" >"$OUT/$t.log" 2>&1 || rc=$?
  grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb|Done|==.*ERROR|SUMMARY)" "$OUT/$t.log" | sed "s/^/$t: /"
  return $rc
}

status=0
pids=()
for t in "${TARGETS[@]}"; do
  run "$t" &
  pids+=($!)
  if [ "${#pids[@]}" -ge "$JOBS" ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for p in "${pids[@]}"; do wait "$p" || status=1; done
exit $status
