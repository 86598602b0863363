// Bracket groups, the scanners of the expression language, and the operator
// evaluator with its two precedence levels.
#include "eval/operatori.h"

#include "eval/soobsheniya.h"
#include "eval/zapusk.h"
#include "number/mashinnye.h"
#include "number/vmarifmetika.h"
#include "number/vmfunkcii.h"
#include "platform/platforma.h"

namespace {

unsigned char Bayt(const TAnsiString& s, int i) { // 1-based
    return static_cast<unsigned char>(s.Data()[i - 1]);
}

// Length of the run of bytes of one class at the start of tekst.
template <typename Klass> int DlinaSerii(const TAnsiString& tekst, Klass klass) {
    const char* s = tekst.Data();
    const int n = tekst.Length();
    int i = 0;
    while (i < n && klass(static_cast<unsigned char>(s[i]))) ++i;
    return i;
}

void UdalitProbeli(TAnsiString& tekst) {
    const int n = DlinaSerii(tekst, EtoProbel);
    if (n > 0) tekst.Delete(1, n);
}

bool EtoDesyatichnayaCifra(unsigned char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool EtoSimvolImeni(unsigned char c) {
    // Windows-1251: а..я are 0xE0..0xFF, й is 0xE9, ё is 0xB8.
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || c == '_' ||
           (c >= 0xE0 && c != 0xE9) || c == 0xB8;
}

bool EtoZnakOperatora(unsigned char c) {
    switch (c) {
    case '^':
    case '<':
    case '>':
    case '*':
    case '/':
    case '%':
    case '+':
    case '-':
        return true;
    default:
        return false;
    }
}

bool EtoProbel(unsigned char c) {
    return c == ' ' || c == '\t';
}

bool ProbeliVNachale(TAnsiString tekst, int& nachalo, int& dlina) {
    nachalo = 0;
    dlina = DlinaSerii(tekst, EtoProbel);
    return dlina > 0;
}

bool OperatoriVNachale(TAnsiString tekst, int& nachalo, int& dlina) {
    nachalo = 0;
    dlina = DlinaSerii(tekst, EtoZnakOperatora);
    return dlina > 0;
}

bool ImyaVNachale(TAnsiString tekst, int& nachalo, int& dlina) {
    nachalo = 0;
    dlina = DlinaSerii(tekst, EtoSimvolImeni);
    return dlina > 0;
}

bool ChisloVNachale(TAnsiString tekst, int& nachalo, int& dlina) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(tekst.Data());
    const int n = tekst.Length();
    auto cifri36 = [&](int i) {
        while (i < n && vmSimvoli.EtoCifra[s[i]]) ++i;
        return i;
    };
    auto cifri10 = [&](int i) {
        while (i < n && EtoDesyatichnayaCifra(s[i])) ++i;
        return i;
    };
    nachalo = 0;
    dlina = 0;
    int i = 0;
    while (i < n && EtoProbel(s[i])) ++i;
    nachalo = i;

    int j = i;
    if (j < n && s[j] == static_cast<unsigned char>(vmSimvoli.Minus)) ++j;
    int k = cifri36(j);
    if (k == j) return false;
    j = k;
    if (j < n && s[j] == static_cast<unsigned char>(vmSimvoli.Razdelitel)) {
        k = cifri36(j + 1);
        if (k == j + 1) return false;
        j = k;
    }
    if (j < n && s[j] == static_cast<unsigned char>(vmSimvoli.Eksponenta)) {
        int m = j + 1;
        if (m < n && s[m] == static_cast<unsigned char>(vmSimvoli.Minus)) ++m;
        k = cifri10(m);
        if (k == m) return false;
        j = k;
    }
    if (j < n && s[j] == static_cast<unsigned char>(vmSimvoli.Osnovanie)) {
        k = cifri10(j + 1);
        if (k == j + 1) return false;
        j = k;
    }
    dlina = j - i;
    return true;
}

bool NaitiSkobki(const TPeremennaya& p, TAnsiString& gruppa) {
    gruppa = TAnsiString();
    const TAnsiString& v = p.Virazhenie;
    int o = v.Pos(TAnsiString('('));
    const int c = v.Pos(TAnsiString(')'));
    if (o == 0 && c == 0) return true;
    if (o == 0) {
        PokazatOshibku("Не найдена открывающая скобка");
        return false;
    }
    if (c == 0) {
        PokazatOshibku("Не найдена закрывающая скобка");
        return false;
    }
    if (o > c) {
        PokazatOshibku("Закрывающая скобка идёт перед открывающей");
        return false;
    }
    for (int i = c - 1; i > o; --i) {
        if (Bayt(v, i) == '(') {
            o = i;
            break;
        }
    }
    int nachalo = o;
    while (nachalo > 1 && EtoSimvolImeni(Bayt(v, nachalo - 1))) --nachalo;
    gruppa = v.SubString(nachalo, c - nachalo + 1);
    return true;
}

namespace {

// The state of one evaluation: the radix mark given to plain literals.
struct TOcenka {
    TAnsiString metkaOsnovaniya; // "r" and CurrentRadix in decimal

