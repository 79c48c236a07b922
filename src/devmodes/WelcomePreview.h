#pragma once
// The developer preview of the welcome and conflict windows: the panel drawn off screen in
// the light or dark appearance, and optionally the tray icon sample, written as PNGs. Needs a
// QApplication but no display.

#include <QImage>
#include <QString>
#include <vector>

#include "app/CommandLine.h"

namespace tavrino::app {

struct WelcomePreviewResult {
    QImage panel;
    std::vector<QString> buttonTitles;  // of the panel drawn
};

// Sets the light or dark palette on the application, then renders the panel.
WelcomePreviewResult renderWelcomePreview(const WelcomePreviewMode& mode);

// Renders and writes the images, prints "버튼: " and the button titles. Throws
// std::runtime_error when an image cannot be written.
void writeWelcomePreview(const WelcomePreviewMode& mode);

// Writes a PNG under a temporary name and renames it into place.
void savePng(const QImage& image, const QString& path);

}  // namespace tavrino::app
