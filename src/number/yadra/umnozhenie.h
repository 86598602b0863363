// The faster multiplication kernel, written once for every row policy. It
// forms the plain kernel's partial products |p| * q (each rounded to 101
// digits exactly as vmUmnogitNaCifru rounds it) and adds them from the least
// significant digit of b upward with the alignment, rounding, normalisation
// and inexact flag of vmPribavit, so the bytes are the plain kernel's. What
// makes it fast: the digits live in rows with the least significant digit
// first, a carry runs through a whole row in a few vector instructions, and
// the rounding of an aligned operand enters the addition as its carry in.
#pragma once

#include "number/vm_arifmetika.h"
#include "number/yadra/algoritmy.h"

namespace vm_detail::stroki {

template <PolitikaStroki N>
inline void Umnozhit(vmChislo* a, const vmChislo& p, const vmChislo& b) {
    const int R = Osn(p);
    int qMax = 0;
    for (int pos = 0; pos < VM_RAZRYADOV; ++pos)
        if (vmCifra(b, pos) > qMax) qMax = vmCifra(b, pos);
    TStroka pustaya{};
    const typename N::T nol = N::Iz(pustaya);
    TStroka kratnie[kStrokKratnih];
    std::int64_t Pk[kStrokKratnih];
    std::uint8_t netK[kStrokKratnih];
    Kratnie<N>(p, qMax, R, kratnie, Pk, netK);
    TSumma<N> sum{nol, 0, 0};
    bool pusto = true;
    for (int pos = VM_RAZRYADOV - 1; pos >= 0; --pos) {
        const int q = vmCifra(b, pos);
        if (q == 0) continue; // a zero partial product changes nothing
        // Position pos of b has the weight R^(Poryadok + 2 - pos).
        const std::int64_t Pt = Pk[q] + b.Poryadok + 2 - pos;
        if (pusto) {
            sum.s = N::Iz(kratnie[q]);
            sum.P = Pt;
            sum.net = netK[q];
            pusto = false;
            continue;
        }
        DobavitChlen<N>(sum, N::Iz(kratnie[q]), Pt, netK[q], R);
    }
    vmNol(a);
    if (!pusto) {
        N::V(sum.s, pustaya);
        IzStroki(*a, pustaya);
        a->Poryadok = static_cast<std::int32_t>(sum.P);
        a->Netochnost = sum.net;
    }
}

} // namespace vm_detail::stroki
