#include "cli/okno_cli.h"

#include <cstdio>
#include <mutex>

#include "platform/platforma.h"
#include "text/kodirovka.h"

TOknoKomandnoyStroki::TOknoKomandnoyStroki(std::vector<TAnsiString> stroki, TAnsiString imya,
                                           std::int32_t osnovanie, std::int32_t razryadi,
                                           std::string mesto)
    : stroki_(std::move(stroki)), imya_(std::move(imya)), osnovanie_(osnovanie),
      razryadi_(razryadi), mesto_(std::move(mesto)) {}

void TOknoKomandnoyStroki::UstanovitZnachenie(const TAnsiString& text) {
    znachenie_ = text;
    estZnachenie_ = true;
}

std::vector<std::string> RazbitNaStroki(const std::string& tekst) {
    std::vector<std::string> stroki;
    std::size_t nachalo = 0;
    while (nachalo < tekst.size()) {
        std::size_t konec = tekst.find('\n', nachalo);
        const std::size_t sleduyushiy = konec == std::string::npos ? tekst.size() : konec + 1;
        if (konec == std::string::npos) konec = tekst.size();
        std::size_t dlina = konec - nachalo;
        if (dlina > 0 && tekst[nachalo + dlina - 1] == '\r') --dlina;
        stroki.emplace_back(tekst, nachalo, dlina);
        nachalo = sleduyushiy;
    }
    return stroki;
}

namespace {

std::mutex zamokVivoda;
bool strokaZhurnalaOtkrita = false; // the last log text did not end a line

void Napisat(const std::string& s) {
    std::fwrite(s.data(), 1, s.size(), stderr);
}

void ZakritStroku() {
    if (strokaZhurnalaOtkrita) Napisat("\n");
    strokaZhurnalaOtkrita = false;
}

// One whole line of stderr (UTF-8, its line feed included), never inside
// an open log line.
void NapisatStroku(const std::string& stroka) {
    std::lock_guard<std::mutex> l(zamokVivoda);
    ZakritStroku();
    Napisat(stroka);
    std::fflush(stderr);
}

void Soobshenie(const TAnsiString& text) {
    NapisatStroku(Cp1251VUtf8(text.ToStd()) + "\n");
}

// "mesto:N: " for a line of a named input; empty otherwise.
std::string Mesto(const std::string& mesto, std::int32_t stroka) {
    if (mesto.empty() || stroka <= 0) return {};
    return mesto + ":" + std::to_string(stroka) + ": ";
}

void Zhurnal(const TAnsiString& text) {
    const std::string s = Cp1251VUtf8(text.ToStd());
    std::string vivod;
    vivod.reserve(s.size());
    std::lock_guard<std::mutex> l(zamokVivoda);
    for (char c : s) {
        if (c == '\r') continue;
        if (c == '\n') {
            // Each entry starts a line; never an empty one (nor at the top).
            if (strokaZhurnalaOtkrita) vivod += '\n';
            strokaZhurnalaOtkrita = false;
            continue;
        }
        vivod += c;
        strokaZhurnalaOtkrita = true;
    }
    Napisat(vivod);
}

} // namespace

void TOknoKomandnoyStroki::Soobshit(const TSoobshenie& soobshenie) {
    NapisatStroku(Mesto(mesto_, soobshenie.Stroka) + Cp1251VUtf8(soobshenie.Tekst.ToStd()) + "\n");
}

void NapisatPreduprezhdeniya(const TIshod& ishod, const std::string& mesto) {
    for (const TPreduprezhdenie& p : ishod.Preduprezhdeniya)
        NapisatStroku(Mesto(mesto, p.Stroka) + "предупреждение: " + Cp1251VUtf8(p.Tekst.ToStd()) +
                      "\n");
}

void PodklyuchitStderr(bool sZhurnalom) {
    UstanovitObrabotchikOshibki(&Soobshenie);
    if (sZhurnalom) UstanovitPriemnikSostoyaniya(&Zhurnal);
}

void ZavershitZhurnal() {
    std::lock_guard<std::mutex> l(zamokVivoda);
    ZakritStroku();
    std::fflush(stderr);
}
