#pragma once
// String: UTF-16 text, as the components expect, with conversions to and from UTF-8 (the "ANSI"
// code page on Linux) and a decoder for text files that may be UTF-8, UTF-16 or CP932.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class String : public std::u16string {
public:
    String() = default;
    String(const char16_t* s) : std::u16string(s ? s : u"") {}
    String(const char16_t* s, size_t n) : std::u16string(s, n) {}
    String(std::u16string s) : std::u16string(std::move(s)) {}
    String(std::u16string_view s) : std::u16string(s) {}
    String(size_t n, char16_t c) : std::u16string(n, c) {}
    explicit String(char16_t c) : std::u16string(1, c) {}
    // UTF-8 input; invalid sequences become U+FFFD.
    String(const char* utf8);
    String(const std::string& utf8) : String(std::string_view(utf8)) {}
    explicit String(std::string_view utf8);

    std::string ToUtf8() const;
    int Length() const { return static_cast<int>(size()); }
    bool IsEmpty() const { return empty(); }
    using std::u16string::operator+=;
    String& operator+=(const char* utf8) { append(String(utf8)); return *this; }
    String& operator+=(const String& s) { append(s); return *this; }
};

inline String operator+(const String& a, const String& b) { String r(a); r.append(b); return r; }
inline String operator+(const String& a, const char16_t* b) { String r(a); r.append(b); return r; }
inline String operator+(const char16_t* a, const String& b) { String r(a); r.append(b); return r; }
inline String operator+(const String& a, const char* b) { String r(a); r.append(String(b)); return r; }
inline String operator+(const char* a, const String& b) { String r(a); r.append(b); return r; }
inline String operator+(const String& a, char16_t c) { String r(a); r.push_back(c); return r; }
inline String operator+(char16_t c, const String& b) { String r(1, c); r.append(b); return r; }
inline bool operator==(const String& a, const char* b) { return a == String(b); }
inline bool operator!=(const String& a, const char* b) { return !(a == String(b)); }

// 8-bit text in the "ANSI" code page (UTF-8 here), or raw bytes.
using AnsiString = std::string;
using WideString = String;
using UnicodeString = String;

std::string Utf16ToUtf8(std::u16string_view s);
String Utf8ToUtf16(std::string_view s);
bool IsValidUtf8(std::string_view bytes);
String Cp932ToUtf16(std::string_view bytes);
std::string Utf16ToCp932(std::u16string_view s);

enum class TextEncoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Cp932 };

// Decodes the bytes of a text file: a byte-order mark decides; without one, valid UTF-8 is UTF-8
// and anything else is taken as CP932 (files written on the original Japanese systems).
String DecodeText(std::string_view bytes, TextEncoding* found = nullptr);

// Encodes text for writing; Utf8 has no byte-order mark.
std::string EncodeText(std::u16string_view text, TextEncoding encoding = TextEncoding::Utf8);

// For diagnostics and gtest output.
std::ostream& operator<<(std::ostream& os, const String& s);
