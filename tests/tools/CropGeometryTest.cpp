// The crop window's model: window sizes, the mapping into the canvas, which handle a point
// hits, the drag rules with and without a ratio, the ratios themselves and the size label.

#include <gtest/gtest.h>

#include <cmath>

#include "tools/crop/CropGeometry.h"

using namespace tavrino::crop;

namespace {

// A canvas in which a 400 × 300 image is drawn 1:1: 448 × 348 leaves exactly the margins.
constexpr Size photo{400, 300};
constexpr Size oneToOne{448, 348};

// Presses at a view point, drags by (dx, dy) view points, releases; the crop afterwards.
Rect dragged(CropGeometry& geometry, Point from, double dx, double dy, Size bounds = oneToOne) {
    geometry.press(from, bounds);
    geometry.dragTo({from.x + dx, from.y + dy}, bounds);
    geometry.release();
    return geometry.crop();
}

// The view point of an image pixel in the 1:1 canvas.
Point at(double x, double y) {
    return {x + 24, y + 24};
}

// A geometry of the photo whose crop was set by dragging the corners (free ratio).
CropGeometry withCrop(const Rect& crop, Size image = photo) {
    CropGeometry geometry(image);
    const Size bounds{image.width + 48, image.height + 48};
    dragged(geometry, {24, 24}, crop.x, crop.y, bounds);
    dragged(geometry, {24 + image.width, 24 + image.height}, crop.maxX() - image.width,
            crop.maxY() - image.height, bounds);
    return geometry;
}

bool isWhole(const Rect& r) {
    const auto whole = [](double value) { return value == std::round(value); };
    return whole(r.x) && whole(r.y) && whole(r.width) && whole(r.height);
}

// Where a handle of a view rectangle is grabbed.
Point handlePoint(const Rect& view, Grip grip) {
    switch (grip) {
        case Grip::nw:
            return {view.minX(), view.minY()};
        case Grip::se:
            return {view.maxX(), view.maxY()};
        case Grip::sw:
            return {view.minX(), view.maxY()};
        case Grip::n:
            return {view.midX(), view.minY()};
        case Grip::e:
            return {view.maxX(), view.midY()};
        default:
            return {view.midX(), view.midY()};
    }
}

}  // namespace

TEST(CropWindowSize, LargePhotoIsFittedAndSmallImageGetsTheSmallestCanvas) {
    const WindowLayout big = windowLayout({4000, 3000});
    EXPECT_DOUBLE_EQ(big.scale, 0.2);
    EXPECT_EQ(big.canvas, (Size{848, 648}));
    EXPECT_EQ(big.content, (Size{848, 708}));

    const WindowLayout small = windowLayout({100, 100});
    EXPECT_DOUBLE_EQ(small.scale, 1);  // never enlarged to size the window
    EXPECT_EQ(small.canvas, (Size{520, 320}));
    EXPECT_EQ(small.content, (Size{520, 380}));
    // ... but drawn enlarged to fill the canvas inside its margins, centred.
    EXPECT_EQ(imageRect({100, 100}, small.canvas), (Rect{124, 24, 272, 272}));

    // A tall picture is limited by the height.
    const WindowLayout tall = windowLayout({1000, 3000});
    EXPECT_DOUBLE_EQ(tall.scale, 0.2);
    EXPECT_EQ(tall.canvas, (Size{520, 648}));
}

TEST(CropMapping, ImagePixelsToViewPoints) {
    const Size bounds = windowLayout({4000, 3000}).canvas;
    EXPECT_EQ(imageRect({4000, 3000}, bounds), (Rect{24, 24, 800, 600}));
    EXPECT_EQ(toView({4000, 3000}, bounds, {1000, 500, 2000, 1000}), (Rect{224, 124, 400, 200}));
}

