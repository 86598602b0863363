// A thread with a large stack of the process's own mapping, for a deep
// recursion: the operating system's part of the calculation thread.
#pragma once

#include <cstddef>

// Zapustit runs f(kontekst) on a new thread whose stack is razmerSteka bytes;
// Dozhdatsya (or the destructor) joins it. One thread per object. Owner's
// thread only.
class TPotokSoStekom {
  public:
    TPotokSoStekom() = default;
    ~TPotokSoStekom();
    TPotokSoStekom(const TPotokSoStekom&) = delete;
    TPotokSoStekom& operator=(const TPotokSoStekom&) = delete;
    // False, f not run, when the thread cannot be created or one was already
    // started and not joined.
    bool Zapustit(std::size_t razmerSteka, void (*f)(void*), void* kontekst);
    // Returns at once when no thread runs.
    void Dozhdatsya();
    bool Zapushen() const { return zapushen_; }

  private:
    struct TStek;
    TStek* stek_ = nullptr;
    unsigned long potok_ = 0; // pthread_t
    bool zapushen_ = false;
};
