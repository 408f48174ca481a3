// Text-to-number and text-to-date conversions under the default settings: any text is taken or
// refused as a second reading written from the rules takes or refuses it (strtod in the C locale
// for numbers, a token reading for dates and times), and what the formatting routines write reads
// back as the same value.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "fuzz/FuzzInput.h"
#include "fuzz/Readings.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/SysUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    String text(fuzz::Bytes(data, size));
    int32_t i32;
    int64_t i64;
    double d;
    if (TryStrToInt(text, i32) && StrToInt(IntToStr(i32)) != i32) std::abort();
    if (TryStrToInt64(text, i64) && StrToInt64(IntToStr(i64)) != i64) std::abort();
    fuzz::CheckFloatReading(text, FormatSettings);
    fuzz::CheckDateReadings(text, FormatSettings);

    // Values from the raw bytes: a finite double survives FloatToStr, a date DateToStr.
    if (size >= sizeof(double)) {
        std::memcpy(&d, data, sizeof d);
        // Below the largest double, whose 15-digit form rounds past it.
        if (std::isfinite(d) && std::fabs(d) < 1e308) {
            double back;
            if (!TryStrToFloat(FloatToStr(d), back)) std::abort();
            if (back != d && std::fabs(back - d) > std::fabs(d) * 1e-14) std::abort();
        }
        int day = std::isfinite(d) && std::fabs(d) < 1e15 ? static_cast<int>(static_cast<int64_t>(d) % 2958466) : 0;
        if (day > -693594) {
            TDateTime parsed;
            if (!TryStrToDate(DateToStr(day), parsed) || parsed != day) std::abort();
        }
    }
    return 0;
}
