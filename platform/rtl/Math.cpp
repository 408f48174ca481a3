#include "platform/rtl/Math.h"

#include <cmath>

#include "platform/rtl/Exceptions.h"

namespace {

// 2^63: the first double that no longer fits an int64.
constexpr double kInt64Limit = 9223372036854775808.0;

int64_t CheckedInt64(double integral) {
    if (std::isnan(integral) || integral >= kInt64Limit || integral < -kInt64Limit)
        throw EInvalidOp(String("Invalid floating point operation"));
    return static_cast<int64_t>(integral);
}

int32_t CheckedInt32(double integral) {
    if (std::isnan(integral) || integral > 2147483647.0 || integral < -2147483648.0)
        throw EInvalidOp(String("Invalid floating point operation"));
    return static_cast<int32_t>(integral);
}

// Halves to even without depending on the FPU's current rounding mode.
double RoundHalfEven(double value) {
    double f = std::floor(value);
    double diff = value - f;  // exact for every finite double
    if (diff > 0.5) return f + 1.0;
    if (diff < 0.5) return f;
    return std::fmod(f, 2.0) == 0.0 ? f : f + 1.0;
}

}  // namespace

int64_t Round(double value) { return CheckedInt64(RoundHalfEven(value)); }
int64_t Trunc(double value) { return CheckedInt64(std::trunc(value)); }
double Frac(double value) { return value - std::trunc(value); }
double Int(double value) { return std::trunc(value); }
int32_t Ceil(double value) { return CheckedInt32(std::ceil(value)); }
int32_t Floor(double value) { return CheckedInt32(std::floor(value)); }
double Power(double base, double exponent) { return std::pow(base, exponent); }

double IntPower(double base, int exponent) {
    double result = 1.0;
    long e = exponent < 0 ? -static_cast<long>(exponent) : exponent;
    double b = base;
    while (e > 0) {
        if (e & 1) result *= b;
        b *= b;
        e >>= 1;
    }
    return exponent < 0 ? 1.0 / result : result;
}

double Log10(double value) { return std::log10(value); }

// A negative digit multiplies by an exact power of ten instead of dividing by an inexact 0.01.
double RoundTo(double value, int digit) {
    if (digit < 0) {
        double factor = IntPower(10.0, -digit);
        return RoundHalfEven(value * factor) / factor;
    }
    double factor = IntPower(10.0, digit);
    return RoundHalfEven(value / factor) * factor;
}

double SimpleRoundTo(double value, int digit) {
    auto halfAway = [](double v) { return v < 0 ? std::trunc(v - 0.5) : std::trunc(v + 0.5); };
    if (digit < 0) {
        double factor = IntPower(10.0, -digit);
        return halfAway(value * factor) / factor;
    }
    double factor = IntPower(10.0, digit);
    return halfAway(value / factor) * factor;
}

bool IsNan(double value) { return std::isnan(value); }
bool IsInfinite(double value) { return std::isinf(value); }

bool IsZero(double value, double epsilon) {
    if (epsilon == 0) epsilon = 1e-12;
    return std::fabs(value) <= epsilon;
}

bool SameValue(double a, double b, double epsilon) {
    if (epsilon == 0) epsilon = std::fmax(std::fmin(std::fabs(a), std::fabs(b)) * 1e-12, 1e-12);
    return a > b ? a - b <= epsilon : b - a <= epsilon;
}
