#include "cli/sessiya.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cli/okno_cli.h"
#include "eval/dvigatel.h"
#include "eval/yazik.h"
#include "platform/platforma.h"
#include "text/kodirovka_ansi.h"

#ifdef CIFRAMER_LIBEDIT
#include <editline/readline.h>
#endif

namespace {

// The session's definitions: one line a name, in the order first defined.
struct TOpredelenie {
    std::string imya; // trimmed, UTF-8
    std::string stroka;
};

// The language's rules on UTF-8 text: "=" and the bytes they trim are the
// same in both encodings.
std::string Obrezat(const std::string& s) {
    return std::string(::Obrezat(s));
}

// The name a line defines, as the engine reads it.
std::string ImyaStroki(const std::string& s) {
    const TChastiStroki c = RazdelitStroku(s);
    return c.bezRavno ? ImyaPoUmolchaniyu : s.substr(c.imyaNachalo, c.imyaDlina);
}

const char* const SPRAVKA =
    "Each line is a definition 'name = expression' (a line without \"=\" defines y);\n"
    "a name defined again is replaced. The line's name is computed at once.\n"
    ":radix N  :digits N  :angle deg|rad|grad  :log  :list  :clear  :help  :quit\n"
    "Ctrl+C stops a calculation or clears the line; Ctrl+D ends the session.\n";

volatile std::sig_atomic_t preryvanie = 0;

void NaSignal(int) {
    CalcCancelled.store(1, std::memory_order_relaxed);
    preryvanie = 1;
}

class TSessiya {
  public:
    TSessiya(TDvigatel& d, std::int32_t osnovanie, std::int32_t razryadi, bool zhurnal,
             bool preduprezhdeniya)
        : dvigatel_(d), osnovanie_(osnovanie), razryadi_(razryadi), zhurnal_(zhurnal),
          preduprezhdeniya_(preduprezhdeniya) {}
    // Adds or replaces the definition; returns the name it defines.
    std::string Opredelit(const std::string& s);
    // One line entered; false after :quit.
    bool Stroka(const std::string& s);
    std::vector<TOpredelenie> opredeleniya;

  private:
    void Vichislit(const std::string& imya);
    bool Komanda(const std::string& s);

