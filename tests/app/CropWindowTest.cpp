// The crop window off screen: its size for large and small pictures, the ratio control, the
// size label, mouse drags on the canvas, 되돌리기, Esc and Return, several windows at once, and
// a picture that cannot be read.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <thread>

#include "Fakes.h"
#include "app/CropCanvas.h"
#include "app/CropWindowController.h"
#include "app/SegmentedControl.h"
#include "convert/ConvertError.h"
#include "convert/ImageWriter.h"
#include "support/Fixtures.h"
#include "support/Judges.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace tavrino::app {
namespace {

void sendMouse(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// A press, a few moves on the way and the release, as a hand drags.
void drag(QWidget* widget, QPointF from, QPointF to) {
    sendMouse(widget, QEvent::MouseButtonPress, from, Qt::LeftButton);
    for (int step = 1; step <= 4; ++step) {
        sendMouse(widget, QEvent::MouseMove, from + (to - from) * step / 4.0, Qt::LeftButton);
    }
    sendMouse(widget, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

struct CropWindow : ::testing::Test {
    CropWindow() {
        CropWindowController::writeFinished() = [this](bool written) {
            outcomes.push_back(written);
        };
    }
    ~CropWindow() override {
        for (CropWindowController* open : std::vector(CropWindowController::open())) {
            open->window()->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        CropWindowController::writeFinished() = [](bool written) {
            if (!written) QApplication::beep();
        };
    }
    // Waits for the worker's outcome to come back to the GUI thread.
    bool waitForOutcome() {
        for (int i = 0; i < 200 && outcomes.empty(); ++i)
            QTest::qWait(25);
        return !outcomes.empty();
    }
    QString label(CropWindowController& controller) { return controller.sizeLabel()->text(); }
    void clickSegment(CropWindowController& controller, int index) {
        SegmentedControl* segmented = controller.segmented();
        QTest::mouseClick(segmented, Qt::LeftButton, {}, segmented->segmentRect(index).center());
    }

    test::TempDir dir;
    test::LogCapture log;
    std::vector<bool> outcomes;
};

TEST_F(CropWindow, SizedByThePictureAndTitledByTheFile) {
    const fs::path big = test::writeImage(dir / "big.png", 4000, 3000);
    CropWindowController& large = CropWindowController::show(big);
    EXPECT_EQ(large.window()->size(), QSize(848, 708));
    EXPECT_EQ(large.canvas()->size(), QSize(848, 648));
    EXPECT_EQ(large.window()->windowTitle(), "자르기 — big.png");
    EXPECT_EQ(label(large), "4000 × 3000 px");

    const fs::path small = test::writeImage(dir / "small.png", 100, 100);
    CropWindowController& tiny = CropWindowController::show(small);
    EXPECT_EQ(tiny.window()->size(), QSize(520, 380));
    EXPECT_EQ(tiny.canvas()->imageRect(), (crop::Rect{124, 24, 272, 272}));
    // Both windows are open at once, and each goes when it closes.
    EXPECT_EQ(CropWindowController::open().size(), 2u);
    tiny.window()->close();
    EXPECT_EQ(CropWindowController::open(), std::vector{&large});
}

TEST_F(CropWindow, RatiosFreeAndResetThroughTheControls) {
    CropWindowController& window =
        CropWindowController::show(test::writeImage(dir / "a.png", 400, 300));
    clickSegment(window, 1);  // 1:1
    EXPECT_EQ(label(window), "300 × 300 px");
    EXPECT_EQ(window.canvas()->geometry().crop(), (crop::Rect{50, 0, 300, 300}));
    clickSegment(window, 2);  // 4:3
    EXPECT_EQ(label(window), "400 × 300 px");
    clickSegment(window, 1);
    EXPECT_EQ(window.canvas()->geometry().crop(), (crop::Rect{50, 0, 300, 300}));
    clickSegment(window, 0);  // 자유 keeps the rectangle
    EXPECT_EQ(window.canvas()->geometry().crop(), (crop::Rect{50, 0, 300, 300}));
    EXPECT_FALSE(window.canvas()->geometry().aspect());

    clickSegment(window, 4);  // 16:9
    QTest::mouseClick(window.resetButton(), Qt::LeftButton);
    EXPECT_EQ(window.segmented()->selected(), 0);
    EXPECT_FALSE(window.canvas()->geometry().aspect());
    EXPECT_EQ(label(window), "400 × 300 px");
}

TEST_F(CropWindow, ReturnWritesExactlyWhatTheLabelShows) {
    // Drawn at 0.2, so every view point is five pixels and the drags end between pixels.
    const fs::path photo = test::writeImage(dir / "photo.jpg", 4000, 3000);
    CropWindowController& window = CropWindowController::show(photo);
    CropCanvas* canvas = window.canvas();
    const crop::Rect view = canvas->cropInView();
    drag(canvas, {view.maxX(), view.maxY()}, {view.maxX() - 213.7, view.maxY() - 101.3});
    drag(canvas, {view.minX(), view.midY()}, {view.minX() + 37.1, view.midY()});
    const QString shown = label(window);
    EXPECT_NE(shown, "4000 × 3000 px");

    QTest::keyClick(window.window(), Qt::Key_Return);
    EXPECT_TRUE(CropWindowController::open().empty());
    ASSERT_TRUE(waitForOutcome());
    EXPECT_TRUE(outcomes.front());
    const auto seen = test::identify(dir / "photo 자름.jpg");
    ASSERT_TRUE(seen);
    EXPECT_EQ(QString("%1 × %2 px").arg(seen->width).arg(seen->height), shown);
    const std::string size = std::to_string(seen->width) + "x" + std::to_string(seen->height);
    EXPECT_TRUE(log.contains("자르기 완료: photo.jpg -> photo 자름.jpg " + size));
}

TEST_F(CropWindow, EscapeClosesAndWritesNothing) {
    CropWindowController& window =
        CropWindowController::show(test::writeImage(dir / "a.png", 400, 300));
    QTest::keyClick(window.window(), Qt::Key_Escape);
    EXPECT_TRUE(CropWindowController::open().empty());
    QTest::qWait(100);
    EXPECT_EQ(test::namesIn(dir.path()), (std::vector<std::string>{"a.png"}));
    EXPECT_TRUE(outcomes.empty());
}

TEST_F(CropWindow, FailureAfterClosingIsLoggedAndReported) {
    const fs::path source = test::writeImage(dir / "gone.png", 200, 100);
    CropWindowController& window = CropWindowController::show(source);
    fs::remove(source);  // the picture went away while the window was open
    QTest::mouseClick(window.applyButton(), Qt::LeftButton);
    ASSERT_TRUE(waitForOutcome());
    EXPECT_FALSE(outcomes.front());
    EXPECT_TRUE(log.contains("자르기 실패: gone.png: 이미지로 읽을 수 없음: gone.png"));
}

TEST_F(CropWindow, UnreadablePictureOpensNothing) {
    test::writeBytes(dir / "broken.png", "not a picture");
    EXPECT_THROW(CropWindowController::show(dir / "broken.png"), ConvertError);
    EXPECT_TRUE(CropWindowController::open().empty());
}

TEST_F(CropWindow, CanvasDrawsTheCropOverThePicture) {
    // White picture: inside the crop it stays white, outside it is dimmed, and the canvas
    // around the picture keeps its own dark background.
    const PixelBuffer pixels{400, 300, 3, std::vector<std::uint8_t>(400 * 300 * 3, 255)};
    const fs::path white = writeImage(Image::fromPixels(pixels), dir / "white.png", Fmt::png, 1);
    CropWindowController controller(white, loadOrientedImage(white));
    controller.ratioChanged(1);  // 1:1: (50, 0, 300, 300), drawn 1:1 at (74, 24)
    const QImage drawn = controller.canvas()->grab().toImage();
    const QColor inside = drawn.pixelColor(200, 150);
    const QColor outside = drawn.pixelColor(40, 150);
    const QColor around = drawn.pixelColor(5, 5);
    EXPECT_GT(inside.lightness(), outside.lightness() + 60);
    EXPECT_EQ(around.rgb(), CropCanvas::background().rgb());
}

}  // namespace
}  // namespace tavrino::app
