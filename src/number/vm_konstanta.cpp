// The constants by kind, e and pi among them.
#include "number/vm_funkcii.h"

vmChislo* vmKonstanta(vmChislo* x, int kind, std::uint8_t R) {
    switch (kind) {
    case VM_K_E: {
        vmChislo odin;
        vmProstayaKonstanta(&odin, VM_K_EDINICA, R);
        *x = vmExp(odin, true);
        break;
    }
    case VM_K_PI:
        *x = vmPi(R);
        break;
    default:
        vmProstayaKonstanta(x, kind, R);
        break;
    }
    return x;
}
