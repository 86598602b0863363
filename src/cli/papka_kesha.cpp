#include "cli/papka_kesha.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "number/kesh.h"

namespace {

// An environment value that is an absolute path, else empty.
std::string AbsolyutniyPut(const char* znachenie) {
    if (znachenie == nullptr || znachenie[0] != '/') return {};
    return znachenie;
}

std::string DomashnyayaPapka() {
    std::string dom = AbsolyutniyPut(std::getenv("HOME"));
    if (!dom.empty()) return dom;
    const passwd* zapis = ::getpwuid(::getuid());
    return zapis != nullptr ? AbsolyutniyPut(zapis->pw_dir) : std::string();
}

} // namespace

std::string PapkaKeshaKomandnoyStroki(const std::optional<std::string>& zadana) {
    if (zadana) return *zadana;
    struct stat st;
    if (::stat(VM_PAPKA_KESHA, &st) == 0 && S_ISDIR(st.st_mode)) return VM_PAPKA_KESHA;
    std::string baza = AbsolyutniyPut(std::getenv("XDG_CACHE_HOME"));
    if (baza.empty()) {
        const std::string dom = DomashnyayaPapka();
        if (dom.empty()) return {};
        baza = dom + "/.cache";
    }
    return baza + "/ciframer/" + VM_PAPKA_KESHA;
}
