#pragma once
// The crop window: the picture with its crop rectangle, and a bar with the ratio control,
// the size in pixels, "되돌리기" and "적용". "적용" (or Return) closes the window and then
// writes the crop beside the source on a worker thread; Esc or the close control closes it
// without writing. The outcome goes to the activity log, with the beep on failure.
//
// Each drop on the crop petal opens a window of its own; a controller lives from show()
// until its window closes. The window, unlike the wheel, comes to the front with the focus:
// the user works in it.

#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "convert/Image.h"

class QLabel;
class QPushButton;
class QWidget;

namespace tavrino::app {

class CropCanvas;
class SegmentedControl;

class CropWindowController : public QObject {
    Q_OBJECT
  public:
    // Reads the picture and opens its window in front. Throws the reader's ConvertError
    // ("이미지로 읽을 수 없음: ...") when the picture cannot be read; nothing opens then.
    static CropWindowController& show(const std::filesystem::path& source);
    // The controllers whose windows are open, oldest first.
    static const std::vector<CropWindowController*>& open();

    // Builds the window for `image` (the picture of `source` the right way up) without
    // showing it; `scale` is the screen's device pixel ratio, for the on-screen copy.
    CropWindowController(std::filesystem::path source, const Image& image, double scale = 1);
    ~CropWindowController() override;

    // Called on the GUI thread once a crop was written (true) or failed (false); by default
    // the failure beeps.
    static std::function<void(bool written)>& writeFinished();

    QWidget* window() const { return window_.get(); }
    CropCanvas* canvas() const { return canvas_; }
    QLabel* sizeLabel() const { return sizeLabel_; }
    SegmentedControl* segmented() const { return segmented_; }
    QPushButton* applyButton() const { return applyButton_; }
    QPushButton* resetButton() const { return resetButton_; }
    const std::filesystem::path& source() const { return src_; }

    void ratioChanged(int index);
    void applyCrop();
    void resetCrop();
    void cancelOperation();
    void updateLabel();
    // The window is closing (by any way): this controller leaves `open` and goes.
    void windowWillClose();

  private:
    void build(const Image& image, double scale);

    std::filesystem::path src_;
    std::unique_ptr<QWidget> window_;
    CropCanvas* canvas_ = nullptr;
    QLabel* sizeLabel_ = nullptr;
    SegmentedControl* segmented_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QPushButton* resetButton_ = nullptr;
    bool closing_ = false;
};

}  // namespace tavrino::app
