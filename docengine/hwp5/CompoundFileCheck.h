#pragma once
// A structural check of an OLE2 compound file before libgsf sees it. libgsf trusts the sector
// allocation table more than a hostile file deserves, so every chain the file uses (DIFAT, FAT,
// directory, mini FAT, mini stream and each stream) is walked here once, with a bound and a
// visited set: a cycle, a sector past the end of the file, a chain shorter than its stream or a
// directory tree that loops is rejected before any stream is read.

#include <cstdint>
#include <span>

namespace tavrino::docs::hwp5 {

// Throws Hwp5Error naming the fault when `file` is not a sound compound file.
void checkCompoundFile(std::span<const std::uint8_t> file);

}  // namespace tavrino::docs::hwp5
