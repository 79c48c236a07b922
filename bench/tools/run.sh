#!/usr/bin/env bash
# The tools side by side with what a user would otherwise reach for, in one run:
#   merge ten 50-page PDFs        tavrino-cli run 'tool(mergePDF)'      vs  qpdf --empty --pages
#     (text-only pages, and pages that each carry a picture)
#   compress a 24-MP photo (Q60)  tavrino-cli run 'tool(compress)'      vs  convert -quality 60
#   strip a photo's metadata      tavrino-cli run 'tool(stripMetadata)' vs  exiftool -all=
# Each command runs $ROUNDS times (default 3); the best wall time counts. Ratios are ours
# divided by the peer's (below 1 means faster than the peer). Peak memory from /usr/bin/time.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
BUILD="${BUILD:-build/bench}"
cli="$(cd "$BUILD" && pwd)/src/tavrino-cli"
rounds="${ROUNDS:-3}"
work="$(mktemp -d "${TMPDIR:-/tmp}/tavrino-bench-tools-XXXXXX")"
trap 'rm -rf "$work"' EXIT

for tool in qpdf convert exiftool vips python3; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 0; }
done

# --- inputs -------------------------------------------------------------------------------
mkdir -p "$work/pdf" "$work/illustrated" "$work/photo"
python3 "$here/make_fixtures.py" "$work/pdf"
python3 "$here/make_fixtures.py" "$work/illustrated" --illustrated
# A smooth 6000 × 4000 colour picture with fine detail (independent noise in each band, so
# nothing can store it as grey), saved as a camera would: Q92 with Exif and GPS.
for band in 1 2 3; do
  vips perlin "$work/photo/p$band.v" 6000 4000 --cell-size 48 --seed "$band"
  vips linear "$work/photo/p$band.v" "$work/photo/b$band.v" 120 128 --uchar
done
vips bandjoin "$work/photo/b1.v $work/photo/b2.v $work/photo/b3.v" "$work/photo/rgb.v"
vips copy "$work/photo/rgb.v" "$work/photo/photo.jpg[Q=92]"
rm -f "$work/photo/"*.v
exiftool -q -overwrite_original -Make=Canon -Model="EOS R5" -GPSLatitude=37.5 \
  -GPSLatitudeRef=N -Artist=Kim -Orientation=1 -n "$work/photo/photo.jpg"

# --- measuring ----------------------------------------------------------------------------
# best_of CLEANUP -- COMMAND...: the best wall time in seconds and the peak resident set (KB)
# of that run. CLEANUP runs before every round so results never pile up as " 2", " 3", ...
best_of() {
  local cleanup="$1"; shift 2
  local best="" rss=""
  for ((i = 0; i < rounds; i++)); do
    eval "$cleanup"
    local report="$work/time.txt"
    /usr/bin/time -f "%e %M" -o "$report" "$@" >/dev/null 2>&1
    read -r seconds kb <"$report"
    if [[ -z "$best" ]] || awk -v a="$seconds" -v b="$best" 'BEGIN { exit !(a < b) }'; then
      best="$seconds" rss="$kb"
    fi
  done
  echo "$best $rss"
}

row() {  # name ours_time ours_kb peer_name peer_time peer_kb goal
  awk -v n="$1" -v t="$2" -v m="$3" -v p="$4" -v pt="$5" -v pm="$6" -v g="$7" 'BEGIN {
    printf "%-24s %8.2f s %7.0f MB | %-24s %8.2f s %7.0f MB | %5.2fx  (goal %s)\n",
           n, t, m / 1024, p, pt, pm / 1024, (pt > 0 ? t / pt : 0), g }'
}

# Start-up alone: tavrino-cli loads libvips with its ~120 shared libraries, most of them
# bound at load time; qpdf loads a handful. The tray application pays this once.
read -r start_ours start_ours_kb < <(best_of ":" -- "$cli" menu "$work/pdf/doc00.pdf")
read -r start_peer start_peer_kb < <(best_of ":" -- qpdf --show-npages "$work/pdf/doc00.pdf")
startup_row=$(row "start-up only" "$start_ours" "$start_ours_kb" "qpdf --show-npages" \
  "$start_peer" "$start_peer_kb" "-")

merge_row() {  # folder label
  local pdfs=("$1"/doc*.pdf) ours ours_kb peer peer_kb
  read -r ours ours_kb < <(best_of "rm -f '$1/'*합침*.pdf" -- \
    "$cli" run 'tool(mergePDF)' "${pdfs[@]}")
  read -r peer peer_kb < <(best_of "rm -f '$1/qpdf.pdf'" -- \
    qpdf --empty --pages "${pdfs[@]}" -- "$1/qpdf.pdf")
  row "$2" "$ours" "$ours_kb" "qpdf --empty --pages" "$peer" "$peer_kb" "<= 1.30x"
  awk -v t="$ours" -v s="$start_ours" -v p="$peer" -v q="$start_peer" 'BEGIN {
    printf "%-24s %8.2f s            | %-24s %8.2f s            | %5.2fx\n",
           "  net of start-up", t - s, "", p - q, (p - q > 0 ? (t - s) / (p - q) : 0) }'
}
merge_text_row=$(merge_row "$work/pdf" "merge 10×50 text pages")
merge_picture_row=$(merge_row "$work/illustrated" "merge 10×50 illustrated")

photo="$work/photo/photo.jpg"
read -r ours ours_kb < <(best_of "rm -f '$work/photo/'*압축*" -- \
  "$cli" run 'tool(compress)' "$photo")
read -r peer peer_kb < <(best_of "rm -f '$work/photo/im.jpg'" -- \
  convert "$photo" -quality 60 "$work/photo/im.jpg")
compress_row=$(row "compress 24 MP, Q60" "$ours" "$ours_kb" "convert -quality 60" "$peer" "$peer_kb" "<= 0.50x")
sizes="$(stat -c %s "$work/photo/"*압축*.jpg 2>/dev/null || echo 0) bytes vs $(stat -c %s "$work/photo/im.jpg") bytes"

read -r ours ours_kb < <(best_of "rm -f '$work/photo/'*정보삭제*" -- \
  "$cli" run 'tool(stripMetadata)' "$photo")
read -r peer peer_kb < <(best_of "rm -f '$work/photo/et.jpg'" -- \
  exiftool -q -all= -o "$work/photo/et.jpg" "$photo")
strip_row=$(row "strip a 24 MP photo" "$ours" "$ours_kb" "exiftool -all=" "$peer" "$peer_kb" "< 1.00x")

pages=$(qpdf --show-npages "$work/pdf/"*합침*.pdf 2>/dev/null || echo "?")
printf "%-24s %19s | %-24s %19s | ratio\n" "tavrino" "time   peak" "peer" "time   peak"
echo "$startup_row"
echo "$merge_text_row"
echo "$merge_picture_row"
echo "$compress_row"
echo "$strip_row"
echo "(best of $rounds rounds; merged pages: $pages; compressed sizes: $sizes)"
