// RTF from the format's control words: the reader takes the subset the rich edit keeps (fonts,
// colours, character and paragraph formats, Unicode with its fallback) and skips every other
// destination whole; the writer writes that subset back in 7-bit ASCII.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>

#include "platform/ui/RichText.h"

namespace ui {

namespace {

// Code page 1252 at 0x80..0x9F (0: unassigned); elsewhere it is Latin-1.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

char16_t FromCp1252(unsigned char b) {
    if (b >= 0x80 && b < 0xA0) return kCp1252High[b - 0x80] ? kCp1252High[b - 0x80] : u'?';
    return b;
}

// The code page 1252 byte of a character, or -1.
int ToCp1252(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    for (size_t i = 0; i < kCp1252High.size(); ++i)
        if (kCp1252High[i] == c) return static_cast<int>(0x80 + i);
    return -1;
}

bool IsCp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

constexpr int kMaxDepth = 1000;
constexpr TFontCharset kShiftJisCharset = 128;

// Destinations whose contents are not text of the document.
bool SkippedDestination(std::string_view w) {
    static const char* const kSkipped[] = {
        "stylesheet", "info", "pict", "object", "header", "headerl", "headerr", "headerf", "footer", "footerl",
        "footerr", "footerf", "footnote", "annotation", "listtable", "listoverridetable", "revtbl", "rsidtbl",
        "generator", "themedata", "colorschememapping", "latentstyles", "datastore", "xmlnstbl", "fldinst",
        "filetbl", "pgdsctbl", "bkmkstart", "bkmkend", "nonshppict", "shppict", "background", "mmathPr", "fchars",
        "lchars", "pntext", "pntxta", "pntxtb", "template", "userprops", "objdata", "result"};
    for (const char* s : kSkipped)
        if (w == s) return true;
    return false;
}

enum class Dest { Text, FontTable, ColorTable, Skip };

struct FontEntry {
    String Name;
    TFontCharset Charset = DEFAULT_CHARSET;
};

struct GroupState {
    RichCharFormat Format;
    RichParaFormat Para;
    Dest Destination = Dest::Text;
    int Uc = 1;
    int Font = -1;  // the \fN in force
};

class RtfReader {
public:
    RtfReader(std::string_view bytes, const RichCharFormat& defaults) : FIn(bytes), FDefaults(defaults) { FState.Format = defaults; }

    RichContent Read(bool& complete) {
        complete = Run();
        Flush();
        FOut.Paras.push_back(FState.Para);
        return std::move(FOut);
    }

private:
    // False when the document stopped early.
    bool Run() {
        while (FPos < FIn.size()) {
            auto c = static_cast<unsigned char>(FIn[FPos++]);
            switch (c) {
                case '{':
                    if (FStack.size() >= kMaxDepth) return false;
                    FlushLead();
                    FStack.push_back(FState);
                    FSkipChars = 0;
                    FGroupStart = true;
                    break;
                case '}': {
                    FlushLead();
                    EndEntry();
                    // The document's own group closed: what its last paragraph had holds.
                    if (FStack.size() <= 1) return !FStack.empty();
                    bool fontTable = FState.Destination == Dest::FontTable;
                    FState = FStack.back();
                    FStack.pop_back();
                    FSkipChars = 0;
                    FGroupStart = false;
                    // Text before any \f is in the default font.
                    if (fontTable && FState.Font < 0) {
                        FState.Font = FDefFont;
                        ApplyFont(FState);
                    }
                    break;
                }
                case '\\':
                    if (!ControlWord()) return false;
                    break;
                case '\r':
                case '\n':
                case '\t':
                    break;
                default:
                    FGroupStart = false;
                    if (c < 0x20) break;
                    Byte(c);
                    break;
            }
        }
        return false;  // the data ended inside the document
    }

