// The kernels behind addition, multiplication and division, and the switch
// between the plain kernels and the faster ones (which give the same bytes).
#pragma once

#include <atomic>
#include <cstdint>

#include "number/vmchislo.h"

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

// The instruction sets the fast multiplication and division kernels have a
// version for; every version gives the same bytes. LuchshiyNaborKomand is the best one
// this processor runs (found once at start-up); NaborKomand, the one used,
// starts there. Tests choose others to compare them, never one above the
// best; not meant to be changed while numbers are computed on another thread.
enum class TNaborKomand : int { Perenosimiy = 0, Sse2 = 1, Avx2 = 2, Avx512 = 3 };
extern const TNaborKomand LuchshiyNaborKomand;
extern std::atomic<TNaborKomand> NaborKomand;

// x is normalised, nonzero, of a valid radix (below kStrokKratnih), and far
// enough from the exponent limits that no partial or trial product can
// overflow or vanish.
bool BistroVozmozhno(const vmChislo& x);

// a = a + b as vmPribavit computes it, for a and b of one radix that both
// pass BistroVozmozhno.
void PribavitBistro(vmChislo* a, const vmChislo& b);

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
