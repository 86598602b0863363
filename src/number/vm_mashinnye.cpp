// Decimal text <-> machine numbers.
#include "number/vm_mashinnye.h"

#include <cmath>
#include <cstring>

#include "number/vm_chislo.h"
#include "platform/platforma.h"
#include "text/kodirovka_ansi.h"
#include "text/operacii_so_strokami.h"

namespace {
constexpr TSimvoliChisla PostroitTablicu(char razdelitel) {
    TSimvoliChisla t{};
    t.Razdelitel = razdelitel == ',' ? ',' : '.';
    t.AltRazdelitel = razdelitel == ',' ? '.' : ',';
    t.Eksponenta = 'e';
    t.EksponentaBolshaya = 'E';
    t.Minus = '-';
    t.Nol = '0';
    const char nabor[15] = {'0', '1', '2', '3', '4', '5', '6', '7',
                            '8', '9', '-', ',', '.', 'e', 'E'};
    for (int i = 0; i < 10; ++i) t.Cifri[i] = char('0' + i);
    for (int i = 0; i < 15; ++i) t.SimvoliChisla[i] = nabor[i];
    return t;
}

// The messages of this module. Source files are UTF-8, texts of the core
// Windows-1251: every message is converted here, in one place.
TAnsiString Soobshenie(const char* utf8) {
    return Utf8VAnsi(utf8);
}

void SoobshitNevernyyTekst() {
    ShowError(Soobshenie("Строка не содержит цифр между разделителями."));
}
void SoobshitDiapazon() {
    ShowError(Soobshenie("Число выходит за допустимый диапазон значений."));
}
void SoobshitPoryadok() {
    ShowError(Soobshenie("Порядок числа.\n Должен быть больше или равен -307 и меньше или "
                         "равен 307."));
}

bool EtoCifra(char c) {
    return c >= '0' && c <= '9';
}

// Number of digits at s[i..n); advances i past them.
int PropustitCifri(const char* s, int n, int& i) {
    const int nachalo = i;
    while (i < n && EtoCifra(s[i])) ++i;
    return i - nachalo;
}

constexpr long double LOG2_10 = 3.321928094887362347870319429489390175865L;
constexpr double LOG10_2 = 0.30103;
constexpr int PREDEL_PORYADKA = 307;
constexpr int PREDEL_CIFR = 30; // at most 31 characters before, 30 digits after

// Reads the n characters of a valid text without exponent, as Σ digit·10^k in
// extended precision. False when there are too many digits.
bool ProchitatMantissu(const char* s, int n, long double* m) {
    const char* sep = NaytiSimvol(s, SimvoliChisla.Razdelitel, n);
    const int doRazdelitelya = sep ? int(sep - s) : n;
    const int drobnih = sep ? n - doRazdelitelya - 1 : 0;
    if (doRazdelitelya - 1 > PREDEL_CIFR || drobnih > PREDEL_CIFR) return false;
    const bool minus = s[0] == SimvoliChisla.Minus;
    int k = doRazdelitelya - (minus ? 1 : 0) - 1; // power of ten of the first digit
    long double summa = 0.0L;
    for (int i = minus ? 1 : 0; i < n; ++i) {
        if (!EtoCifra(s[i])) continue; // the separator
        const int cifra = s[i] - '0';
        if (cifra != 0) summa += cifra * std::exp2l(k * LOG2_10);
        --k;
    }
    *m = minus ? -summa : summa;
    return true;
}
} // namespace

TSimvoliChisla SimvoliChisla = PostroitTablicu(',');

void PostroitSimvoliChisla(char razdelitel) {
    SimvoliChisla = PostroitTablicu(razdelitel);
}

void PostroitTabliciSimvolov(char razdelitel) {
    vmPostroitSimvoli(razdelitel);
    PostroitSimvoliChisla(razdelitel);
}

bool ProveritZapisChisla(const char* s, int n) {
    if (s == nullptr || n <= 0) return false;
    int i = 0;
    if (s[i] == SimvoliChisla.Minus) ++i;
    if (PropustitCifri(s, n, i) == 0) return false;
    if (i < n && s[i] == SimvoliChisla.Razdelitel) {
        ++i;
        if (PropustitCifri(s, n, i) == 0) return false;
    }
    if (i < n && s[i] == SimvoliChisla.Eksponenta) {
        ++i;
        if (i < n && s[i] == SimvoliChisla.Minus) ++i;
        if (PropustitCifri(s, n, i) == 0) return false;
    }
    return i == n;
}

