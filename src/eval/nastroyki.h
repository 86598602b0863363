// The process-wide settings of a calculation run, read by the operators and
// functions as they compute.
#pragma once

#include <atomic>
#include <cstdint>

// Radix of the run in progress (2..36); written and read by the calculation
// thread only.
extern std::int32_t CurrentRadix;
// 0 radians, 1 degrees (default), 2 grads. Written by the main thread, read by
// the calculation thread at each angle function call.
extern std::atomic<std::uint8_t> AngleUnit;
