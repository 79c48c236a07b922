// The stripMetadata tool for Word (DOCX) and HWPX documents: the package is unpacked with the
// system's unzip, the parts that name people and times are edited with the XML scanner, the
// package is packed again with zip and opened once by wordbridge before it is handed out.

#include <algorithm>
#include <array>
#include <chrono>
#include <fstream>
#include <vector>

#include "convert/ConvertError.h"
#include "convert/OutputNaming.h"
#include "documents/ToolRunner.h"
#include "platform/WholeFile.h"
#include "tools/MetadataStrip.h"
#include "tools/ResultFile.h"
#include "tools/XmlScan.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

constexpr const char* unzipProgram = "/usr/bin/unzip";
constexpr const char* zipProgram = "/usr/bin/zip";

constexpr std::array<std::string_view, 11> coreElements{
    "dc:creator",     "cp:lastModifiedBy", "dcterms:created", "dcterms:modified",
    "cp:lastPrinted", "dc:title",          "dc:subject",      "cp:keywords",
    "dc:description", "cp:category",       "cp:revision"};
constexpr std::array<std::string_view, 3> appElements{"Company", "Manager", "Template"};
constexpr std::array<std::string_view, 1> customElements{"property"};
constexpr std::array<std::string_view, 1> presenceElements{"w15:presenceInfo"};
constexpr std::array<std::string_view, 8> hwpxMetaNames{"creator",      "lastsaveby", "CreatedDate",
                                                        "ModifiedDate", "date",       "subject",
                                                        "description",  "keyword"};

// One part of the unpacked package, edited in memory and written back only when an edit
// changed something, so untouched parts keep every byte.
class Part {
  public:
    explicit Part(fs::path file) : file_(std::move(file)) {
        // A part that is missing (or a link, see refuseLinks) is treated as empty.
        if (fs::is_regular_file(fs::symlink_status(file_))) text_ = readWholeFile(file_);
    }

    bool present() const { return text_.has_value(); }

    void apply(XmlEdit edit) {
        if (edit.changed == 0) return;
        text_ = std::move(edit.text);
        changed_ += edit.changed;
    }
    const std::string& text() const { return *text_; }

    // Writes the edited text back; returns how many things it removed or emptied.
    int save() const {
        if (changed_ == 0) return 0;
        std::ofstream out(file_, std::ios::binary | std::ios::trunc);
        out << *text_;
        out.close();
        if (!out) throw ConvertError("정보 삭제 실패: " + file_.filename().string() + " 쓰기 실패");
        return changed_;
    }

  private:
    fs::path file_;
    std::optional<std::string> text_;
    int changed_ = 0;
};

// A package entry that unpacks as a symbolic link (or anything but a file or a folder)
// would make the edits write outside the work folder and zip pack whatever it points at, so
// such a package is refused before anything is read.
void refuseLinks(const fs::path& unpacked) {
    for (auto it = fs::recursive_directory_iterator(unpacked); it != fs::end(it); ++it) {
        const fs::file_status status = it->symlink_status();
        if (!fs::is_regular_file(status) && !fs::is_directory(status)) {
            throw ConvertError("정보 삭제 실패: 문서 안에 파일이 아닌 항목이 있음(" +
                               it->path().filename().string() + ")");
        }
    }
}

std::vector<fs::path> xmlPartsUnder(const fs::path& folder) {
    std::vector<fs::path> parts;
    if (!fs::is_directory(fs::symlink_status(folder))) return parts;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().extension() == ".xml")
            parts.push_back(entry.path());
    }
    std::sort(parts.begin(), parts.end());
    return parts;
}

