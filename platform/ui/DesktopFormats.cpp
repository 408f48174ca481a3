// Clipboard content and the desktop's MIME types, both ways.
#include "platform/ui/backend/DesktopFormats.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

#include "platform/rtl/Diagnostics.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/backend/DragDrop.h"

namespace ui {

namespace {

constexpr std::string_view kRegisteredPrefix = "application/x-clipboard-format;name=";

using Bytes = std::vector<uint8_t>;

Bytes BytesOf(std::string_view s) { return Bytes(s.begin(), s.end()); }
std::string_view ViewOf(const Bytes& b) { return std::string_view(reinterpret_cast<const char*>(b.data()), b.size()); }

// 8-bit text up to its terminating zero (or the end when it has none).
std::string_view UpToZero(const Bytes& b) {
    std::string_view v = ViewOf(b);
    return v.substr(0, std::min(v.size(), v.find('\0')));
}

UINT HtmlFormat() { return RegisterClipboardFormat("HTML Format"); }
UINT RtfFormat() { return RegisterClipboardFormat("Rich Text Format"); }
UINT UrlFormat() { return RegisterClipboardFormat("UniformResourceLocator"); }

bool TooLarge(const std::string& type, size_t size) {
    if (size <= kDesktopTypeLimit) return false;
    OutputDebugString(String("Desktop exchange: " + type + " of " + std::to_string(size) +
                             " bytes is larger than the limit and is not mapped"));
    return true;
}

char ToLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

size_t FindNoCase(std::string_view hay, std::string_view needle, size_t from = 0) {
    if (needle.size() > hay.size()) return std::string_view::npos;
    for (size_t i = from; i + needle.size() <= hay.size(); ++i) {
        size_t k = 0;
        while (k < needle.size() && ToLower(hay[i + k]) == ToLower(needle[k])) ++k;
        if (k == needle.size()) return i;
    }
    return std::string_view::npos;
}

// ---- "HTML Format" going out

// The header's lines, "Name:value" each, before the document; where the header ends.
struct HtmlHeader {
    std::optional<size_t> StartHtml, EndHtml;
    bool Malformed = false;  // an offset that is not decimal
    size_t End = 0;
};

std::optional<size_t> Decimal(std::string_view v, bool& malformed) {
    if (v.empty() || v.size() > 18) {
        malformed = true;
        return std::nullopt;
    }
    size_t n = 0;
    for (char c : v) {
        if (c < '0' || c > '9') {
            malformed = true;
            return std::nullopt;
        }
        n = n * 10 + static_cast<size_t>(c - '0');
    }
    return n;
}

HtmlHeader ReadHtmlHeader(std::string_view data) {
    HtmlHeader h;
    size_t pos = 0;
    while (pos < data.size()) {
        size_t eol = data.find_first_of("\r\n", pos);
        std::string_view line = data.substr(pos, eol == std::string_view::npos ? std::string_view::npos : eol - pos);
        size_t colon = line.find(':');
        bool named = colon != std::string_view::npos && colon > 0 &&
                     std::all_of(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(colon),
                                 [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
        if (!named) break;
        std::string_view name = line.substr(0, colon), value = line.substr(colon + 1);
        if (name == "StartHTML") h.StartHtml = Decimal(value, h.Malformed);
        else if (name == "EndHTML") h.EndHtml = Decimal(value, h.Malformed);
        if (eol == std::string_view::npos) {
            pos = data.size();
            break;
        }
        pos = eol + 1;
        if (data[eol] == '\r' && pos < data.size() && data[pos] == '\n') ++pos;
    }
    h.End = pos;
    return h;
}

// The document of an "HTML Format" block, or nothing when it holds none.
std::optional<std::string_view> HtmlDocumentOf(const Bytes& block) {
    std::string_view data = ViewOf(block);
    HtmlHeader h = ReadHtmlHeader(data);
    if (!h.Malformed && h.StartHtml && *h.StartHtml >= h.End && *h.StartHtml <= data.size()) {
        size_t end = h.EndHtml ? *h.EndHtml : data.size();
        if (end >= *h.StartHtml && end <= data.size()) {
            std::string_view doc = data.substr(*h.StartHtml, end - *h.StartHtml);
            if (!h.EndHtml) doc = doc.substr(0, std::min(doc.size(), doc.find('\0')));
            if (!doc.empty()) return doc;
        }
    }
    // Offsets missing or not to be trusted: the document starts at the first "<" after the
    // header, and runs to the end of the data.
    size_t lt = data.find('<', h.End);
    if (lt == std::string_view::npos) return std::nullopt;
    std::string_view doc = data.substr(lt);
    return doc.substr(0, std::min(doc.size(), doc.find('\0')));
}

// ---- "HTML Format" coming in

std::string Utf8Of(const Bytes& b) {
    if (b.size() >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF))) {
        bool little = b[0] == 0xFF;
        std::u16string s;
        for (size_t i = 2; i + 1 < b.size(); i += 2)
            s.push_back(static_cast<char16_t>(little ? b[i] | (b[i + 1] << 8) : (b[i] << 8) | b[i + 1]));
        return Utf16ToUtf8(s);
    }
    std::string_view v = ViewOf(b);
    if (IsValidUtf8(v)) return std::string(v);
    return Utf8ToUtf16(v).ToUtf8();  // invalid sequences become U+FFFD
}

std::string Offset(size_t n) {
    std::string s = std::to_string(n);
    return std::string(s.size() < 8 ? 8 - s.size() : 0, '0') + s;
}

// ---- files and URLs

bool Unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~' || c == '/';
}

std::string FileUrl(const String& path) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : path.ToUtf8()) {
        if (Unreserved(c)) {
            url.push_back(static_cast<char>(c));
        } else {
            url.push_back('%');
            url.push_back(kHex[c >> 4]);
            url.push_back(kHex[c & 15]);
        }
    }
    return url;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A URL has a scheme: a letter, then letters, digits, "+", "-" or ".", then ":", and no blanks.
