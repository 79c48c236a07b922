#include "tools/MergeWork.h"

namespace tavrino {

EngineSlot<MergeWork>& mergeWorkSlot() {
    static EngineSlot<MergeWork> slot{mergeModule};
    return slot;
}

}  // namespace tavrino
