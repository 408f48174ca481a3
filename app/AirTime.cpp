#include "app/AirTime.h"

#include <cmath>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

namespace {

struct LoRaConstants {
    long double SymbolTime;  // ms
    long double Full;        // the air time of a 235-byte payload, ms
};
constexpr LoRaConstants kLoRa[] = {
    {16.384L, 8606}, {32.768L, 14426}, {65.536L, 24920}, {131.072L, 43942}, {262.144L, 78709}, {524.288L, 141689},
};

// Halves to even, on the extended value itself (the default rounding mode is to nearest even).
int64_t RoundExtended(long double v) { return static_cast<int64_t>(std::nearbyintl(v)); }

}  // namespace

TAirTime LoRaAirTime(double L, int SF) {
    if (SF < 7 || SF > 12) throw EConvertError(String("spreading factor ") + IntToStr(SF) + " is not 7..12");
    const LoRaConstants& c = kLoRa[SF - 7];
    const long double g = (SF - 2) * 4;
    const long double length = L;
    TAirTime r;
    if (static_cast<int64_t>(std::llround(L)) <= 235) {
        r.Symbols = static_cast<int32_t>(std::ceil(((length + 15) * 8 - 4 * SF + 44) / g));
        r.Time = RoundExtended(c.SymbolTime * (5 * static_cast<long double>(r.Symbols) + 20.25L));
    } else {
        r.Symbols = static_cast<int32_t>(std::ceil(((length + 8 - 235) * 8 - 4 * SF + 44) / g));
        r.Time = RoundExtended(c.SymbolTime * (5 * static_cast<long double>(r.Symbols) + 20.25L) + c.Full);
    }
    r.Total = r.Time + 1200;
    return r;
}

TAirTime FskAirTime(double L) {
    const int64_t e = std::llround(L) + 7;
    const long double blocks = std::ceil(static_cast<long double>(e) / 52);
    // The sum is stored as a double before it is rounded, as the calculator stored it.
    const double sum = static_cast<double>(blocks * (1727.0L / 30.0L) + static_cast<long double>(e * 8) / 4.8L);
    TAirTime r;
    r.Time = RoundExtended(sum);
    r.Total = r.Time + 200;
    return r;
}
