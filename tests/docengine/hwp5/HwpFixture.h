#pragma once
// Small HWP 5 documents built byte by byte for the reader's tests: records, paragraphs,
// tables and whole compound files (written with libgsf), so each test states exactly the
// structure it exercises.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tavrino::docs::hwp5::test {

using Bytes = std::vector<std::uint8_t>;

struct Writer {
    Bytes bytes;
    Writer& u8(std::uint8_t v);
    Writer& u16(std::uint16_t v);
    Writer& u32(std::uint32_t v);
    Writer& utf16(const std::u16string& text);  // code units only, no count
    Writer& bstr(const std::u16string& text);
    Writer& raw(const Bytes& b);
    Writer& zeros(std::size_t n);
};

// One record: header (with the extended size form from 0xFFF bytes on) and payload.
Bytes record(std::uint16_t tag, std::uint16_t level, const Bytes& payload);
Bytes join(const std::vector<Bytes>& parts);

// An extended control character for a control id such as "tbl ": 8 code units.
std::u16string extendedChar(char16_t code, const char (&id)[5]);

// A paragraph at `level` with its text records; `children` (controls) follow at level + 1.
Bytes paragraph(std::uint16_t level, const std::u16string& text, bool last,
                const Bytes& children = {});

// A table control at `level` with rows × columns cells, each holding `cellText`.
Bytes table(std::uint16_t level, std::uint16_t rows, std::uint16_t columns,
            const std::u16string& cellText);

Bytes fileHeader(std::uint32_t properties, std::uint32_t version = 0x05000300);
Bytes minimalDocInfo();

// A compound file holding the given streams ("BodyText/Section0" creates the storage).
Bytes compoundFile(const std::vector<std::pair<std::string, Bytes>>& streams);

// An uncompressed HWP document with one section stream per entry.
Bytes hwpDocument(const std::vector<Bytes>& sections, std::uint32_t properties = 0,
                  const Bytes& docInfo = minimalDocInfo());

// Raw deflate of `data`, as compressed streams store it.
Bytes deflateRaw(const Bytes& data);

}  // namespace tavrino::docs::hwp5::test
