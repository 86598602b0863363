#include "cli/parametri.h"

#include <getopt.h>

#include <cstring>

#include "text/kodirovka.h"

namespace {

constexpr int O_LOG = 1000;
constexpr int O_VERSION = 1001;
constexpr int O_STRICT = 1002;
constexpr int O_CACHE = 1003;
constexpr int O_ALL = 1004;

const option DLINNIE[] = {
    {"radix", required_argument, nullptr, 'r'}, {"digits", required_argument, nullptr, 'd'},
    {"angle", required_argument, nullptr, 'a'}, {"name", required_argument, nullptr, 'n'},
    {"log", no_argument, nullptr, O_LOG},       {"expr", required_argument, nullptr, 'e'},
    {"help", no_argument, nullptr, 'h'},        {"version", no_argument, nullptr, O_VERSION},
    {"interactive", no_argument, nullptr, 'i'}, {"no-warnings", no_argument, nullptr, 'w'},
    {"strict", no_argument, nullptr, O_STRICT}, {"cache", required_argument, nullptr, O_CACHE},
    {"all", no_argument, nullptr, O_ALL},       {nullptr, 0, nullptr, 0}};
// "-": arguments that are no option come back in order (code 1), whatever
// POSIXLY_CORRECT says; ":": a missing value is told apart from an unknown
// option.
const char KOROTKIE[] = "-:r:d:a:n:e:hiw";

bool SZnacheniem(int kod) {
    return kod == 'r' || kod == 'd' || kod == 'a' || kod == 'n' || kod == 'e' || kod == O_CACHE;
}

// The option a long argument names: its full name or its one-letter name;
// 0 for any other text (getopt_long would also take a shortened name).
int KodDlinnogo(const std::string& imya) {
    for (const option* o = DLINNIE; o->name != nullptr; ++o) {
        if (imya == o->name) return o->val;
        if (o->val < 128 && imya.size() == 1 && imya[0] == char(o->val)) return o->val;
    }
    return 0;
}

// Arguments that the window toolkit of the earlier program took for itself
// (a script debugger's port) are still taken out, so that a command line
// means what it meant: "-qmljsdebugger=X", and "-qmljsdebugger X" when
// something follows it, with one or two dashes, anywhere after argv[0].
std::vector<std::string> BezArgumentovOtladchika(int argc, char** argv) {
    std::vector<std::string> a;
    for (int i = 0; i < argc; ++i) {
        if (argv[i] == nullptr) continue;
        const char* s = argv[i];
        if (i > 0 && s[0] == '-') {
            if (s[1] == '-') ++s;
            if (std::strncmp(s, "-qmljsdebugger=", 15) == 0) continue;
            if (std::strcmp(s, "-qmljsdebugger") == 0 && i < argc - 1) {
                ++i;
                continue;
            }
        }
        a.emplace_back(argv[i]);
    }
    return a;
}

// The names under which a run of bytes 0x80..0xFF in a group of short
// options is reported: one per character, a character beyond U+FFFF as two
// "?", a byte that starts no character as U+FFFD.
void ImenaBaitov(const std::string& bayti, std::vector<std::string>& imena) {
    std::size_t i = 0;
    while (i < bayti.size()) {
        char32_t u = 0;
        const std::size_t n = DekodirovatUtf8(bayti, i, &u);
        std::string imya;
        if (n == 0) {
            DobavitUtf8(imya, 0xFFFD);
            ++i;
        } else if (u > 0xFFFF) {
            imena.push_back("?");
            imya.push_back('?');
            i += n;
        } else {
            DobavitUtf8(imya, u);
            i += n;
        }
        imena.push_back(imya);
    }
}

class TRazbor {
  public:
    TRazbor(std::vector<std::string> argumenti, TParametri& p) : a_(std::move(argumenti)), p_(p) {
        for (std::string& s : a_) uk_.push_back(s.data());
        uk_.push_back(nullptr);
    }
    void Vipolnit();

  private:
    void Znachenie(int kod, const std::string& znachenie);
    void Dlinniy(int kod, int element);
    void Korotkiy(int kod, int element, std::size_t pos, bool& propustit);
    int Argc() const { return int(a_.size()); }

