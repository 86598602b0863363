// Whole calculation runs through the run body, as a front end makes them:
// parse the definitions, evaluate, convert and format the result. No log
// sink is installed, as when the progress log is not watched.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "eval/zapusk.h"
#include "number/vm_kesh.h"
#include "number/vm_mashinnye.h"
#include "platform/platforma.h"

#include "okno_zamera.h"

namespace {

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
        std::string s = "v";
        s += std::to_string(i) + " = (v" + std::to_string(i - 1) + "*1.01+v" +
             std::to_string(i / 2) + ")/2-0.25";
        stroki.push_back(s);
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
    for (int i = 1; i < 1999; ++i) {
        std::string s = "a";
        s += std::to_string(i) + " = a" + std::to_string(i + 1) + "+1";
        stroki.push_back(s);
    }
    stroki.push_back("a1999 = 1");
    Progoni(state, stroki);
}
BENCHMARK(Cepochka2000)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- Long lines ---

// y = 1+1+...+1, 1*1*...*1 (100000 terms) or 100000 nested brackets round 1.
std::string DlinnayaStroka(int vid) {
    constexpr int n = 100000;
    std::string y = "y = ";
    if (vid == 2) return y + std::string(n, '(') + "1" + std::string(n, ')');
    y.reserve(4 + 2 * n);
    for (int i = 0; i < n; ++i) y += i == 0 ? "1" : vid == 0 ? "+1" : "*1";
    return y;
}

const char* const VIDI[] = {"sum", "product", "nested"};

// One whole run of a long line per iteration.
void DlinnayaStrokaCelikom(benchmark::State& state) {
    Progoni(state, {DlinnayaStroka(static_cast<int>(state.range(0)))});
    state.SetLabel(VIDI[state.range(0)]);
}
BENCHMARK(DlinnayaStrokaCelikom)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();

// A stop requested at range(1) percent of a whole run's time (measured once
// first): the time from the request until the run body has returned.
void OstanovkaDlinnoyStroki(benchmark::State& state) {
    using Chasy = std::chrono::steady_clock;
    Podgotovit();
    // "Не удаётся вычислить значение переменной y" after every stop.
    const ObrabotchikOshibki prezhniy = UstanovitObrabotchikOshibki([](const TAnsiString&) {});
    TOknoZamera okno({DlinnayaStroka(static_cast<int>(state.range(0)))});
    const auto t0 = Chasy::now();
    VipolnitNaPotokeVichisleniy([&] { VichislitPeremennuyu(okno); });
    const auto celikom = Chasy::now() - t0;
    const auto zaderzhka = celikom * state.range(1) / 100;

    int propushcheno = 0;       // runs that ended before the request
    bool rezultatPosle = false; // a run that went on to show a result
    double naibolshee = 0;      // the longest time a stop took, in seconds
    for (auto _ : state) {
        CalcCancelled.store(0);
        Chasy::time_point zapros{}, konec{};
        std::thread ostanovshik([&] {
            std::this_thread::sleep_for(zaderzhka);
            zapros = Chasy::now();
            CalcCancelled.store(1);
        });
        bool rezultat = false;
        VipolnitNaPotokeVichisleniy([&] {
            rezultat = VichislitPeremennuyu(okno);
            konec = Chasy::now();
        });
        ostanovshik.join();
        const bool ranshe = konec < zapros;
        if (ranshe) ++propushcheno;
        if (!ranshe && rezultat) rezultatPosle = true;
        const double sekund =
            std::chrono::duration<double>(ranshe ? Chasy::duration{} : konec - zapros).count();
        if (sekund > naibolshee) naibolshee = sekund;
        state.SetIterationTime(sekund);
    }
    CalcCancelled.store(0);
    UstanovitObrabotchikOshibki(prezhniy);
    state.SetLabel(std::string(VIDI[state.range(0)]) + ", stop at " +
                   std::to_string(state.range(1)) + "%");
    state.counters["run_ms"] = std::chrono::duration<double, std::milli>(celikom).count();
    state.counters["missed"] = propushcheno; // counted with a time of 0
    state.counters["max_ms"] = naibolshee * 1000;
    if (rezultatPosle) state.SkipWithError("a run stopped on its way gave a result");
}
BENCHMARK(OstanovkaDlinnoyStroki)
    ->ArgsProduct({{0, 1, 2}, {10, 50, 80}})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

} // namespace
