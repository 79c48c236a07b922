#!/usr/bin/env bash
# Makes the benchmark's inputs in the folder given: photo24.jpg (6000 × 4000), photo12.jpg
# (4000 × 3000) and pages20.pdf (20 A4 pages of text and vector drawing). The photos are
# fractal landscapes with sensor-like noise, so encoders see detail at every scale as in a
# real photograph. Existing files are kept.
set -euo pipefail
out=${1:?usage: make-fixtures.sh FOLDER}
mkdir -p "$out"
cd "$out"

normalise() {  # normalise IN OUT DEVIATION MEAN: a fractal surface's amplitude is random
  local stats mean deviation
  stats=$(mktemp --suffix=.v)
  vips stats "$1" "$stats"
  mean=$(vips getpoint "$stats" 4 0)
  deviation=$(vips getpoint "$stats" 5 0)
  rm -f "$stats"
  vips linear "$1" "$2" \
    "$(awk -v d="$3" -v s="$deviation" 'BEGIN { print d / s }')" \
    "$(awk -v m="$4" -v a="$mean" -v d="$3" -v s="$deviation" 'BEGIN { print m - a * d / s }')"
}

photo() {  # photo WIDTH HEIGHT FILE
  local w=$1 h=$2 file=$3 tmp
  [[ -s $file ]] && return
  tmp=$(mktemp -d)
  vips fractsurf "$tmp/l.v" $((w / 4)) $((h / 4)) 2.6
  vips fractsurf "$tmp/c1.v" $((w / 4)) $((h / 4)) 2.2
  vips fractsurf "$tmp/c2.v" $((w / 4)) $((h / 4)) 2.2
  normalise "$tmp/l.v" "$tmp/L.v" 40 120
  normalise "$tmp/c1.v" "$tmp/C1.v" 25 12
  normalise "$tmp/c2.v" "$tmp/C2.v" 25 12
  vips add "$tmp/L.v" "$tmp/C1.v" "$tmp/R.v"
  vips subtract "$tmp/L.v" "$tmp/C2.v" "$tmp/B.v"
  vips bandjoin "$tmp/R.v $tmp/L.v $tmp/B.v" "$tmp/rgb.v"
  vips resize "$tmp/rgb.v" "$tmp/big.v" 4
  vips gaussnoise "$tmp/n.v" "$w" "$h" --sigma 2 --mean 0
  vips add "$tmp/big.v" "$tmp/n.v" "$tmp/sum.v"
  vips cast "$tmp/sum.v" "$tmp/cast.v" uchar
  # The bands came from grey surfaces; without this the saver keeps only the first one.
  vips copy "$tmp/cast.v" "$tmp/photo.v" --interpretation srgb
  vips jpegsave "$tmp/photo.v" "$file" --Q 92
  rm -rf "$tmp"
}

pdf() {  # 20 pages: paragraphs of text in Helvetica and Times, a table grid and curves
  [[ -s pages20.pdf ]] && return
  python3 - <<'PY'
import random
random.seed(7)
words = "the quick brown fox jumps over a lazy dog while conversion of pages keeps every glyph sharp".split()
objects = ["<< /Type /Catalog /Pages 2 0 R >>", None,
           "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
           "<< /Type /Font /Subtype /Type1 /BaseFont /Times-Roman >>"]
kids = []
for page in range(20):
    ops = ["BT /F1 18 Tf 56 780 Td (Page %d of the benchmark document) Tj ET" % (page + 1)]
    y = 750
    for line in range(44):
        text = " ".join(random.choice(words) for _ in range(12))
        font = "/F1" if line % 7 else "/F2"
        ops.append("BT %s 10 Tf 56 %d Td (%s) Tj ET" % (font, y, text))
        y -= 14
        if y < 400: break
    for row in range(9):
        ops.append("0.2 w 56 %d m 539 %d l S" % (380 - row * 20, 380 - row * 20))
    for col in range(6):
        ops.append("%d 380 m %d 220 l S" % (56 + col * 96, 56 + col * 96))
    for k in range(30):
        r, g, b = random.random(), random.random(), random.random()
        x0, y0 = random.randint(60, 500), random.randint(60, 200)
        ops.append("%.2f %.2f %.2f rg %d %d m %d %d %d %d %d %d c f" % (
            r, g, b, x0, y0, x0 + 40, y0 + 60, x0 + 80, y0 - 30, x0 + 30, y0 + 10))
    content = "\n".join(ops)
    objects.append("<< /Length %d >>\nstream\n%s\nendstream" % (len(content), content))
    content_id = len(objects)
    objects.append("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595.28 841.89] "
                   "/Resources << /Font << /F1 3 0 R /F2 4 0 R >> >> /Contents %d 0 R >>" % content_id)
    kids.append("%d 0 R" % len(objects))
objects[1] = "<< /Type /Pages /Kids [%s] /Count %d >>" % (" ".join(kids), len(kids))
out = b"%PDF-1.4\n"
offsets = []
for i, body in enumerate(objects):
    offsets.append(len(out))
    out += ("%d 0 obj\n%s\nendobj\n" % (i + 1, body)).encode("latin-1")
xref = len(out)
out += ("xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)).encode()
for off in offsets:
    out += ("%010d 00000 n \n" % off).encode()
out += ("trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)).encode()
open("pages20.pdf", "wb").write(out)
PY
}

photo 6000 4000 photo24.jpg
photo 4000 3000 photo12.jpg
pdf
