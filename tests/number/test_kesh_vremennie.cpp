// The cache folder named by the front end, and the temporary files that a
// process killed while it saved leaves behind: removed at the next load when
// their process no longer runs, never while it runs.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "funkcii_pomoshch.h"
#include "number/vm_kesh.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Soderzhimoe(const fs::path& papka) {
    std::vector<std::string> imena;
    for (const auto& e : fs::directory_iterator(papka)) imena.push_back(e.path().filename());
    std::sort(imena.begin(), imena.end());
    return imena;
}

// The name SohranitKonstantu gives its temporary file for `imya`.
std::string Vremenniy(const std::string& imya, pid_t pid, unsigned n) {
    return "." + imya + "." + std::to_string(pid) + "." + std::to_string(n) + ".tmp";
}

} // namespace

TEST(KeshVremennie, ThoseOfEndedProcessesGoThoseOfRunningOnesStay) {
    char shablon[] = "/tmp/ciframer_kesh_vremennie_XXXXXX";
    ASSERT_NE(::mkdtemp(shablon), nullptr);
    // Named, as the command line names it, and not yet there: the load
    // finds nothing, the folder and the one above it appear on the save.
    const fs::path papka = fs::path(shablon) / "ciframer" / "VelimathData";
    UstanovitPapkuKesha(papka.string());
    EXPECT_EQ(PapkaKesha(), papka.string() + "/");

    const pid_t konchilsya = ::fork();
    if (konchilsya == 0) ::_exit(0);
    ASSERT_GT(konchilsya, 0);
    ASSERT_EQ(::waitpid(konchilsya, nullptr, 0), konchilsya);
    const pid_t idyot = ::fork(); // runs until killed below
    if (idyot == 0) {
        ::pause();
        ::_exit(0);
    }
    ASSERT_GT(idyot, 0);

    OchistitKesh();
    ZagruzitKesh();
    const vmChislo pi = funkcii_test::Ch("3.14159265358979323846264338327950288419716939937510");
    KeshZapolnit(VidKonstanti::Pi, 10, 0, pi);
    SohranitKesh();
    const std::string imyaPi = ImyaFaylaKonstanti(VidKonstanti::Pi, 10, 0).ToStd();
    const std::string imyaLn = ImyaFaylaKonstanti(VidKonstanti::Ln, 10, 2).ToStd();
    ASSERT_EQ(Soderzhimoe(papka), std::vector<std::string>{imyaPi});

    const std::vector<std::string> ushedshie = {Vremenniy(imyaPi, konchilsya, 0),
                                                Vremenniy(imyaLn, konchilsya, 4294967295u)};
    const std::vector<std::string> ostayutsya = {
        Vremenniy(imyaLn, idyot, 0),
        Vremenniy(imyaLn, ::getpid(), 7),
        // Not of the form the cache writes: left to whoever made them.
        ".notes." + std::to_string(konchilsya) + ".0.tmp",
        imyaLn + "." + std::to_string(konchilsya) + ".0.tmp",
        "." + imyaLn + ".1x" + std::to_string(konchilsya) + ".0.tmp",
    };
    for (const auto& s : ushedshie) std::ofstream(papka / s) << "part";
    for (const auto& s : ostayutsya) std::ofstream(papka / s) << "part";

    OchistitKesh();
    ZagruzitKesh();
    std::vector<std::string> ozhidaemie = ostayutsya;
    ozhidaemie.push_back(imyaPi);
    std::sort(ozhidaemie.begin(), ozhidaemie.end());
    EXPECT_EQ(Soderzhimoe(papka), ozhidaemie);
    vmChislo v;
    EXPECT_TRUE(KeshNayti(VidKonstanti::Pi, 10, 0, &v)); // read from the named folder

    ::kill(idyot, SIGKILL);
    ::waitpid(idyot, nullptr, 0);
    OchistitKesh();
    UstanovitPapkuKesha("");
    EXPECT_EQ(PapkaKesha(), VM_PAPKA_KESHA);
    fs::remove_all(shablon);
}
