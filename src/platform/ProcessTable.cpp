#include "platform/ProcessTable.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <system_error>

#include "platform/WholeFile.h"

namespace tavrino {
namespace {

std::string readSmallFile(const std::filesystem::path& path) {
    return readWholeFile(path).value_or(std::string());
}

template <typename Number>
std::optional<Number> parseNumber(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<pid_t> pidFromName(const std::string& name) {
    if (name.empty() || !std::all_of(name.begin(), name.end(), ::isdigit)) return std::nullopt;
    return parseNumber<pid_t>(name);
}

}  // namespace

std::optional<ProcessStat> parseProcessStat(std::string_view line) {
    const size_t close = line.rfind(')');
    if (close == std::string_view::npos || line.find('(') == std::string_view::npos) {
        return std::nullopt;
    }
    // After ") " come field 3 (state), 4, 5, ...; field 22 is the 20th of them.
    std::istringstream rest{std::string(line.substr(close + 1))};
    std::string field;
    ProcessStat result;
    for (int index = 3; index <= 22; ++index) {
        if (!(rest >> field)) return std::nullopt;
        if (index == 3) {
            if (field.size() != 1) return std::nullopt;
            result.state = field[0];
        }
    }
    const auto ticks = parseNumber<unsigned long long>(field);
    if (!ticks) return std::nullopt;
    result.startTicks = *ticks;
    return result;
}

std::optional<long long> parseBootTime(std::string_view procStat) {
    size_t at = 0;
    while (at < procStat.size()) {
        const size_t end = std::min(procStat.find('\n', at), procStat.size());
        const std::string_view line = procStat.substr(at, end - at);
        if (line.starts_with("btime ")) return parseNumber<long long>(line.substr(6));
        at = end + 1;
    }
    return std::nullopt;
}

StartTime startTimeFromTicks(unsigned long long ticks, long long bootTime, long ticksPerSecond) {
    const auto hz = static_cast<unsigned long long>(std::max(ticksPerSecond, 1L));
    return {bootTime + static_cast<long long>(ticks / hz),
            static_cast<long long>((ticks % hz) * 1'000'000ULL / hz)};
}

std::filesystem::path withoutDeletedMark(const std::filesystem::path& exe) {
    constexpr std::string_view mark = " (deleted)";
    std::string text = exe.string();
    if (text.ends_with(mark)) text.resize(text.size() - mark.size());
    return text;
}

ProcessTable::ProcessTable(std::filesystem::path root) : root_(std::move(root)) {}

std::optional<ProcessStat> ProcessTable::stat(pid_t pid) const {
    const std::string text = readSmallFile(root_ / std::to_string(pid) / "stat");
    if (text.empty()) return std::nullopt;
    return parseProcessStat(text);
}

std::optional<long long> ProcessTable::bootTime() const {
    return parseBootTime(readSmallFile(root_ / "stat"));
}

std::optional<StartTime> ProcessTable::startTime(pid_t pid) const {
    const auto processStat = stat(pid);
    const auto boot = bootTime();
    if (!processStat || !boot) return std::nullopt;
    return startTimeFromTicks(processStat->startTicks, *boot, ::sysconf(_SC_CLK_TCK));
}

bool ProcessTable::ended(pid_t pid, const std::optional<StartTime>& seen) const {
    const auto processStat = stat(pid);
    if (!processStat) return true;
    if (processStat->state == 'Z' || processStat->state == 'X') return true;
    if (seen && startTime(pid) != seen) return true;
    return false;
}

std::filesystem::path ProcessTable::executableOf(pid_t pid) const {
    std::error_code error;
    const auto target = std::filesystem::read_symlink(root_ / std::to_string(pid) / "exe", error);
    return error ? std::filesystem::path() : withoutDeletedMark(target);
}

std::vector<pid_t> ProcessTable::copiesOf(const std::filesystem::path& executable,
                                          uid_t uid) const {
    std::vector<pid_t> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(root_, error)) {
        const auto pid = pidFromName(entry.path().filename().string());
        if (!pid) continue;
        struct stat owner {};
        if (::stat(entry.path().c_str(), &owner) != 0 || owner.st_uid != uid) continue;
        if (executableOf(*pid) != executable || ended(*pid, std::nullopt)) continue;
        found.push_back(*pid);
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace tavrino
