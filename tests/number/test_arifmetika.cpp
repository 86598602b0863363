// Addition, subtraction, comparison, multiplication, division, scaling.
#include <fstream>
#include <sstream>

#include "chisla_test_util.h"

namespace {

using Arifmetika = ChislaTest;

vmChislo Plus(const char* a, const char* b) {
    vmChislo x = Ch(a);
    return *vmPribavit(&x, Ch(b));
}
vmChislo Minus(const char* a, const char* b) {
    vmChislo x = Ch(a);
    return *vmVichest(&x, Ch(b));
}
vmChislo Umn(const char* a, const char* b) {
    vmChislo x = Ch(a);
    return *vmUmnogit(&x, Ch(b));
}
vmChislo Del(const char* a, const char* b) {
    vmChislo x = Ch(a);
    return *vmRazdelit(&x, Ch(b));
}

void OzhidatChistiyNol(const vmChislo& x, const char* chto) {
    EXPECT_EQ(x.Znak, 0) << chto;
    EXPECT_EQ(x.Poryadok, -VM_PREDEL_PORYADKA) << chto;
    EXPECT_EQ(vmZnakMantissi(&x), 0) << chto;
}

TEST_F(Arifmetika, SumsAndDifferences) {
    struct {
        const char* a;
        const char* op;
        const char* b;
        const char* rez;
    } sluchai[] = {
        {"2", "+", "3", "5"},
        {"-2", "+", "3", "1"},
        {"2", "+", "-3", "-1"},
        {"-2", "-", "3", "-5"},
        {"0.1", "+", "0.2", "0.3"},
        {"1e20", "+", "1", "100000000000000000001"},
        {"FFr16", "+", "1r16", "100r16"},
        {"1r2", "+", "1r2", "10r2"},
        {"2r3", "+", "2r3", "11r3"},
        {"5", "-", "5.0000001", "-0.0000001"},
        {"2", "+", "2e-200", "2"},
    };
    for (const auto& s : sluchai) {
        const vmChislo r = s.op[0] == '+' ? Plus(s.a, s.b) : Minus(s.a, s.b);
        EXPECT_EQ(Tx(r, 100, VM_S_OSNOVANIEM), s.rez) << s.a << s.op << s.b;
    }
}

TEST_F(Arifmetika, AlignmentRoundsTheSmallerOperandAtTheLastPlace) {
    // 5.5e-100: its leading digit lands on the 100th fraction digit and the
    // dropped 5 rounds it up.
    vmChislo x = Plus("1", "5.5e-100");
    EXPECT_EQ(x.DrobnayaChast[99], 6);
    // 5e-101 does not survive the alignment at all.
    x = Plus("1", "5e-101");
    EXPECT_EQ(Tx(x), "1");
}

TEST_F(Arifmetika, ZeroResultsArePositiveClean) {
    OzhidatChistiyNol(Plus("1", "-1"), "1 + -1");
    EXPECT_EQ(Plus("1", "-1").Netochnost, 0);
    OzhidatChistiyNol(Minus("-7.25", "-7.25"), "-7.25 - -7.25");
    vmChislo inf;
    vmKonstanta(&inf, 3, 10);
    vmChislo r = inf;
    vmVichest(&r, inf);
    OzhidatChistiyNol(r, "-inf - -inf");
    const vmChislo x = Ch("-3.5");
    OzhidatChistiyNol(vmRaznost(&x, x), "raznost(x, x)");
    OzhidatChistiyNol(Umn("0", "-5"), "0 * -5");
    OzhidatChistiyNol(Umn("-5", "0"), "-5 * 0");
    OzhidatChistiyNol(Del("0", "-5"), "0 / -5");
    OzhidatChistiyNol(Del("0", "0.5"), "0 / 0.5");
    vmChislo ost;
    const vmChislo a = Ch("10");
    const vmChislo q = vmDelenieSOstatkom(&a, Ch("-5"), &ost);
    OzhidatChistiyNol(ost, "10 % -5");
    EXPECT_EQ(Tx(q), "-2");
}

TEST_F(Arifmetika, NewValueFormsAndComparisons) {
    const vmChislo nol = Ch("0"), pyat = Ch("5"), odin = Ch("1");
    EXPECT_EQ(Tx(vmRaznost(&nol, pyat)), "-5");
    EXPECT_EQ(Tx(vmRaznost(&pyat, nol)), "5");
    EXPECT_EQ(Tx(vmSumma(&pyat, odin)), "6");
    EXPECT_FALSE(vmBolshe(&odin, &odin));
    EXPECT_TRUE(vmBolsheIliRavno(&odin, &odin));
    EXPECT_TRUE(vmMensheIliRavno(&odin, &odin));
    EXPECT_FALSE(vmMenshe(&odin, &odin));
    const vmChislo dva = Ch("2"), kroha = Ch("2e-200"), minus = Ch("-3");
    EXPECT_TRUE(vmBolshe(&dva, &kroha));
    EXPECT_TRUE(vmMenshe(&minus, &nol));
    EXPECT_TRUE(vmBolshe(&nol, &minus));
    // The caller's numbers are not changed by a comparison.
    EXPECT_EQ(Tx(dva), "2");
}

TEST_F(Arifmetika, ScalingByPowersOfTheRadix) {
    vmChislo x = Ch("1");
    EXPECT_EQ(Tx(*vmRazdelitNaStepen(&x, 3)), "0.001");
    x = Ch("1");
    vmUmnogitNaStepen(&x, 600000000);
    EXPECT_EQ(x.Poryadok, VM_PREDEL_PORYADKA);
    EXPECT_EQ(x.Netochnost, 1);
    x = Ch("-1");
    vmRazdelitNaStepen(&x, 600000000);
    OzhidatChistiyNol(x, "-1 / R^6e8");
    x = Ch("1");
    vmUmnogitNaStepen(&x, -VM_PREDEL_PORYADKA); // exactly the zero exponent
    EXPECT_EQ(vmZnak(&x), 0);
    x = Ch("5");
    vmRazdelitNaStepen(&x, INT32_MIN); // no wrap-around of -n
    EXPECT_EQ(x.Poryadok, VM_PREDEL_PORYADKA);
    x = Ch("0");
    vmUmnogitNaStepen(&x, 2000000000); // zero stays zero
    OzhidatChistiyNol(x, "0 << 2e9");
}

TEST_F(Arifmetika, MultiplicationByADigit) {
    vmChislo x = Ch("9");
    vmUmnogitNaCifru(&x, 255);
    EXPECT_EQ(Tx(x), "2295");
    EXPECT_EQ(x.Poryadok, 3);
    x = Ch("7");
    EXPECT_EQ(vmZnak(vmUmnogitNaCifru(&x, 0)), 0);
    x = Ch("ZZr36");
    EXPECT_EQ(Tx(*vmUmnogitNaCifru(&x, 35)), "YZ1r36");
    x = Ch("1e536870912");
    vmUmnogitNaCifru(&x, 200); // overflow in the carry shift is infinity
    EXPECT_EQ(x.Poryadok, VM_PREDEL_PORYADKA);
    EXPECT_EQ(x.CelayaChast[0], 1);
}

TEST_F(Arifmetika, ProductsAndQuotients) {
    struct {
        const char* a;
        char op;
        const char* b;
        const char* rez;
    } sluchai[] = {
        {"6", '*', "7", "42"},
        {"-1.5", '*', "4", "-6"},
        {"-1.5", '*', "-4", "6"},
        {"FFr16", '*', "FFr16", "FE01r16"},
        {"101r2", '*', "11r2", "1111r2"},
        {"12345678901234567890", '*', "98765432109876543210",
         "1.2193263113702179522374638011112635269e39"},
        {"1", '/', "8", "0.125"},
        {"-5", '/', "0.25", "-20"},
        {"1r3", '/', "10r3", "0.1r3"},
        {"1", '/', "3",
         "0."
         "33333333333333333333333333333333333333333333333333333333333333333333333333333333333333333"
         "33333333333"},
        {"2", '/', "3",
         "0."
         "66666666666666666666666666666666666666666666666666666666666666666666666666666666666666666"
         "66666666666"},
    };
    for (const auto& s : sluchai) {
        const vmChislo r = s.op == '*' ? Umn(s.a, s.b) : Del(s.a, s.b);
        EXPECT_EQ(Tx(r), s.rez) << s.a << s.op << s.b;
    }
}

TEST_F(Arifmetika, DivisionIsTruncatedNotRounded) {
    const vmChislo t = Del("1", "3");
    // The first quotient position yields 0, so 100 significant digits.
    for (int j = 0; j < 99; ++j) ASSERT_EQ(t.DrobnayaChast[j], 3) << j;
    EXPECT_EQ(t.DrobnayaChast[99], 0);
    EXPECT_EQ(t.Poryadok, -1);
    EXPECT_EQ(t.CelayaChast[0], 3);
    const vmChislo d = Del("2", "3");
    EXPECT_EQ(d.DrobnayaChast[98], 6); // ...666, not ...667
    EXPECT_EQ(d.DrobnayaChast[99], 0); // 100 significant digits only
}

TEST_F(Arifmetika, DivisionByZeroIsSignedInfinity) {
    struct {
        const char* a;
        int znak;
    } sluchai[] = {{"5", 0}, {"-5", 1}, {"0", 0}};
    for (const auto& s : sluchai) {
        const vmChislo r = Del(s.a, "0");
        EXPECT_EQ(r.Poryadok, VM_PREDEL_PORYADKA) << s.a;
        EXPECT_EQ(r.Znak, s.znak) << s.a;
        EXPECT_EQ(r.Netochnost, 1) << s.a;
    }
    vmChislo ost;
    const vmChislo a = Ch("-7");
    const vmChislo q = vmDelenieSOstatkom(&a, Ch("0"), &ost);
    EXPECT_EQ(q.Poryadok, VM_PREDEL_PORYADKA);
    EXPECT_EQ(q.Znak, 0);
    EXPECT_EQ(vmZnak(&ost), 0);
}

TEST_F(Arifmetika, IntegerQuotientAndRemainderSignsFollowTheQuotient) {
    struct {
        const char* a;
        const char* b;
        const char* q;
        const char* r;
    } sluchai[] = {
        {"7", "2", "3", "1"},     {"-7", "2", "-3", "-1"},
        {"7", "-2", "-3", "-1"},  {"-7", "-2", "3", "1"},
        {"3", "5", "0", "3"},     {"0.5", "2", "0", "0.5"},
        {"7.5", "2", "3", "1.5"}, {"1e5", "7", "14285", "5"},
        {"-3", "5", "0", "-3"},   {"FFr16", "10r16", "Fr16", "Fr16"},
    };
    for (const auto& s : sluchai) {
        const vmChislo a = Ch(s.a);
        vmChislo ost;
        const vmChislo q = vmDelenieSOstatkom(&a, Ch(s.b), &ost);
        EXPECT_EQ(Tx(q), s.q) << s.a << " div " << s.b;
        EXPECT_EQ(Tx(ost), s.r) << s.a << " mod " << s.b;
    }
    // Far beyond the last digit: the quotient keeps 101 digits, the remainder
    // keeps the rest.
    const vmChislo a = Ch("1e150");
    vmChislo ost;
    const vmChislo q = vmDelenieSOstatkom(&a, Ch("3"), &ost);
    EXPECT_EQ(q.Poryadok, 149);
    EXPECT_GT(ost.Poryadok, 40);
}

TEST_F(Arifmetika, ExtremeExponentsGiveInfinityOrZero) {
    const vmChislo big = Ch("1e500000000"), small = Ch("1e-500000000");
    vmChislo r = big;
    vmRazdelit(&r, small);
    EXPECT_EQ(r.Poryadok, VM_PREDEL_PORYADKA);
    EXPECT_EQ(r.CelayaChast[0], 1);
    r = small;
    vmRazdelit(&r, big);
    EXPECT_EQ(vmZnak(&r), 0);
    r = big;
    vmUmnogit(&r, big);
    EXPECT_EQ(r.Poryadok, VM_PREDEL_PORYADKA);
    r = small;
    vmUmnogit(&r, small);
    EXPECT_EQ(vmZnak(&r), 0);
    vmChislo ost;
    const vmChislo q = vmDelenieSOstatkom(&big, small, &ost);
    EXPECT_EQ(q.Poryadok, VM_PREDEL_PORYADKA);
    EXPECT_EQ(q.CelayaChast[0], 1);
}

TEST_F(Arifmetika, InexactFlagTravelsWithTheValue) {
    vmChislo a = Ch("1e600000000"); // infinity carries it
    EXPECT_EQ(a.Netochnost, 1);
    vmChislo b = Ch("3");
    vmPribavit(&b, a);
    EXPECT_EQ(b.Netochnost, 1);
    vmChislo c = Ch("3");
    vmUmnogit(&c, Ch("2"));
    EXPECT_EQ(c.Netochnost, 0);
}

} // namespace

