// Integer and fractional parts, the integer test, 32-bit machine integers.
#include <cstdint>

#include "number/vm_vnutrennee.h"
#include "number/vm_arifmetika.h"

using vm_detail::EtoNol;
using vm_detail::Osn;
using vm_detail::Polovina;

void vmCeloe(vmChislo* out, const vmChislo* x, std::int8_t mode) {
    vmChislo y = *x;
    const std::int64_t P = x->Poryadok;
    bool f = false;
    if (mode != 0 && !EtoNol(*x)) {
        // Is any digit of weight below R^0 nonzero?
        for (std::int64_t j = P < 0 ? 0 : P; j < VM_DROBNIH_RAZRYADOV && !f; ++j)
            f = x->DrobnayaChast[j] != 0;
        if (P < 0) {
            const std::int64_t doKolko = -P < 3 ? -P : 3;
            for (std::int64_t i = 0; i < doKolko && !f; ++i) f = x->CelayaChast[i] != 0;
        }
    }
    if (P >= VM_DROBNIH_RAZRYADOV) {
        *out = y;
        return;
    }
    const std::uint8_t s = y.Znak;
    // The units digit lands on the last fraction position; c is the first
    // digit after the point.
    std::uint8_t c = 0;
    const std::int64_t n = VM_DROBNIH_RAZRYADOV - P;
    vmSdvigVpravo(&y, n > INT32_MAX ? INT32_MAX : std::int32_t(n), &c);
    vmNormalizovat(&y);
    bool popravka = false;
    switch (mode) {
    case 0:
        popravka = c >= Polovina(*x);
        break;
    case 1:
        popravka = f && s == 0;
        break;
    case -1:
        popravka = f && s == 1;
        break;
    default:
        break;
    }
    if (popravka) {
        vmChislo odin;
        vmProstayaKonstanta(&odin, VM_K_EDINICA, x->Osnovanie);
        odin.Znak = s;
        vmPribavit(&y, odin);
    }
    *out = y;
}

void vmDrobnaya(vmChislo* out, const vmChislo* x) {
    vmChislo pol;
    vmCeloe(&pol, x, -1);
    vmChislo r = *x;
    vmVichest(&r, pol);
    *out = r;
}

bool vmEtoCeloe(const vmChislo* x) {
    vmChislo pol;
    vmCeloe(&pol, x, -1);
    vmChislo d = vmRaznost(x, pol);
    d.Znak = 0;
    vmChislo e;
    vmProstayaKonstanta(&e, VM_K_EDINICA, x->Osnovanie);
    vmRazdelitNaStepen(&e, 52);
    return vmMensheIliRavno(&d, &e);
}

std::int32_t vmVCeloe32(const vmChislo* x, bool okruglyat) {
    vmChislo f;
    vmCeloe(&f, x, okruglyat ? 0 : -1);
    const std::int32_t nasishchenie = f.Znak == 0 ? INT32_MAX : INT32_MIN;
    if (f.Poryadok > 99) return nasishchenie;
    std::uint8_t c = 0;
    const std::int64_t n = VM_DROBNIH_RAZRYADOV - std::int64_t(f.Poryadok);
    vmSdvigVpravo(&f, n > INT32_MAX ? INT32_MAX : std::int32_t(n), &c);
    const std::int64_t R = Osn(f);
    std::int64_t mesto = 1, summa = 0;
    for (int p = VM_RAZRYADOV - 1; p >= 0; --p) {
        const std::int64_t d = vmCifra(f, p);
        if (d != 0) {
            if (mesto > INT32_MAX) return nasishchenie;
            summa += d * mesto;
            if (summa > INT32_MAX) return nasishchenie;
        }
        if (mesto <= INT32_MAX) mesto *= R; // stays far below int64 overflow
    }
    return static_cast<std::int32_t>(f.Znak ? -summa : summa);
}

void vmIzCelogo32(vmChislo* out, const vmChislo* obrazec, std::int32_t n) {
    const std::uint8_t osnovanie = obrazec->Osnovanie;
    const int R = Osn(*obrazec);
    vmChislo r;
    r.Osnovanie = osnovanie;
    vmNol(&r);
    if (n == INT32_MIN) n = -INT32_MAX;
    if (n != 0) {
        std::uint32_t m = static_cast<std::uint32_t>(n < 0 ? -n : n);
        // Digits of |n|, least significant first (31 digits cover radix 2).
        std::uint8_t cifri[32];
        int k = 0;
        while (m != 0) {
            cifri[k++] = static_cast<std::uint8_t>(m % R);
            m /= R;
        }
        r.Znak = n < 0 ? 1 : 0;
        r.Poryadok = k - 1;
        r.CelayaChast[0] = cifri[k - 1];
        for (int j = 0; j + 1 < k; ++j) r.DrobnayaChast[j] = cifri[k - 2 - j];
    }
    *out = r;
}
