#include "cli/sessiya_stroki.h"

#include <vector>

#include "eval/yazik.h"
#include "number/vm_chislo.h"
#include "text/kodirovka.h"
#include "text/kodirovka_ansi.h"

namespace {

// A UTF-8 line as the tokenizer reads it: its Windows-1251 bytes (one per
// character, as the engine gets them) and, for each of those bytes, where
// its character starts in the UTF-8 text (one more entry: the end).
struct TStroka1251 {
    std::string bayti;
    std::vector<std::size_t> utf8;
};

bool Preobrazovat(const std::string& s, TStroka1251& t) {
    t.bayti = Utf8VAnsi(s).ToStd();
    for (std::size_t i = 0; i < s.size();) {
        t.utf8.push_back(i);
        char32_t u = 0;
        const std::size_t n = DekodirovatUtf8(s, i, &u);
        i += n == 0 ? 1 : n;
    }
    t.utf8.push_back(s.size());
    // A character that converts to more or fewer bytes leaves no map.
    return t.utf8.size() == t.bayti.size() + 1;
}

// A change of the UTF-8 text: bytes [ot, do_) become vstavka.
struct TZamena {
    std::size_t ot, do_;
    std::string vstavka;
};

std::string Primenit(const std::string& s, const std::vector<TZamena>& zameni) {
    std::string r;
    std::size_t poziciya = 0;
    for (const TZamena& z : zameni) {
        r.append(s, poziciya, z.ot - poziciya);
        r += z.vstavka;
        poziciya = z.do_;
    }
    r.append(s, poziciya, std::string::npos);
    return r;
}

// The tokens of the line's expression, each with its span in the UTF-8 text
// and its Windows-1251 text. False when the line cannot be mapped.
struct TLeksemaStroki {
    TVidLeksemy vid;
    std::size_t ot, do_;
    std::string tekst;
};

bool LeksemyVirazheniya(const std::string& s, std::vector<TLeksemaStroki>& leksemy) {
    TStroka1251 t;
    if (!Preobrazovat(s, t)) return false;
    const TChastiStroki c = RazdelitStroku(t.bayti);
    const std::string_view virazhenie(t.bayti.data() + c.virazhenieNachalo, c.virazhenieDlina);
    for (const TLeksema& l : RazobratNaLeksemy(virazhenie)) {
        const std::size_t nachalo = c.virazhenieNachalo + l.nachalo;
        leksemy.push_back(
            {l.vid, t.utf8[nachalo], t.utf8[nachalo + l.dlina], t.bayti.substr(nachalo, l.dlina)});
    }
    return true;
}

} // namespace

std::string SMetkamiOsnovaniya(const std::string& stroka, int osnovanie) {
    std::vector<TLeksemaStroki> leksemy;
    if (!LeksemyVirazheniya(stroka, leksemy)) return stroka;
    const std::string metka = std::string(1, vmSimvoli.Osnovanie) + std::to_string(osnovanie);
    std::vector<TZamena> zameni;
    for (const TLeksemaStroki& l : leksemy)
        if (l.vid == TVidLeksemy::Chislo && l.tekst.find(vmSimvoli.Osnovanie) == std::string::npos)
            zameni.push_back({l.do_, l.do_, metka});
    return Primenit(stroka, zameni);
}

std::string PodstavitZnachenie(const std::string& stroka, const std::string& imya,
                               const std::string& znachenie, bool& zameneno) {
    zameneno = false;
    std::vector<TLeksemaStroki> leksemy;
    if (!LeksemyVirazheniya(stroka, leksemy)) return stroka;
    const std::string imya1251 = Utf8VAnsi(imya).ToStd();
    std::vector<TZamena> zameni;
    for (const TLeksemaStroki& l : leksemy)
        if (l.vid == TVidLeksemy::Imya && l.tekst == imya1251)
            zameni.push_back({l.ot, l.do_, "(" + znachenie + ")"});
    zameneno = !zameni.empty();
    return Primenit(stroka, zameni);
}

bool IspolzuetImya(const std::string& stroka, const std::string& imya) {
    bool zameneno = false;
    PodstavitZnachenie(stroka, imya, std::string(), zameneno);
    return zameneno;
}
