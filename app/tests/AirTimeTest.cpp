// The air time of a payload in LoRa and FSK, and the interval with its margin.
#include <gtest/gtest.h>

#include "app/AirTime.h"

namespace {

TEST(AirTime, LoRaAndFskTimesOfTheCalculator) {
    struct Case {
        bool fsk;
        double L;
        int SF;
        int symbols;  // -1: not checked
        int64_t time;
        int64_t total;
    };
    const Case cases[] = {
        {false, 5, 7, 9, 1069, 2269},        // the form's first values
        {false, 235, 7, 101, 8606, 9806},    // the longest single-block payload
        {false, 236, 7, 5, 9347, 10547},     // one more byte: the 235-byte block plus the rest
        {false, 255, 12, 6, 168034, 169234},
        {true, 10, 0, 0, 86, 286},
        {true, 52, 0, 0, 213, 413},  // two blocks of 52
        {true, 100, 0, 0, 351, 551},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.fsk ? "FSK" : "LoRa") << " L " << c.L << " SF " << c.SF);
        const TAirTime t = c.fsk ? FskAirTime(c.L) : LoRaAirTime(c.L, c.SF);
        EXPECT_EQ(t.Symbols, c.symbols);
        EXPECT_EQ(t.Time, c.time);
        EXPECT_EQ(t.Total, c.total);
    }
}

TEST(AirTime, TheLoRaConstantsAreTheAirTimeOfAFullBlock) {
    const int64_t full[] = {8606, 14426, 24920, 43942, 78709, 141689};
    for (int sf = 7; sf <= 12; ++sf) EXPECT_EQ(LoRaAirTime(235, sf).Time, full[sf - 7]) << "SF " << sf;
}

}  // namespace
