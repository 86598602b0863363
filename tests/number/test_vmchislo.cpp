// The number record: layout, special values, shifts, normalisation,
// literals and formatting.
#include <cmath>

#include "chisla_test_util.h"
#include "common/test_support.h"

namespace {

using Predstavlenie = ChislaTest;

TEST_F(Predstavlenie, DefaultAndSpecialValues) {
    vmChislo d;
    EXPECT_EQ(d.Poryadok, -2147483647);
    EXPECT_EQ(d.Osnovanie, 2);
    EXPECT_EQ(vmZnak(&d), 0);

    vmChislo x = Ch("5r7");
    vmNol(&x);
    EXPECT_EQ(x.Osnovanie, 7);
    EXPECT_EQ(x.Poryadok, -VM_PREDEL_PORYADKA);
    EXPECT_EQ(vmZnak(&x), 0);

    x = Ch("-3");
    vmBeskonechnost(&x);
    EXPECT_EQ(x.Znak, 1);
    EXPECT_EQ(x.CelayaChast[0], 1);
    EXPECT_EQ(x.Poryadok, VM_PREDEL_PORYADKA);
    EXPECT_EQ(x.Netochnost, 1);

    vmKonstanta(&x, VM_K_MINUS_BESKONECHNOST, 16);
    EXPECT_EQ(x.Osnovanie, 16);
    EXPECT_EQ(x.Znak, 1);
    EXPECT_EQ(vmZnak(&x), -1);
    vmKonstanta(&x, VM_K_EDINICA, 3);
    EXPECT_EQ(Tx(x), "1r3");
    vmKonstanta(&x, 99, 5); // unknown kind: only the radix changes
    EXPECT_EQ(x.Osnovanie, 5);
    EXPECT_EQ(x.CelayaChast[0], 1);
}

TEST_F(Predstavlenie, RecordBytesAreTheFileLayout) {
    vmChislo x = Ch("-1.5e-3");
    const auto* b = reinterpret_cast<const unsigned char*>(&x);
    EXPECT_EQ(b[0], 1);      // sign
    EXPECT_EQ(b[1], 1);      // units digit
    EXPECT_EQ(b[4], 5);      // first fraction digit
    EXPECT_EQ(b[104], 0xFD); // -3, little-endian
    EXPECT_EQ(b[105], 0xFF);
    EXPECT_EQ(b[107], 0xFF);
    EXPECT_EQ(b[108], 10);
    EXPECT_EQ(b[109], 0);
}

TEST_F(Predstavlenie, ExtendedFloatBitForBit) {
    vmChislo x;
    vmIzExtended(&x, -6.0L); // -1.1b * 2^2
    EXPECT_EQ(x.Znak, 1);
    EXPECT_EQ(x.CelayaChast[0], 1);
    EXPECT_EQ(x.DrobnayaChast[0], 1);
    EXPECT_EQ(x.DrobnayaChast[1], 0);
    EXPECT_EQ(x.Poryadok, 2);
    EXPECT_EQ(x.Osnovanie, 2);
    vmIzExtended(&x, 1.0L);
    EXPECT_EQ(Tx(x, 10), "1r2");
}

TEST_F(Predstavlenie, ShiftsKeepValueAndReportDroppedDigit) {
    vmChislo x = Ch("1.25"); // 1 2 5
    std::uint8_t c = 9;
    vmSdvigVpravo(&x, 1, &c);
    EXPECT_EQ(c, 0);
    EXPECT_EQ(x.Poryadok, 1);
    EXPECT_EQ(x.CelayaChast[0], 0);
    EXPECT_EQ(x.DrobnayaChast[0], 1);
    vmSdvigVlevo(&x, 1, &c);
    EXPECT_EQ(Tx(x), "1.25");

    x = Ch("1.0000000001");
    vmSdvigVpravo(&x, 100, &c); // keeps only the top digit
    EXPECT_EQ(x.Netochnost, 1);
    EXPECT_EQ(x.DrobnayaChast[99], 1);

    x = Ch("7");
    vmSdvigVpravo(&x, 104, &c);
    EXPECT_EQ(vmZnak(&x), 0);
    EXPECT_EQ(c, 0);
    x = Ch("7");
    vmSdvigVpravo(&x, -1, &c); // negative right shift is a left shift
    EXPECT_EQ(x.Poryadok, -1);
    EXPECT_EQ(x.CelayaChast[1], 7);
    EXPECT_EQ(c, 0);
    vmSdvigVlevo(&x, 2, &c); // the top digit falls out: zero
    EXPECT_EQ(c, 7);
    EXPECT_EQ(vmZnak(&x), 0);
    x = Ch("7e536870900");
    vmSdvigVpravo(&x, 20, &c);
    EXPECT_EQ(x.Poryadok, VM_PREDEL_PORYADKA);
    EXPECT_EQ(x.Netochnost, 1);
    x = Ch("7e-536870900");
    vmSdvigVlevo(&x, 20, &c);
    EXPECT_EQ(vmZnak(&x), 0);
    // Extreme counts never wrap around.
    x = Ch("7");
    vmSdvigVpravo(&x, INT32_MIN, &c);
    EXPECT_EQ(vmZnak(&x), 0);
    x = Ch("7");
    vmSdvigVlevo(&x, INT32_MIN, &c);
    EXPECT_EQ(vmZnak(&x), 0);
}

TEST_F(Predstavlenie, NormalisationRoundsHalfUpOnTheFirstDroppedDigit) {
    struct Sluchay {
        int R;
        int dropped;
        bool up;
    } sluchai[] = {{10, 5, true}, {10, 4, false}, {2, 1, true},   {3, 2, true},
                   {3, 1, false}, {16, 8, true},  {16, 7, false}, {36, 18, true}};
    for (const auto& s : sluchai) {
        vmChislo x;
        x.Osnovanie = static_cast<std::uint8_t>(s.R);
        vmNol(&x);
        // 1 in the middle integer digit, the dropped digit in the last place:
        // one right shift is needed, which drops it.
        x.CelayaChast[1] = 1;
        x.DrobnayaChast[99] = static_cast<std::uint8_t>(s.dropped);
        x.Poryadok = 0;
        vmNormalizovat(&x);
        EXPECT_EQ(x.Poryadok, 1) << s.R;
        EXPECT_EQ(x.DrobnayaChast[99], s.up ? 1 : 0) << s.R << " " << s.dropped;
    }
    // A carry out of the top digit is absorbed by a second normalisation.
    vmChislo x = Ch("9"); // 101 nines: more than a literal can carry
    for (auto& d : x.DrobnayaChast) d = 9;
    vmUvelichitMladshiy(&x);
    EXPECT_EQ(Tx(x), "10");
    EXPECT_EQ(x.Poryadok, 1);
}

struct Literal {
    const char* tekst;
    const char* vid; // formatted with 100 digits, auto exponent, radix
};

TEST_F(Predstavlenie, LiteralsReadAsWritten) {
    const Literal sluchai[] = {
        {"1.5", "1.5"},
        {"1,5", "1.5"},
        {"-1A.8e-3r16", "-0.01A8r16"},
        {"0.001", "0.001"},
        {"000123", "123"},
        {"2e3", "2000"},
        {"FFr16", "FFr16"},
        {"ZZr36", "ZZr36"},
        {"1r3", "1r3"},
        {"1e600000000", "1e536870912"},
        {"1e-600000000", "0"},
        {"1e99999999999999", "1e536870912"},
        {"12Ar10", "0"},
        {"2r2", "0r2"},
        {"5r40", "5r40"},
    };
    for (const auto& s : sluchai) {
        const vmChislo x = Ch(s.tekst);
        if (x.Osnovanie <= 36)
            EXPECT_EQ(Tx(x), s.vid) << s.tekst;
        else
            EXPECT_EQ(x.Osnovanie, 40) << s.tekst;
    }
    vmChislo x = Ch("1e600000000");
    EXPECT_EQ(x.Netochnost, 1); // infinity
}

TEST_F(Predstavlenie, InvalidLiteralsAreZeroInRadixTwo) {
    const char* nevernie[] = {"1a",    ".5",    "-.5",   "-",     "1.",    "1e", "+1",  "1r16e2",
                              "1.5.3", "",      "1e5e3", "1r",    "1 0",   "e5", "1r0", "5r1",
                              "1r200", "1r300", "1r127", "1e1.5", "1r2.5", "--1"};
    for (const char* t : nevernie) {
        const vmChislo x = Ch(t);
        EXPECT_EQ(x.Osnovanie, 2) << '"' << t << '"';
        EXPECT_EQ(vmZnak(&x), 0) << t;
        EXPECT_EQ(x.Znak, 0) << t;
    }
    // Radix 126 is the largest a literal may carry.
    EXPECT_EQ(Ch("1r126").Osnovanie, 126);
}

TEST_F(Predstavlenie, LiteralCheckShapes) {
    struct {
        const char* s;
        bool ok;
    } sluchai[] = {{"-12.5e-3r10", true}, {"Z", true},    {"1e-0", true}, {"1r10e2", false},
                   {"1.e2", false},       {"1e-", false}, {"-", false},   {"1ee2", false},
                   {"A.B", true},         {"1.5r", false}};
    for (const auto& s : sluchai)
        EXPECT_EQ(vmProveritZapis(s.s, static_cast<int>(std::strlen(s.s))), s.ok) << s.s;
    // Only the first n characters count.
    EXPECT_TRUE(vmProveritZapis("12+", 2));
}

TEST_F(Predstavlenie, ReaderUnifiesTheSeparatorInTheCallersText) {
    PostroitTabliciSimvolov(',');
    char s1[] = "1.5";
    char s2[] = "1,5";
    vmChislo a, b;
    vmIzTeksta(&a, s1);
    vmIzTeksta(&b, s2);
    EXPECT_STREQ(s1, "1,5");
    EXPECT_TRUE(Ravni(a, b));
    EXPECT_EQ(Tx(a), "1,5");
    PostroitTabliciSimvolov('.');
}

TEST_F(Predstavlenie, LongMantissaDropsTheRestWithoutRounding) {
    std::string s = "1.";
    for (int i = 0; i < 100; ++i) s += (i < 98 ? '3' : '9');
    const vmChislo x = Ch(s);
    EXPECT_EQ(x.Netochnost, 1);
    EXPECT_EQ(x.DrobnayaChast[97], 3);
    EXPECT_EQ(x.DrobnayaChast[98], 0);
    EXPECT_EQ(x.DrobnayaChast[99], 0);
}

struct Format {
    const char* literal;
    int drobnih;
    std::uint8_t flagi;
    const char* vid;
};

TEST_F(Predstavlenie, FormatterForms) {
    const std::uint8_t AVTO = VM_AVTO_EKSPONENTA | VM_S_OSNOVANIEM;
    const std::uint8_t EKSP = VM_EKSPONENTA | VM_S_OSNOVANIEM;
    const Format sluchai[] = {
        {"0.66666666666666666666666666666666666666666666666666666666666666666666666666"
         "6666666666666666666666666",
         2, AVTO, "0.67"},
        {"0.666666", 0, AVTO, "1"},
        {"0.004", 2, AVTO, "0"},
        {"999600", 2, EKSP, "10e5"},
        {"123.45", 4, VM_S_NULYAMI, "123.4500"},
        {"123.45", 4, 0, "123.45"},
        {"100", 3, 0, "100"},
        {"1", 100, EKSP, "1"},
        {"1234.5", 100, EKSP, "1.2345e3"},
        {"0.001", 100, EKSP, "1e-3"},
        {"1e10", 100, AVTO, "10000000000"},
        {"1e11", 100, AVTO, "1e11"},
        {"1e-10", 100, AVTO, "0.0000000001"},
        {"1e-11", 100, AVTO, "1e-11"},
        {"0", 100, AVTO, "0"},
        {"-2.5", 0, AVTO, "-3"},
        {"-0.004", 2, AVTO, "0"},
        {"1", 0, EKSP, "1e0"},
        {"5e5", 2, VM_EKSPONENTA, "5e5"},
        {"1.5r16", 100, AVTO, "1.5r16"},
        {"1.5r16", 100, VM_AVTO_EKSPONENTA, "1.5"},
        {"1e-5", 100, EKSP | VM_S_NULYAMI,
         "1.0000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "000000000000000000000e-5"},
    };
    for (const auto& s : sluchai)
        EXPECT_EQ(Tx(Ch(s.literal), s.drobnih, s.flagi), s.vid)
            << s.literal << " " << s.drobnih << " " << int(s.flagi);
}

TEST_F(Predstavlenie, FixedFormPadsAndTrims) {
    TAnsiString t;
    vmChislo x = Ch("12.5");
    vmVTekstFiks(t, &x, 5, 3, false, true);
    EXPECT_EQ(t.ToStd(), "00012.500");
    x = Ch("-0.5");
    vmVTekstFiks(t, &x, 3, 1, false, false);
    EXPECT_EQ(t.ToStd(), "-000.5");
    x = Ch("7r8");
    vmVTekstFiks(t, &x, 1, 2, true, false);
    EXPECT_EQ(t.ToStd(), "7r8");
}

TEST_F(Predstavlenie, FixedFormRoundsAtTheRequestedPlaceBeforeClampingIt) {
    // The digit count is clamped to 0..103 for the text only: the rounding
    // happens at R^-drobnih as asked.
    struct Sluchay {
        const char* literal;
        int drobnih;
        std::string vid;
    } const sluchai[] = {
        {"1234", -2, "1200"},
        {"1250", -2, "1300"},
        {"-1250", -2, "-1300"},
        {"1234", -10, "0"},
        // Shown to 103 places, rounded only at the 200th: the 9 is not seen.
        {"1.96e-103", 200, "0." + std::string(102, '0') + "1"},
        {"1.96e-103", 103, "0." + std::string(102, '0') + "2"},
    };
    for (const auto& s : sluchai) {
        TAnsiString t;
        const vmChislo x = Ch(s.literal);
        vmVTekstFiks(t, &x, 1, s.drobnih, false, false);
        EXPECT_EQ(t.ToStd(), s.vid) << s.literal << " " << s.drobnih;
    }
}

TEST_F(Predstavlenie, RadixAbove36FormatsAsAnErrorText) {
    const vmChislo x = Ch("5r40");
    EXPECT_EQ(Utf(TAnsiString(Tx(x).c_str())), "Ошибка: Основание должно быть <= 36");
    EXPECT_EQ(Utf(TAnsiString(Tx(x, 100, VM_EKSPONENTA).c_str())),
              "Ошибка: Основание должно быть <= 36");
}

TEST_F(Predstavlenie, ZeroNeverFormatsWithASign) {
    vmChislo x = Ch("-0");
    EXPECT_EQ(x.Znak, 0);
    EXPECT_EQ(Tx(x), "0");
    x = Ch("-0.0001");
    EXPECT_EQ(Tx(x, 2, VM_S_OSNOVANIEM), "0");
}

TEST_F(Predstavlenie, Scans) {
    vmChislo a = Ch("0.001");
    EXPECT_EQ(vmVedushieNuli(&a), 2);
    vmChislo n;
    vmNol(&n);
    EXPECT_EQ(vmVedushieNuli(&n), 103);
    EXPECT_EQ(vmZnakMantissi(&n), 0);
    vmChislo b = Ch("-0.002");
    EXPECT_EQ(vmSravnitModuli(&a, &b), -1); // digits only: 1 < 2
    EXPECT_EQ(vmZnak(&b), -1);
    b.Poryadok = -VM_PREDEL_PORYADKA; // counts as zero whatever its digits
    EXPECT_EQ(vmZnak(&b), 0);
    EXPECT_EQ(vmZnakMantissi(&b), -1);
}

} // namespace
