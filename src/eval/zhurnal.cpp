#include "eval/zhurnal.h"

#include <atomic>
#include <mutex>

namespace {
std::mutex zamokZhurnala;
std::function<void(const TAnsiString&)> priemnik;
// Lets DobavitSostoyanie return without the lock when nothing listens.
std::atomic<bool> estPriemnik{false};
} // namespace

bool DobavitSostoyanie(TAnsiString text) {
    if (!estPriemnik.load(std::memory_order_acquire)) return true;
    std::lock_guard<std::mutex> l(zamokZhurnala);
    if (priemnik) priemnik(text);
    return true;
}

bool ZhurnalVedyotsya() {
    return estPriemnik.load(std::memory_order_acquire);
}

void UstanovitPriemnikSostoyaniya(std::function<void(const TAnsiString&)> noviy) {
    std::lock_guard<std::mutex> l(zamokZhurnala);
    priemnik = std::move(noviy);
    estPriemnik.store(static_cast<bool>(priemnik), std::memory_order_release);
}
