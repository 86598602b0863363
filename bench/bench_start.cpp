// What every run of the command line pays besides its own arithmetic: the
// constant cache loaded from its folder, one short calculation on a fresh
// calculation thread, the cache saved; and the deepest chain of references
// the variable table allows.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "eval/peremennie.h"
#include "eval/zapusk.h"
#include "number/vm_kesh.h"
#include "number/vm_mashinnye.h"
#include "platform/platforma.h"

#include "okno_zamera.h"

namespace {

// Runs in an empty temporary folder of its own (no cache files: the start of
// a first run), restoring the current directory afterwards.
class TPapkaZamera {
  public:
    TPapkaZamera() : prezhnyaya_(std::filesystem::current_path()) {
        papka_ = std::filesystem::temp_directory_path() / "ciframer_bench_start";
        std::filesystem::remove_all(papka_);
        std::filesystem::create_directories(papka_);
        std::filesystem::current_path(papka_);
    }
    ~TPapkaZamera() {
        std::filesystem::current_path(prezhnyaya_);
        std::filesystem::remove_all(papka_);
    }

  private:
    std::filesystem::path prezhnyaya_, papka_;
};

// One run of 'y = 1' as ciframer-cli makes it: cache load, the run body on
// a fresh calculation thread, cache save. The process start and the Qt
// start-up of the front end are not included.
void StartOdnogoZapuska(benchmark::State& state) {
    TPapkaZamera papka;
    PostroitTabliciSimvolov('.');
    CalcCancelled.store(0);
    OchistitKesh();
    TOknoZamera okno({TAnsiString("y = 1")});
    bool gotovo = true;
    for (auto _ : state) {
        ZagruzitKesh();
        VipolnitNaPotokeVichisleniy([&] { gotovo = VichislitPeremennuyu(okno) && gotovo; });
        SohranitKesh();
    }
    if (!gotovo || okno.rezultat.ToStd() != "1") state.SkipWithError("no result");
}
BENCHMARK(StartOdnogoZapuska)->Unit(benchmark::kMicrosecond)->UseRealTime();

// 65536 variables, each referring to the next: the whole table, and the
// deepest recursion the calculation thread's stack is sized for.
void Cepochka65536(benchmark::State& state) {
    PostroitTabliciSimvolov('.');
    CalcCancelled.store(0);
    std::vector<TAnsiString> stroki;
    stroki.reserve(VM_PREDEL_PEREMENNIH);
    stroki.emplace_back("y = a1+1");
    for (std::uint32_t i = 1; i + 1 < VM_PREDEL_PEREMENNIH; ++i) {
        const std::string s = "a" + std::to_string(i) + " = a" + std::to_string(i + 1) + "+1";
        stroki.emplace_back(s.c_str());
    }
    stroki.emplace_back("a65535 = 7");
    TOknoZamera okno(std::move(stroki));
    bool gotovo = true;
    for (auto _ : state)
        VipolnitNaPotokeVichisleniy([&] { gotovo = VichislitPeremennuyu(okno) && gotovo; });
    if (!gotovo || okno.rezultat.ToStd() != "65542") state.SkipWithError("wrong result");
}
BENCHMARK(Cepochka65536)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
