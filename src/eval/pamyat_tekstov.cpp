// A table of the latest value texts, direct-mapped by a hash of their bytes.
// A hit compares the whole text, so it gives what the reading of that text
// gives: the text is a function of the number formatted, and the number kept
// is vmChisloTekstaZnacheniya's, which is the reading of that text (see
// number/vm_tekst_znacheniya.cpp). Texts it does not keep are read.
#include "eval/pamyat_tekstov.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>

#include "number/vm_tekst.h"

namespace {

// Longest text kept: a value text is at most 117 bytes ("-", 101 digits and
// the separator, "e-" and 10 digits, "r36").
constexpr std::size_t DLINA_ZAPISI = 120;
// Slots: a worksheet line writes about a dozen value texts and refers back
// to lines written a few hundred lines before.
constexpr std::size_t ZAPISEY = 4096;

struct TZapis {
    std::uint64_t hesh;
    std::uint32_t dlina; // 0: empty
    char razdelitel;     // the separator when written: the reading depends on it
    char tekst[DLINA_ZAPISI];
    // The bytes of the number: a plain record, so that the table needs no
    // construction and its pages are touched only as slots are used.
    unsigned char chislo[sizeof(vmChislo)];
};

std::uint64_t Hesh(std::string_view t) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ t.size();
    std::size_t i = 0;
    for (; i + 8 <= t.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, t.data() + i, 8);
        h = (h ^ w) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 29;
    }
    std::uint64_t w = 0;
    std::memcpy(&w, t.data() + i, t.size() - i);
    h = (h ^ w) * 0xC4CEB9FE1A85EC53ull;
    return h ^ (h >> 32);
}

static_assert(std::is_trivially_copyable_v<vmChislo>);

struct TOsvobodit {
    void operator()(TZapis* t) const { std::free(t); }
};

// The table of this thread, made at its first use: about 1 MB of zeros (all
// slots empty), which the system maps without writing it.
TZapis* Tablica() {
    thread_local std::unique_ptr<TZapis, TOsvobodit> tablica;
    if (!tablica) tablica.reset(static_cast<TZapis*>(std::calloc(ZAPISEY, sizeof(TZapis))));
    return tablica.get();
}

vmChislo Prochitat(std::string_view tekst) {
    std::string kopiya(tekst); // vmIzTeksta writes its text
    vmChislo x;
    vmIzTeksta(&x, kopiya.data());
    return x;
}

} // namespace

void ZapomnitTekstZnacheniya(std::string_view tekst, const vmChislo& x) {
    if (tekst.empty() || tekst.size() > DLINA_ZAPISI) return;
    vmChislo prochtenie;
    if (!vmChisloTekstaZnacheniya(x, &prochtenie)) return;
    TZapis* tablica = Tablica();
    if (tablica == nullptr) return;
    const std::uint64_t h = Hesh(tekst);
    TZapis& z = tablica[h % ZAPISEY];
    z.hesh = h;
    z.dlina = static_cast<std::uint32_t>(tekst.size());
    z.razdelitel = vmSimvoli.Razdelitel;
    std::memcpy(z.tekst, tekst.data(), tekst.size());
    std::memcpy(z.chislo, &prochtenie, sizeof prochtenie);
}

vmChislo ProchitatTekst(std::string_view tekst) {
    if (!tekst.empty() && tekst.size() <= DLINA_ZAPISI) {
        if (const TZapis* tablica = Tablica()) {
            const std::uint64_t h = Hesh(tekst);
            const TZapis& z = tablica[h % ZAPISEY];
            if (z.dlina == tekst.size() && z.hesh == h && z.razdelitel == vmSimvoli.Razdelitel &&
                std::memcmp(z.tekst, tekst.data(), tekst.size()) == 0) {
                vmChislo x;
                std::memcpy(&x, z.chislo, sizeof x);
                return x;
            }
        }
    }
    return Prochitat(tekst);
}
