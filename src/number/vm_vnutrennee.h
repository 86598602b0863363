// Private helpers of the number module: the rounding threshold, the radix as
// the digit loops use it, and exponent arithmetic without 32-bit wrap-around.
#pragma once

#include <cstdint>
#include <cstring>

#include "number/vm_chislo.h"

namespace vm_detail {

// The radix the digit loops work with. A record whose radix byte is 0 or 1
// is not a valid number; it is treated as radix 2 so that no loop divides by
// zero or runs forever on it.
inline int Osn(const vmChislo& x) {
    return x.Osnovanie < 2 ? 2 : x.Osnovanie;
}

// A dropped digit at or above this rounds the magnitude up (half-up).
inline int Polovina(const vmChislo& x) {
    return (Osn(x) + 1) / 2;
}

// Clamps an exact exponent to 32 bits. Every value beyond +-2^30 behaves the
// same in every operation (overflow or underflow), so clamping there keeps
// all results while preventing wrap-around.
inline std::int32_t Ogranichit(std::int64_t v) {
    constexpr std::int64_t kPredel = std::int64_t(1) << 30;
    if (v > kPredel) return static_cast<std::int32_t>(kPredel);
    if (v < -kPredel) return static_cast<std::int32_t>(-kPredel);
    return static_cast<std::int32_t>(v);
}

inline bool EtoNol(const vmChislo& x) {
    return vmZnak(&x) == 0;
}

inline bool EtoBeskonechnost(const vmChislo& x) {
    return vmEtoBeskonechnost(&x);
}

// The 103 digits in significance order, copied out into one contiguous array
// (so that shifts and digit loops can use memmove and plain indexing) and back.
inline void VRyad(const vmChislo& x, std::uint8_t* r) {
    r[0] = x.CelayaChast[2];
    r[1] = x.CelayaChast[1];
    r[2] = x.CelayaChast[0];
    std::memcpy(r + 3, x.DrobnayaChast, VM_DROBNIH_RAZRYADOV);
}
inline void IzRyada(vmChislo& x, const std::uint8_t* r) {
    x.CelayaChast[2] = r[0];
    x.CelayaChast[1] = r[1];
    x.CelayaChast[0] = r[2];
    std::memcpy(x.DrobnayaChast, r + 3, VM_DROBNIH_RAZRYADOV);
}

} // namespace vm_detail
