// The constants by kind, e and pi among them.
#include "number/vmfunkcii.h"

vmChislo* vmKonstanta(vmChislo* x, int kind, std::uint8_t R) {
    switch (kind) {
    case 4: {
        vmChislo odin;
        vmProstayaKonstanta(&odin, 1, R);
        *x = vmExp(odin, true);
        break;
    }
    case 5:
        *x = vmPi(R);
        break;
    default:
        vmProstayaKonstanta(x, kind, R);
        break;
    }
    return x;
}