    bool ControlWord() {
        if (FPos >= FIn.size()) return false;
        char c = FIn[FPos];
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++FPos;
            bool groupStart = FGroupStart;
            FGroupStart = false;
            switch (c) {
                case '\\':
                case '{':
                case '}': Byte(static_cast<unsigned char>(c)); return true;
                case '~': Char(0x00A0); return true;
                case '_': Char(0x2011); return true;
                case '-': return true;  // an optional hyphen shows nothing here
                case '*':
                    if (groupStart) FState.Destination = Dest::Skip;
                    return true;
                case '\'': {
                    if (FPos + 2 > FIn.size()) return false;
                    int hi = Hex(FIn[FPos]), lo = Hex(FIn[FPos + 1]);
                    if (hi < 0 || lo < 0) return false;
                    FPos += 2;
                    Byte(static_cast<unsigned char>(hi * 16 + lo), true);
                    return true;
                }
                case '\r':
                case '\n': Word("par", false, 0); return true;
                default: return true;
            }
        }
        size_t start = FPos;
        while (FPos < FIn.size() && FPos - start < 32 && std::isalpha(static_cast<unsigned char>(FIn[FPos]))) ++FPos;
        std::string_view word = FIn.substr(start, FPos - start);
        bool hasParam = false;
        bool negative = false;
        int64_t param = 0;
        if (FPos < FIn.size() && FIn[FPos] == '-') {
            negative = true;
            ++FPos;
        }
        size_t digits = 0;
        while (FPos < FIn.size() && std::isdigit(static_cast<unsigned char>(FIn[FPos]))) {
            if (digits++ < 10) param = param * 10 + (FIn[FPos] - '0');
            hasParam = true;
            ++FPos;
        }
        if (negative) param = -param;
        if (FPos < FIn.size() && FIn[FPos] == ' ') ++FPos;
        bool groupStart = FGroupStart;
        FGroupStart = false;
        if (word == "bin") {
            // Binary data: skipped whole.
            size_t n = static_cast<size_t>(std::max<int64_t>(0, param));
            FPos = std::min(FIn.size(), FPos + n);
            return true;
        }
        if (FSkipChars > 0 && word != "u") {
            --FSkipChars;
            return true;
        }
        int p = static_cast<int>(std::clamp<int64_t>(param, -2000000000, 2000000000));
        if (groupStart && (word == "fonttbl" || word == "colortbl" || SkippedDestination(word))) {
            FlushLead();
            if (FState.Destination == Dest::Skip) return true;
            if (word == "fonttbl") FState.Destination = Dest::FontTable;
            else if (word == "colortbl") FState.Destination = Dest::ColorTable;
            else FState.Destination = Dest::Skip;
            return true;
        }
        Word(word, hasParam, p);
        return true;
    }

