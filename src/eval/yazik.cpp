// The rules of the expression language: character classes, the literal
// grammar, the function names, the parts of a definition line, the tokens.
#include "eval/yazik.h"

#include <cstring>

#include "eval/funkcii_tablica.h"
#include "number/vm_chislo.h"

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

namespace {
bool EtoDesyatichnayaCifra(unsigned char c) {
    return c >= '0' && c <= '9';
}
} // namespace

bool ChitatLiteral(const unsigned char* s, std::size_t n, std::size_t& nachalo, std::size_t& dlina,
                   bool sAlternativnim) {
    const bool* const cifra = vmSimvoli.EtoCifra;
    auto cifri36 = [&](std::size_t i) {
        // Eight at a time while all eight are digits: a value text has 101.
        while (i + 8 <= n &&
               (cifra[s[i]] & cifra[s[i + 1]] & cifra[s[i + 2]] & cifra[s[i + 3]] &
                cifra[s[i + 4]] & cifra[s[i + 5]] & cifra[s[i + 6]] & cifra[s[i + 7]]))
            i += 8;
        while (i < n && cifra[s[i]]) ++i;
        return i;
    };
    auto cifri10 = [&](std::size_t i) {
        while (i < n && EtoDesyatichnayaCifra(s[i])) ++i;
        return i;
    };
    auto est = [&](std::size_t i, char c) {
        return i < n && s[i] == static_cast<unsigned char>(c);
    };
    dlina = 0;
    std::size_t i = 0;
    while (i < n && EtoProbel(s[i])) ++i;
    nachalo = i;

    std::size_t j = i;
    if (est(j, vmSimvoli.Minus)) ++j;
    std::size_t k = cifri36(j);
    if (k == j) return false;
    j = k;
    if (est(j, vmSimvoli.Razdelitel) || (sAlternativnim && est(j, vmSimvoli.AltRazdelitel))) {
        k = cifri36(j + 1);
        if (k == j + 1) return false;
        j = k;
    }
    if (est(j, vmSimvoli.Eksponenta)) {
        std::size_t m = j + 1;
        if (est(m, vmSimvoli.Minus)) ++m;
        k = cifri10(m);
        if (k == m) return false;
        j = k;
    }
    if (est(j, vmSimvoli.Osnovanie)) {
        k = cifri10(j + 1);
        if (k == j + 1) return false;
        j = k;
    }
    dlina = j - i;
    return true;
}

TOcenkaLiterala OcenitLiteral(std::string_view literal, int osnovanieProgona) {
    // The radix mark, when there is one, ends the literal: "r" and decimal
    // digits, which are no digit characters of the mantissa's kind ("r" is
    // lower case). The radixes the reader takes are 2..126.
    TOcenkaLiterala o{osnovanieProgona, true};
    std::size_t konec = literal.size();
    const std::size_t r = literal.find(vmSimvoli.Osnovanie);
    if (r != std::string_view::npos) {
        konec = r;
        long osnovanie = 0;
        for (std::size_t i = r + 1; i < literal.size() && osnovanie <= 1000; ++i)
            osnovanie = osnovanie * 10 + (literal[i] - '0');
        o.osnovanie = static_cast<int>(osnovanie);
        if (osnovanie < 2 || osnovanie > 126) {
            o.verniy = false;
            return o;
        }
    }
    const std::size_t e = literal.substr(0, konec).find(vmSimvoli.Eksponenta);
    if (e != std::string_view::npos) konec = e;
    for (std::size_t i = 0; i < konec; ++i) {
        const auto c = static_cast<unsigned char>(literal[i]);
        if (vmSimvoli.EtoCifra[c] && vmSimvoli.ZnachenieCifri[c] >= o.osnovanie) o.verniy = false;
    }
    return o;
}

const std::vector<TOpisanieFunkcii>& OpisaniyaFunkciy() {
    static const std::vector<TOpisanieFunkcii> opisaniya = [] {
        std::vector<TOpisanieFunkcii> v;
        for (const TFunkciya& f : TablicaFunkciy()) v.push_back(f.opisanie);
        return v;
    }();
    return opisaniya;
}

const TOpisanieFunkcii* NaitiOpisanieFunkcii(std::string_view imya) {
    const TFunkciya* f = NaitiFunkciyu(imya);
    return f ? &f->opisanie : nullptr;
}

std::string_view Obrezat(std::string_view s) {
    std::size_t nachalo = 0, konec = s.size();
    while (nachalo < konec && static_cast<unsigned char>(s[nachalo]) <= 32) ++nachalo;
    while (konec > nachalo && static_cast<unsigned char>(s[konec - 1]) <= 32) --konec;
    return s.substr(nachalo, konec - nachalo);
}

namespace {
// The trimmed range of s[ot..do_) as an offset and a length within s.
void ObrezatDiapazon(std::string_view s, std::size_t ot, std::size_t do_, std::size_t& nachalo,
                     std::size_t& dlina) {
    const std::string_view chast = Obrezat(s.substr(ot, do_ - ot));
    nachalo = chast.empty() ? do_ : static_cast<std::size_t>(chast.data() - s.data());
    dlina = chast.size();
}
} // namespace

TChastiStroki RazdelitStroku(std::string_view stroka) {
    TChastiStroki c{};
    const std::size_t ravno = stroka.find('=');
    c.bezRavno = ravno == std::string_view::npos;
    if (c.bezRavno) {
        c.imyaNachalo = 0;
        c.imyaDlina = 0;
        ObrezatDiapazon(stroka, 0, stroka.size(), c.virazhenieNachalo, c.virazhenieDlina);
    } else {
        ObrezatDiapazon(stroka, 0, ravno, c.imyaNachalo, c.imyaDlina);
        ObrezatDiapazon(stroka, ravno + 1, stroka.size(), c.virazhenieNachalo, c.virazhenieDlina);
    }
    return c;
}

std::vector<TLeksema> RazobratNaLeksemy(std::string_view stroka) {
    std::vector<TLeksema> leksemy;
    const auto* s = reinterpret_cast<const unsigned char*>(stroka.data());
    const std::size_t n = stroka.size();
    std::size_t i = 0;
    auto seriya = [&](auto klass) {
        std::size_t j = i;
        while (j < n && klass(s[j])) ++j;
        return j - i;
    };
    while (i < n) {
        TLeksema l{TVidLeksemy::Prochee, i, 1};
        std::size_t nachalo = 0, dlina = 0;
        const unsigned char c = s[i];
        if (c <= 32) {
            l = {TVidLeksemy::Probel, i, seriya([](unsigned char b) { return b <= 32; })};
        } else if (vmSimvoli.EtoCifra[c] && ChitatLiteral(s + i, n - i, nachalo, dlina, true)) {
            l = {TVidLeksemy::Chislo, i, dlina};
        } else if (EtoSimvolImeni(c)) {
            const std::size_t d = seriya(EtoSimvolImeni);
            l = {i + d < n && s[i + d] == '(' ? TVidLeksemy::Funkciya : TVidLeksemy::Imya, i, d};
        } else if (EtoZnakOperatora(c)) {
            l = {TVidLeksemy::Operator, i, seriya(EtoZnakOperatora)};
        } else if (c == '(' || c == ')') {
            l.vid = TVidLeksemy::Skobka;
        } else if (c == ';') {
            l.vid = TVidLeksemy::Razdelitel;
        } else if (c == '=') {
            l.vid = TVidLeksemy::Ravno;
        }
        leksemy.push_back(l);
        i += l.dlina;
    }
    return leksemy;
}
