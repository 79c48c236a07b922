#include "hwp5/Hwp5File.h"

#include "hwp5/CompoundFile.h"
#include "hwp5/Distribution.h"
#include "hwp5/Hwp5Error.h"
#include "hwp5/Inflate.h"
#include "hwp5/Record.h"
#include "hwp5/SectionParser.h"

namespace tavrino::docs::hwp5 {
namespace {

void refuseLocked(const FileHeader& header) {
    if (header.passwordProtected()) throw Hwp5Locked("암호가 걸린 한글 문서라 열 수 없음");
    if (header.drmProtected() || header.certificateEncrypted() || header.certificateDrm())
        throw Hwp5Locked("DRM으로 보호된 한글 문서라 열 수 없음");
}

std::vector<std::uint8_t> requireStream(const CompoundFile& file, const std::string& path) {
    auto bytes = file.read(path);
    if (!bytes) throw Hwp5Error("한글 문서에 " + path + " 스트림이 없음");
    return std::move(*bytes);
}

std::vector<ParagraphList> readSections(const CompoundFile& file, const FileHeader& header) {
    // A distribution document keeps its real body in ViewText; BodyText holds only a notice.
    bool distribution = header.distribution();
    std::string storage = distribution ? "ViewText/Section" : "BodyText/Section";
    std::vector<ParagraphList> sections;
    for (int n = 0; file.hasStream(storage + std::to_string(n)); ++n) {
        if (n >= kMaxSections) throw Hwp5Error("구역이 너무 많음");
        auto raw = requireStream(file, storage + std::to_string(n));
        auto stream = decodeBodyStream(raw, header, distribution);
        auto records = parseRecords(stream);
        try {
            sections.push_back(parseSection(records));
        } catch (const Hwp5Error& e) {
            throw Hwp5Error("구역 " + std::to_string(n + 1) + ": " + e.what());
        }
    }
    if (sections.empty()) throw Hwp5Error("한글 문서에 본문 구역이 없음");
    return sections;
}

void readBinData(const CompoundFile& file, Hwp5File& doc) {
    for (const BinDataItem& item : doc.docInfo.binData) {
        if (item.kind == BinDataItem::Kind::link) continue;
        auto raw = file.read(item.streamName());
        if (!raw) {
            ++doc.missingBinData;
            continue;
        }
        bool compressed =
            item.compression == 1 || (item.compression == 0 && doc.header.compressed());
        try {
            doc.binData[item.id] = compressed ? inflateRaw(*raw) : std::move(*raw);
        } catch (const Hwp5Error&) {
            // A damaged picture costs that picture, not the document's text.
            ++doc.missingBinData;
        }
    }
}

Hwp5File readFrom(const CompoundFile& file) {
    Hwp5File doc;
    doc.header = parseFileHeader(requireStream(file, "FileHeader"));
    refuseLocked(doc.header);
    auto docInfoRaw = requireStream(file, "DocInfo");
    auto docInfo = doc.header.compressed() ? inflateRaw(docInfoRaw) : std::move(docInfoRaw);
    doc.docInfo = parseDocInfo(parseRecords(docInfo));
    doc.sections = readSections(file, doc.header);
    if (auto summary = file.read("\x05HwpSummaryInformation")) doc.summary = parseSummary(*summary);
    readBinData(file, doc);
    return doc;
}

}  // namespace

std::vector<std::uint8_t> decodeBodyStream(std::span<const std::uint8_t> raw,
                                           const FileHeader& header, bool distribution) {
    std::vector<std::uint8_t> plain;
    if (distribution) {
        plain = decryptDistributionStream(raw);
        raw = plain;
    }
    if (header.compressed()) return inflateRaw(raw);
    if (distribution) return plain;
    return {raw.begin(), raw.end()};
}

Hwp5File readHwp5Bytes(std::vector<std::uint8_t> bytes) {
    return readFrom(CompoundFile::openBytes(std::move(bytes)));
}

}  // namespace tavrino::docs::hwp5
