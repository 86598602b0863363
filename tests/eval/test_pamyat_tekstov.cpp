// The numbers noted for value texts: a text read through the table gives the
// bytes of reading the text itself, noted or not.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "eval/pamyat_tekstov.h"
#include "eval/peremennie.h"
#include "number/vm_arifmetika.h"
#include "number/vm_mashinnye.h"
#include "number/vm_tekst.h"

namespace {

vmChislo Prochest(const std::string& t) {
    std::string kopiya = t;
    vmChislo x;
    vmIzTeksta(&x, kopiya.data());
    return x;
}

bool Ravni(const vmChislo& a, const vmChislo& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Quotients with all 101 digits in use, in several radixes.
vmChislo Chastnoe(int a, int b, int R) {
    vmChislo x = Prochest(std::to_string(a) + "r" + std::to_string(R));
    const vmChislo y = Prochest(std::to_string(b) + "r" + std::to_string(R));
    vmRazdelit(&x, y);
    return x;
}

TEST(PamyatTekstov, NotedTextsReadAsTheTextItself) {
    PostroitTabliciSimvolov('.');
    std::mt19937 g(20261210);
    for (int i = 0; i < 2000; ++i) {
        const int R = 2 + int(g() % 35);
        vmChislo x = Chastnoe(1 + int(g() % 100000), 1 + int(g() % 997), R);
        if (g() % 2) vmUmnogitNaStepen(&x, int(g() % 2000) - 1000);
        const std::string t = TekstZnacheniya(x).ToStd(); // noted here
        const vmChislo ozhidaemoe = Prochest(t);
        ASSERT_TRUE(Ravni(ProchitatTekst(t), ozhidaemoe)) << t;
        // One digit other: a text of its own, never the noted number.
        std::string drugoy = t;
        const std::size_t k = drugoy.find('.') + 5;
        drugoy[k] = drugoy[k] == '0' ? '1' : '0';
        ASSERT_TRUE(Ravni(ProchitatTekst(drugoy), Prochest(drugoy))) << drugoy;
    }
}

TEST(PamyatTekstov, TextsNotNotedAndOtherSeparatorsAreRead) {
    PostroitTabliciSimvolov('.');
    for (const char* t : {"1.01r10", "0.25", "2r10", "-1A.8e-3r16", "1.5.3", "FFr10", ""})
        EXPECT_TRUE(Ravni(ProchitatTekst(t), Prochest(t))) << t;
    const std::string t = TekstZnacheniya(Chastnoe(2, 3, 10)).ToStd();
    // With "," as the separator the same bytes read by the other table.
    PostroitTabliciSimvolov(',');
    EXPECT_TRUE(Ravni(ProchitatTekst(t), Prochest(t)));
    const std::string zapyataya = TekstZnacheniya(Chastnoe(2, 3, 10)).ToStd();
    PostroitTabliciSimvolov('.');
    EXPECT_TRUE(Ravni(ProchitatTekst(zapyataya), Prochest(zapyataya)));
}

} // namespace