TEST(CropGrips, CornersThenEdgesThenInside) {
    CropGeometry geometry = withCrop({100, 100, 200, 100});
    const Rect view = toView(photo, oneToOne, geometry.crop());
    ASSERT_EQ(view, (Rect{124, 124, 200, 100}));
    EXPECT_EQ(geometry.gripAt({130, 130}, oneToOne), Grip::nw);
    EXPECT_EQ(geometry.gripAt({318, 113}, oneToOne), Grip::ne);
    EXPECT_EQ(geometry.gripAt({120, 230}, oneToOne), Grip::sw);
    EXPECT_EQ(geometry.gripAt({335, 235}, oneToOne), Grip::se);
    EXPECT_EQ(geometry.gripAt({200, 120}, oneToOne), Grip::n);
    EXPECT_EQ(geometry.gripAt({200, 230}, oneToOne), Grip::s);
    EXPECT_EQ(geometry.gripAt({113, 170}, oneToOne), Grip::w);
    EXPECT_EQ(geometry.gripAt({330, 170}, oneToOne), Grip::e);
    EXPECT_EQ(geometry.gripAt({200, 170}, oneToOne), Grip::move);
    // 12 points away is no longer a handle, and outside the rectangle nothing is.
    EXPECT_EQ(geometry.gripAt({200, 112}, oneToOne), std::nullopt);
    EXPECT_EQ(geometry.gripAt({40, 40}, oneToOne), std::nullopt);
}

TEST(CropGrips, WithARatioEdgesAreNotHandles) {
    CropGeometry geometry(photo);
    geometry.setAspect(1.0);  // (50, 0, 300, 300): view (74, 24) to (374, 324)
    EXPECT_EQ(geometry.gripAt({200, 30}, oneToOne), Grip::move);    // near the top, inside
    EXPECT_EQ(geometry.gripAt({200, 18}, oneToOne), std::nullopt);  // near the top, outside
    EXPECT_EQ(geometry.gripAt({370, 320}, oneToOne), Grip::se);     // corners stay
    geometry.setAspect(std::nullopt);
    EXPECT_EQ(geometry.gripAt({200, 30}, oneToOne), Grip::n);
}

TEST(CropDrag, ClampsRunLeftEdgeFirst) {
    // Dragging the left edge 250 px right stops 20 px before the right edge.
    CropGeometry left = withCrop({100, 100, 200, 200});
    EXPECT_EQ(dragged(left, at(100, 200), 250, 0), (Rect{280, 100, 20, 200}));
    // Dragging the bottom-right corner 250 px left pushes the left edge along.
    CropGeometry corner = withCrop({100, 100, 200, 200});
    EXPECT_EQ(dragged(corner, at(300, 300), -250, 0), (Rect{30, 100, 20, 200}));
    // The top edge past the bottom edge stops 20 px above it.
    CropGeometry top = withCrop({100, 100, 200, 150});
    EXPECT_EQ(dragged(top, at(200, 100), 0, 500), (Rect{100, 230, 200, 20}));
}

TEST(CropDrag, EdgesStopAtTheImageBorder) {
    CropGeometry geometry = withCrop({100, 100, 200, 100});
    EXPECT_EQ(dragged(geometry, at(300, 150), 900, 0), (Rect{100, 100, 300, 100}));
    EXPECT_EQ(dragged(geometry, at(200, 100), 0, -900), (Rect{100, 0, 300, 200}));
    EXPECT_EQ(dragged(geometry, at(100, 0), -900, -900), (Rect{0, 0, 400, 200}));
}

TEST(CropDrag, MovingStopsAtABorderAndKeepsTheSize) {
    CropGeometry geometry = withCrop({100, 100, 200, 100});
    EXPECT_EQ(dragged(geometry, at(200, 150), 500, 20), (Rect{200, 120, 200, 100}));
    EXPECT_EQ(dragged(geometry, at(300, 170), -1000, -1000), (Rect{0, 0, 200, 100}));
}

