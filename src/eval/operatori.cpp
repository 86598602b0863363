// Bracket groups, the scanners of the expression language, and the operator
// evaluator with its two precedence levels.
//
// Texts that are consumed from the front live in byte buffers (TOstatok),
// collected texts in std::string: the evaluator and the bracket reduction
// touch every byte a bounded number of times, so their cost is linear in the
// length of the text, and they poll the stop request at every step.
#include "eval/operatori.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "eval/nastroyki.h"
#include "eval/pamyat_tekstov.h"
#include "eval/preduprezhdeniya.h"
#include "eval/soobsheniya.h"
#include "eval/yazik.h"
#include "eval/zhurnal.h"
#include "number/vm_mashinnye.h"
#include "number/vm_tekst.h"
#include "number/vm_arifmetika.h"
#include "number/vm_funkcii.h"
#include "platform/platforma.h"

namespace {

// Length of the run of bytes of one class at the start of s[0..n).
template <typename Klass>
std::size_t DlinaSerii(const unsigned char* s, std::size_t n, Klass klass) {
    std::size_t i = 0;
    while (i < n && klass(s[i])) ++i;
    return i;
}

template <typename Klass> int DlinaSerii(const TAnsiString& tekst, Klass klass) {
    const auto* s = reinterpret_cast<const unsigned char*>(tekst.Data());
    return static_cast<int>(DlinaSerii(s, static_cast<std::size_t>(tekst.Length()), klass));
}

} // namespace

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
    std::size_t n = 0, d = 0;
    const bool est = ChitatLiteral(reinterpret_cast<const unsigned char*>(tekst.Data()),
                                   static_cast<std::size_t>(tekst.Length()), n, d);
    nachalo = static_cast<int>(n);
    dlina = static_cast<int>(d);
    return est;
}

// --- TOstatok ---

TOstatok::TOstatok(const char* s, std::size_t n) : bufer_(ZAPAS + n, '\0'), nachalo_(ZAPAS) {
    if (n > 0) std::memcpy(&bufer_[nachalo_], s, n);
}

TOstatok::TOstatok(std::string&& bufer, std::size_t nachalo)
    : bufer_(std::move(bufer)), nachalo_(nachalo) {}

void TOstatok::UdalitProbeli() {
    nachalo_ += DlinaSerii(Dannye(), Dlina(), EtoProbel);
}

void TOstatok::VstavitVperedi(const char* s, std::size_t n) {
    if (n > nachalo_) {
        const std::size_t dlina = Dlina();
        const std::size_t zapas = n + ZAPAS + dlina / 2;
        std::string noviy(zapas + dlina, '\0');
        if (dlina > 0) std::memcpy(&noviy[zapas], bufer_.data() + nachalo_, dlina);
        bufer_.swap(noviy);
        nachalo_ = zapas;
    }
    nachalo_ -= n;
    if (n > 0) std::memcpy(&bufer_[nachalo_], s, n);
}

// --- Bracket groups ---

namespace {
// Bytes scanned between two polls of the stop request.
constexpr std::size_t SHAG_OPROSA = 4096;
} // namespace

TSvertkaSkobok::TSvertkaSkobok(const TAnsiString& tekst, bool oprashivatOtmenu)
    : ishodniy_(tekst), s_(tekst.Data()), n_(static_cast<std::size_t>(tekst.Length())),
      oprashivatOtmenu_(oprashivatOtmenu) {
    levo_.reserve(n_);
}

TSvertkaSkobok::Kusok TSvertkaSkobok::Tekushiy() const {
    if (vNachalo_ < vstavka_.size())
        return {vstavka_.data() + vNachalo_, vstavka_.size() - vNachalo_};
    return {s_ + poziciya_, n_ - poziciya_};
}

void TSvertkaSkobok::Otrezat(std::size_t k) {
    if (vNachalo_ < vstavka_.size())
        vNachalo_ += k;
    else
        poziciya_ += k;
}

