// The constant cache: the static table of remembered constants, its lookup
// and fill between two threads, and its files in the cache folder.
//
// Files are read back as untrusted input: a file is taken only when it is
// exactly one record long and the record is a value this module could have
// written under that name (see ZapisDopustima and ZnachenieVerno); a
// rejected file of the program's own name is deleted, so that it is written
// anew at exit. Files are written (platform/fayli.h) under a temporary name
// and linked into place, so a file of the cache is either complete or absent, and an
// existing file is never replaced; a temporary file is named after the
// process that writes it, so that one left by a killed process can be told
// from one being written and removed at the next load.
#include "number/vm_kesh.h"

#include <atomic>
#include <cmath>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "number/vm_mashinnye.h"
#include "platform/fayli.h"

VM_KESH_KONSTANT KeshKonstant;

const char* const VM_PAPKA_KESHA = "VelimathData/";

namespace {

// Set at start-up only (UstanovitPapkuKesha), read by load and save.
std::string papkaKesha = VM_PAPKA_KESHA;

// Serialises every store into the table; lookups go without it.
std::mutex zamokKesha;
// Set (under the lock) when an entry is filled; lets a clearing of a table
// that holds nothing skip touching its pages.
bool estZapolnennie = false;

constexpr int RAZMER_ZAPISI = static_cast<int>(sizeof(vmChislo));
constexpr const char* RASSHIRENIE = ".vmChislo";

bool IndeksDopustim(VidKonstanti vid, int r, int n) {
    if (r < 0 || r >= VM_KESH_OSNOVANIY) return false;
    return vid == VidKonstanti::Pi || (n >= 0 && n < VM_KESH_CHISEL);
}

vmChislo& Yacheyka(VidKonstanti vid, int r, int n) {
    switch (vid) {
    case VidKonstanti::Ln:
        return KeshKonstant.lnValue[r][n].v;
    case VidKonstanti::Exp:
        return KeshKonstant.expValue[r][n].v;
    default:
        return KeshKonstant.piValue[r].v;
    }
}

// The flag bytes stay plain bytes in the record; every access goes through
// an atomic view of the byte.
std::atomic_ref<std::uint8_t> Flag(VidKonstanti vid, int r, int n) {
    switch (vid) {
    case VidKonstanti::Ln:
        return std::atomic_ref<std::uint8_t>(KeshKonstant.lnKnown[r][n]);
    case VidKonstanti::Exp:
        return std::atomic_ref<std::uint8_t>(KeshKonstant.expKnown[r][n]);
    default:
        return std::atomic_ref<std::uint8_t>(KeshKonstant.piKnown[r]);
    }
}

std::string Std(const TAnsiString& s) {
    return s.ToStd();
}

// The radix rows a file may carry: every row the program can fill. Radixes
// above 36 do compute (a literal such as 11r100 works in radix 100 until its
// value is converted), so their rows are written and read back like the
// others; rows 0 and 1 hold no nonzero number and are never filled.
constexpr int MIN_STROKA = 2;

// A record read from a file is well formed only when it is a value the
// arithmetic can produce for the radix row of its name: radix byte equal to
// that row, sign and inexact flag 0 or 1, every digit below the radix, and
// either the normal form (units digit nonzero, the two headroom digits zero,
// exponent strictly inside -2^29..2^29), the exact zero record (all digits
// 0, sign 0, exponent -2^29, flag 0) or the infinity record (a lone 1 with
// exponent 2^29, flag 1).
bool ZapisDopustima(const vmChislo& v, std::int32_t osnovanieImeni) {
    if (osnovanieImeni < MIN_STROKA || osnovanieImeni >= VM_KESH_OSNOVANIY) return false;
    if (v.Osnovanie != osnovanieImeni || v.Znak > 1 || v.Netochnost > 1) return false;
    bool vseNuli = true, nuliPosleEdinici = true;
    for (int p = 0; p < VM_RAZRYADOV; ++p) {
        const std::uint8_t c = vmCifra(v, p);
        if (c >= v.Osnovanie) return false;
        vseNuli = vseNuli && c == 0;
        if (p != 2) nuliPosleEdinici = nuliPosleEdinici && c == 0;
    }
    if (vseNuli) return v.Znak == 0 && v.Poryadok == -VM_PREDEL_PORYADKA && v.Netochnost == 0;
    if (v.Poryadok == VM_PREDEL_PORYADKA)
        return nuliPosleEdinici && v.CelayaChast[0] == 1 && v.Netochnost == 1;
    return v.CelayaChast[2] == 0 && v.CelayaChast[1] == 0 && v.CelayaChast[0] != 0 &&
           v.Poryadok > -VM_PREDEL_PORYADKA && v.Poryadok < VM_PREDEL_PORYADKA;
}

// The value of a well-formed record as a long double (an exponent out of
// its range gives infinity or zero, which no constant matches).
long double ZnachenieZapisi(const vmChislo& v) {
    if (v.Poryadok <= -VM_PREDEL_PORYADKA) return 0.0L;
    const long double R = v.Osnovanie;
    long double drob = 0.0L;
    for (int j = VM_DROBNIH_RAZRYADOV - 1; j >= 0; --j) drob = (drob + v.DrobnayaChast[j]) / R;
    long double m = v.CelayaChast[0] + drob;
    m *= std::pow(R, static_cast<long double>(v.Poryadok));
    return v.Znak ? -m : m;
}

// True when a well-formed record holds the constant its name stands for, to
// 10^-12 relative to the machine value: ln n (n >= 1; ln 1 only as the exact
// zero, ln 0 is never stored), e^n, pi.
bool ZnachenieVerno(const vmChislo& v, VidKonstanti vid, int n) {
    long double ozhidaetsya;
    switch (vid) {
    case VidKonstanti::Ln:
        if (n < 1) return false;
        ozhidaetsya = std::log(static_cast<long double>(n));
        break;
    case VidKonstanti::Exp:
        ozhidaetsya = std::exp(static_cast<long double>(n));
        break;
    default:
        ozhidaetsya = 3.14159265358979323846264338327950288L;
        break;
    }
    const long double x = ZnachenieZapisi(v);
    if (ozhidaetsya == 0.0L) return x == 0.0L;
    return std::fabs(x - ozhidaetsya) <= 1e-12L * ozhidaetsya;
}

// What the name of a cache file stands for, read with the keys of the scan
// in its order: "ln(" n, else "exp(" n, else "pi(" 1, all after "int" 3,
// "frac" 100 and "radix" r (r 0..126, n 0..255). False for any other name.
bool RazobratImya(const TAnsiString& imya, VidKonstanti* vid, std::int32_t* r, std::int32_t* n) {
    std::int32_t celih = 0, drobnih = 0;
    if (!ChisloPosleKlyucha(imya, TAnsiString("int"), &celih) || celih != VM_CELIH_RAZRYADOV)
        return false;
    if (!ChisloPosleKlyucha(imya, TAnsiString("frac"), &drobnih) || drobnih != VM_DROBNIH_RAZRYADOV)
        return false;
    if (!ChisloPosleKlyucha(imya, TAnsiString("radix"), r) || *r < 0 || *r >= VM_KESH_OSNOVANIY)
        return false;
    if (ChisloPosleKlyucha(imya, TAnsiString("ln("), n) && *n >= 0 && *n < VM_KESH_CHISEL) {
        *vid = VidKonstanti::Ln;
    } else if (ChisloPosleKlyucha(imya, TAnsiString("exp("), n) && *n >= 0 && *n < VM_KESH_CHISEL) {
        *vid = VidKonstanti::Exp;
    } else if (ChisloPosleKlyucha(imya, TAnsiString("pi("), n) && *n == 1) {
        *vid = VidKonstanti::Pi;
        *n = 0;
    } else {
        return false;
    }
    return true;
}

} // namespace

