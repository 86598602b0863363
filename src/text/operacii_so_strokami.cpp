#include "text/operacii_so_strokami.h"

#include <cstring>

namespace {
bool VNabore(char c, const char* nabor, int m) {
    return std::memchr(nabor, static_cast<unsigned char>(c), std::size_t(m)) != nullptr;
}
} // namespace

int DlinaStroki(const char* s) {
    return s == nullptr ? 0 : int(std::strlen(s));
}

void ZamenitSimvol(char* s, char novyy, char staryy, int n) {
    if (s == nullptr) return;
    for (int i = 0; i < n; ++i)
        if (s[i] == staryy) s[i] = novyy;
}

const char* NaytiSimvol(const char* s, char c, int n) {
    if (s == nullptr || n <= 0) return nullptr;
    return static_cast<const char*>(std::memchr(s, static_cast<unsigned char>(c), std::size_t(n)));
}

const char* NaytiSimvolIzNabora(const char* s, const char* nabor, int n, int m) {
    if (s == nullptr || nabor == nullptr || n <= 0 || m <= 0) return nullptr;
    for (int i = 0; i < n; ++i)
        if (VNabore(s[i], nabor, m)) return s + i;
    return nullptr;
}

int PodschitatSimvoliIzNabora(const char* s, const char* nabor, int n, int m) {
    if (s == nullptr || nabor == nullptr || n <= 0 || m <= 0) return 0;
    int k = 0;
    for (int i = 0; i < n; ++i)
        if (VNabore(s[i], nabor, m)) ++k;
    return k;
}

int DlinaNachalaIzNabora(const char* s, const char* nabor, int n, int m) {
    if (s == nullptr || nabor == nullptr || n <= 0 || m <= 0) return 0;
    int k = 0;
    while (k < n && VNabore(s[k], nabor, m)) ++k;
    return k;
}

int UdalitPovtoreniya(char* bufer, char* poziciya, char c, bool vpered, int dlina) {
    if (bufer == nullptr || poziciya == nullptr || dlina <= 0) return dlina;
    if (poziciya < bufer || poziciya >= bufer + dlina) return dlina;
    if (*poziciya != c) return dlina;
    char* konec = bufer + dlina;
    char* nachalo; // first byte of the run
    char* hvost;   // first byte behind the run
    if (vpered) {
        nachalo = poziciya;
        hvost = poziciya;
        while (hvost < konec && *hvost == c) ++hvost;
    } else {
        hvost = poziciya + 1;
        nachalo = poziciya;
        while (nachalo > bufer && nachalo[-1] == c) --nachalo;
    }
    std::memmove(nachalo, hvost, std::size_t(konec - hvost));
    const int novaya = dlina - int(hvost - nachalo);
    bufer[novaya] = '\0';
    return novaya;
}
