#pragma once
// What the application shell needs from the drag watcher: starting it once the tray item
// exists. The watcher itself lives in src/drag; until it is built in, start-up runs with
// an inactive one.

namespace tavrino::app {

class DragWatcher {
  public:
    virtual ~DragWatcher() = default;
    virtual void start() = 0;
};

// A watcher that watches nothing: the tray item and windows work, no wheel opens.
class InactiveDragWatcher : public DragWatcher {
  public:
    void start() override {}
};

}  // namespace tavrino::app
