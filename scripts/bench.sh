#!/usr/bin/env bash
# Builds and runs every benchmark and prints one table: each row a measured
# value, the floor or target it is held against, and their ratio.
#   scripts/bench.sh [--quick] [BUILD_DIR]
# --quick runs each benchmark once (a check that they all run, not a figure).
# Timings on a shared machine are noisy: every figure is a median of repeats.
set -euo pipefail
cd "$(dirname "$0")/.."
quick=0
if [ "${1:-}" = "--quick" ]; then
  quick=1
  shift
fi
dir=${1:-build}
[ -f "$dir/CMakeCache.txt" ] || cmake -S . -B "$dir" -G Ninja >/dev/null
known=$(cmake --build "$dir" --target help)
targets=(quorim_link_bench quorim_tuning_bench quorim_codec_bench quorim_startup_bench quorim_batch_bench Quorim_CH)
for t in quorim_qt_floor quorim_gui_bench Tarvolin; do
  if grep -q "^$t:" <<<"$known"; then targets+=("$t"); fi
done
cmake --build "$dir" -j2 --target "${targets[@]}" >/dev/null

if [ $quick = 1 ]; then
  runs=(link:1 tuning:1 codec:0.1 startup:1 batch:1 gui:1)
else
  runs=(link:3 tuning:7 codec:1 startup:9 batch:3 gui:3)
fi
export QT_QPA_PLATFORM=offscreen
rows=$(mktemp)
notes=$(mktemp)
errors=$(mktemp)
trap 'rm -f "$rows" "$notes" "$errors"' EXIT
status=0
for r in "${runs[@]}"; do
  name=${r%%:*}
  arg=${r#*:}
  prog="$dir/bench/quorim_${name}_bench"
  # Only a program this build tree still makes (not one left from an older one).
  if ! grep -q "^quorim_${name}_bench:" <<<"$known"; then
    echo "# $name: not built here" >>"$notes"
    continue
  fi
  if ! out=$("$prog" "$arg" 2>"$errors"); then
    { echo "# $name: FAILED"; sed 's/^/#   /' "$errors"; } >>"$notes"
    status=1
  fi
  grep -v -e '^benchmark ' -e '^#' <<<"$out" >>"$rows" || true
  grep '^#' <<<"$out" >>"$notes" || true
done
printf '%-28s %10s %10s %7s  %s\n' benchmark measured against ratio target
cat "$rows"
cat "$notes"
echo "# $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load $(cut -d' ' -f1-3 /proc/loadavg), $(date -u '+%Y-%m-%d %H:%M UTC')"
exit $status
