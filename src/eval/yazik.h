// The rules of the expression language in one place: the character classes,
// the literal grammar (its separator and markers taken from the literal
// tables, vmSimvoli), the function table, the name of a definition line and
// the tokenizer. The evaluator, the highlighter of the window, the
// completion of the session and the warnings all read these.
//
// Texts are Windows-1251 bytes. The literal rules depend on the tables that
// TDvigatel builds; call them while an engine exists. Any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// --- Character classes ---

// Name characters: digits, a..z, "_" and the lower-case Russian letters
// except "й".
bool EtoSimvolImeni(unsigned char c);
// Operator characters: ^ < > * / % + -
bool EtoZnakOperatora(unsigned char c);
// Blanks inside an expression: space and horizontal tab.
bool EtoProbel(unsigned char c);

// --- Literals ---

// Skips the leading blanks of s[0..n) (nachalo = their count) and reads a
// literal [-]D+[S D+][e[-]d+][r d+] (D one of the 36 digit characters, S
// the decimal separator or, with sAlternativnim, either separator, d a
// decimal digit); a part whose marker is present must be complete, or there
// is no literal. dlina is the literal's length. True when a literal was
// read, whatever follows it.
bool ChitatLiteral(const unsigned char* s, std::size_t n, std::size_t& nachalo, std::size_t& dlina,
                   bool sAlternativnim = false);

// How a literal that ChitatLiteral accepted reads in a run whose radix is
// osnovanieProgona: the radix it is read in (its radix mark, or the run's
// radix), and whether every digit is valid there. A radix mark outside
// 2..126 makes the literal invalid (it reads as zero).
struct TOcenkaLiterala {
    int osnovanie;
    bool verniy;
};
TOcenkaLiterala OcenitLiteral(std::string_view literal, int osnovanieProgona);

// --- Functions ---

// How the angle unit applies to a function.
enum class TUgol : std::uint8_t { Net, Argument, Rezultat };

struct TOpisanieFunkcii {
    const char* imya;
    int argumentov;
    TUgol ugol;
};
// The sixteen functions, in the order of the language's description.
const std::vector<TOpisanieFunkcii>& OpisaniyaFunkciy();
// The function of that name (byte for byte), or null.
const TOpisanieFunkcii* NaitiOpisanieFunkcii(std::string_view imya);

// --- Definition lines ---

// The parts of a definition line: the name left of the first "=" and the
// expression right of it, both trimmed of bytes 0..32 (as Trim), as byte
// ranges of the line; a line without "=" defines ImyaPoUmolchaniyu with the
// whole line. bezRavno is true then.
struct TChastiStroki {
    std::size_t imyaNachalo, imyaDlina;
    std::size_t virazhenieNachalo, virazhenieDlina;
    bool bezRavno;
};
TChastiStroki RazdelitStroku(std::string_view stroka);
constexpr const char* ImyaPoUmolchaniyu = "y";

// The bytes s without their leading and trailing bytes 0..32.
std::string_view Obrezat(std::string_view s);

// --- Tokens ---

enum class TVidLeksemy : std::uint8_t {
    Probel,     // blanks (space, tab, and any other byte 0..32)
    Chislo,     // a literal as ChitatLiteral reads it (without a sign)
    Imya,       // a run of name characters that is no literal
    Funkciya,   // a name directly before "("
    Operator,   // a run of operator characters
    Skobka,     // "(" or ")"
    Razdelitel, // ";"
    Ravno,      // "="
    Prochee,    // any other byte
};
struct TLeksema {
    TVidLeksemy vid;
    std::size_t nachalo, dlina;
};
// The tokens of one line (or expression), left to right, covering every
// byte. Literals are found as the evaluator finds them: a literal where one
// can be read, else a name. Either separator is taken in literals.
std::vector<TLeksema> RazobratNaLeksemy(std::string_view stroka);
