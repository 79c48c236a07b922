#include "app/CropWindowController.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <thread>

#include "app/CropCanvas.h"
#include "app/DarkPalette.h"
#include "app/PanelLayout.h"
#include "app/SegmentedControl.h"
#include "tools/CropImage.h"
#include "tools/PixelTools.h"

namespace fs = std::filesystem;

namespace tavrino::app {
namespace {

constexpr int barInset = 16;
constexpr int labelGap = 14;
constexpr int buttonGap = 8;

std::vector<CropWindowController*>& openControllers() {
    static std::vector<CropWindowController*> controllers;
    return controllers;
}

// Tells its controller when it closes, whichever way: "적용", Esc or the close control; Return
// applies and Esc cancels wherever the focus is in the window.
class CropWindow : public QWidget {
  public:
    explicit CropWindow(CropWindowController& controller) : controller_(controller) {
        setFocusPolicy(Qt::StrongFocus);
    }

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                controller_.applyCrop();
                return;
            case Qt::Key_Escape:
                controller_.cancelOperation();
                return;
            default:
                QWidget::keyPressEvent(event);
        }
    }

    void closeEvent(QCloseEvent* event) override {
        event->accept();
        controller_.windowWillClose();
    }

  private:
    CropWindowController& controller_;
};

// 8-bit pixels as a premultiplied ARGB image, the format QPainter draws fastest.
QImage toQImage(const PixelBuffer& pixels) {
    const int w = pixels.width, h = pixels.height;
    const auto stride = static_cast<qsizetype>(pixels.rowBytes());
    switch (pixels.bands) {
        case 1:
            return QImage(pixels.bytes.data(), w, h, stride, QImage::Format_Grayscale8)
                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        case 3:
            return QImage(pixels.bytes.data(), w, h, stride, QImage::Format_RGB888)
                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        case 4:
            return QImage(pixels.bytes.data(), w, h, stride, QImage::Format_RGBA8888)
                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        default: {
            // Grey with alpha has no QImage format of its own.
            QImage rgba(w, h, QImage::Format_RGBA8888);
            for (int y = 0; y < h; ++y) {
                const std::uint8_t* in = pixels.bytes.data() + static_cast<size_t>(y) * stride;
                std::uint8_t* out = rgba.scanLine(y);
                for (int x = 0; x < w; ++x, in += 2, out += 4) {
                    out[0] = out[1] = out[2] = in[0];
                    out[3] = in[1];
                }
            }
            return rgba.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        }
    }
}

// The picture at the size it is drawn on screen (never enlarged: a small picture is drawn
// enlarged from its own pixels).
QImage screenCopy(const Image& image, double factor) {
    if (factor < 1) {
        if (const std::optional<Image> smaller = scaled(image, factor)) {
            return toQImage(smaller->pixels());
        }
    }
    return toQImage(image.pixels());
}

// Sized to the title rather than to the style's generous minimum, so that the bar fits the
// smallest window.
void fitToTitle(QPushButton* button) {
    button->adjustSize();
    const int fitting = button->fontMetrics().horizontalAdvance(button->text()) + 28;
    button->resize(std::max(fitting, 64), button->height());
}

QFont sizeLabelFont() {
    QFont font = QApplication::font();
    font.setPixelSize(11);
    font.setWeight(QFont::Normal);
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    // Tabular digits, so the label does not jitter while the numbers change.
    font.setFeature(QFont::Tag("tnum"), 1);
#endif
    return font;
}

}  // namespace

std::function<void(bool)>& CropWindowController::writeFinished() {
    static std::function<void(bool)> finished = [](bool written) {
        if (!written) QApplication::beep();
    };
    return finished;
}

const std::vector<CropWindowController*>& CropWindowController::open() {
    return openControllers();
}

CropWindowController& CropWindowController::show(const fs::path& source) {
    const Image image = loadOrientedImage(source);
    const qreal scale = qApp ? qApp->devicePixelRatio() : 1.0;
    auto* controller = new CropWindowController(source, image, scale);
    openControllers().push_back(controller);
    PanelLayout::show(controller->window());
    return *controller;
}

CropWindowController::CropWindowController(fs::path source, const Image& image, double scale)
    : src_(std::move(source)) {
    build(image, scale);
}

CropWindowController::~CropWindowController() = default;

