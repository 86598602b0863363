// Scaling by powers of the radix, multiplication, division, integer
// quotient with remainder. The plain kernels: schoolbook products built from
// additions, long division by trial multiplication.
#include "number/vm_vnutrennee.h"
#include "number/vm_yadra.h"
#include "number/vm_arifmetika.h"

using vm_detail::EtoBeskonechnost;
using vm_detail::EtoNol;
using vm_detail::Ogranichit;
using vm_detail::Osn;
using vm_detail::Polovina;
using namespace vm_detail;

namespace {
// x with the exact exponent p: at or beyond the limit the infinity value (R^(2^29)
// is no finite magnitude), at or below its negative zero.
vmChislo* UstanovitPoryadok(vmChislo* x, std::int64_t p) {
    if (p >= VM_PREDEL_PORYADKA) return vmBeskonechnost(x);
    if (p <= -VM_PREDEL_PORYADKA) return vmNol(x);
    x->Poryadok = static_cast<std::int32_t>(p);
    if (vmZnak(x) == 0) vmNol(x);
    return x;
}

// x * R^n (sign of n chosen by the caller), judged on the exact sum.
vmChislo* Masshtab(vmChislo* x, std::int64_t n) {
    // Zero stays zero however far it is scaled (its reserved exponent is no
    // magnitude that could grow into an overflow).
    if (EtoNol(*x)) return vmNol(x);
    return UstanovitPoryadok(x, std::int64_t(x->Poryadok) + n);
}

// How far from the limits an exponent must stay so that no intermediate of
// a product or a division around it leaves the range: the 103 digit places
// of a partial product or a remainder below it, the 101 quotient digits
// below those, a carry and the three-place carry shift above. Work nearer
// the limits is done on operands moved to exponent 0 (every kernel gives the
// same digits for operands moved by a common power of the radix while
// nothing reaches a limit) and the result moved back by UstanovitPoryadok.
constexpr std::int64_t kZapasPredela = 256;
bool UPredela(std::int64_t p) {
    return p >= VM_PREDEL_PORYADKA - kZapasPredela || p <= -VM_PREDEL_PORYADKA + kZapasPredela;
}
} // namespace

vmChislo* vmUmnogitNaStepen(vmChislo* x, std::int32_t n) {
    return Masshtab(x, n);
}

vmChislo* vmRazdelitNaStepen(vmChislo* x, std::int32_t n) {
    return Masshtab(x, -std::int64_t(n));
}

vmChislo* vmUmnogitNaCifru(vmChislo* x, std::uint8_t m) {
    if (x->Poryadok > VM_PREDEL_PORYADKA - 16 && !EtoNol(*x)) {
        // The carry shifts below (the carry out of the top is below m, at
        // most eight digits: up to three shifts of three places) would pass
        // the limit before the normalisation takes them back: the digits are
        // found at exponent 0 and the exact exponent is judged after.
        const std::int64_t p = x->Poryadok;
        x->Poryadok = 0;
        vmUmnogitNaCifru(x, m);
        if (!EtoNol(*x)) UstanovitPoryadok(x, p + x->Poryadok);
        return x;
    }
    const int R = Osn(*x);
    int perenos = 0;
    for (int p = VM_RAZRYADOV - 1; p >= 0; --p) {
        const int t = vmCifra(*x, p) * m + perenos;
        vmCifra(*x, p) = static_cast<std::uint8_t>(t % R);
        perenos = t / R;
    }
    bool sdvig = false;
    std::uint8_t c = 0;
    while (perenos != 0) {
        vmSdvigVpravo(x, 3, &c);
        sdvig = true;
        if (x->Poryadok >= VM_PREDEL_PORYADKA) {
            // The product left the exponent range: it is the infinity value,
            // not a carry written over the infinity's digits.
            return x;
        }
        for (int p = 2; p >= 0 && perenos != 0; --p) {
            const int t = perenos;
            vmCifra(*x, p) = static_cast<std::uint8_t>(t % R);
            perenos = t / R;
        }
    }
    if (sdvig && c >= Polovina(*x)) vmUvelichitMladshiy(x);
    vmNormalizovat(x);
    return x;
}

namespace {
// The product's digits by the kernel the switch chooses.
void UmnozhitYadrom(vmChislo* a, const vmChislo& p, const vmChislo& b) {
    if (BistroDlya(p, b))
        UmnozhitBistro(a, p, b);
    else
        UmnozhitProsto(a, p, b);
}
} // namespace

