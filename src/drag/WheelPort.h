#pragma once
// What the drag watcher and run control do with the wheel and its panel. WheelPanelPort
// drives the real Qt panel; checks put a recording fake in its place.

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "menu/DragInfo.h"
#include "menu/MenuRules.h"
#include "menu/WheelItem.h"
#include "wheel/geometry/HubState.h"

namespace tavrino {

// A point in the GUI toolkit's global coordinates (y down).
struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

class WheelPort {
  public:
    using DropHandler = std::function<void(const WheelItem&, std::vector<std::filesystem::path>)>;
    // The files a drag brought in when it entered the panel (empty for a drag of no files).
    using EnterHandler = std::function<void(std::vector<std::filesystem::path>)>;

    virtual ~WheelPort() = default;

    virtual bool isVisible() const = 0;
    virtual void configure(const std::optional<DragInfo>& info, MenuKind kind) = 0;
    // Shows the wheel centred on the point, popping and fading in.
    virtual void present(ScreenPoint at) = 0;
    // Maps the panel under the point fully transparent and unable to take a drop, so that
    // it can become the drag's target and learn the dragged files from the drag-enter.
    virtual void presentTransparent(ScreenPoint at) = 0;
    // The panel is on screen, so a pointer move now makes the drag source find it.
    virtual bool readyForDrag() const = 0;
    // Hides the panel at once.
    virtual void withdraw() = 0;
    virtual void dismiss(double afterSeconds) = 0;

    virtual const HubState& hubState() const = 0;
    virtual void setHubState(HubState state) = 0;
    virtual void clearHover() = 0;

    virtual void setOnDrop(DropHandler handler) = 0;
    virtual void setOnDragEnter(EnterHandler handler) = 0;
};

}  // namespace tavrino
