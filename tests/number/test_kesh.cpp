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
#include "number/kesh.h"
#include "number/vmfunkcii.h"

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

TEST_F(Kesh, SaveClearLoadGivesTheSameBytes) {
    const vmChislo ln2 = Zapis(10, 6, -1), e = Zapis(10, 7), pi16 = Zapis(16, 15),
                   ln3b2 = Zapis(2, 1, 0);
    vmChislo nol = Zapis(36, 0);
    nol.Poryadok = VM_PORYADOK_PO_UMOLCHANIYU;           // the default zero is a valid record
    vmChislo minus = Zapis(36, 35, -VM_PREDEL_PORYADKA); // zero exponent, sign 1
    minus.Znak = 1;
    const vmChislo beskonechnost = Zapis(3, 0, VM_PREDEL_PORYADKA);
    KeshZapolnit(VidKonstanti::Ln, 10, 2, ln2);
    KeshZapolnit(VidKonstanti::Exp, 10, 1, e);
    KeshZapolnit(VidKonstanti::Pi, 16, 0, pi16);
    KeshZapolnit(VidKonstanti::Ln, 2, 3, ln3b2);
    KeshZapolnit(VidKonstanti::Exp, 36, 0, nol);
    KeshZapolnit(VidKonstanti::Exp, 36, 255, minus);
    KeshZapolnit(VidKonstanti::Pi, 3, 0, beskonechnost);

    SborSoobsheniy soobsheniya;
    SohranitKesh();
    const std::vector<std::string> ozhidaemie = {
        "int3frac100radix10_exp(1).vmChislo", "int3frac100radix10ln(2).vmChislo",
        "int3frac100radix16pi(1).vmChislo",   "int3frac100radix2ln(3).vmChislo",
        "int3frac100radix36_exp(0).vmChislo", "int3frac100radix36_exp(255).vmChislo",
        "int3frac100radix3pi(1).vmChislo"};
    EXPECT_EQ(Soderzhimoe(Papka()), ozhidaemie); // and no temporary files left
    EXPECT_EQ(ProchitatFayl(Papka() / "int3frac100radix10ln(2).vmChislo"), Bayti(ln2));
    EXPECT_EQ(ProchitatFayl(Papka() / "int3frac100radix16pi(1).vmChislo"), Bayti(pi16));

    OchistitKesh();
    vmChislo v;
    EXPECT_FALSE(KeshNayti(VidKonstanti::Ln, 10, 2, &v));
    ZagruzitKesh();
    struct {
        VidKonstanti vid;
        int r, n;
        const vmChislo& znachenie;
    } zapisi[] = {{VidKonstanti::Ln, 10, 2, ln2},         {VidKonstanti::Exp, 10, 1, e},
                  {VidKonstanti::Pi, 16, 0, pi16},        {VidKonstanti::Ln, 2, 3, ln3b2},
                  {VidKonstanti::Exp, 36, 0, nol},        {VidKonstanti::Exp, 36, 255, minus},
                  {VidKonstanti::Pi, 3, 0, beskonechnost}};
    for (const auto& z : zapisi) {
        ASSERT_TRUE(KeshNayti(z.vid, z.r, z.n, &v)) << z.r << " " << z.n;
        EXPECT_EQ(Bayti(v), Bayti(z.znachenie)) << z.r << " " << z.n;
    }
    EXPECT_FALSE(KeshNayti(VidKonstanti::Pi, 10, 0, &v));
    EXPECT_TRUE(soobsheniya.Soobsheniya().empty());
}

TEST_F(Kesh, DamagedOrForeignFilesAreSkippedAndKept) {
    const vmChislo dobraya = Zapis(10, 5);
    auto s = [](vmChislo v) { return Bayti(v); };
    vmChislo cifra = dobraya;
    cifra.DrobnayaChast[50] = 10;
    vmChislo celaya = dobraya;
    celaya.CelayaChast[2] = 12;
    vmChislo znak = dobraya;
    znak.Znak = 2;
    vmChislo bolshoy = dobraya;
    bolshoy.Poryadok = VM_PREDEL_PORYADKA + 1;
    vmChislo malenkiy = dobraya;
    malenkiy.Poryadok = -VM_PREDEL_PORYADKA - 1;
    vmChislo minimum = dobraya;
    minimum.Poryadok = INT32_MIN;
    vmChislo osn16 = dobraya;
    osn16.Osnovanie = 16;
    vmChislo osn37 = Zapis(37, 5);
    vmChislo osn1 = Zapis(1, 0);

    struct Sluchay {
        const char* opisanie;
        std::string imya;
        std::string bayti;
    } sluchai[] = {
        {"109 bytes", "int3frac100radix10ln(2).vmChislo", s(dobraya).substr(0, 109)},
        {"111 bytes", "int3frac100radix10ln(3).vmChislo", s(dobraya) + "x"},
        {"empty", "int3frac100radix10ln(4).vmChislo", ""},
        {"radix byte differs from name", "int3frac100radix10_exp(1).vmChislo", s(osn16)},
        {"fraction digit not below radix", "int3frac100radix10_exp(2).vmChislo", s(cifra)},
        {"integer digit not below radix", "int3frac100radix10_exp(3).vmChislo", s(celaya)},
        {"sign 2", "int3frac100radix10_exp(4).vmChislo", s(znak)},
        {"exponent above 2^29", "int3frac100radix10_exp(5).vmChislo", s(bolshoy)},
        {"exponent below -2^29", "int3frac100radix10_exp(6).vmChislo", s(malenkiy)},
        {"exponent INT32_MIN", "int3frac100radix10_exp(7).vmChislo", s(minimum)},
        {"radix 37", "int3frac100radix37pi(1).vmChislo", s(osn37)},
        {"radix 1", "int3frac100radix1pi(1).vmChislo", s(osn1)},
        {"frac 50", "int3frac50radix10pi(1).vmChislo", s(dobraya)},
        {"int 2", "int2frac100radix10pi(1).vmChislo", s(dobraya)},
        {"pi(2)", "int3frac100radix10pi(2).vmChislo", s(dobraya)},
        {"radix 127", "int3frac100radix127ln(2).vmChislo", s(dobraya)},
        {"negative radix", "int3frac100radix-10ln(2).vmChislo", s(dobraya)},
        {"ln(256)", "int3frac100radix10ln(256).vmChislo", s(dobraya)},
        {"ln(-1)", "int3frac100radix10ln(-1).vmChislo", s(dobraya)},
        {"no radix", "int3frac100ln(2).vmChislo", s(dobraya)},
        {"other extension", "int3frac100radix10pi(1).vmChislo.bak", s(dobraya)},
    };
    fs::create_directory(Papka());
    for (const Sluchay& c : sluchai) ZapisatFayl(Papka() / c.imya, c.bayti);

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
    for (const Sluchay& c : sluchai) {
        EXPECT_EQ(ProchitatFayl(Papka() / c.imya), c.bayti) << c.opisanie << " must stay on disk";
    }
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
        vmKonstanta(&e[t], 4, R);
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
