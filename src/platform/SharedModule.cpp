#include "platform/SharedModule.h"

#include <dlfcn.h>

#include <string>

namespace tavrino {

SharedModule SharedModule::open(const std::filesystem::path& path) {
    // Functions are bound on first call: binding every function of the module and its
    // hundred-odd libraries up front costs tens of milliseconds a run, for the few the run
    // calls (the tests run with LD_BIND_NOW, so a module that does not fit fails there).
    // RTLD_NODELETE keeps the code mapped after dlclose (see the header); RTLD_LOCAL keeps
    // the module's own libraries from interposing on anything loaded later.
    void* handle = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle) {
        // The loader's text already starts with the file's name.
        const char* reason = dlerror();
        throw ModuleError(reason ? std::string(reason) : path.string() + ": dlopen failed");
    }
    return SharedModule(handle);
}

SharedModule& SharedModule::operator=(SharedModule&& other) noexcept {
    if (this != &other) {
        if (handle_) dlclose(handle_);
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

SharedModule::~SharedModule() {
    if (handle_) dlclose(handle_);
}

}  // namespace tavrino
