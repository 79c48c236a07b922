#include "tools/crop/CropGeometry.h"

#include <algorithm>
#include <cmath>

namespace tavrino::crop {
namespace {

bool isCorner(Grip grip) {
    return grip == Grip::ne || grip == Grip::nw || grip == Grip::se || grip == Grip::sw;
}

// Grips whose anchor (the fixed opposite corner) lies to their right or below them.
bool growsLeft(Grip grip) {
    return grip == Grip::nw || grip == Grip::sw;
}
bool growsUp(Grip grip) {
    return grip == Grip::nw || grip == Grip::ne;
}

}  // namespace

WindowLayout windowLayout(Size image) {
    WindowLayout layout;
    layout.scale = std::min({1.0, fitWidth / image.width, fitHeight / image.height});
    layout.canvas = {std::max(layout.scale * image.width + 2 * margin, minCanvasWidth),
                     std::max(layout.scale * image.height + 2 * margin, minCanvasHeight)};
    layout.content = {layout.canvas.width, layout.canvas.height + barHeight};
    return layout;
}

Rect imageRect(Size image, Size bounds) {
    const double innerWidth = bounds.width - 2 * margin;
    const double innerHeight = bounds.height - 2 * margin;
    const double s = std::min(innerWidth / image.width, innerHeight / image.height);
    const double width = s * image.width;
    const double height = s * image.height;
    return {(bounds.width - width) / 2, (bounds.height - height) / 2, width, height};
}

Rect toView(Size image, Size bounds, const Rect& pixels) {
    const Rect area = imageRect(image, bounds);
    const double k = area.width / image.width;
    return {area.x + pixels.x * k, area.y + pixels.y * k, pixels.width * k, pixels.height * k};
}

std::string sizeLabel(const Rect& crop) {
    return std::to_string(std::llround(crop.width)) + " × " +
           std::to_string(std::llround(crop.height)) + " px";
}

std::array<Rect, 8> cornerBars(const Rect& r) {
    return {{
        {r.minX() - 1, r.minY() - 1, 16, 4},
        {r.minX() - 1, r.minY() - 1, 4, 16},
        {r.maxX() - 15, r.minY() - 1, 16, 4},
        {r.maxX() - 3, r.minY() - 1, 4, 16},
        {r.minX() - 1, r.maxY() - 3, 16, 4},
        {r.minX() - 1, r.maxY() - 15, 4, 16},
        {r.maxX() - 15, r.maxY() - 3, 16, 4},
        {r.maxX() - 3, r.maxY() - 15, 4, 16},
    }};
}

std::array<Rect, 4> edgeHandles(const Rect& r) {
    return {{
        {r.midX() - 10, r.minY() - 2.5, 20, 5},
        {r.midX() - 10, r.maxY() - 2.5, 20, 5},
        {r.minX() - 2.5, r.midY() - 10, 5, 20},
        {r.maxX() - 2.5, r.midY() - 10, 5, 20},
    }};
}

CropGeometry::CropGeometry(Size image)
    : image_(image), crop_{0, 0, image.width, image.height}, cropStart_(crop_) {}

std::optional<Grip> CropGeometry::gripAt(Point p, Size bounds) const {
    const Rect r = toView(image_, bounds, crop_);
    const double t = gripTolerance;
    const double dL = std::abs(p.x - r.minX()), dR = std::abs(p.x - r.maxX());
    const double dT = std::abs(p.y - r.minY()), dB = std::abs(p.y - r.maxY());
    const bool inX = r.minX() - t < p.x && p.x < r.maxX() + t;
    const bool inY = r.minY() - t < p.y && p.y < r.maxY() + t;
    if (dL < t && dT < t) return Grip::nw;
    if (dR < t && dT < t) return Grip::ne;
    if (dL < t && dB < t) return Grip::sw;
    if (dR < t && dB < t) return Grip::se;
    if (!aspect_) {
        if (dT < t && inX) return Grip::n;
        if (dB < t && inX) return Grip::s;
        if (dL < t && inY) return Grip::w;
        if (dR < t && inY) return Grip::e;
    }
    if (r.contains(p)) return Grip::move;
    return std::nullopt;
}

std::optional<Grip> CropGeometry::press(Point p, Size bounds) {
    grip_ = gripAt(p, bounds);
    dragStart_ = p;
    cropStart_ = crop_;
    return grip_;
}

bool CropGeometry::dragTo(Point p, Size bounds) {
    if (!grip_) return false;
    const double k = imageRect(image_, bounds).width / image_.width;
    const double dx = (p.x - dragStart_.x) / k;
    const double dy = (p.y - dragStart_.y) / k;
    const Rect& start = cropStart_;
    if (*grip_ == Grip::move) {
        const double x = std::min(std::max(0.0, start.x + dx), image_.width - start.width);
        const double y = std::min(std::max(0.0, start.y + dy), image_.height - start.height);
        setCrop({x, y, start.width, start.height});
        return true;
    }
    if (aspect_ && isCorner(*grip_)) {
        const std::optional<Rect> shaped = dragCorner(dx, dy, *aspect_);
        if (!shaped) return false;
        setCrop(*shaped);
        return true;
    }
    setCrop(dragEdges(dx, dy));
    return true;
}

Rect CropGeometry::dragEdges(double dx, double dy) const {
    const Rect& start = cropStart_;
    double x0 = start.minX(), x1 = start.maxX(), y0 = start.minY(), y1 = start.maxY();
    const Grip g = *grip_;
    if (g == Grip::n || g == Grip::ne || g == Grip::nw) y0 += dy;
    if (g == Grip::s || g == Grip::se || g == Grip::sw) y1 += dy;
    if (g == Grip::e || g == Grip::ne || g == Grip::se) x1 += dx;
    if (g == Grip::w || g == Grip::nw || g == Grip::sw) x0 += dx;
    // The left (top) edge is clamped first, so a corner dragged past the opposite edge
    // pushes that edge along rather than stopping.
    x0 = std::max(0.0, std::min(x0, x1 - minCropPixels));
    x1 = std::min(image_.width, std::max(x1, x0 + minCropPixels));
    y0 = std::max(0.0, std::min(y0, y1 - minCropPixels));
    y1 = std::min(image_.height, std::max(y1, y0 + minCropPixels));
    return {x0, y0, x1 - x0, y1 - y0};
}

std::optional<Rect> CropGeometry::dragCorner(double dx, double dy, double ratio) const {
    const Rect& start = cropStart_;
    const Grip g = *grip_;
    const Rect edges = dragEdges(dx, dy);
    const double anchorX = growsLeft(g) ? start.maxX() : start.minX();
    const double anchorY = growsUp(g) ? start.maxY() : start.minY();
    const double roomX = growsLeft(g) ? anchorX : image_.width - anchorX;
    const double roomY = growsUp(g) ? anchorY : image_.height - anchorY;
    double w = edges.width;
    double h = w / ratio;
    if (roomY < h) {
        h = roomY;
        w = ratio * h;
    }
    if (roomX < w) {
        w = roomX;
        h = w / ratio;
    }
    if (w < minCropPixels || h < minCropPixels) return std::nullopt;
    return Rect{growsLeft(g) ? anchorX - w : anchorX, growsUp(g) ? anchorY - h : anchorY, w, h};
}

bool CropGeometry::setAspect(std::optional<double> aspect) {
    aspect_ = aspect;
    return applyAspect();
}

bool CropGeometry::applyAspect() {
    if (!aspect_) return false;
    const double a = *aspect_;
    double width = image_.width;
    double height = image_.width / a;
    if (image_.width / a > image_.height) {
        height = image_.height;
        width = a * image_.height;
    }
    const double x = std::min(std::max(crop_.midX() - width / 2, 0.0), image_.width - width);
    const double y = std::min(std::max(crop_.midY() - height / 2, 0.0), image_.height - height);
    setCrop({x, y, width, height});
    return true;
}

void CropGeometry::reset() {
    aspect_.reset();
    setCrop({0, 0, image_.width, image_.height});
}

void CropGeometry::setCrop(const Rect& crop) {
    // Whole pixels, edge by edge: an edge that did not move (an anchor, a border) stays
    // exactly where it was, and a moved rectangle keeps its whole-pixel size.
    const auto snap = [](double edge, double limit) {
        return std::clamp(std::round(edge), 0.0, limit);
    };
    const double x0 = snap(crop.minX(), image_.width), x1 = snap(crop.maxX(), image_.width);
    const double y0 = snap(crop.minY(), image_.height), y1 = snap(crop.maxY(), image_.height);
    crop_ = {x0, y0, x1 - x0, y1 - y0};
}

}  // namespace tavrino::crop
