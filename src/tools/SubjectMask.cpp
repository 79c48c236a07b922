#include "tools/SubjectMask.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tavrino {
namespace {

struct Labels {
    std::vector<int> of;  // blob index per cell, -1 for background
    std::vector<Blob> blobs;
};

bool onBorder(int x, int y, int width, int height) {
    return x == 0 || y == 0 || x == width - 1 || y == height - 1;
}

// Flood fill with an explicit stack: a blob may span the whole grid.
Labels labelBlobs(const SaliencyMap& map, float foreground) {
    const int w = map.width;
    const int h = map.height;
    Labels labels{std::vector<int>(map.values.size(), -1), {}};
    std::vector<int> stack;
    for (int start = 0; start < w * h; ++start) {
        if (labels.of[start] >= 0 || map.values[start] < foreground) continue;
        const int index = static_cast<int>(labels.blobs.size());
        Blob blob;
        double sum = 0;
        labels.of[start] = index;
        stack.push_back(start);
        while (!stack.empty()) {
            const int cell = stack.back();
            stack.pop_back();
            const int x = cell % w;
            const int y = cell / w;
            ++blob.cells;
            sum += map.values[cell];
            if (onBorder(x, y, w, h)) ++blob.borderCells;
            const int neighbours[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (const auto& [nx, ny] : neighbours) {
                if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                const int next = ny * w + nx;
                if (labels.of[next] >= 0 || map.values[next] < foreground) continue;
                labels.of[next] = index;
                stack.push_back(next);
            }
        }
        blob.meanLikelihood = static_cast<float>(sum / blob.cells);
        labels.blobs.push_back(blob);
    }
    return labels;
}

// Cells within `radius` (square neighbourhood) of a marked cell, by two one-dimensional
// passes.
std::vector<std::uint8_t> grown(const std::vector<std::uint8_t>& marked, int w, int h, int radius) {
    std::vector<std::uint8_t> across(marked.size(), 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!marked[static_cast<std::size_t>(y) * w + x]) continue;
            for (int dx = std::max(0, x - radius); dx <= std::min(w - 1, x + radius); ++dx) {
                across[static_cast<std::size_t>(y) * w + dx] = 1;
            }
        }
    }
    std::vector<std::uint8_t> result(marked.size(), 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!across[static_cast<std::size_t>(y) * w + x]) continue;
            for (int dy = std::max(0, y - radius); dy <= std::min(h - 1, y + radius); ++dy) {
                result[static_cast<std::size_t>(dy) * w + x] = 1;
            }
        }
    }
    return result;
}

}  // namespace

NoSubjectError::NoSubjectError() : ConvertError("사진에서 대상(사람·물건)을 찾지 못함") {}

SubjectMask subjectMask(const SaliencyMap& likelihoods, const SubjectRules& rules) {
    const int w = likelihoods.width;
    const int h = likelihoods.height;
    if (w <= 0 || h <= 0 || likelihoods.values.size() != static_cast<std::size_t>(w) * h) {
        throw NoSubjectError();
    }
    Labels labels = labelBlobs(likelihoods, rules.foreground);
    const double gridCells = static_cast<double>(w) * h;
    const int borderCells = (w == 1 || h == 1) ? w * h : 2 * (w + h) - 4;
    bool any = false;
    for (Blob& blob : labels.blobs) {
        blob.subject = blob.meanLikelihood >= rules.confidence &&
                       blob.cells >= rules.smallest * gridCells &&
                       blob.borderCells <= rules.mostOfBorder * borderCells;
        any = any || blob.subject;
    }
    if (!any) throw NoSubjectError();

    std::vector<std::uint8_t> kept(likelihoods.values.size(), 0);
    for (std::size_t cell = 0; cell < kept.size(); ++cell) {
        const int blob = labels.of[cell];
        kept[cell] = blob >= 0 && labels.blobs[blob].subject;
    }
    // The network's soft falloff around a subject is its edge (hair, fur, motion blur);
    // likelihood further out, or in a rejected blob, is background.
    const std::vector<std::uint8_t> near = grown(kept, w, h, rules.softEdge);
    SubjectMask mask{{w, h, std::vector<float>(kept.size(), 0.f)}, std::move(labels.blobs)};
    for (std::size_t cell = 0; cell < kept.size(); ++cell) {
        const int blob = labels.of[cell];
        const bool rejected = blob >= 0 && !mask.blobs[blob].subject;
        if (kept[cell] || (near[cell] && !rejected))
            mask.alpha.values[cell] = likelihoods.values[cell];
    }
    return mask;
}

std::vector<std::uint8_t> alphaAtSize(const SaliencyMap& alpha, int width, int height) {
    std::vector<std::uint8_t> out(static_cast<std::size_t>(width) * height);
    const int gw = alpha.width;
    const int gh = alpha.height;
    // Per column: the two grid columns and the weight of the right one.
    std::vector<int> left(width), right(width);
    std::vector<float> towardsRight(width);
    for (int x = 0; x < width; ++x) {
        const double g = std::clamp((x + 0.5) * gw / width - 0.5, 0.0, gw - 1.0);
        left[x] = static_cast<int>(g);
        right[x] = std::min(left[x] + 1, gw - 1);
        towardsRight[x] = static_cast<float>(g - left[x]);
    }
    for (int y = 0; y < height; ++y) {
        const double g = std::clamp((y + 0.5) * gh / height - 0.5, 0.0, gh - 1.0);
        const int top = static_cast<int>(g);
        const int bottom = std::min(top + 1, gh - 1);
        const float down = static_cast<float>(g - top);
        std::uint8_t* row = out.data() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            const float upper =
                alpha.at(left[x], top) +
                (alpha.at(right[x], top) - alpha.at(left[x], top)) * towardsRight[x];
            const float lower =
                alpha.at(left[x], bottom) +
                (alpha.at(right[x], bottom) - alpha.at(left[x], bottom)) * towardsRight[x];
            const float value = upper + (lower - upper) * down;
            row[x] = static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.f, 1.f) * 255.f));
        }
    }
    return out;
}

}  // namespace tavrino
