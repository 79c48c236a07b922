#!/usr/bin/env bash
# Every script answers --help with its opening comment, exits 0 and does nothing else: no
# package is installed, nothing is built, no file appears or changes in the tree.
set -euo pipefail
root="$1"
cd "$root"
before=$(git status --porcelain --untracked-files=all 2>/dev/null || true)
failed=0
for script in scripts/run scripts/doc-corpus-table scripts/bench scripts/fuzz scripts/setup \
              scripts/badinput scripts/race scripts/no-network scripts/soak \
              scripts/test scripts/package scripts/fetch-judges .ci/run bench/*/run.sh \
              bench/docengine/write-hwp.sh; do
  [[ -f "$script" ]] || continue
  expected=$(sed -n '2s/^# \{0,1\}//p' "$script")
  if ! output=$(PATH=/nonexistent:/usr/bin:/bin timeout 10 bash "$script" --help 2>&1); then
    echo "FAIL $script --help exited non-zero: $output"; failed=1; continue
  fi
  if [[ "$(head -1 <<<"$output")" != "$expected" ]]; then
    echo "FAIL $script --help printed: $(head -1 <<<"$output")"; failed=1
  fi
done
after=$(git status --porcelain --untracked-files=all 2>/dev/null || true)
if [[ "$before" != "$after" ]]; then
  echo "FAIL --help changed the tree"; failed=1
fi
exit "$failed"
