#pragma once
// What this machine can give a run right now: the cores this process may use and the memory
// it can still take without pushing others into swap or the out-of-memory killer.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace tavrino {

// The cores this process may run on (its CPU affinity), at least 1.
unsigned usableCores();

// The memory available to this process in bytes: the kernel's MemAvailable, lowered to what
// the process's control group still allows when it has a limit. No value when neither can
// be read.
std::optional<std::uint64_t> availableMemory();

// Makes the allocator hand every buffer of 256 KB or more straight back to the system when it
// is freed. By default glibc raises that threshold each time such a buffer is freed, after
// which page bitmaps and encoder pieces are kept in per-thread heaps: a run over many pages
// or pictures would hold tens of megabytes it no longer uses. Call once at start-up.
void returnLargeBuffersToTheSystem();

// The "MemAvailable:" figure of a /proc/meminfo text, in bytes.
std::optional<std::uint64_t> memAvailableOf(std::string_view meminfo);

// What a control group (cgroup v2) folder still allows: memory.max minus memory.current; no
// value when the group has no limit ("max") or the files cannot be read.
std::optional<std::uint64_t> cgroupHeadroom(const std::filesystem::path& group);

}  // namespace tavrino
