#include "eval/dvigatel.h"

#include "number/kesh.h"
#include "number/mashinnye.h"
#include "platform/platforma.h"

TDvigatel::TDvigatel() : sPapkoy_(true) {
    PostroitTabliciSimvolov(LokalniyRazdelitel());
    ZagruzitKesh();
}

TDvigatel::TDvigatel(char razdelitel, bool sPapkoy) : sPapkoy_(sPapkoy) {
    PostroitTabliciSimvolov(razdelitel);
    if (sPapkoy_)
        ZagruzitKesh();
    else
        OchistitKesh();
}

TDvigatel::~TDvigatel() {
    if (sPapkoy_) SohranitKesh();
}

bool TDvigatel::Vichislit(IOknoVichisleniya& okno) {
    CalcCancelled.store(0);
    bool pokazan = false;
    neZapushen_ = !VipolnitNaPotokeVichisleniy([&] { pokazan = VichislitPeremennuyu(okno); });
    return pokazan;
}

bool TDvigatel::VichislitZdes(IOknoVichisleniya& okno) {
    bool pokazan = false;
    VipolnitZashishenno([&] { pokazan = VichislitPeremennuyu(okno); });
    return pokazan;
}