TSvertkaSkobok::Itog TSvertkaSkobok::Sleduyushaya(std::string& gruppa) {
    gruppa.clear();
    // Up to the first ")" of the text, noting every "(" on the way.
    std::size_t proydeno = 0;
    Kusok k = Tekushiy();
    for (;;) {
        k = Tekushiy();
        if (k.n == 0) break; // the end of the text: no ")" in it
        std::size_t i = 0;
        while (i < k.n && k.d[i] != '(' && k.d[i] != ')' && i < SHAG_OPROSA) ++i;
        levo_.append(k.d, i);
        Otrezat(i);
        proydeno += i;
        if (oprashivatOtmenu_ && proydeno >= SHAG_OPROSA) {
            proydeno = 0;
            if (OtmenaZaproshena()) return Itog::Otmena;
        }
        if (i == k.n || i == SHAG_OPROSA) continue;
        if (k.d[i] == ')') break;
        otkritie_.push_back(levo_.size());
        levo_ += '(';
        Otrezat(1);
        ++proydeno;
    }
    if (k.n == 0) {
        if (otkritie_.empty()) return Itog::Net;
        PokazatOshibku("Не найдена закрывающая скобка");
        return Itog::Oshibka;
    }
    // A ")" with no "(" before it: is there one after it?
    if (otkritie_.empty()) {
        const bool posle = std::memchr(k.d, '(', k.n) != nullptr ||
                           std::memchr(s_ + poziciya_, '(', n_ - poziciya_) != nullptr;
        PokazatOshibku(posle ? "Закрывающая скобка идёт перед открывающей"
                             : "Не найдена открывающая скобка");
        return Itog::Oshibka;
    }
    // The last "(" before the ")", and the function name before it.
    std::size_t nachalo = otkritie_.back();
    otkritie_.pop_back();
    while (nachalo > 0 && EtoSimvolImeni(static_cast<unsigned char>(levo_[nachalo - 1]))) --nachalo;
    gruppa.assign(levo_, nachalo, std::string::npos);
    gruppa += ')';
    levo_.resize(nachalo);
    Otrezat(1);
    izmenen_ = true;
    return Itog::Gruppa;
}

void TSvertkaSkobok::Vstavit(const std::string& znachenie) {
    // Scanned again before the rest, so the reduction sees the same text as
    // a search from the start would.
    vstavka_ = znachenie + vstavka_.substr(vNachalo_);
    vNachalo_ = 0;
}

TAnsiString TSvertkaSkobok::Tekst() const {
    if (!izmenen_) return ishodniy_;
    std::string t;
    t.reserve(levo_.size() + vstavka_.size() - vNachalo_ + n_ - poziciya_);
    t = levo_;
    t.append(vstavka_, vNachalo_);
    t.append(s_ + poziciya_, n_ - poziciya_);
    return TAnsiString(t.data(), static_cast<int>(t.size()));
}

bool NaitiSkobki(const TPeremennaya& p, TAnsiString& gruppa) {
    TSvertkaSkobok svertka(p.Virazhenie, false);
    std::string g;
    const TSvertkaSkobok::Itog itog = svertka.Sleduyushaya(g);
    gruppa = TAnsiString(g.data(), static_cast<int>(g.size()));
    return itog == TSvertkaSkobok::Itog::Net || itog == TSvertkaSkobok::Itog::Gruppa;
}

// --- The operator evaluator ---

namespace {

vmChislo Prochitat(std::string_view tekst) {
    return ProchitatTekst(tekst);
}

TAnsiString VTekst(const std::string& s) {
    return TAnsiString(s.data(), static_cast<int>(s.size()));
}

// a, b and c as one text, copied once (a log text can be as long as the
// definition).
TAnsiString Skleit(std::string_view a, std::string_view b, std::string_view c) {
    TAnsiString t;
    const std::size_t n = a.size() + b.size() + c.size();
    if (n == 0 || n > INT32_MAX || !t.SetLength(static_cast<int>(n))) return t;
    char* d = t.c_str();
    for (const std::string_view chast : {a, b, c}) {
        if (!chast.empty()) std::memcpy(d, chast.data(), chast.size());
        d += chast.size();
    }
    return t;
}

std::string_view Baiti(const TAnsiString& t) {
    return t.Length() > 0 ? std::string_view(t.Data(), static_cast<std::size_t>(t.Length()))
                          : std::string_view();
}

// The state of one evaluation: the radix mark given to plain literals.
struct TOcenka {
    std::string metkaOsnovaniya; // "r" and CurrentRadix in decimal

    TOcenka() {
        // CurrentRadix in decimal as CeloeVStroku writes it, without a text.
        char cifri[12];
        const auto konec = std::to_chars(cifri, cifri + sizeof cifri, CurrentRadix).ptr;
        metkaOsnovaniya = vmSimvoli.Osnovanie;
        metkaOsnovaniya.append(cifri, konec);
    }

