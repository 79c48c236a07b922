// Bits 3-4 vertical frame (paper, page, paragraph), 5-7 vertical alignment, 8-9 horizontal
// frame (paper, page, column, paragraph), 10-12 horizontal alignment, 13 flow with the
// paragraph, 21-23 text wrap (square, top and bottom, behind, in front). Alignments count
// top/left, centre, bottom/right, inside, outside.

#include "hwp5/ObjectPlacement.h"

namespace tavrino::docs::hwp5 {
namespace {

constexpr std::uint32_t field(std::uint32_t word, int shift, std::uint32_t mask) {
    return (word >> shift) & mask;
}

AnchorAlign alignFrom(std::uint32_t value) {
    switch (value) {
        case 1:
            return AnchorAlign::center;
        case 2:
            return AnchorAlign::end;
        case 3:
            return AnchorAlign::inside;
        case 4:
            return AnchorAlign::outside;
        default:
            return AnchorAlign::start;
    }
}

std::uint32_t alignBits(AnchorAlign align) {
    switch (align) {
        case AnchorAlign::center:
            return 1;
        case AnchorAlign::end:
            return 2;
        case AnchorAlign::inside:
            return 3;
        case AnchorAlign::outside:
            return 4;
        case AnchorAlign::start:
            break;
    }
    return 0;
}

}  // namespace

Placement placementFromHeader(std::uint32_t properties, std::int32_t verticalOffset,
                              std::int32_t horizontalOffset) {
    Placement p;
    static constexpr AnchorFrame vertical[] = {AnchorFrame::paper, AnchorFrame::page,
                                               AnchorFrame::paragraph, AnchorFrame::paragraph};
    static constexpr AnchorFrame horizontal[] = {AnchorFrame::paper, AnchorFrame::page,
                                                 AnchorFrame::column, AnchorFrame::paragraph};
    p.vertical = {vertical[field(properties, 3, 0x3)], alignFrom(field(properties, 5, 0x7)),
                  verticalOffset};
    p.horizontal = {horizontal[field(properties, 8, 0x3)], alignFrom(field(properties, 10, 0x7)),
                    horizontalOffset};
    static constexpr TextWrap wraps[] = {TextWrap::square, TextWrap::topAndBottom,
                                         TextWrap::behindText, TextWrap::inFrontOfText};
    const std::uint32_t wrap = field(properties, 21, 0x7);
    p.wrap = wrap < 4 ? wraps[wrap] : TextWrap::square;
    return p;
}

std::uint32_t placementBits(const Placement& placement) {
    std::uint32_t vertical = 2;  // the paragraph, also for a column the header cannot name
    if (placement.vertical.frame == AnchorFrame::paper) vertical = 0;
    if (placement.vertical.frame == AnchorFrame::page) vertical = 1;
    const std::uint32_t horizontal = static_cast<std::uint32_t>(placement.horizontal.frame);
    const std::uint32_t wrap = static_cast<std::uint32_t>(placement.wrap);
    std::uint32_t bits = vertical << 3 | alignBits(placement.vertical.align) << 5 |
                         horizontal << 8 | alignBits(placement.horizontal.align) << 10 | wrap << 21;
    // An object placed from its paragraph moves with it.
    if (vertical == 2) bits |= 1u << 13;
    return bits;
}

}  // namespace tavrino::docs::hwp5
