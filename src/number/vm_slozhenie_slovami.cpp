// The fast addition eight digits at a time, for the versions of a
// little-endian processor (x86): the steps of vm_slozhenie_ryadov.h
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

#include "number/vm_slozhenie_ryadov.h"
#include "number/vm_yadra.h"

namespace vm_detail {

namespace {

constexpr int kPered = 5; // padding places before place 0
constexpr int kSlov = 14; // 112 bytes: 5 + 103 places + 4
constexpr int kBaytov = kSlov * 8;
constexpr std::uint64_t kMladshie = 0x0101010101010101ULL; // the lowest bit of every byte

// The padded row; place p is at r() + p.
struct TDopolnennyiRyad {
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

// The row of x with its padding zeros, written in whole words; returns its
// place 0. Words 1..12 are the fraction digits 0..95, word 13 the last four
// and the padding.
std::uint8_t* VRyadSlov(const vmChislo& x, TDopolnennyiRyad& ryad) {
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

// Padded rows, eight digits a word.
struct TRyadSlov {
    using TRyad = TDopolnennyiRyad;
    static std::uint8_t* VRyad(const vmChislo& x, TRyad& ryad) { return VRyadSlov(x, ryad); }
    static void IzRyada(vmChislo& x, const std::uint8_t* r) { IzRyadaSlov(x, r); }
    static void Slozhit(const std::uint8_t* x, const std::uint8_t* y, std::uint8_t* s, int R) {
        SlozhitRyadi(x, y, s, R);
    }
    static void Vichest(std::uint8_t* x, const std::uint8_t* y, int R) { VichestRyadi(x, y, R); }
};

} // namespace

void PribavitBistroSlovami(vmChislo* a, const vmChislo& b) {
    slozhenie::Pribavit<TRyadSlov>(a, b);
}

} // namespace vm_detail
