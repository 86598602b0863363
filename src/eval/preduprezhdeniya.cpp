// The evaluator's warnings.
#include "eval/preduprezhdeniya.h"

#include <cctype>

#include "eval/zapis_progona.h"
#include "number/vm_tekst.h"
#include "number/vm_arifmetika.h"
#include "text/kodirovka.h"

namespace {

using vm_priznaki::Celoe;
using vm_priznaki::Nol;

// A short text of x for a warning: seven significant digits, the radix
// mark when it is not 10.
std::string Kratko(const vmChislo& x) {
    if (vmEtoBeskonechnost(&x)) return x.Znak ? "-∞" : "∞";
    TAnsiString t;
    vmVTekst(t, &x, 1, 6, VM_AVTO_EKSPONENTA | VM_S_OSNOVANIEM);
    return Cp1251VUtf8(t.ToStd());
}

// "взято 0", "взята бесконечность" or "взято <value>".
std::string Vzyato(const vmChislo& r) {
    if (Nol(r)) return "взято 0";
    if (vmEtoBeskonechnost(&r)) return r.Znak ? "взята минус бесконечность" : "взята бесконечность";
    return "взято " + Kratko(r);
}

} // namespace

bool vm_priznaki::Nol(const vmChislo& x) {
    return vmZnak(&x) == 0;
}
bool vm_priznaki::Celoe(const vmChislo& x) {
    vmChislo f;
    vmDrobnaya(&f, &x);
    return Nol(f);
}

void ProveritOperaciyu(std::string_view op, const vmChislo& levoe, const vmChislo& pravoe,
                       const vmChislo& rezultat) {
    TZapisProgona* zapis = TZapisProgona::Tekushaya();
    if (zapis == nullptr) return;
    const char* chto = nullptr;
    TVidPreduprezhdeniya vid = TVidPreduprezhdeniya::VneOblasti;
    const bool konechnie = !vmEtoBeskonechnost(&levoe) && !vmEtoBeskonechnost(&pravoe);
    if ((op == "/" || op == "%") && Nol(pravoe)) {
        vid = TVidPreduprezhdeniya::DelenieNaNol;
        chto = op == "/" ? "деление на нуль" : "остаток от деления на нуль";
    } else if (op == "^" && vmZnak(&levoe) < 0 && !Celoe(pravoe)) {
        chto = "отрицательное число в нецелой степени";
    } else if (op == "^" && Nol(levoe) && vmZnak(&pravoe) < 0) {
        vid = TVidPreduprezhdeniya::DelenieNaNol;
        chto = "нуль в отрицательной степени";
    } else if (vmEtoBeskonechnost(&rezultat) && konechnie) {
        vid = TVidPreduprezhdeniya::Perepolnenie;
        chto = "результат вне диапазона порядков";
    } else if (Nol(rezultat) && !Nol(levoe) && konechnie && op != "%" && op != "+" && op != "-" &&
               !(op == "*" && Nol(pravoe))) {
        vid = TVidPreduprezhdeniya::PoteryaPoryadka;
        chto = "результат меньше наименьшего порядка";
    }
    if (chto == nullptr) return;
    zapis->PredupreditOFragmente(vid, op, false,
                                 "«" + Kratko(levoe) + " " + std::string(op) + " " +
                                     Kratko(pravoe) + "» — " + chto + ", " + Vzyato(rezultat));
}

void ProveritVizov(const TFunkciya& f, const vmChislo& a, const vmChislo& b, const vmChislo& r) {
    TZapisProgona* zapis = TZapisProgona::Tekushaya();
    if (zapis == nullptr) return;
    const bool dva = f.opisanie.argumentov == 2;
    const char* chto = f.vneOblasti ? f.vneOblasti(a, b, r) : nullptr;
    TVidPreduprezhdeniya vid = TVidPreduprezhdeniya::VneOblasti;
    const bool konechnie = !vmEtoBeskonechnost(&a) && !(dva && vmEtoBeskonechnost(&b));
    if (chto == nullptr && vmEtoBeskonechnost(&r) && konechnie) {
        vid = TVidPreduprezhdeniya::Perepolnenie;
        chto = "результат вне диапазона порядков";
    } else if (chto == nullptr && f.poteryaPoryadka && Nol(r) && !Nol(a) && konechnie) {
        vid = TVidPreduprezhdeniya::PoteryaPoryadka;
        chto = "результат меньше наименьшего порядка";
    }
    if (chto == nullptr) return;
    const std::string_view imya = f.opisanie.imya;
    const std::string vzyato = Vzyato(r);
    const std::string argumenti = Kratko(a) + (dva ? ";" + Kratko(b) : "");
    if (!zapis->Novoe(std::to_string(zapis->TekushayaStroka()) + ":" + std::string(imya) + "(" +
                      argumenti + "):" + chto + ":" + vzyato))
        return;
    // The call as written where it can be found in the line, else the name
    // with the values of its arguments.
    std::string citata;
    std::int32_t nachalo = -1, dlina = 0;
    const std::int32_t stroka = zapis->TekushayaStroka();
    if (zapis->NaitiFragment(stroka, imya, true, nachalo, dlina)) {
        citata = Cp1251VUtf8(std::string(zapis->Stroka(stroka).substr(
            static_cast<std::size_t>(nachalo), static_cast<std::size_t>(dlina))));
    } else {
        citata = std::string(imya) + "(" + argumenti + ")";
    }
    zapis->Predupredit(vid, stroka, nachalo, dlina, "«" + citata + "» — " + chto + ", " + vzyato);
}

bool PohozheNaImya(std::string_view literal) {
    std::string malenkie;
    for (const char c : literal) {
        if (c < 'A' || c > 'Z') return false;
        malenkie += static_cast<char>(c - 'A' + 'a');
    }
    return malenkie == "pi" || NaitiOpisanieFunkcii(malenkie) != nullptr;
}
