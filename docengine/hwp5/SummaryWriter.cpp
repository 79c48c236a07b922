#include "hwp5/SummaryWriter.h"

#include <chrono>
#include <cstdio>
#include <utility>

#include "hwp5/ByteWriter.h"

namespace tavrino::docs::hwp5 {
namespace {

constexpr std::uint32_t kI2 = 0x02, kLpwstr = 0x1F, kFiletime = 0x40;

// {9FA2B660-1061-11D4-B4C6-006097C09D8C}, the class and format id of this property set.
void formatId(ByteWriter& out) {
    out.u32(0x9FA2B660).u16(0x1061).u16(0x11D4);
    for (std::uint8_t b : {0xB4, 0xC6, 0x00, 0x60, 0x97, 0xC0, 0x9D, 0x8C})
        out.u8(b);
}

void pad(ByteWriter& out) {
    while (out.size() % 4 != 0)
        out.u8(0);
}

}  // namespace

std::uint64_t isoToFileTime(const std::string& iso) {
    int year = 0, hour = 0, minute = 0;
    unsigned month = 0, day = 0;
    double second = 0;
    if (std::sscanf(iso.c_str(), "%d-%u-%uT%d:%d:%lf", &year, &month, &day, &hour, &minute,
                    &second) < 3)
        return 0;
    const std::chrono::year_month_day date{std::chrono::year{year}, std::chrono::month{month},
                                           std::chrono::day{day}};
    if (!date.ok() || year < 1601 || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second >= 61)
        return 0;
    constexpr std::int64_t kUnixEpochSeconds = 11644473600;  // 1601-01-01 to 1970-01-01
    const std::int64_t days = std::chrono::sys_days{date}.time_since_epoch().count();
    const std::int64_t seconds = days * 86400 + hour * 3600 + minute * 60 +
                                 static_cast<std::int64_t>(second) + kUnixEpochSeconds;
    return static_cast<std::uint64_t>(seconds) * 10000000u;
}

std::vector<std::uint8_t> writeSummary(const DocumentInfo& info) {
    // Property id and its value, already typed.
    std::vector<std::pair<std::uint32_t, ByteWriter>> properties;
    ByteWriter codePage;
    codePage.u32(kI2).u16(1200).u16(0);  // strings are UTF-16
    properties.emplace_back(1, std::move(codePage));
    const std::pair<std::uint32_t, const std::string*> strings[] = {
        {2, &info.title},    {3, &info.subject},     {4, &info.author},
        {5, &info.keywords}, {6, &info.description}, {8, &info.lastModifiedBy}};
    for (const auto& [id, text] : strings) {
        if (text->empty()) continue;
        std::u16string units = utf8ToUtf16(*text);
        if (units.size() > 0xFFFF) units.resize(0xFFFF);
        ByteWriter value;
        value.u32(kLpwstr).u32(static_cast<std::uint32_t>(units.size() + 1)).units(units).u16(0);
        pad(value);
        properties.emplace_back(id, std::move(value));
    }
    for (const auto& [id, iso] : {std::pair{12u, &info.created}, std::pair{13u, &info.modified}}) {
        const std::uint64_t ticks = isoToFileTime(*iso);
        if (ticks == 0) continue;
        ByteWriter value;
        value.u32(kFiletime)
            .u32(static_cast<std::uint32_t>(ticks))
            .u32(static_cast<std::uint32_t>(ticks >> 32));
        properties.emplace_back(id, std::move(value));
    }

    const auto count = static_cast<std::uint32_t>(properties.size());
    std::uint32_t offset = 8 + 8 * count;
    ByteWriter index, values;
    for (const auto& [id, value] : properties) {
        index.u32(id).u32(offset + static_cast<std::uint32_t>(values.size()));
        values.raw(value.bytes());
    }

    ByteWriter out;
    out.u16(0xFFFE).u16(0).u32(0x00020006);
    formatId(out);
    out.u32(1);
    formatId(out);
    out.u32(48);
    out.u32(offset + static_cast<std::uint32_t>(values.size())).u32(count);
    out.raw(index.bytes()).raw(values.bytes());
    return out.take();
}

}  // namespace tavrino::docs::hwp5
