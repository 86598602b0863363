// The number record: special values, scans, digit shifts, normalisation.
#include "number/vm_chislo.h"

#include <cstring>

#include "number/vm_vnutrennee.h"

using vm_detail::IzRyada;
using vm_detail::VRyad;

vmChislo::vmChislo()
    : Znak(0), CelayaChast{0, 0, 0}, DrobnayaChast{}, Poryadok(VM_PORYADOK_PO_UMOLCHANIYU),
      Osnovanie(2), Netochnost(0) {}

namespace {
void ObnulitCifri(vmChislo* x) {
    std::memset(x->CelayaChast, 0, sizeof x->CelayaChast);
    std::memset(x->DrobnayaChast, 0, sizeof x->DrobnayaChast);
}
} // namespace

vmChislo* vmNol(vmChislo* x) {
    ObnulitCifri(x);
    x->Znak = 0;
    x->Poryadok = -VM_PREDEL_PORYADKA;
    x->Netochnost = 0;
    return x;
}

vmChislo* vmEdinica(vmChislo* x) {
    ObnulitCifri(x);
    x->CelayaChast[0] = 1;
    x->Znak = 0;
    x->Poryadok = 0;
    x->Netochnost = 0;
    return x;
}

vmChislo* vmBeskonechnost(vmChislo* x) {
    ObnulitCifri(x);
    x->CelayaChast[0] = 1;
    x->Poryadok = VM_PREDEL_PORYADKA;
    x->Netochnost = 1;
    return x;
}

vmChislo* vmProstayaKonstanta(vmChislo* x, int kind, std::uint8_t R) {
    x->Osnovanie = R;
    switch (kind) {
    case VM_K_NOL:
        vmNol(x);
        break;
    case VM_K_EDINICA:
        vmEdinica(x);
        break;
    case VM_K_PLYUS_BESKONECHNOST:
    case VM_K_MINUS_BESKONECHNOST:
        x->Znak = kind == VM_K_MINUS_BESKONECHNOST ? 1 : 0;
        vmBeskonechnost(x);
        break;
    default:
        break;
    }
    return x;
}

vmChislo* vmIzExtended(vmChislo* x, long double v) {
    // x86 80-bit extended: 64-bit significand with explicit integer bit,
    // then 15 exponent bits (bias 16383) and the sign bit.
    unsigned char b[sizeof(long double)] = {};
    std::memcpy(b, &v, sizeof v);
    std::uint64_t mant = 0;
    std::memcpy(&mant, b, 8);
    const unsigned se = unsigned(b[8]) | (unsigned(b[9]) << 8);
    ObnulitCifri(x);
    x->Znak = (se >> 15) & 1;
    x->CelayaChast[0] = (mant >> 63) & 1;
    for (int j = 0; j < 63; ++j) x->DrobnayaChast[j] = (mant >> (62 - j)) & 1;
    x->Poryadok = std::int32_t(se & 0x7FFF) - 16383;
    x->Osnovanie = 2;
    x->Netochnost = 0;
    return x;
}

std::int8_t vmZnakMantissi(const vmChislo* x) {
    for (int p = 0; p < VM_RAZRYADOV; ++p)
        if (vmCifra(*x, p) != 0) return x->Znak == 0 ? 1 : -1;
    return 0;
}

std::int8_t vmZnak(const vmChislo* x) {
    if (x->Poryadok <= -VM_PREDEL_PORYADKA) return 0;
    return vmZnakMantissi(x);
}

int vmVedushieNuli(const vmChislo* x) {
    int p = 0;
    while (p < VM_RAZRYADOV && vmCifra(*x, p) == 0) ++p;
    return p;
}

std::int8_t vmSravnitModuli(const vmChislo* a, const vmChislo* b) {
    for (int p = 0; p < VM_RAZRYADOV; ++p) {
        const std::uint8_t da = vmCifra(*a, p), db = vmCifra(*b, p);
        if (da != db) return da > db ? 1 : -1;
    }
    return 0;
}

void vmSdvigVpravo(vmChislo* x, std::int32_t n, std::uint8_t* cifra) {
    if (n == 0) {
        *cifra = 0;
        return;
    }
    if (n < 0) {
        // -INT32_MIN does not exist; any left shift past 103 gives zero anyway.
        vmSdvigVlevo(x, n == INT32_MIN ? INT32_MAX : -n, cifra);
        return;
    }
    if (n >= 104) {
        vmNol(x);
        *cifra = 0;
        return;
    }
    if (std::int64_t(x->Poryadok) + n >= VM_PREDEL_PORYADKA) {
        vmBeskonechnost(x);
        *cifra = 0;
        return;
    }
    std::uint8_t r[VM_RAZRYADOV];
    VRyad(*x, r);
    for (int p = VM_RAZRYADOV - n; p < VM_RAZRYADOV; ++p)
        if (r[p] != 0) {
            x->Netochnost = 1;
            break;
        }
    *cifra = r[VM_RAZRYADOV - n];
    x->Poryadok += n;
    std::memmove(r + n, r, VM_RAZRYADOV - n);
    std::memset(r, 0, n);
    IzRyada(*x, r);
    if (vmZnak(x) == 0) vmNol(x);
}

void vmSdvigVlevo(vmChislo* x, std::int32_t n, std::uint8_t* cifra) {
    if (n == 0) {
        *cifra = 0;
        return;
    }
    if (n < 0) {
        vmSdvigVpravo(x, n == INT32_MIN ? INT32_MAX : -n, cifra);
        return;
    }
    if (n >= VM_RAZRYADOV || std::int64_t(x->Poryadok) - n < -VM_PREDEL_PORYADKA) {
        vmNol(x);
        *cifra = 0;
        return;
    }
    std::uint8_t r[VM_RAZRYADOV];
    VRyad(*x, r);
    *cifra = r[n - 1];
    x->Poryadok -= n;
    std::memmove(r, r + n, VM_RAZRYADOV - n);
    std::memset(r + VM_RAZRYADOV - n, 0, n);
    IzRyada(*x, r);
    if (vmZnak(x) == 0) vmNol(x);
}