bool IsUrl(std::string_view s) {
    size_t colon = s.find(':');
    if (colon == std::string_view::npos || colon == 0) return false;
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (!letter(s[0])) return false;
    for (size_t i = 1; i < colon; ++i) {
        char c = s[i];
        if (!letter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return false;
    }
    return std::none_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t' || c < 0x20; }) &&
           colon + 1 < s.size();
}

// The local path of a file URL (file:///path or file://localhost/path), percent-decoded.
std::optional<String> LocalPathOf(std::string_view url) {
    if (FindNoCase(url, "file:") != 0) return std::nullopt;
    std::string_view rest = url.substr(5);
    if (rest.substr(0, 2) == "//") {
        rest.remove_prefix(2);
        size_t slash = rest.find('/');
        if (slash == std::string_view::npos) return std::nullopt;
        std::string_view host = rest.substr(0, slash);
        if (!host.empty() && FindNoCase(host, "localhost") != 0) return std::nullopt;
        rest.remove_prefix(slash);
    }
    if (rest.empty() || rest[0] != '/') return std::nullopt;
    std::string path;
    for (size_t i = 0; i < rest.size(); ++i) {
        int hi = 0, lo = 0;
        if (rest[i] == '%' && i + 2 < rest.size() && (hi = HexValue(rest[i + 1])) >= 0 && (lo = HexValue(rest[i + 2])) >= 0) {
            path.push_back(static_cast<char>(hi * 16 + lo));
            i += 2;
        } else {
            path.push_back(rest[i]);
        }
    }
    return String(path);
}

}  // namespace

std::vector<String> DroppedFiles(const std::vector<uint8_t>& block) {
    std::vector<String> files;
    if (block.size() < sizeof(DROPFILES)) return files;
    DROPFILES header;
    std::memcpy(&header, block.data(), sizeof header);
    size_t pos = header.pFiles;
    if (header.fWide) {
        for (;;) {
            String name;
            while (pos + 1 < block.size()) {
                char16_t c = static_cast<char16_t>(block[pos] | (block[pos + 1] << 8));
                pos += 2;
                if (c == 0) break;
                name.push_back(c);
            }
            if (name.empty()) break;
            files.push_back(name);
            if (pos + 1 >= block.size()) break;
        }
    } else {
        while (pos < block.size()) {
            std::string_view rest = ViewOf(block).substr(pos);
            std::string_view name = rest.substr(0, std::min(rest.size(), rest.find('\0')));
            if (name.empty()) break;
            files.push_back(String(name));
            pos += name.size() + 1;
        }
    }
    return files;
}

std::vector<uint8_t> DropFilesBlock(const std::vector<String>& files) {
    DROPFILES header;
    header.fWide = TRUE_;
    Bytes b(sizeof header);
    std::memcpy(b.data(), &header, sizeof header);
    for (const String& f : files) {
        for (char16_t c : f) {
            b.push_back(static_cast<uint8_t>(c & 0xFF));
            b.push_back(static_cast<uint8_t>(c >> 8));
        }
        b.push_back(0);
        b.push_back(0);
    }
    b.push_back(0);
    b.push_back(0);
    return b;
}

