#pragma once
// The dark appearance of our windows, whatever the desktop's setting: the crop window always
// uses it, and the welcome preview draws with it on request.

#include <QPalette>

namespace tavrino::app {

QPalette darkPalette();

}  // namespace tavrino::app
