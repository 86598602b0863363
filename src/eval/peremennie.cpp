// Variables, definitions and bracket reduction.
#include "eval/peremennie.h"

#include <string>
#include <unordered_map>

#include "eval/funkcii.h"
#include "eval/operatori.h"
#include "eval/soobsheniya.h"
#include "eval/zapusk.h"
#include "number/vmfunkcii.h"
#include "platform/platforma.h"

TPeremennaya VariableTable[VM_PREDEL_PEREMENNIH];
std::uint32_t VariableCount = 0;

namespace {

// Name -> first record with that name, for the records counted when it was
// built. Filled by the run body; the evaluator only reads it.
std::unordered_map<std::string, std::int32_t> indeksImen;
bool indeksGotov = false;
std::uint32_t indeksDlya = 0;

bool Ravni(const TAnsiString& a, const TAnsiString& b) {
    return TAnsiString::Compare(a, b) == 0;
}

std::string Klyuch(const TAnsiString& s) {
    const char* d = s.Data();
    return d ? std::string(d, static_cast<std::size_t>(s.Length())) : std::string();
}

} // namespace

void OchistitPeremennuyu(TPeremennaya& p) {
    p.Imya = TAnsiString();
    p.Virazhenie = TAnsiString();
    p.Vichislena = 0;
    p.Vichislyaetsya = 0;
    p.Otvergnuta = 0;
}

bool RazobratStroku(TPeremennaya& p, TAnsiString stroka) {
    p.Vichislena = 0;
    p.Vichislyaetsya = 0;
    p.Otvergnuta = 1;

    // One separator for the whole line, name included.
    if (char* s = stroka.c_str()) {
        for (; *s; ++s)
            if (*s == vmSimvoli.AltRazdelitel) *s = vmSimvoli.Razdelitel;
    }

    const int ravno = stroka.Pos(TAnsiString('='));
    if (ravno == 0) {
        p.Imya = TAnsiString("y");
        p.Virazhenie = stroka.Trim();
    } else {
        p.Imya = stroka.SubString(1, ravno - 1).Trim();
        p.Virazhenie = stroka.SubString(ravno + 1, stroka.Length() - ravno).Trim();
    }
    if (p.Imya.Length() == 0) {
        PokazatOshibku("Неправильное имя переменной");
        return false;
    }
    if (p.Virazhenie.Length() == 0) {
        PokazatOshibku("Неправильное значение переменной");
        return false;
    }
    p.Otvergnuta = 0;
    return true;
}

namespace {

// A number in a radix above 36 has no digit characters, and the formatter's
// error text would read back as another value; its text is written in the
// run's radix instead (converted at full width). Radixes 2..36 stay as they
// are.
vmChislo VOsnovaniiTeksta(const vmChislo& x) {
    if (x.Osnovanie <= 36 || CurrentRadix < 2 || CurrentRadix > 36) return x;
    return vmPerevestiVOsnovanie(x, static_cast<std::uint8_t>(CurrentRadix));
}

} // namespace

TAnsiString TekstZnacheniya(const vmChislo& x) {
    const vmChislo y = VOsnovaniiTeksta(x);
    TAnsiString t;
    vmVTekst(t, &y, 1, VM_DROBNIH_RAZRYADOV, VM_EKSPONENTA | VM_S_OSNOVANIEM);
    if (y.Osnovanie == 10) t = t + TAnsiString("r10");
    return t;
}

TAnsiString KratkiyTekstZnacheniya(const vmChislo& x) {
    const vmChislo y = VOsnovaniiTeksta(x);
    TAnsiString t;
    vmVTekst(t, &y, 1, 6, VM_EKSPONENTA | VM_S_OSNOVANIEM);
    if (y.Osnovanie == 10) t = t + TAnsiString("r10");
    return t;
}

void PostroitIndeksImen() {
    indeksImen.clear();
    indeksImen.reserve(VariableCount);
    for (std::uint32_t i = 0; i < VariableCount; ++i) {
        const TPeremennaya& p = VariableTable[i];
        if (p.Otvergnuta) continue;
        indeksImen.emplace(Klyuch(p.Imya), static_cast<std::int32_t>(i)); // keeps the first
    }
    indeksDlya = VariableCount;
    indeksGotov = true;
}

