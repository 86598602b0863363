// The faster long division kernel. For every quotient digit the plain
// kernel tries q = R-1, R-2, ... and takes the first trial product q * b * R^w
// that is not above the remainder in vmVichest's rounded comparison, then
// subtracts it. The same digit is found here from an estimate (the leading
// digits of remainder and divisor as machine floating point) confirmed by the
// same rounded comparison on q and q + 1, and the subtraction works on digit
// rows; so the digits, the remainder and its inexact flag are the plain
// kernel's.
//
// Why confirming q and q + 1 is enough: whenever the remainder is below
// b * R^(w+3) (it always is below b * R^(w+1), up to rounding), two trial
// products one apart differ by b * R^w, far more than the rounding of either
// comparison (half a unit of the 101st digit of the larger operand), so the
// outcome of the comparison falls from "fits" to "does not fit" once as q
// grows. A remainder beyond that bound, which the plain division never
// produces, is tried digit by digit from R-1 as the plain kernel does.
#include "number/vm_stroki.h"
#include "number/vmarifmetika.h"

namespace vm_detail {

namespace {

using namespace stroki;

// The 8 leading digits of a normalised row as an integer (R^8 < 2^64 for
// every radix here), in two independent halves; only ratios of two of them
// are used.
double Verh(const TStroka& r, unsigned R) {
    const std::uint8_t* c = r.c + kVerh - 2; // the leading digit; lower ones below it
    const std::uint64_t hi = ((std::uint64_t(c[0]) * R + c[-1]) * R + c[-2]) * R + c[-3];
    const std::uint64_t lo = ((std::uint64_t(c[-4]) * R + c[-5]) * R + c[-6]) * R + c[-7];
    const std::uint64_t R4 = std::uint64_t(R) * R * R * R;
    return static_cast<double>(hi * R4 + lo);
}

// An estimate of the largest digit q with q * b * R^w <= r, in 0..R-1;
// obratnoeB is 1 / Verh of b, Pbw the exponent of b * R^w.
int Ocenka(const TStroka& r, std::int64_t Pr, double obratnoeB, std::int64_t Pbw, int R) {
    const std::int64_t e = Pr - Pbw;
    if (e < -1) return 0;
    double v = Verh(r, unsigned(R)) * obratnoeB;
    if (e < 0) v *= 1.0 / R;
    for (std::int64_t i = 0; i < e; ++i) v *= R;
    if (v < 1) return 0;
    if (v >= R - 1) return R - 1;
    return static_cast<int>(v);
}

// The remainder: a normalised positive row, or zero.
template <class N> struct TOstatok {
    typename N::T r;
    TStroka pamyat; // the same digits in memory, for the scalar comparison
    std::int64_t P;
    std::uint8_t net;
    bool nol;
};

// ost := ost - t (t at exponent Pt, flag netT) as vmVichest computes it when
// the comparison found t not above ost: the operand of the smaller exponent
// aligned and rounded, the digits subtracted, the difference normalised.
template <class N>
inline void Otnyat(TOstatok<N>& ost, const TStroka& t, std::int64_t Pt, std::uint8_t netT, int R,
                   const typename N::T& nol) {
    typename N::T x = ost.r;
    typename N::T y = N::Iz(t);
    std::uint8_t netX = ost.net, netY = netT;
    std::int64_t P = ost.P;
    if (Pt != ost.P) {
        const bool ostBolshe = ost.P > Pt;
        typename N::T& sdvigaemiy = ostBolshe ? y : x;
        std::uint8_t* netS = ostBolshe ? &netY : &netX;
        const std::int64_t n = ostBolshe ? ost.P - Pt : Pt - ost.P;
        bool est = true;
        const unsigned vverh = Virovnyat<N>(sdvigaemiy, n, R, netS, &est);
        if (!est)
            sdvigaemiy = nol;
        else if (vverh)
            N::PlyusUlp(sdvigaemiy, R);
        if (!ostBolshe) P = Pt;
    }
    typename N::T d = N::Vichest(x, y, R);
    const int h = N::Starshiy(d);
    if (h < 0) {
        ost.nol = true;
        return;
    }
    const int sdvig = (kVerh - 2) - h; // leading zeros beyond the normal two
    if (sdvig > 0) {
        d = N::SdvigVverh(d, sdvig);
        P -= sdvig;
    }
    ost.r = d;
    N::V(d, ost.pamyat);
    ost.P = P;
    ost.net = (netX | netY) ? 1 : 0;
}

template <class N>
inline void Delit(const vmChislo& bModul, std::int64_t d, vmChislo* r, vmChislo* a, bool celie) {
    const int R = Osn(bModul);
    TStroka pustaya{};
    const typename N::T nol = N::Iz(pustaya);
    TStroka kratnie[kStrokKratnih];
    std::int64_t Pk[kStrokKratnih];
    std::uint8_t netK[kStrokKratnih];
    Kratnie<N>(bModul, R - 1, R, kratnie, Pk, netK);
    const double obratnoeB = 1.0 / Verh(kratnie[1], unsigned(R));
    TOstatok<N> ost;
    VStroku(*r, ost.pamyat);
    ost.r = N::Iz(ost.pamyat);
    ost.P = r->Poryadok;
    ost.net = r->Netochnost;
    ost.nol = false; // the caller passes a positive normalised remainder
    std::uint8_t cifri[VM_DROBNIH_RAZRYADOV + 1] = {};
    for (int k = 0; k >= -VM_DROBNIH_RAZRYADOV && !ost.nol; --k) {
        if (celie && d + k < 0) break;
        const std::int64_t w = d + k;
        const auto vlezaet = [&](int q) {
            return ZnakRaznosti(kratnie[q], Pk[q] + w, ost.pamyat, ost.P, R) <= 0;
        };
        int q;
        if (ost.P <= bModul.Poryadok + w + 2) {
            q = Ocenka(ost.pamyat, ost.P, obratnoeB, bModul.Poryadok + w, R);
            if (q > 0 && !vlezaet(q)) {
                do --q;
                while (q > 0 && !vlezaet(q));
            } else {
                while (q + 1 < R && vlezaet(q + 1)) ++q;
            }
        } else {
            q = R - 1;
            while (q >= 1 && !vlezaet(q)) --q;
        }
        if (q == 0) continue;
        Otnyat<N>(ost, kratnie[q], Pk[q] + w, netK[q], R, nol);
        cifri[-k] = static_cast<std::uint8_t>(q);
    }
    if (ost.nol) {
        vmNol(r);
    } else {
        IzStroki(*r, ost.pamyat);
        r->Poryadok = static_cast<std::int32_t>(ost.P);
        r->Netochnost = ost.net;
    }
    // The quotient digits lie within 101 places of the first nonzero one,
    // so the plain kernel's sum of them is exact: place them directly.
    const std::uint8_t osnovanie = a->Osnovanie;
    vmNol(a);
    a->Osnovanie = osnovanie;
    int i0 = 0;
    while (i0 <= VM_DROBNIH_RAZRYADOV && cifri[i0] == 0) ++i0;
    if (i0 > VM_DROBNIH_RAZRYADOV) return;
    a->CelayaChast[0] = cifri[i0];
    for (int j = 0; i0 + 1 + j <= VM_DROBNIH_RAZRYADOV; ++j)
        a->DrobnayaChast[j] = cifri[i0 + 1 + j];
    a->Poryadok = static_cast<std::int32_t>(d - i0);
}

void DelitPerenosimo(const vmChislo& b, std::int64_t d, vmChislo* r, vmChislo* a, bool celie) {
    Delit<TVPamyati<SlozhitPerenosimo, VichestPerenosimo>>(b, d, r, a, celie);
}

#if defined(__SSE2__)
void DelitSse2(const vmChislo& b, std::int64_t d, vmChislo* r, vmChislo* a, bool celie) {
    Delit<TVPamyati<SlozhitSse2, VichestSse2>>(b, d, r, a, celie);
}
#endif

#if defined(__x86_64__)
CIFRAMER_AVX2 __attribute__((flatten)) void DelitAvx2(const vmChislo& b, std::int64_t d,
                                                      vmChislo* r, vmChislo* a, bool celie) {
    Delit<TVPamyati<SlozhitAvx2, VichestAvx2>>(b, d, r, a, celie);
}

CIFRAMER_AVX512 __attribute__((flatten)) void DelitAvx512(const vmChislo& b, std::int64_t d,
                                                          vmChislo* r, vmChislo* a, bool celie) {
    Delit<TAvx512>(b, d, r, a, celie);
}
#endif

} // namespace

void DelitBistro(const vmChislo& bModul, std::int64_t d, vmChislo* r, vmChislo* a, bool celie) {
    switch (NaborKomand.load(std::memory_order_relaxed)) {
#if defined(__x86_64__)
    case TNaborKomand::Avx512:
        DelitAvx512(bModul, d, r, a, celie);
        return;
    case TNaborKomand::Avx2:
        DelitAvx2(bModul, d, r, a, celie);
        return;
#endif
#if defined(__SSE2__)
    case TNaborKomand::Sse2:
        DelitSse2(bModul, d, r, a, celie);
        return;
#endif
    default:
        DelitPerenosimo(bModul, d, r, a, celie);
        return;
    }
}

} // namespace vm_detail
