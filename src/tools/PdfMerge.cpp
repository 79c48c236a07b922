#include "tools/PdfMerge.h"

// qpdf 11 warns unless told that we use its std::shared_ptr interfaces only.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <memory>
#include <optional>
#include <vector>

#include "convert/ConvertError.h"
#include "convert/OutputNaming.h"
#include "convert/PendingFile.h"
#include "menu/Formats.h"
#include "tools/MediaWork.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

// Collects pages from other documents. Pages are copied lazily by qpdf (stream data is read
// from the source files while writing), so every source document stays open until then.
class Merger {
  public:
    Merger() { result_.emptyPDF(); }

    void appendPdf(const fs::path& path, const std::string& name) {
        QPDF& source = open(path, "PDF를 열 수 없음: " + name);
        std::vector<QPDFPageObjectHelper> pages;
        try {
            pages = QPDFPageDocumentHelper(source).getAllPages();
        } catch (const std::exception&) {
            throw ConvertError("PDF를 열 수 없음: " + name);
        }
        QPDFPageDocumentHelper target(result_);
        for (QPDFPageObjectHelper& page : pages) {
            try {
                target.addPage(page, false);
            } catch (const std::exception&) {
                // A page object that cannot be copied is left out; the rest still merges.
            }
        }
    }

    // The frames become pages of a scratch document (in the media engine), which are then
    // copied like any other PDF's.
    void appendImage(const fs::path& path, const std::string& name) {
        if (!scratch_) scratch_.emplace();
        const fs::path file = scratch_->path() / (std::to_string(++scratchFiles_) + ".pdf");
        mediaWork().writeImagePages(path, file);
        appendPdf(file, name);
    }

    int pageCount() {
        return static_cast<int>(QPDFPageDocumentHelper(result_).getAllPages().size());
    }

    void write(const fs::path& path) {
        QPDFWriter writer(result_, path.c_str());
        writer.write();
    }

  private:
    QPDF& open(const fs::path& path, const std::string& failure) {
        auto pdf = std::make_unique<QPDF>();
        pdf->setSuppressWarnings(true);
        try {
            // Pages that inherit resources or boxes from the page tree are given their own
            // copies by qpdf when they are added to another document.
            pdf->processFile(path.c_str());
        } catch (const std::exception&) {
            throw ConvertError(failure);
        }
        sources_.push_back(std::move(pdf));
        return *sources_.back();
    }

    // Declared so that the result goes first and the documents it copies from after it.
    std::optional<ScopedTempDir> scratch_;
    int scratchFiles_ = 0;
    std::vector<std::unique_ptr<QPDF>> sources_;
    QPDF result_;
};

}  // namespace

ToolResult mergePDF(std::span<const fs::path> paths) {
    Merger merger;
    for (const fs::path& path : paths) {
        const std::string name = path.filename().string();
        if (lowerExtension(path) == "pdf")
            merger.appendPdf(path, name);
        else
            merger.appendImage(path, name);
    }
    const int pages = merger.pageCount();
    if (pages == 0) throw ConvertError("합칠 페이지 없음");
    PendingFile pending(toolOutputName(paths.front(), "합침", "pdf"));
    try {
        merger.write(pending.path());
    } catch (const std::exception&) {
        throw ConvertError("PDF 저장 실패");
    }
    return {pending.place(), std::to_string(pages) + "쪽"};
}

}  // namespace tavrino
