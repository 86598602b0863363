// TAnsiString: the text type of every module. A reference-counted,
// copy-on-write byte string in Windows-1251 (Cyrillic letters are single
// bytes). Positions are 1-based; the empty text is a null handle.
//
// Thread safety: none. Reference counts are plain integers, so one body must
// not be used by two threads at a time; texts handed to another thread are
// copied into that side's own strings first.
#pragma once

#include <cstdint>
#include <string>

#include "text/mnogestvo.h"

struct SAnsiString {
    TOdnomernoeMnogestvoElementov<char> elements{16};
    std::uint32_t references = 1;
};

class TAnsiString {
  public:
    // Empty (null) text.
    TAnsiString() = default;
    // Copy of a NUL-terminated byte string; empty for null or "".
    TAnsiString(const char* s);
    // Copy of n bytes (which may hold no NUL); empty for n <= 0 or null.
    TAnsiString(const char* s, int n);
    // One-character text.
    explicit TAnsiString(char c);
    // Shares the other's body.
    TAnsiString(const TAnsiString& other);
    TAnsiString(TAnsiString&& other) noexcept;
    TAnsiString& operator=(const TAnsiString& other);
    TAnsiString& operator=(TAnsiString&& other) noexcept;
    // Empty for null or ""; otherwise the body is made unique and refilled.
    TAnsiString& operator=(const char* s);
    ~TAnsiString();

    // Bytes before the first NUL; 0 for the empty text.
    int Length() const;
    // Unshares, writes the terminating NUL and returns the buffer for reading
    // and writing; null for the empty text.
    char* c_str();
    // The buffer for reading, without unsharing; null for the empty text.
    const char* Data() const;
    // n = 0 empties the text; else resizes to n bytes (new bytes 0, NUL at n).
    // False (text unchanged) when the buffer cannot be had.
    bool SetLength(int n);
    // count bytes from pos; empty unless pos >= 1, count > 0 and the whole
    // range lies inside the text (a range past the end is not clipped).
    TAnsiString SubString(int pos, int count) const;
    // 1-based index of the first occurrence of s; 0 if absent or either empty.
    int Pos(const TAnsiString& s) const;
    // Inserts s before pos, 1 <= pos <= Length()+1 (into the empty text only
    // at 1); otherwise, or for an empty s, nothing happens.
    void Insert(const TAnsiString& s, int pos);
    // Removes count bytes from pos when the whole range lies inside the text.
    void Delete(int pos, int count);
    // True when the body holds a NUL before its terminating one, that is
    // bytes behind what Length() counts (a text built from n bytes that held
    // a NUL); false for the empty text.
    bool EstNul() const;
    // Copy without leading and trailing bytes 0..32.
    TAnsiString Trim() const;

    // -1, 0 or 1; bytes compared as signed 8-bit values, shorter text smaller.
    static int Compare(const TAnsiString& a, const TAnsiString& b);

    // The bytes as a std::string (for the front ends and tests).
    std::string ToStd() const;
    // Number of handles sharing the body (0 for the empty text); for tests.
    std::uint32_t References() const;

  private:
    void Release();
    void Unshare();
    SAnsiString* body_ = nullptr;
};

TAnsiString operator+(const TAnsiString& a, const TAnsiString& b);
