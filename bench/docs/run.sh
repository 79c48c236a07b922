#!/usr/bin/env bash
# Ten corpus documents rendered to PDF in a row, side by side with what a user would do
# otherwise: `soffice --headless --convert-to pdf` run once per document on the equivalent
# DOCX (wordbridge's for HWP/HWPX, made beforehand and not timed). Both sides start with no
# LibreOffice running and with a profile that already exists (a user's second day: ours in
# the cache folder, LibreOffice's own in a folder of its own, each made by an untimed warm-up).
# The cold case is measured ROUNDS times (default 7), ours and the peer's one after the other
# on the same document, the order swapped every round so that a busy moment of the machine
# does not always fall on the same side; each round starts with no LibreOffice of either
# running. Then the ten in a row, once each. Prints every round, the median of the cold
# ratios and the ten-in-a-row ratio.
# Goals: the first (cold) <= 1.0x, the ten in a row <= 0.35x of the peer's.
#
# usage: bench/docs/run.sh [BUILD_DIR]     (default $BUILD, else build/bench)
# CORPUS=dir picks another corpus (default ../shared/corpus); ROUNDS=n the cold rounds.
# PEER_PROFILE=used gives the peer's profile the record of LibreOffice's version that its
# window writes on a first interactive start (default: headless, a profile only ever used by
# --convert-to, which never gets it and so runs LibreOffice's graphics self-test every start;
# ours always has it).
source "$(dirname "$0")/../../scripts/lib/help.sh"
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-${BUILD:-$root/build/bench}}
corpus=${CORPUS:-$root/../shared/corpus}
pelgrin=$build/docengine/pelgrin
wordbridge=$build/docengine/wordbridge
for tool in "$pelgrin" "$wordbridge"; do
  [[ -x "$tool" ]] || { echo "missing $tool" >&2; exit 1; }
done
command -v soffice >/dev/null || { echo "missing soffice" >&2; exit 1; }
work=$(mktemp -d)
export XDG_CACHE_HOME=$work/cache TAVRINO_RENDER_IDLE=2
trap 'sleep 3; rm -rf "$work"' EXIT  # the warm instance ends itself after its idle time

documents=(hwp/source.hwp hwp/etc.hwp hwp/merging-cell.hwp hwp/inserting_image_cell.hwp
           hwpx/Table.hwpx hwpx/SimplePicture.hwpx hwpx/HeaderFooter.hwpx hwpx/MultiColumn.hwpx
           docx/tbl-having-tables.docx docx/having-images.docx)
mkdir -p "$work/docx" "$work/ours" "$work/peer"
for doc in "${documents[@]}"; do
  name=$(basename "${doc%.*}")
  case $doc in
    *.docx) cp "$corpus/$doc" "$work/docx/$name.docx" ;;
    *) "$wordbridge" hwp2docx "$corpus/$doc" "$work/docx/$name.docx" >/dev/null ;;
  esac
done

peer() {
  soffice -env:UserInstallation=file://"$work"/peer-profile --headless --convert-to pdf \
          --outdir "$work/peer" "$1" >/dev/null 2>&1
}
ours() { "$pelgrin" export-pdf "$1" -o "$work/ours/$(basename "${1%.*}").pdf" >/dev/null; }
# Waits until our warm instance has ended (no process of ours holds its alive.lock).
idle_out() {
  for _ in $(seq 100); do
    local busy=0
    for lock in "$XDG_CACHE_HOME"/tavrino/render-*/alive.lock; do
      [[ -f "$lock" ]] || continue
      flock -n "$lock" true || busy=1
    done
    ((busy == 0)) && return
    sleep 0.2
  done
}

# Untimed warm-up: both profiles exist afterwards; then nothing is left running.
peer "$work/docx/source.docx"
if [[ ${PEER_PROFILE:-headless} == used ]]; then
  version=$(soffice --version | awk '{ split($2, v, "."); print v[1] "." v[2]; exit }')
  sed -i "s|</oor:items>|<item oor:path=\"/org.openoffice.Setup/Product\"><prop oor:name=\"ooSetupLastVersion\" oor:op=\"fuse\"><value>$version</value></prop></item>\n</oor:items>|" \
      "$work/peer-profile/user/registrymodifications.xcu"
fi
ours "$corpus/hwp/source.hwp"
idle_out

now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { print b - a }'; }
first_doc=${documents[0]}
first_docx=$work/docx/$(basename "${first_doc%.*}").docx
echo "both profiles existing; peer's profile: ${PEER_PROFILE:-headless}"
printf '%-22s %9s %9s %7s\n' case ours_s peer_s ratio
ratios=()
for round in $(seq "${ROUNDS:-7}"); do
  idle_out
  if ((round % 2)); then
    t=$(now); peer "$first_docx"; p=$(since "$t")
    t=$(now); ours "$corpus/$first_doc"; o=$(since "$t")
  else
    t=$(now); ours "$corpus/$first_doc"; o=$(since "$t")
    idle_out
    t=$(now); peer "$first_docx"; p=$(since "$t")
  fi
  ratio=$(awk -v o="$o" -v p="$p" 'BEGIN { printf "%.2f", o / p }')
  ratios+=("$ratio")
  printf '%-22s %9.2f %9.2f %6.2fx\n' "cold, round $round" "$o" "$p" "$ratio"
done
median=$(printf '%s\n' "${ratios[@]}" | sort -n | awk '{ r[NR] = $1 } END {
  print (NR % 2) ? r[(NR + 1) / 2] : (r[NR / 2] + r[NR / 2 + 1]) / 2 }')

idle_out
t0=$(now)
for doc in "${documents[@]}"; do
  peer "$work/docx/$(basename "${doc%.*}").docx"
done
peer_all=$(since "$t0")

t0=$(now)
for doc in "${documents[@]}"; do
  ours "$corpus/$doc"
done
ours_all=$(since "$t0")

for pdf in "$work"/ours/*.pdf; do
  pdfinfo "$pdf" >/dev/null 2>&1 || { echo "not a PDF: $pdf" >&2; exit 1; }
done
awk -v m="$median" 'BEGIN { printf "%-22s %9s %9s %6.2fx %s\n", "first (cold), median", "", "", m, "goal <= 1.00x" }'
awk -v o="$ours_all" -v p="$peer_all" \
    'BEGIN { printf "%-22s %9.2f %9.2f %6.2fx %s\n", "ten in a row", o, p, o / p, "goal <= 0.35x" }'
