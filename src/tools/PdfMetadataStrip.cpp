// qpdf 11 warns unless told that we use its std::shared_ptr interfaces only.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

#include "convert/ConvertError.h"
#include "convert/OutputNaming.h"
#include "convert/PendingFile.h"
#include "tools/MetadataStrip.h"

namespace fs = std::filesystem;

namespace tavrino {

ToolResult stripPDFInfo(const fs::path& path) {
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    try {
        pdf.processFile(path.c_str());
        pdf.getRoot();
    } catch (const std::exception&) {
        throw ConvertError("PDF를 열 수 없음");
    }
    // The information dictionary hangs off the trailer; the XMP packet off the catalog. Both
    // must go: readers show XMP's author and title when the dictionary is missing. Objects no
    // longer reachable are not written, so the old values do not linger in the file.
    pdf.getTrailer().removeKey("/Info");
    pdf.getRoot().removeKey("/Metadata");
    PendingFile pending(toolOutputName(path, "정보삭제", "pdf"));
    try {
        QPDFWriter writer(pdf, pending.path().c_str());
        writer.write();
    } catch (const std::exception&) {
        throw ConvertError("PDF 저장 실패");
    }
    return {pending.place(), std::nullopt};
}

}  // namespace tavrino
