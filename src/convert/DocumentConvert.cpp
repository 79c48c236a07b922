#include "convert/DocumentConvert.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "convert/ConvertError.h"
#include "convert/ImageWriter.h"
#include "convert/OutputNaming.h"
#include "convert/PdfPages.h"
#include "convert/PendingFile.h"
#include "documents/ToolRunner.h"
#include "platform/PdfDocument.h"
#include "platform/TextCount.h"
#include "platform/WholeFile.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

std::string runPelgrin(const std::vector<std::string>& args) {
    return runTool(bundledToolPath(pelgrinTool.name, pelgrinTool.vendorDir), pelgrinTool.label,
                   args);
}

std::string runWordbridge(const std::vector<std::string>& args) {
    return runTool(bundledToolPath(wordbridgeTool.name, wordbridgeTool.vendorDir),
                   wordbridgeTool.label, args);
}

// Our text converter ships in the bundle beside the other tools.
void runTextutil(const fs::path& source, const fs::path& output) {
    const std::optional<std::string> exe = bundledToolPath("textutil", "textutil");
    if (!exe) throw ConvertError("textutil 프로그램을 찾지 못함");
    runProcess(*exe, {"-convert", "txt", "-output", output.string(), source.string()});
}

// Runs a step and rewraps its failure under the route's own heading.
template <typename Step>
void wrapped(const std::string& heading, Step step) {
    try {
        step();
    } catch (const std::exception& error) {
        throw ConvertError(heading + " — " + error.what());
    }
}

std::string trimmed(std::string_view text) {
    constexpr std::string_view space = " \t\r\n\v\f";
    const size_t first = text.find_first_not_of(space);
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(space);
    return std::string(text.substr(first, last - first + 1));
}

std::string readText(const fs::path& file) {
    const std::optional<std::string> bytes = readWholeFile(file);
    if (!bytes) throw ConvertError("파일을 읽을 수 없음: " + file.filename().string());
    return *bytes;
}

// pelgrin's text export into `work`: its .txt files (case-sensitive) in code-point order,
// joined by one empty line, trimmed.
std::string exportedText(const fs::path& source, const fs::path& work) {
    runPelgrin({"export-text", source.string(), "-o", work.string()});
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(work)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 4 && name.ends_with(".txt")) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += "\n\n";
        text += readText(work / names[i]);
    }
    return trimmed(text);
}

// Writes the whole text through a hidden sibling into the first free name beside `ref`, so a
// failed write never leaves a partial file under the final name.
fs::path writeText(const fs::path& ref, const std::string& text) {
    PendingFile pending(outputName(ref, "txt"));
    {
        std::ofstream out(pending.path(), std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out)
            throw ConvertError("파일을 쓸 수 없음: " + pending.intendedPath().filename().string());
    }
    return pending.place();
}

std::string countNote(const std::string& text, std::string_view unit) {
    return std::to_string(countCharacters(text)) + std::string(unit);
}

ToolResult hwpDirect(const fs::path& path, const fs::path& ref, const char* subcommand,
                     std::string_view ext) {
    const fs::path dest = outputURL(ref, ext);
    try {
        runPelgrin({subcommand, path.string(), dest.string(), "--verify-pages"});
    } catch (...) {
        // A tool that fails after starting its file must not leave it under the final name.
        std::error_code ignored;
        fs::remove(dest, ignored);
        throw;
    }
    return {dest, std::nullopt};
}

// Document pages are sharper text than photos: JPG pages keep a little more quality than
// image conversions do.
constexpr double documentPageQuality = 0.92;
constexpr double documentPageScale = 2.0;

// The pages of a PDF exported from a document as images beside `ref`: one page is one file
// named like the document, more pages go into the "stem 이미지" folder. The note counts the
// PDF's pages.
ToolResult documentPages(const fs::path& pdfPath, const fs::path& ref, Fmt fmt) {
    const std::unique_ptr<PdfDocument> pdf = PdfDocument::open(pdfPath);
    if (!pdf || pdf->pageCount() < 1) throw ConvertError("쪽을 그리지 못함");
    const int pages = pdf->pageCount();
    const std::string note = std::to_string(pages) + "쪽";
    if (pages > 1) return {convertPDFPages(ref, *pdf, fmt, documentPageQuality), note};
    const std::optional<Image> page = renderPDFPage(*pdf, 0, documentPageScale);
    if (!page) throw ConvertError("이미지 저장 실패");
    return {writeImage(*page, outputName(ref, rawValue(fmt)), fmt, documentPageQuality), note};
}
}  // namespace

