#!/usr/bin/env bash
# The tools side by side with what a user would otherwise reach for, in one run:
#   merge ten 50-page PDFs        tavrino-cli run 'tool(mergePDF)'      vs  qpdf --empty --pages
#     (text-only pages, and pages that each carry a picture; as commands, and in-process
#      through bench_tools against qpdf's job engine, without process start-up)
#   compress a 24-MP photo (Q60)  tavrino-cli run 'tool(compress)'      vs  convert -quality 60
#   strip a photo's metadata      tavrino-cli run 'tool(stripMetadata)' vs  exiftool -all=
# Ours and the peer run alternately $ROUNDS times (default 5); the best wall time counts.
# Ratios are ours divided by the peer's (below 1: faster). Peak memory from /usr/bin/time.
source "$(dirname "$0")/../../scripts/lib/help.sh"
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
BUILD="${BUILD:-build/bench}"
cli="$(cd "$BUILD" && pwd)/src/tavrino-cli"
rounds="${ROUNDS:-5}"
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
# One timed run: "wall-seconds peak-KB cpu-seconds" (user + system; the last line, since
# time reports a failing status above it).
timed() {
  /usr/bin/time -f "%e %M %U %S" -o "$work/time.txt" "$@" >/dev/null 2>&1 || true
  tail -n 1 "$work/time.txt" | awk '{ print $1, $2, $3 + $4 }'
}

# compare LABEL PEER-LABEL GOAL OURS PEER: runs the two functions alternately $rounds times,
# so that both see the same machine load, and prints the best wall time of each with its
# peak memory, the ratio ours / peer (below 1: faster than the peer), and the same ratio of
# the best CPU times, which a busy machine disturbs less than wall time.
compare() {
  local best_o=999 kb_o=0 cpu_o=999 best_p=999 kb_p=0 cpu_p=999 t k c
  for ((i = 0; i < rounds; i++)); do
    read -r t k c < <("$4")
    if awk -v a="$t" -v b="$best_o" 'BEGIN { exit !(a < b) }'; then best_o=$t kb_o=$k; fi
    cpu_o=$(awk -v a="$c" -v b="$cpu_o" 'BEGIN { print (a < b ? a : b) }')
    read -r t k c < <("$5")
    if awk -v a="$t" -v b="$best_p" 'BEGIN { exit !(a < b) }'; then best_p=$t kb_p=$k; fi
    cpu_p=$(awk -v a="$c" -v b="$cpu_p" 'BEGIN { print (a < b ? a : b) }')
  done
  awk -v n="$1" -v t="$best_o" -v m="$kb_o" -v p="$2" -v pt="$best_p" -v pm="$kb_p" -v g="$3" \
      -v co="$cpu_o" -v cp="$cpu_p" '
    BEGIN { # A peer below the 10 ms grain of time has no meaningful ratio.
            wall = pt > 0 ? sprintf("%5.2fx", t / pt) : "  n/a "
            cpu = cp > 0 ? sprintf("%5.2fx", co / cp) : "  n/a "
            printf "%-24s %6.2f s %5.0f MB | %-22s %6.2f s %5.0f MB | %s  cpu %s  (goal %s)\n",
            n, t, m / 1024, p, pt, pm / 1024, wall, cpu, g }'
}

# Start-up alone: tavrino-cli loads libvips with its ~120 shared libraries, most of them
# bound at load time; qpdf loads a handful. The tray application pays this once.
startup_ours() { timed "$cli" menu "$work/pdf/doc00.pdf"; }
startup_peer() { timed qpdf --show-npages "$work/pdf/doc00.pdf"; }

# The inputs are listed once, before any output (which lands beside them) exists.
dir="" inputs=()
merge_ours() { rm -f "$dir/"*합침*.pdf; timed "$cli" run 'tool(mergePDF)' "${inputs[@]}"; }
merge_peer() { rm -f "$dir/qpdf.pdf"; timed qpdf --empty --pages "${inputs[@]}" -- "$dir/qpdf.pdf"; }

photo="$work/photo/photo.jpg"
compress_ours() { rm -f "$work/photo/"*압축*; timed "$cli" run 'tool(compress)' "$photo"; }
compress_peer() { rm -f "$work/photo/im.jpg"; timed convert "$photo" -quality 60 "$work/photo/im.jpg"; }
strip_ours() { rm -f "$work/photo/"*정보삭제*; timed "$cli" run 'tool(stripMetadata)' "$photo"; }
strip_peer() { rm -f "$work/photo/et.jpg"; timed exiftool -q -all= -o "$work/photo/et.jpg" "$photo"; }

printf "%-24s %15s | %-22s %15s | wall    cpu ratio\n" "tavrino" "time    peak" "peer" \
  "time    peak"
compare "start-up only" "qpdf --show-npages" "-" startup_ours startup_peer
dir="$work/pdf" inputs=("$work/pdf"/doc*.pdf)
compare "merge 10×50 text pages" "qpdf --empty --pages" "<= 1.30x" merge_ours merge_peer
pages="$(qpdf --show-npages "$dir/"*합침*.pdf) vs $(qpdf --show-npages "$dir/qpdf.pdf")"
dir="$work/illustrated" inputs=("$work/illustrated"/doc*.pdf)
compare "merge 10×50 illustrated" "qpdf --empty --pages" "<= 1.30x" merge_ours merge_peer
# The same merges inside one process each (bench_tools: our mergePDF against qpdf's job
# engine), which leaves out the start-up that the command-line rows include.
in_process() {  # folder label
  [[ -x "$BUILD/bench/bench_tools" ]] || return 0
  TAVRINO_BENCH_PDFS="$1" "$BUILD/bench/bench_tools" --benchmark_format=csv 2>/dev/null |
    awk -F, -v n="$2" '
      /^"mergeTavrino/ { ot = $3; oc = $4 }
      /^"mergeQpdfJob/ { pt = $3; pc = $4 }
      END { if (pt > 0 && pc > 0)
        printf "%-24s %6.2f s          | %-22s %6.2f s          | %5.2fx  cpu %5.2fx  (goal <= 1.30x)\n",
               n, ot / 1000, "qpdf job, in-process", pt / 1000, ot / pt, oc / pc }'
  rm -f "$1/"*합침*.pdf "$1/qpdfjob.pdf"
}
in_process "$work/pdf" "  in-process, text"
in_process "$work/illustrated" "  in-process, illustrated"
compare "compress 24 MP, Q60" "convert -quality 60" "<= 0.50x" compress_ours compress_peer
sizes="$(stat -c %s "$work/photo/"*압축*.jpg) vs $(stat -c %s "$work/photo/im.jpg") bytes"
compare "strip a 24 MP photo" "exiftool -all=" "< 1.00x" strip_ours strip_peer
echo "(best of $rounds alternating rounds; merged pages: $pages; compressed: $sizes)"
