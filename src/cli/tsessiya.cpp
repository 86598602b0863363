#include "cli/tsessiya.h"

#include <cstdio>

#include "cli/okno_cli.h"
#include "cli/sessiya_stroki.h"
#include "eval/dvigatel.h"
#include "eval/peremennie.h"
#include "eval/yazik.h"
#include "text/kodirovka.h"
#include "text/kodirovka_ansi.h"

namespace {

// The name a line defines, as the engine reads it.
std::string ImyaStroki(const std::string& s) {
    const TChastiStroki c = RazdelitStroku(s);
    return c.bezRavno ? ImyaPoUmolchaniyu : s.substr(c.imyaNachalo, c.imyaDlina);
}

// The line's expression, as a message shows a definition.
std::string Virazhenie(const std::string& s) {
    const TChastiStroki c = RazdelitStroku(s);
    return s.substr(c.virazhenieNachalo, c.virazhenieDlina);
}

// The value text of a result, for a line to use; empty for a value no
// literal can write (infinity).
std::string TekstDlyaStroki(const vmChislo& x) {
    const std::string t = TekstZnacheniya(x).ToStd();
    std::size_t nachalo = 0, dlina = 0;
    const auto* s = reinterpret_cast<const unsigned char*>(t.data());
    if (!ChitatLiteral(s, t.size(), nachalo, dlina) || nachalo != 0 || dlina != t.size()) return {};
    return Cp1251VUtf8(t);
}

} // namespace

void TSessiya::Dobavit(const std::string& vvod) {
    const std::string s = SMetkamiOsnovaniya(std::string(Obrezat(vvod)), osnovanie_);
    const std::string imya = ImyaStroki(s);
    if (imya == ImyaOtveta) {
        std::fputs("ans is the last result; the session keeps it for itself\n", stderr);
        return;
    }
    for (TOpredelenie& o : opredeleniya_)
        if (o.imya == imya) {
            o.stroka = s;
            return;
        }
    opredeleniya_.push_back({imya, s});
}

bool TSessiya::PodstavitRezultati(std::string& s, bool bezImeni) const {
    bool zameneno = false;
    if (bezImeni && IspolzuetImya(s, ImyaPoUmolchaniyu)) {
        if (poslednyiY_.empty()) {
            std::fputs("y has no earlier value a line can use\n", stderr);
            return false;
        }
        s = PodstavitZnachenie(s, ImyaPoUmolchaniyu, poslednyiY_, zameneno);
    }
    if (IspolzuetImya(s, ImyaOtveta)) {
        if (otvet_.empty()) {
            std::fputs("ans has no value a line can use yet\n", stderr);
            return false;
        }
        s = PodstavitZnachenie(s, ImyaOtveta, otvet_, zameneno);
    }
    return true;
}

// The line is kept only when its name computes: a line that fails or is
// stopped leaves the earlier definition of its name as it was.
void TSessiya::Opredelenie(const std::string& vvod) {
    const std::string imya = ImyaStroki(vvod);
    if (imya == ImyaOtveta) {
        std::fputs("ans is the last result; the session keeps it for itself\n", stderr);
        return;
    }
    std::string s = SMetkamiOsnovaniya(vvod, osnovanie_);
    if (!PodstavitRezultati(s, RazdelitStroku(vvod).bezRavno)) return;
    std::vector<TOpredelenie> novie = opredeleniya_;
    const TOpredelenie* prezhnee = nullptr;
    bool zameneno = false;
    for (std::size_t i = 0; i < novie.size(); ++i)
        if (novie[i].imya == imya) {
            prezhnee = &opredeleniya_[i];
            novie[i].stroka = s;
            zameneno = true;
        }
    if (!zameneno) novie.push_back({imya, s});
    if (Vichislit(novie, imya)) {
        opredeleniya_ = std::move(novie);
        return;
    }
    if (prezhnee != nullptr)
        std::fprintf(stderr, "not kept; %s is still %s\n", imya.c_str(),
                     Virazhenie(prezhnee->stroka).c_str());
    else
        std::fprintf(stderr, "not kept; %s stays undefined\n", imya.c_str());
    std::fflush(stderr);
}

bool TSessiya::Vichislit(const std::vector<TOpredelenie>& opredeleniya, const std::string& imya) {
    std::vector<TAnsiString> stroki;
    for (const TOpredelenie& o : opredeleniya) stroki.push_back(Utf8VAnsi(o.stroka));
    // No location: the session's lines are numbered in the order first
    // defined, which is no order the user sees.
    TOknoKomandnoyStroki okno(std::move(stroki), Utf8VAnsi(imya), osnovanie_, razryadi_);
    dvigatel_.Vichislit(okno);
    ZavershitZhurnal();
    if (okno.EstZnachenie()) {
        std::printf("%s = %s\n", imya.c_str(), Cp1251VUtf8(okno.Znachenie().ToStd()).c_str());
        otvet_ = TekstDlyaStroki(dvigatel_.Ishod().Znachenie);
        if (imya == ImyaPoUmolchaniyu) poslednyiY_ = otvet_;
    }
    std::fflush(stdout);
    if (preduprezhdeniya_) NapisatPreduprezhdeniya(dvigatel_.Ishod(), std::string());
    return okno.EstZnachenie();
}

bool TSessiya::Stroka(const std::string& vvod) {
    const std::string s(Obrezat(vvod));
    if (s.empty()) return true;
    if (s[0] == ':') return Komanda(s);
    Opredelenie(s);
    return true;
}
