// vmChislo: a number of 101 significant digits in its own radix (2..36),
// one digit per byte, and the operations on its representation alone:
// special values, scans, digit shifts and the literal character table. The
// layers above it: normalisation and arithmetic (number/vm_arifmetika.h), text
// conversion (number/vm_tekst.h), elementary functions and the constants e
// and pi (number/vm_funkcii.h).
//
// Every operation here works only on its arguments (and on the read-only
// vmSimvoli table), allocates nothing, throws nothing, and may be called from
// any thread. Arguments may alias unless a function says otherwise.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

static_assert(std::endian::native == std::endian::little,
              "vmChislo stores its exponent little-endian, as the cache files do");

constexpr int VM_DROBNIH_RAZRYADOV = 100;              // fraction digits
constexpr int VM_CELIH_RAZRYADOV = 3;                  // integer digits (2 of headroom)
constexpr int VM_RAZRYADOV = 103;                      // all digit positions
constexpr std::int32_t VM_PREDEL_PORYADKA = 536870912; // 2^29, the exponent limit
constexpr std::int32_t VM_PORYADOK_PO_UMOLCHANIYU = -2147483647;

// Formatter flags.
constexpr std::uint8_t VM_EKSPONENTA = 1;
constexpr std::uint8_t VM_S_OSNOVANIEM = 2;
constexpr std::uint8_t VM_S_NULYAMI = 4;
constexpr std::uint8_t VM_AVTO_EKSPONENTA = 8;

#pragma pack(push, 1)
// The 110-byte record, exactly in this layout (the cache files store it raw).
// Value: (-1)^Znak * (C[2] R^2 + C[1] R + C[0] + sum D[j] R^-(j+1)) * R^Poryadok.
// Normal form: C[2] = C[1] = 0, C[0] != 0. Zero: Poryadok <= -2^29.
struct vmChislo {
    std::uint8_t Znak;               // 0 positive, 1 negative
    std::uint8_t CelayaChast[3];     // [0] units, [1] R^1, [2] R^2
    std::uint8_t DrobnayaChast[100]; // [j] is the digit of R^-(j+1)
    std::int32_t Poryadok;           // exponent of the radix
    std::uint8_t Osnovanie;          // radix
    std::uint8_t Netochnost;         // 1 once nonzero digits were dropped

    // Default state: all digits 0, Znak 0, Poryadok -2^31+1 (counts as zero),
    // Osnovanie 2, Netochnost 0.
    vmChislo();
};
#pragma pack(pop)

static_assert(sizeof(vmChislo) == 110);
static_assert(offsetof(vmChislo, Znak) == 0);
static_assert(offsetof(vmChislo, CelayaChast) == 1);
static_assert(offsetof(vmChislo, DrobnayaChast) == 4);
static_assert(offsetof(vmChislo, Poryadok) == 104);
static_assert(offsetof(vmChislo, Osnovanie) == 108);
static_assert(offsetof(vmChislo, Netochnost) == 109);

// Digit at significance position p (0..102): 0 is CelayaChast[2], 2 the units
// digit CelayaChast[0], 3 + j the fraction digit DrobnayaChast[j].
inline std::uint8_t& vmCifra(vmChislo& x, int p) {
    return p < 3 ? x.CelayaChast[2 - p] : x.DrobnayaChast[p - 3];
}
inline std::uint8_t vmCifra(const vmChislo& x, int p) {
    return p < 3 ? x.CelayaChast[2 - p] : x.DrobnayaChast[p - 3];
}

// The literal characters, built once at start-up from the locale separator
// (vmPostroitSimvoli) and read-only afterwards.
struct TvmSimvoli {
    char Razdelitel;                  // decimal separator
    char AltRazdelitel;               // the other of "," and "."
    char Eksponenta;                  // 'e'
    char EksponentaBolshaya;          // 'E', kept in the table, used by no conversion
    char Osnovanie;                   // 'r'
    char OsnovanieBolshoe;            // 'R', likewise unused
    char Minus;                       // '-'
    char Nol;                         // '0'
    char Cifri[36];                   // "0".."9", "A".."Z"
    std::uint8_t ZnachenieCifri[256]; // digit value of a character, 0 for non-digits
    bool EtoCifra[256];               // true for the 36 digit characters
};
extern TvmSimvoli vmSimvoli;

// Builds vmSimvoli for a locale whose decimal separator is `razdelitel`:
// anything but ',' makes "." the separator and "," the alternative.
void vmPostroitSimvoli(char razdelitel);

// --- Value setting: each takes the target by pointer and returns it. ---
vmChislo* vmNol(vmChislo* x);           // zero, radix kept
vmChislo* vmEdinica(vmChislo* x);       // one, radix kept
vmChislo* vmBeskonechnost(vmChislo* x); // infinity (1 * R^2^29, Netochnost 1), sign kept
// The kinds of constant of vmProstayaKonstanta and vmKonstanta, by their
// numbers (the functions take them as int).
enum TVidKonstanti : int {
    VM_K_NOL = 0,
    VM_K_EDINICA = 1,
    VM_K_PLYUS_BESKONECHNOST = 2,
    VM_K_MINUS_BESKONECHNOST = 3,
    VM_K_E = 4,  // through the constant cache: vmKonstanta only
    VM_K_PI = 5, // likewise
};
// Osnovanie := R, then by kind: 0 zero, 1 one, 2 +infinity, 3 -infinity;
// other kinds change nothing more. The kinds that need a computation (e, pi)
// are vmKonstanta's (number/vm_funkcii.h).
vmChislo* vmProstayaKonstanta(vmChislo* x, int kind, std::uint8_t R);
// The 80-bit extended float v, bit for bit, in radix 2; not normalised.
vmChislo* vmIzExtended(vmChislo* x, long double v);

// --- Tests and scans ---
std::int8_t vmZnak(const vmChislo* x);         // 0 for zero, else +-1 by the mantissa
std::int8_t vmZnakMantissi(const vmChislo* x); // 0 if all digits are 0, else +-1
int vmVedushieNuli(const vmChislo* x);         // leading zero digits, 0..103
// A nonzero value at or beyond R^(2^29), of either sign: the infinity, or a
// record that reads as beyond it (a literal's exponent at the limit).
inline bool vmEtoBeskonechnost(const vmChislo* x) {
    return x->Poryadok >= VM_PREDEL_PORYADKA && vmZnakMantissi(x) != 0;
}
// Digits of a and b compared in significance order (first difference
// decides); signs, exponents and radixes are ignored.
std::int8_t vmSravnitModuli(const vmChislo* a, const vmChislo* b);

// --- Digit operations ---
// Moves the digits n places towards less significance (Poryadok += n);
// *cifra receives the dropped digit next to the kept ones. n < 0 shifts left.
void vmSdvigVpravo(vmChislo* x, std::int32_t n, std::uint8_t* cifra);
// Moves the digits n places towards more significance (Poryadok -= n).
void vmSdvigVlevo(vmChislo* x, std::int32_t n, std::uint8_t* cifra);
