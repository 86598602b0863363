// Pi per radix: 6 x for the root x of sin x = 1/2, by a bisection whose
// every step compares a sine series with 1/2, kept in the constant cache.
//
// Most steps need no series: while x is far from pi/6, the outcome of the
// comparison follows from a reference value of pi/6 (Machin's formula in
// binary, converted to radix R). The fast search takes exactly the steps of
// the full one, with the same vmChislo operations on x and the step h, so x
// and h get the same bytes; it sums a series only where the reference leaves
// the outcome in doubt. Its result is checked against the full bisection in
// every radix 2..126 by the tests.
//
// Why a skipped step is safe. x stays in (0, 1) and the bisection reads the
// computed sine s only through s > 1/2, s < 1/2 and |s - 1/2| > T, with
// T = h0 R^-92 <= R^-92 / 2 (h0 = 1/2 as the arithmetic gives it). Let M =
// 4096 R^-99. The error of vmSin(x, false) for 0 < x < 1, plus the rounding of
// s - 1/2 and of the comparisons, is below (180 + 1.2 R) R^-100, far below
// M: every term G/D has a relative error below (480 k + R + 10) R^-100 (k
// products for the power, k for the factorial, each under 160 R^-100 as its
// 103 partial sums round by at most 1.5 units of the last place; a truncated
// quotient under (R + 10) R^-100), the terms of x < 1 sum to at most
// sinh 1, each of some 70 additions rounds by at most R^-101, and the tail
// after the stopping term is below R^-100. By the mean value theorem
// cos 1 |x - pi/6| <= |sin x - 1/2| <= |x - pi/6|, and cos 1 > 1/2. So
//   |x - pi/6| > R^-92 + 2M              gives s on the side of x, and d > T;
//   |x - pi/6| < R^-92/2 - M - R^-112     gives d < T: the search ends.
// |x - pi/6| is taken exactly from x's digits and 112 digits of the
// reference (within 2 R^-112 of pi/6); the bounds include that error.

#include <array>
#include <cstdint>

#include "number/vm_kesh.h"
#include "number/vm_pi.h"
#include "number/vm_ryadi.h"
#include "number/vm_arifmetika.h"
#include "number/vm_funkcii.h"
#include "platform/platforma.h"

using vm_detail::Konstanta;
using vm_detail::Modul;