vmChislo* vmUmnogit(vmChislo* a, vmChislo b) {
    vmObshcheeOsnovanie(a, &b);
    vmChislo p = *a;
    vmNol(a);
    // The partial products lie at the exponents s + 2 down to s - 100.
    const std::int64_t s = std::int64_t(p.Poryadok) + b.Poryadok;
    if (EtoNol(p) || vmZnakMantissi(&b) == 0) {
        // Every partial product is zero (p is zero, or b has no nonzero
        // digit), and so is their sum: a stays the zero it was just set to.
        // (A b at the reserved exponent with nonzero digits still has
        // partial products, of p scaled by those digits' weights.)
    } else if ((EtoBeskonechnost(p) && vmZnak(&b) != 0) || EtoBeskonechnost(b)) {
        vmBeskonechnost(a); // infinity times a nonzero number stays infinity
    } else if (UPredela(s)) {
        p.Poryadok = 0;
        b.Poryadok = 0;
        UmnozhitYadrom(a, p, b);
        if (!EtoNol(*a)) UstanovitPoryadok(a, s + a->Poryadok);
    } else {
        UmnozhitYadrom(a, p, b);
    }
    a->Znak = (p.Znak ^ b.Znak) & 1;
    if (vmZnak(a) == 0) a->Znak = 0;
    a->Netochnost = (a->Netochnost || b.Netochnost) ? 1 : 0;
    return a;
}

void vm_detail::UmnozhitProsto(vmChislo* a, const vmChislo& p, const vmChislo& b) {
    // Partial products from the least significant digit of b upward; each
    // addition rounds at the 100th fraction digit of the running sum.
    for (int pos = VM_RAZRYADOV - 1; pos >= 0; --pos) {
        vmChislo t = p;
        // Position pos of b has the weight R^(Poryadok + 2 - pos).
        vmUmnogitNaStepen(&t, Ogranichit(std::int64_t(b.Poryadok) + 2 - pos));
        vmUmnogitNaCifru(&t, vmCifra(b, pos));
        vmPribavit(a, t);
    }
}

namespace {
// The digit trial shared by division and the integer quotient: finds the
// largest q in 1..R-1 with b' * q * R^w <= r, subtracts that product from r
// and returns q (0 when none fits). An underflowed trial product (zero for a
// nonzero divisor) ends the digit search: nothing is left to divide there.
int PodobratCifru(const vmChislo& bModul, std::int32_t w, vmChislo* r, bool* konec) {
    const int R = Osn(bModul);
    for (int q = R - 1; q >= 1; --q) {
        vmChislo t = bModul;
        vmUmnogitNaStepen(&t, w);
        if (EtoNol(t)) {
            *konec = true;
            return 0;
        }
        vmUmnogitNaCifru(&t, static_cast<std::uint8_t>(q));
        if (vmMensheIliRavno(&t, r)) {
            vmVichest(r, t);
            return q;
        }
    }
    return 0;
}

// a += q * R^w.
void DobavitCifru(vmChislo* a, int q, std::int32_t w) {
    vmChislo u;
    u.Osnovanie = a->Osnovanie;
    vmEdinica(&u);
    vmUmnogitNaStepen(&u, w);
    vmUmnogitNaCifru(&u, static_cast<std::uint8_t>(q));
    vmPribavit(a, u);
}
// The quotient digits of r / b' at the weights d, d-1, ..., d-100 (only the
// weights >= 0 when celie), added into a; r keeps the remainder.
void DelitCifri(const vmChislo& bModul, std::int64_t d, vmChislo* r, vmChislo* a, bool celie) {
    if (BistroDlya(bModul, *r) && d < VM_PREDEL_PORYADKA / 4 && d > -VM_PREDEL_PORYADKA / 4) {
        DelitBistro(bModul, d, r, a, celie);
        return;
    }
    bool konec = false;
    for (int k = 0; k >= -VM_DROBNIH_RAZRYADOV && !konec; --k) {
        if (celie && d + k < 0) break;
        const std::int32_t w = Ogranichit(d + k);
        const int q = PodobratCifru(bModul, w, r, &konec);
        if (q != 0) DobavitCifru(a, q, w);
    }
}
} // namespace

