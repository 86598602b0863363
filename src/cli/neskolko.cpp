#include "cli/neskolko.h"

#include <cstdio>
#include <set>
#include <utility>

#include "cli/okno_cli.h"
#include "eval/dvigatel.h"
#include "platform/platforma.h"
#include "eval/yazik.h"
#include "text/kodirovka.h"
#include "text/kodirovka_ansi.h"

namespace {

using TUzhe = std::set<std::pair<std::int32_t, std::string>>; // line, text

// The command line's window, printing each message once over all runs.
class TOknoOdnogoIzNeskolkih : public TOknoKomandnoyStroki {
  public:
    TOknoOdnogoIzNeskolkih(std::vector<TAnsiString> stroki, TAnsiString imya, int osnovanie,
                           int razryadi, std::string mesto, TUzhe& uzhe)
        : TOknoKomandnoyStroki(std::move(stroki), std::move(imya), osnovanie, razryadi,
                               std::move(mesto)),
          uzhe_(uzhe) {}
    void Soobshit(const TSoobshenie& s) override {
        if (uzhe_.emplace(s.Stroka, s.Tekst.ToStd()).second) TOknoKomandnoyStroki::Soobshit(s);
    }

  private:
    TUzhe& uzhe_;
};

} // namespace

std::vector<std::string> ImenaOpredeleniy(const std::vector<std::string>& stroki) {
    std::vector<std::string> imena;
    std::set<std::string> uzhe;
    for (const std::string& s : stroki) {
        if (Obrezat(s).empty()) continue;
        const TChastiStroki c = RazdelitStroku(s);
        const std::string imya =
            c.bezRavno ? ImyaPoUmolchaniyu : s.substr(c.imyaNachalo, c.imyaDlina);
        if (uzhe.insert(imya).second) imena.push_back(imya);
    }
    return imena;
}

int VichislitNeskolko(TDvigatel& dvigatel, const TZadanieNeskolkih& z) {
    std::vector<TAnsiString> stroki1251;
    for (const std::string& s : z.stroki) stroki1251.push_back(Utf8VAnsi(s));
    TUzhe soobsheniya, preduprezhdeniya;
    int kod = 0;
    for (const std::string& imya : z.imena) {
        TOknoOdnogoIzNeskolkih okno(stroki1251, Utf8VAnsi(imya), z.osnovanie, z.razryadi, z.mesto,
                                    soobsheniya);
        dvigatel.Vichislit(okno);
        ZavershitZhurnal();
        if (dvigatel.ZapuskNeSostoyalsya()) {
            std::fputs("ciframer-cli: cannot start the calculation thread\n", stderr);
            return 1;
        }
        TIshod ishod = dvigatel.Ishod();
        const bool estPreduprezhdeniya = !ishod.Preduprezhdeniya.empty();
        std::erase_if(ishod.Preduprezhdeniya, [&](const TPreduprezhdenie& p) {
            return !preduprezhdeniya.emplace(p.Stroka, p.Tekst.ToStd()).second;
        });
        if (z.preduprezhdeniya) NapisatPreduprezhdeniya(ishod, z.mesto);
        if (CalcCancelled.load() != 0 && !okno.EstZnachenie()) return 130;
        if (!okno.EstZnachenie() || (z.strogo && estPreduprezhdeniya)) {
            kod = 1;
            continue;
        }
        const std::string stroka = imya + " = " + Cp1251VUtf8(okno.Znachenie().ToStd()) + "\n";
        std::fwrite(stroka.data(), 1, stroka.size(), stdout);
        std::fflush(stdout);
    }
    return kod;
}
