#include "tools/Refusal.h"

#include <string>

#include "convert/ConvertError.h"
#include "menu/Particle.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

// The path extension as the user wrote it, without the dot ("PDF" for Scan.PDF).
std::string writtenExtension(const fs::path& path) {
    const std::string ext = path.extension().string();
    return ext.empty() ? ext : ext.substr(1);
}

}  // namespace

void refuseFile(Tool tool, const fs::path& path) {
    throw ConvertError(withTopicParticle(title(tool)) + " 이 파일(." + writtenExtension(path) +
                       ")에 쓸 수 없음");
}

void refuseAsPerFileWork(Tool tool) {
    throw ConvertError(withTopicParticle(title(tool)) + " 따로 처리");
}

}  // namespace tavrino
