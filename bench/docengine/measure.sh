# Sourced by the document benchmarks: `measure CMD...` runs a tool as the application does and
# prints "<ms> <peak kB>" of the best of $runs runs (wall time; peak resident memory of the
# worst run), or "FAIL <last line>" when the tool fails. Needs $runs and $work.
measure() {
  local best_ms="" peak_kb=0
  for ((i = 0; i < runs; i++)); do
    rm -rf "$work/out" && mkdir -p "$work/out"
    local start=$EPOCHREALTIME
    if ! /usr/bin/time -f %M -o "$work/mem" "$@" >"$work/log" 2>&1; then
      echo "FAIL $(tail -n 1 "$work/log")"
      return
    fi
    local end=$EPOCHREALTIME
    local ms kb
    ms=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.1f", (e - s) * 1000 }')
    kb=$(tail -n 1 "$work/mem")
    if [[ -z "$best_ms" ]] || awk -v a="$ms" -v b="$best_ms" 'BEGIN { exit !(a < b) }'; then
      best_ms=$ms
    fi
    ((kb > peak_kb)) && peak_kb=$kb
  done
  echo "$best_ms $peak_kb"
}
