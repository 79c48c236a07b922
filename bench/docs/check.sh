#!/usr/bin/env bash
# Judges `pelgrin export-pdf` over the whole corpus (HWP, HWPX and DOCX), one row per document:
#   qpdf      qpdf --check accepts the PDF
#   text      share of the document's text characters (white space aside) found in the PDF's
#             text (pdftotext), in order; the goal is >= 99 % ("*": with floating boxes' text
#             counted where the PDF has it, whole and in order, rather than at their anchor)
#   size      every page has the document's sheet, within 1 pt (the first section's; for DOCX,
#             page by page that of LibreOffice's own render of the original)
#   fonts     every font is embedded and every character of the text is covered by one of
#             the embedded fonts (a character no embedded font has is drawn as "notdef")
#   pages     our page count / the reference: for DOCX, LibreOffice's own render of the
#             original file; for HWP, the pages the word processor laid out when it saved
#             (its line-segment cache; "~" marks counts read from the lines' positions,
#             for files whose cache leaves the page flags clear)
# Then the page-count agreement (goals: DOCX >= 90 %, HWP >= 80 %) and the failures.
#
# usage: bench/docs/check.sh [BUILD_DIR]     (default $BUILD, else build/test)
# CORPUS=dir picks another corpus (default ../shared/corpus); KEEP=dir keeps the PDFs there
# (pdftoppm -png them to look at the pages); ONLY=pattern limits the documents by name (a
# shell pattern: ONLY='tbl-*').
source "$(dirname "$0")/../../scripts/lib/help.sh"
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-${BUILD:-$root/build/test}}
corpus=${CORPUS:-$root/../shared/corpus}
pelgrin=$build/docengine/pelgrin
textutil=$build/docengine/textutil
facts=$build/bench/docs/doc_facts
for tool in "$pelgrin" "$textutil" "$facts"; do
  [[ -x "$tool" ]] || { echo "missing $tool (build pelgrin textutil doc_facts)" >&2; exit 1; }
done
for tool in qpdf pdftotext pdfinfo pdffonts soffice fc-match fc-query python3; do
  command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 1; }
