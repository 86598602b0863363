#include "eval/nastroyki.h"

std::atomic<std::uint8_t> AngleUnit{1};

TEdinicaUgla EdinicaUgla() {
    const std::uint8_t e = AngleUnit.load(std::memory_order_relaxed);
    return e == 1 || e == 2 ? static_cast<TEdinicaUgla>(e) : TEdinicaUgla::Radiani;
}

void UstanovitEdinicuUgla(TEdinicaUgla edinica) {
    AngleUnit.store(static_cast<std::uint8_t>(edinica));
}

int PolOborota(TEdinicaUgla edinica) {
    switch (edinica) {
    case TEdinicaUgla::Gradusi:
        return 180;
    case TEdinicaUgla::Gradi:
        return 200;
    case TEdinicaUgla::Radiani:
        break;
    }
    return 0;
}
