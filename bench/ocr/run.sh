#!/usr/bin/env bash
# Text recognition side by side with the plain command a user would otherwise run, in one
# run over a set rendered here (make_set.py): Korean and mixed Korean/English text in eight
# Korean fonts at 11-28 px, UI-like screenshots (small text, light on dark, two columns),
# photographed-like pages (turned up to 3 degrees, blurred, noisy JPEG), a ten-page PDF, a
# three-frame TIFF and pictures without text.
#   ours:  tavrino-cli run 'tool(extractText)'   peer:  tesseract IMAGE - -l kor+eng
# Prints the character error rate (white space removed) per kind and overall, the refused
# no-text pictures, the time on one core of each side and the ten-page PDF on every core.
#   SET=DIR keeps the rendered set (and the command's readings) in DIR between runs.
#   Arguments go to score.py: -v for each picture's errors, name prefixes for a subset.
source "$(dirname "$0")/../../scripts/lib/help.sh"
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${BUILD:-$here/../../build/test}"
if [[ -n "${SET:-}" ]]; then
  work="$SET"
  mkdir -p "$work"
  [[ -n "$(ls "$work"/*.gt 2>/dev/null)" ]] || python3 "$here/make_set.py" "$work"
else
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  python3 "$here/make_set.py" "$work"
fi
python3 "$here/score.py" "$work" "$build/src/tavrino-cli" "$@"
