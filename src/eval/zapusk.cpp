// The run body shared by both front ends and the calculation thread helper.
#include "eval/zapusk.h"

#include <pthread.h>

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

bool VipolnitNaPotokeVichisleniy(const std::function<void()>& zadacha) {
    pthread_attr_t atributi;
    if (pthread_attr_init(&atributi) != 0) return false;
    bool gotovo = pthread_attr_setstacksize(&atributi, VM_STEK_POTOKA_VICHISLENIY) == 0;
    pthread_t potok{};
    if (gotovo)
        gotovo = pthread_create(&potok, &atributi, &ZapustitZadachu,
                                const_cast<std::function<void()>*>(&zadacha)) == 0;
    pthread_attr_destroy(&atributi);
    if (gotovo) pthread_join(potok, nullptr);
    return gotovo;
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
