#pragma once
// Documents to PDF: our DOCX of the document, rendered by a headless LibreOffice that runs
// with a profile of its own, in its own process group, under a time limit.

#include <chrono>
#include <filesystem>

#include "model/Document.h"

namespace tavrino::docs {

struct RenderOptions {
    // LibreOffice's executable; TAVRINO_SOFFICE overrides, else "soffice" from PATH.
    std::filesystem::path soffice;
    // A render still running after this is killed with its whole process group.
    std::chrono::seconds timeout{180};
};

// The options from the environment (TAVRINO_SOFFICE, TAVRINO_RENDER_TIMEOUT in seconds).
RenderOptions renderOptionsFromEnvironment();

// Renders `document` to a PDF at `output`. Work happens in a private folder beside
// `output` that is removed afterwards; the PDF is renamed into place only when complete, so
// on any failure (throws DocumentError) nothing is left at `output`.
void exportPdf(const Document& document, const std::filesystem::path& output,
               const RenderOptions& options);

}  // namespace tavrino::docs
