// Literals to numbers and numbers to text.
#include <charconv>
#include <cstring>
#include <string>

#include "number/vm_mashinnye.h"
#include "number/vm_tekst.h"
#include "number/vm_vnutrennee.h"
#include "number/vm_arifmetika.h"
#include "platform/platforma.h"
#include "text/kodirovka.h"

using vm_detail::Osn;
using vm_detail::Polovina;

namespace {

// The radix piece of a literal must name a radix the digit loops can work
// with and the constant cache has a row for.
constexpr int kMinOsnovanie = 2;
constexpr int kMaxOsnovanie = 126;

bool EtoDesyatichnayaCifra(char c) {
    return c >= '0' && c <= '9';
}
bool EtoCifraLiterala(char c) {
    return vmSimvoli.EtoCifra[static_cast<unsigned char>(c)];
}

// First index of ch among the first n characters, or -1.
int Nayti(const char* s, int n, char ch) {
    for (int i = 0; i < n; ++i)
        if (s[i] == ch) return i;
    return -1;
}

// Piece [from, to) is `marker` (if any) followed by digits only, with an
// optional minus after the marker when minusOk.
bool KusokIzCifr(const char* s, int from, int to, bool sMarkerom, bool minusOk, bool desyatichnie) {
    int i = from;
    if (sMarkerom) ++i;
    if (minusOk && i < to && s[i] == vmSimvoli.Minus) ++i;
    if (i >= to) return false; // at least one digit
    for (; i < to; ++i) {
        const bool cifra = desyatichnie ? EtoDesyatichnayaCifra(s[i]) : EtoCifraLiterala(s[i]);
        if (!cifra) return false;
    }
    return true;
}

// Reads the decimal piece s[from, to) as a machine number without messages.
// The pieces are "-" and digits or digits alone (vmProveritZapis has seen to
// that). Up to 4 digits the value is summed here, as an integer: the machine
// reading gives the same double for every such piece (every one of them is
// compared in the tests), without its powers of ten.
bool ProchitatDesyatichnoe(const char* s, int from, int to, double* v) {
    if (to <= from) return false;
    const bool minus = s[from] == vmSimvoli.Minus;
    const int cifr = to - from - (minus ? 1 : 0);
    if (cifr >= 1 && cifr <= 4) {
        int n = 0;
        for (int i = to - cifr; i < to; ++i) n = n * 10 + (s[i] - '0');
        *v = minus && n != 0 ? -double(n) : double(n);
        return true;
    }
    return TekstVChislo(v, s + from, to - from, false) == TVCH_USPEH;
}

std::int32_t Obrezat32(double v) {
    // Truncation toward zero; values beyond 32 bits saturate (the exponent
    // limits are far inside that range, so they behave like any overflow).
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<std::int32_t>(v);
}

void Nol(vmChislo* x, std::uint8_t osnovanie) {
    x->Osnovanie = osnovanie;
    vmNol(x);
}

} // namespace

bool vmProveritZapis(const char* s, int n) {
    if (s == nullptr || n <= 0) return false;
    const int sep = Nayti(s, n, vmSimvoli.Razdelitel);
    const int e = Nayti(s, n, vmSimvoli.Eksponenta);
    const int r = Nayti(s, n, vmSimvoli.Osnovanie);
    if (sep >= 0 && e >= 0 && sep > e) return false;
    if (e >= 0 && r >= 0 && e > r) return false;
    if (sep >= 0 && r >= 0 && sep > r) return false;
    const int konecRadix = n;
    const int nachRadix = r >= 0 ? r : n;
    const int nachExp = e >= 0 ? e : nachRadix;
    const int nachFrac = sep >= 0 ? sep : nachExp;
    // Integer piece: [-]D+
    if (!KusokIzCifr(s, 0, nachFrac, false, true, false)) return false;
    if (sep >= 0 && !KusokIzCifr(s, nachFrac, nachExp, true, false, false)) return false;
    if (e >= 0 && !KusokIzCifr(s, nachExp, nachRadix, true, true, true)) return false;
    if (r >= 0 && !KusokIzCifr(s, nachRadix, konecRadix, true, false, true)) return false;
    return true;
}

