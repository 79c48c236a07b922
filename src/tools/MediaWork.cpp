#include "tools/MediaWork.h"

namespace tavrino {

EngineSlot<MediaWork>& mediaWorkSlot() {
    static EngineSlot<MediaWork> slot{mediaModule};
    return slot;
}

}  // namespace tavrino