vmChislo* vmRazdelit(vmChislo* a, vmChislo b) {
    vmObshcheeOsnovanie(a, &b);
    if (vmZnak(&b) == 0) return vmBeskonechnost(a);
    const std::uint8_t s = (a->Znak ^ b.Znak) & 1;
    if (EtoNol(*a)) return vmNol(a);
    if (EtoBeskonechnost(*a) && !EtoBeskonechnost(b)) {
        // Infinity divided by a finite nonzero number stays infinity.
        a->Znak = s;
        return vmBeskonechnost(a);
    }
    vmChislo r = *a;
    r.Znak = 0;
    b.Znak = 0;
    const std::int64_t d = std::int64_t(a->Poryadok) - b.Poryadok;
    vmNol(a);
    // The quotient lies in [R^(d-1), R^(d+1)): beyond the exponent range it is
    // the infinity value or zero, whatever its digits.
    if (d > VM_PREDEL_PORYADKA) {
        a->Znak = s;
        return vmBeskonechnost(a);
    }
    if (d + 1 <= -VM_PREDEL_PORYADKA) return a;
    // Trial products and remainders lie at the exponents of r and up to 204
    // below; the quotient digits at d and 100 below.
    if (UPredela(r.Poryadok) || UPredela(d)) {
        r.Poryadok = 0;
        b.Poryadok = 0;
        DelitCifri(b, 0, &r, a, false);
        if (!EtoNol(*a)) UstanovitPoryadok(a, d + a->Poryadok);
    } else {
        DelitCifri(b, d, &r, a, false);
    }
    a->Znak = s;
    if (vmZnak(a) == 0) a->Znak = 0;
    return a;
}

vmChislo vmProizvedenie(const vmChislo* x, const vmChislo* y) {
    vmChislo t = *x;
    vmUmnogit(&t, *y);
    return t;
}

vmChislo vmChastnoe(const vmChislo* x, const vmChislo* y) {
    vmChislo t = *x;
    vmRazdelit(&t, *y);
    return t;
}

vmChislo vmDelenieSOstatkom(const vmChislo* a, vmChislo b, vmChislo* ostatok) {
    vmChislo a1 = *a;
    vmObshcheeOsnovanie(&a1, &b);
    vmChislo q;
    vmProstayaKonstanta(&q, VM_K_NOL, a1.Osnovanie);
    ostatok->Osnovanie = a1.Osnovanie;
    if (vmZnak(&b) == 0) {
        vmProstayaKonstanta(&q, VM_K_PLYUS_BESKONECHNOST, a1.Osnovanie);
        vmNol(ostatok);
        return q;
    }
    const std::uint8_t s = (a1.Znak ^ b.Znak) & 1;
    const std::int64_t d = std::int64_t(a1.Poryadok) - b.Poryadok;
    vmChislo rem = a1;
    rem.Znak = 0;
    b.Znak = 0;
    if (EtoNol(rem)) vmNol(&rem);
    if (EtoBeskonechnost(rem) && !EtoBeskonechnost(b)) {
        // Infinity over a finite nonzero number: the quotient stays infinity;
        // no digit of the dividend is known, and the remainder is zero.
        vmBeskonechnost(&q);
        vmNol(&rem);
    } else if (!EtoNol(rem) && d >= 0 && (UPredela(rem.Poryadok) || UPredela(d))) {
        // Near a limit: the dividend moved to exponent 0 and the divisor with
        // it. A d beyond the 101 quotient digits only names their weights
        // (no weight of them is below 0), so the divisor is moved by a
        // bounded distance and the quotient by the rest. (A d below 0 has
        // no quotient digit and leaves the dividend as the remainder.)
        const std::int64_t dBlizko = d < kZapasPredela ? d : kZapasPredela;
        const std::int64_t pA = rem.Poryadok;
        rem.Poryadok = 0;
        b.Poryadok = static_cast<std::int32_t>(-dBlizko);
        DelitCifri(b, dBlizko, &rem, &q, true);
        if (!EtoNol(q)) UstanovitPoryadok(&q, q.Poryadok + (d - dBlizko));
        if (!EtoNol(rem)) UstanovitPoryadok(&rem, rem.Poryadok + pA);
    } else {
        DelitCifri(b, d, &rem, &q, true);
    }
    *ostatok = rem;
    ostatok->Znak = s;
    if (vmZnak(ostatok) == 0) ostatok->Znak = 0;
    q.Znak = s;
    if (vmZnak(&q) == 0) q.Znak = 0;
    return q;
}