    std::vector<std::string> a_;
    std::vector<char*> uk_;
    TParametri& p_;
    std::vector<std::string> neizvestnie_;
    std::string oshibka_; // the last missing or unexpected value
    std::size_t propustitBaitov_ = 0;
};

void TRazbor::Znachenie(int kod, const std::string& z) {
    // A folder's name is bytes: it is used as given.
    if (kod == O_CACHE) p_.kesh = z;
    const std::string v = IspravitUtf8(z);
    switch (kod) {
    case 'r':
        p_.osnovanie = v;
        break;
    case 'd':
        p_.razryadi = v;
        break;
    case 'a':
        p_.ugol = v;
        break;
    case 'n':
        p_.imya = v;
        p_.imena.push_back(v);
        break;
    case 'e':
        p_.viragheniya.push_back(v);
        break;
    default:
        break;
    }
}

void Flag(TParametri& p, int kod) {
    if (kod == 'h') p.spravka = true;
    if (kod == 'i') p.sessiya = true;
    if (kod == 'w') p.bezPreduprezhdeniy = true;
    if (kod == O_STRICT) p.strogo = true;
    if (kod == O_LOG) p.zhurnal = true;
    if (kod == O_VERSION) p.versiya = true;
    if (kod == O_ALL) p.vse = true;
}

// getopt_long has read the long option a_[element] (and, when it took one,
// the value after it); kod is what it returned.
void TRazbor::Dlinniy(int kod, int element) {
    const std::string& s = a_[element];
    const std::size_t ravno = s.find('=');
    const std::string imya =
        s.substr(2, ravno == std::string::npos ? std::string::npos : ravno - 2);
    const int nash = KodDlinnogo(imya);
    if (nash == 0) {
        neizvestnie_.push_back(IspravitUtf8(imya));
        // A shortened name took the next argument as its value: it is an
        // argument of its own.
        if (kod != '?' && kod != ':' && ravno == std::string::npos && SZnacheniem(kod))
            optind = element + 1;
        return;
    }
    if (!SZnacheniem(nash)) {
        if (ravno != std::string::npos)
            oshibka_ = "Unexpected value after '" + IspravitUtf8(s.substr(0, ravno)) + "'.";
        else
            Flag(p_, nash);
        return;
    }
    if (ravno != std::string::npos)
        Znachenie(nash, s.substr(ravno + 1));
    else if (kod == ':')
        oshibka_ = "Missing value after '" + IspravitUtf8(s) + "'.";
    else
        Znachenie(nash, optarg);
}

// getopt_long has read the short option at a_[element][pos].
void TRazbor::Korotkiy(int kod, int element, std::size_t pos, bool& propustit) {
    const std::string& s = a_[element];
    if (propustitBaitov_ > 0) {
        --propustitBaitov_;
        return;
    }
    if (kod == '?') {
        const auto b = static_cast<unsigned char>(s[pos]);
        if (b < 0x80) {
            neizvestnie_.push_back(std::string(1, char(b)));
            return;
        }
        std::size_t konec = pos;
        while (konec < s.size() && static_cast<unsigned char>(s[konec]) >= 0x80) ++konec;
        ImenaBaitov(s.substr(pos, konec - pos), neizvestnie_);
        propustitBaitov_ = konec - pos - 1;
        return;
    }
    if (kod == ':') {
        oshibka_ = "Missing value after '" + IspravitUtf8(s) + "'.";
        return;
    }
    if (!SZnacheniem(kod)) {
        // "-h=..." gives the flag a value it cannot take; the rest of the
        // argument is not read.
        if (pos + 1 < s.size() && s[pos + 1] == '=') {
            oshibka_ = "Unexpected value after '" + IspravitUtf8(s.substr(0, s.find('='))) + "'.";
            propustit = true;
        } else {
            Flag(p_, kod);
        }
        return;
    }
    if (pos + 1 < s.size()) {
        // The rest of the argument is the value, after one "=" if it opens
        // with one.
        Znachenie(kod, s.substr(s[pos + 1] == '=' ? pos + 2 : pos + 1));
    } else {
        Znachenie(kod, optarg);
    }
}

void TRazbor::Vipolnit() {
    opterr = 0;
    optind = 0;             // a fresh scan (glibc)
    int element = -1;       // the argument being read
    std::size_t pos = 0;    // in a group of short options, the option's place
    bool vnutri = false;    // getopt_long is inside a group of short options
    bool propustit = false; // the rest of the group is not read
    for (;;) {
        if (!vnutri) {
            element = optind == 0 ? 1 : optind;
            pos = 1;
            propustit = false;
            propustitBaitov_ = 0;
        }
        const bool dlinniy = !vnutri && element < Argc() && a_[element].starts_with("--");
        const int kod = getopt_long(Argc(), uk_.data(), KOROTKIE, DLINNIE, nullptr);
        if (kod == -1) break;
        if (kod == 1) {
            p_.fayli.push_back(IspravitUtf8(optarg));
            vnutri = false;
            continue;
        }
        if (dlinniy) {
            Dlinniy(kod, element);
            vnutri = false;
            continue;
        }
        if (!propustit) {
            Korotkiy(kod, element, pos, propustit);
        } else if (kod != '?' && kod != ':' && SZnacheniem(kod) && optind == element + 2) {
            optind = element + 1; // a value taken from the next argument is given back
        }
        vnutri = optind == element;
        ++pos;
    }
    for (int i = optind; i < Argc(); ++i) p_.fayli.push_back(IspravitUtf8(a_[i]));

    if (!oshibka_.empty()) {
        p_.oshibka = oshibka_;
    } else if (neizvestnie_.size() == 1) {
        p_.oshibka = "Unknown option '" + neizvestnie_.front() + "'.";
    } else if (neizvestnie_.size() > 1) {
        std::string spisok;
        for (const std::string& n : neizvestnie_) spisok += (spisok.empty() ? "" : ", ") + n;
        p_.oshibka = "Unknown options: " + spisok + ".";
    }
}

bool Probel(char32_t u) {
    return u == 0x20 || (u >= 0x09 && u <= 0x0D) || u == 0x85 || u == 0xA0 || u == 0x1680 ||
           (u >= 0x2000 && u <= 0x200A) || u == 0x2028 || u == 0x2029 || u == 0x202F ||
           u == 0x205F || u == 0x3000;
}

} // namespace