int TekstVChislo(double* out, const char* s, int n, bool soobshat, double* outPoryadok) {
    *out = 0.0;
    if (outPoryadok) *outPoryadok = 0.0;
    if (s == nullptr) return TVCH_USPEH;
    if (!ProveritZapisChisla(s, n)) {
        if (soobshat) SoobshitNevernyyTekst();
        return TVCH_NEVERNIY_TEKST;
    }

    // Both pieces around an "e" are valid texts without exponent, read by the
    // same rule (and the same digit limits); the mantissa keeps its extended
    // precision until the final product.
    long double m = 0.0L;
    long double pl = 0.0L;
    bool vDiapazone;
    if (const char* e = NaytiSimvol(s, SimvoliChisla.Eksponenta, n)) {
        const int dm = int(e - s);
        vDiapazone = ProchitatMantissu(s, dm, &m) && ProchitatMantissu(e + 1, n - dm - 1, &pl);
    } else {
        vDiapazone = ProchitatMantissu(s, n, &m);
    }
    // The exponent piece is digits only, so its value is an integer; the
    // powers 2^(k log2 10) of the accumulation may leave it a few units of the
    // last extended place off, which the rounding removes.
    pl = std::nearbyint(pl);
    const double p = double(pl);
    if (!vDiapazone) {
        if (soobshat) SoobshitDiapazon();
        return TVCH_MNOGO_CIFR;
    }

    if (outPoryadok) {
        *out = double(m);
        *outPoryadok = p;
        return TVCH_USPEH;
    }
    if (m == 0.0L) return TVCH_USPEH;
    const double ocenka = std::ilogb(double(m)) * LOG10_2 + p;
    if (ocenka >= -PREDEL_PORYADKA && ocenka <= PREDEL_PORYADKA) {
        // A negative power divides by 10^|p|: 10^|p| is exact in extended
        // precision up to 10^27 and closer than its reciprocal beyond.
        const long double stepen = std::pow(10.0L, std::fabs(pl));
        *out = double(pl < 0 ? m / stepen : m * stepen);
        return TVCH_USPEH;
    }
    if (soobshat) SoobshitPoryadok();
    if (ocenka < 0)
        *out = 0.0;
    else
        *out = m < 0 ? -1e307 : 1e307;
    return TVCH_PORYADOK;
}

const char* NaytiChisloVTekste(const char* s, int n, int* len) {
    *len = 0;
    if (s == nullptr) return nullptr;
    const char* nabor = SimvoliChisla.SimvoliChisla;
    const int m = int(sizeof SimvoliChisla.SimvoliChisla);
    int i = 0;
    while (i < n) {
        const char* nachalo = NaytiSimvolIzNabora(s + i, nabor, n - i, m);
        if (nachalo == nullptr) return nullptr;
        i = int(nachalo - s);
        const int dlina = DlinaNachalaIzNabora(nachalo, nabor, n - i, m);
        if (ProveritZapisChisla(nachalo, dlina)) {
            *len = dlina;
            return nachalo;
        }
        i += dlina + 1; // past the run and the character that ended it
    }
    return nullptr;
}

std::int32_t Okruglit(double x) {
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0) return INT32_MAX;
    if (x <= -2147483648.0) return INT32_MIN;
    double celaya = std::floor(x);
    const double ostatok = x - celaya; // exact for |x| < 2^31
    if (ostatok > 0.5 || (ostatok == 0.5 && std::fmod(celaya, 2.0) != 0.0)) celaya += 1.0;
    return std::int32_t(celaya);
}

TAnsiString CeloeVStroku(std::int32_t n) {
    char buf[12];
    int i = sizeof buf;
    buf[--i] = '\0';
    std::int64_t v = n;
    const bool minus = v < 0;
    if (minus) v = -v;
    do {
        buf[--i] = char('0' + v % 10);
        v /= 10;
    } while (v != 0);
    if (minus) buf[--i] = '-';
    return TAnsiString(buf + i);
}
