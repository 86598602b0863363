// Arithmetic kernels and text conversion of 100-digit numbers.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "number/vm_mashinnye.h"
#include "number/vm_tekst.h"
#include "number/vm_yadra.h"
#include "number/vm_arifmetika.h"

namespace {

// A 101-digit number of radix R with varied digits and a small exponent.
vmChislo Operand(int R, int sdvig) {
    vmChislo x;
    x.Osnovanie = static_cast<std::uint8_t>(R);
    vmNol(&x);
    x.CelayaChast[0] = static_cast<std::uint8_t>(1 + sdvig % (R - 1));
    for (int j = 0; j < VM_DROBNIH_RAZRYADOV; ++j)
        x.DrobnayaChast[j] = static_cast<std::uint8_t>((j * 7 + sdvig * 3 + 1) % R);
    x.Poryadok = sdvig % 5;
    return x;
}

// Second argument 0: the plain kernels (the reference the fast ones are
// checked against), 1: the fast kernels in the version chosen at start-up,
// 2 + i: the fast kernels in row i of the versions' table (best first; the
// label names it, and a version not run here is skipped). The chosen version
// is restored after the benchmark, for the benchmarks that follow.
struct Yadra {
    explicit Yadra(benchmark::State& st) {
        vm_detail::BistrieYadra = st.range(1) != 0;
        const int i = static_cast<int>(st.range(1)) - 2;
        if (i < 0) return;
        const vm_detail::TVersiyaYader& v = vm_detail::VseVersiiYader()[i];
        st.SetLabel(v.imya);
        if (!vm_detail::VibratVersiyuYader(v)) st.SkipWithError("version not run on this machine");
    }
    ~Yadra() {
        vm_detail::BistrieYadra = true;
        vm_detail::VibratVersiyuYader(vm_detail::NachalnayaVersiyaYader());
    }
};

// {2, ..., 2 + the number of versions - 1}.
std::vector<std::int64_t> Versii() {
    std::vector<std::int64_t> v;
    for (int i = 0; i < vm_detail::ChisloVersiyYader(); ++i) v.push_back(2 + i);
    return v;
}

void BM_Pribavit(benchmark::State& st) {
    const Yadra yadra(st);
    const int R = static_cast<int>(st.range(0));
    const vmChislo a = Operand(R, 1), b = Operand(R, 2);
    for (auto _ : st) {
        vmChislo x = a;
        vmPribavit(&x, b);
        benchmark::DoNotOptimize(x);
    }
}
void BM_Umnogit(benchmark::State& st) {
    const Yadra yadra(st);
    const int R = static_cast<int>(st.range(0));
    const vmChislo a = Operand(R, 1), b = Operand(R, 2);
    for (auto _ : st) {
        vmChislo x = a;
        vmUmnogit(&x, b);
        benchmark::DoNotOptimize(x);
    }
}
void BM_Razdelit(benchmark::State& st) {
    const Yadra yadra(st);
    const int R = static_cast<int>(st.range(0));
    const vmChislo a = Operand(R, 1), b = Operand(R, 2);
    for (auto _ : st) {
        vmChislo x = a;
        vmRazdelit(&x, b);
        benchmark::DoNotOptimize(x);
    }
}
// Division by a divisor of three significant digits, as the series of the
// elementary functions divide by k! and 2k+1.
void BM_RazdelitNaKorotkoe(benchmark::State& st) {
    const Yadra yadra(st);
    const int R = static_cast<int>(st.range(0));
    const vmChislo a = Operand(R, 1);
    vmChislo b = Operand(R, 2);
    for (int j = 2; j < VM_DROBNIH_RAZRYADOV; ++j) b.DrobnayaChast[j] = 0;
    for (auto _ : st) {
        vmChislo x = a;
        vmRazdelit(&x, b);
        benchmark::DoNotOptimize(x);
    }
}
void BM_DelenieSOstatkom(benchmark::State& st) {
    const Yadra yadra(st);
    const int R = static_cast<int>(st.range(0));
    vmChislo a = Operand(R, 1), b = Operand(R, 2);
    a.Poryadok = 100; // a full 101-digit integer quotient
    for (auto _ : st) {
        vmChislo ost;
        benchmark::DoNotOptimize(vmDelenieSOstatkom(&a, b, &ost));
    }
}
void BM_IzTeksta(benchmark::State& st) {
    PostroitTabliciSimvolov('.');
    std::string t = "-1.";
    for (int j = 0; j < 98; ++j) t += char('0' + (j * 7) % 10);
    t += "e-12r10";
    for (auto _ : st) {
        std::string s = t;
        vmChislo x;
        vmIzTeksta(&x, s.data());
        benchmark::DoNotOptimize(x);
    }
}
void BM_VTekst(benchmark::State& st) {
    PostroitTabliciSimvolov('.');
    const vmChislo x = Operand(10, 3);
    for (auto _ : st) {
        TAnsiString t;
        vmVTekst(t, &x, 1, 100, VM_EKSPONENTA | VM_S_OSNOVANIEM);
        benchmark::DoNotOptimize(t.Data());
    }
}

BENCHMARK(BM_Pribavit)->ArgsProduct({{2, 10, 36}, {0, 1}})->ArgsProduct({{10, 36}, Versii()});
BENCHMARK(BM_Umnogit)->ArgsProduct({{2, 10, 36}, {0, 1}})->ArgsProduct({{10, 36}, Versii()});
BENCHMARK(BM_Razdelit)->ArgsProduct({{2, 10, 36}, {0, 1}})->ArgsProduct({{10, 36}, Versii()});
BENCHMARK(BM_RazdelitNaKorotkoe)->ArgsProduct({{2, 10, 36}, {0, 1}})->ArgsProduct({{10}, Versii()});
BENCHMARK(BM_DelenieSOstatkom)->ArgsProduct({{2, 10, 36}, {0, 1}});
BENCHMARK(BM_IzTeksta);
BENCHMARK(BM_VTekst);

} // namespace
