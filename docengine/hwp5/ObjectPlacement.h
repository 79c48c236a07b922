#pragma once
// The placement bits of the common object header of tables, drawing objects and equations:
// what an object's offsets are measured from, how it is aligned there, and how body text
// flows around it. Both directions live here so that reading and writing agree.

#include <cstdint>

#include "model/Content.h"

namespace tavrino::docs::hwp5 {

// The model's placement from the header's property word and its two offsets.
Placement placementFromHeader(std::uint32_t properties, std::int32_t verticalOffset,
                              std::int32_t horizontalOffset);

// The property bits for frames, alignments and wrap of a floating object (sizes and the
// object's kind are the caller's).
std::uint32_t placementBits(const Placement& placement);

}  // namespace tavrino::docs::hwp5