done
[[ -d "$corpus" ]] || { echo "no corpus at $corpus (set CORPUS)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
keep=${KEEP:-}
[[ -n "$keep" ]] && mkdir -p "$keep"

# The share of the reference text's characters that appear in the PDF's text in order. The
# PDF's text is read three ways (pdftotext's reading order, content-stream order and the
# physical layout), since each garbles a different case (tables, columns, tab stops); the best
# of them counts. A floating text box has no place of its own in the page's reading order (the
# reference has it after its anchoring paragraph; LibreOffice draws it after the page's body):
# its text may also count where the PDF has it, if it is there whole and in order, and the
# share is then marked "*".
# usage: coverage REFERENCE FLOATING READING...   (FLOATING: the boxes' texts, form-feed lines
# between them)
coverage() {
  python3 - "$@" <<'EOF'
import difflib, sys
def chars(text):
    return "".join(c for c in text if not c.isspace() and c != "\ufeff")
def read(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read()
def in_order(ref, text):
    matcher = difflib.SequenceMatcher(None, ref, text, autojunk=False)
    return sum(block.size for block in matcher.get_matching_blocks())
ref = chars(read(sys.argv[1]))
boxes = [box for box in map(chars, read(sys.argv[2]).split("\f")) if box]
best, moved_best = 0.0, False
for path in sys.argv[3:]:
    if not ref:
        best = 100.0
        break
    text = chars(read(path))
    share = 100.0 * in_order(ref, text) / len(ref)
    if share > best:
        best, moved_best = share, False
    body, rest, moved = ref, text, 0
    for box in boxes:
        if box in body and box in rest:
            body, rest = body.replace(box, "", 1), rest.replace(box, "", 1)
            moved += len(box)
    if moved:
        share = 100.0 * (in_order(body, rest) + moved) / len(ref)
        if share > best:
            best, moved_best = share, True
print(f"{best:.1f}{'*' if moved_best else ''}")
EOF
}

# "WIDTH HEIGHT" of every page, one line each.
page_sizes() {
  local count
  count=$(pdfinfo "$1" | awk '/^Pages:/ { print $2 }')
  pdfinfo -f 1 -l "$count" "$1" | awk '/^Page +[0-9]+ size:/ { print $4, $6 }'
}

# "ok", or what is wrong with the fonts: one not embedded, or characters none of them has.
fonts_verdict() {
  local pdf=$1 text=$2
  pdffonts "$pdf" | tail -n +3 >"$work/fonts"
  if awk '{ if ($(NF-4) != "yes") bad = 1 } END { exit !bad }' "$work/fonts"; then
    echo "not-embedded"
    return
  fi
  : >"$work/charsets"
  while read -r name _; do
    family=${name#*+}
    file=$(fc-match -f '%{file}' "$family")
    fc-query -f '%{charset}\n' "$file" | head -n 1 >>"$work/charsets"
  done <"$work/fonts"
  python3 - "$text" "$work/charsets" <<'EOF'
import sys
covered = []
for line in open(sys.argv[2]):
    for part in line.split():
        lo, _, hi = part.partition("-")
        covered.append((int(lo, 16), int(hi or lo, 16)))
text = open(sys.argv[1], encoding="utf-8", errors="replace").read()
missing = sorted({c for c in text if not c.isspace() and ord(c) >= 0x80
                  and not any(lo <= ord(c) <= hi for lo, hi in covered)})
print("ok" if not missing else "notdef:" + "".join(missing[:8]))
EOF
}

# LibreOffice's own render of the DOCX originals, all in one run, for their page counts.
mkdir -p "$work/lo"
if compgen -G "$corpus/docx/*.docx" >/dev/null; then
  soffice -env:UserInstallation=file://"$work"/lo-profile --headless --convert-to pdf \
          --outdir "$work/lo" "$corpus"/docx/*.docx >/dev/null 2>&1 || true
fi

printf '%-5s %-34s %5s %6s %5s %-12s %7s %6s\n' kind document qpdf text size fonts pages ms
declare -A agree=() total=()
failures=()
for path in "$corpus"/hwp/*.hwp "$corpus"/hwpx/*.hwpx "$corpus"/docx/*.docx; do
  [[ -f "$path" ]] || continue
  name=$(basename "$path")
  # shellcheck disable=SC2053
  [[ -z "${ONLY:-}" || "$name" == ${ONLY} ]] || continue
  kind=${path##*.}
  pdf=$work/out.pdf
  rm -f "$pdf"
  start=$EPOCHREALTIME
  if ! "$pelgrin" export-pdf "$path" -o "$pdf" >"$work/log" 2>&1; then
    printf '%-5s %-34s FAIL %s\n' "$kind" "$name" "$(tail -n 1 "$work/log")"
    failures+=("$name: export failed")
    continue
  fi
  ms=$(awk -v s="$start" -v e="$EPOCHREALTIME" 'BEGIN { printf "%.0f", (e - s) * 1000 }')
  [[ -n "$keep" ]] && cp "$pdf" "$keep/${name%.*}.pdf"

  qpdf_ok=yes
  qpdf --check "$pdf" >/dev/null 2>&1 || { qpdf_ok=no; failures+=("$name: qpdf --check"); }

  rm -rf "$work/text" && mkdir -p "$work/text"
  if [[ $kind == docx ]]; then
    "$textutil" -convert txt -output "$work/text/ref.txt" "$path" >/dev/null 2>&1 || true
  else
    "$pelgrin" export-text "$path" -o "$work/text" >/dev/null 2>&1 || true
  fi
  cat "$work/text"/*.txt >"$work/ref.txt" 2>/dev/null || : >"$work/ref.txt"
  pdftotext -enc UTF-8 "$pdf" "$work/pdf.txt"
  pdftotext -enc UTF-8 -raw "$pdf" "$work/pdf-raw.txt"
  pdftotext -enc UTF-8 -layout "$pdf" "$work/pdf-layout.txt"
  "$facts" --floating "$path" >"$work/floating.txt" 2>/dev/null || : >"$work/floating.txt"
  cover=$(coverage "$work/ref.txt" "$work/floating.txt" "$work/pdf.txt" "$work/pdf-raw.txt" \
    "$work/pdf-layout.txt")
  awk -v c="${cover%\*}" 'BEGIN { exit !(c < 99) }' && failures+=("$name: text $cover %")

  read -r width height cached < <("$facts" "$path")
  pages=$(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }')
  size_ok=yes
  theirs=$work/lo/${name%.*}.pdf
  if [[ $kind == docx && -f "$theirs" ]]; then
    # Sections may change the sheet: page by page against LibreOffice's own render.
    if ! paste <(page_sizes "$pdf") <(page_sizes "$theirs") | awk '
        { n++; if (NF != 4 || ($1 - $3)^2 > 1 || ($2 - $4)^2 > 1) bad = 1 }
        END { exit bad || n == 0 }'; then
      size_ok=no
      failures+=("$name: page sizes differ from LibreOffice's render of the original")
    fi
  elif ! page_sizes "$pdf" | awk -v w="$width" -v h="$height" '
      { n++; if (($1 - w)^2 > 1 || ($2 - h)^2 > 1) bad = 1 }
      END { exit bad || n == 0 }'; then
    size_ok=no
    failures+=("$name: page size (document ${width} x ${height} pt)")
  fi

  fonts=$(fonts_verdict "$pdf" "$work/pdf.txt")
  [[ $fonts == ok ]] || failures+=("$name: fonts $fonts")

  reference=-
  case $kind in
    docx) theirs=$work/lo/${name%.*}.pdf
          [[ -f "$theirs" ]] && reference=$(pdfinfo "$theirs" | awk '/^Pages:/ { print $2 }') ;;
    hwp) reference=$cached ;;
  esac
  if [[ $reference != - ]]; then
    total[$kind]=$((${total[$kind]:-0} + 1))
    if [[ ${reference%\~} == "$pages" ]]; then
      agree[$kind]=$((${agree[$kind]:-0} + 1))
    else
      failures+=("$name: $pages pages, reference $reference")
    fi
  fi
  printf '%-5s %-34s %5s %6s %5s %-12s %7s %6s\n' "$kind" "$name" "$qpdf_ok" "$cover" \
         "$size_ok" "$fonts" "$pages/$reference" "$ms"
done

for kind in docx hwp; do
  n=${total[$kind]:-0}
  ((n > 0)) || continue
  a=${agree[$kind]:-0}
  echo "page counts, $kind: $a of $n agree ($(awk -v a="$a" -v n="$n" 'BEGIN { printf "%.0f", 100 * a / n }') %)"
done
echo "findings: ${#failures[@]}"
for line in "${failures[@]}"; do echo "  $line"; done
