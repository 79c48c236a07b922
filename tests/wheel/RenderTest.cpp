// The wheel as drawn, judged by measured pixels rather than by comparison with a stored
// picture: colours, where ink falls, and what stays empty.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <functional>

#include "menu/HubText.h"
#include "menu/MenuRules.h"
#include "wheel/HubDrawing.h"
#include "wheel/Icons.h"
#include "wheel/WheelStyle.h"
#include "wheel/WheelView.h"

using namespace tavrino;
using namespace tavrino::wheel;

namespace {

constexpr int side = 704;  // 352 points at device pixel ratio 2
constexpr double centerPx = side / 2.0;

DragInfo pngDrag() {
    return {{"/tmp/sample-screenshot.png"}, 1234567, Fmt::png, {}, false};
}

// The standard wheel for a PNG drag, fixed in time, with the given setup applied.
QImage render(const std::function<void(WheelView&)>& setup = {}) {
    WheelView view;
    view.resize(352, 352);
    view.configure(pngDrag(), false);
    view.setForceReduceMotion(false);
    if (setup) setup(view);
    view.stopAnimation();
    view.stopSpinner();
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    view.paint(painter);
    return image;
}

void hoverFirst(WheelView& view) {
    view.setHovered(0);
    std::vector<double> progress(view.slots().size(), 0.0);
    progress[0] = 1;
    view.setProgress(progress);
}

// Pixels in image coordinates at a distance (in points) and angle (y up) from the centre.
QColor pixelAt(const QImage& image, double radius, double angleDeg) {
    const double a = angleDeg * M_PI / 180;
    return image.pixelColor(static_cast<int>(centerPx + 2 * radius * std::cos(a)),
                            static_cast<int>(centerPx - 2 * radius * std::sin(a)));
}

bool near(const QColor& a, const QColor& b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

bool isWhiteInk(const QColor& c) {
    return c.alpha() > 100 && c.red() > 150 && std::abs(c.red() - c.blue()) < 30 &&
           std::abs(c.red() - c.green()) < 30;
}

// The horizontal middle of the white ink inside a circle, between two rows (pixels).
double inkMiddle(const QImage& image, double radiusPt, int top, int bottom) {
    int left = side, right = -1;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < side; ++x) {
            if (std::hypot(x + 0.5 - centerPx, y + 0.5 - centerPx) > 2 * radiusPt) continue;
            if (!isWhiteInk(image.pixelColor(x, y))) continue;
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    return right < 0 ? -1 : (left + right + 1) / 2.0;
}

}  // namespace

TEST(WheelRendering, HoveredPetalCarriesTheAccent) {
    const QImage image = render(hoverFirst);
    const QColor accent = wheelColors().accent;
    const QColor light = blended(accent, 0.18, Qt::white);
    // Inside petal 0, beside its label; petal 0 of five spans 90 +- 36 degrees.
    for (double angle : {70.0, 110.0}) {
        for (double radius : {75.0, 140.0}) {
            const QColor seen = pixelAt(image, radius, angle);
            EXPECT_GT(seen.alpha(), 250);
            const bool between = seen.red() >= std::min(accent.red(), light.red()) - 6 &&
                                 seen.red() <= std::max(accent.red(), light.red()) + 6 &&
                                 seen.blue() >= std::min(accent.blue(), light.blue()) - 6 &&
                                 seen.blue() <= std::max(accent.blue(), light.blue()) + 6;
            EXPECT_TRUE(between) << radius << "@" << angle << " " << seen.name().toStdString();
        }
    }
    // The next petal has no fill.
    EXPECT_EQ(pixelAt(image, 140, 90 - 72 + 20).alpha(), 0);
}

TEST(WheelRendering, BarelyHoveredPetalHasNoHighlight) {
    const auto withProgress = [](double p) {
        return render([=](WheelView& view) {
            std::vector<double> progress(view.slots().size(), 0.0);
            progress[0] = p;
            view.setProgress(progress);
        });
    };
    EXPECT_TRUE(withProgress(0.0005) == withProgress(0));
    const QImage half = withProgress(0.5);
    EXPECT_TRUE(half != withProgress(0));
    // Drawn at half strength: the fill covers half, the glow beneath it adds at most its own
    // 0.45 at half strength under the uncovered half.
    const int halfAlpha = pixelAt(half, 140, 70).alpha();
    EXPECT_GE(halfAlpha, 127);
    EXPECT_LE(halfAlpha, 128 + 0.45 * 0.5 * 128 + 2);
}

TEST(WheelRendering, NothingOutsideTheOuterRadius) {
    for (bool tools : {false, true}) {
        const QImage image = render([&](WheelView& view) {
            view.configure(pngDrag(), tools);
            for (size_t i = 0; i < view.slots().size(); ++i) {
                view.setHovered(static_cast<int>(i));  // every petal raised at once
            }
            view.setProgress(std::vector<double>(view.slots().size(), 1.0));
        });
        int outside = 0, inside = 0;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                const double d = std::hypot(x + 0.5 - centerPx, y + 0.5 - centerPx);
                const int alpha = image.pixelColor(x, y).alpha();
                if (d > 2 * 176 + 1 && alpha > 0) ++outside;
                if (d < 2 * 176 && alpha > 0) ++inside;
            }
        }
        EXPECT_EQ(outside, 0) << tools;
        EXPECT_GT(inside, 1000) << tools;
    }
}

