// Radix conversion: exact results where the target radix can hold the value
// exactly, the special values, round trips, the stop request, and the
// arithmetic of operands in different radixes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "number/vm_osnovanie.h"
#include "number/vm_tekst.h"
#include "number/vm_arifmetika.h"
#include "number/vm_funkcii.h"
#include "platform/platforma.h"

namespace {

vmChislo Chislo(const char* literal) {
    std::string s = literal;
    vmChislo x;
    vmIzTeksta(&x, s.data());
    return x;
}

// The normal number with the given digit characters (the first one is the
// units digit), exponent and radix; every later digit is zero.
vmChislo Ozhidaemoe(const char* cifri, std::int32_t poryadok, std::uint8_t osnovanie,
                    std::uint8_t znak = 0) {
    vmChislo x;
    x.Osnovanie = osnovanie;
    vmNol(&x);
    for (int i = 0; cifri[i] != 0; ++i) {
        const char c = cifri[i];
        vmCifra(x, 2 + i) = static_cast<std::uint8_t>(c <= '9' ? c - '0' : c - 'A' + 10);
    }
    x.Poryadok = poryadok;
    x.Znak = znak;
    return x;
}

std::string Tekst(const vmChislo& x) {
    TAnsiString t;
    vmVTekst(t, &x, 1, 100, VM_EKSPONENTA | VM_S_OSNOVANIEM);
    return t.ToStd() + " (radix byte " + std::to_string(x.Osnovanie) + ")";
}

bool Ravni(const vmChislo& a, const vmChislo& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(PerevestiVOsnovanie, ExactValuesHaveNoTail) {
    struct Sluchay {
        const char* literal;
        std::uint8_t q;
        const char* cifri;
        std::int32_t poryadok;
        std::uint8_t znak;
    } sluchai[] = {
        {"255", 16, "FF", 1, 0},
        {"-255", 16, "FF", 1, 1},
        {"255", 36, "73", 1, 0},
        {"9", 2, "1001", 3, 0},
        {"1.5", 2, "11", 0, 0},
        {"0.5", 2, "1", -1, 0},
        {"0.75", 2, "11", -1, 0},
        {"7.0625", 16, "71", 0, 0},
        {"FFr16", 10, "255", 2, 0},
        {"ZZr36", 10, "1295", 3, 0},
        {"12r3", 10, "5", 0, 0},
        {"0.1r2", 10, "5", -1, 0},
        {"1e-5r2", 10, "3125", -2, 0},
        {"1e-10r2", 10, "9765625", -4, 0},
        {"1e100r2", 10, "1267650600228229401496703205376", 30, 0},
        {"1e30", 2, "11001001111100101100100111001101000001000110011101001110110111101010010", 99,
         0},
    };
    for (const Sluchay& s : sluchai) {
        const vmChislo x = Chislo(s.literal);
        const vmChislo y = vmPerevestiVOsnovanie(x, s.q);
        const vmChislo z = Ozhidaemoe(s.cifri, s.poryadok, s.q, s.znak);
        EXPECT_TRUE(Ravni(y, z)) << s.literal << " -> radix " << int(s.q) << ": got " << Tekst(y)
                                 << ", want " << Tekst(z);
    }
}

TEST(PerevestiVOsnovanie, OneThirdInRadixThreeIsExact) {
    vmChislo odin = vmPerevestiVOsnovanie(Chislo("1"), 3);
    const vmChislo tri = vmPerevestiVOsnovanie(Chislo("3"), 3);
    EXPECT_TRUE(Ravni(tri, Ozhidaemoe("1", 1, 3))) << Tekst(tri);
    vmRazdelit(&odin, tri);
    EXPECT_TRUE(Ravni(odin, Ozhidaemoe("1", -1, 3))) << Tekst(odin);
}

TEST(PerevestiVOsnovanie, SameRadixZeroAndInfinity) {
    vmChislo x = Chislo("3.25e7");
    x.Netochnost = 1;
    EXPECT_TRUE(Ravni(vmPerevestiVOsnovanie(x, 10), x));

    vmChislo nol;
    nol.Osnovanie = 10;
    vmNol(&nol);
    const vmChislo nol2 = vmPerevestiVOsnovanie(nol, 2);
    vmChislo ozhNol;
    ozhNol.Osnovanie = 2;
    vmNol(&ozhNol);
    EXPECT_TRUE(Ravni(nol2, ozhNol)) << Tekst(nol2);
    vmChislo poUmolchaniyu; // radix 2, exponent -2^31+1: zero as well
    const vmChislo nol36 = vmPerevestiVOsnovanie(poUmolchaniyu, 36);
    EXPECT_EQ(nol36.Osnovanie, 36);
    EXPECT_EQ(nol36.Poryadok, -VM_PREDEL_PORYADKA);
    EXPECT_EQ(vmZnak(&nol36), 0);

    for (std::uint8_t znak : {0, 1}) {
        vmChislo b;
        b.Osnovanie = 10;
        b.Znak = znak;
        vmBeskonechnost(&b);
        const vmChislo b16 = vmPerevestiVOsnovanie(b, 16);
        vmChislo ozh;
        ozh.Osnovanie = 16;
        ozh.Znak = znak;
        vmBeskonechnost(&ozh);
        EXPECT_TRUE(Ravni(b16, ozh)) << Tekst(b16);
    }
    // Beyond the exponent limit of the target radix.
    const vmChislo ogromnoe = vmPerevestiVOsnovanie(Chislo("1e500000000r36"), 2);
    EXPECT_EQ(ogromnoe.Poryadok, VM_PREDEL_PORYADKA) << Tekst(ogromnoe);
    EXPECT_EQ(ogromnoe.Osnovanie, 2);
}

// 10 -> 16 -> 10 comes back within a few units of the 100th fraction digit.
TEST(PerevestiVOsnovanie, RoundTripThroughRadix16) {
    const char* literali[] = {
        "3.1415926535897932384626433832795028841971693993751058209749445923078164062862089986"
        "280348253421170679",
        "0.1",
        "123456789.98765432101234567890123456789",
        "-7.77e-300",
        "9.9999999999999999999999999999999999999999999999999999999999999999999999999999999999"
        "99999999999999999",
        "2.718281828459045235360287471352662497757247093699959574966967627724076630353547594571"
        "38217852516642742e250",
    };
    for (const char* l : literali) {
        const vmChislo x = Chislo(l);
        const vmChislo h = vmPerevestiVOsnovanie(x, 16);
        ASSERT_EQ(h.Osnovanie, 16);
        const vmChislo y = vmPerevestiVOsnovanie(h, 10);
        ASSERT_EQ(y.Osnovanie, 10);
        vmChislo raznost = vmRaznost(&y, x);
        raznost.Znak = 0;
        vmChislo dopusk;
        vmIzCelogo32(&dopusk, &x, 5);
        vmUmnogitNaStepen(&dopusk, x.Poryadok - VM_DROBNIH_RAZRYADOV);
        EXPECT_TRUE(vmMensheIliRavno(&raznost, &dopusk))
            << l << "\n  came back as " << Tekst(y) << "\n  difference " << Tekst(raznost);
    }
}

TEST(PerevestiVOsnovanie, StopRequestEndsTheDigitSearch) {
    const vmChislo x = Chislo("3.14159265358979323846264338327950288419716939937510582097494");
    for (std::uint8_t q : {2, 16}) { // to a smaller and to a larger radix
        CalcCancelled.store(1);
        const vmChislo y = vmPerevestiVOsnovanie(x, q);
        CalcCancelled.store(0);
        EXPECT_EQ(y.Osnovanie, q);
        EXPECT_EQ(vmZnak(&y), 0) << Tekst(y);
        const vmChislo bezOstanovki = vmPerevestiVOsnovanie(x, q);
        EXPECT_NE(vmZnak(&bezOstanovki), 0);
    }
}

// The short division used for the weights gives the same bytes as the
// long division of the arithmetic.
TEST(PerevestiVOsnovanie, ShortDivisionMatchesLongDivision) {
    std::uint32_t semya = 12345;
    for (std::uint8_t R : {2, 3, 7, 10, 16, 36}) {
        for (std::uint8_t m : {2, 3, 5, 7, 10, 16, 35, 36}) {
            for (int povtor = 0; povtor < 3; ++povtor) {
                vmChislo a;
                a.Osnovanie = R;
                vmNol(&a);
                for (int p = 2; p < VM_RAZRYADOV; ++p) {
                    semya = semya * 1103515245u + 12345u;
                    vmCifra(a, p) = static_cast<std::uint8_t>((semya >> 16) % R);
                }
                vmCifra(a, 2) = static_cast<std::uint8_t>(1 + povtor % (R - 1));
                a.Poryadok = povtor * 7 - 5;
                vmChislo korotko = a;
                vmRazdelitNaMaloe(&korotko, m);
                vmChislo dolgo = a, delitel;
                vmIzCelogo32(&delitel, &a, m);
                vmRazdelit(&dolgo, delitel);
                EXPECT_TRUE(Ravni(korotko, dolgo)) << "radix " << int(R) << " / " << int(m) << ": "
                                                   << Tekst(korotko) << " vs " << Tekst(dolgo);
            }
        }
    }
}

TEST(PerevestiVOsnovanie, MixedRadixArithmeticUsesTheLargerRadix) {
    const vmChislo dvoichnoe = Chislo("1.1r2"); // 1.5
    const vmChislo desyat = Chislo("10");
    const vmChislo summa = vmSumma(&dvoichnoe, desyat);
    EXPECT_TRUE(Ravni(summa, Ozhidaemoe("115", 1, 10))) << Tekst(summa);
    const vmChislo proizvedenie = vmProizvedenie(&dvoichnoe, &desyat);
    EXPECT_TRUE(Ravni(proizvedenie, Ozhidaemoe("15", 1, 10))) << Tekst(proizvedenie);
    const vmChislo ff = Chislo("FFr16");
    const vmChislo odin = Chislo("1");
    const vmChislo sto = vmSumma(&ff, odin);
    EXPECT_TRUE(Ravni(sto, Ozhidaemoe("1", 2, 16))) << Tekst(sto);
    const vmChislo polovina = Chislo("0.5");
    const vmChislo dvoichnayaPolovina = Chislo("0.1r2");
    EXPECT_TRUE(vmBolsheIliRavno(&polovina, &dvoichnayaPolovina));
    EXPECT_TRUE(vmMensheIliRavno(&polovina, &dvoichnayaPolovina));

    // A base of radix 10 and a number of radix 16 answer in radix 16:
    // log_2 256 = 8 to the accuracy of the logarithms (radix^-92).
    const vmChislo l = vmLog(Chislo("2"), Chislo("100r16"));
    ASSERT_EQ(l.Osnovanie, 16);
    const vmChislo vosem = Chislo("8r16");
    vmChislo raznost = vmRaznost(&l, vosem);
    raznost.Znak = 0;
    vmChislo dopusk = Chislo("1r16");
    vmRazdelitNaStepen(&dopusk, 88);
    EXPECT_TRUE(vmMensheIliRavno(&raznost, &dopusk)) << Tekst(l);
}

} // namespace
