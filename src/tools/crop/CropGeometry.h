#pragma once
// The crop window's model without any toolkit: the window's size for an image, where the
// image sits in the canvas, which handle a point hits, how a drag on each handle changes the
// crop, the ratios and the size label. View coordinates have the origin at the canvas's
// top-left and y growing downward; crop rectangles are in image pixels from the image's
// top-left.
//
// Every crop this model holds has whole-pixel edges. The pointer moves in fractions of a
// pixel whenever the image is drawn smaller or larger than 1:1; if the fractions were kept,
// the label (which rounds), the log line (which truncates) and the written file (which
// takes the enclosing whole pixels) would each show a different size.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tavrino::crop {

struct Point {
    double x = 0;
    double y = 0;
};

struct Size {
    double width = 0;
    double height = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double minX() const { return x; }
    double minY() const { return y; }
    double maxX() const { return x + width; }
    double maxY() const { return y + height; }
    double midX() const { return x + width / 2; }
    double midY() const { return y + height / 2; }
    bool contains(Point p) const { return p.x >= x && p.x < maxX() && p.y >= y && p.y < maxY(); }
    bool operator==(const Rect&) const = default;
};

// The handle under the pointer: the whole rectangle, the four edges, the four corners.
enum class Grip { move, n, s, e, w, ne, nw, se, sw };

struct Ratio {
    std::string_view label;
    std::optional<double> value;  // width ÷ height; none is free
};

inline constexpr std::array<Ratio, 6> ratios{{
    {"자유", std::nullopt},
    {"1:1", 1.0},
    {"4:3", 4.0 / 3.0},
    {"3:4", 0.75},
    {"16:9", 16.0 / 9.0},
    {"9:16", 0.5625},
}};

// The image is fitted into this area, never enlarged, to size the window.
inline constexpr double fitWidth = 820;
inline constexpr double fitHeight = 600;
inline constexpr double margin = 24;
inline constexpr double minCanvasWidth = 520;
inline constexpr double minCanvasHeight = 320;
inline constexpr double barHeight = 60;
inline constexpr double gripTolerance = 12;
inline constexpr double minCropPixels = 20;

struct WindowLayout {
    double scale = 1;  // image points per pixel used to size the window, at most 1
    Size canvas;       // the image area plus the margins, at least the smallest canvas
    Size content;      // the canvas with the bar below it
};
WindowLayout windowLayout(Size image);

// Where the image is drawn in a canvas of `bounds`: fitted inside the margins (enlarged when
// it is small) and centred.
Rect imageRect(Size image, Size bounds);
// An image-pixel rectangle in view coordinates of a canvas of `bounds`.
Rect toView(Size image, Size bounds, const Rect& pixels);

// "300 × 300 px": the crop's size, rounded half away from zero.
std::string sizeLabel(const Rect& crop);

// The crop rectangle's handles as drawn, in view coordinates, from the crop's view rectangle:
// two bars per corner (16 × 4 and 4 × 16, top-left, top-right, bottom-left, bottom-right),
// and the four edge handles (top, bottom, left, right), which are only shown without a ratio.
std::array<Rect, 8> cornerBars(const Rect& view);
std::array<Rect, 4> edgeHandles(const Rect& view);
inline constexpr double edgeHandleRadius = 2.5;

// The crop, its ratio and one drag at a time, for an image of W × H pixels.
class CropGeometry {
  public:
    explicit CropGeometry(Size image);

    Size image() const { return image_; }
    const Rect& crop() const { return crop_; }
    std::optional<double> aspect() const { return aspect_; }
    std::optional<Grip> grip() const { return grip_; }

    // The handle at a view point; edges count only without a ratio. None outside.
    std::optional<Grip> gripAt(Point p, Size bounds) const;

    // A press holds the handle under it (none when it hits nothing) until release; every
    // drag step is measured from the press, never from the previous step. dragTo is true
    // when the crop changed; a step that would make a ratio crop smaller than the smallest
    // crop is ignored.
    std::optional<Grip> press(Point p, Size bounds);
    bool dragTo(Point p, Size bounds);
    void release() { grip_.reset(); }

    // Sets the ratio; a ratio turns the crop into the largest rectangle of that shape inside
    // the image, centred on the current crop's centre. Free keeps the crop as it is. True
    // when the crop changed.
    bool setAspect(std::optional<double> aspect);
    // Free ratio and the whole image.
    void reset();

  private:
    bool applyAspect();
    Rect dragEdges(double dx, double dy) const;
    std::optional<Rect> dragCorner(double dx, double dy, double ratio) const;
    void setCrop(const Rect& crop);

    Size image_;
    Rect crop_;
    std::optional<double> aspect_;
    std::optional<Grip> grip_;
    Point dragStart_;
    Rect cropStart_;
};

}  // namespace tavrino::crop