ToolResult convertHwp(const fs::path& path, DocTarget target,
                      const std::optional<fs::path>& nameLike) {
    const fs::path ref = nameLike.value_or(path);
    switch (target) {
        case DocTarget::hwp:
            return hwpDirect(path, ref, "convert", "hwp");
        case DocTarget::hwpx:
            return hwpDirect(path, ref, "export-hwpx", "hwpx");
        case DocTarget::pdf: {
            const fs::path dest = outputURL(ref, "pdf");
            try {
                runPelgrin({"export-pdf", path.string(), "-o", dest.string()});
            } catch (...) {
                std::error_code ignored;
                fs::remove(dest, ignored);
                throw;
            }
            const std::unique_ptr<PdfDocument> pdf = PdfDocument::open(dest);
            return {dest, std::to_string(pdf ? pdf->pageCount() : 0) + "쪽"};
        }
        case DocTarget::docx: {
            const ScopedTempDir work;
            const fs::path doc = work.path() / "doc.docx";
            wrapped("한글 문서를 Word로 바꾸지 못함", [&] {
                runWordbridge({"hwp2docx", path.string(), doc.string()});
            });
            return {moveIntoPlace(doc, ref, "docx"), std::nullopt};
        }
        case DocTarget::png:
        case DocTarget::jpg: {
            const ScopedTempDir work;
            const fs::path doc = work.path() / "doc.pdf";
            runPelgrin({"export-pdf", path.string(), "-o", doc.string()});
            return documentPages(doc, ref, target == DocTarget::png ? Fmt::png : Fmt::jpg);
        }
        case DocTarget::txt: {
            const ScopedTempDir work;
            const std::string text = exportedText(path, work.path());
            return {writeText(ref, text), countNote(text, "자")};
        }
    }
    notBuilt("한글 → " + std::string(title(target)));
}

ToolResult convertWord(const fs::path& path, DocTarget target) {
    switch (target) {
        case DocTarget::txt: {
            // textutil writes into the work folder and the finished file is moved into place,
            // so a failing converter never leaves a partial text beside the source.
            const ScopedTempDir work;
            const fs::path doc = work.path() / "doc.txt";
            runTextutil(path, doc);
            const std::string text = readWholeFile(doc).value_or("");
            if (trimmed(text).empty()) throw ConvertError("Word 글자를 읽지 못함(결과 없음)");
            return {moveIntoPlace(doc, path, "txt"), countNote(text, "자")};
        }
        case DocTarget::pdf:
        case DocTarget::png:
        case DocTarget::jpg: {
            const ScopedTempDir work;
            const fs::path doc = work.path() / "doc.hwp";
            wrapped("Word 문서를 바꾸지 못함", [&] {
                runWordbridge({"docx2hwp", path.string(), doc.string()});
            });
            return convertHwp(doc, target, path);
        }
        case DocTarget::hwp:
        case DocTarget::hwpx: {
            const std::string ext = target == DocTarget::hwp ? "hwp" : "hwpx";
            const ScopedTempDir work;
            const fs::path doc = work.path() / ("doc." + ext);
            wrapped("Word 문서를 한글로 바꾸지 못함", [&] {
                runWordbridge({"docx2hwp", path.string(), doc.string()});
            });
            wrapped("만든 한글 파일을 다시 열지 못해 내놓지 않음", [&] {
                runWordbridge({"inspect", doc.string()});
            });
            return {moveIntoPlace(doc, path, ext), std::nullopt};
        }
        case DocTarget::docx:
            break;
    }
    throw ConvertError("Word 문서는 " + std::string(title(target)) + "로 바꿀 수 없음");
}

std::string documentText(const fs::path& path, FileKind kind) {
    const ScopedTempDir work;
    std::string text;
    if (kind == FileKind::docx) {
        const fs::path doc = work.path() / "doc.txt";
        runTextutil(path, doc);
        text = trimmed(readText(doc));
    } else {
        text = exportedText(path, work.path());
    }
    if (text.empty()) throw ConvertError("글자를 찾지 못함");
    return text;
}

}  // namespace tavrino
