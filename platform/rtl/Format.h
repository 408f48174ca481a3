#pragma once
// Number-to-text conversion: Format with its argument records, FloatToStr, FloatToStrF and
// FormatFloat, with the rounding and layout rules the components rely on.
//
// Floating-point values are first taken to 15 significant digits (what a double carries reliably)
// and then rounded half away from zero at the requested place, so FormatFloat("0.00", 2.345) is
// "2.35" although the nearest double lies just below 2.345.
#include <cstdint>
#include <initializer_list>

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/String.h"

// One argument of Format.
struct TVarRec {
    enum Type { vtInteger, vtInt64, vtExtended, vtUnicodeString, vtChar, vtPointer };

    TVarRec(int v) : VType(vtInteger), VInt64(v) {}
    TVarRec(unsigned v) : VType(vtInt64), VInt64(v) {}
    TVarRec(long v) : VType(vtInt64), VInt64(v) {}
    TVarRec(unsigned long v) : VType(vtInt64), VInt64(static_cast<int64_t>(v)) {}
    TVarRec(long long v) : VType(vtInt64), VInt64(v) {}
    TVarRec(unsigned long long v) : VType(vtInt64), VInt64(static_cast<int64_t>(v)) {}
    TVarRec(double v) : VType(vtExtended), VExtended(v) {}
    TVarRec(float v) : VType(vtExtended), VExtended(v) {}
    TVarRec(const String& v) : VType(vtUnicodeString), VString(v) {}
    TVarRec(const std::u16string& v) : VType(vtUnicodeString), VString(v) {}
    TVarRec(const char16_t* v) : VType(vtUnicodeString), VString(v) {}
    TVarRec(const char* v) : VType(vtUnicodeString), VString(v ? String(v) : String()) {}
    TVarRec(char16_t v) : VType(vtChar), VChar(v) {}
    TVarRec(char v) : VType(vtChar), VChar(static_cast<unsigned char>(v)) {}
    TVarRec(const void* v) : VType(vtPointer), VPointer(v) {}

    Type VType;
    int64_t VInt64 = 0;
    double VExtended = 0;
    String VString;
    char16_t VChar = 0;
    const void* VPointer = nullptr;
};

// Format(fmt, {args}): "%" ["index:"] ["-"] [width] ["." precision] type, where index, width and
// precision may be "*" (taken from the next integer argument). Types:
//   d  decimal integer, precision = minimum digits     u  the same, unsigned (an int is 32-bit)
//   x  lowercase hex, X uppercase hex; a negative int gives 8 digits, a 64-bit value 16
//   f  fixed (precision 2)     e  scientific (15)     g  general (15)     n  with thousand separators (2)
//   m  currency (CurrencyDecimals)    s  text, precision = maximum characters   c  one character
//   p  pointer as hex digits          %% a percent sign
// Width pads with blanks on the left, or on the right after "-". A bad specifier or an argument of
// the wrong type raises EConvertError.
String Format(const String& format, std::initializer_list<TVarRec> args);
String Format(const String& format, std::initializer_list<TVarRec> args, const TFormatSettings& settings);
String Format(const String& format, const TVarRec* args, size_t count, const TFormatSettings& settings);

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// 15 significant digits in the general format: 0.1 -> "0.1", 1e20 -> "1E20", 1.5e-5 -> "1.5E-5".
String FloatToStr(double value);
String FloatToStr(double value, const TFormatSettings& settings);
// Precision: significant digits (1..18; more than 15 only adds zeros). Digits: ffGeneral and
// ffExponent the minimum exponent digits (0..4), ffFixed, ffNumber and ffCurrency the decimals.
String FloatToStrF(double value, TFloatFormat format, int precision, int digits);
String FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                   const TFormatSettings& settings);
// Picture formats with "0" and "#" digit places, "." decimal point, "," thousand separators,
// "E+" "E-" "e+" "e-" exponents, quoted literal text and up to three ";" sections
// (positive;negative;zero). An empty format gives FloatToStr. Half away from zero rounding.
String FormatFloat(const String& format, double value);
String FormatFloat(const String& format, double value, const TFormatSettings& settings);

// The decimal digits of a value as the formatting routines see them: value = 0.D1D2D3... x 10^Exponent.
// Exponent is 32767 for an infinity and -32768 for NaN; Digits is empty for zero.
struct TFloatRec {
    int Exponent = 0;
    bool Negative = false;
    std::string Digits;
};
// At most precision significant digits and at most decimals digits after the decimal point,
// rounded half away from zero; trailing zeros are dropped.
TFloatRec FloatToDecimal(double value, int precision, int decimals);
