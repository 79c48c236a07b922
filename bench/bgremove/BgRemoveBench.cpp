// bench_bgremove FOLDER: for every NAME.png with a NAME-mask.png beside it, the IoU of
// (alpha > 127) against the mask and the seconds per picture, for our tool and for a
// GrabCut baseline seeded with the frame inset by 5 %. Pictures named none-*.png have no
// subject: the count refused is reported.

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "convert/Image.h"
#include "tools/BackgroundRemoval.h"
#include "tools/SubjectMask.h"

namespace fs = std::filesystem;
using namespace tavrino;

namespace {

using Clock = std::chrono::steady_clock;

double iou(const std::vector<bool>& cut, const PixelBuffer& mask) {
    long both = 0, either = 0;
    for (std::size_t i = 0; i < cut.size(); ++i) {
        const bool truth = mask.bytes[i * mask.bands] > 127;
        both += cut[i] && truth;
        either += cut[i] || truth;
    }
    return either ? static_cast<double>(both) / either : 1.0;
}

std::vector<bool> ours(const Image& image, bool& refused) {
    refused = false;
    try {
        const PixelBuffer out = removeBackground(image).pixels();
        std::vector<bool> cut(static_cast<std::size_t>(out.width) * out.height);
        for (std::size_t i = 0; i < cut.size(); ++i)
            cut[i] = out.bytes[i * 4 + 3] > 127;
        return cut;
    } catch (const NoSubjectError&) {
        refused = true;
        return std::vector<bool>(static_cast<std::size_t>(image.width()) * image.height(), false);
    }
}

std::vector<bool> grabCut(const Image& image) {
    const PixelBuffer pixels = flattened(image).pixels();
    const cv::Mat source(pixels.height, pixels.width, CV_8UC(pixels.bands),
                         const_cast<std::uint8_t*>(pixels.bytes.data()));
    cv::Mat bgr;
    if (pixels.bands == 1) {
        cv::cvtColor(source, bgr, cv::COLOR_GRAY2BGR);
    } else {
        cv::cvtColor(source, bgr, cv::COLOR_RGB2BGR);
    }
    const double scale = std::min(1.0, 640.0 / std::max(bgr.cols, bgr.rows));
    cv::Mat small;
    cv::resize(bgr, small, cv::Size(), scale, scale, cv::INTER_AREA);
    cv::Mat mask, background, foreground;
    const cv::Rect frame(small.cols / 20, small.rows / 20, small.cols * 9 / 10,
                         small.rows * 9 / 10);
    cv::grabCut(small, mask, frame, background, foreground, 3, cv::GC_INIT_WITH_RECT);
    cv::Mat full;
    cv::resize(mask, full, bgr.size(), 0, 0, cv::INTER_NEAREST);
    std::vector<bool> cut(static_cast<std::size_t>(bgr.cols) * bgr.rows);
    for (int y = 0; y < full.rows; ++y) {
        for (int x = 0; x < full.cols; ++x) {
            const auto label = full.at<std::uint8_t>(y, x);
            cut[static_cast<std::size_t>(y) * full.cols + x] =
                label == cv::GC_FGD || label == cv::GC_PR_FGD;
        }
    }
    return cut;
}

double seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_bgremove FOLDER\n");
        return 2;
    }
    std::vector<fs::path> pictures;
    for (const auto& entry : fs::directory_iterator(argv[1])) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".png" && name.find("-mask") == std::string::npos) {
            pictures.push_back(entry.path());
        }
    }
    std::sort(pictures.begin(), pictures.end());
    double oursSum = 0, baseSum = 0, oursWorst = 1, baseWorst = 1, oursTime = 0, baseTime = 0;
    int scored = 0, none = 0, oursRefused = 0;
    for (const fs::path& picture : pictures) {
        const Image image = loadOrientedImage(picture);
        const bool noSubject = picture.filename().string().rfind("none-", 0) == 0;
        bool refused = false;
        auto start = Clock::now();
        const std::vector<bool> cut = ours(image, refused);
        oursTime += seconds(start);
        start = Clock::now();
        const std::vector<bool> baseline = grabCut(image);
        baseTime += seconds(start);
        if (noSubject) {
            ++none;
            oursRefused += refused;
            std::printf("%-28s refused %s\n", picture.filename().c_str(), refused ? "yes" : "NO");
            continue;
        }
        fs::path maskPath = picture;
        maskPath.replace_filename(picture.stem().string() + "-mask.png");
        const PixelBuffer mask = loadImage(maskPath).pixels();
        const double a = iou(cut, mask);
        const double b = iou(baseline, mask);
        ++scored;
        oursSum += a;
        baseSum += b;
        oursWorst = std::min(oursWorst, a);
        baseWorst = std::min(baseWorst, b);
        std::printf("%-28s IoU ours %.3f  grabcut %.3f\n", picture.filename().c_str(), a, b);
    }
    const int all = static_cast<int>(pictures.size());
    std::printf("mean IoU ours %.3f grabcut %.3f; worst ours %.3f grabcut %.3f (%d pictures)\n",
                scored ? oursSum / scored : 0, scored ? baseSum / scored : 0, oursWorst, baseWorst,
                scored);
    std::printf("no-subject refused by ours: %d/%d (grabcut never refuses)\n", oursRefused, none);
    std::printf("seconds per picture ours %.3f grabcut %.3f (ratio %.2f)\n",
                all ? oursTime / all : 0, all ? baseTime / all : 0,
                baseTime > 0 ? oursTime / baseTime : 0);
    return 0;
}
