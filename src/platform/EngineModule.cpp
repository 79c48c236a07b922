#include "platform/EngineModule.h"

#include <map>
#include <mutex>
#include <string>
#include <system_error>

#include "platform/Bundle.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

fs::path modulePath(const char* file) {
    const fs::path beside = executableDirectory() / file;
    std::error_code error;
    if (fs::exists(beside, error)) return beside;
#ifdef TAVRINO_MODULE_DIR
    const fs::path installed = fs::path(TAVRINO_MODULE_DIR) / file;
    if (fs::exists(installed, error)) return installed;
#endif
    return beside;  // dlopen names the missing file in its error
}

}  // namespace

void loadEngineModule(const char* file) {
    static std::mutex mutex;
    static std::map<std::string, SharedModule> loaded;
    std::lock_guard lock(mutex);
    if (loaded.contains(file)) return;
    // The module's start-up code fills its slots while dlopen runs.
    try {
        loaded.emplace(file, SharedModule::open(modulePath(file)));
    } catch (const ModuleError& error) {
        throw ModuleError(std::string("이미지 엔진을 불러올 수 없음: ") + error.what());
    }
}

}  // namespace tavrino
