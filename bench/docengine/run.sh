#!/usr/bin/env bash
# Reading and exporting the text of every corpus document, one process per document as the
# application runs the tools: wall time (best of RUNS) and peak resident memory per document.
# HWP and HWPX go through `pelgrin export-text`, DOCX through `textutil`. With PEER=1 the DOCX
# files are also converted by LibreOffice (`soffice --convert-to txt`) and the ratio printed;
# no tool we may run reads HWP 5, so the HWP rows have no peer column.
# Goal: under 50 ms and 50 MB per document. Then write-hwp.sh times writing HWP 5 the same way.
source "$(dirname "$0")/../../scripts/lib/help.sh"
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${BUILD:-build/bench}
runs=${RUNS:-3}
corpus=${CORPUS:-../shared/corpus}
pelgrin="$build/docengine/pelgrin"
textutil="$build/docengine/textutil"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

source bench/docengine/measure.sh

printf '%-6s %-36s %9s %9s %9s %s\n' format document bytes ms peak_MB peer
over=0 total=0 worst_ms=0 worst_mb=0
for path in "$corpus"/hwp/*.hwp "$corpus"/hwpx/*.hwpx "$corpus"/docx/*.docx; do
  [[ -f "$path" ]] || continue
  ext=${path##*.}
  case $ext in
    hwp | hwpx) [[ -x "$pelgrin" ]] || continue
                result=$(measure "$pelgrin" export-text "$path" -o "$work/out") ;;
    docx) [[ -x "$textutil" ]] || continue
          result=$(measure "$textutil" -convert txt -output "$work/out/doc.txt" "$path") ;;
  esac
  peer=""
  if [[ "$ext" == docx && "${PEER:-0}" == 1 ]] && command -v soffice >/dev/null; then
    peer_result=$(measure soffice -env:UserInstallation=file://"$work"/lo --headless \
                  --convert-to txt --outdir "$work/out" "$path")
    peer=$(awk -v a="${result%% *}" -v b="${peer_result%% *}" 'BEGIN { printf "%.1fx faster", b / a }')
  fi
  if [[ "$result" == FAIL* ]]; then
    printf '%-6s %-36s %9s %s\n' "$ext" "$(basename "$path")" "$(stat -c %s "$path")" "$result"
    continue
  fi
  read -r ms kb <<<"$result"
  mb=$(awk -v k="$kb" 'BEGIN { printf "%.1f", k / 1024 }')
  printf '%-6s %-36s %9s %9s %9s %s\n' "$ext" "$(basename "$path")" "$(stat -c %s "$path")" \
         "$ms" "$mb" "$peer"
  total=$((total + 1))
  if awk -v m="$ms" -v b="$mb" 'BEGIN { exit !(m >= 50 || b >= 50) }'; then over=$((over + 1)); fi
  worst_ms=$(awk -v a="$ms" -v b="$worst_ms" 'BEGIN { print (a > b ? a : b) }')
  worst_mb=$(awk -v a="$mb" -v b="$worst_mb" 'BEGIN { print (a > b ? a : b) }')
done
echo "documents: $total, slowest: $worst_ms ms, largest peak: $worst_mb MB, over the goal: $over"

# The same work inside one process, without the start-up of a tool: the engine's own cost.
if [[ -x "$build/bench/docengine/bench_docengine" ]]; then
  "$build/bench/docengine/bench_docengine" --benchmark_min_time=0.05
fi

# Writing HWP 5, measured the same way.
BUILD="$build" RUNS="$runs" CORPUS="$corpus" bench/docengine/write-hwp.sh