// Word keeps the document's properties in docProps; the people who commented or changed
// tracked text are named again in the comments, in people.xml and on every tracked change
// of the body, headers, footers and notes. Author attributes are required there, so they
// stay with an empty value; dates and initials are optional and go.
int stripDocx(const fs::path& unpacked) {
    int count = 0;
    const auto dropFrom = [&](const fs::path& file, std::span<const std::string_view> names) {
        Part part(file);
        if (!part.present()) return;
        part.apply(dropElements(part.text(), names));
        count += part.save();
    };
    dropFrom(unpacked / "docProps" / "core.xml", coreElements);
    dropFrom(unpacked / "docProps" / "app.xml", appElements);
    dropFrom(unpacked / "docProps" / "custom.xml", customElements);
    for (const fs::path& file : xmlPartsUnder(unpacked / "word")) {
        Part part(file);
        if (!part.present()) continue;
        part.apply(clearAttributes(part.text(), "", "w:author", true));
        part.apply(clearAttributes(part.text(), "", "w:date", false));
        part.apply(clearAttributes(part.text(), "w:comment", "w:initials", false));
        part.apply(clearAttributes(part.text(), "w15:person", "w15:author", true));
        part.apply(dropElements(part.text(), presenceElements));
        count += part.save();
    }
    return count;
}

// HWPX keeps its properties as opf:meta entries and the title in the package file; their
// elements stay so the package keeps its shape, only their values go. The authors of
// tracked changes are listed once in the header.
int stripHwpx(const fs::path& unpacked) {
    int count = 0;
    Part package(unpacked / "Contents" / "content.hpf");
    if (package.present()) {
        for (std::string_view meta : hwpxMetaNames) {
            package.apply(emptyElements(package.text(), "opf:meta", [meta](const XmlTag& tag) {
                const XmlAttribute* name = tag.attribute("name");
                return name && name->value == meta;
            }));
        }
        package.apply(emptyElements(package.text(), "opf:title"));
        count += package.save();
    }
    Part header(unpacked / "Contents" / "header.xml");
    if (header.present()) {
        header.apply(clearAttributes(header.text(), "hh:trackChangeAuthor", "name", true));
        count += header.save();
    }
    return count;
}

// Zip entries carry each file's modification time, which tells when the document was last
// edited; every entry gets the same time of 1 January 1980, zip's earliest.
void forgetTimes(const fs::path& unpacked) {
    using namespace std::chrono;
    const auto fixed = fs::file_time_type::clock::from_sys(
        time_point_cast<system_clock::duration>(sys_days{1980y / January / 2}));
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(unpacked)) {
        std::error_code ignored;
        fs::last_write_time(entry.path(), fixed, ignored);
    }
}

void pack(const fs::path& unpacked, const fs::path& package, bool hwpx) {
    forgetTimes(unpacked);
    // -X leaves extra file attributes out, -D leaves out folder entries, which readers of
    // these packages do not expect. HWPX needs its mimetype entry first and stored.
    if (hwpx && fs::is_regular_file(unpacked / "mimetype")) {
        runProcess(zipProgram, {"-X", "-D", "-q", "-0", package.string(), "mimetype"}, unpacked);
        runProcess(zipProgram, {"-X", "-D", "-q", "-r", package.string(), ".", "-x", "mimetype"},
                   unpacked);
        return;
    }
    runProcess(zipProgram, {"-X", "-D", "-q", "-r", package.string(), "."}, unpacked);
}

}  // namespace

ToolResult stripDocumentInfo(const fs::path& path, FileKind kind) {
    const bool docx = kind == FileKind::docx;
    const std::string ext = docx ? "docx" : "hwpx";
    const ScopedTempDir work;
    const fs::path unpacked = work.path() / "x";
    runProcess(unzipProgram, {"-q", path.string(), "-d", unpacked.string()});
    refuseLinks(unpacked);
    const int count = docx ? stripDocx(unpacked) : stripHwpx(unpacked);

    const fs::path package = work.path() / ("out." + ext);
    pack(unpacked, package, !docx);
    try {
        runTool(bundledToolPath(wordbridgeTool.name, wordbridgeTool.vendorDir),
                wordbridgeTool.label, {"inspect", package.string()});
    } catch (const std::exception& error) {
        throw ConvertError(std::string("정보를 지운 파일을 다시 열지 못해 내놓지 않음 — ") +
                           error.what());
    }
    const std::optional<std::string> bytes = readWholeFile(package);
    if (!bytes || bytes->empty()) throw ConvertError("결과 파일이 비어 있음");
    const fs::path output =
        writeResultFile(*bytes, toolOutputName(path, "정보삭제", ext), "파일 저장 실패");
    return {output, count > 0 ? "정보 " + std::to_string(count) + "개 지움" : "지울 정보 없음"};
}

}  // namespace tavrino
