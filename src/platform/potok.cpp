// The thread with its own stack on POSIX: mmap and pthread.
#include "platform/potok.h"

#include <pthread.h>
#include <sys/mman.h>

#include <utility>

namespace {
void* ZapustitZadachu(void* arg) {
    const auto* z = static_cast<const std::pair<void (*)(void*), void*>*>(arg);
    z->first(z->second);
    return nullptr;
}
} // namespace

// The stack, mapped here rather than by pthread_create so that its deeper
// part may use 2 MiB pages: a deep recursion (a long chain of definitions)
// touches hundreds of MiB of it, and with 4 KiB pages the page faults cost
// more than the evaluation. The top part, all that an ordinary run touches,
// keeps small pages; the lowest page is a guard.
struct TPotokSoStekom::TStek {
    explicit TStek(std::size_t razmer) : razmer_(razmer) {
        void* p = mmap(nullptr, razmer_, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_STACK, -1, 0);
        if (p == MAP_FAILED) return;
        nachalo_ = p;
        if (razmer_ > kMelkieStranici) madvise(p, razmer_ - kMelkieStranici, MADV_HUGEPAGE);
        mprotect(p, kStranica, PROT_NONE);
    }
    ~TStek() {
        if (nachalo_ != nullptr) munmap(nachalo_, razmer_);
    }
    TStek(const TStek&) = delete;
    TStek& operator=(const TStek&) = delete;
    // Sets the stack of the thread to be created: this one, or (when it could
    // not be mapped) one of the same size from the thread library.
    bool Ustanovit(pthread_attr_t* atributi) const {
        if (nachalo_ == nullptr) return pthread_attr_setstacksize(atributi, razmer_) == 0;
        return pthread_attr_setstack(atributi, nachalo_, razmer_) == 0;
    }
    // The task and its context, read by the new thread.
    std::pair<void (*)(void*), void*> zadacha;

  private:
    static constexpr std::size_t kStranica = 4096;
    static constexpr std::size_t kMelkieStranici = std::size_t(8) << 20;
    std::size_t razmer_;
    void* nachalo_ = nullptr;
};

static_assert(sizeof(pthread_t) <= sizeof(unsigned long));

TPotokSoStekom::~TPotokSoStekom() {
    Dozhdatsya();
}

bool TPotokSoStekom::Zapustit(std::size_t razmerSteka, void (*f)(void*), void* kontekst) {
    if (zapushen_ || stek_ != nullptr) return false;
    stek_ = new TStek(razmerSteka);
    stek_->zadacha = {f, kontekst};
    pthread_attr_t atributi;
    if (pthread_attr_init(&atributi) == 0) {
        pthread_t potok{};
        zapushen_ = stek_->Ustanovit(&atributi) &&
                    pthread_create(&potok, &atributi, &ZapustitZadachu, &stek_->zadacha) == 0;
        pthread_attr_destroy(&atributi);
        potok_ = static_cast<unsigned long>(potok);
    }
    if (!zapushen_) {
        delete stek_;
        stek_ = nullptr;
    }
    return zapushen_;
}

void TPotokSoStekom::Dozhdatsya() {
    if (zapushen_) pthread_join(static_cast<pthread_t>(potok_), nullptr);
    zapushen_ = false;
    delete stek_;
    stek_ = nullptr;
}
