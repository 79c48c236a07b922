#pragma once
// The wording of a run's result and where its badge and lines sit inside the hub.
// Offsets are points from the hub's centre, positive downward. The text must stay within a
// circle of 44 points around the centre of the 50-point hub.

#include <optional>
#include <string>
#include <vector>

namespace tavrino {

struct FinishMessage {
    bool ok;           // true when no file failed
    std::string text;  // up to three lines joined by "\n"
    bool operator==(const FinishMessage&) const = default;
};

// total dropped files, ok done, skipped already in the target format; note is the last
// result note of the run; title the petal's title.
FinishMessage finishMessage(int total, int ok, int skipped, const std::optional<std::string>& note,
                            const std::string& title);

struct HubPlacement {
    double badgeY;
    std::vector<double> lineY;
    bool operator==(const HubPlacement&) const = default;
};

namespace HubText {

inline constexpr double textRadius = 44;

// A 24-point badge, a 3-point gap and the lines, centred on the hub; no fit test.
HubPlacement layout(int lines, double lineH);

// The first of the line pitches 1.0, 0.92 and 0.85 × textH at which the badge and both outer
// corners of every line lie inside the text circle; no value when none fits.
std::optional<HubPlacement> place(const std::vector<double>& widths, double textH);

}  // namespace HubText
}  // namespace tavrino