namespace {

// Products and quotients of 99-digit operands against bc, at 99 significant
// digits: |ours - reference| <= 1 unit of the 98th fraction digit.
TEST_F(Arifmetika, AgreesWithBcOnLongOperands) {
    std::ifstream f(std::string(CIFRAMER_TEST_DATA) + "/arifmetika_bc.txt");
    ASSERT_TRUE(f.is_open());
    std::string line;
    int n = 0;
    while (std::getline(f, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream in(line);
        std::string a, b, p, q;
        in >> a >> b >> p >> q;
        const vmChislo x = Ch(a), y = Ch(b);
        const vmChislo pr = vmProizvedenie(&x, &y), ch = vmChastnoe(&x, &y);
        for (const auto& [nashe, ref] : {std::pair{pr, Ch(p)}, std::pair{ch, Ch(q)}}) {
            vmChislo d = vmRaznost(&nashe, ref);
            d.Znak = 0;
            vmChislo ulp;
            vmKonstanta(&ulp, 1, 10);
            vmUmnogitNaStepen(&ulp, ref.Poryadok - 98);
            EXPECT_TRUE(vmMensheIliRavno(&d, &ulp)) << line << "\n" << Tx(nashe);
        }
        ++n;
    }
    EXPECT_EQ(n, 24);
}

} // namespace
