// The bisection's halving of its step gives the division's record, byte for
// byte, for every step it is used for, in every radix (the step depends on
// the radix and the step's number only, so this covers every bisection).
#include <cstddef>
#include <cstring>

#include <gtest/gtest.h>

#include "number/vm_arifmetika.h"
#include "number/vm_funkcii.h"
#include "number/vm_pi.h"

namespace {

bool TeZheBayty(const vmChislo& a, const vmChislo& b) {
    return std::memcmp(&a, &b, offsetof(vmChislo, Netochnost) + 1) == 0;
}

TEST(PiShag, HalvingIsTheDivisionInEveryRadix) {
    for (int R = 2; R <= 126; ++R) {
        vmChislo odin;
        vmKonstanta(&odin, VM_K_EDINICA, static_cast<std::uint8_t>(R));
        const vmChislo dva = vmSumma(&odin, odin);
        vmChislo h = vmChastnoe(&odin, &dva);
        for (int shag = 0; shag < VM_PI_SHAGOV_POLOVINOY; ++shag) {
            const vmChislo delenie = vmChastnoe(&h, &dva);
            ASSERT_TRUE(TeZheBayty(vmPolovinaShaga(h), delenie))
                << "radix " << R << " step " << shag;
            h = delenie;
        }
    }
}

} // namespace
