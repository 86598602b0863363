// A table of byte masks shared by the register row policies: from offset
// kDlina - n, one row's worth of bytes that are all ones in the places
// 0..n-1 and zero above.
#pragma once

#include <cstdint>

#include "number/yadra/stroka.h"

namespace vm_detail::stroki {

struct TTablicaMest {
    std::uint8_t b[2 * kDlina];
};
alignas(64) inline constexpr TTablicaMest kMesta = [] {
    TTablicaMest m{};
    for (int i = 0; i < kDlina; ++i) m.b[i] = 0xFF;
    return m;
}();

} // namespace vm_detail::stroki