namespace {

Bytes ZeroEnded(std::string_view s) {
    Bytes b = BytesOf(s);
    b.push_back(0);
    return b;
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
    std::string s;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) s += "\r\n";
        s += lines[i];
    }
    return s;
}

const DesktopPart* FindPart(const DesktopContent& parts, std::string_view type) {
    for (const DesktopPart& p : parts)
        if (p.Type == type) return &p;
    return nullptr;
}

const DesktopPart* FindTextPart(const DesktopContent& parts) {
    for (const DesktopPart& p : parts)
        if (p.Type == "text/plain" || p.Type.rfind("text/plain;", 0) == 0) return &p;
    return nullptr;
}

}  // namespace

DesktopDragData DesktopDragData::OfText(const String& text) {
    DesktopDragData d;
    d.Content[CF_UNICODETEXT] = ClipboardTextBytes(text);
    return d;
}

DesktopDragData DesktopDragData::OfFiles(const std::vector<String>& files) {
    DesktopDragData d;
    d.Content[CF_HDROP] = DropFilesBlock(files);
    return d;
}

std::string RegisteredFormatType(const String& name) {
    return std::string(kRegisteredPrefix) + "\"" + name.ToUtf8() + "\"";
}

String RegisteredFormatName(const std::string& type) {
    if (type.rfind(kRegisteredPrefix, 0) != 0) return String();
    std::string name = type.substr(kRegisteredPrefix.size());
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
    return String(name);
}

std::vector<uint8_t> HtmlFormatOf(const std::string& utf8Document) {
    if (utf8Document.empty()) return {};
    std::string_view doc = utf8Document;
    size_t fragStart = 0, fragEnd = doc.size();
    size_t a = doc.find("<!--StartFragment-->"), b = doc.find("<!--EndFragment-->");
    if (a != std::string_view::npos && b != std::string_view::npos && b >= a + 20) {
        fragStart = a + 20;
        fragEnd = b;
    } else if (size_t body = FindNoCase(doc, "<body"); body != std::string_view::npos) {
        size_t open = doc.find('>', body);
        size_t close = open == std::string_view::npos ? open : FindNoCase(doc, "</body", open);
        if (open != std::string_view::npos) {
            fragStart = open + 1;
            fragEnd = close == std::string_view::npos ? doc.size() : close;
        }
    }
    // Every offset has eight digits, so the header's length is known before its values are.
    const std::string probe = "Version:1.0\r\nStartHTML:" + Offset(0) + "\r\nEndHTML:" + Offset(0) +
                              "\r\nStartFragment:" + Offset(0) + "\r\nEndFragment:" + Offset(0) + "\r\n";
    size_t start = probe.size();
    std::string header = "Version:1.0\r\nStartHTML:" + Offset(start) + "\r\nEndHTML:" + Offset(start + doc.size()) +
                         "\r\nStartFragment:" + Offset(start + fragStart) + "\r\nEndFragment:" +
                         Offset(start + fragEnd) + "\r\n";
    return BytesOf(header + utf8Document);
}

bool CrossesToDesktop(const ClipboardContent& content) {
    for (const auto& [format, bytes] : content) {
        switch (format) {
            case CF_TEXT: case CF_UNICODETEXT: case CF_HDROP: case CF_BITMAP: case CF_ENHMETAFILE:
            case CF_METAFILEPICT: return true;
            default: break;
        }
        if (format == HtmlFormat() || format == RtfFormat() || format == UrlFormat()) return true;
    }
    return false;
}

