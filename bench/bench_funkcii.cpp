// Timings of the elementary functions at full width. Cold constants empty the
// in-memory cache before every iteration (outside the timed region).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "number/vm_kesh.h"
#include "number/vm_pi.h"
#include "number/vm_tekst.h"
#include "number/vm_arifmetika.h"
#include "number/vm_chislo.h"
#include "number/vm_funkcii.h"
#include "platform/platforma.h"

namespace {

vmChislo Chislo(std::string tekst) {
    vmPostroitSimvoli('.');
    vmChislo x;
    vmIzTeksta(&x, tekst.data());
    return x;
}

// A cold pi: the fast search (vmPi with an empty cache). The counter
// "ryadov" is the number of sine series it sums in that radix.
void PiKholodnoe(benchmark::State& state) {
    const auto R = static_cast<std::uint8_t>(state.range(0));
    CalcCancelled.store(0);
    for (auto _ : state) {
        state.PauseTiming();
        OchistitKesh();
        state.ResumeTiming();
        benchmark::DoNotOptimize(vmPi(R));
    }
    int ryadov = 0;
    vmPiBistro(R, &ryadov);
    state.counters["ryadov"] = ryadov;
}
BENCHMARK(PiKholodnoe)->Arg(2)->Arg(10)->Arg(16)->Arg(36)->Arg(126)->Unit(benchmark::kMillisecond);

// The full bisection, every step summing its sine series (single runs: a
// second or more each).
void PiPolnayaBisekciya(benchmark::State& state) {
    const auto R = static_cast<std::uint8_t>(state.range(0));
    CalcCancelled.store(0);
    for (auto _ : state) benchmark::DoNotOptimize(vmPiBisekciya(R));
}
BENCHMARK(PiPolnayaBisekciya)->Arg(10)->Arg(36)->Unit(benchmark::kMillisecond)->Iterations(1);

void EKholodnoe(benchmark::State& state) {
    const vmChislo odin = Chislo("1r10");
    for (auto _ : state) {
        state.PauseTiming();
        OchistitKesh();
        state.ResumeTiming();
        benchmark::DoNotOptimize(vmExp(odin, true));
    }
}
BENCHMARK(EKholodnoe)->Unit(benchmark::kMillisecond);

void Ln2Kholodnoe(benchmark::State& state) {
    const vmChislo dva = Chislo("2r10");
    for (auto _ : state) {
        state.PauseTiming();
        OchistitKesh();
        state.ResumeTiming();
        benchmark::DoNotOptimize(vmLn(dva, true));
    }
}
BENCHMARK(Ln2Kholodnoe)->Unit(benchmark::kMillisecond);

void Koren2(benchmark::State& state) {
    const vmChislo dva = Chislo("2r10");
    for (auto _ : state) benchmark::DoNotOptimize(vmKoren(dva));
}
BENCHMARK(Koren2)->Unit(benchmark::kMillisecond);

// Roots far from one: the iteration runs on the mantissa, so these cost
// about what sqrt 2 costs.
void KorenDalekoOtEdinici(benchmark::State& state) {
    const vmChislo x = Chislo(state.range(0) > 0 ? "2e300000r10" : "2e-300000r10");
    for (auto _ : state) benchmark::DoNotOptimize(vmKoren(x));
}
BENCHMARK(KorenDalekoOtEdinici)->Arg(1)->Arg(-1)->Unit(benchmark::kMillisecond);

// sin 1 with the period reduction, pi of radix 10 already known.
void Sin1(benchmark::State& state) {
    const vmChislo odin = Chislo("1r10");
    vmPi(10);
    for (auto _ : state) benchmark::DoNotOptimize(vmSin(odin, true));
}
BENCHMARK(Sin1)->Unit(benchmark::kMillisecond);

// exp(2.5) through vmStepen (logarithms and the radix power), e already known.
void ExpCherezStepen(benchmark::State& state) {
    const vmChislo x = Chislo("2.5r10");
    vmChislo e;
    vmKonstanta(&e, VM_K_E, 10);
    for (auto _ : state) benchmark::DoNotOptimize(vmExp(x, false));
}
BENCHMARK(ExpCherezStepen)->Unit(benchmark::kMillisecond);

} // namespace
