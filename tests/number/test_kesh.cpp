// The constant cache: lookup and fill, the files it writes and the files it
// refuses. Every test runs in a fresh temporary current directory, so the
// developer's own cache folder is never touched.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "common/test_support.h"
#include "funkcii_pomoshch.h"
#include "number/vm_kesh.h"
#include "number/vm_funkcii.h"

namespace fs = std::filesystem;

namespace {

// A well-formed record in radix r whose digits all equal `cifra` (below r).
vmChislo Zapis(std::uint8_t r, std::uint8_t cifra, std::int32_t poryadok = 0) {
    vmChislo v;
    v.Osnovanie = r;
    v.Znak = 0;
    for (int p = 0; p < VM_RAZRYADOV; ++p) vmCifra(v, p) = cifra;
    v.CelayaChast[1] = v.CelayaChast[2] = 0;
    v.CelayaChast[0] = 1;
    v.Poryadok = poryadok;
    v.Netochnost = 1;
    return v;
}

std::string Bayti(const vmChislo& v) {
    return std::string(reinterpret_cast<const char*>(&v), sizeof(vmChislo));
}

std::string ProchitatFayl(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void ZapisatFayl(const fs::path& p, const std::string& bayti) {
    std::ofstream f(p, std::ios::binary);
    f.write(bayti.data(), static_cast<std::streamsize>(bayti.size()));
}

std::vector<std::string> Soderzhimoe(const fs::path& papka) {
    std::vector<std::string> imena;
    std::error_code ec;
    for (fs::directory_iterator it(papka, ec), end; !ec && it != end; it.increment(ec))
        imena.push_back(it->path().filename().string());
    std::sort(imena.begin(), imena.end());
    return imena;
}

std::string Imya(VidKonstanti vid, int r, int n) {
    return ImyaFaylaKonstanti(vid, r, n).ToStd();
}

// Runs each test in its own empty temporary directory and empties the cache
// before and after.
class Kesh : public ::testing::Test {
  protected:
    void SetUp() override {
        prezhnyaya_ = fs::current_path();
        char shablon[] = "/tmp/ciframer_kesh_XXXXXX";
        ASSERT_NE(::mkdtemp(shablon), nullptr);
        vremennaya_ = shablon;
        ASSERT_EQ(::chdir(vremennaya_.c_str()), 0);
        OchistitKesh();
    }
    void TearDown() override {
        OchistitKesh();
        ::chmod((vremennaya_ / "VelimathData").c_str(), 0755);
        EXPECT_EQ(::chdir(prezhnyaya_.c_str()), 0);
        std::error_code ec;
        fs::remove_all(vremennaya_, ec);
    }
    fs::path Papka() const { return vremennaya_ / "VelimathData"; }

    fs::path prezhnyaya_;
    fs::path vremennaya_;
};

TEST_F(Kesh, FileNamesAreExact) {
    EXPECT_EQ(Imya(VidKonstanti::Ln, 10, 2), "int3frac100radix10ln(2).vmChislo");
    EXPECT_EQ(Imya(VidKonstanti::Exp, 10, 1), "int3frac100radix10_exp(1).vmChislo");
    EXPECT_EQ(Imya(VidKonstanti::Pi, 16, 0), "int3frac100radix16pi(1).vmChislo");
    EXPECT_EQ(Imya(VidKonstanti::Ln, 126, 255), "int3frac100radix126ln(255).vmChislo");
    EXPECT_EQ(Imya(VidKonstanti::Exp, 2, 0), "int3frac100radix2_exp(0).vmChislo");
}

TEST_F(Kesh, NumberAfterKey) {
    struct Sluchay {
        const char* imya;
        const char* klyuch;
        bool nayden;
        std::int32_t chislo;
    } sluchai[] = {
        {"int3frac100radix10ln(2).vmChislo", "int", true, 3},
        {"int3frac100radix10ln(2).vmChislo", "frac", true, 100},
        {"int3frac100radix10ln(2).vmChislo", "radix", true, 10},
        {"int3frac100radix10ln(2).vmChislo", "ln(", true, 2},
        {"int3frac100radix10_exp(17).vmChislo", "exp(", true, 17},
        {"int3frac100radix-5pi(1).vmChislo", "radix", true, -5},
        {"int3frac100radix1e1pi(1).vmChislo", "radix", true, 10},
        {"int3frac100radix10pi().vmChislo", "pi(", false, 0},
        {"int3frac100radix10pi(1).vmChislo", "ln(", false, 0},
        {"int3frac100radixpi(1).vmChislo", "radix", true, 1}, // the number of "pi(1)"
        {"radix", "radix", false, 0},
    };
    for (const Sluchay& s : sluchai) {
        std::int32_t n = -777;
        EXPECT_EQ(ChisloPosleKlyucha(TAnsiString(s.imya), TAnsiString(s.klyuch), &n), s.nayden)
            << s.imya << " / " << s.klyuch;
        if (s.nayden) {
            EXPECT_EQ(n, s.chislo) << s.imya << " / " << s.klyuch;
        }
    }
}

TEST_F(Kesh, FillKeepsTheFirstValueAndRefusesBadIndexes) {
    const vmChislo a = Zapis(10, 3), b = Zapis(10, 4);
    vmChislo v;
    EXPECT_FALSE(KeshNayti(VidKonstanti::Ln, 10, 2, &v));
    EXPECT_EQ(Bayti(KeshZapolnit(VidKonstanti::Ln, 10, 2, a)), Bayti(a));
    EXPECT_EQ(Bayti(KeshZapolnit(VidKonstanti::Ln, 10, 2, b)), Bayti(a));
    ASSERT_TRUE(KeshNayti(VidKonstanti::Ln, 10, 2, &v));
    EXPECT_EQ(Bayti(v), Bayti(a));
    EXPECT_FALSE(KeshNayti(VidKonstanti::Exp, 10, 2, &v)); // tables are separate

    EXPECT_EQ(Bayti(KeshZapolnit(VidKonstanti::Pi, 16, 99, b)), Bayti(b)); // n ignored for pi
    EXPECT_TRUE(KeshNayti(VidKonstanti::Pi, 16, 0, &v));

    for (auto [r, n] : {std::pair{-1, 0}, {127, 0}, {10, -1}, {10, 256}}) {
        EXPECT_EQ(Bayti(KeshZapolnit(VidKonstanti::Exp, r, n, a)), Bayti(a));
        EXPECT_FALSE(KeshNayti(VidKonstanti::Exp, r, n, &v)) << r << " " << n;
    }
    EXPECT_FALSE(KeshNayti(VidKonstanti::Pi, 127, 0, &v));
}

// Saved and loaded back, the constants the program computes come back as the
// same bytes, in every radix row it can fill: radixes above 36 too (a literal
// such as 11r100 computes in radix 100), ln 1 as the exact zero, and records
// with either inexact flag.
TEST_F(Kesh, SaveClearLoadGivesTheSameBytes) {
    using funkcii_test::Ch;
    struct Zapis {
        VidKonstanti vid;
        int r, n;
        vmChislo znachenie;
    } zapisi[] = {
        {VidKonstanti::Ln, 10, 2, vmLn(Ch("2"), true)},
        {VidKonstanti::Ln, 10, 1, vmLn(Ch("1"), true)},
        {VidKonstanti::Ln, 2, 3, vmLn(Ch("11r2"), true)},
        {VidKonstanti::Exp, 10, 1, funkcii_test::Konst(4, 10)},
        {VidKonstanti::Exp, 36, 0, vmExp(Ch("0r36"), true)},
        {VidKonstanti::Exp, 7, 4, vmExp(Ch("4r7"), true)},
        {VidKonstanti::Exp, 100, 1, funkcii_test::Konst(4, 100)},
        {VidKonstanti::Pi, 16, 0, Ch("3.243F6A8885A308D313198A2E03707344A4093822299F31D008r16")},
        {VidKonstanti::Exp, 2, 1, funkcii_test::Konst(4, 2)}, // filled by ln 3 of radix 2
    };
    zapisi[7].znachenie.Netochnost = 1;
    ASSERT_EQ(zapisi[0].znachenie.Netochnost + zapisi[4].znachenie.Netochnost, 1);
    ASSERT_EQ(vmZnak(&zapisi[1].znachenie), 0);
    ASSERT_EQ(zapisi[6].znachenie.Osnovanie, 100);
    for (const auto& z : zapisi) KeshZapolnit(z.vid, z.r, z.n, z.znachenie);

    SborSoobsheniy soobsheniya;
    SohranitKesh();
    std::vector<std::string> ozhidaemie;
    for (const auto& z : zapisi) ozhidaemie.push_back(Imya(z.vid, z.r, z.n));
    std::sort(ozhidaemie.begin(), ozhidaemie.end());
    EXPECT_EQ(Soderzhimoe(Papka()), ozhidaemie); // and no temporary files left
    EXPECT_EQ(ProchitatFayl(Papka() / "int3frac100radix10ln(2).vmChislo"),
              Bayti(zapisi[0].znachenie));

    OchistitKesh();
    vmChislo v;
    EXPECT_FALSE(KeshNayti(VidKonstanti::Ln, 10, 2, &v));
    ZagruzitKesh();
    for (const auto& z : zapisi) {
        ASSERT_TRUE(KeshNayti(z.vid, z.r, z.n, &v)) << z.r << " " << z.n;
        EXPECT_EQ(Bayti(v), Bayti(z.znachenie)) << z.r << " " << z.n;
    }
    EXPECT_FALSE(KeshNayti(VidKonstanti::Pi, 10, 0, &v));
    EXPECT_EQ(Soderzhimoe(Papka()), ozhidaemie);
    EXPECT_TRUE(soobsheniya.Soobsheniya().empty());
}

// A file under one of the program's own names that does not hold exactly
// what the program writes there is refused and deleted, so the value
// computed in its place is saved at exit and found by the next start. Files
// whose names the program never writes are skipped and left as they are.
TEST_F(Kesh, DamagedFilesAreDeletedAndWrittenAnewForeignOnesKept) {
    using funkcii_test::Ch;
    const vmChislo ln2 = vmLn(Ch("2"), true), e = funkcii_test::Konst(4, 10);
    const vmChislo pi = Ch("3.14159265358979323846264338327950288419716939937510582097494459r10");
    OchistitKesh();
    auto s = [](vmChislo v) { return Bayti(v); };
    vmChislo nenormalnaya = ln2; // 6.93...e-1 written as 69.3...e-2
    nenormalnaya.CelayaChast[1] = nenormalnaya.CelayaChast[0];
    nenormalnaya.CelayaChast[0] = nenormalnaya.DrobnayaChast[0];
    std::memmove(nenormalnaya.DrobnayaChast, nenormalnaya.DrobnayaChast + 1, 99);
    nenormalnaya.DrobnayaChast[99] = 0;
    nenormalnaya.Poryadok -= 1;
    vmChislo chuzhoeZnachenie = ln2; // the well-formed 0.5931...
    chuzhoeZnachenie.CelayaChast[0] = 5;
    chuzhoeZnachenie.DrobnayaChast[0] = 9;
    vmChislo flag2 = e;
    flag2.Netochnost = 2;
    vmChislo predel = pi;
    predel.Poryadok = VM_PREDEL_PORYADKA;
    vmChislo nolPoUmolchaniyu = vmLn(Ch("1"), true);
    nolPoUmolchaniyu.Poryadok = VM_PORYADOK_PO_UMOLCHANIYU;
    vmChislo cifra = e;
    cifra.DrobnayaChast[50] = 10;
    vmChislo znak = e;
    znak.Znak = 2;
    vmChislo osn16 = e;
    osn16.Osnovanie = 16;
    vmChislo minusE = e;
    minusE.Znak = 1;
    vmChislo beskonechnost = funkcii_test::Konst(2, 10);

    struct Sluchay {
        const char* opisanie;
        std::string imya;
        std::string bayti;
    } nashi[] = {
        {"mantissa not in normal form", Imya(VidKonstanti::Ln, 10, 2), s(nenormalnaya)},
        {"well formed, wrong value", Imya(VidKonstanti::Exp, 10, 1), s(chuzhoeZnachenie)},
        {"inexact flag 2", Imya(VidKonstanti::Exp, 10, 2), s(flag2)},
        {"exponent 2^29, mantissa not 1", Imya(VidKonstanti::Pi, 10, 0), s(predel)},
        {"zero with the default exponent", Imya(VidKonstanti::Ln, 10, 1), s(nolPoUmolchaniyu)},
        {"ln 0", Imya(VidKonstanti::Ln, 10, 0), s(vmLn(Ch("0"), true))},
        {"infinity", Imya(VidKonstanti::Exp, 10, 3), s(beskonechnost)},
        {"negative e", Imya(VidKonstanti::Exp, 10, 4), s(minusE)},
        {"digit not below radix", Imya(VidKonstanti::Exp, 10, 5), s(cifra)},
        {"sign 2", Imya(VidKonstanti::Exp, 10, 6), s(znak)},
        {"radix byte differs from name", Imya(VidKonstanti::Exp, 10, 7), s(osn16)},
        {"109 bytes", Imya(VidKonstanti::Ln, 10, 3), s(ln2).substr(0, 109)},
        {"111 bytes", Imya(VidKonstanti::Ln, 10, 4), s(ln2) + "x"},
        {"empty", Imya(VidKonstanti::Ln, 10, 5), ""},
        {"radix 37, wrong value", Imya(VidKonstanti::Pi, 37, 0), s(Zapis(37, 5))},
    };
    const Sluchay chuzhie[] = {
        {"radix 1", "int3frac100radix1pi(1).vmChislo", s(Zapis(1, 0))},
        {"radix 127", "int3frac100radix127ln(2).vmChislo", s(ln2)},
        {"negative radix", "int3frac100radix-10ln(2).vmChislo", s(ln2)},
        {"leading zero", "int3frac100radix010ln(2).vmChislo", s(nenormalnaya)},
        {"frac 50", "int3frac50radix10pi(1).vmChislo", s(pi)},
        {"int 2", "int2frac100radix10pi(1).vmChislo", s(pi)},
        {"pi(2)", "int3frac100radix10pi(2).vmChislo", s(pi)},
        {"ln(256)", "int3frac100radix10ln(256).vmChislo", s(ln2)},
        {"ln(-1)", "int3frac100radix10ln(-1).vmChislo", s(ln2)},
        {"no radix", "int3frac100ln(2).vmChislo", s(ln2)},
        {"other extension", "int3frac100radix10pi(1).vmChislo.bak", s(predel)},
    };
    fs::create_directory(Papka());
    for (const Sluchay& c : nashi) ZapisatFayl(Papka() / c.imya, c.bayti);
    for (const Sluchay& c : chuzhie) ZapisatFayl(Papka() / c.imya, c.bayti);

    SborSoobsheniy soobsheniya;
    ZagruzitKesh();
    vmChislo v;
    for (int r = 0; r < VM_KESH_OSNOVANIY; ++r) {
        for (int n = 0; n < VM_KESH_CHISEL; ++n) {
            EXPECT_FALSE(KeshNayti(VidKonstanti::Ln, r, n, &v)) << r << " ln " << n;
            EXPECT_FALSE(KeshNayti(VidKonstanti::Exp, r, n, &v)) << r << " exp " << n;
        }
        EXPECT_FALSE(KeshNayti(VidKonstanti::Pi, r, 0, &v)) << r << " pi";
    }
    for (const Sluchay& c : nashi) EXPECT_FALSE(fs::exists(Papka() / c.imya)) << c.opisanie;
    for (const Sluchay& c : chuzhie)
        EXPECT_EQ(ProchitatFayl(Papka() / c.imya), c.bayti) << c.opisanie << " must stay";

    // The run computes ln 2 and e afresh; the exit saves them, the next start
    // takes them.
    const vmChislo ln2Snova = vmLn(Ch("2"), true), eSnova = funkcii_test::Konst(4, 10);
    SohranitKesh();
    EXPECT_EQ(ProchitatFayl(Papka() / Imya(VidKonstanti::Ln, 10, 2)), Bayti(ln2Snova));
    EXPECT_EQ(ProchitatFayl(Papka() / Imya(VidKonstanti::Exp, 10, 1)), Bayti(eSnova));
    OchistitKesh();
    ZagruzitKesh();
    ASSERT_TRUE(KeshNayti(VidKonstanti::Ln, 10, 2, &v));
    EXPECT_EQ(Bayti(v), Bayti(ln2));
    ASSERT_TRUE(KeshNayti(VidKonstanti::Exp, 10, 1, &v));
    EXPECT_EQ(Bayti(v), Bayti(e));
    EXPECT_TRUE(soobsheniya.Soobsheniya().empty());
}

TEST_F(Kesh, UnreadableFileIsDeleted) {
    // A cache name that leads to a regular file whose read fails (the
    // process's own memory at address 0).
    if (!fs::exists("/proc/self/mem")) GTEST_SKIP() << "no /proc";
    fs::create_directory(Papka());
    const fs::path imya = Papka() / "int3frac100radix10pi(1).vmChislo";
    fs::create_symlink("/proc/self/mem", imya);
    ZagruzitKesh();
    vmChislo v;
    EXPECT_FALSE(KeshNayti(VidKonstanti::Pi, 10, 0, &v));
    EXPECT_FALSE(fs::exists(fs::symlink_status(imya)));
}

TEST_F(Kesh, ExistingFileIsNeverReplaced) {
    const vmChislo staroe = Zapis(10, 1), novoe = Zapis(10, 8);
    fs::create_directory(Papka());
    const fs::path imya = Papka() / "int3frac100radix10pi(1).vmChislo";
    ZapisatFayl(imya, Bayti(staroe));
    KeshZapolnit(VidKonstanti::Pi, 10, 0, novoe);
    SohranitKesh();
    EXPECT_EQ(ProchitatFayl(imya), Bayti(staroe));
    EXPECT_TRUE(SohranitKonstantu(TAnsiString("int3frac100radix10pi(1).vmChislo"), &novoe));
    EXPECT_EQ(ProchitatFayl(imya), Bayti(staroe));
    EXPECT_EQ(Soderzhimoe(Papka()).size(), 1u);
}

// A missing folder is created by the save; a folder that is a plain file or
// cannot be written to only loses the files. Never a message.
TEST_F(Kesh, MissingPlainFileOrUnwritableFolderCostsNothing) {
    enum SostoyaniePapki { Net, Fayl, TolkoChtenie };
    for (SostoyaniePapki vid : {Net, Fayl, TolkoChtenie}) {
        SCOPED_TRACE(vid);
        std::error_code ec;
        fs::remove_all(Papka(), ec);
        OchistitKesh();
        if (vid == Fayl) ZapisatFayl(Papka(), "not a folder");
        if (vid == TolkoChtenie) {
            // Permissions do not stop root, so root gets a folder of /proc,
            // where nothing can be created.
            if (::geteuid() != 0) {
                fs::create_directory(Papka());
                ::chmod(Papka().c_str(), 0555);
            } else if (fs::is_directory("/proc/self/fdinfo")) {
                fs::create_directory_symlink("/proc/self/fdinfo", Papka());
            } else {
                continue;
            }
        }
        SborSoobsheniy soobsheniya;
        ZagruzitKesh();
        const vmChislo pi = Zapis(10, 2);
        KeshZapolnit(VidKonstanti::Pi, 10, 0, pi);
        SohranitKesh();
        const bool zapisan =
            SohranitKonstantu(TAnsiString("int3frac100radix10pi(1).vmChislo"), &pi);
        EXPECT_EQ(zapisan, vid == Net);
        EXPECT_EQ(fs::is_regular_file(Papka() / "int3frac100radix10pi(1).vmChislo"), vid == Net);
        if (vid == Fayl) {
            EXPECT_EQ(ProchitatFayl(Papka()), "not a folder");
        }
        vmChislo v;
        EXPECT_TRUE(KeshNayti(VidKonstanti::Pi, 10, 0, &v)); // the value stays usable
        EXPECT_TRUE(soobsheniya.Soobsheniya().empty());
        ::chmod(Papka().c_str(), 0755);
    }
}

// Two threads look up and fill the same entries at the same time, each with
// its own candidate values; a third only reads. Every value ever seen must be
// one whole candidate, both fillers must end with the same bytes, and saving
// must write exactly one file per entry.
TEST_F(Kesh, TwoThreadsFillTheSameEntries) {
    // Each saved file is synced to disk, so the table is kept small.
    constexpr int R_OT = 2, R_DO = 20, N = 6;
    std::atomic<int> gotovy{0};
    std::atomic<bool> konec{false};
    std::atomic<int> rvanye{0};
    std::vector<std::string> uvideno[2];

    auto zapolnyatel = [&](int t) {
        gotovy.fetch_add(1);
        while (gotovy.load() < 3) {
        }
        for (int r = R_OT; r <= R_DO; ++r) {
            for (int n = 0; n < N; ++n) {
                const vmChislo moy =
                    Zapis(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(t));
                vmChislo v;
                if (!KeshNayti(VidKonstanti::Ln, r, n, &v))
                    v = KeshZapolnit(VidKonstanti::Ln, r, n, moy);
                uvideno[t].push_back(Bayti(v));
                v = KeshZapolnit(VidKonstanti::Exp, r, n, moy);
                uvideno[t].push_back(Bayti(v));
            }
            const vmChislo moy = Zapis(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(t));
            uvideno[t].push_back(Bayti(KeshZapolnit(VidKonstanti::Pi, r, 0, moy)));
        }
    };
    auto chitatel = [&] {
        gotovy.fetch_add(1);
        while (gotovy.load() < 3) {
        }
        while (!konec.load()) {
            for (int r = R_OT; r <= R_DO; ++r) {
                vmChislo v;
                for (VidKonstanti vid : {VidKonstanti::Ln, VidKonstanti::Exp, VidKonstanti::Pi}) {
                    if (!KeshNayti(vid, r, 1, &v)) continue;
                    // A whole candidate: every fraction digit equal and 0 or 1.
                    bool celoe = v.Osnovanie == r && v.DrobnayaChast[0] <= 1;
                    for (int j = 1; j < VM_DROBNIH_RAZRYADOV; ++j)
                        celoe = celoe && v.DrobnayaChast[j] == v.DrobnayaChast[0];
                    if (!celoe) rvanye.fetch_add(1);
                }
            }
        }
    };
    std::thread a(zapolnyatel, 0), b(zapolnyatel, 1), c(chitatel);
    a.join();
    b.join();
    konec = true;
    c.join();

    EXPECT_EQ(rvanye.load(), 0);
    ASSERT_EQ(uvideno[0].size(), uvideno[1].size());
    for (size_t i = 0; i < uvideno[0].size(); ++i) ASSERT_EQ(uvideno[0][i], uvideno[1][i]) << i;

    SohranitKesh();
    const size_t zapisey = static_cast<size_t>(R_DO - R_OT + 1) * (2 * N + 1);
    const std::vector<std::string> fayly = Soderzhimoe(Papka());
    EXPECT_EQ(fayly.size(), zapisey);
    vmChislo v;
    ASSERT_TRUE(KeshNayti(VidKonstanti::Exp, 16, 5, &v));
    EXPECT_EQ(ProchitatFayl(Papka() / Imya(VidKonstanti::Exp, 16, 5)), Bayti(v));
}

} // namespace

// The same through the real constants: the calculation thread and the main
// thread ask for pi and e of one radix at once on an empty cache.
TEST_F(Kesh, TwoThreadsComputingPiAndEShareOneValue) {
    constexpr std::uint8_t R = 2; // the cheapest radix for a cold pi
    std::atomic<int> gotovy{0};
    vmChislo pi[2], e[2];
    auto potok = [&](int t) {
        gotovy.fetch_add(1);
        while (gotovy.load() < 2) {
        }
        pi[t] = vmPi(R);
        vmKonstanta(&e[t], VM_K_E, R);
    };
    std::thread a(potok, 0), b(potok, 1);
    a.join();
    b.join();
    EXPECT_EQ(Bayti(pi[0]), Bayti(pi[1]));
    EXPECT_EQ(Bayti(e[0]), Bayti(e[1]));
    // pi = 11.00100100001111..., e = 10.10110111111000... in radix 2.
    const std::uint8_t piBiti[] = {1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 1, 1, 1, 1};
    const std::uint8_t eBiti[] = {1, 0, 1, 0, 1, 1, 0, 1, 1, 1, 1, 1, 1, 0, 0, 0};
    EXPECT_EQ(pi[0].Osnovanie, R);
    EXPECT_EQ(pi[0].Poryadok, 1);
    EXPECT_EQ(e[0].Poryadok, 1);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(vmCifra(pi[0], 2 + i), piBiti[i]) << "pi bit " << i;
        EXPECT_EQ(vmCifra(e[0], 2 + i), eBiti[i]) << "e bit " << i;
    }
    vmChislo v;
    ASSERT_TRUE(KeshNayti(VidKonstanti::Pi, R, 0, &v));
    EXPECT_EQ(Bayti(v), Bayti(pi[0]));

    SohranitKesh();
    EXPECT_EQ(ProchitatFayl(Papka() / "int3frac100radix2pi(1).vmChislo"), Bayti(pi[0]));
    EXPECT_EQ(ProchitatFayl(Papka() / "int3frac100radix2_exp(1).vmChislo"), Bayti(e[0]));
    // Loaded back by a later start, the values are the same bytes.
    OchistitKesh();
    ZagruzitKesh();
    EXPECT_EQ(Bayti(vmPi(R)), Bayti(pi[0]));
}
