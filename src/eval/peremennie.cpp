// Variables, definitions and bracket reduction.
#include "eval/peremennie.h"

#include <cstring>
#include <string>

#include "eval/funkcii.h"
#include "eval/operatori.h"
#include "eval/pamyat_tekstov.h"
#include "eval/preduprezhdeniya.h"
#include "eval/soobsheniya.h"
#include "eval/yazik.h"
#include "eval/zapis_progona.h"
#include "eval/zapusk.h"
#include "number/vm_tekst.h"
#include "number/vm_funkcii.h"
#include "platform/platforma.h"
#include "text/kodirovka.h"

namespace {

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

namespace {

// The bytes of a part of a line with every alternative separator replaced
// by the decimal one.
TAnsiString SEdinimRazdelitelem(std::string_view chast) {
    TAnsiString t(chast.data(), static_cast<int>(chast.size()));
    if (char* c = t.c_str()) {
        for (; *c; ++c)
            if (*c == vmSimvoli.AltRazdelitel) *c = vmSimvoli.Razdelitel;
    }
    return t;
}

} // namespace

bool RazobratStroku(TPeremennaya& p, TAnsiString stroka) {
    p.Vichislena = 0;
    p.Vichislyaetsya = 0;
    p.Otvergnuta = 1;

    // One separator for the whole line, name included. Neither separator is
    // "=" or a byte that Trim removes, so the replacement is made on the
    // trimmed parts as they are copied: the line is read once and copied once.
    const std::string_view s(stroka.Data() ? stroka.Data() : "",
                             static_cast<std::size_t>(stroka.Length()));
    const TChastiStroki c = RazdelitStroku(s);
    p.Imya = c.bezRavno ? TAnsiString(ImyaPoUmolchaniyu)
                        : SEdinimRazdelitelem(s.substr(c.imyaNachalo, c.imyaDlina));
    p.Virazhenie = SEdinimRazdelitelem(s.substr(c.virazhenieNachalo, c.virazhenieDlina));
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

std::string_view TekstZnacheniyaBaiti(const vmChislo& x) {
    thread_local std::string t;
    const vmChislo y = VOsnovaniiTeksta(x);
    vmVTekst(t, &y, 1, VM_DROBNIH_RAZRYADOV, VM_EKSPONENTA | VM_S_OSNOVANIEM);
    if (y.Osnovanie == 10) t += "r10";
    ZapomnitTekstZnacheniya(t, y);
    return t;
}

TAnsiString TekstZnacheniya(const vmChislo& x) {
    const std::string_view t = TekstZnacheniyaBaiti(x);
    return TAnsiString(t.data(), static_cast<int>(t.size()));
}

TAnsiString KratkiyTekstZnacheniya(const vmChislo& x) {
    const vmChislo y = VOsnovaniiTeksta(x);
    TAnsiString t;
    vmVTekst(t, &y, 1, 6, VM_EKSPONENTA | VM_S_OSNOVANIEM);
    if (y.Osnovanie == 10) t = t + TAnsiString("r10");
    return t;
}

void PostroitIndeksImen() {
    PostroitIndeksImen(nullptr);
}

void PostroitIndeksImen(const std::function<void(std::uint32_t, std::uint32_t)>& povtor) {
    TIndeksImen& indeks = SostoyanieVichisleniya.IndeksImen;
    indeks.pervaya.clear();
    indeks.pervaya.reserve(VariableCount);
    for (std::uint32_t i = 0; i < VariableCount; ++i) {
        const TPeremennaya& p = VariableTable[i];
        if (p.Otvergnuta) continue;
        const auto [mesto, noviy] =
            indeks.pervaya.emplace(Klyuch(p.Imya), static_cast<std::int32_t>(i)); // keeps the first
        if (!noviy && povtor) povtor(i, static_cast<std::uint32_t>(mesto->second));
    }
    indeks.dlya = VariableCount;
    indeks.gotov = true;
}

void SbrositIndeksImen() {
    TIndeksImen& indeks = SostoyanieVichisleniya.IndeksImen;
    indeks.gotov = false;
    indeks.pervaya.clear();
}

std::int32_t NaitiPeremennuyu(const TAnsiString& imya) {
    const TIndeksImen& indeks = SostoyanieVichisleniya.IndeksImen;
    if (indeks.gotov && indeks.dlya == VariableCount) {
        auto it = indeks.pervaya.find(Klyuch(imya));
        return it == indeks.pervaya.end() ? -1 : it->second;
    }
    for (std::uint32_t i = 0; i < VariableCount && i < VM_PREDEL_PEREMENNIH; ++i) {
        const TPeremennaya& p = VariableTable[i];
        if (!p.Otvergnuta && Ravni(p.Imya, imya)) return static_cast<std::int32_t>(i);
    }
    return -1;
}

const TPeremennaya* VichislennayaPeremennaya(const TAnsiString& imya) {
    const std::int32_t i = NaitiPeremennuyu(imya);
    if (i < 0) {
        OtmetitFragment(imya);
        PokazatOshibku("Не удаётся найти переменную ", imya);
        return nullptr;
    }
    TPeremennaya& p = VariableTable[static_cast<std::uint32_t>(i)];
    return VichislitOpredelenie(p) ? &p : nullptr;
}

bool ZnacheniePeremennoy(vmChislo& znachenie, const TAnsiString& imya) {
    const TPeremennaya* p = VichislennayaPeremennaya(imya);
    if (p == nullptr) return false;
    znachenie = p->Znachenie;
    return true;
}

namespace {

// Evaluates the arguments of one bracket group (function name, "(", the
// arguments, ")"; no other bracket in it) and gives the text of its result.
bool SvernutGruppu(TPeremennaya& p, const std::string& gruppa, std::string& rezultat) {
    const std::size_t skobka = gruppa.find('(');
    const std::size_t zakritie = gruppa.size() - 1;
    std::string vizov = gruppa.substr(0, skobka + 1);

    // Each argument runs from its start to the next ";", or to the ")" when
    // no ";" is left, and is taken with its separator. The first empty
    // argument ends the list.
    std::size_t nachalo = skobka + 1;
    std::size_t razdelitel = gruppa.find(';', nachalo);
    while (nachalo < zakritie) {
        if (razdelitel != std::string::npos && razdelitel < nachalo)
            razdelitel = gruppa.find(';', nachalo);
        const bool bilRazdelitel = razdelitel != std::string::npos;
        const std::size_t konec = bilRazdelitel ? razdelitel : zakritie;
        if (konec == nachalo) break;
        const std::string_view chast =
            Obrezat(std::string_view(gruppa).substr(nachalo, konec - nachalo));
        const TAnsiString argument(chast.data(), static_cast<int>(chast.size()));
        nachalo = konec + 1;

        vmChislo znachenie;
        if (!VichislitOperatori(p, znachenie, argument)) return false;
        vizov += TekstZnacheniyaBaiti(znachenie);
        if (bilRazdelitel) vizov += ';';
        if (OtmenaZaproshena()) return Otmena();
    }
    vizov += ')';

    if (skobka == 0) {
        if (vizov.find(';') != std::string::npos) {
            PokazatOshibku("Отсутствует имя функции");
            return false;
        }
        rezultat = vizov.substr(1, vizov.size() - 2);
    } else {
        vmChislo znachenie;
        if (!VichislitFunkciyu(p, znachenie, TAnsiString(vizov.data(), int(vizov.size()))))
            return false;
        rezultat = TekstZnacheniyaBaiti(znachenie);
    }
    return true;
}

// Replaces the bracket groups of p.Virazhenie, innermost first, by the texts
// of their values. False on an error in a group or on a stop; a bracket error
// has been shown and leaves its bracket in the text, which makes the final
// evaluation fail.
bool SvernutSkobki(TPeremennaya& p) {
    TSvertkaSkobok svertka(p.Virazhenie);
    bool gotovo = true;
    std::string gruppa, rezultat;
    for (;;) {
        const TSvertkaSkobok::Itog itog = svertka.Sleduyushaya(gruppa);
        if (itog == TSvertkaSkobok::Itog::Otmena) gotovo = Otmena();
        if (itog != TSvertkaSkobok::Itog::Gruppa) break;
        if (!SvernutGruppu(p, gruppa, rezultat)) {
            gotovo = false;
            break;
        }
        svertka.Vstavit(rezultat);
        if (OtmenaZaproshena()) {
            gotovo = Otmena();
            break;
        }
    }
    p.Virazhenie = svertka.Tekst();
    return gotovo;
}

} // namespace

namespace {

// The literals of a definition's line as written, before its first
// evaluation: each one whose digits its radix lacks reads as zero, and a
// word like a function or constant name written in capitals reads as a
// literal; both are warned of at their places.
// True when no literal of v can be warned of: every digit character is a
// digit of the run's radix, none is a capital letter, and there is no radix
// mark. Most definitions pass this one scan and are never tokenized.
bool LiteraliBezPodozreniy(std::string_view v) {
    for (const char ch : v) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == static_cast<unsigned char>(vmSimvoli.Osnovanie)) return false;
        if (vmSimvoli.EtoCifra[c] && (vmSimvoli.ZnachenieCifri[c] >= CurrentRadix || c >= 'A'))
            return false;
    }
    return true;
}

void ProveritLiterali(TZapisProgona& zapis, std::int32_t stroka) {
    const std::string_view s = zapis.Stroka(stroka);
    if (LiteraliBezPodozreniy(s)) return; // the name too: it holds no literal
    const TChastiStroki c = RazdelitStroku(s);
    const std::string_view v = s.substr(c.virazhenieNachalo, c.virazhenieDlina);
    for (const TLeksema& l : RazobratNaLeksemy(v)) {
        if (l.vid != TVidLeksemy::Chislo) continue;
        const std::string_view literal = v.substr(l.nachalo, l.dlina);
        const auto nachalo = static_cast<std::int32_t>(c.virazhenieNachalo + l.nachalo);
        const auto dlina = static_cast<std::int32_t>(l.dlina);
        const std::string citata = "«" + Cp1251VUtf8(std::string(literal)) + "»";
        const TOcenkaLiterala o = OcenitLiteral(literal, CurrentRadix);
        if (!o.verniy) {
            zapis.Predupredit(TVidPreduprezhdeniya::NeChislo, stroka, nachalo, dlina,
                              citata + " — не число в системе счисления " +
                                  std::to_string(o.osnovanie) + ", взято 0");
        } else if (PohozheNaImya(literal)) {
            zapis.Predupredit(TVidPreduprezhdeniya::ImyaKakChislo, stroka, nachalo, dlina,
                              citata + " прочитано как число в системе счисления " +
                                  std::to_string(o.osnovanie));
        }
    }
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

    const std::int32_t indeks = VariableTable.Indeks(p);
    const TZapisProgona::TVOpredelenii v(indeks);
    TZapisProgona* zapis = TZapisProgona::Tekushaya();
    if (zapis != nullptr && indeks >= 0) ProveritLiterali(*zapis, indeks + 1);

    if (!SvernutSkobki(p)) return false;
    if (!VichislitOperatori(p, p.Znachenie, p.Virazhenie)) return false;
    p.Virazhenie = TekstZnacheniya(p.Znachenie);
    p.Vichislena = 1;
    p.Vichislyaetsya = 0;
    return true;
}
