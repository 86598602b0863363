#include "eval/dvigatel.h"

#include "number/vm_kesh.h"
#include "number/vm_mashinnye.h"
#include "platform/platforma.h"

TDvigatel::TDvigatel() : TDvigatel(std::string(VM_PAPKA_KESHA)) {}

TDvigatel::TDvigatel(const std::string& papkaKesha) : sPapkoy_(!papkaKesha.empty()) {
    PostroitTabliciSimvolov(LokalniyRazdelitel());
    UstanovitPapkuKesha(papkaKesha);
    if (sPapkoy_)
        ZagruzitKesh();
    else
        OchistitKesh();
}

TDvigatel::TDvigatel(char razdelitel, bool sPapkoy) : sPapkoy_(sPapkoy) {
    PostroitTabliciSimvolov(razdelitel);
    UstanovitPapkuKesha(VM_PAPKA_KESHA);
    if (sPapkoy_)
        ZagruzitKesh();
    else
        OchistitKesh();
}

TDvigatel::~TDvigatel() {
    Dozhdatsya();
    if (sPapkoy_) SohranitKesh();
}

void TDvigatel::NachatProgon() {
    Dozhdatsya();
    // The one place the stop request is cleared: when a run is about to
    // start its thread, never when a run ends, so a stopped run leaves it set
    // until the next one starts, and a stop asked after this point holds.
    CalcCancelled.store(0);
}

bool TDvigatel::Vichislit(IOknoVichisleniya& okno) {
    NachatProgon();
    bool pokazan = false;
    neZapushen_ =
        !VipolnitNaPotokeVichisleniy([&] { pokazan = VichislitPeremennuyu(okno, ishod_); });
    return pokazan;
}

bool TDvigatel::Nachat(IOknoVichisleniya& okno, std::function<void(const TIshod&)> poZavershenii) {
    NachatProgon();
    fon_ = std::make_unique<TPotokVichisleniy>([this, &okno, gotovo = std::move(poZavershenii)] {
        VichislitPeremennuyu(okno, ishod_);
        if (gotovo) gotovo(ishod_);
    });
    neZapushen_ = !fon_->Zapustit();
    if (neZapushen_) fon_.reset();
    return !neZapushen_;
}

bool TDvigatel::Idyot() const {
    return fon_ != nullptr;
}

void TDvigatel::Dozhdatsya() {
    if (fon_ == nullptr) return;
    fon_->Dozhdatsya();
    fon_.reset();
}

bool TDvigatel::VichislitZdes(IOknoVichisleniya& okno, TIshod& ishod) {
    return VichislitPeremennuyu(okno, ishod);
}

bool TDvigatel::VichislitZdes(IOknoVichisleniya& okno) {
    TIshod ishod;
    return VichislitZdes(okno, ishod);
}
