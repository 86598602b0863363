// Radix conversion of a full-width number from radix 10 to radixes 2, 16
// and 36. The logarithms that estimate the exponent are memoised in the
// constant cache after the first conversion, so the figures are warm ones.
#include <benchmark/benchmark.h>

#include <string>

#include "number/vm_tekst.h"
#include "number/vm_chislo.h"
#include "number/vm_funkcii.h"

namespace {

void PerevestiIz10(benchmark::State& state) {
    // 101 significant digits and a nonzero exponent, so the estimate of the
    // target exponent goes through the logarithms.
    std::string literal = "3.1415926535897932384626433832795028841971693993751058209749445923078164"
                          "062862089986280348253421170679e7";
    vmChislo x;
    vmIzTeksta(&x, literal.data());
    const auto q = static_cast<std::uint8_t>(state.range(0));
    benchmark::DoNotOptimize(vmPerevestiVOsnovanie(x, q));
    for (auto _ : state) {
        vmChislo y = vmPerevestiVOsnovanie(x, q);
        benchmark::DoNotOptimize(y);
    }
}
BENCHMARK(PerevestiIz10)->Arg(2)->Arg(16)->Arg(36)->Unit(benchmark::kMillisecond);

// The other direction: a full-width number of radix 2, 16 or 36 to radix 10
// (digit search in the source radix for 16 and 36).
void PerevestiV10(benchmark::State& state) {
    std::string literal = "3.1415926535897932384626433832795028841971693993751058209749445923078164"
                          "062862089986280348253421170679e7";
    vmChislo x;
    vmIzTeksta(&x, literal.data());
    x = vmPerevestiVOsnovanie(x, static_cast<std::uint8_t>(state.range(0)));
    benchmark::DoNotOptimize(vmPerevestiVOsnovanie(x, 10));
    for (auto _ : state) {
        vmChislo y = vmPerevestiVOsnovanie(x, 10);
        benchmark::DoNotOptimize(y);
    }
}
BENCHMARK(PerevestiV10)->Arg(2)->Arg(16)->Arg(36)->Unit(benchmark::kMillisecond);

} // namespace
