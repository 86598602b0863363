// The fast addition eight digits at a time, for the versions of a
// little-endian processor (x86): the same steps as PribavitBistroObshchee
// (alignment, rounding, normalisation, inexact flag), with the digit loops
// done on 64-bit words. A row of 103 digits is padded by five zero places in
// front and four at the end to 14 words, so that the fraction digits start a
// word; a word loaded from it and byte-swapped holds its least significant
// digit in its lowest byte, so a carry between digits is the binary carry
// between bytes. The rows are written a word at a time and read back in the
// same words (a wider read of narrower writes waits for them to retire).
//
// Addition of digits x + y + c in radix R: x + (256 - R) + y + c passes 255
// exactly when x + y + c >= R, so the binary carry out of a byte is the
// digit carry; a byte that did not carry holds x + y + c + 256 - R and gives
// 256 - R back. Subtraction x - y - c: a byte that borrowed holds x - y - c +
// 256 and gives 256 - R back. Neither correction crosses a byte. This relies
// on digits below R, which every number record holds.
#include <cstdint>
#include <cstring>
#include <utility>

#include "number/vm_vnutrennee.h"
#include "number/vm_yadra.h"
#include "number/vm_arifmetika.h"

namespace vm_detail {

namespace {

constexpr int kPered = 5; // padding places before place 0
constexpr int kSlov = 14; // 112 bytes: 5 + 103 places + 4
constexpr int kBaytov = kSlov * 8;
constexpr std::uint64_t kMladshie = 0x0101010101010101ULL; // the lowest bit of every byte

// The padded row; place p is at r() + p.
struct TRyad {
    alignas(8) std::uint8_t b[kBaytov];
    std::uint8_t* r() { return b + kPered; }
};

// Word k of the row whose place 0 is at r, most significant place highest.
inline std::uint64_t Slovo(const std::uint8_t* r, int k) {
    std::uint64_t w;
    std::memcpy(&w, r - kPered + 8 * k, 8);
    return __builtin_bswap64(w);
}
inline void ZapisatSlovo(std::uint8_t* r, int k, std::uint64_t w) {
    w = __builtin_bswap64(w);
    std::memcpy(r - kPered + 8 * k, &w, 8);
}

// The carry (or borrow) out of every byte of the word a op b = s, at the
// lowest bit of that byte; the top byte's is the word's own, verh.
inline std::uint64_t VihodyBaytov(std::uint64_t a, std::uint64_t b, std::uint64_t s,
                                  unsigned verh) {
    return (((a ^ b ^ s) >> 8) & kMladshie) | (std::uint64_t(verh) << 56);
}

// s := x + y (aligned rows, no carry out of place 0 for normalised ones; s
// may be x).
void SlozhitRyadi(const std::uint8_t* x, const std::uint8_t* y, std::uint8_t* s, int R) {
    const std::uint64_t sdvig = kMladshie * std::uint64_t(256 - R);
    unsigned perenos = 0;
    for (int k = kSlov - 1; k >= 0; --k) {
        const std::uint64_t a = Slovo(x, k) + sdvig, b = Slovo(y, k);
        const std::uint64_t chast = a + b, sum = chast + perenos;
        perenos = (chast < a) | (sum < chast);
        const std::uint64_t bezPerenosa = ~VihodyBaytov(a, b, sum, perenos) & kMladshie;
        ZapisatSlovo(s, k, sum - bezPerenosa * std::uint64_t(256 - R));
    }
}

// x := x - y for aligned rows with x >= y.
void VichestRyadi(std::uint8_t* x, const std::uint8_t* y, int R) {
    const std::uint64_t vozvrat = std::uint64_t(256 - R);
    unsigned zaem = 0;
    for (int k = kSlov - 1; k >= 0; --k) {
        const std::uint64_t a = Slovo(x, k), b = Slovo(y, k);
        const std::uint64_t chast = a - b, raz = chast - zaem;
        zaem = (a < b) | (chast < zaem);
        ZapisatSlovo(x, k, raz - VihodyBaytov(a, b, raz, zaem) * vozvrat);
    }
}

bool VseNuli(const std::uint8_t* r, int ot, int doPoz) {
    for (int p = ot; p < doPoz; ++p)
        if (r[p] != 0) return false;
    return true;
}

// One unit of the last place added to r, carrying upward (there is room).
void PlyusUlp(std::uint8_t* r, int R) {
    for (int p = VM_RAZRYADOV - 1; p >= 0; --p) {
        if (r[p] + 1 < R) {
            ++r[p];
            return;
        }
        r[p] = 0;
    }
}

// y (flag *net) aligned n places down, n >= 1, as vmVirovnyat does: the
// dropped digits recorded in *net, rounded half-up by the first dropped
// digit unless nothing survived (then zero, flag 0). False when y became
// zero. The padding place stays zero.
bool Virovnyat(std::uint8_t* y, int n, int R, std::uint8_t* net) {
    if (n >= 104) {
        *net = 0;
        return false;
    }
    if (!VseNuli(y, VM_RAZRYADOV - n, VM_RAZRYADOV)) *net = 1;
    const std::uint8_t c = y[VM_RAZRYADOV - n];
    std::memmove(y + n, y, VM_RAZRYADOV - n);
    std::memset(y, 0, n);
    if (VseNuli(y, n, VM_RAZRYADOV)) {
        *net = 0;
        return false;
    }
    if (c >= (R + 1) / 2) PlyusUlp(y, R);
    return true;
}

// The row of x with its padding zeros, written in whole words; returns its
// place 0. Words 1..12 are the fraction digits 0..95, word 13 the last four
// and the padding.
std::uint8_t* VRyadSlov(const vmChislo& x, TRyad& ryad) {
    const std::uint64_t pervoe = std::uint64_t(x.CelayaChast[2]) << 40 |
                                 std::uint64_t(x.CelayaChast[1]) << 48 |
                                 std::uint64_t(x.CelayaChast[0]) << 56;
    std::memcpy(ryad.b, &pervoe, 8);
    std::memcpy(ryad.b + 8, x.DrobnayaChast, 96);
    std::uint32_t hvost;
    std::memcpy(&hvost, x.DrobnayaChast + 96, 4);
    const std::uint64_t posledne = hvost;
    std::memcpy(ryad.b + 104, &posledne, 8);
    return ryad.r();
}

// The digits of row r into x, the fraction in the words they were written in.
void IzRyadaSlov(vmChislo& x, const std::uint8_t* r) {
    x.CelayaChast[2] = r[0];
    x.CelayaChast[1] = r[1];
    x.CelayaChast[0] = r[2];
    for (int k = 0; k < 12; ++k) {
        std::uint64_t w;
        std::memcpy(&w, r + 3 + 8 * k, 8);
        std::memcpy(x.DrobnayaChast + 8 * k, &w, 8);
    }
    std::uint32_t hvost;
    std::memcpy(&hvost, r + 99, 4);
    std::memcpy(x.DrobnayaChast + 96, &hvost, 4);
}

// s (exponent *Ps, flag *netS) + t for positive normalised operands, in
// the row returned (s or t). A carry into the second integer digit is
// shifted out with rounding, at most twice (the second drops a zero).
std::uint8_t* SlozhitModuli(std::uint8_t* s, std::int64_t* Ps, std::uint8_t* netS, std::uint8_t* t,
                            std::int64_t Pt, std::uint8_t netT, int R) {
    std::uint8_t* x = s;
    std::uint8_t* y = t;
    std::uint8_t* netY = &netT;
    if (Pt > *Ps) {
        x = t;
        y = s;
        netY = netS;
    }
    const std::int64_t n = Pt > *Ps ? Pt - *Ps : *Ps - Pt;
    bool estY = true;
    if (n > 0) estY = Virovnyat(y, static_cast<int>(n < 104 ? n : 104), R, netY);
    std::uint8_t net = *netS | netT;
    std::uint8_t* sum = x;
    if (estY) SlozhitRyadi(x, y, sum, R);
    std::int64_t P = Pt > *Ps ? Pt : *Ps;
    for (int krug = 0; krug < 2 && sum[1] != 0; ++krug) {
        const std::uint8_t c = sum[VM_RAZRYADOV - 1];
        if (c != 0) net = 1;
        std::memmove(sum + 1, sum, VM_RAZRYADOV - 1);
        sum[0] = 0;
        ++P;
        if (c >= (R + 1) / 2) PlyusUlp(sum, R);
    }
    *Ps = P;
    *netS = net;
    return sum;
}

} // namespace

void PribavitBistroSlovami(vmChislo* a, const vmChislo& b) {
    const int R = Osn(*a);
    TRyad ryadA, ryadB;
    std::uint8_t* ra = VRyadSlov(*a, ryadA);
    std::uint8_t* rb = VRyadSlov(b, ryadB);
    std::int64_t P = a->Poryadok;
    std::uint8_t net = a->Netochnost;
    if (a->Znak == b.Znak) {
        IzRyadaSlov(*a, SlozhitModuli(ra, &P, &net, rb, b.Poryadok, b.Netochnost, R));
        a->Poryadok = static_cast<std::int32_t>(P);
        a->Netochnost = net;
        return;
    }
    // Opposite signs: the operand of the smaller exponent (b when they are
    // equal) aligned to the other, the smaller modulus subtracted from the
    // larger, whose sign the difference takes.
    std::uint8_t* x = ra;
    std::uint8_t* y = rb;
    std::uint8_t netX = a->Netochnost, netY = b.Netochnost;
    std::uint8_t znakX = a->Znak, znakY = b.Znak;
    if (b.Poryadok > a->Poryadok) {
        std::swap(x, y);
        std::swap(netX, netY);
        std::swap(znakX, znakY);
        P = b.Poryadok;
    }
    std::int64_t n = std::int64_t(a->Poryadok) - b.Poryadok;
    if (n < 0) n = -n;
    bool estY = true;
    if (n > 0) estY = Virovnyat(y, static_cast<int>(n < 104 ? n : 104), R, &netY);
    if (!estY) std::memset(y, 0, VM_RAZRYADOV);
    const int m = std::memcmp(x, y, VM_RAZRYADOV);
    if (m == 0) {
        vmNol(a);
        return;
    }
    if (m < 0) {
        std::swap(x, y);
        znakX = znakY;
    }
    VichestRyadi(x, y, R);
    int z = 0;
    while (x[z] == 0) ++z;   // the difference is nonzero
    const int sdvig = z - 2; // leading zeros beyond the normal two
    if (sdvig > 0) {
        std::memmove(x, x + sdvig, VM_RAZRYADOV - sdvig);
        std::memset(x + VM_RAZRYADOV - sdvig, 0, sdvig);
        P -= sdvig;
    }
    IzRyadaSlov(*a, x);
    a->Znak = znakX;
    a->Poryadok = static_cast<std::int32_t>(P);
    a->Netochnost = (netX | netY) ? 1 : 0;
}

} // namespace vm_detail
