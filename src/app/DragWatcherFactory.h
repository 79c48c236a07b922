#pragma once
// The drag watcher the tray application starts: the X11 watcher with the wheel panel and the
// run engine where this build has them, an inactive one otherwise.

#include <memory>

#include "app/DragWatcher.h"

namespace tavrino::app {

std::unique_ptr<DragWatcher> makeDragWatcher();

}  // namespace tavrino::app