    static int Hex(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    void Word(std::string_view w, bool hasParam, int p) {
        GroupState& s = FState;
        if (s.Destination == Dest::Skip) return;
        if (s.Destination == Dest::FontTable) {
            if (w == "f") FFontId = p;
            else if (w == "fcharset") FFontEntry.Charset = static_cast<TFontCharset>(std::clamp(p, 0, 255));
            return;
        }
        if (s.Destination == Dest::ColorTable) {
            int v = std::clamp(p, 0, 255);
            if (w == "red") FColor = (FColor & 0xFFFF00) | v;
            else if (w == "green") FColor = (FColor & 0xFF00FF) | (v << 8);
            else if (w == "blue") FColor = (FColor & 0x00FFFF) | (v << 16);
            else return;
            FColorSet = true;
            return;
        }
        bool on = !hasParam || p != 0;
        auto style = [&](TFontStyle st) {
            if (on) s.Format.Style << st;
            else s.Format.Style >> st;
        };
        if (w == "ansicpg") FCodePage = p;
        else if (w == "deff") FDefFont = p;
        else if (w == "uc") s.Uc = std::clamp(p, 0, 10);
        else if (w == "u") {
            FlushLead();
            int v = p < 0 ? p + 65536 : p;
            if (v >= 0 && v <= 0xFFFF) Char(static_cast<char16_t>(v));
            FSkipChars = s.Uc;
        } else if (w == "f") {
            s.Font = p;
            ApplyFont(s);
        } else if (w == "fs") s.Format.Height = std::clamp(p, 1, 3276) * 10;
        else if (w == "cf") s.Format.Color = ColorAt(p, clWindowText);
        else if (w == "cb" || w == "highlight") s.Format.BackColor = ColorAt(p, clNone);
        else if (w == "b") style(fsBold);
        else if (w == "i") style(fsItalic);
        else if (w == "ul" || w == "uld" || w == "uldb" || w == "ulw" || w == "uldash" || w == "ulth") style(fsUnderline);
        else if (w == "ulnone") s.Format.Style >> fsUnderline;
        else if (w == "strike") style(fsStrikeOut);
        else if (w == "up") s.Format.Offset = (hasParam ? std::clamp(p, 0, 3276) : 6) * 10;
        else if (w == "dn") s.Format.Offset = -(hasParam ? std::clamp(p, 0, 3276) : 6) * 10;
        else if (w == "super") s.Format.Offset = s.Format.Height / 3;
        else if (w == "sub") s.Format.Offset = -s.Format.Height / 3;
        else if (w == "nosupersub") s.Format.Offset = 0;
        else if (w == "plain") {
            s.Format = FDefaults;
            s.Font = FDefFont;
            ApplyFont(s);
        } else if (w == "pard") s.Para = RichParaFormat();
        else if (w == "par") {
            Text(u"\r\n");
            FOut.Paras.push_back(s.Para);
        } else if (w == "line") Char(0x000B);
        else if (w == "tab") Char(u'\t');
        else if (w == "ql") s.Para.Align = RichAlign::Left;
        else if (w == "qc") s.Para.Align = RichAlign::Center;
        else if (w == "qr") s.Para.Align = RichAlign::Right;
        else if (w == "qj") s.Para.Align = RichAlign::Justify;
        else if (w == "li") s.Para.LeftIndent = std::clamp(p, -31680, 31680);
        else if (w == "ri") s.Para.RightIndent = std::clamp(p, -31680, 31680);
        else if (w == "fi") s.Para.FirstIndent = std::clamp(p, -31680, 31680);
        else if (w == "emdash") Char(0x2014);
        else if (w == "endash") Char(0x2013);
        else if (w == "bullet") Char(0x2022);
        else if (w == "lquote") Char(0x2018);
        else if (w == "rquote") Char(0x2019);
        else if (w == "ldblquote") Char(0x201C);
        else if (w == "rdblquote") Char(0x201D);
    }

    // A missing entry leaves the default font.
    void ApplyFont(GroupState& s) {
        auto it = FFonts.find(s.Font);
        if (it == FFonts.end()) it = FFonts.find(FDefFont);
        if (it == FFonts.end()) {
            s.Format.Name = FDefaults.Name;
            s.Format.Charset = FDefaults.Charset;
            return;
        }
        s.Format.Name = it->second.Name.empty() ? FDefaults.Name : it->second.Name;
        s.Format.Charset = it->second.Charset;
    }

    TColor ColorAt(int index, TColor none) const {
        if (index <= 0 || index >= static_cast<int>(FColors.size())) return none;
        return FColors[static_cast<size_t>(index)];
    }

    // A ';' ends a font or colour table entry; so does a group's close in the font table.
    void EndEntry() {
        if (FState.Destination == Dest::FontTable && FFontId >= 0) {
            FontEntry e = FFontEntry;
            // Trailing blanks of a name are not part of it.
            while (!e.Name.empty() && e.Name.back() == u' ') e.Name.pop_back();
            while (!e.Name.empty() && e.Name.front() == u' ') e.Name.erase(0, 1);
            if (!e.Name.empty() || !FFonts.count(FFontId)) FFonts[FFontId] = e;
            FFontId = -1;
            FFontEntry = FontEntry();
        }
    }

    // A byte of text: in the font's code page, a lead byte of code page 932 waiting for its
    // trail.
    void Byte(unsigned char b, bool escaped = false) {
        (void)escaped;
        if (FState.Destination == Dest::Skip) return;
        if (FState.Destination == Dest::FontTable) {
            if (b == ';') EndEntry();
            else FFontEntry.Name += static_cast<char16_t>(b);
            return;
        }
        if (FState.Destination == Dest::ColorTable) {
            if (b == ';') {
                FColors.push_back(FColorSet ? static_cast<TColor>(FColor) : clWindowText);
                FColor = 0;
                FColorSet = false;
            }
            return;
        }
        if (FSkipChars > 0) {
            --FSkipChars;
            return;
        }
        bool sjis = FState.Format.Charset == kShiftJisCharset || (FCodePage == 932 && FState.Format.Charset != 0);
        if (FLead) {
            std::string pair{static_cast<char>(FLead), static_cast<char>(b)};
            FLead = 0;
            String s = Cp932ToUtf16(pair);
            Text(s.empty() ? String(u"?") : s);
            return;
        }
        if (b < 0x80) {
            Char(b);
            return;
        }
        if (sjis && IsCp932Lead(b)) {
            FLead = b;
            return;
        }
        if (sjis) {
            String s = Cp932ToUtf16(std::string(1, static_cast<char>(b)));
            Text(s.empty() ? String(u"?") : s);
            return;
        }
        Char(FromCp1252(b));
    }

    // A lead byte without its trail is dropped.
    void FlushLead() { FLead = 0; }

    void Char(char16_t c) {
        if (OpenRun()) FOut.Text += c;
    }

    void Text(const String& s) {
        if (OpenRun()) FOut.Text += s;
    }

    // Whether text goes into the document here; a run of the current format is open then.
    bool OpenRun() {
        if (FState.Destination != Dest::Text) return false;
        if (!(FRunOpen && FState.Format == FRunFormat)) {
            Flush();
            FRunFormat = FState.Format;
            FRunOpen = true;
            FRunStart = FOut.Text.Length();
        }
        return true;
    }

    void Flush() {
        if (FRunOpen && FOut.Text.Length() > FRunStart) FOut.Runs.push_back(RichRun{FRunStart, FOut.Text.Length() - FRunStart, FRunFormat});
        FRunOpen = false;
    }

    std::string_view FIn;
    size_t FPos = 0;
    RichCharFormat FDefaults;
    GroupState FState;
    std::vector<GroupState> FStack;
    bool FGroupStart = false;
    int FSkipChars = 0;
    int FCodePage = 1252;
    int FDefFont = 0;
    std::map<int, FontEntry> FFonts;
    int FFontId = -1;
    FontEntry FFontEntry;
    std::vector<TColor> FColors;
    int FColor = 0;
    bool FColorSet = false;
    unsigned char FLead = 0;
    RichContent FOut;
    RichCharFormat FRunFormat;
    bool FRunOpen = false;
    int FRunStart = 0;
};

// ---- writer ----

void Append(std::string& out, const char* word, int value) {
    out += word;
    out += std::to_string(value);
}

// One character in 7-bit ASCII: escaped, in code page 1252 as \'hh, else as \uN?.
void AppendEscaped(std::string& out, char16_t c) {
    if (c == u'\\' || c == u'{' || c == u'}') {
        out += '\\';
        out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F) {
        out += static_cast<char>(c);
    } else {
        int b = ToCp1252(c);
        char buf[16];
        if (b >= 0x80) std::snprintf(buf, sizeof buf, "\\'%02x", b);
        else std::snprintf(buf, sizeof buf, "\\u%d?", c > 0x7FFF ? static_cast<int>(c) - 65536 : static_cast<int>(c));
        out += buf;
    }
}

std::string Ascii(const String& s) {
    std::string out;
    for (char16_t c : s) AppendEscaped(out, c);
    return out;
}

}  // namespace

bool LooksLikeRtf(std::string_view bytes) { return bytes.substr(0, 5) == "{\\rtf"; }

RichContent ReadRtf(std::string_view bytes, const RichCharFormat& defaults, bool* complete) {
    RtfReader reader(bytes, defaults);
    bool done = false;
    RichContent c = reader.Read(done);
    if (complete) *complete = done;
    return c;
}

std::string WriteRtf(const RichContent& content) {
    // The tables of what the content uses.
    std::vector<std::pair<String, TFontCharset>> fonts;
    std::vector<COLORREF> colors;
    auto fontIndex = [&](const RichCharFormat& f) {
        std::pair<String, TFontCharset> key{f.Name, f.Charset};
        auto it = std::find(fonts.begin(), fonts.end(), key);
        if (it != fonts.end()) return static_cast<int>(it - fonts.begin());
        fonts.push_back(key);
        return static_cast<int>(fonts.size()) - 1;
    };
    auto colorIndex = [&](TColor c) {
        auto rgb = static_cast<COLORREF>(ColorToRGB(c));
        auto it = std::find(colors.begin(), colors.end(), rgb);
        if (it != colors.end()) return static_cast<int>(it - colors.begin()) + 1;
        colors.push_back(rgb);
        return static_cast<int>(colors.size());
    };
    std::string body;
    const String& t = content.Text;
    size_t para = 0;
    auto pard = [&]() {
        RichParaFormat p = para < content.Paras.size() ? content.Paras[para] : RichParaFormat();
        body += "\\pard";
        static const char* const kAlign[] = {"\\ql", "\\qr", "\\qc", "\\qj"};
        body += kAlign[static_cast<int>(p.Align)];
        if (p.LeftIndent) Append(body, "\\li", p.LeftIndent);
        if (p.RightIndent) Append(body, "\\ri", p.RightIndent);
        if (p.FirstIndent) Append(body, "\\fi", p.FirstIndent);
        body += ' ';
    };
    pard();
    for (const RichRun& r : content.Runs) {
        const RichCharFormat& f = r.Format;
        body += "\\plain";
        Append(body, "\\f", fontIndex(f));
        Append(body, "\\fs", std::max(1, (f.Height + 5) / 10));
        if (f.Style.Contains(fsBold)) body += "\\b";
        if (f.Style.Contains(fsItalic)) body += "\\i";
        if (f.Style.Contains(fsUnderline)) body += "\\ul";
        if (f.Style.Contains(fsStrikeOut)) body += "\\strike";
        if (f.Color != clWindowText) Append(body, "\\cf", colorIndex(f.Color));
        if (f.BackColor != clNone) Append(body, "\\highlight", colorIndex(f.BackColor));
        if (f.Offset > 0) Append(body, "\\up", (f.Offset + 5) / 10);
        if (f.Offset < 0) Append(body, "\\dn", (-f.Offset + 5) / 10);
        body += ' ';
        int end = std::min(r.Start + r.Length, t.Length());
        for (int i = std::max(0, r.Start); i < end; ++i) {
            char16_t c = t[static_cast<size_t>(i)];
            if (c == u'\r') {
                if (i + 1 < end && t[static_cast<size_t>(i) + 1] == u'\n') ++i;
                body += "\\par\r\n";
                ++para;
                pard();
            } else if (c == u'\n') {
                body += "\\par\r\n";
                ++para;
                pard();
            } else if (c == u'\t') {
                body += "\\tab ";
            } else if (c == 0x000B) {
                body += "\\line ";
            } else if (c < 0x20) {
                continue;
            } else {
                AppendEscaped(body, c);
            }
        }
    }
    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
    if (fonts.empty()) fonts.emplace_back(RichCharFormat().Name, DEFAULT_CHARSET);
    for (size_t i = 0; i < fonts.size(); ++i) {
        Append(out, "{\\f", static_cast<int>(i));
        Append(out, "\\fcharset", fonts[i].second);
        out += ' ';
        String name = fonts[i].first;
        std::erase(name, u';');  // a name holds no entry's end
        out += Ascii(name);
        out += ";}";
    }
    out += "}";
    if (!colors.empty()) {
        out += "{\\colortbl ;";
        for (COLORREF c : colors) {
            Append(out, "\\red", static_cast<int>(c & 0xFF));
            Append(out, "\\green", static_cast<int>((c >> 8) & 0xFF));
            Append(out, "\\blue", static_cast<int>((c >> 16) & 0xFF));
            out += ';';
        }
        out += "}";
    }
    out += "\r\n";
    out += body;
    out += "}";
    return out;
}

}  // namespace ui
