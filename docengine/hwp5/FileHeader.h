#pragma once
// The 256-byte FileHeader stream: signature, version and the property bits that decide how
// every other stream must be read.

#include <cstdint>
#include <span>
#include <string>

namespace tavrino::docs::hwp5 {

struct Version {
    std::uint8_t major = 0, minor = 0, build = 0, revision = 0;

    // Packs the four digits the way the file stores them (0xMMnnPPrr), so versions compare as
    // plain integers.
    std::uint32_t packed() const {
        return (std::uint32_t{major} << 24) | (minor << 16) | (build << 8) | revision;
    }
    std::string text() const;
    bool atLeast(int mm, int nn, int pp, int rr) const {
        return packed() >= ((std::uint32_t(mm) << 24) | (nn << 16) | (pp << 8) | rr);
    }
    bool operator==(const Version&) const = default;
};

struct FileHeader {
    Version version;
    std::uint32_t properties = 0;
    std::uint32_t properties2 = 0;
    std::uint32_t encryptVersion = 0;

    bool compressed() const { return properties & 0x1u; }
    bool passwordProtected() const { return properties & 0x2u; }
    bool distribution() const { return properties & 0x4u; }
    bool scriptsStored() const { return properties & 0x8u; }
    bool drmProtected() const { return properties & 0x10u; }
    bool certificateEncrypted() const { return properties & 0x100u; }
    bool certificateDrm() const { return properties & 0x400u; }
};

// Parses the FileHeader stream. Throws Hwp5Error when the signature is not the HWP 5
// signature or the stream is shorter than its fixed fields, and when the version is not 5.x.
FileHeader parseFileHeader(std::span<const std::uint8_t> bytes);

}  // namespace tavrino::docs::hwp5
