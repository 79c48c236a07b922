#!/usr/bin/env bash
# Writing every corpus document as HWP 5, one process per document as the application runs
# the tools: `pelgrin convert SRC OUT.hwp --verify-pages` for HWP and HWPX sources,
# `wordbridge docx2hwp SRC OUT.hwp` for DOCX. Wall time (best of RUNS) and peak resident
# memory per document. No other program on Linux writes HWP 5, so there is no peer to run
# beside it; the ratio column compares with our own HWPX writing of the same source
# (`pelgrin export-hwpx` / `wordbridge docx2hwp OUT.hwpx`) in the same run.
# Goal: under 50 ms and 50 MB per document.
source "$(dirname "$0")/../../scripts/lib/help.sh"
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${BUILD:-build/bench}
runs=${RUNS:-3}
corpus=${CORPUS:-../shared/corpus}
pelgrin="$build/docengine/pelgrin"
wordbridge="$build/docengine/wordbridge"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

source bench/docengine/measure.sh

printf '%-6s %-36s %9s %9s %9s %s\n' format document bytes ms peak_MB "vs HWPX"
over=0 total=0 worst_ms=0 worst_mb=0
for path in "$corpus"/hwp/*.hwp "$corpus"/hwpx/*.hwpx "$corpus"/docx/*.docx; do
  [[ -f "$path" ]] || continue
  ext=${path##*.}
  case $ext in
    hwp | hwpx)
      result=$(measure "$pelgrin" convert "$path" "$work/out/doc.hwp" --verify-pages)
      reference=$(measure "$pelgrin" export-hwpx "$path" "$work/out/doc.hwpx") ;;
    docx)
      result=$(measure "$wordbridge" docx2hwp "$path" "$work/out/doc.hwp")
      reference=$(measure "$wordbridge" docx2hwp "$path" "$work/out/doc.hwpx") ;;
  esac
  if [[ "$result" == FAIL* ]]; then
    printf '%-6s %-36s %9s %s\n' "$ext" "$(basename "$path")" "$(stat -c %s "$path")" "$result"
    continue
  fi
  read -r ms kb <<<"$result"
  ratio=$(awk -v a="$ms" -v b="${reference%% *}" 'BEGIN { printf "%.2fx", a / b }')
  mb=$(awk -v k="$kb" 'BEGIN { printf "%.1f", k / 1024 }')
  printf '%-6s %-36s %9s %9s %9s %s\n' "$ext" "$(basename "$path")" "$(stat -c %s "$path")" \
         "$ms" "$mb" "$ratio"
  total=$((total + 1))
  if awk -v m="$ms" -v b="$mb" 'BEGIN { exit !(m >= 50 || b >= 50) }'; then over=$((over + 1)); fi
  worst_ms=$(awk -v a="$ms" -v b="$worst_ms" 'BEGIN { print (a > b ? a : b) }')
  worst_mb=$(awk -v a="$mb" -v b="$worst_mb" 'BEGIN { print (a > b ? a : b) }')
done
echo "documents: $total, slowest: $worst_ms ms, largest peak: $worst_mb MB, over the goal: $over"

# The writer alone, inside one process, with HWPX writing of the same models beside it.
if [[ -x "$build/bench/docengine/bench_hwp_write" ]]; then
  "$build/bench/docengine/bench_hwp_write" --benchmark_min_time=0.05
fi
