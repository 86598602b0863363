// Normal form and the increment of the last place: the rounding rule that
// every operation ends with. They sit above the record because rounding up
// is an addition (a carry can run through every digit and out of the top).
#include "number/vm_vnutrennee.h"
#include "number/vm_arifmetika.h"

using vm_detail::Polovina;

void vmNormalizovat(vmChislo* x) {
    const int z = vmVedushieNuli(x);
    if (z >= VM_RAZRYADOV) {
        vmNol(x);
        return;
    }
    if (z == 2) return;
    std::uint8_t c = 0;
    vmSdvigVlevo(x, z - 2, &c); // z < 2 shifts right after a carry
    if (c >= Polovina(*x)) vmUvelichitMladshiy(x);
}

void vmUvelichitMladshiy(vmChislo* x) {
    vmChislo u;
    vmNol(&u);
    u.CelayaChast[0] = 1;
    u.Znak = x->Znak;
    u.Poryadok = vm_detail::Ogranichit(std::int64_t(x->Poryadok) - VM_DROBNIH_RAZRYADOV);
    u.Osnovanie = x->Osnovanie;
    u.Netochnost = 0;
    vmPribavit(x, u);
}
