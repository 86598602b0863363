// Function calls: the table of sixteen functions, angle conversion, the
// factorial under its time limit, and the time source.
#include "eval/funkcii.h"

#include "eval/funkcii_tablica.h"
#include "eval/preduprezhdeniya.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>

#include "eval/operatori.h"
#include "eval/nastroyki.h"
#include "eval/soobsheniya.h"
#include "eval/zhurnal.h"
#include "number/vm_mashinnye.h"
#include "number/vm_tekst.h"
#include "number/vm_arifmetika.h"
#include "number/vm_funkcii.h"
#include "platform/platforma.h"

namespace {

std::atomic<IstochnikVremeni> istochnikVremeni{nullptr};

vmChislo CeloeVOsnovanii(std::int32_t n) {
    vmChislo obrazec;
    obrazec.Osnovanie = static_cast<std::uint8_t>(CurrentRadix);
    vmChislo x;
    vmIzCelogo32(&x, &obrazec, n);
    return x;
}

// pi / 180 (degrees) or pi / 200 (grads) in CurrentRadix, or false for
// radians; made anew for each call.
bool UgloviMnozhitel(bool vRadiani, vmChislo& mnozhitel) {
    const int polOborota = PolOborota(EdinicaUgla());
    if (polOborota == 0) return false;
    vmChislo pi;
    vmKonstanta(&pi, VM_K_PI, static_cast<std::uint8_t>(CurrentRadix));
    const vmChislo polniy = CeloeVOsnovanii(polOborota);
    mnozhitel = vRadiani ? vmChastnoe(&pi, &polniy) : vmChastnoe(&polniy, &pi);
    return true;
}

enum class Itog { Gotovo, Dolgo, Otmena };

// n! for n = floor(a) by repeated multiplication; 1 for n < 2. After the
// first FACT_BEZ_KONTROLYA multiplications every further one checks the
// time limit; every one checks the stop flag.
Itog Faktorial(const vmChislo& a, vmChislo& proizvedenie) {
    const long double t0 = TekushcheeVremya();
    vmKonstanta(&proizvedenie, VM_K_EDINICA, static_cast<std::uint8_t>(CurrentRadix));
    vmChislo schetchik = proizvedenie;
    const vmChislo odin = proizvedenie;
    const std::int32_t n = vmVCeloe32(&a, false);
    int umnozheniy = 0;
    for (std::int64_t i = 2; i <= n; ++i) {
        vmPribavit(&schetchik, odin);
        vmUmnogit(&proizvedenie, schetchik);
        if (OtmenaZaproshena()) return Itog::Otmena;
        if (++umnozheniy > FACT_BEZ_KONTROLYA && TekushcheeVremya() - t0 > PredelVremeniFunkcii)
            return Itog::Dolgo;
    }
    return Itog::Gotovo;
}

// The factorial with its two ways of ending early: false after the message
// (too long) or the stop ending has been logged.
bool FaktorialSSoobsheniem(vmChislo& a, vmChislo& r) {
    switch (Faktorial(a, r)) {
    case Itog::Gotovo:
        return true;
    case Itog::Dolgo:
        PokazatOshibku("На вычисление функции требуется слишком много времени");
        return Neudacha();
    case Itog::Otmena:
        return Otmena();
    }
    return true;
}

using vm_priznaki::Celoe;
using vm_priznaki::Nol;

bool Otricatelno(const vmChislo& x) {
    return vmZnak(&x) < 0;
}
// |x| > 1.
bool BolsheEdinici(const vmChislo& x) {
    vmChislo odin;
    vmProstayaKonstanta(&odin, VM_K_EDINICA, x.Osnovanie);
    vmChislo m = x;
    m.Znak = 0;
    return vmBolshe(&m, &odin);
}

// True for an angle in degrees or grads that is an odd multiple of a right
// angle, where the cosine is zero (in radians no literal is such an angle;
// there the tangent's overflow tells).
bool NechetnayaChetvert(const vmChislo& ugol) {
    const int polOborota = PolOborota(EdinicaUgla());
    if (polOborota == 0 || Nol(ugol)) return false;
    const vmChislo pryamoy = CeloeVOsnovanii(polOborota / 2);
    const vmChislo chetverti = vmChastnoe(&ugol, &pryamoy);
    if (!Celoe(chetverti)) return false;
    const vmChislo dva = CeloeVOsnovanii(2);
    return !Celoe(vmChastnoe(&chetverti, &dva));
}

const char* LogarifmChisla(const vmChislo& x) {
    if (Nol(x)) return "логарифм нуля";
    return Otricatelno(x) ? "логарифм отрицательного числа" : nullptr;
}
const char* OsnovanieLogarifma(const vmChislo& a) {
    vmChislo odin;
    vmProstayaKonstanta(&odin, VM_K_EDINICA, a.Osnovanie);
    vmChislo raznost = a;
    vmVichest(&raznost, odin);
    if (Nol(raznost)) return "логарифм по основанию 1";
    return Nol(a) || Otricatelno(a) ? "логарифм по неположительному основанию" : nullptr;
}

using A = vmChislo&;
using C = const vmChislo&;

// clang-format off
const std::vector<TFunkciya> Funkcii = {
    {{"sqr",    1, TUgol::Net},      [](A a, A, A r) { r = vmProizvedenie(&a, &a); return true; }, nullptr, true},
    {{"sqrt",   1, TUgol::Net},      [](A a, A, A r) { r = vmKoren(a); return true; },
        [](C a, C, C) { return Otricatelno(a) ? "корень из отрицательного числа" : nullptr; }},
    {{"exp",    1, TUgol::Net},      [](A a, A, A r) { r = vmExp(a, false); return true; }, nullptr, true},
    {{"fact",   1, TUgol::Net},      [](A a, A, A r) { return FaktorialSSoobsheniem(a, r); },
        [](C a, C, C) -> const char* {
            if (Otricatelno(a)) return "факториал отрицательного числа";
            return Celoe(a) ? nullptr : "факториал нецелого числа"; }},
    {{"ln",     1, TUgol::Net},      [](A a, A, A r) { r = vmLn(a, false); return true; },
        [](C a, C, C) { return LogarifmChisla(a); }},
    {{"lg",     1, TUgol::Net},      [](A a, A, A r) { r = vmLog(CeloeVOsnovanii(10), a); return true; },
        [](C a, C, C) { return LogarifmChisla(a); }},
    {{"log",    2, TUgol::Net},      [](A a, A b, A r) { r = vmLog(a, b); return true; },
        [](C a, C b, C) -> const char* {
            if (const char* t = OsnovanieLogarifma(a)) return t;
            return LogarifmChisla(b); }},
    {{"sin",    1, TUgol::Argument}, [](A a, A, A r) { r = vmSin(a, true); return true; }, nullptr},
    {{"cos",    1, TUgol::Argument}, [](A a, A, A r) { r = vmCos(a, true); return true; }, nullptr},
    {{"tg",     1, TUgol::Argument}, [](A a, A, A r) { r = vmTg(a); return true; },
        [](C a, C, C r) {
            return (vmEtoBeskonechnost(&r) && !vmEtoBeskonechnost(&a)) || NechetnayaChetvert(a)
                       ? "тангенс там, где косинус равен нулю" : nullptr; }},
    {{"arctg",  1, TUgol::Rezultat}, [](A a, A, A r) { r = vmArctg(a); return true; }, nullptr},
    {{"arcsin", 1, TUgol::Rezultat}, [](A a, A, A r) { r = vmArcsin(a); return true; },
        [](C a, C, C) { return BolsheEdinici(a) ? "арксинус вне отрезка [-1; 1]" : nullptr; }},
    {{"arccos", 1, TUgol::Rezultat}, [](A a, A, A r) { r = vmArccos(a); return true; },
        [](C a, C, C) { return BolsheEdinici(a) ? "арккосинус вне отрезка [-1; 1]" : nullptr; }},
    {{"arctg2", 2, TUgol::Rezultat}, [](A a, A b, A r) { r = vmArctg2(b, a); return true; }, nullptr},
    // The mode is passed on unchecked, as a signed byte.
    {{"int",    2, TUgol::Net},      [](A a, A b, A r) {
        vmCeloe(&r, &a, static_cast<std::int8_t>(vmVCeloe32(&b, false))); return true; }, nullptr},
    {{"frac",   1, TUgol::Net},      [](A a, A, A r) { vmDrobnaya(&r, &a); return true; }, nullptr},
};
// clang-format on

// The name (before the first "(", blanks before it skipped) and the
// arguments of a call text: up to the first ";", or to the first ")" when no
// ";" is left, or to the end. Only two are kept; the rest are counted. The
// next ";" and ")" are looked for again only once they have been passed, so
// the whole list is read in one pass. False on a stop request.
bool RazobratVizov(const TAnsiString& vizov, TAnsiString& imya, vmChislo (&argumenti)[2],
                   int& schet) {
    const char* s = vizov.Data();
    const std::size_t n = static_cast<std::size_t>(vizov.Length());
    // Position of the first c at or after ot; n when there is none.
    auto nayti = [s, n](char c, std::size_t ot) {
        const void* m = ot < n ? std::memchr(s + ot, c, n - ot) : nullptr;
        return m ? std::size_t(static_cast<const char*>(m) - s) : n;
    };
    std::size_t i = 0;
    while (i < n && EtoProbel(static_cast<unsigned char>(s[i]))) ++i;
    const std::size_t skobka = nayti('(', i);
    imya = skobka < n ? TAnsiString(s + i, int(skobka - i)) : TAnsiString();
    if (skobka < n) i = skobka + 1;

    schet = 0;
    std::size_t razdelitel = nayti(';', i), zakritie = nayti(')', i);
    while (i < n) {
        if (razdelitel < i) razdelitel = nayti(';', i);
        if (zakritie < i) zakritie = nayti(')', i);
        const std::size_t konec = razdelitel < n ? razdelitel : zakritie;
        std::string tekst(s + i, konec - i);
        i = konec + 1;
        vmChislo x;
        vmIzTeksta(&x, tekst.data()); // an empty argument reads as zero
        if (schet < 2) argumenti[schet] = x;
        ++schet;
        if (OtmenaZaproshena()) return false;
    }
    return true;
}

} // namespace

