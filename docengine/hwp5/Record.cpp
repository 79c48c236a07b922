#include "hwp5/Record.h"

#include "hwp5/ByteReader.h"
#include "hwp5/Hwp5Error.h"

namespace tavrino::docs::hwp5 {

std::vector<Record> parseRecords(std::span<const std::uint8_t> stream) {
    std::vector<Record> records;
    ByteReader in(stream, "레코드 머리");
    while (!in.atEnd()) {
        std::uint32_t header = in.u32();
        Record r;
        r.tag = static_cast<std::uint16_t>(header & 0x3FF);
        r.level = static_cast<std::uint16_t>((header >> 10) & 0x3FF);
        std::uint32_t size = header >> 20;
        if (size == 0xFFF) size = in.u32();
        if (size > in.remaining())
            throw Hwp5Error("레코드 크기가 스트림 끝을 넘음 (태그 " + std::to_string(r.tag) + ")");
        r.payload = in.bytes(size);
        records.push_back(r);
    }
    return records;
}

}  // namespace tavrino::docs::hwp5
