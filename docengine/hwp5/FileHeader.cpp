#include "hwp5/FileHeader.h"

#include <cstring>

#include "hwp5/ByteReader.h"
#include "hwp5/Hwp5Error.h"

namespace tavrino::docs::hwp5 {

std::string Version::text() const {
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(build) + "." +
           std::to_string(revision);
}

FileHeader parseFileHeader(std::span<const std::uint8_t> bytes) {
    static constexpr char kSignature[] = "HWP Document File";
    if (bytes.size() < 48 || std::memcmp(bytes.data(), kSignature, sizeof kSignature - 1) != 0)
        throw Hwp5Error("한글(HWP 5) 문서가 아님: FileHeader 서명이 다름");
    ByteReader in(bytes, "FileHeader");
    in.seek(32);
    FileHeader header;
    std::uint32_t v = in.u32();
    header.version = {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
                      static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
    header.properties = in.u32();
    header.properties2 = in.u32();
    header.encryptVersion = in.u32();
    if (header.version.major != 5)
        throw Hwp5Error("지원하지 않는 한글 문서 판: " + header.version.text());
    return header;
}

}  // namespace tavrino::docs::hwp5
