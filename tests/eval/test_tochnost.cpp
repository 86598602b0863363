// Whole calculations against values computed independently with bc
// (tests/data/eval_bc.txt says how).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "eval/progon.h"

namespace {

std::vector<std::string> Razrezat(const std::string& s, const std::string& razd) {
    std::vector<std::string> chasti;
    std::size_t nachalo = 0;
    for (std::size_t i; (i = s.find(razd, nachalo)) != std::string::npos; nachalo = i + razd.size())
        chasti.push_back(s.substr(nachalo, i - nachalo));
    chasti.push_back(s.substr(nachalo));
    return chasti;
}

TEST(Tochnost, AgreesWithBcTo90Digits) {
    std::ifstream fayl(std::string(CIFRAMER_TEST_DATA) + "/eval_bc.txt");
    ASSERT_TRUE(fayl) << "eval_bc.txt";
    std::string stroka;
    int sluchaev = 0;
    while (std::getline(fayl, stroka)) {
        if (stroka.empty() || stroka[0] == '#') continue;
        const auto polya = Razrezat(stroka, "\t");
        ASSERT_EQ(polya.size(), 4u) << stroka;
        TNastroyki n;
        n.osnovanie = std::stoi(polya[0]);
        n.ugol = static_cast<std::uint8_t>(std::stoi(polya[1]));
        const TItogProgona itog = Progon(Razrezat(polya[2], " ; "), n);
        ASSERT_TRUE(itog.gotovo) << polya[2];
        EXPECT_TRUE(BlizkieChisla(polya[3], itog.rezultat, 90))
            << polya[2] << " in radix " << polya[0] << ": " << itog.rezultat;
        ++sluchaev;
    }
    EXPECT_GE(sluchaev, 10);
}

} // namespace
