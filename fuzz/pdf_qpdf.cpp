// Takes arbitrary bytes through qpdf the way the merge tool does: open with warnings kept
// quiet, list the pages, copy each into a new document and write it. Opening, listing and
// writing may fail with qpdf's exception (the tool turns those into its messages); a page
// that does not copy is left out. Anything else escaping, or a crash, is a fault.
//
// Kept to C++17 and to qpdf alone: with clang, qpdf's headers do not compile as C++20
// against this standard library, so the fuzz build compiles this file and nothing else of
// the program that includes them as C++17.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QPDF source;
    source.setSuppressWarnings(true);
    std::vector<QPDFPageObjectHelper> pages;
    try {
        source.processMemoryFile("input.pdf", reinterpret_cast<const char*>(data), size);
        pages = QPDFPageDocumentHelper(source).getAllPages();
    } catch (const std::exception&) {
        return 0;
    }
    QPDF result;
    result.emptyPDF();
    QPDFPageDocumentHelper target(result);
    for (QPDFPageObjectHelper& page : pages) {
        try {
            target.addPage(page, false);
        } catch (const std::exception&) {
        }
    }
    // The tool counts the pages of its result outside any handler.
    if (QPDFPageDocumentHelper(result).getAllPages().size() > pages.size()) std::abort();
    try {
        QPDFWriter writer(result);
        writer.setOutputMemory();
        writer.write();
    } catch (const std::exception&) {
    }
    return 0;
}
