// Where a failed run failed: the innermost definition still under evaluation.
#include "eval/peremennie.h"

std::int32_t IndeksNeudachnoyZapisi() {
    // Every failure returns at once up the chain of references, leaving each
    // record on it evaluating; the one begun last is where it began.
    std::int32_t indeks = -1;
    std::uint64_t nomer = 0;
    for (std::uint32_t i = 0; i < VariableCount && i < VM_PREDEL_PEREMENNIH; ++i) {
        const TPeremennaya& p = VariableTable[i];
        if (p.Vichislyaetsya && p.NomerNachala > nomer) {
            nomer = p.NomerNachala;
            indeks = static_cast<std::int32_t>(i);
        }
    }
    return indeks;
}