void SbrositIndeksImen() {
    indeksGotov = false;
    indeksImen.clear();
}

std::int32_t NaitiPeremennuyu(const TAnsiString& imya) {
    if (indeksGotov && indeksDlya == VariableCount) {
        auto it = indeksImen.find(Klyuch(imya));
        return it == indeksImen.end() ? -1 : it->second;
    }
    for (std::uint32_t i = 0; i < VariableCount && i < VM_PREDEL_PEREMENNIH; ++i) {
        const TPeremennaya& p = VariableTable[i];
        if (!p.Otvergnuta && Ravni(p.Imya, imya)) return static_cast<std::int32_t>(i);
    }
    return -1;
}

bool ZnacheniePeremennoy(vmChislo& znachenie, const TAnsiString& imya) {
    const std::int32_t i = NaitiPeremennuyu(imya);
    if (i < 0) {
        PokazatOshibku("Не удаётся найти переменную ", imya);
        return false;
    }
    TPeremennaya& p = VariableTable[i];
    if (!VichislitOpredelenie(p)) return false;
    znachenie = p.Znachenie;
    return true;
}

namespace {

// Evaluates the arguments of one bracket group and replaces the group in
// p.Virazhenie by the text of its result. The group is the first occurrence
// of its text, since it ends at the first ")" of the definition.
bool SvernutGruppu(TPeremennaya& p, TAnsiString gruppa) {
    const int mesto = p.Virazhenie.Pos(gruppa);
    p.Virazhenie.Delete(mesto, gruppa.Length());

    const TAnsiString otkr('('), zakr(')'), razd(';');
    const int skobka = gruppa.Pos(otkr);
    TAnsiString vizov = gruppa.SubString(1, skobka);

    // Each argument runs from just after "(" to the first ";", or to the
    // first ")" when no ";" is left; it is cut out of the group with its
    // separator. The first empty argument ends the list.
    for (;;) {
        const int tz = gruppa.Pos(razd);
        const int konec = tz > 0 ? tz : gruppa.Pos(zakr);
        const int dlina = konec - skobka - 1;
        if (dlina < 1) break;
        const TAnsiString argument = gruppa.SubString(skobka + 1, dlina).Trim();
        const bool bilRazdelitel = tz > 0;
        gruppa.Delete(skobka + 1, dlina + 1);

        vmChislo znachenie;
        if (!VichislitOperatori(p, znachenie, argument)) return false;
        vizov = vizov + TekstZnacheniya(znachenie);
        if (bilRazdelitel) vizov = vizov + razd;
        if (OtmenaZaproshena()) return Otmena();
    }
    vizov = vizov + zakr;

    TAnsiString rezultat;
    if (skobka == 1) {
        if (vizov.Pos(razd) > 0) {
            PokazatOshibku("Отсутствует имя функции");
            return false;
        }
        rezultat = vizov.SubString(2, vizov.Length() - 2);
    } else {
        vmChislo znachenie;
        if (!VichislitFunkciyu(p, znachenie, vizov)) return false;
        rezultat = TekstZnacheniya(znachenie);
    }
    p.Virazhenie.Insert(rezultat, mesto);
    return OtmenaZaproshena() ? Otmena() : true;
}

} // namespace

bool VichislitOpredelenie(TPeremennaya& p) {
    if (p.Vichislena) return true;
    if (p.Vichislyaetsya) {
        PokazatOshibku("Обнаружена циклическая связь");
        return false;
    }
    p.Vichislyaetsya = 1;
    p.NomerNachala = ++SchetchikNachal;

    for (;;) {
        TAnsiString gruppa;
        // A bracket error has been shown; the bracket left in the text makes
        // the final evaluation below fail.
        if (!NaitiSkobki(p, gruppa) || gruppa.Length() == 0) break;
        if (!SvernutGruppu(p, gruppa)) return false;
    }

    if (!VichislitOperatori(p, p.Znachenie, p.Virazhenie)) return false;
    p.Virazhenie = TekstZnacheniya(p.Znachenie);
    p.Vichislena = 1;
    p.Vichislyaetsya = 0;
    return true;
}
