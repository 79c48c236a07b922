#pragma once
// An independent structural check of an HWPX package, written from the format's
// documentation (package order, manifest, required parts and namespaces, well-formed XML,
// references between parts). It uses libzip and pugixml directly, not our reader.

#include <string>
#include <string_view>
#include <vector>

namespace tavrino::docs::test {

struct HwpxCheckOptions {
    // The word processor stores `mimetype` uncompressed; some other producers deflate it.
    bool requireStoredMimetype = true;
};

// Every problem found, one line each; empty when the package is sound.
std::vector<std::string> hwpxStructureProblems(std::string_view bytes,
                                               const HwpxCheckOptions& options = {});

}  // namespace tavrino::docs::test
