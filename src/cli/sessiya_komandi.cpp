// The session's ":" commands: the settings, the list of definitions, help.
#include <cstdio>
#include <cstdlib>

#include "cli/okno_cli.h"
#include "cli/parametri.h"
#include "cli/tsessiya.h"
#include "eval/yazik.h"
#include "eval/nastroyki.h"
#include "platform/platforma.h"

namespace {

const char* const SPRAVKA =
    "Each line is a definition 'name = expression' (a line without \"=\" defines y);\n"
    "a name defined again is replaced, unless the new line fails. The line's name\n"
    "is computed at once. A literal keeps the radix it was typed in. ans is the\n"
    "last result; in a line without \"=\", y is the value y had before it.\n"
    ":radix N  :digits N  :angle deg|rad|grad  :log  :show  :list  :clear  :help  :quit\n"
    "Without N or a unit, a setting command shows the settings; a command may be\n"
    "shortened (:l is :list). Tab completes names, functions and commands.\n"
    "Ctrl+C stops a calculation or clears the line; Ctrl+D ends the session.\n";

bool Chislo(const std::string& t, int ot, int do_, std::int32_t& n) {
    char* konec = nullptr;
    const long v = std::strtol(t.c_str(), &konec, 10);
    if (t.empty() || *konec != '\0' || v < ot || v > do_) return false;
    n = std::int32_t(v);
    return true;
}

const char* Ugol() {
    return ImyaEdiniciUgla(EdinicaUgla());
}

// The command a word names: itself, or the first command it begins.
std::string PolnayaKomanda(const std::string& slovo) {
    for (const std::string& k : KomandiSessii())
        if (k.compare(0, slovo.size(), slovo) == 0) return k;
    return {};
}

} // namespace

const std::vector<std::string>& KomandiSessii() {
    static const std::vector<std::string> komandi = {
        ":help", ":list", ":log", ":quit", ":radix", ":digits", ":angle", ":show", ":clear"};
    return komandi;
}

std::string TSessiya::Nastroyki() const {
    return "radix " + std::to_string(osnovanie_) + ", digits " + std::to_string(razryadi_) +
           ", angle " + Ugol() + ", log " + (zhurnal_ ? "on" : "off");
}

// A setting changed to arg, the new value printed; an argument it cannot
// take leaves the setting as it was.
void TSessiya::Ustanovit(const std::string& k, const std::string& arg) {
    if (k == ":radix") {
        if (!Chislo(arg, 2, 36, osnovanie_))
            std::fputs("radix must be an integer from 2 to 36\n", stderr);
        else
            std::printf("radix %d\n", int(osnovanie_));
    } else if (k == ":digits") {
        if (!Chislo(arg, 0, 100, razryadi_))
            std::fputs("digits must be an integer from 0 to 100\n", stderr);
        else
            std::printf("digits %d\n", int(razryadi_));
    } else if (k == ":angle") {
        TEdinicaUgla edinica{};
        if (!EdinicaUglaPoImeni(arg, edinica)) {
            std::fputs("angle unit must be deg, rad or grad\n", stderr);
            return;
        }
        UstanovitEdinicuUgla(edinica);
        std::printf("angle %s\n", Ugol());
    }
}

bool TSessiya::Komanda(const std::string& s) {
    const std::size_t probel = s.find_first_of(" \t");
    const std::string slovo = s.substr(0, probel);
    const std::string arg =
        probel == std::string::npos ? "" : std::string(Obrezat(s.substr(probel)));
    const std::string k = slovo.size() > 1 ? PolnayaKomanda(slovo) : std::string();
    if (k == ":quit") return false;
    if (k == ":show" || ((k == ":radix" || k == ":digits" || k == ":angle") && arg.empty())) {
        std::printf("%s\n", Nastroyki().c_str());
    } else if (k == ":radix" || k == ":digits" || k == ":angle") {
        Ustanovit(k, arg);
    } else if (k == ":log") {
        zhurnal_ = !zhurnal_;
        if (zhurnal_)
            PodklyuchitStderr(true);
        else
            UstanovitPriemnikSostoyaniya({});
        std::printf("log %s\n", zhurnal_ ? "on" : "off");
    } else if (k == ":list") {
        for (const TOpredelenie& o : opredeleniya_) std::printf("%s\n", o.stroka.c_str());
    } else if (k == ":clear") {
        opredeleniya_.clear();
    } else if (k == ":help") {
        std::fputs(SPRAVKA, stdout);
    } else {
        std::fprintf(stderr, "unknown command %s (:help lists them)\n", slovo.c_str());
    }
    std::fflush(stdout);
    return true;
}
