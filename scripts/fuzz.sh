#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address + undefined) and runs each
# for SECONDS (default 60) on its corpus under tests/fuzz/corpus/<name>/.
# New interesting inputs go to build-fuzz/corpus/<name>/; a crash is saved as
# build-fuzz/crash-* and the script fails.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
bash scripts/setup.sh
CC=clang CXX=clang++ bash scripts/build.sh build-fuzz \
  -DQUORIM_FUZZ=ON -DQUORIM_SANITIZE=ON -DQUORIM_GUI=OFF -DQUORIM_TESTS=OFF >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in build-fuzz/tests/fuzz/fuzz_*; do targets+=("$(basename "$f" | sed 's/^fuzz_//')"); done
fi
status=0
for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$t" "tests/fuzz/corpus/$t"
  echo "== fuzz $t for ${seconds}s =="
  if ! ASAN_OPTIONS=detect_leaks=1 "build-fuzz/tests/fuzz/fuzz_$t" \
      -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix=build-fuzz/ \
      "build-fuzz/corpus/$t" "tests/fuzz/corpus/$t" 2>"build-fuzz/fuzz-$t.log"; then
    tail -40 "build-fuzz/fuzz-$t.log"
    status=1
  fi
  grep -E 'stat::number_of_executed_units|Done' "build-fuzz/fuzz-$t.log" | tail -2 || true
done
exit $status
