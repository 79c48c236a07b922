#pragma once
// The hub: its disc, and what each hub state shows on it. The idle content comes in as
// ready-made lines; the working hub's stages follow the working time; results show a badge
// and up to three lines fitted into the 44-point text circle.

#include <QFont>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "menu/HubText.h"
#include "wheel/PaintContext.h"
#include "wheel/geometry/HubContent.h"
#include "wheel/geometry/HubState.h"

namespace tavrino::wheel {

struct HubScene {
    const HubState& state;
    double workingTime;
    bool reduceMotion;
    std::vector<HubLine> idleLines;
};

void drawHub(PaintContext& context, const HubScene& scene);

// The font of multi-line results: 9 points, medium.
const QFont& hubLineFont();

struct HubLineMeasure {
    std::vector<QSizeF> sizes;
    std::optional<HubPlacement> place;  // none when no tried line pitch fits the circle
};
HubLineMeasure measureHubLines(const QStringList& parts);

// A blank result would leave the hub empty: it becomes "완료" or "실패", is counted and
// logged. Any other text is returned as it is.
QString hubTextOrFallback(bool ok, const QString& text);
// How many results had to be replaced since the program started.
int emptyHubTexts();

}  // namespace tavrino::wheel
