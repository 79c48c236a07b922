// The merge engine's start-up: fills its slot, in a program linked with it (the build makes
// the linker keep this file by asking for tavrino_merge_linked) or inside dlopen in
// tavrino-cli.

#include "tools/MergeWork.h"
#include "tools/PdfMerge.h"

namespace tavrino {
namespace {

const MergeWork work{.mergePDF = mergePDF};

struct FillSlot {
    FillSlot() { mergeWorkSlot().fill(work); }
} fillSlot;

}  // namespace
}  // namespace tavrino

extern "C" void tavrino_merge_linked() {}
