#include "tools/Leftovers.h"

#include <glib.h>

#include <memory>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace tavrino {
namespace {

std::string composed(const std::string& text) {
    std::unique_ptr<gchar, decltype(&g_free)> nfc(
        g_utf8_normalize(text.c_str(), static_cast<gssize>(text.size()), G_NORMALIZE_NFC), &g_free);
    // Not UTF-8: compare the bytes as they are.
    return nfc ? std::string(nfc.get()) : text;
}

}  // namespace

void removeLeftovers(const fs::path& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
    const std::string prefix = composed("." + path.filename().string() + "-");
    std::error_code listing;
    fs::directory_iterator entries(path.parent_path(), listing);
    if (listing) return;
    for (const fs::directory_entry& entry : entries) {
        if (!composed(entry.path().filename().string()).starts_with(prefix)) continue;
        std::error_code sizing;
        if (entry.is_regular_file(sizing) && fs::file_size(entry.path(), sizing) == 0 && !sizing) {
            fs::remove(entry.path(), ignored);
        }
    }
}

}  // namespace tavrino