const std::string& PapkaKesha() {
    return papkaKesha;
}

void UstanovitPapkuKesha(const std::string& papka) {
    papkaKesha = papka.empty() ? std::string(VM_PAPKA_KESHA) : papka;
    if (papkaKesha.back() != '/') papkaKesha += '/';
}

TAnsiString ImyaFaylaKonstanti(VidKonstanti vid, int r, int n) {
    TAnsiString s = TAnsiString("int") + CeloeVStroku(VM_CELIH_RAZRYADOV) + "frac" +
                    CeloeVStroku(VM_DROBNIH_RAZRYADOV) + "radix" + CeloeVStroku(r);
    switch (vid) {
    case VidKonstanti::Ln:
        return s + "ln(" + CeloeVStroku(n) + ").vmChislo";
    case VidKonstanti::Exp:
        return s + "_exp(" + CeloeVStroku(n) + ").vmChislo";
    default:
        return s + "pi(1).vmChislo";
    }
}

bool KeshNayti(VidKonstanti vid, int r, int n, vmChislo* out) {
    if (!IndeksDopustim(vid, r, n)) return false;
    if (Flag(vid, r, n).load(std::memory_order_acquire) == 0) return false;
    *out = Yacheyka(vid, r, n);
    return true;
}

vmChislo KeshZapolnit(VidKonstanti vid, int r, int n, const vmChislo& v) {
    if (!IndeksDopustim(vid, r, n)) return v;
    std::lock_guard<std::mutex> lock(zamokKesha);
    auto flag = Flag(vid, r, n);
    vmChislo& slot = Yacheyka(vid, r, n);
    if (flag.load(std::memory_order_relaxed) == 0) {
        slot = v;
        estZapolnennie = true;
        flag.store(1, std::memory_order_release);
    }
    return slot;
}

