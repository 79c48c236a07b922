#include "devmodes/CropPreview.h"

#include <QLabel>
#include <QWidget>
#include <iostream>
#include <stdexcept>

#include "app/CropWindowController.h"
#include "app/SegmentedControl.h"
#include "devmodes/WelcomePreview.h"
#include "tools/crop/CropGeometry.h"

namespace tavrino::app {
namespace {

int ratioIndex(const std::string& label) {
    for (size_t i = 0; i < crop::ratios.size(); ++i) {
        if (crop::ratios[i].label == label) return static_cast<int>(i);
    }
    throw std::runtime_error("알 수 없는 비율: " + label);
}

}  // namespace

CropPreviewResult renderCropPreview(const CropPreviewMode& mode) {
    const int ratio = mode.ratio ? ratioIndex(*mode.ratio) : 0;
    CropWindowController controller(mode.source, loadOrientedImage(mode.source));
    controller.segmented()->setSelected(ratio);
    controller.ratioChanged(ratio);
    return {controller.window()->grab().toImage(), controller.sizeLabel()->text()};
}

void writeCropPreview(const CropPreviewMode& mode) {
    const CropPreviewResult result = renderCropPreview(mode);
    savePng(result.window, QString::fromStdString(mode.output));
    std::cout << "크기: " << result.sizeLabel.toStdString() << std::endl;
}

}  // namespace tavrino::app