void vmIzTeksta(vmChislo* x, char* s) {
    const int dlina = s ? static_cast<int>(std::strlen(s)) : 0;
    for (int i = 0; i < dlina; ++i)
        if (s[i] == vmSimvoli.AltRazdelitel) s[i] = vmSimvoli.Razdelitel;
    if (!vmProveritZapis(s, dlina)) return Nol(x, 2);

    vmNol(x);
    x->Osnovanie = 10;
    x->Poryadok = 0;
    int n = dlina;
    std::int64_t poryadok = 0;

    const int r = Nayti(s, n, vmSimvoli.Osnovanie);
    if (r >= 0) {
        double v = 0;
        if (!ProchitatDesyatichnoe(s, r + 1, n, &v)) return Nol(x, 2);
        const std::int32_t osn = Obrezat32(v);
        if (osn < kMinOsnovanie || osn > kMaxOsnovanie) return Nol(x, 2);
        x->Osnovanie = static_cast<std::uint8_t>(osn);
        n = r;
    }
    const int e = Nayti(s, n, vmSimvoli.Eksponenta);
    if (e >= 0) {
        double v = 0;
        if (!ProchitatDesyatichnoe(s, e + 1, n, &v)) return Nol(x, 2);
        poryadok = Obrezat32(v);
        n = e;
    }
    const int sep = Nayti(s, n, vmSimvoli.Razdelitel);
    int nach = 0;
    if (s[0] == vmSimvoli.Minus) {
        x->Znak = 1;
        nach = 1;
        --n;
    }
    const char* m = s + nach; // the mantissa, n characters
    const std::uint8_t osnovanie = x->Osnovanie;
    const int R = Osn(*x);
    const int pervaya = vmSimvoli.ZnachenieCifri[static_cast<unsigned char>(m[0])];
    if (pervaya >= R) return Nol(x, osnovanie);
    x->CelayaChast[0] = static_cast<std::uint8_t>(pervaya);
    poryadok += (sep >= 0 ? sep - nach : n) - 1;
    if (n > VM_DROBNIH_RAZRYADOV) {
        x->Netochnost = 1;
        n = VM_DROBNIH_RAZRYADOV;
    }
    int j = 0;
    for (int i = 1; i < n; ++i) {
        if (m[i] == vmSimvoli.Razdelitel) continue;
        const int v = vmSimvoli.ZnachenieCifri[static_cast<unsigned char>(m[i])];
        if (v >= R) return Nol(x, osnovanie);
        x->DrobnayaChast[j++] = static_cast<std::uint8_t>(v);
    }
    x->Poryadok = vm_detail::Ogranichit(poryadok);
    vmNormalizovat(x);
    if (vmZnak(x) == 0)
        vmNol(x);
    else if (x->Poryadok > VM_PREDEL_PORYADKA)
        vmBeskonechnost(x);
}

void vmIzTeksta(vmChislo* x, TAnsiString& s) {
    char pusto[1] = {0};
    char* p = s.c_str();
    vmIzTeksta(x, p ? p : pusto);
}