TParametri RazobratParametri(int argc, char** argv) {
    TParametri p;
    std::vector<std::string> a = BezArgumentovOtladchika(argc, argv);
    if (a.empty()) a.emplace_back();
    p.programma = IspravitUtf8(a.front());
    TRazbor(std::move(a), p).Vipolnit();
    return p;
}

std::string TekstSpravki(const std::string& programma) {
    return "Usage: " + programma +
           " [options] [FILE]\n"
           "Цифрамер on the command line: computes one variable of the definitions\n"
           "(one per line, 'name = expression') with 101 significant digits.\n"
           "Definitions come from FILE, from standard input, or from -e options.\n"
           "Messages and warnings go to stderr as FILE:LINE: text (<stdin>:LINE, -e:N).\n"
           "\n"
           "Options:\n"
           "  -r, --radix <N>     Radix of literals and of the result, 2..36.\n"
           "  -d, --digits <N>    Fraction digits shown, 0..100.\n"
           "  -a, --angle <UNIT>  Angle unit: deg, rad or grad.\n"
           "  -n, --name <NAME>   Variable to compute (repeatable: each printed as\n"
           "                      'name = value').\n"
           "  --all               Compute every defined name, in the order defined.\n"
           "  --log               Write the intermediate-results log to stderr.\n"
           "  -e, --expr <TEXT>   A definition line (instead of FILE; repeatable).\n"
           "  -w, --no-warnings   Do not print warnings.\n"
           "  --strict            Treat a warning as an error: no result, exit status 1.\n"
           "  -i, --interactive   Start an interactive session (the default on a\n"
           "                      terminal without FILE or -e).\n"
           "  --cache <DIR>       Keep the constant cache in DIR.\n"
           "  -h, --help          Show this help.\n"
           "  --version           Show the version.\n"
           "\n"
           "Arguments:\n"
           "  FILE                Definitions file (UTF-8); standard input when absent.\n";
}

bool CeloeVDiapazone(const std::string& tekst, int ot, int do_, int& znachenie) {
    // The code points, blanks dropped at both ends.
    std::u32string t;
    for (std::size_t i = 0; i < tekst.size();) {
        char32_t u = 0xFFFD;
        const std::size_t n = DekodirovatUtf8(tekst, i, &u);
        i += n == 0 ? 1 : n;
        t += n == 0 ? char32_t(0xFFFD) : u;
    }
    std::size_t nachalo = 0, konec = t.size();
    while (nachalo < konec && Probel(t[nachalo])) ++nachalo;
    while (konec > nachalo && Probel(t[konec - 1])) --konec;
    bool minus = false;
    if (nachalo < konec && (t[nachalo] == '+' || t[nachalo] == '-')) minus = t[nachalo++] == '-';
    if (nachalo == konec) return false;
    long long n = 0;
    for (std::size_t i = nachalo; i < konec; ++i) {
        if (t[i] < '0' || t[i] > '9') return false;
        n = n * 10 + (t[i] - '0');
        if (n > 1000000) n = 1000000; // far outside any range asked for
    }
    if (minus) n = -n;
    znachenie = int(n);
    return n >= ot && n <= do_;
}

namespace {
struct TImyaUgla {
    const char* imya;
    TEdinicaUgla edinica;
};
constexpr TImyaUgla IMENA_UGLOV[] = {
    {"rad", TEdinicaUgla::Radiani}, {"deg", TEdinicaUgla::Gradusi}, {"grad", TEdinicaUgla::Gradi}};
} // namespace

bool EdinicaUglaPoImeni(const std::string& imya, TEdinicaUgla& edinica) {
    for (const TImyaUgla& u : IMENA_UGLOV)
        if (imya == u.imya) {
            edinica = u.edinica;
            return true;
        }
    return false;
}

const char* ImyaEdiniciUgla(TEdinicaUgla edinica) {
    for (const TImyaUgla& u : IMENA_UGLOV)
        if (u.edinica == edinica) return u.imya;
    return "deg";
}
