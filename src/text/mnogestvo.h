// TOdnomernoeMnogestvoElementov<T>: the growable array behind TAnsiString.
// Capacity is always a multiple of the step; a request larger than the
// machine's physical memory fails (returns false) and changes nothing.
// Not thread safe.
#pragma once

#include <cstdint>

template <typename T> class TOdnomernoeMnogestvoElementov {
  public:
    explicit TOdnomernoeMnogestvoElementov(std::uint32_t step);
    TOdnomernoeMnogestvoElementov(const TOdnomernoeMnogestvoElementov& other);
    TOdnomernoeMnogestvoElementov& operator=(const TOdnomernoeMnogestvoElementov&) = delete;
    ~TOdnomernoeMnogestvoElementov();

    // Resizes to count elements. keepEnd: keep the last elements instead of
    // the first; fillZeros: zero the new elements; noShrink: never take a
    // smaller buffer. False, and nothing changed, if the buffer cannot be had.
    bool SetSize(std::uint32_t count, bool keepEnd, bool fillZeros, bool noShrink);

    std::uint32_t capacity = 0;
    std::uint8_t borrowed = 0;
    T* data = nullptr;
    std::uint32_t count = 0;
    std::uint32_t step;
};
