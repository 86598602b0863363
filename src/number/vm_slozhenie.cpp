// Addition, subtraction, alignment and comparison.
#include <utility>

#include "number/vm_vnutrennee.h"
#include "number/vm_arifmetika.h"
#include "number/vm_osnovanie.h"
#include "number/vm_yadra.h"

using vm_detail::EtoBeskonechnost;
using vm_detail::Osn;
using vm_detail::Polovina;

void vmObshcheeOsnovanie(vmChislo* a, vmChislo* b) {
    if (a->Osnovanie == b->Osnovanie) return;
    if (a->Osnovanie < b->Osnovanie)
        *a = vmPerevestiVOsnovanie(*a, b->Osnovanie);
    else
        *b = vmPerevestiVOsnovanie(*b, a->Osnovanie);
}

void vmVirovnyat(vmChislo* a, vmChislo* b, bool okruglyat) {
    // The repetition after rounding drops only zeros, so a second pass ends
    // it; the bound only guards against records that are not numbers.
    for (int prohod = 0; prohod < 4; ++prohod) {
        vmObshcheeOsnovanie(a, b);
        std::int64_t d = std::int64_t(a->Poryadok) - b->Poryadok;
        if (d < 0) {
            std::swap(*a, *b);
            d = -d;
        }
        std::uint8_t c = 0;
        vmSdvigVpravo(b, d > INT32_MAX ? INT32_MAX : std::int32_t(d), &c);
        if (!okruglyat || c < Polovina(*b)) return;
        vmUvelichitMladshiy(b);
    }
}

namespace {
// a + b digit by digit (aligned operands), carries into the upper integer
// digits; a carry out of the top position is dropped (normalised operands
// never produce one).
void SlozhitCifri(vmChislo* a, const vmChislo& b) {
    const int R = Osn(*a);
    int perenos = 0;
    for (int p = VM_RAZRYADOV - 1; p >= 0; --p) {
        int s = vmCifra(*a, p) + vmCifra(b, p) + perenos;
        perenos = 0;
        while (s >= R) {
            s -= R;
            ++perenos;
        }
        vmCifra(*a, p) = static_cast<std::uint8_t>(s);
    }
}

// a - b digit by digit, |a| >= |b| aligned.
void VichestCifri(vmChislo* a, const vmChislo& b) {
    const int R = Osn(*a);
    int zaem = 0;
    for (int p = VM_RAZRYADOV - 1; p >= 0; --p) {
        int da = vmCifra(*a, p);
        const int db = vmCifra(b, p) + zaem;
        zaem = 0;
        if (da < db) {
            da += R;
            zaem = 1;
        }
        vmCifra(*a, p) = static_cast<std::uint8_t>(da - db);
    }
}
} // namespace

vmChislo* vmPribavit(vmChislo* a, vmChislo b) {
    if (vm_detail::BistroDlya(*a, b)) {
        vm_detail::PribavitBistro(a, b);
        return a;
    }
    vmObshcheeOsnovanie(a, &b);
    // Infinity plus or minus a finite number stays that infinity: aligned
    // to it, the finite operand would become the infinity's digit itself
    // (the shift to the limit) or change its digits.
    const bool beskA = EtoBeskonechnost(*a), beskB = EtoBeskonechnost(b);
    if (beskA != beskB) {
        if (beskB) *a = b;
        return vmBeskonechnost(a);
    }
    if (a->Znak == b.Znak) {
        vmVirovnyat(a, &b, true);
        SlozhitCifri(a, b);
    } else {
        vmVirovnyat(a, &b, true);
        const std::int8_t m = vmSravnitModuli(a, &b);
        if (m == 0) {
            vmNol(a);
            return a;
        }
        if (m < 0) {
            const std::uint8_t staryZnak = a->Znak;
            std::swap(*a, b);
            a->Znak = staryZnak ? 0 : 1;
        }
        VichestCifri(a, b);
    }
    a->Netochnost = (a->Netochnost || b.Netochnost) ? 1 : 0;
    vmNormalizovat(a);
    // A sum of two infinities (or records beyond the limit) is the infinity.
    if (EtoBeskonechnost(*a)) vmBeskonechnost(a);
    return a;
}

vmChislo* vmVichest(vmChislo* a, vmChislo b) {
    b.Znak = b.Znak ? 0 : 1;
    return vmPribavit(a, b);
}

vmChislo vmSumma(const vmChislo* x, vmChislo y) {
    vmPribavit(&y, *x);
    return y;
}

vmChislo vmRaznost(const vmChislo* x, vmChislo y) {
    vmVichest(&y, *x);
    if (vmZnak(&y) != 0) y.Znak = y.Znak ? 0 : 1;
    return y;
}

namespace {
std::int8_t ZnakRaznosti(const vmChislo* a, const vmChislo* b) {
    vmChislo t = *a;
    vmVichest(&t, *b);
    return vmZnak(&t);
}
} // namespace

bool vmBolsheIliRavno(const vmChislo* a, const vmChislo* b) {
    return ZnakRaznosti(a, b) >= 0;
}
bool vmMensheIliRavno(const vmChislo* a, const vmChislo* b) {
    return ZnakRaznosti(a, b) <= 0;
}
bool vmBolshe(const vmChislo* a, const vmChislo* b) {
    return ZnakRaznosti(a, b) > 0;
}
bool vmMenshe(const vmChislo* a, const vmChislo* b) {
    return ZnakRaznosti(a, b) < 0;
}
