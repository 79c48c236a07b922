#include "hwp5/CompoundFileCheck.h"

#include <cstring>
#include <vector>

#include "hwp5/ByteReader.h"
#include "hwp5/Hwp5Error.h"

namespace tavrino::docs::hwp5 {
namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::uint8_t kMagic[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

[[noreturn]] void fail(const char* why) {
    throw Hwp5Error(std::string("복합 문서 구조가 손상됨: ") + why);
}

std::uint32_t readU32(std::span<const std::uint8_t> bytes, std::size_t at) {
    ByteReader in(bytes.subspan(at, 4), "복합 문서");
    return in.u32();
}

struct Layout {
    std::span<const std::uint8_t> file;
    std::uint32_t sectorSize = 512;
    std::uint32_t sectorCount = 0;  // whole sectors after the header
    std::vector<std::uint32_t> fat;

    std::span<const std::uint8_t> sector(std::uint32_t id) const {
        if (id >= sectorCount) fail("파일 끝을 넘는 섹터");
        return file.subspan(std::size_t{id + 1} * sectorSize, sectorSize);
    }
};

// Follows one chain through `table`, refusing cycles and ids outside `limit`.
std::vector<std::uint32_t> walkChain(const std::vector<std::uint32_t>& table, std::uint32_t start,
                                     std::uint32_t limit) {
    std::vector<std::uint32_t> chain;
    std::vector<bool> seen(table.size(), false);
    for (std::uint32_t id = start; id != kEndOfChain;) {
        if (id >= table.size() || id >= limit) fail("범위를 벗어난 섹터 번호");
        if (seen[id]) fail("섹터 사슬이 순환함");
        seen[id] = true;
        chain.push_back(id);
        id = table[id];
    }
    return chain;
}

std::vector<std::uint32_t> fatSectorIds(const Layout& l, std::span<const std::uint8_t> header) {
    std::uint32_t fatCount = readU32(header, 0x2C);
    std::uint32_t difatStart = readU32(header, 0x44);
    std::uint32_t difatCount = readU32(header, 0x48);
    if (fatCount > l.sectorCount) fail("할당표 섹터 수가 파일보다 큼");
    std::vector<std::uint32_t> ids;
    for (std::uint32_t i = 0; i < 109 && ids.size() < fatCount; ++i)
        ids.push_back(readU32(header, 0x4C + 4 * i));
    std::vector<bool> seen(l.sectorCount, false);
    std::uint32_t perSector = l.sectorSize / 4 - 1;
    for (std::uint32_t n = 0, id = difatStart; ids.size() < fatCount; ++n) {
        if (n >= difatCount || id >= l.sectorCount || seen[id]) fail("DIFAT 사슬이 잘못됨");
        seen[id] = true;
        auto s = l.sector(id);
        for (std::uint32_t i = 0; i < perSector && ids.size() < fatCount; ++i)
            ids.push_back(readU32(s, 4 * i));
        id = readU32(s, 4 * perSector);
    }
    return ids;
}

void readFat(Layout& l, std::span<const std::uint8_t> header) {
    for (std::uint32_t id : fatSectorIds(l, header)) {
        auto s = l.sector(id);
        for (std::uint32_t i = 0; i < l.sectorSize / 4; ++i)
            l.fat.push_back(readU32(s, 4 * i));
    }
}

struct Entry {
    std::uint8_t type = 0;
    std::uint32_t left = kNoStream, right = kNoStream, child = kNoStream;
    std::uint32_t start = 0;
    std::uint64_t size = 0;
};

std::vector<Entry> readDirectory(const Layout& l, std::uint32_t start, bool version4) {
    std::vector<Entry> entries;
    for (std::uint32_t id : walkChain(l.fat, start, l.sectorCount)) {
        auto s = l.sector(id);
        for (std::size_t off = 0; off + 128 <= s.size(); off += 128) {
            ByteReader in(s.subspan(off, 128), "복합 문서 디렉터리");
            Entry e;
            in.seek(66);
            e.type = in.u8();
            in.seek(68);
            e.left = in.u32();
            e.right = in.u32();
            e.child = in.u32();
            in.seek(116);
            e.start = in.u32();
            std::uint32_t low = in.u32(), high = in.u32();
            e.size = version4 ? (std::uint64_t{high} << 32 | low) : low;
            entries.push_back(e);
        }
    }
    if (entries.empty() || entries[0].type != 5) fail("루트 항목이 없음");
    return entries;
}

// The directory is a tree linked by left, right and child ids; a loop there would make any
// reader walk forever, and an id out of range would read past the table.
void checkTree(const std::vector<Entry>& entries) {
    std::vector<bool> seen(entries.size(), false);
    std::vector<std::uint32_t> pending{0};
    while (!pending.empty()) {
        std::uint32_t id = pending.back();
        pending.pop_back();
        if (id == kNoStream) continue;
        if (id >= entries.size()) fail("디렉터리 항목 번호가 범위를 벗어남");
        if (seen[id]) fail("디렉터리 구조가 순환함");
        seen[id] = true;
        const Entry& e = entries[id];
        if (e.type != 1 && e.type != 2 && e.type != 5) fail("빈 디렉터리 항목이 연결됨");
        pending.insert(pending.end(), {e.left, e.right, e.child});
    }
}

void checkStreams(const Layout& l, const std::vector<Entry>& entries, std::uint32_t cutoff,
                  std::span<const std::uint8_t> header) {
    const Entry& root = entries[0];
    auto miniStream =
        walkChain(l.fat, root.start == kFreeSector ? kEndOfChain : root.start, l.sectorCount);
    if (root.size > std::uint64_t{miniStream.size()} * l.sectorSize)
        fail("작은 스트림 영역이 잘림");
    std::vector<std::uint32_t> miniFat;
    std::uint32_t miniFatStart = readU32(header, 0x3C);
    if (miniFatStart != kEndOfChain && miniFatStart != kFreeSector) {
        for (std::uint32_t id : walkChain(l.fat, miniFatStart, l.sectorCount)) {
            auto s = l.sector(id);
            for (std::uint32_t i = 0; i < l.sectorSize / 4; ++i)
                miniFat.push_back(readU32(s, 4 * i));
        }
    }
    auto miniLimit =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(root.size / 64, kEndOfChain));
    for (std::size_t i = 1; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        if (e.type != 2 || e.size == 0) continue;
        bool mini = e.size < cutoff;
        auto chain = mini ? walkChain(miniFat, e.start, miniLimit)
                          : walkChain(l.fat, e.start, l.sectorCount);
        std::uint64_t unit = mini ? 64 : l.sectorSize;
        if (std::uint64_t{chain.size()} * unit < e.size) fail("스트림 크기가 사슬보다 큼");
    }
}

}  // namespace

void checkCompoundFile(std::span<const std::uint8_t> file) {
    if (file.size() < 512 || std::memcmp(file.data(), kMagic, 8) != 0)
        throw Hwp5Error("한글(HWP 5) 문서가 아님: 복합 문서 형식이 아님");
    auto header = file.first(512);
    ByteReader in(header, "복합 문서 머리");
    in.seek(0x1A);
    std::uint16_t major = in.u16();
    in.u16();  // byte order mark
    std::uint16_t shift = in.u16();
    std::uint16_t miniShift = in.u16();
    if (!((major == 3 && shift == 9) || (major == 4 && shift == 12)) || miniShift != 6)
        fail("섹터 크기가 잘못됨");
    Layout l;
    l.file = file;
    l.sectorSize = 1u << shift;
    if (file.size() < 2 * std::size_t{l.sectorSize}) fail("파일이 너무 짧음");
    l.sectorCount = static_cast<std::uint32_t>(file.size() / l.sectorSize - 1);
    readFat(l, header);
    auto entries = readDirectory(l, readU32(header, 0x30), major == 4);
    checkTree(entries);
    checkStreams(l, entries, readU32(header, 0x38), header);
}

}  // namespace tavrino::docs::hwp5
