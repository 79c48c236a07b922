#pragma once
// The developer preview of the crop window: the window for a picture drawn off screen,
// optionally with a ratio chosen, written as a PNG. Needs a QApplication but no display.

#include <QImage>
#include <QString>

#include "app/CommandLine.h"

namespace tavrino::app {

struct CropPreviewResult {
    QImage window;
    QString sizeLabel;  // what the label shows
};

// Throws ConvertError when the picture cannot be read and std::runtime_error for a ratio
// label that is not one of the window's.
CropPreviewResult renderCropPreview(const CropPreviewMode& mode);

// Renders, writes the PNG and prints "크기: " + the label. Throws like renderCropPreview and
// std::runtime_error when the PNG cannot be written.
void writeCropPreview(const CropPreviewMode& mode);

}  // namespace tavrino::app
