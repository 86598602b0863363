// The process-wide settings of a calculation run, read by the operators and
// functions as they compute.
#pragma once

#include <atomic>
#include <cstdint>

#include "eval/sostoyanie.h" // CurrentRadix, the radix of the run in progress

// 0 radians, 1 degrees (default), 2 grads. Written by the main thread, read by
// the calculation thread at each angle function call.
extern std::atomic<std::uint8_t> AngleUnit;

// The angle units, with the values AngleUnit holds.
enum class TEdinicaUgla : std::uint8_t { Radiani = 0, Gradusi = 1, Gradi = 2 };
// AngleUnit as a unit (a value that is none of them reads as radians, as
// the conversions take it) and its setting. Any thread.
TEdinicaUgla EdinicaUgla();
void UstanovitEdinicuUgla(TEdinicaUgla edinica);
// Half a turn in the unit: 180 degrees, 200 grads; 0 for radians, which
// need no conversion.
int PolOborota(TEdinicaUgla edinica);
