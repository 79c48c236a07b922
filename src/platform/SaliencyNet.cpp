#include "platform/SaliencyNet.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <string>

#include "platform/SaliencyModel.h"

#if TAVRINO_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/dnn.hpp>
#include <opencv2/imgproc.hpp>
#endif

namespace fs = std::filesystem;

namespace tavrino {
namespace {

#if TAVRINO_HAVE_OPENCV

// The network's square input side and the ImageNet statistics it was trained with.
constexpr int inputSide = 320;
constexpr float channelMean[3] = {0.485f, 0.456f, 0.406f};
constexpr float channelDeviation[3] = {0.229f, 0.224f, 0.225f};

// The loaded network; cv::dnn::Net owns its layers and frees them itself.
class SharedNet {
  public:
    SaliencyMap run(const PixelView& pixels) {
        std::lock_guard lock(mutex_);
        if (net_.empty()) load();
        net_.setInput(inputBlob(pixels));
        // The first output is the fused, finest side output, already passed through a
        // sigmoid.
        std::vector<cv::Mat> outputs;
        net_.forward(outputs, outputName_);
        const cv::Mat& out = outputs.at(0);
        if (out.total() != static_cast<std::size_t>(inputSide) * inputSide) {
            throw SaliencyError("unexpected output size " + std::to_string(out.total()));
        }
        SaliencyMap map{inputSide, inputSide, {}};
        const float* begin = out.ptr<float>();
        map.values.assign(begin, begin + out.total());
        for (float& value : map.values)
            value = std::clamp(std::isfinite(value) ? value : 0.f, 0.f, 1.f);
        return map;
    }

  private:
    void load() {
        const std::optional<fs::path> path = saliencyModelPath();
        if (!path) throw SaliencyError("model missing");
        net_ = cv::dnn::readNetFromONNX(path->string());
        if (net_.empty()) throw SaliencyError("model has no layers");
        net_.setPreferableBackend(cv::dnn::DNN_BACKEND_OPENCV);
        net_.setPreferableTarget(cv::dnn::DNN_TARGET_CPU);
        outputName_ = net_.getUnconnectedOutLayersNames().at(0);
    }

    // RGB scaled to 0…1, normalised per channel, planar (N, C, H, W).
    static cv::Mat inputBlob(const PixelView& pixels) {
        const int type = CV_8UC(pixels.bands);
        const cv::Mat source(pixels.height, pixels.width, type,
                             const_cast<std::uint8_t*>(pixels.data), pixels.rowBytes());
        cv::Mat small;
        cv::resize(source, small, cv::Size(inputSide, inputSide), 0, 0, cv::INTER_AREA);
        const int sizes[] = {1, 3, inputSide, inputSide};
        cv::Mat blob(4, sizes, CV_32F);
        float* planes = blob.ptr<float>();
        const std::size_t plane = static_cast<std::size_t>(inputSide) * inputSide;
        for (int y = 0; y < inputSide; ++y) {
            const std::uint8_t* row = small.ptr<std::uint8_t>(y);
            for (int x = 0; x < inputSide; ++x) {
                const std::uint8_t* cell = row + static_cast<std::size_t>(x) * pixels.bands;
                for (int c = 0; c < 3; ++c) {
                    // Grey pictures feed their one value to every channel.
                    const std::uint8_t value = pixels.bands >= 3 ? cell[c] : cell[0];
                    planes[c * plane + static_cast<std::size_t>(y) * inputSide + x] =
                        (value / 255.f - channelMean[c]) / channelDeviation[c];
                }
            }
        }
        return blob;
    }

    std::mutex mutex_;
    cv::dnn::Net net_;
    std::string outputName_;
};

SharedNet& sharedNet() {
    static SharedNet net;
    return net;
}

#endif

}  // namespace

SaliencyMap salientObjects(const PixelView& pixels) {
    if (pixels.width <= 0 || pixels.height <= 0 || pixels.bands < 1 || pixels.bands > 4) {
        throw SaliencyError("unsupported pixel layout");
    }
#if TAVRINO_HAVE_OPENCV
    try {
        return sharedNet().run(pixels);
    } catch (const cv::Exception& error) {
        throw SaliencyError(error.msg);
    }
#else
    throw SaliencyError("built without a network engine");
#endif
}

}  // namespace tavrino
