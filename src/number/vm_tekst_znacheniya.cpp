// The number a value text reads back as, without the text.
//
// Why the bytes are those of vmIzTeksta, for x normal (CelayaChast[2] =
// CelayaChast[1] = 0, c0 = CelayaChast[0] != 0), every digit below R,
// R in 2..36, Znak 0 or 1 and -2^29 < P <= 2^29 (P = Poryadok):
// - The text. The mantissa is that of x with Poryadok 0, which needs no
//   rounding at 100 fraction digits: "c0" S f0 .. f99 (f = DrobnayaChast),
//   every digit below 36 written as its character, "-" first when Znak is 1.
//   As the mantissa is nonzero, "e" and P in decimal follow. The trimming
//   drops "e0" (P = 0) and the trailing zeros of the fraction, with the
//   separator when no fraction digit is left; "rR" follows for R != 10.
// - The reading. The radix piece "r" and 1 or 2 decimal digits, and the
//   exponent piece of at most 10 digits, are read exactly: the machine
//   reading sums them in extended precision within far less than half a unit
//   of the double they round to, an integer below 2^31 in magnitude. So the
//   radix is R and the exponent P (absent: 0); the separator stands right
//   after c0, which adds 0 to it. The mantissa has n characters without the
//   sign: 2 plus the index of the last nonzero f plus 1, or 1 without one.
//   n > 100 exactly when f98 or f99 is nonzero: then Netochnost is 1 and the
//   first 100 characters are read, c0 and f0 .. f97; otherwise f98 and f99
//   are zeros anyway. Either way the digits are c0, f0 .. f97, 0, 0.
// - The normalisation finds two leading zeros (c0 != 0) and does nothing;
//   the number is nonzero, as P > -2^29, and finite, as P <= 2^29.
// The reading starts from zero, so every other field is that of zero.
#include "number/vm_tekst.h"

namespace {

bool MozhnoBezTeksta(const vmChislo& x) {
    const int R = x.Osnovanie;
    if (R < 2 || R > 36 || x.Znak > 1) return false;
    if (x.CelayaChast[2] != 0 || x.CelayaChast[1] != 0 || x.CelayaChast[0] == 0) return false;
    if (x.CelayaChast[0] >= R) return false;
    if (x.Poryadok <= -VM_PREDEL_PORYADKA || x.Poryadok > VM_PREDEL_PORYADKA) return false;
    std::uint8_t naibolshaya = 0;
    for (const std::uint8_t d : x.DrobnayaChast) naibolshaya = d > naibolshaya ? d : naibolshaya;
    return naibolshaya < R;
}

} // namespace

bool vmChisloTekstaZnacheniya(const vmChislo& x, vmChislo* y) {
    if (!MozhnoBezTeksta(x)) return false;
    constexpr int kChitaetsya = VM_DROBNIH_RAZRYADOV - 2;
    const std::uint8_t netochnost =
        (x.DrobnayaChast[kChitaetsya] | x.DrobnayaChast[kChitaetsya + 1]) != 0 ? 1 : 0;
    *y = x; // sign, digits, exponent and radix as they are
    y->DrobnayaChast[kChitaetsya] = 0;
    y->DrobnayaChast[kChitaetsya + 1] = 0;
    y->Netochnost = netochnost;
    return true;
}
