// Whole calculation runs through the run body, as a front end makes them:
// parse the definitions, evaluate, convert and format the result. No log
// sink is installed, as when the progress log is not watched.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "eval/zapusk.h"
#include "number/kesh.h"
#include "number/mashinnye.h"
#include "platform/platforma.h"

namespace {

class TOknoZamera : public IOknoVichisleniya {
  public:
    explicit TOknoZamera(const std::vector<std::string>& stroki) {
        for (const auto& s : stroki) stroki_.emplace_back(s.c_str());
    }
    std::vector<TAnsiString> StrokiOpredeleniy() override { return stroki_; }
    TAnsiString ImyaPeremennoy() override { return TAnsiString("y"); }
    std::int32_t PoluchitOsnovanie() override { return 10; }
    std::int32_t PoluchitRazryadi() override { return 100; }
    void UstanovitZnachenie(const TAnsiString& text) override { rezultat = text; }
    TAnsiString rezultat;

  private:
    std::vector<TAnsiString> stroki_;
};

void Podgotovit() {
    PostroitTabliciSimvolov('.');
    CalcCancelled.store(0);
    AngleUnit.store(1);
}

// Runs one calculation per iteration on the calculation thread's stack.
void Progoni(benchmark::State& state, const std::vector<std::string>& stroki) {
    Podgotovit();
    TOknoZamera okno(stroki);
    bool gotovo = true;
    for (auto _ : state) {
        VipolnitNaPotokeVichisleniy([&] { gotovo = VichislitPeremennuyu(okno) && gotovo; });
    }
    if (!gotovo) state.SkipWithError("the run gave no result");
}

// 100 lines, each referring to earlier ones, through operators and brackets.
void Opredeleniya100(benchmark::State& state) {
    std::vector<std::string> stroki = {"v0 = 1.5"};
    for (int i = 1; i < 99; ++i) {
        stroki.push_back("v" + std::to_string(i) + " = (v" + std::to_string(i - 1) + "*1.01+v" +
                         std::to_string(i / 2) + ")/2-0.25");
    }
    stroki.push_back("y = v98+v50*2");
    Progoni(state, stroki);
}
BENCHMARK(Opredeleniya100)->Unit(benchmark::kMillisecond)->UseRealTime();

// The sine of a variable with pi already in the constant cache.
void SinusTeplyKesh(benchmark::State& state) {
    const std::vector<std::string> stroki = {"x = 2", "y = sin(x)"};
    Podgotovit();
    TOknoZamera prognev(stroki); // fills the cache before timing
    VipolnitNaPotokeVichisleniy([&] { VichislitPeremennuyu(prognev); });
    Progoni(state, stroki);
}
BENCHMARK(SinusTeplyKesh)->Unit(benchmark::kMillisecond)->UseRealTime();

void Faktorial1000(benchmark::State& state) {
    Progoni(state, {"y = fact(1000)"});
}
BENCHMARK(Faktorial1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// 2000 variables, each referring to the next.
void Cepochka2000(benchmark::State& state) {
    std::vector<std::string> stroki = {"y = a1+1"};
    for (int i = 1; i < 1999; ++i)
        stroki.push_back("a" + std::to_string(i) + " = a" + std::to_string(i + 1) + "+1");
    stroki.push_back("a1999 = 1");
    Progoni(state, stroki);
}
BENCHMARK(Cepochka2000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
