#include "platform/Vips.h"

#include <vips/vips.h>

#include <cstdlib>
#include <mutex>

namespace tavrino {

void ensureVips() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (VIPS_INIT("tavrino") != 0) std::abort();
        vips_block_untrusted_set(TRUE);
        // Results must reflect the files as they are now: a cached decode of a file that
        // changed on disk would be wrong, and there is no repeated work to save.
        vips_cache_set_max(0);
        // Damaged input makes libvips warn on standard error before it fails; the failure
        // itself reaches the user as one clear message, the warnings would only be noise.
        g_log_set_handler(
            "VIPS", G_LOG_LEVEL_WARNING,
            [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
    });
}

void releaseVipsObject(void* object) {
    g_object_unref(object);
}

}  // namespace tavrino
