// The whole HWP 5.x file: FileHeader, DocInfo, one BodyText stream per section, the pictures
// in BinData, the preview text, the summary information, and the script and option streams
// the word processor expects in every file. DocInfo is written last, once the sections have
// told it which shapes, faces and pictures they use.

#include "hwp5/Hwp5Writer.h"

#include "hwp5/ByteWriter.h"
#include "hwp5/CompoundWriter.h"
#include "hwp5/DocInfoWriter.h"
#include "hwp5/RecordWriter.h"
#include "hwp5/SectionWriter.h"
#include "hwp5/SummaryWriter.h"
#include "model/DocumentError.h"
#include "model/JoinSections.h"
#include "text/TextExport.h"

namespace tavrino::docs {
namespace {

using hwp5::ByteWriter;

constexpr std::uint32_t kVersion = 0x05000500;  // 5.0.5.0
constexpr std::uint32_t kCompressed = 0x1;

std::vector<std::uint8_t> fileHeader() {
    ByteWriter out;
    out.raw(std::string_view("HWP Document File")).zeros(32 - 17);
    out.u32(kVersion).u32(kCompressed).u32(0).u32(4).u8(0).zeros(207);
    return out.take();
}

std::vector<std::uint8_t> utf16Bytes(const std::string& text) {
    ByteWriter out;
    out.units(hwp5::utf8ToUtf16(text));
    return out.take();
}

}  // namespace

std::string writeHwp5(const Document& document) {
    hwp5::DocInfoWriter info(document);
    std::vector<Section> fallback;
    const auto joined = joinContinuingSections(document.sections);
    const std::vector<Section>& sections = joined                      ? *joined
                                           : document.sections.empty() ? fallback = {Section{}}
                                                                       : document.sections;
    if (sections.size() > 0xFFFF) throw DocumentError("구역이 너무 많음");

    std::vector<hwp5::CompoundEntry> entries;
    entries.push_back({"FileHeader", fileHeader()});
    entries.push_back({"DocInfo", {}});  // filled in below, when every id is known
    for (std::size_t i = 0; i < sections.size(); ++i) {
        hwp5::SectionWriter writer(document, info);
        entries.push_back({"BodyText/Section" + std::to_string(i),
                           hwp5::deflateStream(writer.write(sections[i]))});
    }
    entries[1].bytes = hwp5::deflateStream(info.write(static_cast<int>(sections.size())));
    for (const hwp5::BinDataEntry& item : info.binDataEntries()) {
        const std::string& data = document.media[item.mediaIndex].data;
        // Pictures are mostly compressed already; the fastest level costs little size.
        entries.push_back(
            {item.streamName(),
             hwp5::deflateStream({reinterpret_cast<const std::uint8_t*>(data.data()), data.size()},
                                 1)});
    }
    entries.push_back({"\x05HwpSummaryInformation", hwp5::writeSummary(document.info)});
    entries.push_back({"PrvText", utf16Bytes(previewText(document))});
    ByteWriter script;
    script.zeros(16).u32(0xFFFFFFFF);
    entries.push_back({"Scripts/DefaultJScript", hwp5::deflateStream(script.bytes())});
    ByteWriter scriptVersion;
    scriptVersion.u32(1).u32(0);
    entries.push_back({"Scripts/JScriptVersion", hwp5::deflateStream(scriptVersion.bytes())});
    entries.push_back({"DocOptions/", {}});
    return hwp5::writeCompoundFile(entries);
}

}  // namespace tavrino::docs
