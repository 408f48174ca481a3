#pragma once
// Rounding and the small numeric helpers the components call by name. Round rounds halves to the
// even neighbour, as the original platform's Round does; integer division stays C++'s (truncating).
#include <cstdint>

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

inline int32_t Min(int32_t a, int32_t b) { return a < b ? a : b; }
inline int64_t Min(int64_t a, int64_t b) { return a < b ? a : b; }
inline uint32_t Min(uint32_t a, uint32_t b) { return a < b ? a : b; }
inline double Min(double a, double b) { return a < b ? a : b; }
inline int32_t Max(int32_t a, int32_t b) { return a > b ? a : b; }
inline int64_t Max(int64_t a, int64_t b) { return a > b ? a : b; }
inline uint32_t Max(uint32_t a, uint32_t b) { return a > b ? a : b; }
inline double Max(double a, double b) { return a > b ? a : b; }

inline bool InRange(int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; }
inline bool InRange(int64_t v, int64_t lo, int64_t hi) { return v >= lo && v <= hi; }
inline bool InRange(double v, double lo, double hi) { return v >= lo && v <= hi; }
inline int32_t EnsureRange(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }
inline int64_t EnsureRange(int64_t v, int64_t lo, int64_t hi) { return v < lo ? lo : (v > hi ? hi : v); }
inline double EnsureRange(double v, double lo, double hi) { return v < lo ? lo : (v > hi ? hi : v); }

// -1, 0 or 1.
inline int Sign(int32_t v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }
inline int Sign(int64_t v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }
inline int Sign(double v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

bool IsNan(double value);
bool IsInfinite(double value);
bool IsZero(double value, double epsilon = 0);
bool SameValue(double a, double b, double epsilon = 0);