namespace {

const std::string& TekstOshibkiOsnovaniya() {
    static const std::string t = Utf8VCp1251("Ошибка: Основание должно быть <= 36");
    return t;
}
const std::string& TekstOshibkiPamyati() {
    static const std::string t = Utf8VCp1251("Ошибка: нехватает памяти");
    return t;
}

// Trailing zeros of the mantissa and of the exponent; a text without the
// separator is left as it is.
void Obrezat(std::string& t) {
    if (t.find(vmSimvoli.Razdelitel) == std::string::npos) return;
    std::size_t e = t.find(vmSimvoli.Eksponenta);
    if (e != std::string::npos) {
        std::size_t i = e + 1;
        while (i < t.size() && t[i] == vmSimvoli.Nol) ++i;
        t.erase(e + 1, i - (e + 1));
        if (e + 1 == t.size()) t.erase(e);
    }
    e = t.find(vmSimvoli.Eksponenta);
    std::size_t konec = e == std::string::npos ? t.size() : e;
    std::size_t nach = konec;
    while (nach > 0 && t[nach - 1] == vmSimvoli.Nol) --nach;
    if (nach > 0 && t[nach - 1] == vmSimvoli.Razdelitel) --nach;
    t.erase(nach, konec - nach);
}

// n in decimal as CeloeVStroku writes it ("-" and the digits), without the
// two buffers that text and its copy would take.
void DobavitCeloe(std::string& t, std::int32_t n) {
    char buf[12];
    const auto r = std::to_chars(buf, buf + sizeof buf, n);
    t.append(buf, static_cast<std::size_t>(r.ptr - buf));
}

void DobavitOsnovanie(std::string& t, int R) {
    t += vmSimvoli.Osnovanie;
    DobavitCeloe(t, R);
}

// Fixed-point text as bytes in t; on a radix outside 2..36, the error text
// instead.
// x rounded half-up on the magnitude at the requested place, R^-drobnih,
// even where fewer (drobnih > 103) or no (drobnih < 0) fraction digits can
// be shown.
vmChislo OkruglitDlyaTeksta(const vmChislo* x, int drobnih) {
    vmChislo y = *x;
    if (std::int64_t(y.Poryadok) + drobnih < VM_DROBNIH_RAZRYADOV) {
        std::uint8_t c = 0;
        const std::int64_t n = VM_DROBNIH_RAZRYADOV - (std::int64_t(y.Poryadok) + drobnih);
        vmSdvigVpravo(&y, n > INT32_MAX ? INT32_MAX : std::int32_t(n), &c);
        if (c < Polovina(y)) {
            vmNormalizovat(&y);
        } else if (vmZnak(&y) == 0) {
            // Nothing is left above the last shown digit (0.6 to no fraction
            // digits): the rounded value is one unit of that digit. The shift
            // has zeroed y, so its own exponent no longer tells where that is.
            y.Znak = x->Znak;
            y.CelayaChast[0] = 1;
            y.Poryadok = vm_detail::Ogranichit(-std::int64_t(drobnih));
            y.Netochnost = 1;
        } else {
            vmUvelichitMladshiy(&y);
        }
    }
    return y;
}

// True when the digit characters are "0".."9" then "A".."Z", as the table
// is always built; the digits are then written eight at a time.
bool ZnakiPoPoryadku() {
    static constexpr char kPoryadok[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    return std::memcmp(vmSimvoli.Cifri, kPoryadok, 36) == 0;
}

// The characters of the eight digits r[0..8) into out, by byte arithmetic:
// a digit c below 36 is the character '0' + c, plus 7 from c = 10 on ('A' is
// '0' + 17). False, and nothing written, when a digit is 36 or more. Each
// byte stays below 128 in every sum, so no carry crosses into the next one.
bool VosemZnakov(const std::uint8_t* r, char* out) {
    constexpr std::uint64_t k01 = 0x0101010101010101ull, k80 = 0x8080808080808080ull;
    std::uint64_t x;
    std::memcpy(&x, r, 8);
    // A byte of 128 or more shows its high bit; below that, c + 92 reaches
    // 128 exactly when c >= 36.
    if ((x | (x + 92 * k01)) & k80) return false;
    const std::uint64_t bukva = ((x + 118 * k01) & k80) >> 7; // 1 where c >= 10
    const std::uint64_t y = x + '0' * k01 + 7 * bukva;
    std::memcpy(out, &y, 8);
    return true;
}

void Fiks(std::string& t, const vmChislo* x, int minCelih, int drobnih, bool sOsnovaniem,
          bool sNulyami) {
    if (x->Osnovanie > 36 || x->Osnovanie < 2) {
        t = TekstOshibkiOsnovaniya();
        return;
    }
    const int R = x->Osnovanie;
    const vmChislo y = OkruglitDlyaTeksta(x, drobnih);
    if (drobnih < 0) drobnih = 0;
    if (drobnih > VM_RAZRYADOV) drobnih = VM_RAZRYADOV;
    const bool minus = y.Znak == 1;
    const std::int64_t e = y.Poryadok;
    const std::int64_t k = e + 1 > 1 ? e + 1 : 1;
    std::int64_t nuli = e + 1 < minCelih ? minCelih - k : 0;
    if (nuli < 0) nuli = 0;
    const std::int64_t L = k + drobnih + (drobnih > 0 ? 1 : 0);
    const std::int64_t vsego = (minus ? 1 : 0) + nuli + L;
    if (vsego > (std::int64_t(1) << 31) - 64) {
        t = TekstOshibkiPamyati();
        return;
    }
    try {
        t.assign(static_cast<std::size_t>(vsego), vmSimvoli.Nol);
    } catch (...) {
        t = TekstOshibkiPamyati();
        return;
    }
    std::size_t telo = (minus ? 1 : 0) + static_cast<std::size_t>(nuli);
    if (minus) t[0] = vmSimvoli.Minus;
    if (drobnih > 0) t[telo + static_cast<std::size_t>(k)] = vmSimvoli.Razdelitel;
    // Digit position p has the weight w = e+2-p and sits at body index
    // k-1-w for w >= 0, k-w for w < 0 (after the separator); the weights
    // shown are k-1 down to -drobnih, so the positions shown are one run on
    // each side of the separator. The row and the characters are local
    // copies: the text's bytes could alias the global table.
    std::uint8_t ryad[VM_RAZRYADOV];
    vm_detail::VRyad(y, ryad);
    char znaki[37];
    std::memcpy(znaki, vmSimvoli.Cifri, 36);
    znaki[36] = '?';
    char* const d = t.data() + telo;
    const bool poVosem = ZnakiPoPoryadku();
    const auto pokazat = [&](std::int64_t ot, std::int64_t doP, std::int64_t sdvig) {
        std::int64_t p = ot < 0 ? 0 : ot;
        doP = doP > VM_RAZRYADOV ? VM_RAZRYADOV : doP;
        for (; poVosem && p + 8 <= doP; p += 8)
            if (!VosemZnakov(ryad + p, d + p + sdvig)) break;
        for (; p < doP; ++p) {
            const std::uint8_t c = ryad[p];
            d[p + sdvig] = znaki[c < 36 ? c : 36];
        }
    };
    pokazat(e + 3 - k, e + 3, k - 3 - e);       // w = k-1 .. 0
    pokazat(e + 3, e + 3 + drobnih, k - 2 - e); // w = -1 .. -drobnih
    if (!sNulyami) Obrezat(t);
    if (sOsnovaniem && R != 10) DobavitOsnovanie(t, R);
}

} // namespace

void vmVTekstFiks(TAnsiString& out, const vmChislo* x, int minCelih, int drobnih, bool sOsnovaniem,
                  bool sNulyami) {
    std::string t;
    Fiks(t, x, minCelih, drobnih, sOsnovaniem, sNulyami);
    out = TAnsiString(t.data(), static_cast<int>(t.size()));
}

void vmVTekst(std::string& t, const vmChislo* x, int minCelih, int drobnih, std::uint8_t flagi) {
    bool eksponenta = (flagi & VM_EKSPONENTA) != 0;
    if (flagi & VM_AVTO_EKSPONENTA) eksponenta = x->Poryadok < -10 || x->Poryadok > 10;
    const bool sOsnovaniem = (flagi & VM_S_OSNOVANIEM) != 0;
    const bool sNulyami = (flagi & VM_S_NULYAMI) != 0;
    if (!eksponenta) return Fiks(t, x, minCelih, drobnih, sOsnovaniem, sNulyami);
    if (x->Osnovanie > 36 || x->Osnovanie < 2) {
        t = TekstOshibkiOsnovaniya();
        return;
    }
    vmChislo y = *x;
    y.Poryadok = 0;
    Fiks(t, &y, minCelih, drobnih, false, true);
    if (vmZnak(&y) != 0) {
        t += vmSimvoli.Eksponenta;
        DobavitCeloe(t, x->Poryadok);
    }
    if (!sNulyami) Obrezat(t);
    if (sOsnovaniem && x->Osnovanie != 10) DobavitOsnovanie(t, x->Osnovanie);
}

void vmVTekst(TAnsiString& out, const vmChislo* x, int minCelih, int drobnih, std::uint8_t flagi) {
    std::string t;
    vmVTekst(t, x, minCelih, drobnih, flagi);
    out = TAnsiString(t.data(), static_cast<int>(t.size()));
}
