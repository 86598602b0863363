#include "text/operacii_s_pamyatyu.h"

#include <cstring>

#include <unistd.h>

void KopirovatPamyat(void* kuda, const void* otkuda, std::uint32_t n, bool vpered) {
    if (n == 0 || kuda == nullptr || otkuda == nullptr || kuda == otkuda) return;
    auto* d = static_cast<unsigned char*>(kuda);
    const auto* s = static_cast<const unsigned char*>(otkuda);
    const std::uint32_t slov = n / 4;
    std::uint32_t slovo;
    // Each word is read whole before it is written, so an overlap in the
    // direction of the walk never reads a byte already overwritten.
    if (vpered) {
        std::uint32_t i = 0;
        for (std::uint32_t k = 0; k < slov; ++k, i += 4) {
            std::memcpy(&slovo, s + i, 4);
            std::memcpy(d + i, &slovo, 4);
        }
        for (; i < n; ++i) d[i] = s[i];
    } else {
        std::uint32_t i = n;
        for (std::uint32_t k = 0; k < slov; ++k) {
            i -= 4;
            std::memcpy(&slovo, s + i, 4);
            std::memcpy(d + i, &slovo, 4);
        }
        while (i > 0) {
            --i;
            d[i] = s[i];
        }
    }
}

void ObnulitPamyat(void* p, std::uint32_t n) {
    if (p != nullptr && n > 0) std::memset(p, 0, n);
}

bool SravnitPamyat(const void* a, const void* b, std::uint32_t n) {
    if (n == 0) return true;
    if (a == b) return true;
    if (a == nullptr || b == nullptr) return false;
    return std::memcmp(a, b, n) == 0;
}

std::uint64_t FizicheskayaPamyat() {
    // Asked once: every text buffer that grows checks against it, and the
    // system call would cost more than the copy of a short text.
    static const std::uint64_t pamyat = [] {
        const long stranic = sysconf(_SC_PHYS_PAGES);
        const long razmer = sysconf(_SC_PAGESIZE);
        if (stranic <= 0 || razmer <= 0) return UINT64_MAX;
        return std::uint64_t(stranic) * std::uint64_t(razmer);
    }();
    return pamyat;
}