    // Reads the operand at the front of tekst (a literal, else a name, whose
    // value text it becomes) into operand; cuts it and the blanks after it
    // off.
    bool ProchitatOperand(TOstatok& tekst, std::string& operand) const {
        std::size_t nachalo = 0, dlina = 0;
        const auto* s = tekst.Dannye();
        if (ChitatLiteral(s, tekst.Dlina(), nachalo, dlina)) {
            operand.assign(reinterpret_cast<const char*>(s) + nachalo, dlina);
            if (operand.find(vmSimvoli.Osnovanie) == std::string::npos) operand += metkaOsnovaniya;
            tekst.Otrezat(nachalo + dlina);
        } else if ((dlina = DlinaSerii(s, tekst.Dlina(), EtoSimvolImeni)) > 0) {
            const TAnsiString imya(reinterpret_cast<const char*>(s), static_cast<int>(dlina));
            // A computed record holds the value text of its value already.
            const TPeremennaya* p = VichislennayaPeremennaya(imya);
            if (p == nullptr) return false;
            operand.assign(Baiti(p->Virazhenie));
            tekst.Otrezat(dlina);
        } else {
            return false;
        }
        tekst.UdalitProbeli();
        return true;
    }
};

// Applies an upper-level operator; false for a run that is none of them.
bool PrimenitVerhniy(const std::string& op, vmChislo& levoe, const vmChislo& pravoe) {
    if (op == "*") {
        vmUmnogit(&levoe, pravoe);
    } else if (op == "/") {
        vmRazdelit(&levoe, pravoe);
    } else if (op == "%") {
        vmChislo ostatok;
        vmDelenieSOstatkom(&levoe, pravoe, &ostatok);
        levoe = ostatok;
    } else if (op == "^") {
        levoe = vmStepen(levoe, pravoe);
    } else if (op == "<<") {
        vmUmnogitNaStepen(&levoe, vmVCeloe32(&pravoe, false));
    } else if (op == ">>") {
        vmRazdelitNaStepen(&levoe, vmVCeloe32(&pravoe, false));
    } else {
        return false;
    }
    return true;
}

// Reads the literal at the front of tekst into x and cuts it and the blanks
// after it off; false when there is none.
bool ProchitatChislo(TOstatok& tekst, vmChislo& x) {
    std::size_t nachalo = 0, dlina = 0;
    if (!ChitatLiteral(tekst.Dannye(), tekst.Dlina(), nachalo, dlina)) return false;
    x = Prochitat(std::string_view(reinterpret_cast<const char*>(tekst.Dannye()) + nachalo, dlina));
    tekst.Otrezat(nachalo + dlina);
    tekst.UdalitProbeli();
    return true;
}

// The lower level: the additive chain built by the first pass, left to
// right, each intermediate sum read back from its value text.
// cepochka holds the room of TOstatok in front of the chain.
bool VichislitCepochku(std::string&& cepochka, vmChislo& rezultat) {
    if (ZhurnalVedyotsya())
        DobavitSostoyanie(Skleit({}, std::string_view(cepochka).substr(TOstatok::ZAPAS), " = "));
    TOstatok tekst(std::move(cepochka), TOstatok::ZAPAS);
    vmChislo levoe;
    if (!ProchitatChislo(tekst, levoe)) return Neudacha();
    while (!tekst.Pust()) {
        std::size_t dlinaOp = DlinaSerii(tekst.Dannye(), tekst.Dlina(), EtoZnakOperatora);
        if (dlinaOp == 0) return Neudacha();
        if (dlinaOp >= 2 && tekst[dlinaOp - 1] == '-') --dlinaOp;
        const std::string op(reinterpret_cast<const char*>(tekst.Dannye()), dlinaOp);
        tekst.Otrezat(dlinaOp);
        tekst.UdalitProbeli();

        std::size_t nachalo = 0, dlina = 0;
        if (!ChitatLiteral(tekst.Dannye(), tekst.Dlina(), nachalo, dlina)) return Neudacha();
        // Read before anything is put in front of the rest again.
        const std::string_view pravyi(reinterpret_cast<const char*>(tekst.Dannye()) + nachalo,
                                      dlina);
        tekst.Otrezat(nachalo + dlina);
        tekst.UdalitProbeli();
        if (OtmenaZaproshena()) return Otmena();
        const vmChislo pravoe = Prochitat(pravyi);

        const vmChislo prezhnee = levoe;
        if (op == "+") {
            vmPribavit(&levoe, pravoe);
        } else if (op == "-") {
            vmVichest(&levoe, pravoe);
        } else {
            OtmetitFragment(VTekst(op));
            PokazatOshibku("Неизвестный оператор ", VTekst(op));
            return Neudacha();
        }
        ProveritOperaciyu(op, prezhnee, pravoe, levoe);
        if (OtmenaZaproshena()) return Otmena();
        // The next step reads the sum back from its value text.
        const std::string_view summa = TekstZnacheniyaBaiti(levoe);
        tekst.VstavitVperedi(summa.data(), summa.size());
        if (!ProchitatChislo(tekst, levoe)) return Neudacha();
    }
    rezultat = levoe;
    if (ZhurnalVedyotsya()) DobavitSostoyanie(KratkiyTekstZnacheniya(rezultat) + TAnsiString(";"));
    return true;
}

// The operator at the front of tekst, after an operand: a run of operator
// characters without its trailing pairs of minus signs, and without a last
// "-" of a longer run, which stays in the text as the sign of the next
// operand. Cuts it and the blanks after it off; false when there is none.
bool ProchitatOperator(TOstatok& tekst, std::string& op) {
    const std::size_t seriya = DlinaSerii(tekst.Dannye(), tekst.Dlina(), EtoZnakOperatora);
    if (seriya == 0) return false;
    std::size_t dlina = seriya;
    while (dlina >= 3 && tekst[dlina - 1] == '-' && tekst[dlina - 2] == '-') dlina -= 2;
    // The pairs dropped from the end and the operator go; a sign stays.
    const bool znak = dlina >= 2 && tekst[dlina - 1] == '-';
    if (znak) --dlina;
    op.assign(reinterpret_cast<const char*>(tekst.Dannye()), dlina);
    tekst.Otrezat(znak ? seriya - 1 : seriya);
    tekst.UdalitProbeli();
    return true;
}

} // namespace