    TDvigatel& dvigatel_;
    std::int32_t osnovanie_, razryadi_;
    bool zhurnal_;
    bool preduprezhdeniya_;
};

std::string TSessiya::Opredelit(const std::string& s) {
    const std::string imya = ImyaStroki(s);
    for (TOpredelenie& o : opredeleniya)
        if (o.imya == imya) {
            o.stroka = s;
            return imya;
        }
    opredeleniya.push_back({imya, s});
    return imya;
}

void TSessiya::Vichislit(const std::string& imya) {
    std::vector<TAnsiString> stroki;
    for (const TOpredelenie& o : opredeleniya) stroki.push_back(Utf8VAnsi(o.stroka));
    // No location: the session's lines are numbered in the order first
    // defined, which is no order the user sees.
    TOknoKomandnoyStroki okno(std::move(stroki), Utf8VAnsi(imya), osnovanie_, razryadi_);
    dvigatel_.Vichislit(okno);
    ZavershitZhurnal();
    preryvanie = 0;
    if (okno.EstZnachenie())
        std::printf("%s = %s\n", imya.c_str(), Cp1251VUtf8(okno.Znachenie().ToStd()).c_str());
    std::fflush(stdout);
    if (preduprezhdeniya_) NapisatPreduprezhdeniya(dvigatel_.Ishod(), std::string());
}

bool Chislo(const std::string& t, int ot, int do_, std::int32_t& n) {
    char* konec = nullptr;
    const long v = std::strtol(t.c_str(), &konec, 10);
    if (t.empty() || *konec != '\0' || v < ot || v > do_) return false;
    n = std::int32_t(v);
    return true;
}

bool TSessiya::Komanda(const std::string& s) {
    const std::size_t probel = s.find(' ');
    const std::string k = s.substr(0, probel);
    const std::string arg = probel == std::string::npos ? "" : Obrezat(s.substr(probel));
    if (k == ":quit" || k == ":q") return false;
    if (k == ":radix") {
        if (!Chislo(arg, 2, 36, osnovanie_))
            std::fputs("radix must be an integer from 2 to 36\n", stderr);
    } else if (k == ":digits") {
        if (!Chislo(arg, 0, 100, razryadi_))
            std::fputs("digits must be an integer from 0 to 100\n", stderr);
    } else if (k == ":angle") {
        if (arg == "rad")
            AngleUnit.store(0);
        else if (arg == "deg")
            AngleUnit.store(1);
        else if (arg == "grad")
            AngleUnit.store(2);
        else
            std::fputs("angle unit must be deg, rad or grad\n", stderr);
    } else if (k == ":log") {
        zhurnal_ = !zhurnal_;
        if (zhurnal_)
            PodklyuchitStderr(true);
        else
            UstanovitPriemnikSostoyaniya({});
        std::printf("log %s\n", zhurnal_ ? "on" : "off");
    } else if (k == ":list") {
        for (const TOpredelenie& o : opredeleniya) std::printf("%s\n", o.stroka.c_str());
    } else if (k == ":clear") {
        opredeleniya.clear();
    } else if (k == ":help") {
        std::fputs(SPRAVKA, stdout);
    } else {
        std::fprintf(stderr, "unknown command %s (:help lists them)\n", k.c_str());
    }
    std::fflush(stdout);
    return true;
}

bool TSessiya::Stroka(const std::string& vvod) {
    const std::string s = Obrezat(vvod);
    if (s.empty()) return true;
    if (s[0] == ':') return Komanda(s);
    Vichislit(Opredelit(s));
    return true;
}

#ifdef CIFRAMER_LIBEDIT
TSessiya* tekushaya = nullptr;

// Tab: the function names, then the names defined so far, that begin with
// the text before the cursor.
char* Variant(const char* tekst, int nomer) {
    static std::vector<std::string> varianti;
    static std::size_t sleduyushiy;
    if (nomer == 0) {
        varianti.clear();
        sleduyushiy = 0;
        const std::size_t n = std::strlen(tekst);
        for (const TOpisanieFunkcii& f : OpisaniyaFunkciy())
            if (std::strncmp(f.imya, tekst, n) == 0) varianti.emplace_back(f.imya);
        if (tekushaya != nullptr)
            for (const TOpredelenie& o : tekushaya->opredeleniya)
                if (o.imya.compare(0, n, tekst) == 0) varianti.push_back(o.imya);
    }
    if (sleduyushiy >= varianti.size()) return nullptr;
    return strdup(varianti[sleduyushiy++].c_str());
}

char** Dopolnenie(const char* tekst, int, int) {
    rl_attempted_completion_over = 1;
    return rl_completion_matches(tekst, &Variant);
}
#endif

} // namespace

bool SessiyaDostupna() {
#ifdef CIFRAMER_LIBEDIT
    return true;
#else
    return false;
#endif
}

int ZapustitSessiyu(TDvigatel& dvigatel, const std::vector<std::string>& stroki,
                    std::int32_t osnovanie, std::int32_t razryadi, bool zhurnal,
                    bool preduprezhdeniya) {
    TSessiya sessiya(dvigatel, osnovanie, razryadi, zhurnal, preduprezhdeniya);
    for (const std::string& s : stroki) sessiya.Opredelit(Obrezat(s));
#ifdef CIFRAMER_LIBEDIT
    tekushaya = &sessiya;
    rl_attempted_completion_function = &Dopolnenie;
    // Ctrl+C: no restart of the interrupted read, so that the prompt
    // gives up its line; the handler stays for the whole session.
    struct sigaction deystvie {};
    deystvie.sa_handler = &NaSignal;
    sigemptyset(&deystvie.sa_mask);
    sigaction(SIGINT, &deystvie, nullptr);
    std::fputs("Цифрамер: one definition a line; :help for the commands, Ctrl+D to end.\n", stdout);
    for (;;) {
        preryvanie = 0;
        char* stroka = readline("> ");
        if (stroka == nullptr) {
            if (preryvanie) {
                std::fputs("\n", stdout);
                continue;
            }
            std::fputs("\n", stdout);
            break;
        }
        const std::string s = stroka;
        std::free(stroka);
        if (preryvanie) continue; // Ctrl+C at the prompt: the line is dropped
        if (!Obrezat(s).empty()) add_history(s.c_str());
        if (!sessiya.Stroka(s)) break;
    }
    tekushaya = nullptr;
#endif
    return 0;
}
