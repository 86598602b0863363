// The growable array behind TAnsiString, instantiated for char only.
#include "text/mnogestvo.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

#include "text/operacii_s_pamyatyu.h"

namespace {
// Capacity for count elements: count rounded up to a multiple of step.
std::uint64_t Okruglennaya(std::uint64_t count, std::uint32_t step) {
    if (step == 0) return count;
    return (count + step - 1) / step * step;
}
} // namespace

template <typename T>
TOdnomernoeMnogestvoElementov<T>::TOdnomernoeMnogestvoElementov(std::uint32_t step_)
    : step(step_ == 0 ? 1 : step_) {
    static_assert(std::is_trivially_copyable_v<T>, "elements are moved as raw bytes");
}

template <typename T>
TOdnomernoeMnogestvoElementov<T>::TOdnomernoeMnogestvoElementov(
    const TOdnomernoeMnogestvoElementov& other)
    : step(other.step) {
    if (other.borrowed) {
        // Somebody else's buffer is shared as it is, still borrowed.
        capacity = other.capacity;
        borrowed = 1;
        data = other.data;
        count = other.count;
        return;
    }
    if (other.count == 0 || other.data == nullptr) return;
    const std::uint64_t cap = Okruglennaya(other.count, step);
    T* buf = static_cast<T*>(std::malloc(cap * sizeof(T)));
    if (buf == nullptr) return; // left empty; the caller checks data
    std::memcpy(buf, other.data, std::size_t(other.count) * sizeof(T));
    capacity = std::uint32_t(cap);
    data = buf;
    count = other.count;
}

template <typename T> TOdnomernoeMnogestvoElementov<T>::~TOdnomernoeMnogestvoElementov() {
    if (!borrowed) std::free(data);
}

template <typename T>
bool TOdnomernoeMnogestvoElementov<T>::SetSize(std::uint32_t newCount, bool keepEnd, bool fillZeros,
                                               bool noShrink) {
    const bool novyy =
        borrowed || newCount > capacity || (!noShrink && std::uint64_t(newCount) * 2 < capacity);
    const std::size_t sz = sizeof(T);
    if (!novyy) {
        // Reuse the buffer in place.
        if (newCount > count) {
            const std::uint32_t dobavka = newCount - count;
            if (keepEnd) {
                std::memmove(data + dobavka, data, std::size_t(count) * sz);
                if (fillZeros) std::memset(data, 0, std::size_t(dobavka) * sz);
            } else if (fillZeros) {
                std::memset(data + count, 0, std::size_t(dobavka) * sz);
            }
        } else if (newCount < count && keepEnd) {
            std::memmove(data, data + (count - newCount), std::size_t(newCount) * sz);
        }
        count = newCount;
        return true;
    }

    if (borrowed) {
        // The buffer is not ours: never freed, never written; start afresh.
        capacity = 0;
        count = 0;
        data = nullptr;
        borrowed = 0;
    }
    if (std::uint64_t(newCount) * sz > FizicheskayaPamyat()) return false;
    T* buf = nullptr;
    std::uint64_t cap = 0;
    if (newCount > 0) {
        cap = Okruglennaya(newCount, step);
        if (cap > 0xFFFFFFFFu) return false;
        buf = static_cast<T*>(std::malloc(std::size_t(cap) * sz));
        if (buf == nullptr) return false;
        if (newCount >= count) {
            const std::uint32_t dobavka = newCount - count;
            T* kuda = keepEnd ? buf + dobavka : buf;
            if (count > 0) std::memcpy(kuda, data, std::size_t(count) * sz);
            if (fillZeros && dobavka > 0)
                std::memset(keepEnd ? buf : buf + count, 0, std::size_t(dobavka) * sz);
        } else {
            const T* otkuda = keepEnd ? data + (count - newCount) : data;
            std::memcpy(buf, otkuda, std::size_t(newCount) * sz);
        }
    }
    std::free(data);
    data = buf;
    capacity = std::uint32_t(cap);
    count = newCount;
    return true;
}

template class TOdnomernoeMnogestvoElementov<char>;
