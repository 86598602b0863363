#include "cli/papka_kesha.h"

#include <cstdlib>

#include "number/vm_kesh.h"
#include "platform/fayli.h"

namespace {

// An environment value that is an absolute path, else empty.
std::string AbsolyutniyPut(const char* znachenie) {
    if (znachenie == nullptr || znachenie[0] != '/') return {};
    return znachenie;
}

std::string DomashnyayaPapka() {
    std::string dom = AbsolyutniyPut(std::getenv("HOME"));
    if (!dom.empty()) return dom;
    const std::string izBazi = DomashnyayaPapkaIzBazi();
    return AbsolyutniyPut(izBazi.empty() ? nullptr : izBazi.c_str());
}

} // namespace

std::string PapkaKeshaKomandnoyStroki(const std::optional<std::string>& zadana) {
    if (zadana) return *zadana;
    if (EtoPapka(VM_PAPKA_KESHA)) return VM_PAPKA_KESHA;
    std::string baza = AbsolyutniyPut(std::getenv("XDG_CACHE_HOME"));
    if (baza.empty()) {
        const std::string dom = DomashnyayaPapka();
        if (dom.empty()) return {};
        baza = dom + "/.cache";
    }
    return baza + "/ciframer/" + VM_PAPKA_KESHA;
}
