// The media engine's start-up: fills the slots through which the code beneath reaches it. In
// a program linked with the engine this runs with the program's own static initialisation
// (the build makes the linker keep this file by asking for tavrino_media_linked); in
// tavrino-cli it runs inside dlopen, when the module is first needed.

#include "convert/ConvertFile.h"
#include "convert/DocumentConvert.h"
#include "platform/ImageProbe.h"
#include "platform/VipsProbe.h"
#include "tools/CropImage.h"
#include "tools/ImagePages.h"
#include "tools/MediaWork.h"
#include "tools/Tools.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

const ImageHeaderReader headerReader{
    .frameCount = vipsFrameCount,
    .pixelCount = vipsPixelCount,
};

const MediaWork work{
    .convertFile = [](const FileFacts& source, Fmt fmt) { return convertFile(source, fmt); },
    .applyTool = [](Tool tool, const FileFacts& source,
                    ToolCheck check) { return applyTool(tool, source, check); },
    .convertHwp = [](const fs::path& path, DocTarget target) { return convertHwp(path, target); },
    .convertWord = [](const fs::path& path, DocTarget target) { return convertWord(path, target); },
    .writeImagePages = writeImagePages,
    .cropAndLog = cropAndLog,
};

struct FillSlots {
    FillSlots() {
        imageHeaderSlot().fill(headerReader);
        mediaWorkSlot().fill(work);
    }
} fillSlots;

}  // namespace
}  // namespace tavrino

extern "C" void tavrino_media_linked() {}
