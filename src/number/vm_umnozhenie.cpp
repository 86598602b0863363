// Scaling by powers of the radix, multiplication, division, integer
// quotient with remainder. The plain kernels: schoolbook products built from
// additions, long division by trial multiplication.
#include "number/vm_vnutrennee.h"
#include "number/vm_yadra.h"
#include "number/vmarifmetika.h"

using vm_detail::EtoNol;
using vm_detail::Ogranichit;
using vm_detail::Osn;
using vm_detail::Polovina;
using namespace vm_detail;

namespace {
// x * R^n (sign of n chosen by the caller), judged on the exact sum.
vmChislo* Masshtab(vmChislo* x, std::int64_t n) {
    // Zero stays zero however far it is scaled (its reserved exponent is no
    // magnitude that could grow into an overflow).
    if (EtoNol(*x)) return vmNol(x);
    const std::int64_t p = std::int64_t(x->Poryadok) + n;
    if (p < -VM_PREDEL_PORYADKA) return vmNol(x);
    if (p > VM_PREDEL_PORYADKA) return vmBeskonechnost(x);
    x->Poryadok = static_cast<std::int32_t>(p);
    if (vmZnak(x) == 0) vmNol(x);
    return x;
}
} // namespace

vmChislo* vmUmnogitNaStepen(vmChislo* x, std::int32_t n) {
    return Masshtab(x, n);
}

vmChislo* vmRazdelitNaStepen(vmChislo* x, std::int32_t n) {
    return Masshtab(x, -std::int64_t(n));
}

vmChislo* vmUmnogitNaCifru(vmChislo* x, std::uint8_t m) {
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

vmChislo* vmUmnogit(vmChislo* a, vmChislo b) {
    vmObshcheeOsnovanie(a, &b);
    const vmChislo p = *a;
    vmNol(a);
    const bool bistro = BistrieYadra.load(std::memory_order_relaxed);
    if (bistro && (EtoNol(p) || vmZnakMantissi(&b) == 0)) {
        // Every partial product is zero (p is zero, or b has no nonzero
        // digit), and so is their sum: a stays the zero it was just set to.
        // (A b at the reserved exponent with nonzero digits still has
        // partial products, of p scaled by those digits' weights.)
    } else if (bistro && BistroVozmozhno(p) && BistroVozmozhno(b)) {
        UmnozhitBistro(a, p, b);
    } else {
        UmnozhitProsto(a, p, b);
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
    if (BistrieYadra.load(std::memory_order_relaxed) && BistroVozmozhno(bModul) &&
        BistroVozmozhno(*r) && d < VM_PREDEL_PORYADKA / 4 && d > -VM_PREDEL_PORYADKA / 4) {
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
    DelitCifri(b, d, &r, a, false);
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
    vmProstayaKonstanta(&q, 0, a1.Osnovanie);
    ostatok->Osnovanie = a1.Osnovanie;
    if (vmZnak(&b) == 0) {
        vmProstayaKonstanta(&q, 2, a1.Osnovanie);
        vmNol(ostatok);
        return q;
    }
    const std::uint8_t s = (a1.Znak ^ b.Znak) & 1;
    const std::int64_t d = std::int64_t(a1.Poryadok) - b.Poryadok;
    vmChislo rem = a1;
    rem.Znak = 0;
    b.Znak = 0;
    if (EtoNol(rem)) vmNol(&rem);
    DelitCifri(b, d, &rem, &q, true);
    // A quotient at or beyond R^(2^29) is the infinity value (its digit sums
    // would otherwise be multiples of it).
    if (d >= VM_PREDEL_PORYADKA) vmBeskonechnost(&q);
    *ostatok = rem;
    ostatok->Znak = s;
    if (vmZnak(ostatok) == 0) ostatok->Znak = 0;
    q.Znak = s;
    if (vmZnak(&q) == 0) q.Znak = 0;
    return q;
}
