#include "cli/sessiya.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cli/istoriya.h"
#include "cli/sessiya_stroki.h"
#include "cli/tsessiya.h"
#include "cli/vvod.h"
#include "eval/yazik.h"
#include "platform/platforma.h"

#ifdef CIFRAMER_LIBEDIT
#include <editline/readline.h>
#endif

namespace {

#ifdef CIFRAMER_LIBEDIT
volatile std::sig_atomic_t preryvanie = 0;

void NaSignal(int) {
    CalcCancelled.store(1, std::memory_order_relaxed);
    preryvanie = 1;
}

TSessiya* tekushaya = nullptr;

// True when only blanks stand before the word being completed: a ":"
// there opens a command.
bool NachaloStroki(int nachalo) {
    for (int i = 0; i < nachalo; ++i)
        if (rl_line_buffer[i] != ' ' && rl_line_buffer[i] != '\t') return false;
    return true;
}

// Tab: at the start of a line after ":", the commands; else the function
// names, then the names defined so far and ans, that begin with the text
// before the cursor.
std::vector<std::string> Varianti(const char* tekst, int nachalo) {
    std::vector<std::string> varianti;
    const std::size_t n = std::strlen(tekst);
    if (tekst[0] == ':') {
        if (NachaloStroki(nachalo))
            for (const std::string& k : KomandiSessii())
                if (k.compare(0, n, tekst) == 0) varianti.push_back(k);
        return varianti;
    }
    for (const TOpisanieFunkcii& f : OpisaniyaFunkciy())
        if (std::strncmp(f.imya, tekst, n) == 0) varianti.emplace_back(f.imya);
    for (const TOpredelenie& o : tekushaya->Opredeleniya())
        if (o.imya.compare(0, n, tekst) == 0) varianti.push_back(o.imya);
    if (tekushaya->EstOtvet() && std::strncmp(ImyaOtveta, tekst, n) == 0)
        varianti.emplace_back(ImyaOtveta);
    return varianti;
}

int nachaloSlova = 0;

char* Variant(const char* tekst, int nomer) {
    static std::vector<std::string> varianti;
    static std::size_t sleduyushiy;
    if (nomer == 0) {
        varianti =
            tekushaya != nullptr ? Varianti(tekst, nachaloSlova) : std::vector<std::string>();
        sleduyushiy = 0;
    }
    if (sleduyushiy >= varianti.size()) return nullptr;
    return strdup(varianti[sleduyushiy++].c_str());
}

char** Dopolnenie(const char* tekst, int nachalo, int) {
    rl_attempted_completion_over = 1;
    nachaloSlova = nachalo;
    return rl_completion_matches(tekst, &Variant);
}

// The editor reads filtered characters; Ctrl+C gives up the read (no
// restart), so that the prompt gives up its line; both for the whole
// session. The history of earlier sessions is offered by Up.
void NastroitRedaktor(TSessiya& sessiya, const std::vector<std::string>& istoriya) {
    tekushaya = &sessiya;
    rl_attempted_completion_function = &Dopolnenie;
    rl_getc_function = &ProchitatSimvol;
    struct sigaction deystvie {};
    deystvie.sa_handler = &NaSignal;
    sigemptyset(&deystvie.sa_mask);
    sigaction(SIGINT, &deystvie, nullptr);
    for (const std::string& s : istoriya) add_history(s.c_str());
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
    for (const std::string& s : stroki) sessiya.Dobavit(s);
#ifdef CIFRAMER_LIBEDIT
    // Only what a user types is kept across sessions, not a piped input.
    TIstoriya istoriya(isatty(STDIN_FILENO) == 1 ? PutIstorii() : std::string());
    NastroitRedaktor(sessiya, istoriya.Prochitat());
    std::fputs("Цифрамер: one definition a line; :help for the commands, Ctrl+D to end.\n", stdout);
    for (;;) {
        preryvanie = 0;
        char* stroka = readline("> ");
        if (stroka == nullptr) {
            std::fputs("\n", stdout);
            if (preryvanie) continue;
            break;
        }
        const std::string s = stroka;
        std::free(stroka);
        if (preryvanie) continue; // Ctrl+C at the prompt: the line is dropped
        if (!Obrezat(s).empty()) {
            add_history(s.c_str());
            istoriya.Dobavit(s);
        }
        if (!sessiya.Stroka(s)) break;
    }
    tekushaya = nullptr;
#endif
    return 0;
}
