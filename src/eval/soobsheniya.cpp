// The evaluator's message texts.
#include "eval/soobsheniya.h"

#include "eval/zapis_progona.h"
#include "eval/zhurnal.h"
#include "platform/platforma.h"
#include "text/kodirovka_ansi.h"

TAnsiString T1251(const char* utf8) {
    return Utf8VAnsi(utf8);
}

void PokazatOshibku(const char* utf8, const TAnsiString& hvost) {
    ShowError(T1251(utf8) + hvost);
}

void OtmetitFragment(const TAnsiString& fragment, bool vizov) {
    if (TZapisProgona* z = TZapisProgona::Tekushaya())
        z->OtmetitFragment(fragment.Length() > 0
                               ? std::string_view(fragment.Data(), std::size_t(fragment.Length()))
                               : std::string_view(),
                           vizov);
}

TAnsiString OshibkaVichisleniy() {
    return T1251(" ошибка вычислений");
}
TAnsiString OtmenaVichisleniy() {
    return T1251(" отмена вычислений");
}
bool Neudacha() {
    DobavitSostoyanie(OshibkaVichisleniy());
    return false;
}
bool Otmena() {
    DobavitSostoyanie(OtmenaVichisleniy());
    return false;
}
