#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ in build-fuzz/ (clang, ASan and
# UBSan) and runs each for SECONDS (default 60), one after the other.
# Exit code 0 when no harness crashed, leaked, ran out of memory or hung;
# otherwise 1, with the input that did it in build-fuzz/crashes/<target>/
# and the harness's report in build-fuzz/logs/<target>.log.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
# FUZZ_FLAGS adds libFuzzer options, e.g. for a long run that goes on
# after a finding: FUZZ_FLAGS="-fork=1 -ignore_crashes=1 -ignore_ooms=1".
set -euo pipefail
seconds="${1:-60}"
shift || true
cd "$(dirname "$0")/.."
root="$PWD"

export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
if [ ! -f build-fuzz/build.ninja ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
    -DBILLPRINT_FUZZ=ON -DBILLPRINT_TESTS=OFF -DBILLPRINT_BENCH=OFF
fi
cmake --build build-fuzz -j"$(nproc)"

# The longest input each harness is given: room for a small workbook or
# package, a long pasted text, a typed amount.
declare -A max_len=(
  [xlsx]=1048576 [ods]=1048576 [xls]=1048576 [package]=1048576
  [text]=65536 [ini]=16384 [address]=4096 [amount]=256
)
targets=("$@")
[ "${#targets[@]}" -gt 0 ] || targets=(xlsx ods xls text package address amount ini)

# Temporary files and anything a reader keeps per user stay in the build
# folder; a crash leaves its input file there.
mkdir -p build-fuzz/tmp build-fuzz/home build-fuzz/logs
export TMPDIR="$root/build-fuzz/tmp" HOME="$root/build-fuzz/home"
export XDG_CONFIG_HOME="$HOME/config" XDG_DATA_HOME="$HOME/data" XDG_CACHE_HOME="$HOME/cache"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=0"
export LSAN_OPTIONS="suppressions=$root/fuzz/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

failed=()
for t in "${targets[@]}"; do
  [ -n "${max_len[$t]:-}" ] || { echo "unknown fuzz target: $t" >&2; exit 2; }
  # New inputs the fuzzer finds go to build-fuzz/corpus; the seeds in the
  # repository are only read.
  mkdir -p "build-fuzz/corpus/$t" "build-fuzz/crashes/$t"
  dict=()
  [ -f "fuzz/$t.dict" ] && dict=(-dict="fuzz/$t.dict")
  echo "== fuzz_$t: ${seconds}s"
  if build-fuzz/fuzz_"$t" "build-fuzz/corpus/$t" "fuzz/corpus/$t" "${dict[@]}" \
      -max_total_time="$seconds" -max_len="${max_len[$t]}" -rss_limit_mb=2048 -timeout=10 \
      -artifact_prefix="build-fuzz/crashes/$t/" -print_final_stats=1 ${FUZZ_FLAGS:-} \
      >"build-fuzz/logs/$t.log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^Done|^INFO: exiting' "build-fuzz/logs/$t.log" | tr '\n' ' ' || true
    echo
  else
    echo "fuzz_$t FAILED; the report (build-fuzz/logs/$t.log) ends:"
    grep -v '^#[0-9]' "build-fuzz/logs/$t.log" | tail -40
    ls build-fuzz/crashes/"$t"/
    failed+=("$t")
  fi
done

if [ "${#failed[@]}" -gt 0 ]; then
  echo "fuzzing found problems in: ${failed[*]} (inputs in build-fuzz/crashes/)" >&2
  exit 1
fi
echo "fuzzing: no crash, leak or hang in ${targets[*]}"
