// Digit rows: the 103 digits of a number least significant first, the
// contract of a row policy (the row operations the fast kernels are written
// in, one policy per instruction set, every one giving the same bytes), and
// the policy of rows kept in memory. Private to the fast kernels.
#pragma once

#include <concepts>
#include <cstdint>
#include <cstring>

#include "number/vm_vnutrennee.h"
#include "number/vm_yadra.h"

namespace vm_detail::stroki {

// 103 digit places, least significant first (index j holds significance
// position 102 - j), padded with zeros to whole 32- and 64-byte lanes.
constexpr int kDlina = 128;
constexpr int kVerh = VM_RAZRYADOV - 1; // index of position 0 (R^2)
constexpr int kVtoroy = kVerh - 1;      // index of position 1 (R^1)
struct alignas(64) TStroka {
    std::uint8_t c[kDlina];
};

inline void VStroku(const vmChislo& x, TStroka& r) {
    for (int j = 0; j < VM_DROBNIH_RAZRYADOV; ++j)
        r.c[j] = x.DrobnayaChast[VM_DROBNIH_RAZRYADOV - 1 - j];
    r.c[100] = x.CelayaChast[0];
    r.c[101] = x.CelayaChast[1];
    r.c[102] = x.CelayaChast[2];
    std::memset(r.c + VM_RAZRYADOV, 0, kDlina - VM_RAZRYADOV);
}

inline void IzStroki(vmChislo& x, const TStroka& r) {
    for (int j = 0; j < VM_DROBNIH_RAZRYADOV; ++j)
        x.DrobnayaChast[VM_DROBNIH_RAZRYADOV - 1 - j] = r.c[j];
    x.CelayaChast[0] = r.c[100];
    x.CelayaChast[1] = r.c[101];
    x.CelayaChast[2] = r.c[102];
}

// The places of a row that receive a carry, one bit per place, from the
// places whose digit sum carries out (>= R) and those that pass a carry on
// (== R - 1): a run of the latter behaves like a run of one bits in a binary
// addition.
inline unsigned __int128 PoluchayutPerenos(unsigned __int128 rozhdaet, unsigned __int128 propuskaet,
                                           unsigned cin) {
    return (((rozhdaet << 1) | cin) + propuskaet) ^ propuskaet;
}

// A row policy: N::T is a row value (in memory or in registers), and the
// operations below on it. R is the radix (2..127), digits stay below it.
template <class N>
concept PolitikaStroki = requires(const typename N::T& x, typename N::T& izm, const TStroka& iz,
                                  TStroka& v, int k, unsigned cin) {
    // Load and store.
    { N::Iz(iz) } -> std::same_as<typename N::T>;
    N::V(x, v);
    // x + y + cin (cin 0 or 1 at the last place); x - y for x >= y.
    { N::Slozhit(x, x, k, cin) } -> std::same_as<typename N::T>;
    { N::Vichest(x, x, k) } -> std::same_as<typename N::T>;
    // y + 1 at the last place (there is room).
    N::PlyusUlp(izm, k);
    // y moved k places (1..100) towards less significance, zeros coming in
    // at the top; y moved k places towards more significance.
    { N::Sdvig(x, k) } -> std::same_as<typename N::T>;
    { N::SdvigVverh(x, k) } -> std::same_as<typename N::T>;
    // Digit j != 0; one of the k last digits != 0; digit j >= d.
    { N::Nenol(x, k) } -> std::same_as<bool>;
    { N::NenolNizhe(x, k) } -> std::same_as<bool>;
    { N::NeMenshe(x, k, k) } -> std::same_as<bool>;
    // The index of the highest nonzero digit, -1 for a zero row.
    { N::Starshiy(x) } -> std::same_as<int>;
};

// Rows in memory, shifted by memmove; Slozh and Vich are the version's
// addition and subtraction of whole rows (the result may be an operand).
template <void (*Slozh)(TStroka&, const TStroka&, const TStroka&, int, unsigned),
          void (*Vich)(TStroka&, const TStroka&, const TStroka&, int)>
struct TVPamyati {
    using T = TStroka;
    static T Iz(const TStroka& r) { return r; }
    static void V(const T& y, TStroka& r) { r = y; }
    static T Slozhit(const T& x, const T& y, int R, unsigned cin) {
        T s;
        Slozh(s, x, y, R, cin);
        return s;
    }
    static T Sdvig(const T& y, int k) {
        T r;
        std::memcpy(r.c, y.c + k, VM_RAZRYADOV - k);
        std::memset(r.c + VM_RAZRYADOV - k, 0, kDlina - (VM_RAZRYADOV - k));
        return r;
    }
    static bool Nenol(const T& y, int j) { return y.c[j] != 0; }
    static bool NenolNizhe(const T& y, int k) {
        for (int j = 0; j < k; ++j)
            if (y.c[j] != 0) return true;
        return false;
    }
    static bool NeMenshe(const T& y, int j, int d) { return y.c[j] >= d; }
    static T Vichest(const T& x, const T& y, int R) {
        T r;
        Vich(r, x, y, R);
        return r;
    }
    static void PlyusUlp(T& y, int R) {
        for (int j = 0; j < VM_RAZRYADOV; ++j) {
            if (y.c[j] + 1 < R) {
                ++y.c[j];
                return;
            }
            y.c[j] = 0;
        }
    }
    static T SdvigVverh(const T& y, int k) {
        T r;
        std::memset(r.c, 0, k);
        std::memcpy(r.c + k, y.c, VM_RAZRYADOV - k);
        std::memset(r.c + VM_RAZRYADOV, 0, kDlina - VM_RAZRYADOV);
        return r;
    }
    static int Starshiy(const T& y) {
        int j = VM_RAZRYADOV - 1;
        while (j >= 0 && y.c[j] == 0) --j;
        return j;
    }
};

} // namespace vm_detail::stroki
