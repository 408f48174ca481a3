#include "platform/rtl/String.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <ostream>

namespace {

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

// Decodes one UTF-8 sequence at s[i]; returns the length used, 0 if the sequence is invalid.
size_t DecodeUtf8(std::string_view s, size_t i, char32_t& cp) {
    auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char c = b(i);
    size_t len;
    char32_t min;
    if (c < 0x80) { cp = c; return 1; }
    if ((c & 0xE0) == 0xC0) { len = 2; cp = c & 0x1F; min = 0x80; }
    else if ((c & 0xF0) == 0xE0) { len = 3; cp = c & 0x0F; min = 0x800; }
    else if ((c & 0xF8) == 0xF0) { len = 4; cp = c & 0x07; min = 0x10000; }
    else return 0;
    if (i + len > s.size()) return 0;
    for (size_t k = 1; k < len; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

std::string IconvConvert(const char* to, const char* from, std::string_view in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};
    std::string out;
    out.resize(in.size() * 4 + 16);
    char* inp = const_cast<char*>(in.data());
    size_t inleft = in.size();
    char* outp = out.data();
    size_t outleft = out.size();
    while (inleft > 0) {
        size_t r = iconv(cd, &inp, &inleft, &outp, &outleft);
        if (r != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) {
            size_t used = static_cast<size_t>(outp - out.data());
            out.resize(out.size() * 2);
            outp = out.data() + used;
            outleft = out.size() - used;
            continue;
        }
        // Invalid or truncated input, or a character the target lacks: skip it, leaving a
        // replacement mark. From UTF-16 that is a whole code unit: skipping one byte would read
        // every unit after it from the wrong byte.
        size_t used = static_cast<size_t>(outp - out.data());
        std::string repl = std::string(to) == "UTF-16LE" ? std::string("\xFD\xFF", 2) : std::string("?");
        if (outleft < repl.size()) {
            out.resize(out.size() * 2);
            outp = out.data() + used;
            outleft = out.size() - used;
        }
        for (char ch : repl) { *outp++ = ch; --outleft; }
        const size_t skip = std::min(inleft, std::string_view(from) == "UTF-16LE" ? size_t{2} : size_t{1});
        inp += skip;
        inleft -= skip;
    }
    out.resize(static_cast<size_t>(outp - out.data()));
    iconv_close(cd);
    return out;
}

}  // namespace

String::String(const char* utf8) : String(std::string_view(utf8 ? utf8 : "")) {}

String::String(std::string_view utf8) : std::u16string(Utf8ToUtf16(utf8)) {}

std::string String::ToUtf8() const { return Utf16ToUtf8(*this); }

std::string Utf16ToUtf8(std::u16string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

String Utf8ToUtf16(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        char32_t cp;
        size_t n = DecodeUtf8(s, i, cp);
        if (n == 0) {
            out.push_back(u'\uFFFD');
            ++i;
        } else {
            AppendUtf16(out, cp);
            i += n;
        }
    }
    return String(std::move(out));
}

bool IsValidUtf8(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();) {
        char32_t cp;
        size_t n = DecodeUtf8(bytes, i, cp);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

String Cp932ToUtf16(std::string_view bytes) {
    std::string raw = IconvConvert("UTF-16LE", "CP932", bytes);
    std::u16string out;
    out.reserve(raw.size() / 2);
    for (size_t i = 0; i + 1 < raw.size(); i += 2)
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(raw[i]) |
                                            (static_cast<unsigned char>(raw[i + 1]) << 8)));
    return String(std::move(out));
}

std::string Utf16ToCp932(std::u16string_view s) {
    std::string in;
    in.reserve(s.size() * 2);
    for (char16_t c : s) {
        in.push_back(static_cast<char>(c & 0xFF));
        in.push_back(static_cast<char>(c >> 8));
    }
    return IconvConvert("CP932", "UTF-16LE", in);
}

String DecodeText(std::string_view bytes, TextEncoding* found) {
    auto set = [&](TextEncoding e) { if (found) *found = e; };
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        set(TextEncoding::Utf8Bom);
        return Utf8ToUtf16(bytes.substr(3));
    }
    if (bytes.size() >= 2 && (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")) {
        bool le = bytes[0] == '\xFF';
        set(le ? TextEncoding::Utf16LE : TextEncoding::Utf16BE);
        std::u16string out;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            auto lo = static_cast<unsigned char>(bytes[le ? i : i + 1]);
            auto hi = static_cast<unsigned char>(bytes[le ? i + 1 : i]);
            out.push_back(static_cast<char16_t>(lo | (hi << 8)));
        }
        return String(std::move(out));
    }
    if (IsValidUtf8(bytes)) {
        set(TextEncoding::Utf8);
        return Utf8ToUtf16(bytes);
    }
    set(TextEncoding::Cp932);
    return Cp932ToUtf16(bytes);
}

std::string EncodeText(std::u16string_view text, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
        // A leading U+FEFF would read back as a byte-order mark and vanish; a real mark before it
        // is what the reader strips instead.
        if (!text.empty() && text[0] == u'\uFEFF') return "\xEF\xBB\xBF" + Utf16ToUtf8(text);
        return Utf16ToUtf8(text);
    case TextEncoding::Utf8Bom: return "\xEF\xBB\xBF" + Utf16ToUtf8(text);
    case TextEncoding::Cp932: return Utf16ToCp932(text);
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
        bool le = encoding == TextEncoding::Utf16LE;
        std::string out = le ? "\xFF\xFE" : "\xFE\xFF";
        for (char16_t c : text) {
            char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
            out.push_back(le ? lo : hi);
            out.push_back(le ? hi : lo);
        }
        return out;
    }
    }
    return Utf16ToUtf8(text);
}

std::ostream& operator<<(std::ostream& os, const String& s) { return os << s.ToUtf8(); }
