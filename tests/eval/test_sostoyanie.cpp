// The run state across runs of one engine, and who clears the stop request.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "eval/dvigatel.h"
#include "eval/progon.h"
#include "platform/platforma.h"

namespace {

const std::string kNeVichislit = "Не удаётся вычислить значение переменной y";

TEST(SostoyanieVichisleniya, ALaterRunDoesNotSeeTheVariablesOfAnEarlierOne) {
    ASSERT_EQ(Progon({"a = 5", "z = 1", "y = a"}).rezultat, "5");
    // Record 0 now holds another name: a name index or a count left from the
    // run before would find "a" there (and report a cycle) or further down.
    const TItogProgona vtoroy = Progon({"y = a"});
    EXPECT_FALSE(vtoroy.gotovo);
    EXPECT_EQ(vtoroy.soobsheniya,
              (std::vector<std::string>{"Не удаётся найти переменную a", kNeVichislit}));
    EXPECT_EQ(TDvigatel::Sostoyanie().KolichestvoPeremennih, 1u);
    EXPECT_EQ(VariableTable[1].Imya.Length(), 0);
    EXPECT_EQ(VariableTable[2].Imya.Length(), 0);
    // And the run after that finds what it defines again.
    EXPECT_EQ(Progon({"z = 2", "a = z*3", "y = a"}).rezultat, "6");
}

class TOknoOdnoyStroki : public IOknoVichisleniya {
  public:
    std::vector<TAnsiString> StrokiOpredeleniy() override { return {Cp("y = 2")}; }
    TAnsiString ImyaPeremennoy() override { return Cp("y"); }
    std::int32_t PoluchitOsnovanie() override { return 10; }
    std::int32_t PoluchitRazryadi() override { return 100; }
    void UstanovitZnachenie(const TAnsiString&) override { pokazano = true; }
    bool pokazano = false;
};

TEST(SostoyanieVichisleniya, AStopRequestHoldsUntilTheEngineStartsTheNextRun) {
    TNastroyki n;
    n.otmenaNaZapisi = 1;
    const TItogProgona ostanovlen = Progon({"y = sqr(1+1)+1"}, n);
    ASSERT_EQ(ostanovlen.ishod.Sostoyanie, TSostoyanieProgona::Ostanovlen);
    EXPECT_EQ(CalcCancelled.load(), 1);

    // The run body alone does not clear it: a front end that runs the body
    // on its own thread has cleared it when it started that thread.
    {
        TOknoOdnoyStroki okno;
        TIshod ishod;
        SborSoobsheniy sbor;
        EXPECT_FALSE(TDvigatel::VichislitZdes(okno, ishod));
        EXPECT_EQ(ishod.Sostoyanie, TSostoyanieProgona::Ostanovlen);
        EXPECT_FALSE(okno.pokazano);
        EXPECT_EQ(CalcCancelled.load(), 1);
    }

    // The engine's next run clears it before it starts.
    EXPECT_EQ(Progon({"y = sqr(1+1)+1"}).rezultat, "5");
    EXPECT_EQ(CalcCancelled.load(), 0);
}

} // namespace