namespace {

// --- Binary fixed point: word 0 the integer part, words 1..32 the fraction.

constexpr int DROBNIH_SLOV = 32;
using Dvoichnoe = std::array<std::uint32_t, DROBNIH_SLOV + 1>;

// a /= d, truncated.
void Razdelit(Dvoichnoe& a, std::uint32_t d) {
    std::uint64_t ostatok = 0;
    for (std::uint32_t& slovo : a) {
        const std::uint64_t tek = (ostatok << 32) | slovo;
        slovo = static_cast<std::uint32_t>(tek / d);
        ostatok = tek % d;
    }
}

// a *= m; the integer word must not overflow (the callers keep it small).
void Umnogit(Dvoichnoe& a, std::uint32_t m) {
    std::uint64_t perenos = 0;
    for (int i = DROBNIH_SLOV; i >= 0; --i) {
        const std::uint64_t tek = std::uint64_t(a[i]) * m + perenos;
        a[i] = static_cast<std::uint32_t>(tek);
        perenos = tek >> 32;
    }
}

// a += b for znak +1, a -= b for znak -1 (the result stays non-negative).
void Dobavit(Dvoichnoe& a, const Dvoichnoe& b, int znak) {
    std::int64_t perenos = 0;
    for (int i = DROBNIH_SLOV; i >= 0; --i) {
        std::int64_t tek = std::int64_t(a[i]) + znak * std::int64_t(b[i]) + perenos;
        perenos = tek < 0 ? -1 : (tek >> 32);
        a[i] = static_cast<std::uint32_t>(tek);
    }
}

bool EtoNol(const Dvoichnoe& a) {
    for (std::uint32_t slovo : a)
        if (slovo != 0) return false;
    return true;
}

// k arctan(1/n) = sum (-1)^i k / ((2i+1) n^(2i+1)) by truncated divisions:
// the power carries an error below i+1 units of 2^-1024, each term below 2,
// and the terms end when the power truncates to zero (at most 222 terms for
// n = 5), so the error stays below 450 units.
Dvoichnoe ArktangensObratnogo(std::uint32_t k, std::uint32_t n) {
    Dvoichnoe stepen{}, summa{};
    stepen[0] = k;
    Razdelit(stepen, n);
    for (std::uint32_t i = 0; !EtoNol(stepen); ++i) {
        Dvoichnoe chlen = stepen;
        Razdelit(chlen, 2 * i + 1);
        Dobavit(summa, chlen, i % 2 == 0 ? 1 : -1);
        Razdelit(stepen, n * n);
    }
    return summa;
}

// --- Radix-R fixed point: digit 0 the units, digit j that of R^-j.

constexpr int L = VM_PI_OPORA_CIFR;
using Cifri = std::array<std::uint8_t, L + 1>;

// a += m R^-j, the carry going up (it never passes the units digit here).
void DobavitMaloe(Cifri& a, int j, unsigned m, unsigned R) {
    for (int i = j; i >= 0 && m != 0; --i) {
        const unsigned tek = a[i] + m;
        a[i] = static_cast<std::uint8_t>(tek % R);
        m = tek / R;
    }
}

int Sravnit(const Cifri& a, const Cifri& b) {
    for (int i = 0; i <= L; ++i)
        if (a[i] != b[i]) return a[i] > b[i] ? 1 : -1;
    return 0;
}

// a -= b, for a >= b.
void Vichest(Cifri& a, const Cifri& b, unsigned R) {
    unsigned zaem = 0;
    for (int i = L; i >= 0; --i) {
        const unsigned vichitaemoe = b[i] + zaem;
        zaem = a[i] < vichitaemoe ? 1 : 0;
        a[i] = static_cast<std::uint8_t>(a[i] + zaem * R - vichitaemoe);
    }
}

// What a step of the bisection does at x: the sine above 1/2 (x moves down),
// below it (x moves up), or the search ends.
constexpr int VNIZ = 1, VVERH = -1, KONEC = 0, NEIZVESTNO = 2;

// The reference pi/6 in radix R and the two bounds on |x - pi/6| of the
// file comment, as radix-R fixed-point numbers.
class TOporaPi {
  public:
    explicit TOporaPi(std::uint8_t R) : R_(R) {
        pi6_[0] = 0;
        vmCifriPiShestih(R, pi6_.data() + 1, L);
        dalniy_ = {};
        DobavitMaloe(dalniy_, 92, 1, R_);
        DobavitMaloe(dalniy_, 99, 2 * 4096, R_);
        DobavitMaloe(dalniy_, L, 2, R_);
        // R^-92 / 2, truncated for an odd radix (which only lowers it).
        blizkiy_ = {};
        for (int j = 93; j <= L; ++j) {
            blizkiy_[j] = static_cast<std::uint8_t>(R_ / 2);
            if (R_ % 2 == 0) break;
        }
        Cifri zapas{};
        DobavitMaloe(zapas, 99, 4096, R_);
        DobavitMaloe(zapas, L, 3, R_);
        estBlizkiy_ = Sravnit(blizkiy_, zapas) > 0;
        if (estBlizkiy_) Vichest(blizkiy_, zapas, R_);
    }

    // The outcome of the step at x when the reference decides it, else
    // NEIZVESTNO (also for any x outside (0, 1) or with digits below R^-112).
    int Ishod(const vmChislo& x) const {
        if (x.Znak != 0 || vmZnak(&x) == 0 || x.Osnovanie != R_) return NEIZVESTNO;
        Cifri r{};
        for (int p = 0; p < VM_RAZRYADOV; ++p) {
            const std::uint8_t c = vmCifra(x, p);
            if (c == 0) continue;
            const std::int64_t j = -(std::int64_t(x.Poryadok) + 2 - p);
            if (j < 1 || j > L || c >= R_) return NEIZVESTNO;
            r[j] = c;
        }
        const int storona = Sravnit(r, pi6_);
        if (storona > 0) {
            Vichest(r, pi6_, R_);
        } else {
            Cifri t = pi6_;
            Vichest(t, r, R_);
            r = t;
        }
        if (Sravnit(r, dalniy_) > 0) return storona > 0 ? VNIZ : VVERH;
        if (estBlizkiy_ && Sravnit(r, blizkiy_) < 0) return KONEC;
        return NEIZVESTNO;
    }

