#pragma once
// The salient-object network behind background removal: the small U²-Net, run on the CPU
// through OpenCV's dnn module. It sees the picture squeezed to a fixed square and answers,
// per cell of that square, how likely the cell belongs to a foreground subject. The network
// is read once per process and shared; runs are serialised, since one forward pass already
// uses every core.

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <vector>

#include "platform/PixelBuffer.h"
#include "platform/SaliencyModel.h"

namespace tavrino {

// Foreground likelihoods 0…1 on a width × height grid, row by row, top row first. The grid
// covers the whole picture, stretched: cell (x, y) stands for the picture's point
// ((x + 0.5) / width, (y + 0.5) / height) of its size.
struct SaliencyMap {
    int width = 0;
    int height = 0;
    std::vector<float> values;

    float at(int x, int y) const { return values[static_cast<std::size_t>(y) * width + x]; }
};

// The network could not be read or run; what() is the engine's own text (or "model missing").
class SaliencyError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Runs the network on 8-bit pixels (1–4 bands; alpha is ignored). Throws SaliencyError.
SaliencyMap salientObjects(const PixelView& pixels);

}  // namespace tavrino
