#include "platform/Machine.h"

#include <malloc.h>
#include <sched.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <string>

#include "platform/WholeFile.h"

namespace fs = std::filesystem;

namespace tavrino {
namespace {

std::optional<std::uint64_t> numberIn(std::string_view text) {
    const std::size_t first = text.find_first_of("0123456789");
    if (first == std::string_view::npos) return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, error] =
        std::from_chars(text.data() + first, text.data() + text.size(), value);
    if (error != std::errc()) return std::nullopt;
    return value;
}

std::optional<std::uint64_t> numberInFile(const fs::path& path) {
    const std::optional<std::string> text = readWholeFile(path);
    if (!text || text->starts_with("max")) return std::nullopt;
    return numberIn(*text);
}

// The process's own group under the unified hierarchy: the "0::/path" line.
std::optional<fs::path> ownCgroup() {
    std::ifstream in("/proc/self/cgroup");
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("0::")) return fs::path("/sys/fs/cgroup") / line.substr(4);
    }
    return std::nullopt;
}

}  // namespace

unsigned usableCores() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        return static_cast<unsigned>(std::max(1, CPU_COUNT(&set)));
    }
    return 1;
}

void returnLargeBuffersToTheSystem() {
    // Setting the threshold explicitly also turns glibc's dynamic adjustment off.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
}

std::optional<std::uint64_t> memAvailableOf(std::string_view meminfo) {
    constexpr std::string_view key = "MemAvailable:";
    const std::size_t at = meminfo.find(key);
    if (at == std::string_view::npos) return std::nullopt;
    const std::string_view rest = meminfo.substr(at + key.size());
    const std::optional<std::uint64_t> kilobytes = numberIn(rest.substr(0, rest.find('\n')));
    if (!kilobytes) return std::nullopt;
    return *kilobytes * 1024;
}

std::optional<std::uint64_t> cgroupHeadroom(const fs::path& group) {
    const std::optional<std::uint64_t> limit = numberInFile(group / "memory.max");
    const std::optional<std::uint64_t> used = numberInFile(group / "memory.current");
    if (!limit || !used) return std::nullopt;
    return *limit > *used ? *limit - *used : 0;
}

std::optional<std::uint64_t> availableMemory() {
    std::optional<std::uint64_t> available;
    if (const std::optional<std::string> meminfo = readWholeFile("/proc/meminfo")) {
        available = memAvailableOf(*meminfo);
    }
    if (const std::optional<fs::path> group = ownCgroup()) {
        if (const std::optional<std::uint64_t> headroom = cgroupHeadroom(*group)) {
            available = available ? std::min(*available, *headroom) : *headroom;
        }
    }
    return available;
}

}  // namespace tavrino
