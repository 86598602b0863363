#include "cli/okno_cli.h"

#include <cstdio>
#include <mutex>

#include "platform/platforma.h"

TOknoKomandnoyStroki::TOknoKomandnoyStroki(std::vector<TAnsiString> stroki, TAnsiString imya,
                                           std::int32_t osnovanie, std::int32_t razryadi)
    : stroki_(std::move(stroki)), imya_(std::move(imya)), osnovanie_(osnovanie),
      razryadi_(razryadi) {}

void TOknoKomandnoyStroki::UstanovitZnachenie(const TAnsiString& text) {
    znachenie_ = text;
    estZnachenie_ = true;
}

std::vector<TAnsiString> RazbitNaStroki(const std::string& tekst) {
    std::vector<TAnsiString> stroki;
    std::size_t nachalo = 0;
    while (nachalo < tekst.size()) {
        std::size_t konec = tekst.find('\n', nachalo);
        const std::size_t sleduyushiy = konec == std::string::npos ? tekst.size() : konec + 1;
        if (konec == std::string::npos) konec = tekst.size();
        std::size_t dlina = konec - nachalo;
        if (dlina > 0 && tekst[nachalo + dlina - 1] == '\r') --dlina;
        stroki.emplace_back(tekst.data() + nachalo, static_cast<int>(dlina));
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

void Soobshenie(const TAnsiString& text) {
    std::lock_guard<std::mutex> l(zamokVivoda);
    ZakritStroku();
    Napisat(Cp1251VUtf8(text.ToStd()) + "\n");
    std::fflush(stderr);
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

void PodklyuchitStderr(bool sZhurnalom) {
    UstanovitObrabotchikOshibki(&Soobshenie);
    if (sZhurnalom) UstanovitPriemnikSostoyaniya(&Zhurnal);
}

void ZavershitZhurnal() {
    std::lock_guard<std::mutex> l(zamokVivoda);
    ZakritStroku();
    std::fflush(stderr);
}
