#pragma once
// Writes an OLE2 compound file through libgsf's writer: 512-byte sectors, version 3, as the
// word processor's own files. Streams are given by path ("BodyText/Section0"); the storages
// on the way are created in the order their first stream is added, and an empty storage can
// be asked for by a path ending in '/'.

#include <cstdint>
#include <string>
#include <vector>

namespace tavrino::docs::hwp5 {

struct CompoundEntry {
    std::string path;  // "FileHeader", "BodyText/Section0", "DocOptions/" (an empty storage)
    std::vector<std::uint8_t> bytes;
};

// The whole file. Throws DocumentError when libgsf cannot build it.
std::string writeCompoundFile(const std::vector<CompoundEntry>& entries);

}  // namespace tavrino::docs::hwp5
