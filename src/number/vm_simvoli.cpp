// The literal character table of the number module.
#include "number/vm_chislo.h"

namespace {
constexpr TvmSimvoli PostroitTablicu(char razdelitel) {
    TvmSimvoli t{};
    // The locale decides only the separator: anything but "," makes "." the
    // separator and "," the alternative.
    t.Razdelitel = razdelitel == ',' ? ',' : '.';
    t.AltRazdelitel = razdelitel == ',' ? '.' : ',';
    t.Eksponenta = 'e';
    t.EksponentaBolshaya = 'E';
    t.Osnovanie = 'r';
    t.OsnovanieBolshoe = 'R';
    t.Minus = '-';
    t.Nol = '0';
    for (int v = 0; v < 36; ++v) {
        const char c = v < 10 ? char('0' + v) : char('A' + (v - 10));
        t.Cifri[v] = c;
        t.ZnachenieCifri[static_cast<unsigned char>(c)] = std::uint8_t(v);
        t.EtoCifra[static_cast<unsigned char>(c)] = true;
    }
    return t;
}
} // namespace

// Valid with the default separator even before the start-up code has read
// the locale.
TvmSimvoli vmSimvoli = PostroitTablicu(',');

void vmPostroitSimvoli(char razdelitel) {
    vmSimvoli = PostroitTablicu(razdelitel);
}