TEST(CropDrag, EveryStepCountsFromThePress) {
    CropGeometry geometry = withCrop({100, 100, 200, 100});
    geometry.press(at(200, 150), oneToOne);
    geometry.dragTo(at(230, 150), oneToOne);
    geometry.dragTo(at(210, 150), oneToOne);
    EXPECT_EQ(geometry.crop(), (Rect{110, 100, 200, 100}));
    geometry.release();
    EXPECT_EQ(geometry.grip(), std::nullopt);
    // A press on nothing drags nothing.
    EXPECT_EQ(geometry.press({5, 5}, oneToOne), std::nullopt);
    EXPECT_FALSE(geometry.dragTo({50, 50}, oneToOne));
    EXPECT_EQ(geometry.crop(), (Rect{110, 100, 200, 100}));
}

TEST(CropDrag, RatioCornerKeepsTheAnchorAndTheShape) {
    CropGeometry geometry(photo);
    geometry.setAspect(16.0 / 9.0);
    ASSERT_EQ(geometry.crop(), (Rect{0, 38, 400, 225}));  // 37.5 snapped to whole pixels
    // Bottom-right corner 80 px to the left: the top-left stays, 16:9 stays.
    geometry.press(at(400, 263), oneToOne);
    ASSERT_EQ(geometry.grip(), Grip::se);
    EXPECT_TRUE(geometry.dragTo(at(320, 267), oneToOne));
    EXPECT_EQ(geometry.crop(), (Rect{0, 38, 320, 180}));
    // Too narrow for the smallest crop: the step is ignored, the last good crop stays.
    EXPECT_FALSE(geometry.dragTo(at(15, 267), oneToOne));
    EXPECT_EQ(geometry.crop(), (Rect{0, 38, 320, 180}));
    geometry.release();

    // The top-left corner dragged inwards: the bottom-right corner (320, 218) stays put.
    geometry.press(at(0, 38), oneToOne);
    ASSERT_EQ(geometry.grip(), Grip::nw);
    geometry.dragTo(at(100, 38), oneToOne);
    EXPECT_EQ(geometry.crop(), (Rect{100, 94, 220, 124}));
    geometry.release();
}

TEST(CropDrag, RatioCornerIsLimitedByTheRoomBesideTheAnchor) {
    CropGeometry geometry = withCrop({150, 100, 100, 100});
    geometry.setAspect(1.0);
    ASSERT_EQ(geometry.crop(), (Rect{50, 0, 300, 300}));
    // Shrink from the top-left towards the anchor (350, 300) first.
    dragged(geometry, at(50, 0), 200, 0);
    ASSERT_EQ(geometry.crop(), (Rect{250, 200, 100, 100}));
    // The bottom-left corner dragged far left: room below the anchor (250, 200) is 100.
    geometry.press(at(250, 300), oneToOne);
    ASSERT_EQ(geometry.grip(), Grip::sw);
    geometry.dragTo(at(0, 300), oneToOne);
    EXPECT_EQ(geometry.crop(), (Rect{250, 200, 100, 100}));
    geometry.release();
    // The top-right corner dragged right: room to the right of (250, 300) is 150.
    dragged(geometry, at(350, 200), 500, 0);
    EXPECT_EQ(geometry.crop(), (Rect{250, 150, 150, 150}));
}

TEST(CropRatios, LargestShapeAroundTheCentreAndBackAndForth) {
    CropGeometry geometry(photo);
    geometry.setAspect(1.0);
    EXPECT_EQ(geometry.crop(), (Rect{50, 0, 300, 300}));
    EXPECT_EQ(sizeLabel(geometry.crop()), "300 × 300 px");
    geometry.setAspect(4.0 / 3.0);
    EXPECT_EQ(geometry.crop(), (Rect{0, 0, 400, 300}));
    geometry.setAspect(1.0);
    EXPECT_EQ(geometry.crop(), (Rect{50, 0, 300, 300}));
    geometry.setAspect(0.5625);
    EXPECT_EQ(geometry.crop(), (Rect{116, 0, 168, 300}));  // 168.75 wide, edges snapped
    // Centred on a crop near the border, then pushed inside.
    CropGeometry corner = withCrop({0, 0, 40, 40});
    corner.setAspect(1.0);
    EXPECT_EQ(corner.crop(), (Rect{0, 0, 300, 300}));
}