  private:
    unsigned R_;
    Cifri pi6_, dalniy_, blizkiy_;
    bool estBlizkiy_ = false;
};

// The bisection from 1/2, the step halved before every move. With a
// reference, a step it decides sums no series.
vmChislo Bisekciya(std::uint8_t R, const TOporaPi* opora, int* ryadov) {
    const vmChislo odin = Konstanta(VM_K_EDINICA, R);
    const vmChislo dva = vmSumma(&odin, odin);
    vmChislo h = vmChastnoe(&odin, &dva);
    const vmChislo cel = h;
    vmChislo x = h;
    vmChislo T = h;
    vmRazdelitNaStepen(&T, 92);
    int summirovano = 0, shagov = 0;

    auto shag = [&]() {
        if (opora != nullptr) {
            const int ishod = opora->Ishod(x);
            if (ishod != NEIZVESTNO) return ishod;
        }
        ++summirovano;
        const vmChislo s = vmSin(x, false);
        const vmChislo d = Modul(vmRaznost(&s, cel));
        if (!vmBolshe(&d, &T)) return KONEC;
        if (vmBolshe(&s, &cel)) return VNIZ;
        if (vmMenshe(&s, &cel)) return VVERH;
        return KONEC;
    };
    for (int ishod = shag(); ishod != KONEC; ishod = shag()) {
        if (OtmenaZaproshena()) break;
        h = shagov < VM_PI_SHAGOV_POLOVINOY ? vmPolovinaShaga(h) : vmChastnoe(&h, &dva);
        ++shagov;
        if (ishod == VNIZ)
            vmVichest(&x, h);
        else
            vmPribavit(&x, h);
    }
    if (ryadov != nullptr) *ryadov = summirovano;
    vmUmnogitNaCifru(&x, 6);
    return x;
}

} // namespace

void vmCifriPiShestih(std::uint8_t R, std::uint8_t* cifri, int n) {
    // pi = 16 arctan(1/5) - 4 arctan(1/239): error below 600 units of
    // 2^-1024, and below 101 after the division by 6.
    Dvoichnoe f = ArktangensObratnogo(16, 5);
    Dobavit(f, ArktangensObratnogo(4, 239), -1);
    Razdelit(f, 6);
    for (int j = 0; j < n; ++j) {
        Umnogit(f, R);
        cifri[j] = static_cast<std::uint8_t>(f[0]);
        f[0] = 0;
    }
}

vmChislo vmPiBisekciya(std::uint8_t R, int* ryadov) {
    return Bisekciya(R, nullptr, ryadov);
}

vmChislo vmPiBistro(std::uint8_t R, int* ryadov) {
    if (R < 2) return Bisekciya(R, nullptr, ryadov);
    const TOporaPi opora(R);
    return Bisekciya(R, &opora, ryadov);
}

// pi in radix R (2..126): the cached value when known; else vmPiBistro, then
// stored in the cache (the first stored value wins, so every caller gets the
// same bytes). A stop request ends the search with a meaningless value that
// is not stored. Any thread; the cache guards the filling.
vmChislo vmPi(std::uint8_t R) {
    vmChislo pi;
    if (KeshNayti(VidKonstanti::Pi, R, 0, &pi)) return pi;
    pi = vmPiBistro(R);
    if (OtmenaZaproshena()) return pi;
    return KeshZapolnit(VidKonstanti::Pi, R, 0, pi);
}

// Long division of the 101 digits by 2 from the leading one, truncated; in
// radix 2 the divisor is "10" and the half is h one place down.
vmChislo vmPolovinaShaga(const vmChislo& h) {
    vmChislo q = h;
    q.Netochnost = 0;
    if (h.Osnovanie == 2) {
        --q.Poryadok;
        return q;
    }
    const int R = h.Osnovanie;
    int ostatok = 0;
    for (int p = 2; p < VM_RAZRYADOV; ++p) {
        const int chislo = ostatok * R + vmCifra(h, p);
        vmCifra(q, p) = static_cast<std::uint8_t>(chislo / 2);
        ostatok = chislo % 2;
    }
    if (vmCifra(q, 2) == 0) {
        for (int p = 2; p + 1 < VM_RAZRYADOV; ++p) vmCifra(q, p) = vmCifra(q, p + 1);
        vmCifra(q, VM_RAZRYADOV - 1) = 0;
        --q.Poryadok;
    }
    return q;
}
