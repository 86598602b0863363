// A stop request left over from a finished run must not spoil constants the
// main thread builds for itself.
#include <gtest/gtest.h>

#include "chisla_test_util.h"
#include "number/vm_kesh.h"
#include "number/vm_funkcii.h"
#include "platform/platforma.h"

namespace {

TEST(OtmenaFunkciy, MainThreadBuildsPiAndEDespiteAStaleStopFlag) {
    PostroitTabliciSimvolov('.');
    OchistitKesh();
    CalcCancelled = 1; // a stopped run leaves the flag set
    vmChislo pi, e;
    {
        TBezOtmeny bez;
        vmKonstanta(&pi, VM_K_PI, 10);
        vmKonstanta(&e, VM_K_E, 10);
    }
    CalcCancelled = 0;
    EXPECT_EQ(Tx(pi, 20), "3.14159265358979323846");
    EXPECT_EQ(Tx(e, 20), "2.71828182845904523536");
    vmChislo izKesha;
    EXPECT_TRUE(KeshNayti(VidKonstanti::Pi, 10, 0, &izKesha));
    EXPECT_TRUE(Ravni(izKesha, pi));
    OchistitKesh();
}

} // namespace
