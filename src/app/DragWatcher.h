#pragma once
// What the application shell needs from the drag watcher: starting it once the tray item
// exists. The watcher itself lives in src/drag; tests give the delegate one of their
// own.

namespace tavrino::app {

class DragWatcher {
  public:
    virtual ~DragWatcher() = default;
    virtual void start() = 0;
};

}  // namespace tavrino::app
