#include "hwp5/Summary.h"

#include <chrono>
#include <cstdio>

#include "hwp5/ByteReader.h"
#include "hwp5/Hwp5Error.h"

namespace tavrino::docs::hwp5 {
namespace {

constexpr std::uint32_t kLpstr = 0x1E, kLpwstr = 0x1F, kFiletime = 0x40;

std::string readString(ByteReader& in, std::uint32_t type) {
    std::uint32_t count = in.u32();
    if (type == kLpstr) {
        auto raw = in.bytes(count);
        std::string s(raw.begin(), raw.end());
        return s.substr(0, s.find('\0'));
    }
    auto raw = in.bytes(std::size_t{count} * 2);
    std::u16string units(count, u'\0');
    for (std::size_t i = 0; i < count; ++i)
        units[i] = static_cast<char16_t>(raw[2 * i] | (raw[2 * i + 1] << 8));
    units = units.substr(0, units.find(u'\0'));
    return utf16ToUtf8(units);
}

void readProperty(Summary& s, std::uint32_t id, ByteReader in) {
    std::uint32_t type = in.u32();
    std::string* text = nullptr;
    switch (id) {
        case 2:
            text = &s.title;
            break;
        case 3:
            text = &s.subject;
            break;
        case 4:
            text = &s.author;
            break;
        case 5:
            text = &s.keywords;
            break;
        case 6:
            text = &s.comments;
            break;
        case 8:
            text = &s.lastSavedBy;
            break;
        case 12:
        case 13:
            if (type == kFiletime) {
                std::uint64_t low = in.u32(), high = in.u32();
                (id == 12 ? s.created : s.modified) = fileTimeToIso(high << 32 | low);
            }
            return;
        default:
            return;
    }
    if (type == kLpstr || type == kLpwstr) *text = readString(in, type);
}

}  // namespace

std::string fileTimeToIso(std::uint64_t ticks) {
    if (ticks == 0) return {};
    constexpr std::int64_t kUnixEpochSeconds = 11644473600;  // 1601-01-01 to 1970-01-01
    auto seconds = static_cast<std::int64_t>(ticks / 10000000) - kUnixEpochSeconds;
    auto days = std::chrono::floor<std::chrono::days>(
        std::chrono::sys_seconds{std::chrono::seconds{seconds}});
    std::chrono::year_month_day ymd{days};
    std::int64_t rest = seconds - days.time_since_epoch().count() * 86400;
    char out[64];  // roomy enough for any year the compiler can imagine
    std::snprintf(out, sizeof out, "%04d-%02u-%02uT%02d:%02d:%02dZ", int(ymd.year()),
                  unsigned(ymd.month()), unsigned(ymd.day()), int(rest / 3600), int(rest / 60 % 60),
                  int(rest % 60));
    return out;
}

Summary parseSummary(std::span<const std::uint8_t> stream) {
    Summary s;
    try {
        ByteReader in(stream, "문서 정보");
        if (in.u16() != 0xFFFE) return s;
        in.skip(2 + 4 + 16);
        if (in.u32() == 0) return s;
        in.skip(16);  // format id
        std::uint32_t sectionAt = in.u32();
        in.seek(sectionAt);
        auto section = stream.subspan(sectionAt);
        ByteReader sec(section, "문서 정보");
        sec.u32();  // section size
        std::uint32_t count = sec.u32();
        for (std::uint32_t i = 0; i < count && sec.remaining() >= 8; ++i) {
            std::uint32_t id = sec.u32(), offset = sec.u32();
            if (offset >= section.size()) continue;
            try {
                readProperty(s, id, ByteReader(section.subspan(offset), "문서 정보"));
            } catch (const Hwp5Error&) {
                // One damaged property does not spoil the others.
            }
        }
    } catch (const Hwp5Error&) {
    }
    return s;
}

}  // namespace tavrino::docs::hwp5
