#include "hwpx/HwpxPlacement.h"

#include <string_view>

namespace tavrino::docs {
namespace {

struct Word {
    std::string_view text;
    int value;
};

constexpr Word kFrames[] = {{"PAPER", int(AnchorFrame::paper)},
                            {"PAGE", int(AnchorFrame::page)},
                            {"COLUMN", int(AnchorFrame::column)},
                            {"PARA", int(AnchorFrame::paragraph)}};
constexpr Word kHorizontalAligns[] = {{"LEFT", int(AnchorAlign::start)},
                                      {"CENTER", int(AnchorAlign::center)},
                                      {"RIGHT", int(AnchorAlign::end)},
                                      {"INSIDE", int(AnchorAlign::inside)},
                                      {"OUTSIDE", int(AnchorAlign::outside)}};
constexpr Word kVerticalAligns[] = {{"TOP", int(AnchorAlign::start)},
                                    {"CENTER", int(AnchorAlign::center)},
                                    {"BOTTOM", int(AnchorAlign::end)},
                                    {"INSIDE", int(AnchorAlign::inside)},
                                    {"OUTSIDE", int(AnchorAlign::outside)}};
// TIGHT and THROUGH follow the object's outline; without its outline the nearest is square.
constexpr Word kWraps[] = {
    {"SQUARE", int(TextWrap::square)},          {"TIGHT", int(TextWrap::square)},
    {"THROUGH", int(TextWrap::square)},         {"TOP_AND_BOTTOM", int(TextWrap::topAndBottom)},
    {"BEHIND_TEXT", int(TextWrap::behindText)}, {"IN_FRONT_OF_TEXT", int(TextWrap::inFrontOfText)}};

template <std::size_t N>
int valueOf(const Word (&words)[N], std::string_view text, int fallback) {
    for (const Word& w : words) {
        if (w.text == text) return w.value;
    }
    return fallback;
}

template <std::size_t N>
const char* wordFor(const Word (&words)[N], int value) {
    for (const Word& w : words) {
        if (w.value == value) return w.text.data();
    }
    return words[0].text.data();
}

}  // namespace

Placement readHwpxPlacement(const pugi::xml_node& object) {
    Placement p;
    const pugi::xml_node pos = object.child("hp:pos");
    p.horizontal.frame = AnchorFrame(
        valueOf(kFrames, pos.attribute("horzRelTo").as_string(), int(p.horizontal.frame)));
    p.vertical.frame = AnchorFrame(
        valueOf(kFrames, pos.attribute("vertRelTo").as_string(), int(p.vertical.frame)));
    if (p.vertical.frame == AnchorFrame::column) p.vertical.frame = AnchorFrame::paragraph;
    p.horizontal.align =
        AnchorAlign(valueOf(kHorizontalAligns, pos.attribute("horzAlign").as_string(), 0));
    p.vertical.align =
        AnchorAlign(valueOf(kVerticalAligns, pos.attribute("vertAlign").as_string(), 0));
    p.horizontal.offset = pos.attribute("horzOffset").as_int();
    p.vertical.offset = pos.attribute("vertOffset").as_int();
    p.wrap = TextWrap(valueOf(kWraps, object.attribute("textWrap").as_string(), int(p.wrap)));
    return p;
}

void writeHwpxPlacement(pugi::xml_node object, pugi::xml_node pos, const Placement& placement) {
    const AnchorFrame vertical = placement.vertical.frame == AnchorFrame::column
                                     ? AnchorFrame::paragraph
                                     : placement.vertical.frame;
    auto put = [](pugi::xml_node node, const char* name, const char* value) {
        pugi::xml_attribute a = node.attribute(name);
        (a ? a : node.append_attribute(name)).set_value(value);
    };
    put(object, "textWrap", wordFor(kWraps, int(placement.wrap)));
    put(pos, "flowWithText", vertical == AnchorFrame::paragraph ? "1" : "0");
    put(pos, "vertRelTo", wordFor(kFrames, int(vertical)));
    put(pos, "horzRelTo", wordFor(kFrames, int(placement.horizontal.frame)));
    put(pos, "vertAlign", wordFor(kVerticalAligns, int(placement.vertical.align)));
    put(pos, "horzAlign", wordFor(kHorizontalAligns, int(placement.horizontal.align)));
    put(pos, "vertOffset", std::to_string(placement.vertical.offset).c_str());
    put(pos, "horzOffset", std::to_string(placement.horizontal.offset).c_str());
}

}  // namespace tavrino::docs
