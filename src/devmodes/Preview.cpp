#include "devmodes/Preview.h"

#include <QPainter>
#include <QSaveFile>

#include "wheel/WheelPanel.h"
#include "wheel/WheelView.h"

namespace tavrino::app {
namespace {

constexpr int previewSize = wheel::WheelPanel::defaultSize;
constexpr double previewRatio = 2;

HubState previewHub(const PreviewMode& mode) {
    if (mode.working) {
        return HubWorking{mode.files > 1 ? 1 : 0, mode.files, "한글 문서는\n조금 걸립니다"};
    }
    if (!mode.result) return HubIdle{};
    switch (mode.result->kind) {
        case PreviewResult::Kind::done:
            return HubDone{mode.result->message};
        case PreviewResult::Kind::check:
            return HubCheck{mode.result->message};
        case PreviewResult::Kind::failed:
            return HubFailed{mode.result->message};
    }
    return HubIdle{};
}

void paintBackdrop(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(0.17f, 0.17f, 0.19f));
    painter.drawRoundedRect(QRectF(0, 0, previewSize, previewSize), 170, 170);
}

}  // namespace

DragInfo previewDrag(const PreviewMode& mode) {
    if (mode.word) return {{"/tmp/보고서.docx"}, 84211, std::nullopt, std::nullopt, true};
    if (mode.hwp) return {{"/tmp/보고서.hwp"}, 84211, std::nullopt, "hwp", false};
    return {{"/tmp/sample-screenshot.png"}, 1234567, Fmt::png, std::nullopt, false};
}

QImage renderPreview(const PreviewMode& mode) {
    wheel::WheelView view;
    view.resize(previewSize, previewSize);
    view.configure(previewDrag(mode), mode.tools);
    view.setForceReduceMotion(mode.reduceMotion);
    if (mode.hover && !view.slots().empty()) {
        view.setHovered(0);
        view.stopAnimation();
        std::vector<double> progress(view.slots().size(), 0.0);
        progress[0] = 1;
        view.setProgress(progress);
    }
    view.setFixedElapsed(mode.elapsed);
    view.setHubState(previewHub(mode));
    view.stopSpinner();

    QImage image(previewSize * previewRatio, previewSize * previewRatio,
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(previewRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paintBackdrop(painter);
    view.paint(painter);
    return image;
}

void writePreview(const PreviewMode& mode) {
    const QImage image = renderPreview(mode);
    const QString path = QString::fromStdString(mode.output);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        throw PreviewError("미리보기를 저장할 수 없음: " + mode.output);
    }
}

}  // namespace tavrino::app