void CropWindowController::build(const Image& image, double scale) {
    const crop::Size imageSize{static_cast<double>(image.width()),
                               static_cast<double>(image.height())};
    const crop::WindowLayout layout = crop::windowLayout(imageSize);
    const int canvasWidth = static_cast<int>(std::ceil(layout.canvas.width));
    const int canvasHeight = static_cast<int>(std::ceil(layout.canvas.height));
    const int barHeight = static_cast<int>(crop::barHeight);

    // The accent is the desktop's, even though the window is always dark.
    const QColor accent = QApplication::palette().color(QPalette::Highlight);
    QPalette palette = darkPalette();
    palette.setColor(QPalette::Highlight, accent);
    palette.setColor(QPalette::Light, QColor(92, 92, 98));
    palette.setColor(QPalette::Mid, QColor(72, 72, 76));

    window_ = std::make_unique<CropWindow>(*this);
    window_->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowCloseButtonHint);
    window_->setWindowTitle(QString::fromStdString("자르기 — " + src_.filename().string()));
    window_->setPalette(palette);
    window_->setAutoFillBackground(true);
    window_->setFixedSize(canvasWidth, canvasHeight + barHeight);

    canvas_ = new CropCanvas(screenCopy(image, std::min(1.0, layout.scale * scale)), imageSize,
                             window_.get());
    canvas_->setGeometry(0, 0, canvasWidth, canvasHeight);
    canvas_->setAccent(accent);

    auto* bar = new QWidget(window_.get());
    bar->setGeometry(0, canvasHeight, canvasWidth, barHeight);
    bar->setAutoFillBackground(true);

    QStringList labels;
    for (const crop::Ratio& ratio : crop::ratios)
        labels << QString::fromUtf8(ratio.label.data(), static_cast<qsizetype>(ratio.label.size()));
    segmented_ = new SegmentedControl(labels, bar);
    segmented_->move(barInset, (barHeight - segmented_->height()) / 2);
    connect(segmented_, &SegmentedControl::selectionChanged, this,
            &CropWindowController::ratioChanged);

    sizeLabel_ = new QLabel(bar);
    sizeLabel_->setFont(sizeLabelFont());
    QPalette secondary = palette;
    secondary.setColor(QPalette::WindowText, QColor(236, 236, 236, 140));
    sizeLabel_->setPalette(secondary);
    // 22 from the bar's bottom edge, 16 high: the same 22 from its top.
    sizeLabel_->setGeometry(segmented_->geometry().right() + 1 + labelGap, 22, 140, 16);

    applyButton_ = new QPushButton("적용", bar);
    applyButton_->setDefault(true);
    fitToTitle(applyButton_);
    applyButton_->move(canvasWidth - applyButton_->width() - barInset,
                       (barHeight - applyButton_->height()) / 2);
    connect(applyButton_, &QPushButton::clicked, this, &CropWindowController::applyCrop);

    resetButton_ = new QPushButton("되돌리기", bar);
    resetButton_->setAutoDefault(false);
    fitToTitle(resetButton_);
    resetButton_->move(applyButton_->x() - resetButton_->width() - buttonGap,
                       (barHeight - resetButton_->height()) / 2);
    connect(resetButton_, &QPushButton::clicked, this, &CropWindowController::resetCrop);
    // The label never runs under the buttons of a narrow window.
    const QRect label = sizeLabel_->geometry();
    sizeLabel_->resize(std::min(label.width(), resetButton_->x() - buttonGap - label.x()),
                       label.height());

    canvas_->onChange = [this] { updateLabel(); };
    updateLabel();
}

void CropWindowController::ratioChanged(int index) {
    if (index < 0 || index >= static_cast<int>(crop::ratios.size())) return;
    canvas_->setAspect(crop::ratios[static_cast<size_t>(index)].value);
}

void CropWindowController::resetCrop() {
    segmented_->setSelected(0);
    canvas_->reset();
}

void CropWindowController::applyCrop() {
    if (closing_) return;
    const crop::Rect rect = canvas_->geometry().crop();
    const fs::path source = src_;
    window_->close();
    // The file is written after the window has gone, off the GUI thread; only the outcome
    // comes back.
    std::thread([source, rect] {
        const bool written = cropAndLog(source, rect).has_value();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [written] {
                if (const auto& finished = writeFinished()) finished(written);
            },
            Qt::QueuedConnection);
    }).detach();
}

void CropWindowController::cancelOperation() {
    window_->close();
}

void CropWindowController::updateLabel() {
    sizeLabel_->setText(QString::fromStdString(crop::sizeLabel(canvas_->geometry().crop())));
}

void CropWindowController::windowWillClose() {
    if (closing_) return;
    closing_ = true;
    auto& controllers = openControllers();
    const auto found = std::find(controllers.begin(), controllers.end(), this);
    if (found == controllers.end()) return;  // built without show(): its owner deletes it
    controllers.erase(found);
    deleteLater();
}

}  // namespace tavrino::app
