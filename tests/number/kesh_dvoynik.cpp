// Stand-in for the constant cache's in-memory lookup and fill, linked only
// while the real cache is not part of the core library: the definitions are
// weak, so the real ones replace them as soon as they exist.
#include <map>
#include <mutex>
#include <tuple>

#include "number/kesh.h"

namespace {

std::mutex& Zamok() {
    static std::mutex m;
    return m;
}

std::map<std::tuple<int, int, int>, vmChislo>& Tablica() {
    static std::map<std::tuple<int, int, int>, vmChislo> t;
    return t;
}

bool Dopustimo(VidKonstanti vid, int r, int n) {
    return r >= 0 && r < VM_KESH_OSNOVANIY && (vid == VidKonstanti::Pi || (n >= 0 && n < 256));
}

} // namespace

__attribute__((weak)) bool KeshNayti(VidKonstanti vid, int r, int n, vmChislo* out) {
    if (!Dopustimo(vid, r, n)) return false;
    if (vid == VidKonstanti::Pi) n = 0;
    std::lock_guard<std::mutex> l(Zamok());
    const auto it = Tablica().find({static_cast<int>(vid), r, n});
    if (it == Tablica().end()) return false;
    *out = it->second;
    return true;
}

__attribute__((weak)) vmChislo KeshZapolnit(VidKonstanti vid, int r, int n, const vmChislo& v) {
    if (!Dopustimo(vid, r, n)) return v;
    if (vid == VidKonstanti::Pi) n = 0;
    std::lock_guard<std::mutex> l(Zamok());
    return Tablica().try_emplace({static_cast<int>(vid), r, n}, v).first->second;
}

__attribute__((weak)) void OchistitKesh() {
    std::lock_guard<std::mutex> l(Zamok());
    Tablica().clear();
}
