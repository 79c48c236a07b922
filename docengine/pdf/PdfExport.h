#pragma once
// Documents to PDF: our DOCX of the document, rendered by a headless LibreOffice that runs
// with a profile of its own, in its own process group, under a time limit. A warm instance
// kept between runs is used when it can be had; otherwise LibreOffice starts just for this
// document.

#include <chrono>
#include <filesystem>

#include "model/Document.h"

namespace tavrino::docs {

struct RenderOptions {
    // LibreOffice's executable; TAVRINO_SOFFICE overrides, else "soffice" from PATH.
    std::filesystem::path soffice;
    // A render still running after this is killed with its whole process group.
    std::chrono::seconds timeout{180};
    // Whether to use (and start) the warm instance; off unless the environment allows it.
    bool warm = false;
    // Where the warm instance keeps its folder ($XDG_CACHE_HOME/tavrino).
    std::filesystem::path cache;
    // The Python that has LibreOffice's UNO module (TAVRINO_PYTHON, else /usr/bin/python3).
    std::filesystem::path python = "/usr/bin/python3";
    // How long a new warm instance may take to answer before we render cold instead.
    std::chrono::seconds warmStart{45};
    // The warm instance ends after this long without a render (TAVRINO_RENDER_IDLE).
    std::chrono::seconds idle{60};
};

// The options from the environment: TAVRINO_SOFFICE, TAVRINO_RENDER_TIMEOUT and
// TAVRINO_RENDER_IDLE in seconds, TAVRINO_PYTHON, TAVRINO_RENDER_WARM=0 for cold renders only.
RenderOptions renderOptionsFromEnvironment();

// Renders `document` to a PDF at `output`. Work happens in a private folder beside
// `output` that is removed afterwards; the PDF is renamed into place only when complete, so
// on any failure (throws DocumentError) nothing is left at `output`.
void exportPdf(const Document& document, const std::filesystem::path& output,
               const RenderOptions& options);

}  // namespace tavrino::docs
