#pragma once
// The developer preview: the wheel drawn off screen for a sample drag, written as a PNG.
// Needs a QApplication but no display (the offscreen platform will do).

#include <QImage>
#include <stdexcept>

#include "app/CommandLine.h"
#include "menu/DragInfo.h"

namespace tavrino::app {

struct PreviewError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

DragInfo previewDrag(const PreviewMode& mode);

// The 352-point wheel at device pixel ratio 2 over the rounded dark backdrop.
QImage renderPreview(const PreviewMode& mode);

// Renders and writes the PNG; the file appears only once it is complete. Throws
// PreviewError when it cannot be written.
void writePreview(const PreviewMode& mode);

}  // namespace tavrino::app
