// Fuzzes the record layer and everything above it without the container: the input is taken
// as an uncompressed section stream (and, from its first byte's parity, also as DocInfo), then
// parsed into paragraphs and mapped onto the document model.

#include <cstddef>
#include <cstdint>
#include <span>

#include "hwp5/DocInfo.h"
#include "hwp5/Hwp5Error.h"
#include "hwp5/Hwp5File.h"
#include "hwp5/ModelBuilder.h"
#include "hwp5/Record.h"
#include "hwp5/SectionParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavrino::docs::hwp5;
    std::span<const std::uint8_t> bytes(data, size);
    try {
        auto records = parseRecords(bytes);
        Hwp5File file;
        if (size > 0 && (data[0] & 1)) file.docInfo = parseDocInfo(records);
        file.sections.push_back(parseSection(records));
        (void)buildDocument(file);
    } catch (const Hwp5Error&) {
    }
    return 0;
}
