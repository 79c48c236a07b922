#include "convert/PageWork.h"

namespace tavrino {

EngineSlot<PageWork>& pageWorkSlot() {
    static EngineSlot<PageWork> slot{pagesModule};
    return slot;
}

}  // namespace tavrino
