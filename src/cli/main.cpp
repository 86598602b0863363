// ciframer-cli: the calculator on the command line. Reads the definitions
// (a file, standard input, or -e lines), computes one variable on a thread
// with a large stack, prints the result on stdout and every message on
// stderr, located as a compiler locates them ("FILE:LINE: text"), and the
// warnings of the run after it.
//
// Exit status: 0 result printed, 1 no result (or, with --strict, a warning),
// 2 usage error, 130 stopped by Ctrl+C; 1 also when the output cannot be
// written (a closed pipe ends quietly).
#include <algorithm>
#include <csignal>
#include <unistd.h>
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "cli/neskolko.h"
#include "cli/okno_cli.h"
#include "cli/papka_kesha.h"
#include "cli/parametri.h"
#include "cli/sessiya.h"
#include "cli/vivod.h"
#include "eval/dvigatel.h"
#include "platform/platforma.h"
#include "text/kodirovka.h"
#include "text/kodirovka_ansi.h"

namespace {

constexpr int KOD_GOTOVO = 0;
constexpr int KOD_NET_REZULTATA = 1;
constexpr int KOD_ISPOLZOVANIE = 2;
constexpr int KOD_OSTANOVLENO = 130;

const char* const KRATKOE_ISPOLZOVANIE =
    "usage: ciframer-cli [-r N] [-d N] [-a deg|rad|grad] [-n NAME]... [--all] [--log]\n"
    "                    [-w | --strict] [-i] [--cache DIR] [-e TEXT]... [FILE]\n"
    "       ciframer-cli --help\n";

void NaSignal(int) {
    // A byte store on a lock-free atomic is safe in a signal handler. The
    // handler is reset by the system, so a second Ctrl+C ends the program.
    CalcCancelled.store(1, std::memory_order_relaxed);
}

int OshibkaIspolzovaniya(const std::string& chto) {
    std::fprintf(stderr, "ciframer-cli: %s\n%s", chto.c_str(), KRATKOE_ISPOLZOVANIE);
    return KOD_ISPOLZOVANIE;
}

// Ctrl+C asks the calculation to stop.
void UstanovitOstanovkuPoSignalu() {
    struct sigaction deystvie {};
    deystvie.sa_handler = &NaSignal;
    deystvie.sa_flags = SA_RESETHAND;
    sigemptyset(&deystvie.sa_mask);
    sigaction(SIGINT, &deystvie, nullptr);
}

// What the command line reads at most: the lines the variable table holds,
// and no more bytes than this.
constexpr std::size_t PREDEL_STROK = 65536;
constexpr std::size_t PREDEL_BAITOV = std::size_t(256) << 20;

enum class Chtenie { Gotovo, Oshibka, MnogoStrok, MnogoBaitov };

// The stream into tekst, stopping as soon as it holds a line beyond
// PREDEL_STROK or grows beyond PREDEL_BAITOV (the rest is never read). A
// read error (a directory given as FILE or as standard input) fails here
// rather than reading as empty.
Chtenie Vsyo(std::FILE* vhod, std::string& tekst) {
    char bufer[65536];
    std::size_t n;
    std::size_t perevodov = 0; // line feeds so far
    while ((n = std::fread(bufer, 1, sizeof bufer, vhod)) > 0) {
        for (std::size_t i = 0; i < n; ++i) {
            // A byte after the last line feed the table allows opens a line
            // it has no record for.
            if (perevodov == PREDEL_STROK) return Chtenie::MnogoStrok;
            if (bufer[i] == '\n') ++perevodov;
        }
        if (tekst.size() + n > PREDEL_BAITOV) return Chtenie::MnogoBaitov;
        tekst.append(bufer, n);
    }
    return std::ferror(vhod) == 0 ? Chtenie::Gotovo : Chtenie::Oshibka;
}

// The usage error for a text that could not be taken whole; 0 when it was.
int OshibkaChteniya(Chtenie chtenie, const std::string& chto) {
    switch (chtenie) {
    case Chtenie::Gotovo:
        return 0;
    case Chtenie::Oshibka:
        return OshibkaIspolzovaniya("cannot read " + chto);
    case Chtenie::MnogoStrok:
        return OshibkaIspolzovaniya(chto + " holds more than 65536 lines");
    case Chtenie::MnogoBaitov:
        return OshibkaIspolzovaniya(chto + " is larger than 256 MiB");
    }
    return 0;
}

// A NUL byte would cut its line short without a word: the input is refused,
// naming the first line that holds one.
int ProveritNul(const std::string& tekst, const std::string& chto) {
    const std::size_t nul = tekst.find('\0');
    if (nul == std::string::npos) return 0;
    const auto stroka = 1 + std::count(tekst.begin(), tekst.begin() + std::ptrdiff_t(nul), '\n');
    return OshibkaIspolzovaniya(chto + ": line " + std::to_string(stroka) + " holds a NUL byte");
}

} // namespace

