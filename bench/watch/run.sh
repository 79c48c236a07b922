#!/usr/bin/env bash
# The drag watcher's cost, measured on a private Xvfb: CPU used over 30 s while nothing is
# dragged (beside an idle Qt window for scale), and the delay from pressing Shift mid-drag to
# the wheel's first paint, for a GTK and a Qt drag source. Goals: at most 0.5 % of one core
# idle; the wheel within 50 ms (GTK) and 80 ms (Qt). Then the same two figures on headless
# Wayland sessions with the drag reporter, GNOME Shell and KWin (each skipped where that
# compositor is missing).
source "$(dirname "$0")/../../scripts/lib/help.sh"
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${WATCH_BUILD:-build/bench-watch}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRINO_TESTS=ON \
      -DTAVRINO_BENCH=OFF >/dev/null
targets=(tavrino-drag-harness e2e-qt-drag-source)
# The KWin reporter and its hand exist only where KWin's development files are installed.
if ninja -C "$build" -t targets all 2>/dev/null | grep -q '^e2e-kwin-fake-input:'; then
  targets+=(tavrino_kwin_drag e2e-kwin-fake-input)
fi
cmake --build "$build" --target "${targets[@]}" >/dev/null
/usr/bin/python3 bench/watch/watch.py "$build/tests/e2e/tavrino-drag-harness" \
  "$build/tests/e2e/e2e-qt-drag-source" "$@"
/usr/bin/python3 bench/watch/wayland.py gnome "$build/tests/e2e/tavrino-drag-harness" "$@"
exec /usr/bin/python3 bench/watch/wayland.py kwin "$build/tests/e2e/tavrino-drag-harness" \
  "$build/kwin/effects/plugins" "$build/tests/e2e/e2e-kwin-fake-input" "$@"
