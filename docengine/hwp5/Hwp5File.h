#pragma once
// One HWP 5 document read in full: header, document-wide tables, the paragraphs of every
// section, the summary and the embedded binary data. This is the file's own structure; the
// mapping onto the document model is a separate step.

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "hwp5/DocInfo.h"
#include "hwp5/FileHeader.h"
#include "hwp5/Paragraph.h"
#include "hwp5/Summary.h"

namespace tavrino::docs::hwp5 {

// Documents with more sections than this are refused; each section is its own stream, and a
// forged directory could otherwise ask for millions of them.
inline constexpr int kMaxSections = 4096;

struct Hwp5File {
    FileHeader header;
    DocInfo docInfo;
    std::vector<ParagraphList> sections;
    Summary summary;
    std::map<std::uint16_t, std::vector<std::uint8_t>> binData;  // by bin data id
    int missingBinData = 0;  // embedded items whose stream is absent or damaged
};

// Reads an HWP 5 document. Throws Hwp5Locked for password- or DRM-protected documents and
// Hwp5Error for anything that is not a readable HWP 5 document; never returns partial text.
Hwp5File readHwp5Bytes(std::vector<std::uint8_t> bytes);

// A body stream as records: decrypted when the document is for distribution and inflated
// when it is compressed.
std::vector<std::uint8_t> decodeBodyStream(std::span<const std::uint8_t> raw,
                                           const FileHeader& header, bool distribution);

}  // namespace tavrino::docs::hwp5
