#!/usr/bin/env bash
# Text recognition side by side with the plain command a user would otherwise run, in one
# run over a set rendered here (make_set.py): Korean and mixed Korean/English lines in
# several Korean fonts at 11-28 px, UI-like pictures (small text, light on dark), photo-like
# pages (slight rotation, blur, JPEG noise) and pictures without text.
#   ours:  tavrino-cli run 'tool(extractText)'   peer:  tesseract IMAGE - -l kor+eng
# Prints the character error rate (white space removed) per kind and overall, the refused
# no-text pictures and the total time of each side.
source "$(dirname "$0")/../../scripts/lib/help.sh"
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${BUILD:-$here/../../build/test}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
python3 "$here/make_set.py" "$work"
python3 "$here/score.py" "$work" "$build/src/tavrino-cli"