TEST(WheelRendering, EarlyWorkingHubShowsOnlyTheDisc) {
    const auto working = [](double t, bool reduce) {
        return render([=](WheelView& view) {
            view.setFixedElapsed(t);
            view.setForceReduceMotion(reduce);
            view.setHubState(HubWorking{1, 5, "한글 문서는\n조금 걸립니다"});
        });
    };
    const QImage early = working(0.1, false);
    const QRgb disc = early.pixel(side / 2, side / 2);
    int differing = 0;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            if (std::hypot(x + 0.5 - centerPx, y + 0.5 - centerPx) < 2 * 48 &&
                early.pixel(x, y) != disc) {
                ++differing;
            }
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_TRUE(working(1.0, false) != early);
    EXPECT_TRUE(working(1.0, true) != early);
}

TEST(WheelRendering, SpinnerOrDotsAfterTheDelay) {
    const QColor accent = wheelColors().accent;
    auto accentOnRing = [&](const QImage& image) {
        int count = 0;
        for (double angle = 0; angle < 360; angle += 2) {
            count += near(pixelAt(image, 46, angle), accent, 40);
        }
        return count;
    };
    const auto at = [](bool reduce) {
        return render([=](WheelView& view) {
            view.setFixedElapsed(1.0);
            view.setForceReduceMotion(reduce);
            view.setHubState(HubWorking{0, 1, ""});
        });
    };
    EXPECT_GT(accentOnRing(at(false)), 10);
    EXPECT_EQ(accentOnRing(at(true)), 0);
}

TEST(WheelRendering, HubTextIsCentred) {
    const QImage idle = render();
    EXPECT_NEAR(inkMiddle(idle, 44, side / 2 - 60, side / 2 + 60), centerPx, 2);
    const QImage hovered = render(hoverFirst);
    EXPECT_NEAR(inkMiddle(hovered, 44, side / 2 - 60, side / 2 + 60), centerPx, 2);
    // Below the badge of a result.
    const QImage done = render([](WheelView& view) { view.setHubState(HubDone{"3개 완료"}); });
    EXPECT_NEAR(inkMiddle(done, 44, side / 2 + 10, side / 2 + 80), centerPx, 2);
    const QImage three = render(
        [](WheelView& view) { view.setHubState(HubFailed{"2개 완료\n1개 건너뜀\n1개 실패"}); });
    EXPECT_NEAR(inkMiddle(three, 44, side / 2, side / 2 + 88), centerPx, 2);
}

TEST(HubLines, LongestFailureTextFitsTheCircle) {
    // The widest three-line results for up to 99 files per count still fit at 9 points.
    for (const char* text :
         {"1개 완료\n1개 건너뜀\n2개 실패", "99개 완료\n99개 건너뜀\n99개 실패"}) {
        const HubLineMeasure measured = measureHubLines(QString(text).split('\n'));
        ASSERT_EQ(measured.sizes.size(), 3u);
        ASSERT_TRUE(measured.place.has_value()) << text;
        for (const QSizeF& size : measured.sizes)
            EXPECT_GT(size.width(), 20);
    }
    const HubLineMeasure wide = measureHubLines({QString(40, 'W')});
    EXPECT_FALSE(wide.place.has_value());
    EXPECT_EQ(hubLineFont().weight(), QFont::Medium);
}

TEST(HubLines, BlankResultsAreReplacedCountedAndLogged) {
    const int before = emptyHubTexts();
    EXPECT_EQ(hubTextOrFallback(true, ""), "완료");
    EXPECT_EQ(hubTextOrFallback(true, "  \n "), "완료");
    EXPECT_EQ(hubTextOrFallback(false, ""), "실패");
    EXPECT_EQ(emptyHubTexts(), before + 3);
    EXPECT_EQ(hubTextOrFallback(true, " 완료 "), " 완료 ");
    EXPECT_EQ(emptyHubTexts(), before + 3);
    // A blank result on screen still shows its word, so the hub is not empty.
    const QImage blank = render([](WheelView& view) { view.setHubState(HubDone{""}); });
    EXPECT_GT(inkMiddle(blank, 44, side / 2 + 10, side / 2 + 80), 0);
}

TEST(Icons, EverySymbolOfTheMenusHasAnIcon) {
    std::vector<WheelItem> items;
    items.reserve(allFmts.size() + allTools.size() + 2 * allDocTargets.size() + 1);
    for (Fmt fmt : allFmts)
        items.emplace_back(std::in_place_type<ConvertItem>, fmt);
    for (Tool tool : allTools)
        items.emplace_back(std::in_place_type<ToolItem>, tool);
    for (DocTarget target : allDocTargets) {
        items.emplace_back(std::in_place_type<DocumentItem>, target);
        items.emplace_back(std::in_place_type<FromWordItem>, target);
    }
    items.emplace_back(std::in_place_type<CommonItem>, "unknown");
    for (const WheelItem& item : items) {
        EXPECT_TRUE(hasIcon(symbol(item))) << symbol(item);
        EXPECT_GT(iconSize(symbol(item)).width(), 10);
    }
}

TEST(Icons, UnknownNameDrawsNothingAndMeasuresZero) {
    EXPECT_EQ(iconSize("no.such.symbol"), QSizeF(0, 0));
    EXPECT_EQ(iconSize(""), QSizeF(0, 0));
    QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QImage before = image;
    {
        QPainter painter(&image);
        drawIcon(painter, "no.such.symbol", QRectF(0, 0, 40, 40), Qt::white);
    }
    EXPECT_TRUE(image == before);
    {
        QPainter painter(&image);
        drawIcon(painter, "photo", QRectF(0, 0, 40, 40), Qt::red);
    }
    EXPECT_TRUE(image != before);
}