const std::vector<TFunkciya>& TablicaFunkciy() {
    return Funkcii;
}

const TFunkciya* NaitiFunkciyu(std::string_view imya) {
    for (const TFunkciya& f : Funkcii)
        if (imya == f.opisanie.imya) return &f;
    return nullptr;
}

long double TekushcheeVremya() {
    if (IstochnikVremeni i = istochnikVremeni.load(std::memory_order_relaxed)) return i();
    using namespace std::chrono;
    return duration<long double>(steady_clock::now().time_since_epoch()).count();
}

void UstanovitIstochnikVremeni(IstochnikVremeni istochnik) {
    istochnikVremeni.store(istochnik);
}

bool VichislitFunkciyu(TPeremennaya& p, vmChislo& rezultat, TAnsiString vizov) {
    (void)p;
    if (ZhurnalVedyotsya()) DobavitSostoyanie(TAnsiString("\r\n") + vizov + TAnsiString(" = "));
    TAnsiString imya;
    vmChislo argumenti[2];
    int schet = 0;
    if (!RazobratVizov(vizov, imya, argumenti, schet)) return Otmena();

    const TFunkciya* f = NaitiFunkciyu(
        std::string_view(imya.Data() ? imya.Data() : "", static_cast<std::size_t>(imya.Length())));
    if (!f) {
        OtmetitFragment(imya, true);
        PokazatOshibku("Неизвестная функция ", imya);
        return Neudacha();
    }
    if (schet != f->opisanie.argumentov) {
        OtmetitFragment(imya, true);
        PokazatOshibku("Неправильное количество аргументов функции ",
                       imya + TAnsiString(" - ") + CeloeVStroku(schet));
        return Neudacha();
    }

    vmChislo& a = argumenti[0];
    vmChislo& b = argumenti[1];
    const vmChislo dano = a; // the argument in the user's angle unit
    vmChislo mnozhitel;
    if (f->opisanie.ugol == TUgol::Argument && UgloviMnozhitel(true, mnozhitel))
        vmUmnogit(&a, mnozhitel);

    vmChislo r;
    if (!f->vichislit(a, b, r)) return false;
    // A stop inside an elementary function leaves a meaningless value.
    if (OtmenaZaproshena()) return Otmena();

    if (f->opisanie.ugol == TUgol::Rezultat && UgloviMnozhitel(false, mnozhitel))
        vmUmnogit(&r, mnozhitel);
    ProveritVizov(*f, dano, b, r);

    rezultat = r;
    if (ZhurnalVedyotsya()) DobavitSostoyanie(KratkiyTekstZnacheniya(rezultat) + TAnsiString(";"));
    return true;
}
