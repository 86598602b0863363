// The run body shared by both front ends and the calculation thread helper.
#include "eval/zapusk.h"

#include <pthread.h>
#include <sys/mman.h>

#include <new>

#include "eval/peremennie.h"
#include "eval/soobsheniya.h"
#include "number/mashinnye.h"
#include "number/vm_tekst.h"
#include "number/vmfunkcii.h"

// --- The calculation thread ---

bool VipolnitZashishenno(const std::function<void()>& zadacha) {
    try {
        zadacha();
        return true;
    } catch (const std::bad_alloc&) {
        PokazatOshibku("Недостаточно памяти для вычисления");
    } catch (...) {
        PokazatOshibku("Внутренняя ошибка вычисления");
    }
    return false;
}

namespace {
void* ZapustitZadachu(void* arg) {
    VipolnitZashishenno(*static_cast<const std::function<void()>*>(arg));
    return nullptr;
}
} // namespace


// The calculation thread's stack, mapped here rather than by pthread_create
// so that its deeper part may use 2 MiB pages: a deep recursion (a long
// chain of definitions) touches hundreds of MiB of it, and with 4 KiB pages
// the page faults cost more than the evaluation. The top part, all that an
// ordinary run touches, keeps small pages; the lowest page is a guard.
struct TPotokVichisleniy::TStek {
    TStek() {
        void* p = mmap(nullptr, VM_STEK_POTOKA_VICHISLENIY, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_STACK, -1, 0);
        if (p == MAP_FAILED) return;
        nachalo_ = p;
        madvise(p, VM_STEK_POTOKA_VICHISLENIY - kMelkieStranici, MADV_HUGEPAGE);
        mprotect(p, kStranica, PROT_NONE);
    }
    ~TStek() {
        if (nachalo_ != nullptr) munmap(nachalo_, VM_STEK_POTOKA_VICHISLENIY);
    }
    TStek(const TStek&) = delete;
    TStek& operator=(const TStek&) = delete;
    // Sets the stack of the thread to be created: this one, or (when it could
    // not be mapped) one of the same size from the thread library.
    bool Ustanovit(pthread_attr_t* atributi) const {
        if (nachalo_ == nullptr)
            return pthread_attr_setstacksize(atributi, VM_STEK_POTOKA_VICHISLENIY) == 0;
        return pthread_attr_setstack(atributi, nachalo_, VM_STEK_POTOKA_VICHISLENIY) == 0;
    }

  private:
    static constexpr std::size_t kStranica = 4096;
    static constexpr std::size_t kMelkieStranici = std::size_t(8) << 20;
    void* nachalo_ = nullptr;
};

static_assert(sizeof(pthread_t) <= sizeof(unsigned long));

TPotokVichisleniy::TPotokVichisleniy(std::function<void()> zadacha)
    : zadacha_(std::move(zadacha)) {}

TPotokVichisleniy::~TPotokVichisleniy() {
    Dozhdatsya();
}

bool TPotokVichisleniy::Zapustit() {
    if (zapushen_ || stek_ != nullptr) return false;
    stek_ = new TStek;
    pthread_attr_t atributi;
    if (pthread_attr_init(&atributi) == 0) {
        pthread_t potok{};
        zapushen_ = stek_->Ustanovit(&atributi) &&
                    pthread_create(&potok, &atributi, &ZapustitZadachu, &zadacha_) == 0;
        pthread_attr_destroy(&atributi);
        potok_ = static_cast<unsigned long>(potok);
    }
    if (!zapushen_) {
        delete stek_;
        stek_ = nullptr;
    }
    return zapushen_;
}

void TPotokVichisleniy::Dozhdatsya() {
    if (zapushen_) pthread_join(static_cast<pthread_t>(potok_), nullptr);
    zapushen_ = false;
    delete stek_;
    stek_ = nullptr;
}

bool VipolnitNaPotokeVichisleniy(const std::function<void()>& zadacha) {
    TPotokVichisleniy potok(zadacha);
    return potok.Zapustit();
}

// --- The run body ---

bool VichislitPeremennuyu(IOknoVichisleniya& okno) {
    CurrentRadix = okno.PoluchitOsnovanie();
    const std::vector<TAnsiString> stroki = okno.StrokiOpredeleniy();

    SbrositIndeksImen();
    for (std::uint32_t i = 0; i < VariableCount && i < VM_PREDEL_PEREMENNIH; ++i)
        OchistitPeremennuyu(VariableTable[i]);
    VariableCount = 0;

    if (stroki.size() > VM_PREDEL_PEREMENNIH) {
        PokazatOshibku("Слишком много строк определений: допускается не более 65536");
        return false;
    }
    // Every line keeps the record of its own index; a refused one is marked
    // and passed over by the lookups, so all lines of the run are searched.
    const auto L = static_cast<std::uint32_t>(stroki.size());
    for (std::uint32_t i = 0; i < L; ++i) {
        TPeremennaya& p = VariableTable[i];
        if (stroki[i].EstNul()) {
            // A NUL byte would cut the line short without a word: the line
            // is refused like an empty one, and the run goes on.
            OchistitPeremennuyu(p);
            p.Otvergnuta = 1;
            ShowError(T1251("Строка ") + CeloeVStroku(std::int32_t(i + 1)) +
                      T1251(" содержит нулевой байт и не принята"));
            continue;
        }
        RazobratStroku(p, stroki[i]);
    }
    VariableCount = L;
    PostroitIndeksImen();

    const TAnsiString imya = okno.ImyaPeremennoy().Trim();
    if (imya.Length() == 0) {
        PokazatOshibku("Неправильное имя вычисляемой переменной");
        return false;
    }
    const std::int32_t nomer = NaitiPeremennuyu(imya);
    if (nomer < 0) {
        PokazatOshibku("Не задана переменная ", imya);
        return false;
    }
    TPeremennaya& p = VariableTable[nomer];
    if (!VichislitOpredelenie(p)) {
        PokazatOshibku("Не удаётся вычислить значение переменной ", imya);
        return false;
    }

    vmChislo x = p.Znachenie;
    x = vmPerevestiVOsnovanie(x, static_cast<std::uint8_t>(okno.PoluchitOsnovanie()));
    // The conversion gives up on a stop request and leaves zero behind; a
    // stopped run never shows a value.
    if (OtmenaZaproshena()) {
        DobavitSostoyanie(OtmenaVichisleniy());
        PokazatOshibku("Не удаётся вычислить значение переменной ", imya);
        return false;
    }
    TAnsiString tekst;
    vmVTekst(tekst, &x, 1, okno.PoluchitRazryadi(), VM_AVTO_EKSPONENTA | VM_S_OSNOVANIEM);
    okno.UstanovitZnachenie(tekst);
    return true;
}
