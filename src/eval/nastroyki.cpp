#include "eval/nastroyki.h"

std::int32_t CurrentRadix = 10;
std::atomic<std::uint8_t> AngleUnit{1};