    TOcenka() { metkaOsnovaniya = TAnsiString(vmSimvoli.Osnovanie) + CeloeVStroku(CurrentRadix); }

    // Reads the operand at the front of tekst (a literal, else a name, whose
    // value text it becomes) into operand; deletes it and the blanks after it.
    bool ProchitatOperand(TAnsiString& tekst, TAnsiString& operand) const {
        int nachalo = 0, dlina = 0;
        if (ChisloVNachale(tekst, nachalo, dlina)) {
            operand = tekst.SubString(nachalo + 1, dlina);
            if (operand.Pos(TAnsiString(vmSimvoli.Osnovanie)) == 0)
                operand = operand + metkaOsnovaniya;
            tekst.Delete(1, nachalo + dlina);
        } else if (ImyaVNachale(tekst, nachalo, dlina)) {
            vmChislo znachenie;
            if (!ZnacheniePeremennoy(znachenie, tekst.SubString(1, dlina))) return false;
            operand = TekstZnacheniya(znachenie);
            tekst.Delete(1, dlina);
        } else {
            return false;
        }
        UdalitProbeli(tekst);
        return true;
    }
};

vmChislo Prochitat(TAnsiString tekst) {
    vmChislo x;
    vmIzTeksta(&x, tekst);
    return x;
}

bool Ravno(const TAnsiString& a, const char* b) {
    return TAnsiString::Compare(a, TAnsiString(b)) == 0;
}

// Applies an upper-level operator; false for a run that is none of them.
bool PrimenitVerhniy(const TAnsiString& op, vmChislo& levoe, const vmChislo& pravoe) {
    if (Ravno(op, "*")) {
        vmUmnogit(&levoe, pravoe);
    } else if (Ravno(op, "/")) {
        vmRazdelit(&levoe, pravoe);
    } else if (Ravno(op, "%")) {
        vmChislo ostatok;
        vmDelenieSOstatkom(&levoe, pravoe, &ostatok);
        levoe = ostatok;
    } else if (Ravno(op, "^")) {
        levoe = vmStepen(levoe, pravoe);
    } else if (Ravno(op, "<<")) {
        vmUmnogitNaStepen(&levoe, vmVCeloe32(&pravoe, false));
    } else if (Ravno(op, ">>")) {
        vmRazdelitNaStepen(&levoe, vmVCeloe32(&pravoe, false));
    } else {
        return false;
    }
    return true;
}

// The lower level: the additive chain built by the first pass, left to
// right, each intermediate sum read back from its value text.
bool VichislitCepochku(TAnsiString tekst, vmChislo& rezultat) {
    DobavitSostoyanie(tekst + TAnsiString(" = "));
    int nachalo = 0, dlina = 0;
    if (!ChisloVNachale(tekst, nachalo, dlina)) return Neudacha();
    vmChislo levoe = Prochitat(tekst.SubString(nachalo + 1, dlina));
    tekst.Delete(1, nachalo + dlina);
    UdalitProbeli(tekst);
    while (tekst.Length() > 0) {
        if (!OperatoriVNachale(tekst, nachalo, dlina)) return Neudacha();
        TAnsiString op = tekst.SubString(1, dlina);
        int dlinaOp = dlina;
        if (dlinaOp >= 2 && Bayt(op, dlinaOp) == '-') op = op.SubString(1, --dlinaOp);
        tekst.Delete(1, dlinaOp);
        UdalitProbeli(tekst);

        if (!ChisloVNachale(tekst, nachalo, dlina)) return Neudacha();
        const TAnsiString pravyi = tekst.SubString(nachalo + 1, dlina);
        tekst.Delete(1, nachalo + dlina);
        UdalitProbeli(tekst);
        if (OtmenaZaproshena()) return Otmena();
        const vmChislo pravoe = Prochitat(pravyi);

        if (Ravno(op, "+")) {
            vmPribavit(&levoe, pravoe);
        } else if (Ravno(op, "-")) {
            vmVichest(&levoe, pravoe);
        } else {
            PokazatOshibku("Неизвестный оператор ", op);
            return Neudacha();
        }
        if (OtmenaZaproshena()) return Otmena();
        // The next step reads the sum back from its value text.
        const TAnsiString summa = TekstZnacheniya(levoe);
        tekst.Insert(summa, 1);
        if (!ChisloVNachale(tekst, nachalo, dlina)) return Neudacha();
        levoe = Prochitat(tekst.SubString(nachalo + 1, dlina));
        tekst.Delete(1, nachalo + dlina);
        UdalitProbeli(tekst);
    }
    rezultat = levoe;
    DobavitSostoyanie(KratkiyTekstZnacheniya(rezultat) + TAnsiString(";"));
    return true;
}

} // namespace

bool VichislitOperatori(TPeremennaya& p, vmChislo& rezultat, TAnsiString tekst) {
    (void)p;
    DobavitSostoyanie(TAnsiString("\r\n") + tekst + TAnsiString(" = "));
    const TOcenka ocenka;
    TAnsiString cepochka;

    // The upper level: applied at once, left to right; "+" and "-" only
    // collect their operands into the additive chain.
    while (tekst.Length() > 0) {
        UdalitProbeli(tekst);
        int nachalo = 0, dlina = 0;
        if (OperatoriVNachale(tekst, nachalo, dlina)) {
            // Pairs of minus signs before an operand cancel.
            while (dlina >= 2 && Bayt(tekst, 1) == '-' && Bayt(tekst, 2) == '-') {
                tekst.Delete(1, 2);
                dlina -= 2;
            }
        }
        TAnsiString operand;
        if (!ocenka.ProchitatOperand(tekst, operand)) return Neudacha();
        if (tekst.Length() == 0) {
            cepochka = cepochka + operand;
            break;
        }

        if (!OperatoriVNachale(tekst, nachalo, dlina)) return Neudacha();
        while (dlina >= 3 && Bayt(tekst, dlina) == '-' && Bayt(tekst, dlina - 1) == '-') {
            tekst.Delete(dlina - 1, 2);
            dlina -= 2;
        }
        // A trailing "-" of a longer run is the sign of the next operand.
        if (dlina >= 2 && Bayt(tekst, dlina) == '-') --dlina;
        const TAnsiString op = tekst.SubString(1, dlina);
        tekst.Delete(1, dlina);
        UdalitProbeli(tekst);

        if (Ravno(op, "+") || Ravno(op, "-")) {
            cepochka = cepochka + operand + op;
            continue;
        }

        vmChislo levoe = Prochitat(operand);
        TAnsiString pravyi;
        if (!ocenka.ProchitatOperand(tekst, pravyi)) return Neudacha();
        if (OtmenaZaproshena()) return Otmena();
        const vmChislo pravoe = Prochitat(pravyi);
        if (!PrimenitVerhniy(op, levoe, pravoe)) {
            PokazatOshibku("Неизвестный оператор ", op);
            return Neudacha();
        }
        if (OtmenaZaproshena()) return Otmena();
        tekst.Insert(TekstZnacheniya(levoe), 1);
    }

    return VichislitCepochku(cepochka, rezultat);
}
