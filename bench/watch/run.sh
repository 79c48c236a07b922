#!/usr/bin/env bash
# The drag watcher's cost, measured on a private Xvfb: CPU used over 30 s while nothing is
# dragged (beside an idle Qt window for scale), and the delay from pressing Shift mid-drag to
# the wheel's first paint, for a GTK and a Qt drag source. Goals: at most 0.5 % of one core
# idle; the wheel within 50 ms (GTK) and 80 ms (Qt). Then the same two figures on a headless
# GNOME Shell Wayland session with the drag reporter (skipped where GNOME Shell is missing).
source "$(dirname "$0")/../../scripts/lib/help.sh"
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${WATCH_BUILD:-build/bench-watch}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRINO_TESTS=ON \
      -DTAVRINO_BENCH=OFF >/dev/null
cmake --build "$build" --target tavrino-drag-harness e2e-qt-drag-source >/dev/null
/usr/bin/python3 bench/watch/watch.py "$build/tests/e2e/tavrino-drag-harness" \
  "$build/tests/e2e/e2e-qt-drag-source" "$@"
exec /usr/bin/python3 bench/watch/gnome.py "$build/tests/e2e/tavrino-drag-harness" "$@"
