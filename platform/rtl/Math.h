#pragma once
// Rounding and the small numeric helpers the components call by name. Round rounds halves to the
// even neighbour, as the original platform's Round does; integer division stays C++'s (truncating).
#include <cstdint>
#include <type_traits>

// Nearest integer, halves to even: Round(2.5) = 2, Round(3.5) = 4, Round(-2.5) = -2.
// NaN, infinities and values outside int64 raise EInvalidOp instead of giving garbage.
int64_t Round(double value);
// Towards zero; the same range check as Round.
int64_t Trunc(double value);
// Fraction with the sign of value: Frac(-1.25) = -0.25.
double Frac(double value);
// Integer part as a double: Int(-1.75) = -1.0.
double Int(double value);
// Smallest integer >= value / largest integer <= value; EInvalidOp outside int32.
int32_t Ceil(double value);
int32_t Floor(double value);
double Power(double base, double exponent);
double IntPower(double base, int exponent);
double Log10(double value);

// RoundTo: value rounded to a multiple of 10^digit with halves to even (RoundTo(1234, 2) = 1200,
// RoundTo(0.125, -2) = 0.12). SimpleRoundTo rounds halves away from zero (0.125 -> 0.13).
double RoundTo(double value, int digit);
double SimpleRoundTo(double value, int digit = -2);

namespace rtl {
// The type two arguments of Min/Max/InRange/EnsureRange are compared in: the common type, except
// that a signed and an unsigned integer meet in int64 so that Max(-1, 0u) is 0, as on the
// original platform, and never 4294967295.
template <class A, class B>
using CompareType = std::conditional_t<
    std::is_floating_point_v<A> || std::is_floating_point_v<B>, std::common_type_t<A, B>,
    std::conditional_t<std::is_signed_v<A> != std::is_signed_v<B> && sizeof(std::common_type_t<A, B>) < 8,
                       int64_t, std::common_type_t<A, B>>>;
template <class T>
concept Number = std::is_arithmetic_v<T>;
}  // namespace rtl

// Templates rather than fixed overloads so that Max(x, 0) with a double x is no ambiguity.
template <rtl::Number A, rtl::Number B>
constexpr rtl::CompareType<A, B> Min(A a, B b) {
    using T = rtl::CompareType<A, B>;
    return static_cast<T>(a) < static_cast<T>(b) ? static_cast<T>(a) : static_cast<T>(b);
}
template <rtl::Number A, rtl::Number B>
constexpr rtl::CompareType<A, B> Max(A a, B b) {
    using T = rtl::CompareType<A, B>;
    return static_cast<T>(a) > static_cast<T>(b) ? static_cast<T>(a) : static_cast<T>(b);
}
template <rtl::Number V, rtl::Number L, rtl::Number H>
constexpr bool InRange(V value, L lo, H hi) {
    using T = rtl::CompareType<rtl::CompareType<V, L>, H>;
    return static_cast<T>(value) >= static_cast<T>(lo) && static_cast<T>(value) <= static_cast<T>(hi);
}
template <rtl::Number V, rtl::Number L, rtl::Number H>
constexpr auto EnsureRange(V value, L lo, H hi) {
    return Max(Min(value, hi), lo);
}
// -1, 0 or 1.
template <rtl::Number T>
constexpr int Sign(T value) { return value < T(0) ? -1 : (value > T(0) ? 1 : 0); }

bool IsNan(double value);
bool IsInfinite(double value);
bool IsZero(double value, double epsilon = 0);
bool SameValue(double a, double b, double epsilon = 0);
