#!/usr/bin/env bash
# Times whole drops side by side, in one run, against what a user would type in a shell:
#   N 12-megapixel JPEGs to PNG and to HEIC (Q 90), N = 8 and 50
#   N 12-megapixel photos to JPG (Q 90): PNG sources, since a JPEG on the JPG petal is skipped
#   20 screenshots (1920 × 1080 PNG) to JPG
# through `tavrino-cli run`, against `vips copy` run file by file and run `nproc` at a time
# with `xargs -P`. Prints wall time, peak memory (the largest resident set of the process,
# for the peers of the largest single vips), and ours divided by each peer's wall time
# (below 1: faster).
# On a machine shared with other work one timing swings with whatever else runs in those
# seconds, so the three commands take turns ROUNDS times (default 3) and each keeps its
# shortest time and its largest peak: the same load then weighs on all three alike.
#
# usage: bench/batch/run.sh [BUILD_DIR]     (default $BUILD, else build/bench, as Release)
# CASES="png jpg" limits the run to the targets named (png jpg heic shots); COUNTS="8 50"
# the drop sizes; ROUNDS=1 times each command once. The inputs are made once in
# $TAVRINO_BENCH_WORK.
source "$(dirname "$0")/../../scripts/lib/help.sh"
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-${BUILD:-$root/build/bench}}
cases=${CASES:-png jpg heic shots}
counts=${COUNTS:-8 50}
work=${TAVRINO_BENCH_WORK:-${TMPDIR:-/tmp}/tavrino-bench-batch}
jobs=$(nproc)
rounds=${ROUNDS:-3}

if [[ ! -x $build/src/tavrino-cli ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRINO_GUI=OFF \
        -DTAVRINO_TESTS=OFF >/dev/null
  cmake --build "$build" --target tavrino-cli >/dev/null
fi
cli=$(cd "$build" && pwd)/src/tavrino-cli

# --- inputs -------------------------------------------------------------------------------
"$root/bench/convert/make-fixtures.sh" "$work/in"
# Twenty screenshots: flat panels, lines of "text" and a photo-like corner, as a desktop's.
shots=$work/in/shots
if [[ ! -s $shots/shot20.png ]]; then
  mkdir -p "$shots"
  for i in $(seq 1 20); do
    vips xyz "$work/xy.v" 1920 1080
    vips bandmean "$work/xy.v" "$work/m.v"
    vips linear "$work/m.v" "$work/g.v" 0 $((200 + i)) --uchar
    vips perlin "$work/p.v" 1920 1080 --cell-size 4 --seed "$i"
    vips linear "$work/p.v" "$work/t.v" 60 20 --uchar
    vips ifthenelse "$work/p.v" "$work/g.v" "$work/t.v" "$work/s.v"
    vips bandjoin "$work/s.v $work/g.v $work/s.v" "$work/rgb.v"
    vips copy "$work/rgb.v" "$shots/shot$i.png" --interpretation srgb
  done
  rm -f "$work/"*.v
fi

# --- measuring ----------------------------------------------------------------------------
[[ -s $work/in/photo12.png ]] || vips copy "$work/in/photo12.jpg" "$work/in/photo12.png"

# drop COUNT SOURCE FOLDER: FOLDER holds COUNT copies of SOURCE (links: no disk cost).
drop() {
  rm -rf "$3" && mkdir -p "$3"
  for ((i = 1; i <= $1; i++)); do ln -s "$2" "$3/photo$i.${2##*.}"; done
}

# timed FOLDER COMMAND...: "wall-seconds peak-KB" of COMMAND run in FOLDER.
timed() {
  local folder=$1
  shift
  (cd "$folder" && /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" >/dev/null 2>&1) || true
  tail -n 1 "$work/time.txt"
}

one_vips() {  # SUFFIX FILE: what a user's loop does for one file
  vips copy "$2" "${2%.*}.out.$1"
}
export -f one_vips

# best NAME SECONDS KB: keeps the shortest time and the largest peak seen for NAME.
declare -A best_t best_m
best() {
  if [[ -z ${best_t[$1]:-} ]] || awk -v a="$2" -v b="${best_t[$1]}" 'BEGIN { exit !(a < b) }'; then
    best_t[$1]=$2
  fi
  if [[ -z ${best_m[$1]:-} ]] || (($3 > ${best_m[$1]})); then best_m[$1]=$3; fi
}

# compare LABEL TARGET VIPS-SUFFIX FILES...: the outputs are removed after each command (the
# sources are links, so only the results are plain files).
compare() {
  local label=$1 target=$2 suffix=$3
  shift 3
  local dir t m made
  dir=$(dirname "$1")
  best_t=() best_m=()
  for ((round = 1; round <= rounds; round++)); do
    read -r t m < <(timed "$dir" "$cli" run "convert($target)" "$@")
    best ours "$t" "$m"
    # A run that fails early would look fast: every file must have become one result.
    made=$(find "$dir" -maxdepth 1 -type f | wc -l)
    if ((made != $#)); then
      echo "$label: $made results for $# files" >&2
      exit 1
    fi
    find "$dir" -maxdepth 1 -type f -delete
    read -r t m < <(timed "$dir" bash -c \
      'for f in "${@:2}"; do one_vips "$1" "$f"; done' _ "$suffix" "$@")
    best one "$t" "$m"
    find "$dir" -maxdepth 1 -type f -delete
    read -r t m < <(timed "$dir" bash -c \
      'printf "%s\0" "${@:3}" | xargs -0 -P "$1" -n 1 bash -c '"'"'one_vips "$1" "$2"'"'"' _ "$2"' \
      _ "$jobs" "$suffix" "$@")
    best par "$t" "$m"
    find "$dir" -maxdepth 1 -type f -delete
  done
  local ours_t=${best_t[ours]} ours_m=${best_m[ours]} one_t=${best_t[one]} one_m=${best_m[one]}
  local par_t=${best_t[par]} par_m=${best_m[par]}
  awk -v n="$label" -v o="$ours_t" -v om="$ours_m" -v s="$one_t" -v sm="$one_m" -v p="$par_t" \
      -v pm="$par_m" 'BEGIN {
    printf "| %s | %.2f | %.0f | %.2f | %.0f | %.2f | %.0f | %.2f | %.2f |\n", n, o, om / 1024,
      s, sm / 1024, p, pm / 1024, o / s, o / p }'
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg); $jobs cores; best of $rounds rounds" >&2
echo "| drop | ours s | ours MB | vips 1-by-1 s | MB | xargs -P$jobs s | MB | ours/1-by-1 | ours/xargs |"
echo "|---|---|---|---|---|---|---|---|---|"
for target in $cases; do
  if [[ $target == shots ]]; then
    rm -rf "$work/run" && mkdir -p "$work/run"
    for f in "$shots"/*.png; do ln -s "$f" "$work/run/$(basename "$f")"; done
    compare "20 screenshots to JPG" jpg "jpg[Q=90]" "$work/run"/*.png
    continue
  fi
  for n in $counts; do
    source=$work/in/photo12.jpg
    [[ $target == jpg ]] && source=$work/in/photo12.png
    drop "$n" "$source" "$work/run"
    case $target in
      png) suffix=png ;;
      jpg) suffix="jpg[Q=90]" ;;
      heic) suffix="heic[Q=90]" ;;
    esac
    compare "$n × 12 MP to ${target^^}" "$target" "$suffix" "$work/run"/photo*
  done
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)" >&2
