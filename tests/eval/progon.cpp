#include "eval/progon.h"

#include <memory>
#include <mutex>

#include <gtest/gtest.h>

#include "eval/dvigatel.h"
#include "eval/peremennie.h"
#include "number/vm_tekst.h"
#include "number/vm_arifmetika.h"
#include "platform/platforma.h"

namespace {

class TOknoTesta : public IOknoVichisleniya {
  public:
    std::vector<TAnsiString> stroki;
    TAnsiString imya;
    std::int32_t osnovanie = 10, razryadi = 100;
    std::string rezultat;
    std::vector<TAnsiString> StrokiOpredeleniy() override { return stroki; }
    TAnsiString ImyaPeremennoy() override { return imya; }
    std::int32_t PoluchitOsnovanie() override { return osnovanie; }
    std::int32_t PoluchitRazryadi() override { return razryadi; }
    void UstanovitZnachenie(const TAnsiString& t) override { rezultat = Utf(t); }
};

// The engine of every test of this program: "." as the separator (tests
// that switch to "," switch back), an empty cache, no cache folder.
class TSreda : public ::testing::Environment {
  public:
    void SetUp() override { dvigatel = std::make_unique<TDvigatel>('.', false); }
    void TearDown() override { dvigatel.reset(); }
    std::unique_ptr<TDvigatel> dvigatel;
};
auto* const sreda = static_cast<TSreda*>(::testing::AddGlobalTestEnvironment(new TSreda));

} // namespace

TItogProgona Progon(const std::vector<std::string>& stroki, const TNastroyki& n) {
    TOknoTesta okno;
    for (const auto& s : stroki) okno.stroki.push_back(Cp(s));
    okno.imya = Cp(n.imya);
    okno.osnovanie = n.osnovanie;
    okno.razryadi = n.razryadi;
    AngleUnit.store(n.ugol);

    TItogProgona itog;
    std::mutex zamok;
    int zapisey = 0;
    UstanovitPriemnikSostoyaniya([&](const TAnsiString& t) {
        std::lock_guard<std::mutex> l(zamok);
        itog.zhurnal += Utf(t);
        if (++zapisey == n.otmenaNaZapisi) CalcCancelled.store(1);
    });
    SborSoobsheniy sbor;
    itog.gotovo = sreda->dvigatel->Vichislit(okno);
    EXPECT_FALSE(sreda->dvigatel->ZapuskNeSostoyalsya());
    UstanovitPriemnikSostoyaniya({});
    itog.soobsheniya = sbor.Soobsheniya();
    itog.ishod = sreda->dvigatel->Ishod();
    if (itog.gotovo) itog.rezultat = okno.rezultat;
    AngleUnit.store(1);
    return itog;
}

TItogProgona Vichislit(const std::string& virazhenie, const TNastroyki& n) {
    return Progon({"y = " + virazhenie}, n);
}

bool BlizkieChisla(const std::string& a, const std::string& b, int cifr) {
    TAnsiString ta = Cp(a), tb = Cp(b);
    vmChislo x, y;
    vmIzTeksta(&x, ta);
    vmIzTeksta(&y, tb);
    const vmChislo d = vmRaznost(&x, y);
    if (vmZnak(&d) == 0) return true;
    if (vmZnak(&x) == 0) return false;
    // Both in the common radix now: compare exponents of the normal forms.
    vmChislo xn = x, dn = d;
    vmObshcheeOsnovanie(&xn, &dn);
    return dn.Poryadok <= xn.Poryadok - cifr;
}

bool PochtiNol(const std::string& a, int cifr) {
    TAnsiString ta = Cp(a);
    vmChislo x;
    vmIzTeksta(&x, ta);
    return vmZnak(&x) == 0 || x.Poryadok < -cifr;
}