namespace {

// The program itself; main guards it.
// --help: the options, then the exit statuses and the cache's place.
int PokazatSpravku(const TParametri& p) {
    std::fputs(TekstSpravki(p.programma).c_str(), stdout);
    std::fputs("\nExit status: 0 result printed, 1 no result (with --strict, also a\n"
               "warning, or output that cannot be written), 2 usage error, 130\n"
               "stopped by Ctrl+C. The constant cache is kept in --cache DIR, else in\n"
               "VelimathData/ of the current directory when it exists, else in\n"
               "$XDG_CACHE_HOME/ciframer/VelimathData (~/.cache/ciframer/VelimathData).\n",
               stdout);
    return KOD_GOTOVO;
}

// The settings and the combinations of options: the usage error's status,
// or 0 with the radix and digits taken and the angle unit set.
int ProveritParametri(const TParametri& p, int& osnovanie, int& razryadi) {
    if (!CeloeVDiapazone(p.osnovanie, 2, 36, osnovanie))
        return OshibkaIspolzovaniya("radix must be an integer from 2 to 36");
    if (!CeloeVDiapazone(p.razryadi, 0, 100, razryadi))
        return OshibkaIspolzovaniya("digits must be an integer from 0 to 100");
    TEdinicaUgla edinica{};
    if (!EdinicaUglaPoImeni(p.ugol, edinica))
        return OshibkaIspolzovaniya("angle unit must be deg, rad or grad");
    UstanovitEdinicuUgla(edinica);
    if (p.kesh && p.kesh->empty()) return OshibkaIspolzovaniya("--cache needs a folder");
    if (p.fayli.size() > 1) return OshibkaIspolzovaniya("at most one FILE");
    if (p.vse && !p.imena.empty()) return OshibkaIspolzovaniya("give either -n or --all, not both");
    if (!p.fayli.empty() && !p.viragheniya.empty())
        return OshibkaIspolzovaniya("give either FILE or -e, not both");
    return 0;
}

// The definitions (UTF-8) and where they came from, as messages name it
// (each -e is one line): the usage error's status, or 0.
int ProchitatOpredeleniya(const TParametri& p, bool sessiya, std::vector<std::string>& stroki,
                          std::string& mesto) {
    if (!p.viragheniya.empty() || (sessiya && p.fayli.empty())) {
        stroki = p.viragheniya;
        mesto = "-e";
        return 0;
    }
    std::string tekst;
    std::string chto = "standard input";
    Chtenie chtenie = Chtenie::Gotovo;
    if (p.fayli.empty()) {
        chtenie = Vsyo(stdin, tekst);
    } else {
        chto = p.fayli.front();
        std::FILE* fayl = std::fopen(chto.c_str(), "rb");
        chtenie = fayl != nullptr ? Vsyo(fayl, tekst) : Chtenie::Oshibka;
        if (fayl != nullptr) std::fclose(fayl);
    }
    if (const int kod = OshibkaChteniya(chtenie, chto)) return kod;
    if (const int kod = ProveritNul(tekst, chto)) return kod;
    if (tekst.starts_with("\xEF\xBB\xBF")) tekst.erase(0, 3); // a UTF-8 byte order mark
    stroki = RazbitNaStroki(tekst);
    mesto = p.fayli.empty() ? "<stdin>" : p.fayli.front();
    return 0;
}

// One variable computed and printed bare, as the command line always has.
int VichislitOdnu(const TParametri& p, std::vector<std::string> stroki, const std::string& mesto,
                  int osnovanie, int razryadi) {
    // Windows-1251 from here on; a character it lacks is kept apart, so that
    // the engine refuses a name holding one.
    std::vector<TAnsiString> stroki1251;
    stroki1251.reserve(stroki.size());
    for (const std::string& s : stroki) stroki1251.push_back(Utf8VAnsi(s));
    stroki.clear();
    TOknoKomandnoyStroki okno(std::move(stroki1251), Utf8VAnsi(p.imya), osnovanie, razryadi, mesto);
    bool zapushen = false, ostanovleno = false;
    TIshod ishod;
    {
        // The literal tables follow the user's decimal separator (read once;
        // the numeric locale itself stays "C"); the cache is read here and
        // written when the engine goes.
        TDvigatel dvigatel(PapkaKeshaKomandnoyStroki(p.kesh));
        PodklyuchitStderr(p.zhurnal);
        UstanovitOstanovkuPoSignalu();
        dvigatel.Vichislit(okno);
        zapushen = !dvigatel.ZapuskNeSostoyalsya();
        ZavershitZhurnal();
        ishod = dvigatel.Ishod();
        ostanovleno = CalcCancelled.load() != 0;
    }
    if (!zapushen) {
        std::fputs("ciframer-cli: cannot start the calculation thread\n", stderr);
        return KOD_NET_REZULTATA;
    }
    if (!p.bezPreduprezhdeniy) NapisatPreduprezhdeniya(ishod, mesto);
    if (!okno.EstZnachenie()) return ostanovleno ? KOD_OSTANOVLENO : KOD_NET_REZULTATA;
    // --strict: a value the input did not mean literally is no result.
    if (p.strogo && !ishod.Preduprezhdeniya.empty()) return KOD_NET_REZULTATA;
    const std::string rezultat = Cp1251VUtf8(okno.Znachenie().ToStd()) + "\n";
    std::fwrite(rezultat.data(), 1, rezultat.size(), stdout);
    return KOD_GOTOVO;
}

int Zapusk(int argc, char** argv) {
    const TParametri p = RazobratParametri(argc, argv);
    if (!p.oshibka.empty()) return OshibkaIspolzovaniya(p.oshibka);
    if (p.spravka) return PokazatSpravku(p);
    if (p.versiya) {
        std::printf("ciframer-cli %s\n", CIFRAMER_VERSION);
        return KOD_GOTOVO;
    }
    int osnovanie = 10, razryadi = 100;
    if (const int kod = ProveritParametri(p, osnovanie, razryadi)) return kod;

    // A session when asked for, or when the definitions would come from a
    // terminal; a pipe or a file keeps the batch run.
    const bool sessiya =
        p.sessiya || (p.fayli.empty() && p.viragheniya.empty() && isatty(STDIN_FILENO) == 1);
    if (sessiya && !SessiyaDostupna())
        return OshibkaIspolzovaniya("the interactive session is not available in this build");
    std::vector<std::string> stroki;
    std::string mesto;
    if (const int kod = ProchitatOpredeleniya(p, sessiya, stroki, mesto)) return kod;

    if (sessiya) {
        TDvigatel dvigatel(PapkaKeshaKomandnoyStroki(p.kesh));
        PodklyuchitStderr(p.zhurnal);
        return ZapustitSessiyu(dvigatel, stroki, osnovanie, razryadi, p.zhurnal,
                               !p.bezPreduprezhdeniy);
    }
    if (p.vse || p.imena.size() > 1) {
        const TZadanieNeskolkih z{stroki,    p.vse ? ImenaOpredeleniy(stroki) : p.imena,
                                  osnovanie, razryadi,
                                  mesto,     !p.bezPreduprezhdeniy,
                                  p.strogo};
        // The same cache folder as a single run's.
        TDvigatel dvigatel(PapkaKeshaKomandnoyStroki(p.kesh));
        PodklyuchitStderr(p.zhurnal);
        UstanovitOstanovkuPoSignalu();
        return VichislitNeskolko(dvigatel, z);
    }
    return VichislitOdnu(p, std::move(stroki), mesto, osnovanie, razryadi);
}

} // namespace

int main(int argc, char** argv) {
    // The calculation thread turns its own exceptions into messages; this
    // catches what the reading and splitting of the input may throw.
    int kod = KOD_NET_REZULTATA;
    try {
        kod = Zapusk(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs("ciframer-cli: out of memory\n", stderr);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ciframer-cli: %s\n", e.what());
    }
    return ZavershitVivod(kod);
}
