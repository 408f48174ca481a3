#include "platform/rtl/Random.h"

#include "platform/rtl/Clock.h"

uint32_t RandSeed = 0;

namespace {

// Multiplier of the classic 32-bit generator; the high 32 bits of seed x Range are the draw,
// so every value of the range is equally likely to within one part in 2^32.
constexpr uint32_t kMultiplier = 134775813u;

uint32_t Next() {
    RandSeed = RandSeed * kMultiplier + 1u;
    return RandSeed;
}

}  // namespace

void Randomize() {
    // Milliseconds and the wall time's fraction, so two starts within one tick still differ.
    uint64_t ms = rtl::MonotonicMs();
    double now = rtl::CurrentClock().Now();
    uint64_t fraction = static_cast<uint64_t>((now - static_cast<double>(static_cast<int64_t>(now))) * 4294967296.0);
    RandSeed = static_cast<uint32_t>(ms ^ (ms >> 32) ^ fraction);
}

int32_t Random(int32_t Range) {
    if (Range <= 0) return 0;
    return static_cast<int32_t>((static_cast<uint64_t>(Next()) * static_cast<uint64_t>(Range)) >> 32);
}

double Random() { return static_cast<double>(Next()) / 4294967296.0; }
