// The faster addition on plain rows, a digit at a time: the kernel of the
// portable version (the x86 versions add eight digits a word,
// vm_slozhenie_slovami.cpp). The steps, shared by both, are in
// vm_slozhenie_ryadov.h; here are the digit loops, and the test that lets an
// operand take the fast path at all. Operands near the exponent limits are
// left to the plain kernels (the callers check BistroVozmozhno first).
#include <atomic>
#include <cstdint>

#include "number/vm_slozhenie_ryadov.h"
#include "number/vm_yadra.h"

namespace vm_detail {

std::atomic<bool> BistrieYadra{true};

bool BistroVozmozhno(const vmChislo& x) {
    // Sums of two such exponents, plus the 103 digit places, stay inside the
    // limits.
    constexpr std::int32_t kZapas = VM_PREDEL_PORYADKA / 4;
    return x.Poryadok < kZapas && x.Poryadok > -kZapas && x.Osnovanie >= 2 &&
           x.Osnovanie < kStrokKratnih && vmZnak(&x) != 0 && vmVedushieNuli(&x) == 2;
}

namespace {

// Plain rows of 103 digits, a digit at a time.
struct TRyadCifr {
    struct TRyad {
        std::uint8_t r[VM_RAZRYADOV];
    };
    static std::uint8_t* VRyad(const vmChislo& x, TRyad& ryad) {
        vm_detail::VRyad(x, ryad.r);
        return ryad.r;
    }
    static void IzRyada(vmChislo& x, const std::uint8_t* r) { vm_detail::IzRyada(x, r); }
    // s := x + y.
    static void Slozhit(const std::uint8_t* x, const std::uint8_t* y, std::uint8_t* s, int R) {
        int perenos = 0;
        for (int p = VM_RAZRYADOV - 1; p >= 0; --p) {
            int v = x[p] + y[p] + perenos;
            perenos = 0;
            while (v >= R) {
                v -= R;
                ++perenos;
            }
            s[p] = static_cast<std::uint8_t>(v);
        }
    }
    // x := x - y, x >= y.
    static void Vichest(std::uint8_t* x, const std::uint8_t* y, int R) {
        int zaem = 0;
        for (int p = VM_RAZRYADOV - 1; p >= 0; --p) {
            int dx = x[p];
            const int dy = y[p] + zaem;
            zaem = 0;
            if (dx < dy) {
                dx += R;
                zaem = 1;
            }
            x[p] = static_cast<std::uint8_t>(dx - dy);
        }
    }
};

} // namespace

void PribavitBistroObshchee(vmChislo* a, const vmChislo& b) {
    slozhenie::Pribavit<TRyadCifr>(a, b);
}

} // namespace vm_detail