DesktopContent DesktopContentOf(const ClipboardContent& content) {
    DesktopContent out;
    auto find = [&](UINT f) -> const Bytes* {
        auto it = content.find(f);
        return it == content.end() ? nullptr : &it->second;
    };
    auto add = [&](std::string type, Bytes bytes) {
        if (!TooLarge(type, bytes.size())) out.push_back({std::move(type), std::move(bytes)});
    };

    const Bytes* url = find(UrlFormat());
    if (const Bytes* u = find(CF_UNICODETEXT)) add(kDesktopTextType, BytesOf(ClipboardText(*u).ToUtf8()));
    else if (const Bytes* t = find(CF_TEXT)) add(kDesktopTextType, BytesOf(UpToZero(*t)));
    else if (url && !UpToZero(*url).empty()) add(kDesktopTextType, BytesOf(UpToZero(*url)));

    if (const Bytes* html = find(HtmlFormat()))
        if (std::optional<std::string_view> doc = HtmlDocumentOf(*html)) add("text/html", BytesOf(*doc));
    if (const Bytes* rtf = find(RtfFormat())) {
        add("text/rtf", BytesOf(UpToZero(*rtf)));
        add("application/rtf", BytesOf(UpToZero(*rtf)));
    }
    std::vector<std::string> urls;
    if (const Bytes* drop = find(CF_HDROP))
        for (const String& f : DroppedFiles(*drop)) urls.push_back(FileUrl(f));
    if (urls.empty() && url && !UpToZero(*url).empty()) urls.emplace_back(UpToZero(*url));
    if (!urls.empty()) add("text/uri-list", BytesOf(JoinCrLf(urls)));
    if (const Bytes* b = find(CF_BITMAP)) add("image/bmp", *b);
    if (const Bytes* e = find(CF_ENHMETAFILE)) add("image/x-emf", *e);
    if (const Bytes* w = find(CF_METAFILEPICT)) add("image/x-wmf", *w);

    // Registered formats also go as they are, for the programs of our own; never cut by size.
    for (const auto& [format, bytes] : content) {
        String name = GetClipboardFormatName(format);
        if (!name.IsEmpty()) out.push_back({RegisteredFormatType(name), bytes});
    }
    return out;
}

ClipboardContent ClipboardContentOf(const DesktopContent& parts) {
    ClipboardContent c;
    // Our own registered types first: they carry the exact bytes and win over mapped data.
    for (const DesktopPart& p : parts) {
        String name = RegisteredFormatName(p.Type);
        if (name.IsEmpty()) continue;
        if (UINT id = RegisterClipboardFormat(name)) c.emplace(id, p.Bytes);
    }
    auto mapped = [&](const DesktopPart* p) { return p && !TooLarge(p->Type, p->Bytes.size()); };

    const DesktopPart* text = FindTextPart(parts);
    if (mapped(text)) c.emplace(CF_UNICODETEXT, ClipboardTextBytes(String(ViewOf(text->Bytes))));

    if (const DesktopPart* html = FindPart(parts, "text/html"); mapped(html)) {
        Bytes block = HtmlFormatOf(Utf8Of(html->Bytes));
        if (!block.empty()) c.emplace(HtmlFormat(), std::move(block));
    }
    const DesktopPart* rtf = FindPart(parts, "text/rtf");
    if (!rtf) rtf = FindPart(parts, "application/rtf");
    if (mapped(rtf)) c.emplace(RtfFormat(), ZeroEnded(UpToZero(rtf->Bytes)));

    if (const DesktopPart* list = FindPart(parts, "text/uri-list"); mapped(list)) {
        std::vector<String> files;
        std::vector<std::string> others;
        std::string_view v = ViewOf(list->Bytes);
        size_t pos = 0;
        while (pos <= v.size()) {
            size_t eol = v.find('\n', pos);
            std::string_view line = v.substr(pos, eol == std::string_view::npos ? std::string_view::npos : eol - pos);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (!line.empty() && line[0] != '#' && IsUrl(line)) {
                if (std::optional<String> path = LocalPathOf(line)) files.push_back(*path);
                else if (FindNoCase(line, "file:") != 0) others.emplace_back(line);
            }
            if (eol == std::string_view::npos) break;
            pos = eol + 1;
        }
        if (!files.empty()) c.emplace(CF_HDROP, DropFilesBlock(files));
        if (!others.empty()) {
            c.emplace(UrlFormat(), ZeroEnded(others.front()));
            if (!text) {
                std::string all = JoinCrLf(others);
                c.emplace(CF_UNICODETEXT, ClipboardTextBytes(String(all)));
                c.emplace(CF_TEXT, ZeroEnded(all));
            }
        }
    }
    if (const DesktopPart* b = FindPart(parts, "image/bmp"); mapped(b)) c.emplace(CF_BITMAP, b->Bytes);
    if (const DesktopPart* e = FindPart(parts, "image/x-emf"); mapped(e)) c.emplace(CF_ENHMETAFILE, e->Bytes);
    if (const DesktopPart* w = FindPart(parts, "image/x-wmf"); mapped(w)) c.emplace(CF_METAFILEPICT, w->Bytes);
    return c;
}

}  // namespace ui
