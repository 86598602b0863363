// The platform layer on POSIX: error output, locale separator and the stop
// flag.
#include "platform/platforma.h"

#include <clocale>
#include <cstdio>

#include "text/kodirovka.h"
#include "text/tansistring.h"

std::atomic<std::uint8_t> CalcCancelled{0};

namespace {
thread_local bool slushaetOtmenu = true;
} // namespace

bool OtmenaZaproshena() {
    return slushaetOtmenu && CalcCancelled.load(std::memory_order_relaxed) != 0;
}

TBezOtmeny::TBezOtmeny() : prezhnee_(slushaetOtmenu) {
    slushaetOtmenu = false;
}

TBezOtmeny::~TBezOtmeny() {
    slushaetOtmenu = prezhnee_;
}

namespace {
void ObrabotchikPoUmolchaniyu(const TAnsiString& text) {
    std::string s = Cp1251VUtf8(text.ToStd());
    s += '\n';
    // One write, so that messages of two threads do not interleave.
    std::fwrite(s.data(), 1, s.size(), stderr);
    std::fflush(stderr);
}

std::atomic<ObrabotchikOshibki> obrabotchik{&ObrabotchikPoUmolchaniyu};
} // namespace

namespace {
thread_local TPerehvatOshibok perehvat;
} // namespace

void ShowError(const TAnsiString& text) {
    if (perehvat.f != nullptr) {
        const TPerehvatOshibok p = perehvat;
        perehvat = TPerehvatOshibok();
        p.f(p.kontekst, text);
        perehvat = p;
        return;
    }
    obrabotchik.load(std::memory_order_acquire)(text);
}

TPerehvatOshibok UstanovitPerehvatOshibok(TPerehvatOshibok noviy) {
    const TPerehvatOshibok prezhniy = perehvat;
    perehvat = noviy;
    return prezhniy;
}

ObrabotchikOshibki UstanovitObrabotchikOshibki(ObrabotchikOshibki handler) {
    ObrabotchikOshibki prezhniy = obrabotchik.exchange(
        handler ? handler : &ObrabotchikPoUmolchaniyu, std::memory_order_acq_rel);
    return prezhniy == &ObrabotchikPoUmolchaniyu ? nullptr : prezhniy;
}

char LokalniyRazdelitel() {
    // setlocale is process-wide and not thread safe: call this at start-up,
    // before any other thread runs.
    char r = '.';
    if (std::setlocale(LC_ALL, "") != nullptr) {
        const std::lconv* lc = std::localeconv();
        if (lc != nullptr && lc->decimal_point != nullptr && lc->decimal_point[0] != '\0')
            r = lc->decimal_point[0];
    }
    // setlocale(LC_ALL, "") also switched LC_NUMERIC to the user's locale for
    // the whole process, which would make strtod and printf of the core read
    // and write "," instead of "."; the numeric category goes back to "C".
    std::setlocale(LC_NUMERIC, "C");
    return r;
}