bool VichislitOperatori(TPeremennaya& p, vmChislo& rezultat, TAnsiString vhod) {
    (void)p;
    if (ZhurnalVedyotsya()) DobavitSostoyanie(Skleit("\r\n", Baiti(vhod), " = "));
    const TOcenka ocenka;
    TOstatok tekst(vhod.Data(), static_cast<std::size_t>(vhod.Length()));
    vhod = TAnsiString();
    std::string cepochka, operand, op, pravyi;
    // Literals gain their radix mark in the chain; room for that, so that a
    // long chain is not copied while it grows (pages are taken as written).
    // Reserved before the front room is written: a string that grows doubles
    // its buffer, and a deep recursion holds one chain per level.
    cepochka.reserve(TOstatok::ZAPAS + 4 * tekst.Dlina() + 64);
    cepochka.assign(TOstatok::ZAPAS, '\0');

    // The upper level: applied at once, left to right; "+" and "-" only
    // collect their operands into the additive chain.
    while (!tekst.Pust()) {
        tekst.UdalitProbeli();
        // Pairs of minus signs before an operand cancel.
        std::size_t seriya = DlinaSerii(tekst.Dannye(), tekst.Dlina(), EtoZnakOperatora);
        while (seriya >= 2 && tekst[0] == '-' && tekst[1] == '-') {
            tekst.Otrezat(2);
            seriya -= 2;
        }
        if (!ocenka.ProchitatOperand(tekst, operand)) return Neudacha();
        if (tekst.Pust()) {
            cepochka += operand;
            break;
        }
        if (!ProchitatOperator(tekst, op)) return Neudacha();

        if (op == "+" || op == "-") {
            cepochka += operand;
            cepochka += op;
            if (OtmenaZaproshena()) return Otmena();
            continue;
        }

        vmChislo levoe = Prochitat(operand);
        if (!ocenka.ProchitatOperand(tekst, pravyi)) return Neudacha();
        if (OtmenaZaproshena()) return Otmena();
        const vmChislo pravoe = Prochitat(pravyi);
        const vmChislo prezhnee = levoe;
        if (!PrimenitVerhniy(op, levoe, pravoe)) {
            OtmetitFragment(VTekst(op));
            PokazatOshibku("Неизвестный оператор ", VTekst(op));
            return Neudacha();
        }
        ProveritOperaciyu(op, prezhnee, pravoe, levoe);
        if (OtmenaZaproshena()) return Otmena();
        const std::string_view znachenie = TekstZnacheniyaBaiti(levoe);
        tekst.VstavitVperedi(znachenie.data(), znachenie.size());
    }

    return VichislitCepochku(std::move(cepochka), rezultat);
}
