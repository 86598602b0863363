// Function calls: the table of sixteen functions, angle conversion, the
// factorial under its time limit, and the time source.
#include "eval/funkcii.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>

#include "eval/operatori.h"
#include "eval/nastroyki.h"
#include "eval/soobsheniya.h"
#include "eval/zhurnal.h"
#include "number/mashinnye.h"
#include "number/vm_tekst.h"
#include "number/vmarifmetika.h"
#include "number/vmfunkcii.h"
#include "platform/platforma.h"

namespace {

std::atomic<IstochnikVremeni> istochnikVremeni{nullptr};

enum class Ugol { Net, Argument, Rezultat };

struct TFunkciya {
    const char* imya;
    int argumentov;
    Ugol ugol;
};

enum Nomer {
    SQR,
    SQRT,
    EXP,
    FACT,
    LN,
    LG,
    LOG,
    SIN,
    COS,
    TG,
    ARCTG,
    ARCSIN,
    ARCCOS,
    ARCTG2,
    INT,
    FRAC,
    VSEGO
};

constexpr TFunkciya Funkcii[VSEGO] = {
    {"sqr", 1, Ugol::Net},         {"sqrt", 1, Ugol::Net},        {"exp", 1, Ugol::Net},
    {"fact", 1, Ugol::Net},        {"ln", 1, Ugol::Net},          {"lg", 1, Ugol::Net},
    {"log", 2, Ugol::Net},         {"sin", 1, Ugol::Argument},    {"cos", 1, Ugol::Argument},
    {"tg", 1, Ugol::Argument},     {"arctg", 1, Ugol::Rezultat},  {"arcsin", 1, Ugol::Rezultat},
    {"arccos", 1, Ugol::Rezultat}, {"arctg2", 2, Ugol::Rezultat}, {"int", 2, Ugol::Net},
    {"frac", 1, Ugol::Net},
};

int NaitiFunkciyu(const TAnsiString& imya) {
    for (int i = 0; i < VSEGO; ++i)
        if (TAnsiString::Compare(imya, TAnsiString(Funkcii[i].imya)) == 0) return i;
    return -1;
}

vmChislo Celoe(std::int32_t n) {
    vmChislo obrazec;
    obrazec.Osnovanie = static_cast<std::uint8_t>(CurrentRadix);
    vmChislo x;
    vmIzCelogo32(&x, &obrazec, n);
    return x;
}

// pi / 180 (degrees) or pi / 200 (grads) in CurrentRadix, or false for
// radians; made anew for each call.
bool UgloviMnozhitel(bool vRadiani, vmChislo& mnozhitel) {
    const std::uint8_t edinica = AngleUnit.load(std::memory_order_relaxed);
    if (edinica != 1 && edinica != 2) return false;
    vmChislo pi;
    vmKonstanta(&pi, 5, static_cast<std::uint8_t>(CurrentRadix));
    const vmChislo polniy = Celoe(edinica == 1 ? 180 : 200);
    mnozhitel = vRadiani ? vmChastnoe(&pi, &polniy) : vmChastnoe(&polniy, &pi);
    return true;
}

enum class Itog { Gotovo, Dolgo, Otmena };

// n! for n = floor(a) by repeated multiplication; 1 for n < 2. After the
// first FACT_BEZ_KONTROLYA multiplications every further one checks the
// time limit; every one checks the stop flag.
Itog Faktorial(const vmChislo& a, vmChislo& proizvedenie) {
    const long double t0 = TekushcheeVremya();
    vmKonstanta(&proizvedenie, 1, static_cast<std::uint8_t>(CurrentRadix));
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

    const int nomer = NaitiFunkciyu(imya);
    if (nomer < 0) {
        PokazatOshibku("Неизвестная функция ", imya);
        return Neudacha();
    }
    if (schet != Funkcii[nomer].argumentov) {
        PokazatOshibku("Неправильное количество аргументов функции ",
                       imya + TAnsiString(" - ") + CeloeVStroku(schet));
        return Neudacha();
    }

    vmChislo& a = argumenti[0];
    vmChislo& b = argumenti[1];
    vmChislo mnozhitel;
    if (Funkcii[nomer].ugol == Ugol::Argument && UgloviMnozhitel(true, mnozhitel))
        vmUmnogit(&a, mnozhitel);

    vmChislo r;
    switch (nomer) {
    case SQR:
        r = vmProizvedenie(&a, &a);
        break;
    case SQRT:
        r = vmKoren(a);
        break;
    case EXP:
        r = vmExp(a, false);
        break;
    case FACT:
        switch (Faktorial(a, r)) {
        case Itog::Gotovo:
            break;
        case Itog::Dolgo:
            PokazatOshibku("На вычисление функции требуется слишком много времени");
            return Neudacha();
        case Itog::Otmena:
            return Otmena();
        }
        break;
    case LN:
        r = vmLn(a, false);
        break;
    case LG:
        r = vmLog(Celoe(10), a);
        break;
    case LOG:
        r = vmLog(a, b);
        break;
    case SIN:
        r = vmSin(a, true);
        break;
    case COS:
        r = vmCos(a, true);
        break;
    case TG:
        r = vmTg(a);
        break;
    case ARCTG:
        r = vmArctg(a);
        break;
    case ARCSIN:
        r = vmArcsin(a);
        break;
    case ARCCOS:
        r = vmArccos(a);
        break;
    case ARCTG2:
        r = vmArctg2(b, a);
        break;
    case INT:
        // The mode is passed on unchecked, as a signed byte.
        vmCeloe(&r, &a, static_cast<std::int8_t>(vmVCeloe32(&b, false)));
        break;
    case FRAC:
        vmDrobnaya(&r, &a);
        break;
    default:
        break;
    }
    // A stop inside an elementary function leaves a meaningless value.
    if (OtmenaZaproshena()) return Otmena();

    if (Funkcii[nomer].ugol == Ugol::Rezultat && UgloviMnozhitel(false, mnozhitel))
        vmUmnogit(&r, mnozhitel);

    rezultat = r;
    if (ZhurnalVedyotsya()) DobavitSostoyanie(KratkiyTekstZnacheniya(rezultat) + TAnsiString(";"));
    return true;
}
