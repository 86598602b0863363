#include "cli/vvod.h"

#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstring>
#include <cwchar>
#include <langinfo.h>
#include <string>

#include "text/kodirovka.h"

namespace {

constexpr int ZAMENA = 0xFFFD;

// A byte read but not yet taken: the one that ended a sequence cut short.
int otlozhenniy = -1;

// The next byte, or -1 (end, error, or a signal).
int Bayt(int fd) {
    if (otlozhenniy >= 0) {
        const int b = otlozhenniy;
        otlozhenniy = -1;
        return b;
    }
    unsigned char b = 0;
    const ssize_t n = ::read(fd, &b, 1);
    return n == 1 ? b : -1;
}

// How many bytes a sequence that starts with b has (0: b starts none).
std::size_t DlinaPoPervomu(int b) {
    if (b >= 0xC2 && b <= 0xDF) return 2;
    if (b >= 0xE0 && b <= 0xEF) return 3;
    if (b >= 0xF0 && b <= 0xF4) return 4;
    return 0;
}

int SimvolUtf8(int fd) {
    const int pervyi = Bayt(fd);
    if (pervyi < 0x80) return pervyi; // ASCII, or -1
    const std::size_t dlina = DlinaPoPervomu(pervyi);
    if (dlina == 0) return ZAMENA;
    std::string s(1, char(pervyi));
    while (s.size() < dlina) {
        const int b = Bayt(fd);
        if (b < 0) return ZAMENA; // the rest never came
        if ((b & 0xC0) != 0x80) {
            otlozhenniy = b; // it starts the next character
            return ZAMENA;
        }
        s.push_back(char(b));
    }
    // The lead byte allows forms DekodirovatUtf8 still refuses (over-long
    // E0/F0 forms, surrogates, F4 beyond U+10FFFF).
    char32_t u = 0;
    return DekodirovatUtf8(s, 0, &u) == dlina ? int(u) : ZAMENA;
}

bool LokalUtf8() {
    const char* nabor = nl_langinfo(CODESET);
    return nabor != nullptr &&
           (std::strcmp(nabor, "UTF-8") == 0 || std::strcmp(nabor, "utf8") == 0);
}

} // namespace

int ProchitatSimvol(std::FILE* vhod) {
    const int fd = vhod != nullptr ? fileno(vhod) : STDIN_FILENO;
    static const bool utf8 = LokalUtf8();
    if (utf8) return SimvolUtf8(fd);
    for (;;) {
        const int b = Bayt(fd);
        if (b < 0x80) return b;
        const std::wint_t w = std::btowc(b);
        if (w != WEOF) return int(w);
    }
}
