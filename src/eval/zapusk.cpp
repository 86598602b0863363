// The run body shared by both front ends and the calculation thread helper.
#include "eval/zapusk.h"

#include <new>

#include "eval/peremennie.h"
#include "eval/soobsheniya.h"
#include "eval/yazik.h"
#include "eval/zapis_progona.h"
#include "number/vm_mashinnye.h"
#include "number/vm_tekst.h"
#include "number/vm_funkcii.h"
#include "text/kodirovka.h"

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
void ZapustitZadachu(void* arg) {
    VipolnitZashishenno(*static_cast<const std::function<void()>*>(arg));
}
} // namespace

TPotokVichisleniy::TPotokVichisleniy(std::function<void()> zadacha)
    : zadacha_(std::move(zadacha)) {}

TPotokVichisleniy::~TPotokVichisleniy() {
    Dozhdatsya();
}

bool TPotokVichisleniy::Zapustit() {
    return potok_.Zapustit(VM_STEK_POTOKA_VICHISLENIY, &ZapustitZadachu, &zadacha_);
}

void TPotokVichisleniy::Dozhdatsya() {
    potok_.Dozhdatsya();
}

bool VipolnitNaPotokeVichisleniy(const std::function<void()>& zadacha) {
    TPotokVichisleniy potok(zadacha);
    return potok.Zapustit();
}

// --- The run body ---

void IOknoVichisleniya::Soobshit(const TSoobshenie& soobshenie) {
    ShowError(soobshenie.Tekst);
}

namespace {

// Refuses the line of record i: "Строка <i+1>" and the reason (UTF-8).
void Otvergnut(TPeremennaya& p, std::uint32_t i, const char* prichina) {
    p.Otvergnuta = 1;
    ShowError(T1251("Строка ") + CeloeVStroku(std::int32_t(i + 1)) + T1251(prichina));
}

// The lines given, parsed into the records of their indexes; a name
// defined again is warned of (the first definition is the one found).
void RazobratStroki(const std::vector<TAnsiString>& stroki, TZapisProgona& zapis) {
    const auto L = static_cast<std::uint32_t>(stroki.size());
    for (std::uint32_t i = 0; i < L; ++i) {
        const TZapisProgona::TVOpredelenii v(static_cast<std::int32_t>(i));
        TPeremennaya& p = VariableTable[i];
        if (stroki[i].EstNul()) {
            // A NUL byte would cut the line short without a word: the line
            // is refused like an empty one, and the run goes on.
            OchistitPeremennuyu(p);
            Otvergnut(p, i, " содержит нулевой байт и не принята");
            continue;
        }
        // Names holding a character the code page lacks would all read as
        // one.
        if (RazobratStroku(p, stroki[i]) && EstChuzhoySimvol(p.Imya.ToStd()))
            Otvergnut(p, i, ": имя содержит знак вне кодировки Windows-1251, строка не принята");
    }
    VariableCount = L;
    PostroitIndeksImen([&zapis](std::uint32_t povtor, std::uint32_t pervaya) {
        const TAnsiString& imya = VariableTable[povtor].Imya;
        const std::string_view stroka = zapis.Stroka(std::int32_t(povtor + 1));
        const TChastiStroki c = RazdelitStroku(stroka);
        const bool estImya = !c.bezRavno && c.imyaDlina > 0;
        zapis.Predupredit(TVidPreduprezhdeniya::PovtornoeImya, std::int32_t(povtor + 1),
                          estImya ? std::int32_t(c.imyaNachalo) : -1, std::int32_t(c.imyaDlina),
                          "«" + Cp1251VUtf8(imya.ToStd()) + "» уже определена в строке " +
                              std::to_string(pervaya + 1) + ", эта строка не используется");
    });
}

// The run body proper; the outcome's state and place are set by the caller.
bool Vichislit(IOknoVichisleniya& okno, TIshod& ishod, TZapisProgona& zapis,
               const std::vector<TAnsiString>& stroki) {
    if (stroki.size() > VM_PREDEL_PEREMENNIH) {
        PokazatOshibku("Слишком много строк определений: допускается не более 65536");
        return false;
    }
    RazobratStroki(stroki, zapis);

    const TAnsiString imya = okno.ImyaPeremennoy().Trim();
    if (imya.Length() == 0) {
        PokazatOshibku("Неправильное имя вычисляемой переменной");
        return false;
    }
    if (EstChuzhoySimvol(imya.ToStd())) {
        PokazatOshibku("Имя вычисляемой переменной содержит знак вне кодировки Windows-1251");
        return false;
    }
    const std::int32_t nomer = NaitiPeremennuyu(imya);
    if (nomer < 0) {
        PokazatOshibku("Не задана переменная ", imya);
        return false;
    }
    TPeremennaya& p = VariableTable[nomer];
    if (!VichislitOpredelenie(p)) {
        const std::int32_t neudacha = IndeksNeudachnoyZapisi();
        zapis.ZapomnitNeudachu(neudacha, neudacha >= 0 ? VariableTable[std::uint32_t(neudacha)].Imya
                                                       : TAnsiString());
        {
            const TZapisProgona::TVOpredelenii v(nomer);
            PokazatOshibku("Не удаётся вычислить значение переменной ", imya);
        }
        return false;
    }

    vmChislo x = p.Znachenie;
    x = vmPerevestiVOsnovanie(x, static_cast<std::uint8_t>(okno.PoluchitOsnovanie()));
    // The conversion gives up on a stop request and leaves zero behind; a
    // stopped run never shows a value.
    if (OtmenaZaproshena()) {
        DobavitSostoyanie(OtmenaVichisleniy());
        const TZapisProgona::TVOpredelenii v(nomer);
        PokazatOshibku("Не удаётся вычислить значение переменной ", imya);
        return false;
    }
    TAnsiString tekst;
    vmVTekst(tekst, &x, 1, okno.PoluchitRazryadi(), VM_AVTO_EKSPONENTA | VM_S_OSNOVANIEM);
    okno.UstanovitZnachenie(tekst);
    ishod.Znachenie = x;
    ishod.Tekst = tekst;
    return true;
}

} // namespace

bool VichislitPeremennuyu(IOknoVichisleniya& okno, TIshod& ishod) {
    ishod = TIshod();
    CurrentRadix = okno.PoluchitOsnovanie();
    const std::vector<TAnsiString> stroki = okno.StrokiOpredeleniy();

    SbrositIndeksImen();
    for (std::uint32_t i = 0; i < VariableCount && i < VM_PREDEL_PEREMENNIH; ++i)
        OchistitPeremennuyu(VariableTable[i]);
    VariableCount = 0;

    TZapisProgona zapis(okno, ishod, stroki);
    // An exception (a text too large for memory) becomes a message of
    // this run.
    bool pokazan = false;
    VipolnitZashishenno([&] { pokazan = Vichislit(okno, ishod, zapis, stroki); });
    ishod.Sostoyanie = pokazan                ? TSostoyanieProgona::Gotovo
                       : CalcCancelled.load() ? TSostoyanieProgona::Ostanovlen
                                              : TSostoyanieProgona::Oshibka;
    return pokazan;
}

bool VichislitPeremennuyu(IOknoVichisleniya& okno) {
    TIshod ishod;
    return VichislitPeremennuyu(okno, ishod);
}
