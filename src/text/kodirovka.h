// Text encodings at the edges of the program: the Windows-1251 code page of
// every text inside it, and the UTF-8 of terminals, files and command lines.
// Pure functions on their arguments; any thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Windows-1251 -> UTF-8. The byte 0x98, which the code page leaves
// unassigned, becomes '?'.
std::string Cp1251VUtf8(const std::string& bytes);
// UTF-8 -> Windows-1251. A character that Windows-1251 lacks becomes '?'
// (0x3F), which is no name or literal character of the calculator, and so
// does each byte that starts no well-formed character.
std::string Utf8VCp1251(const std::string& utf8);
// The same, with a character that Windows-1251 lacks (a well-formed one)
// becoming zamena instead of '?'.
std::string Utf8VCp1251(const std::string& utf8, char zamena);

// The byte that stands for a character Windows-1251 lacks in texts whose
// names must not collapse into one: 0x98, which the code page leaves
// unassigned (it reads back as '?'). Front ends convert definitions and
// names with it, and the core refuses a name that holds it.
constexpr char CHUZHOY_SIMVOL = '\x98';
// True when s holds CHUZHOY_SIMVOL.
bool EstChuzhoySimvol(std::string_view s);

// Decodes the UTF-8 character at s[i] into *u and returns its length in
// bytes; 0 (and *u untouched) when the bytes there are no well-formed
// character: a stray continuation byte, a sequence cut short, an overlong
// form, a surrogate or a code point above U+10FFFF. i < s.size().
std::size_t DekodirovatUtf8(const std::string& s, std::size_t i, char32_t* u);
// Appends the UTF-8 form of the code point u (at most U+10FFFF).
void DobavitUtf8(std::string& s, char32_t u);
// The text with each byte that starts no well-formed character replaced by
// U+FFFD, so that the result is well-formed UTF-8; well-formed text comes
// back unchanged.
std::string IspravitUtf8(const std::string& s);
