// The kernels behind addition, multiplication and division, and the switch
// between the plain kernels and the faster ones (which give the same bytes).
#pragma once

#include <atomic>
#include <cstdint>

#include "number/vm_chislo.h"

namespace vm_detail {

// True: vmPribavit, vmUmnogit, vmRazdelit and vmDelenieSOstatkom use the
// faster kernels where BistroVozmozhno allows. Tests turn it off to compare
// with the plain kernels; not meant to be changed while numbers are computed
// on another thread.
extern std::atomic<bool> BistrieYadra;

// The fast kernels keep a table of the multiples 1..R-1 of an operand with
// this many rows; a radix byte beyond them (possible in a record, never in a
// literal) is left to the plain kernels. Below it a sum of two digits and a
// carry also fits a byte.
constexpr int kStrokKratnih = 128;

// One version of the fast kernels per instruction set; every version gives
// the same bytes. The table (yadra/tablica.cpp) lists them best first and
// picks one once: the best this processor runs, or a lower one named by the
// environment variable CIFRAMER_ISA (avx512, avx2, sse2, portable). The
// addition has a single version, the same in every row.
struct TVersiyaYader {
    const char* imya; // the CIFRAMER_ISA word
    bool (*est)();    // the processor runs it
    void (*pribavit)(vmChislo* a, const vmChislo& b);
    void (*umnozhit)(vmChislo* a, const vmChislo& p, const vmChislo& b);
    void (*delit)(const vmChislo& bModul, std::int64_t d, vmChislo* r, vmChislo* a, bool celie);
};

// Every version built in, best first, and their number.
const TVersiyaYader* VseVersiiYader();
int ChisloVersiyYader();
// The version chosen at start-up (the processor and CIFRAMER_ISA).
const TVersiyaYader& NachalnayaVersiyaYader();
// The version in use; it starts at the chosen one.
const TVersiyaYader& VersiyaYader();
// True when v may run here: the processor has it and it is not above the
// version chosen at start-up.
bool VersiyaDostupna(const TVersiyaYader& v);
// Uses v from now on when it is available (true), else changes nothing.
// Tests and benchmarks compare versions so; not meant to be changed while
// numbers are computed on another thread.
bool VibratVersiyuYader(const TVersiyaYader& v);

// x is normalised, nonzero, of a valid radix (below kStrokKratnih), and far
// enough from the exponent limits that no partial or trial product can
// overflow or vanish.
bool BistroVozmozhno(const vmChislo& x);

// The one test of the callers: the fast kernels are on, x and y share a
// radix and both pass BistroVozmozhno.
inline bool BistroDlya(const vmChislo& x, const vmChislo& y) {
    return BistrieYadra.load(std::memory_order_relaxed) && x.Osnovanie == y.Osnovanie &&
           BistroVozmozhno(x) && BistroVozmozhno(y);
}

// a = a + b as vmPribavit computes it, for a and b of one radix that both
// pass BistroVozmozhno.
// By the version in use: PribavitBistroObshchee digit by digit (the portable
// version), PribavitBistroSlovami eight digits a word (the x86 versions,
// whose words are little-endian).
void PribavitBistro(vmChislo* a, const vmChislo& b);
void PribavitBistroObshchee(vmChislo* a, const vmChislo& b);
void PribavitBistroSlovami(vmChislo* a, const vmChislo& b);

// a = sum of the partial products of p by the digits of b, as the plain
// kernel adds them (magnitudes only; the caller sets the sign and the flags
// of b). p and b pass BistroVozmozhno. Any thread; a may not alias p or b.
void UmnozhitBistro(vmChislo* a, const vmChislo& p, const vmChislo& b);

// The plain kernel of the same sum.
void UmnozhitProsto(vmChislo* a, const vmChislo& p, const vmChislo& b);

// The digit trials of the plain long division of r by bModul (positive) at
// weights d, d-1, ..., d-100 (only those >= 0 when celie): subtracts from r
// and leaves the quotient digits in a (positive, a's radix kept). bModul and
// r pass BistroVozmozhno; |d| < 2^27. Any thread.
void DelitBistro(const vmChislo& bModul, std::int64_t d, vmChislo* r, vmChislo* a, bool celie);

} // namespace vm_detail
