// The faster multiplication kernel. It forms the plain kernel's partial
// products |p| * q (each rounded to 101 digits exactly as vmUmnogitNaCifru
// rounds it) and adds them from the least significant digit of b upward with
// the alignment, rounding, normalisation and inexact flag of vmPribavit, so
// the bytes are the plain kernel's. What makes it fast: the digits live in
// rows with the least significant digit first, 16 per SSE2 lane, a carry
// runs through a whole row in a few instructions, and the rounding of an
// aligned operand enters the addition as its carry in.
#include <cstring>

#include "number/vm_vnutrennee.h"
#include "number/vm_yadra.h"
#include "number/vmarifmetika.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace vm_detail {

namespace {

// 103 digit places, least significant first (index j holds significance
// position 102 - j), padded with zeros to whole 16-byte lanes.
constexpr int kDlina = 112;
constexpr int kVerh = VM_RAZRYADOV - 1; // index of position 0 (R^2)
constexpr int kVtoroy = kVerh - 1;      // index of position 1 (R^1)
struct alignas(64) TStroka {
    std::uint8_t c[kDlina];
};

void VStroku(const vmChislo& x, TStroka& r) {
    for (int j = 0; j < VM_DROBNIH_RAZRYADOV; ++j)
        r.c[j] = x.DrobnayaChast[VM_DROBNIH_RAZRYADOV - 1 - j];
    r.c[100] = x.CelayaChast[0];
    r.c[101] = x.CelayaChast[1];
    r.c[102] = x.CelayaChast[2];
    std::memset(r.c + VM_RAZRYADOV, 0, kDlina - VM_RAZRYADOV);
}

void IzStroki(vmChislo& x, const TStroka& r) {
    for (int j = 0; j < VM_DROBNIH_RAZRYADOV; ++j)
        x.DrobnayaChast[VM_DROBNIH_RAZRYADOV - 1 - j] = r.c[j];
    x.CelayaChast[0] = r.c[100];
    x.CelayaChast[1] = r.c[101];
    x.CelayaChast[2] = r.c[102];
}

// sum = x + y + cin (cin 0 or 1 at the last place) for digits below R <= 127:
// a digit sum and a carry stay below 256, so the lanes add bytes without
// overflow. sum may be x or y. Three versions, one per instruction set, give
// the same bytes.
void SlozhitPerenosimo(TStroka& sum, const TStroka& x, const TStroka& y, int R, unsigned cin) {
    unsigned perenos = cin;
    for (int j = 0; j < kDlina; ++j) {
        const unsigned v = x.c[j] + y.c[j] + perenos;
        perenos = v >= unsigned(R);
        sum.c[j] = static_cast<std::uint8_t>(perenos ? v - R : v);
    }
}

// The places of a row that receive a carry, one bit per place, from the
// places whose digit sum carries out (>= R) and those that pass a carry on
// (== R - 1): a run of the latter behaves like a run of one bits in a binary
// addition.
inline unsigned __int128 PoluchayutPerenos(unsigned __int128 rozhdaet, unsigned __int128 propuskaet,
                                           unsigned cin) {
    return (((rozhdaet << 1) | cin) + propuskaet) ^ propuskaet;
}

#if defined(__SSE2__)
void SlozhitSse2(TStroka& sum, const TStroka& x, const TStroka& y, int R, unsigned cin) {
    constexpr int kPolos = kDlina / 16;
    const __m128i vR = _mm_set1_epi8(static_cast<char>(R));
    const __m128i vR1 = _mm_set1_epi8(static_cast<char>(R - 1));
    __m128i s[kPolos];
    unsigned __int128 rozhdaet = 0, propuskaet = 0;
    for (int i = 0; i < kPolos; ++i) {
        const __m128i a = _mm_load_si128(reinterpret_cast<const __m128i*>(x.c + 16 * i));
        const __m128i b = _mm_load_si128(reinterpret_cast<const __m128i*>(y.c + 16 * i));
        s[i] = _mm_add_epi8(a, b);
        const __m128i ge = _mm_cmpeq_epi8(_mm_max_epu8(s[i], vR), s[i]);
        const __m128i eq = _mm_cmpeq_epi8(s[i], vR1);
        rozhdaet |= static_cast<unsigned __int128>(unsigned(_mm_movemask_epi8(ge))) << (16 * i);
        propuskaet |= static_cast<unsigned __int128>(unsigned(_mm_movemask_epi8(eq))) << (16 * i);
    }
    const unsigned __int128 vhod = PoluchayutPerenos(rozhdaet, propuskaet, cin);
    const __m128i bitDlyaBaita = _mm_set1_epi64x(static_cast<long long>(0x8040201008040201ULL));
    const __m128i odin = _mm_set1_epi8(1);
    for (int i = 0; i < kPolos; ++i) {
        const unsigned bity = unsigned(vhod >> (16 * i)) & 0xFFFF;
        const __m128i razmnozh =
            _mm_set_epi64x(static_cast<long long>((bity >> 8) * 0x0101010101010101ULL),
                           static_cast<long long>((bity & 0xFF) * 0x0101010101010101ULL));
        const __m128i perenos = _mm_and_si128(
            _mm_cmpeq_epi8(_mm_and_si128(razmnozh, bitDlyaBaita), bitDlyaBaita), odin);
        __m128i v = _mm_add_epi8(s[i], perenos);
        const __m128i ge = _mm_cmpeq_epi8(_mm_max_epu8(v, vR), v);
        v = _mm_sub_epi8(v, _mm_and_si128(ge, vR));
        _mm_store_si128(reinterpret_cast<__m128i*>(sum.c + 16 * i), v);
    }
}
#endif

#if defined(__x86_64__)
// Two 64-byte lanes; the second holds the 48 bytes from 64 on (masked loads
// and stores, nothing read or written past the row).
__attribute__((target("avx512f,avx512bw"))) inline void
SlozhitAvx512(TStroka& sum, const TStroka& x, const TStroka& y, int R, unsigned cin) {
    constexpr __mmask64 kHvost = (__mmask64(1) << (kDlina - 64)) - 1;
    const __m512i vR = _mm512_set1_epi8(static_cast<char>(R));
    const __m512i vR1 = _mm512_set1_epi8(static_cast<char>(R - 1));
    const __m512i odin = _mm512_set1_epi8(1);
    __m512i s0 = _mm512_add_epi8(_mm512_load_si512(x.c), _mm512_load_si512(y.c));
    __m512i s1 = _mm512_add_epi8(_mm512_maskz_loadu_epi8(kHvost, x.c + 64),
                                 _mm512_maskz_loadu_epi8(kHvost, y.c + 64));
    const unsigned __int128 rozhdaet =
        (static_cast<unsigned __int128>(_mm512_cmpge_epu8_mask(s1, vR)) << 64) |
        _mm512_cmpge_epu8_mask(s0, vR);
    const unsigned __int128 propuskaet =
        (static_cast<unsigned __int128>(_mm512_cmpeq_epi8_mask(s1, vR1)) << 64) |
        _mm512_cmpeq_epi8_mask(s0, vR1);
    const unsigned __int128 vhod = PoluchayutPerenos(rozhdaet, propuskaet, cin);
    s0 = _mm512_mask_add_epi8(s0, static_cast<__mmask64>(vhod), s0, odin);
    s1 = _mm512_mask_add_epi8(s1, static_cast<__mmask64>(vhod >> 64), s1, odin);
    s0 = _mm512_mask_sub_epi8(s0, _mm512_cmpge_epu8_mask(s0, vR), s0, vR);
    s1 = _mm512_mask_sub_epi8(s1, _mm512_cmpge_epu8_mask(s1, vR), s1, vR);
    _mm512_store_si512(sum.c, s0);
    _mm512_mask_storeu_epi8(sum.c + 64, kHvost, s1);
}
#endif

// One unit added at the last place, carrying upward (there is room above).
void PlyusUlp(TStroka& r, int R) {
    for (int j = 0; j < VM_RAZRYADOV; ++j) {
        if (r.c[j] + 1 < R) {
            ++r.c[j];
            return;
        }
        r.c[j] = 0;
    }
}

// Shifts r one place towards less significance: the dropped digit sets
// *net and rounds half-up (the shift of vmNormalizovat after a carry).
void SdvigSOkrugleniem(TStroka& r, int R, std::uint8_t* net) {
    const std::uint8_t c = r.c[0];
    if (c != 0) *net = 1;
    std::memmove(r.c, r.c + 1, VM_RAZRYADOV - 1);
    r.c[kVerh] = 0;
    if (c >= (R + 1) / 2) PlyusUlp(r, R);
}

// The normal form after an addition: a carry into position 1 is shifted
// out with rounding, and a carry of that rounding once more (it drops a
// zero).
void Normalizovat(TStroka& r, std::int64_t* P, int R, std::uint8_t* net) {
    for (int krug = 0; krug < 2 && r.c[kVtoroy] != 0; ++krug) {
        SdvigSOkrugleniem(r, R, net);
        ++*P;
    }
}

// A normalised row aligned n places towards less significance (n >= 1) as
// vmVirovnyat does it: the dropped digits set *net, the first of them rounds
// half-up, returned as the carry in of the addition that follows. Nothing
// survives a shift past the leading digit: the row is zero, its flag 0.
unsigned Virovnyat(TStroka& y, std::int64_t n, int R, std::uint8_t* net, bool* est) {
    if (n > VM_DROBNIH_RAZRYADOV) {
        *net = 0;
        *est = false;
        return 0;
    }
    const int k = static_cast<int>(n);
    for (int j = 0; j < k; ++j)
        if (y.c[j] != 0) {
            *net = 1;
            break;
        }
    const std::uint8_t c = y.c[k - 1];
    std::memmove(y.c, y.c + k, VM_RAZRYADOV - k);
    std::memset(y.c + VM_RAZRYADOV - k, 0, k);
    *est = true;
    return c >= (R + 1) / 2 ? 1 : 0;
}

// The running sum of the partial products, normalised.
struct TSumma {
    TStroka s;
    std::int64_t P;
    std::uint8_t net;
};

// sum := sum + t (t normalised at exponent Pt with flag netT) as vmPribavit
// adds two positive normalised numbers. t may be changed.
template <class N>
inline void DobavitChlen(TSumma& sum, TStroka& t, std::int64_t Pt, std::uint8_t netT, int R) {
    bool est = true;
    unsigned cin = 0;
    if (Pt > sum.P) { // the partial product is the larger: the sum is aligned to it
        cin = Virovnyat(sum.s, Pt - sum.P, R, &sum.net, &est);
        const std::uint8_t net = sum.net | netT;
        if (est)
            N::Slozhit(sum.s, t, sum.s, R, cin);
        else
            sum.s = t;
        sum.P = Pt;
        sum.net = net;
    } else {
        if (Pt < sum.P) cin = Virovnyat(t, sum.P - Pt, R, &netT, &est);
        sum.net |= netT;
        if (est) N::Slozhit(sum.s, sum.s, t, R, cin);
    }
    Normalizovat(sum.s, &sum.P, R, &sum.net);
}

// |p| * q for q = 1..qMax as vmUmnogitNaCifru gives them: the exact
// product (made by adding |p| once more to the previous one), then the
// normal form with its one rounding; each keeps p's inexact flag or sets it.
template <class N>
inline void Kratnie(const vmChislo& p, int qMax, int R, TStroka* stroki, std::int64_t* P,
                    std::uint8_t* net) {
    TStroka odno;
    VStroku(p, odno);
    TStroka tochnoe = odno;
    for (int q = 1; q <= qMax; ++q) {
        if (q > 1) N::Slozhit(tochnoe, tochnoe, odno, R, 0);
        stroki[q] = tochnoe;
        P[q] = p.Poryadok;
        net[q] = p.Netochnost;
        Normalizovat(stroki[q], &P[q], R, &net[q]);
    }
}

template <class N> inline void Umnozhit(vmChislo* a, const vmChislo& p, const vmChislo& b) {
    const int R = Osn(p);
    int qMax = 0;
    for (int pos = 0; pos < VM_RAZRYADOV; ++pos)
        if (vmCifra(b, pos) > qMax) qMax = vmCifra(b, pos);
    TStroka stroki[kStrokKratnih];
    std::int64_t Pk[kStrokKratnih];
    std::uint8_t netK[kStrokKratnih];
    Kratnie<N>(p, qMax, R, stroki, Pk, netK);
    TSumma sum{};
    bool nol = true;
    for (int pos = VM_RAZRYADOV - 1; pos >= 0; --pos) {
        const int q = vmCifra(b, pos);
        if (q == 0) continue; // a zero partial product changes nothing
        // Position pos of b has the weight R^(Poryadok + 2 - pos).
        const std::int64_t Pt = Pk[q] + b.Poryadok + 2 - pos;
        if (nol) {
            sum.s = stroki[q];
            sum.P = Pt;
            sum.net = netK[q];
            nol = false;
            continue;
        }
        TStroka t = stroki[q];
        DobavitChlen<N>(sum, t, Pt, netK[q], R);
    }
    vmNol(a);
    if (!nol) {
        IzStroki(*a, sum.s);
        a->Poryadok = static_cast<std::int32_t>(sum.P);
        a->Netochnost = sum.net;
    }
}

struct TPerenosimo {
    static void Slozhit(TStroka& s, const TStroka& x, const TStroka& y, int R, unsigned cin) {
        SlozhitPerenosimo(s, x, y, R, cin);
    }
};
void UmnozhitPerenosimo(vmChislo* a, const vmChislo& p, const vmChislo& b) {
    Umnozhit<TPerenosimo>(a, p, b);
}

#if defined(__SSE2__)
struct TSse2 {
    static void Slozhit(TStroka& s, const TStroka& x, const TStroka& y, int R, unsigned cin) {
        SlozhitSse2(s, x, y, R, cin);
    }
};
void UmnozhitSse2(vmChislo* a, const vmChislo& p, const vmChislo& b) {
    Umnozhit<TSse2>(a, p, b);
}
#endif

#if defined(__x86_64__)
struct TAvx512 {
    __attribute__((target("avx512f,avx512bw"))) static void
    Slozhit(TStroka& s, const TStroka& x, const TStroka& y, int R, unsigned cin) {
        SlozhitAvx512(s, x, y, R, cin);
    }
};
// flatten: the whole loop is compiled for the wider instruction set, with
// the addition inlined into it.
__attribute__((target("avx512f,avx512bw"), flatten)) void
UmnozhitAvx512(vmChislo* a, const vmChislo& p, const vmChislo& b) {
    Umnozhit<TAvx512>(a, p, b);
}
#endif

TNaborKomand Luchshiy() {
#if defined(__x86_64__)
    __builtin_cpu_init(); // this runs among the static constructors
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw"))
        return TNaborKomand::Avx512;
#endif
#if defined(__SSE2__)
    return TNaborKomand::Sse2;
#else
    return TNaborKomand::Perenosimiy;
#endif
}

} // namespace

const TNaborKomand LuchshiyNaborKomand = Luchshiy();
std::atomic<TNaborKomand> NaborKomand{LuchshiyNaborKomand};

void UmnozhitBistro(vmChislo* a, const vmChislo& p, const vmChislo& b) {
    switch (NaborKomand.load(std::memory_order_relaxed)) {
#if defined(__x86_64__)
    case TNaborKomand::Avx512:
        UmnozhitAvx512(a, p, b);
        return;
#endif
#if defined(__SSE2__)
    case TNaborKomand::Sse2:
        UmnozhitSse2(a, p, b);
        return;
#endif
    default:
        UmnozhitPerenosimo(a, p, b);
        return;
    }
}

} // namespace vm_detail
