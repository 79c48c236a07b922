#!/usr/bin/env bash
# Times our conversions side by side with the tools a user would otherwise reach for, in
# one run, and prints a table of wall time, CPU time (user + system), peak memory
# (/usr/bin/time -v's maximum resident set) and output size, with our figures as ratios
# of each peer's:
#   24-megapixel JPEG to PNG, JPG (Q 90), TIFF and BMP   vs  vips copy, ImageMagick convert
#   12-megapixel JPEG to HEIC (Q 90)                     vs  vips copy (libheif defaults), convert
#   20-page PDF to PNG pages at 144 dpi                  vs  pdftoppm -r 144 -png
#     (in-process through bench_convert, which holds every library of the core as the tray
#      application does, and as a user runs it: tavrino-cli, which loads the page engine
#      alone)
#
# usage: bench/convert/run.sh [BUILD_DIR]     (default $BUILD, else build/bench, as Release)
# CASES="jpg24 pdf20" limits the run to the cases whose names start so.
# REPS=n repeats every command n times and keeps the fastest (default 1: the machine is
# shared, so keep the load short). The inputs are made once in $TAVRINO_BENCH_WORK.
source "$(dirname "$0")/../../scripts/lib/help.sh"
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-${BUILD:-$root/build/bench}}
reps=${REPS:-1}
work=${TAVRINO_BENCH_WORK:-${TMPDIR:-/tmp}/tavrino-bench-convert}

if [[ ! -x $build/bench/bench_convert ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRINO_GUI=OFF \
        -DTAVRINO_TESTS=OFF >/dev/null
  cmake --build "$build" --target bench_convert >/dev/null
fi
build=$(cd "$build" && pwd)
ours=$build/bench/bench_convert
# The real ImageMagick, not a wrapper that may stand in front of it on PATH.
magick=/usr/bin/convert
[[ -x /usr/bin/convert-im6.q16 ]] && magick=/usr/bin/convert-im6.q16

"$root/bench/convert/make-fixtures.sh" "$work/in"
results=$work/results.txt
: >"$results"

# smaller A [B]: the smaller number; A alone when B is empty.
smaller() { awk -v a="$1" -v b="${2:-}" 'BEGIN { print (b == "" || a + 0 < b + 0) ? a : b }'; }

# measure CASE TOOL INPUT COMMAND...: runs COMMAND in a fresh folder holding a link to
# INPUT (our converter writes beside its input), "{in}" in COMMAND standing for the link.
measure() {
  local case=$1 tool=$2 input=$3
  shift 3
  if [[ -n ${CASES:-} ]] && ! grep -qE "^(${CASES// /|})" <<<"$case"; then return; fi
  local best_wall="" best_cpu="" peak=0 bytes=0 rep
  for ((rep = 0; rep < reps; rep++)); do
    local dir=$work/run
    rm -rf "$dir" && mkdir -p "$dir"
    ln -s "$input" "$dir/$(basename "$input")"
    local args=() arg
    for arg in "$@"; do args+=("${arg//\{in\}/$dir/$(basename "$input")}"); done
    (cd "$dir" && /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" "${args[@]}" >/dev/null 2>"$work/stderr.txt") ||
      { echo "$case/$tool failed: $(tail -1 "$work/stderr.txt")" >&2; return; }
    read -r wall user sys rss <"$work/time.txt"
    local cpu
    cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')
    best_wall=$(smaller "$wall" "$best_wall")
    best_cpu=$(smaller "$cpu" "$best_cpu")
    ((rss > peak)) && peak=$rss
    bytes=$(find "$dir" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
  done
  echo "$case $tool $best_wall $best_cpu $peak $bytes" >>"$results"
  printf '  %-14s %-9s %7ss wall %7ss cpu %7d KB %10d bytes\n' "$case" "$tool" "$best_wall" \
    "$best_cpu" "$peak" "$bytes" >&2
}

photo24=$work/in/photo24.jpg
photo12=$work/in/photo12.jpg
pages=$work/in/pages20.pdf

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)" >&2
measure jpg24-png ours "$photo24" "$ours" convert "{in}" png
measure jpg24-png vips "$photo24" vips copy "{in}" out.png
measure jpg24-png magick "$photo24" "$magick" "{in}" out.png
measure jpg24-jpg ours "$photo24" "$ours" convert "{in}" jpg
measure jpg24-jpg vips "$photo24" vips copy "{in}" "out.jpg[Q=90]"
measure jpg24-jpg magick "$photo24" "$magick" "{in}" -quality 90 out.jpg
measure jpg24-tiff ours "$photo24" "$ours" convert "{in}" tiff
measure jpg24-tiff vips "$photo24" vips copy "{in}" out.tif
measure jpg24-tiff magick "$photo24" "$magick" "{in}" -compress none out.tif
measure jpg24-bmp ours "$photo24" "$ours" convert "{in}" bmp
measure jpg24-bmp vips "$photo24" vips copy "{in}" out.bmp
measure jpg24-bmp magick "$photo24" "$magick" "{in}" out.bmp
measure jpg12-heic ours "$photo12" "$ours" convert "{in}" heic
measure jpg12-heic vips "$photo12" vips copy "{in}" "out.heic[Q=90]"
measure jpg12-heic magick "$photo12" "$magick" "{in}" -quality 90 out.heic
measure pdf20-png ours "$pages" "$ours" convert "{in}" png
measure pdf20-png pdftoppm "$pages" pdftoppm -r 144 -png "{in}" out
if [[ -x $build/src/tavrino-cli ]]; then
  measure pdf20-png-cli ours "$pages" "$build/src/tavrino-cli" run "convert(png)" "{in}"
  measure pdf20-png-cli pdftoppm "$pages" pdftoppm -r 144 -png "{in}" out
fi
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)" >&2

# The table: every peer row carries our figures divided by the peer's (below 1 is better
# for time and memory).
awk '
  { wall[$1, $2] = $3; cpu[$1, $2] = $4; rss[$1, $2] = $5; size[$1, $2] = $6
    if (!($1 in seen)) { seen[$1] = 1; order[++n] = $1 }
    tools[$1] = tools[$1] " " $2 }
  END {
    print "| case | tool | wall s | cpu s | peak MB | output MB | ours/peer wall | ours/peer cpu | ours/peer peak |"
    print "|---|---|---|---|---|---|---|---|---|"
    for (i = 1; i <= n; i++) {
      c = order[i]; k = split(tools[c], t, " ")
      for (j = 1; j <= k; j++) {
        tool = t[j]; line = sprintf("| %s | %s | %.2f | %.2f | %.0f | %.2f |", c, tool,
          wall[c, tool], cpu[c, tool], rss[c, tool] / 1024, size[c, tool] / 1048576)
        if (tool == "ours" || !((c, "ours") in wall)) line = line " | | |"
        else line = line sprintf(" %.2f | %.2f | %.2f |", wall[c, "ours"] / wall[c, tool],
          cpu[c, "ours"] / cpu[c, tool], rss[c, "ours"] / rss[c, tool])
        print line
      }
    }
  }' "$results"
