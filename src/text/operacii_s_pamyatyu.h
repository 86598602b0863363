// Raw memory routines used by the text class, the number conversions and the
// constant cache, and the machine's memory size that bounds one text buffer.
// Any thread; the routines touch only the bytes they are given.
#pragma once

#include <cstdint>

// Copies n bytes from otkuda to kuda, four bytes at a time and the remaining
// 0..3 bytes one by one. vpered: from the first byte upward (safe for an
// overlapping move to a lower address); otherwise from the last byte downward
// (safe for an overlapping move to a higher address). n = 0 touches nothing,
// so null pointers are accepted then.
void KopirovatPamyat(void* kuda, const void* otkuda, std::uint32_t n, bool vpered);

// Sets n bytes at p to 0; nothing for n = 0 or null p.
void ObnulitPamyat(void* p, std::uint32_t n);

// True if the n bytes at a and b are equal; true for n = 0 (pointers unread).
bool SravnitPamyat(const void* a, const void* b, std::uint32_t n);

// Total physical memory in bytes (sysconf, asked once at the first call and
// kept); a very large value if unknown. The bound of one text buffer. Any
// thread.
std::uint64_t FizicheskayaPamyat();
