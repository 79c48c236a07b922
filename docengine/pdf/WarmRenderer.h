#pragma once
// One LibreOffice kept running for the user between renders, so that only the first document
// of a session pays its start-up. It is started on first use by a small watchdog process that
// owns it: the watchdog ends it after an idle time and cleans up when it dies. Clients reach
// it through a UNO pipe (a Unix socket that LibreOffice creates under the watchdog's umask of
// 077, so only this user can connect); it opens no network port. Its profile and state live in
// a folder of ours under $XDG_CACHE_HOME/tavrino/. One render at a time: clients queue on a
// lock file.

#include <filesystem>
#include <functional>

#include "pdf/PdfExport.h"

namespace tavrino::docs {

enum class WarmOutcome {
    rendered,     // the PDF is at `pdf`
    unavailable,  // no warm instance could be had (no Python-UNO, it did not come up)
};

// Renders `docx` to `pdf` through the warm instance, starting it when there is none. `write`
// puts `docx` in place; it is called once the instance is on its way up, so that LibreOffice's
// start and the writing overlap (with `unavailable` it may not have been called). Throws
// DocumentError when the instance was reached but the document failed, or when the render ran
// past options.timeout (the instance is then ended: it may be stuck on this document).
WarmOutcome renderWarm(const std::filesystem::path& docx, const std::filesystem::path& pdf,
                       const RenderOptions& options, const std::function<void()>& write);

// The instance's folder for these options (one per LibreOffice executable).
std::filesystem::path warmFolder(const RenderOptions& options);

// Whether a watchdog is running for that folder (it holds the folder's alive.lock).
bool warmInstanceRunning(const std::filesystem::path& folder);

}  // namespace tavrino::docs