TEST(CropRatios, FreeKeepsTheRectangleAndResetRestoresTheImage) {
    CropGeometry geometry(photo);
    geometry.setAspect(16.0 / 9.0);
    const Rect shaped = geometry.crop();
    EXPECT_FALSE(geometry.setAspect(std::nullopt));
    EXPECT_EQ(geometry.crop(), shaped);
    EXPECT_EQ(geometry.gripAt(at(200, shaped.y), oneToOne), Grip::n);

    geometry.setAspect(1.0);
    geometry.reset();
    EXPECT_EQ(geometry.aspect(), std::nullopt);
    EXPECT_EQ(geometry.crop(), (Rect{0, 0, 400, 300}));
    EXPECT_EQ(ratios.front().label, "자유");
    EXPECT_FALSE(ratios.front().value);
    EXPECT_DOUBLE_EQ(*ratios[4].value, 16.0 / 9.0);
}

TEST(CropPixels, LabelLogAndFileAgreeWhenTheImageIsScaled) {
    // A 4000 × 3000 photo drawn at 0.2: one view point is five pixels, and pointer positions
    // fall between pixels. Every crop must still have whole-pixel edges, so that the rounded
    // label, the truncated log size and the enclosing pixels of the file are the same.
    const Size image{4000, 3000};
    const Size bounds = windowLayout(image).canvas;
    CropGeometry geometry(image);
    for (Grip grip : {Grip::se, Grip::nw, Grip::n, Grip::e, Grip::move, Grip::sw}) {
        for (double step : {-0.3, 1.1, -7.7, 3.45}) {
            const Point from = handlePoint(toView(image, bounds, geometry.crop()), grip);
            ASSERT_EQ(geometry.press(from, bounds), grip);
            geometry.dragTo({from.x + step, from.y + step / 3}, bounds);
            geometry.release();
            EXPECT_TRUE(isWhole(geometry.crop()))
                << geometry.crop().x << "," << geometry.crop().y << " " << geometry.crop().width
                << "x" << geometry.crop().height;
        }
    }
    geometry.setAspect(16.0 / 9.0);
    const Point corner = handlePoint(toView(image, bounds, geometry.crop()), Grip::nw);
    geometry.press(corner, bounds);
    geometry.dragTo({corner.x + 3.3, corner.y}, bounds);
    EXPECT_TRUE(isWhole(geometry.crop()));
    EXPECT_NEAR(geometry.crop().width / geometry.crop().height, 16.0 / 9.0, 0.01);
}

TEST(CropPixels, LabelRoundsHalfAwayFromZero) {
    EXPECT_EQ(sizeLabel({0, 0, 299.5, 20.49}), "300 × 20 px");
    EXPECT_EQ(sizeLabel({0, 0, 4000, 3000}), "4000 × 3000 px");
}

TEST(CropHandles, BarsAndEdgeHandlesHugTheRectangle) {
    const Rect view{100, 50, 200, 100};
    const auto bars = cornerBars(view);
    EXPECT_EQ(bars[0], (Rect{99, 49, 16, 4}));
    EXPECT_EQ(bars[3], (Rect{297, 49, 4, 16}));
    EXPECT_EQ(bars[6], (Rect{285, 147, 16, 4}));
    EXPECT_EQ(bars[7], (Rect{297, 135, 4, 16}));
    const auto edges = edgeHandles(view);
    EXPECT_EQ(edges[0], (Rect{190, 47.5, 20, 5}));
    EXPECT_EQ(edges[3], (Rect{297.5, 90, 5, 20}));
}