void OchistitKesh() {
    std::lock_guard<std::mutex> lock(zamokKesha);
    if (!estZapolnennie) return;
    // Values behind a cleared flag are never read, so only the flags go.
    for (int r = 0; r < VM_KESH_OSNOVANIY; ++r) {
        for (int n = 0; n < VM_KESH_CHISEL; ++n) {
            Flag(VidKonstanti::Ln, r, n).store(0, std::memory_order_relaxed);
            Flag(VidKonstanti::Exp, r, n).store(0, std::memory_order_relaxed);
        }
        Flag(VidKonstanti::Pi, r, 0).store(0, std::memory_order_relaxed);
    }
    estZapolnennie = false;
}

void ZagruzitKesh() {
    OchistitKesh();

    // The names are collected first, so that deleting an unreadable file
    // does not disturb the directory scan.
    std::vector<std::string> imena, ostavlennie;
    for (std::string& imya : ImenaVPapke(papkaKesha)) {
        if (imya.size() > std::strlen(RASSHIRENIE) && imya.ends_with(RASSHIRENIE))
            imena.push_back(std::move(imya));
        else if (VremenniyBroshen(imya, RASSHIRENIE))
            ostavlennie.push_back(std::move(imya));
    }
    // A read-only folder keeps them; nothing is said.
    for (const std::string& s : ostavlennie) UdalitFayl(papkaKesha + s);

    for (const std::string& s : imena) {
        if (s.find('\0') != std::string::npos) continue;
        TAnsiString imya(s.c_str());
        VidKonstanti vid;
        std::int32_t r = 0, n = 0;
        vmChislo v;
        if (RazobratImya(imya, &vid, &r, &n) && ZagruzitKonstantu(imya, &v))
            KeshZapolnit(vid, r, n, v);
    }
}

void SohranitKesh() {
    {
        std::lock_guard<std::mutex> lock(zamokKesha);
        if (!estZapolnennie) return; // nothing known, nothing to write
    }
    vmChislo v;
    for (int r = 0; r < VM_KESH_OSNOVANIY; ++r) {
        for (int n = 0; n < VM_KESH_CHISEL; ++n) {
            if (KeshNayti(VidKonstanti::Ln, r, n, &v))
                SohranitKonstantu(ImyaFaylaKonstanti(VidKonstanti::Ln, r, n), &v);
            if (KeshNayti(VidKonstanti::Exp, r, n, &v))
                SohranitKonstantu(ImyaFaylaKonstanti(VidKonstanti::Exp, r, n), &v);
        }
        if (KeshNayti(VidKonstanti::Pi, r, 0, &v))
            SohranitKonstantu(ImyaFaylaKonstanti(VidKonstanti::Pi, r, 0), &v);
    }
}

bool SohranitKonstantu(const TAnsiString& name, const vmChislo* slot) {
    const std::string& papka = papkaKesha;
    if (!PapkaSushestvuet(TAnsiString(papka.c_str())) && !SozdatPapku(papka)) return false;
    const std::string imya = Std(name);
    if (imya.empty() || imya.find('/') != std::string::npos) return false;
    const std::string put = papka + imya;
    if (FaylSushestvuet(TAnsiString(put.c_str()))) return true;
    // Something that cannot be read stands there: it is not replaced.
    if (PutZanyat(put)) return false;

    unsigned char bayti[RAZMER_ZAPISI];
    std::memcpy(bayti, slot, RAZMER_ZAPISI);
    return ZapisatNoviyFayl(papka, imya, bayti, RAZMER_ZAPISI);
}

bool ZagruzitKonstantu(const TAnsiString& name, vmChislo* slot) {
    const std::string imya = Std(name);
    if (imya.empty() || imya.find('/') != std::string::npos) return false;
    VidKonstanti vid;
    std::int32_t r = 0, n = 0;
    if (!RazobratImya(name, &vid, &r, &n)) return false;
    const std::string put = papkaKesha + imya;

    unsigned char bayti[RAZMER_ZAPISI + 1];
    int prochitano = 0;
    const Chtenie chtenie = ProchitatFayl(put, bayti, RAZMER_ZAPISI + 1, &prochitano);
    if (chtenie == Chtenie::Net) return false;
    bool goden = chtenie == Chtenie::Prochitano && prochitano == RAZMER_ZAPISI;
    vmChislo v;
    if (goden) {
        std::memcpy(&v, bayti, RAZMER_ZAPISI);
        goden = ZapisDopustima(v, r) && ZnachenieVerno(v, vid, n);
    }
    if (!goden) {
        // An unreadable file goes whatever its name; a readable one only
        // when its name is exactly one this program writes, so that the
        // value computed in its place is saved at exit.
        if (chtenie == Chtenie::Oshibka ||
            (r >= MIN_STROKA && Std(ImyaFaylaKonstanti(vid, r, n)) == imya))
            UdalitFayl(put);
        return false;
    }
    *slot = v;
    return true;
}

bool ChisloPosleKlyucha(const TAnsiString& name, const TAnsiString& key, std::int32_t* value) {
    int pos = name.Pos(key);
    if (pos == 0) return false;
    int nachalo = pos - 1 + key.Length();
    int ostatok = name.Length() - nachalo;
    if (ostatok <= 0) return false;
    int dlina = 0;
    const char* chislo = NaytiChisloVTekste(name.Data() + nachalo, ostatok, &dlina);
    if (chislo == nullptr || dlina <= 0) return false;
    double d = 0;
    if (TekstVChislo(&d, chislo, dlina, false) != TVCH_USPEH) return false;
    *value = Okruglit(d);
    return true;
}

bool PapkaSushestvuet(const TAnsiString& path) {
    return PapkaDostupna(Std(path));
}

bool FaylSushestvuet(const TAnsiString& path) {
    return FaylChitaetsya(Std(path));
}
