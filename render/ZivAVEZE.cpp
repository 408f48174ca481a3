// The dialect of HTML-formatted text: colours, the unit's settings, the named-character table,
// text preparation, tag recognition and the drawing state each tag changes.
#include "render/ZivAVEZE.h"

#include <algorithm>
#include <climits>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/SystemInfo.h"
#include "platform/win/WinTypes.h"
#include "render/ZivAVEZEImpl.h"

using namespace html_impl;

// ---- Shared helpers ----------------------------------------------------------------------------

namespace html_impl {

String UpperAscii(std::u16string_view s) {
    String r(s);
    for (char16_t& c : r) c = FoldUpper(c);
    return r;
}

String LowerAscii(std::u16string_view s) {
    String r(s);
    for (char16_t& c : r) c = FoldLower(c);
    return r;
}

String ReplaceAll(std::u16string_view text, std::u16string_view what, std::u16string_view with) {
    if (what.empty()) return String(text);
    String out;
    size_t at = 0;
    for (size_t hit; (hit = text.find(what, at)) != std::u16string_view::npos; at = hit + what.size()) {
        out.append(text.substr(at, hit - at));
        out.append(with);
    }
    out.append(text.substr(at));
    return out;
}

String ReplaceAllIgnoringCase(std::u16string_view text, std::u16string_view what, std::u16string_view with) {
    String upper = UpperAscii(text);
    String key = UpperAscii(what);
    if (key.empty()) return String(text);
    String out;
    size_t at = 0;
    for (size_t hit; (hit = upper.find(key, at)) != String::npos; at = hit + key.size()) {
        out.append(text.substr(at, hit - at));
        out.append(with);
    }
    out.append(text.substr(at));
    return out;
}

int LeadingInt(std::u16string_view s) {
    size_t i = 0;
    while (i < s.size() && s[i] == u' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) negative = s[i++] == u'-';
    int64_t v = 0;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) v = std::min<int64_t>(v * 10 + (s[i] - u'0'), INT_MAX);
    return static_cast<int>(negative ? -v : v);
}

}  // namespace html_impl

// ---- Colours and the unit's settings -----------------------------------------------------------

namespace {

struct NamedColour {
    const char16_t* name;
    TColor colour;
};

constexpr NamedColour kBasicColours[] = {
    {u"clred", clRed},     {u"clblack", clBlack},   {u"clblue", clBlue},     {u"clgreen", clGreen},
    {u"claqua", clAqua},   {u"clyellow", clYellow}, {u"clfuchsia", clFuchsia}, {u"clwhite", clWhite},
    {u"cllime", clLime},   {u"clsilver", clSilver}, {u"clgray", clGray},     {u"clolive", clOlive},
    {u"clnavy", clNavy},   {u"clpurple", clPurple}, {u"clteal", clTeal},     {u"clmaroon", clMaroon},
};

constexpr NamedColour kSystemColours[] = {
    {u"clbackground", clBackground},
    {u"clactivecaption", clActiveCaption},
    {u"clinactivecaption", clInactiveCaption},
    {u"clmenu", clMenu},
    {u"clwindow", clWindow},
    {u"clwindowframe", clWindowFrame},
    {u"clmenutext", clMenuText},
    {u"clwindowtext", clWindowText},
    {u"clcaptiontext", clCaptionText},
    {u"clactiveborder", clActiveBorder},
    {u"clinactiveborder", clInactiveBorder},
    {u"clappworkspace", clAppWorkSpace},
    {u"clhighlight", clHighlight},
    {u"clhighlighttext", clHighlightText},
    {u"clbtnface", clBtnFace},
    {u"clbtnshadow", clBtnShadow},
    {u"clgraytext", clGrayText},
    {u"clbtntext", clBtnText},
    {u"clinactivecaptiontext", clInactiveCaptionText},
    {u"clbtnhighlight", clBtnHighlight},
    {u"cl3ddkshadow", cl3DDkShadow},
    {u"cl3dlight", cl3DLight},
    {u"clinfotext", clInfoText},
    {u"clinfobk", clInfoBk},
};

TColor gHighlightColor = clHighlight;
TColor gHighlightTextColor = clHighlightText;
bool gWinXP = DetectWinXP();

}  // namespace

TColor HtmlColorByName(const String& name) {
    TColor result = 0;
    for (const NamedColour& c : kBasicColours)
        if (name == c.name) result = c.colour;
    if (result == 0)
        for (const NamedColour& c : kSystemColours)
            if (name == c.name) result = c.colour;
    return result;
}

TColor HtmlColorByHex(const String& text) {
    // Unsigned throughout, so no text can overflow it.
    auto digit = [](char16_t c) { return c < u'A' ? uint32_t(c) - 48u : uint32_t(c) - 55u; };
    auto pair = [&](size_t at) {  // 0-based index of the pair's first character
        if (at + 1 >= text.size()) return 0u;
        return 16u * digit(text[at]) + digit(text[at + 1]);
    };
    return static_cast<TColor>(pair(1) + pair(3) * 256u + pair(5) * 65536u);
}

void HtmlSetHighlightColors(TColor color, TColor textColor) {
    gHighlightColor = color;
    gHighlightTextColor = textColor;
}

TColor HtmlHighlightColor() { return gHighlightColor; }
TColor HtmlHighlightTextColor() { return gHighlightTextColor; }

bool DetectWinXP() {
    OSVERSIONINFO info;
    info.dwOSVersionInfoSize = sizeof(info);
    gWinXP = GetVersionEx(&info) &&
             (info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion > 0));
    return gWinXP;
}

bool HtmlIsWinXP() { return gWinXP; }

const std::vector<THtmlNamedChar>& HtmlNamedChars() {
    static const std::vector<THtmlNamedChar> table = {
        {u'\u00E9', u"&eacute;"}, {u'\u00E8', u"&egrave;"}, {u'\u00EB', u"&euml;"},   {u'\u00EA', u"&ecirc;"},
        {u'\u00F3', u"&oacute;"}, {u'\u00F2', u"&ograve;"}, {u'\u00F6', u"&ouml;"},   {u'\u00F4', u"&ocirc;"},
        {u'\u00ED', u"&iacute;"}, {u'\u00EC', u"&igrave;"}, {u'\u00EF', u"&iuml;"},   {u'\u00EE', u"&icirc;"},
        {u'\u00FA', u"&uacute;"}, {u'\u00F9', u"&ugrave;"}, {u'\u00FC', u"&uuml;"},   {u'\u00FB', u"&ucirc;"},
        {u'\u00E1', u"&aacute;"}, {u'\u00E0', u"&agrave;"}, {u'\u00E4', u"&auml;"},   {u'\u00E2', u"&acirc;"},
        {u'\u00C9', u"&Eacute;"}, {u'\u00C8', u"&Egrave;"}, {u'\u00CB', u"&Euml;"},   {u'\u00CA', u"&Ecirc;"},
        {u'\u00D3', u"&Oacute;"}, {u'\u00D2', u"&Ograve;"}, {u'\u00D6', u"&Ouml;"},   {u'\u00D4', u"&Ocirc;"},
        {u'\u00CD', u"&Iacute;"}, {u'\u00CC', u"&Igrave;"}, {u'\u00CF', u"&Iuml;"},   {u'\u00CE', u"&Icirc;"},
        {u'\u00DA', u"&Uacute;"}, {u'\u00D9', u"&Ugrave;"}, {u'\u00DC', u"&Uuml;"},   {u'\u00DB', u"&Ucirc;"},
        {u'\u00C1', u"&Aacute;"}, {u'\u00C0', u"&Agrave;"}, {u'\u00C4', u"&Auml;"},   {u'\u00C2', u"&Acirc;"},
        {u'\u00E7', u"&ccedil;"}, {u'\u00C7', u"&Ccedil;"}, {u'\u00F8', u"&oslash;"}, {u'\u00D8', u"&Oslash;"},
        {u'\u00E5', u"&aring;"},  {u'\u00C5', u"&Aring;"},  {u'\u00A9', u"&copy;"},   {u'\u00AE', u"&reg;"},
        {u'\u20AC', u"&euro;"},   {u'\u00AB', u"&laquo;"},  {u'\u00BB', u"&raquo;"},  {u'\u00E3', u"&atilde;"},
        {u'\u00C3', u"&Atilde;"}, {u'\u00F5', u"&otilde;"}, {u'\u00D5', u"&Otilde;"},
    };
    return table;
}

// ---- Text preparation --------------------------------------------------------------------------

namespace {

// The named replacements of preparation. They are made in rounds of one replacement of each name
// until a round changes nothing, but no name holds an "&" after its first character, so matches
// never overlap and the only new match a replacement can make starts at the second "&" of the
// "&&" that "&amp;" becomes ("&amp;amp;" gives "&&&"). One pass from the left gives that result:
// after each "&amp;" its second "&" is looked at again.
String ReplaceNamed(std::u16string_view s) {
    static const struct {
        std::u16string_view name;  // after the "&", upper case
        std::u16string_view replacement;
    } kNamed[] = {
        {u"AMP;", u"&"},        {u"QUOT;", u"\""},       {u"SECT;", u"\u00A7"},
        {u"PERMIL;", u"\u2030"}, {u"REG;", u"\u00AE"},     {u"COPY;", u"\u00A9"},
        {u"PARA;", u"\u00B6"},   {u"TRADE;", u"\u2122"},   {u"EURO;", u"\u20AC"},
    };
    auto named = [&](size_t at) -> decltype(&kNamed[0]) {
        for (const auto& n : kNamed) {
            if (s.size() - at < n.name.size()) continue;
            size_t i = 0;
            while (i < n.name.size() && FoldUpper(s[at + i]) == n.name[i]) ++i;
            if (i == n.name.size()) return &n;
        }
        return nullptr;
    };
    String out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        if (s[i] != u'&') {
            out.push_back(s[i++]);
            continue;
        }
        ++i;  // an "&" waits for what follows it
        for (;;) {
            const auto* n = i < s.size() ? named(i) : nullptr;
            if (!n) {
                out.push_back(u'&');
                break;
            }
            i += n->name.size();
            if (n->replacement == u"&") {
                out.push_back(u'&');  // the first of "&&"; the second waits in turn
                continue;
            }
            out.append(n->replacement);
            break;
        }
    }
    return out;
}

// "<#name>" shown as "#name": each "<#" loses its "<" and the first ">" after it that is left goes
// too. Taken from the left, a ">" is dropped while "<#" are owed one; a "<" that a dropped ">"
// brings next to a "#" makes a "<#" of its own, as removing them one after another would.
String ShowHashTags(std::u16string_view s) {
    String out;
    out.reserve(s.size());
    size_t owed = 0;
    size_t from = 0;  // a "<" before this place in out belongs to an earlier "<#"
    for (char16_t c : s) {
        if (c == u'>' && owed > 0) {
            --owed;
            continue;
        }
        if (c == u'#' && out.size() > from && out.back() == u'<') {
            out.back() = u'#';
            from = out.size();
            ++owed;
            continue;
        }
        out.push_back(c);
    }
    return out;
}

}  // namespace

String HtmlPrepareText(const String& text) {
    String s;
    if (text.find(u'&') == String::npos) {
        s = text;
    } else {
        // Control tags keep their encoded values as written: ParseControlTag decodes them, and a
        // "&quot;" turned into a double quote here would end the value early.
        const String upper = UpperAscii(text);
        const std::u16string_view all(text);
        size_t at = 0;
        for (size_t control; (control = upper.find(u"<CONTROL", at)) != String::npos;) {
            size_t close = text.find(u'>', control);
            size_t end = close == String::npos ? text.size() : close + 1;
            s += ReplaceNamed(all.substr(at, control - at));
            s.append(text, control, end - control);
            at = end;
        }
        s += ReplaceNamed(all.substr(at));
    }
    if (s.find(u"<#") != String::npos) s = ShowHashTags(s);
    if (s.find_first_of(u"\r\n") == String::npos) return s;
    String out;
    out.reserve(s.size());
    for (char16_t c : s) {
        if (c == u'\r')
            out += u"<BR>";
        else if (c != u'\n')
            out.push_back(c);
    }
    return out;
}

String HtmlRunEntities(const String& run) {
    if (run.find(u'&') == String::npos) return run;
    return ReplaceAll(ReplaceAll(ReplaceAll(run, u"&nbsp;", u" "), u"&lt;", u"<"), u"&gt;", u">");
}

// ---- Tags --------------------------------------------------------------------------------------

namespace {

// Where the attributes of a tag's text begin: after the "/" of a closer and the tag's name.
size_t AttributesStart(const String& text) {
    size_t i = 0;
    if (i < text.size() && text[i] == u'/') ++i;
    while (i < text.size() && FoldUpper(text[i]) >= u'A' && FoldUpper(text[i]) <= u'Z') ++i;
    return i;
}

}  // namespace

String THtmlTag::Attr(const char16_t* name, bool keepCase) const {
    size_t start = AttributesStart(Text);
    String upper = UpperAscii(std::u16string_view(Text).substr(start));
    size_t at = upper.find(name);
    if (at == String::npos) return String();
    size_t open = upper.find(u'"', at + std::char_traits<char16_t>::length(name));
    if (open == String::npos) return String();
    size_t close = upper.find(u'"', open + 1);
    size_t len = close == String::npos ? String::npos : close - open - 1;
    return keepCase ? Text.substr(start + open + 1, len) : upper.substr(open + 1, len);
}

bool THtmlTag::HasAttr(const char16_t* name) const {
    return UpperAscii(std::u16string_view(Text).substr(AttributesStart(Text))).find(name) != String::npos;
}

int THtmlTag::SizeAttr() const {
    size_t start = AttributesStart(Text);
    String upper = UpperAscii(std::u16string_view(Text).substr(start));
    size_t at = upper.find(u"SIZE");
    if (at == String::npos) return 0;
    size_t eq = upper.find(u'=', at);
    if (eq == String::npos) return 0;
    size_t from = eq + 1;
    while (from < upper.size() && upper[from] == u' ') ++from;
    if (from < upper.size() && upper[from] == u'"') ++from;
    return LeadingInt(std::u16string_view(upper).substr(from));
}

bool THtmlTag::LetterValue(char16_t letter, int& value) const {
    size_t at = String::npos;
    for (size_t i = 0; i < Text.size() && at == String::npos; ++i)
        if (FoldUpper(Text[i]) == FoldUpper(letter)) at = i;
    if (at == String::npos) return false;
    size_t open = Text.find(u'"', at + 2);
    if (open == String::npos) return false;
    size_t close = Text.find(u'"', open + 1);
    if (close == String::npos) return false;
    int32_t v = 0;
    if (!TryStrToInt(Text.substr(open + 1, close - open - 1), v)) return false;
    value = v;
    return true;
}

size_t THtmlScanner::RunLength(bool wordWrap) const {
    // The next "<" is kept until it is taken: a long text is not searched again for each line.
    if (FTagAt < FPos) FTagAt = FText.find(u'<', FPos);
    const size_t tag = FTagAt;
    size_t end = tag == String::npos ? FText.size() : tag;
    if (wordWrap) {
        // Only up to the tag: a text of many tags and few blanks is not searched again and again.
        size_t blank = std::u16string_view(FText).substr(0, end).find(u' ', FPos);
        if (blank != std::u16string_view::npos) end = blank + 1;
    }
    return end - FPos;
}

String THtmlScanner::Take(size_t n) {
    n = std::min(n, FText.size() - FPos);
    String taken = FText.substr(FPos, n);
    FPos += n;
    return taken;
}

THtmlTag THtmlScanner::PeekTag() const {
    THtmlTag tag;
    const size_t left = FText.size() - FPos;
    auto at = [&](size_t i) { return i < left ? FoldUpper(FText[FPos + i]) : char16_t(0); };
    size_t close = FText.find(u'>', FPos);
    if (left <= 2 || close == String::npos) {
        tag.Length = left;  // the rest of the text goes with it
        return tag;
    }
    tag.Length = close - FPos + 1;
    tag.Text = FText.substr(FPos + 1, close - FPos - 1);
    tag.Closer = at(1) == u'/' && left > 3;
    const char16_t letter = tag.Closer ? at(2) : at(1);
    const char16_t variant = tag.Closer ? at(3) : at(2);
    tag.Variant = variant;
    using K = THtmlTagKind;
    K kind = K::Unknown;
    switch (letter) {
        case u'A': kind = K::A; break;
        case u'B':
            if (tag.Closer) kind = K::B;
            else if (variant == u'>') kind = K::B;
            else if (variant == u'R') kind = K::BR;
            else if (variant == u'L') kind = K::Blink;
            else if (variant == u'O') kind = K::Body;
            break;
        case u'C':
            if (!tag.Closer && variant == u'O') kind = K::Control;
            break;
        case u'E': kind = K::E; break;
        case u'F':
            if (tag.Closer || variant == u'O') kind = K::Font;
            break;
        case u'H':
            if (tag.Closer) kind = K::HI;
            else if (variant == u'I') kind = K::HI;
            else if (variant == u'R') kind = K::HR;
            break;
        case u'I':
            if (tag.Closer || variant == u'>') kind = K::I;
            else if (variant == u'N') kind = K::Ind;
            else if (variant == u'M') kind = K::Img;
            break;
        case u'L':
            if (tag.Closer || variant == u'I') kind = K::LI;
            break;
        case u'P': kind = K::P; break;
        case u'R': kind = K::R; break;
        case u'S':
            if (variant == u'H') {
                kind = K::Shad;
            } else if (variant == u'U') {
                if (tag.Closer) {
                    kind = K::Sub;
                } else {
                    String head = UpperAscii(std::u16string_view(FText).substr(FPos, 5));
                    kind = head == u"<SUB>" ? K::Sub : head == u"<SUP>" ? K::Sup : K::Unknown;
                }
            } else if (tag.Closer || variant == u'>') {
                kind = K::S;
            }
            break;
        case u'U': kind = variant == u'>' ? K::U : K::UL; break;
        case u'Z': kind = K::Z; break;
        default: break;
    }
    tag.Kind = kind;
    return tag;
}

// ---- The drawing state -------------------------------------------------------------------------

THtmlFont THtmlFont::Of(const TFont* font) {
    THtmlFont f;
    f.Name = font->Name();
    f.Height = font->Height();
    f.Style = font->Style();
    f.Color = font->Color();
    f.Orientation = font->Orientation();
    f.Charset = font->Charset();
    f.Pitch = font->Pitch();
    return f;
}

void THtmlFont::ApplyTo(TFont* font) const {
    font->SetName(Name);
    font->SetHeight(Height);
    font->SetStyle(Style);
    font->SetColor(Color);
    font->SetOrientation(Orientation);
    font->SetCharset(Charset);
    font->SetPitch(Pitch);
}

int THtmlFont::Size() const { return -MulDiv(Height, 72, 96); }
void THtmlFont::SetSize(int points) { Height = -MulDiv(points, 96, 72); }

TColor HtmlAttrColor(const String& value) {
    if (value.IsEmpty()) return clNone;
    if (value[0] == u'#') return HtmlColorByHex(value);
    return HtmlColorByName(LowerAscii(value));
}

namespace {

// A FONT size: 1 to 5 are the HTML sizes, any other number that many points, held to what the
// renderer can draw.
int FontPoints(int size) {
    static const int kHtmlSizes[] = {8, 10, 12, 14, 16};
    if (size >= 1 && size <= 5) return kHtmlSizes[size - 1];
    return std::clamp(size, 1, 1638);
}

void SetStyle(THtmlFont& f, TFontStyle style, bool on) {
    if (on)
        f.Style << style;
    else
        f.Style >> style;
}

}  // namespace

bool HtmlApplyTag(THtmlDrawState& st, const THtmlTag& tag, THtmlPass pass, const THtmlTagOptions& o) {
    using K = THtmlTagKind;
    const bool painting = pass == THtmlPass::Paint;
    const bool close = tag.Closer;
    switch (tag.Kind) {
        case K::A: {
            const bool hovered = !o.HoverOnly || st.AnchorCount == o.HoverLink;
            if (!close) {
                ++st.AnchorCount;
                const bool hoveredNow = !o.HoverOnly || st.AnchorCount == o.HoverLink;
                if (tag.HasAttr(u"HREF")) {
                    st.Href = tag.Attr(u"HREF", true);
                    st.InAnchor = true;
                }
                if (tag.HasAttr(u"TITLE")) st.Title = tag.Attr(u"TITLE", true);
                if (painting && hoveredNow) {
                    SetStyle(st.Font, fsUnderline, true);
                    if (o.HoverColor != clNone) {
                        st.SavedAnchorBackground = st.Background;
                        st.Background = o.HoverColor;
                    }
                    if (o.HoverFontColor != clNone) {
                        st.SavedAnchorFontColor = st.Font.Color;
                        st.Font.Color = o.HoverFontColor;
                    }
                }
                const bool keepHoverFont = o.HoverOnly && st.AnchorCount == o.HoverLink && o.HoverFontColor != clNone;
                if (!o.KeepFontColor && !keepHoverFont) st.Font.Color = o.URLColor;
            } else {
                if (painting && hovered) {
                    SetStyle(st.Font, fsUnderline, false);
                    if (o.HoverColor != clNone) st.Background = st.SavedAnchorBackground;
                    if (o.HoverFontColor != clNone) st.Font.Color = st.SavedAnchorFontColor;
                }
                if (!o.KeepFontColor) st.Font.Color = st.BaseFont.Color;
                st.InAnchor = false;
            }
            return false;
        }
        case K::B:
            if (!close)
                SetStyle(st.Font, fsBold, true);
            else if (tag.Variant == u'>')
                SetStyle(st.Font, fsBold, false);
            else
                st.Font.Color = st.BaseFont.Color;  // </BLINK>, </BODY> and every other </B...>
            return false;
        case K::BR: return true;
        case K::Blink:
            if (!o.BlinkOn) st.Font.Color = o.InitialBackground;
            return false;
        case K::Body:
            if (painting && tag.HasAttr(u"BGCOLOR")) {
                String value = tag.Attr(u"BGCOLOR");
                TColor colour = st.Background;
                if (value.find(u"CL") != String::npos) colour = HtmlColorByName(LowerAscii(value));
                if (value.find(u'#') != String::npos) colour = HtmlColorByHex(value);
                st.Background = colour;
                st.SavedFontBackground = colour;
            }
            return false;
        case K::E:
            if (painting) st.Error = !close;
            return false;
        case K::Font:
            if (!close) {
                if (tag.HasAttr(u"FACE")) {
                    String face = tag.Attr(u"FACE");
                    if (!face.IsEmpty()) st.Font.Name = face;
                }
                if (!o.KeepFontColor && tag.HasAttr(u" COLOR")) {
                    TColor c = HtmlAttrColor(tag.Attr(u" COLOR"));
                    if (c != clNone) st.Font.Color = c;
                }
                if (painting && !o.KeepFontColor && tag.HasAttr(u"BGCOLOR")) {
                    TColor c = HtmlAttrColor(tag.Attr(u"BGCOLOR"));
                    if (c != clNone) {
                        st.SavedFontBackground = st.Background;
                        st.Background = c;
                    }
                }
                if (tag.HasAttr(u"SIZE")) st.Font.SetSize(FontPoints(tag.SizeAttr()));
            } else {
                st.Font.Name = st.BaseFont.Name;
                st.Font.Height = st.BaseFont.Height;
                if (pass != THtmlPass::Measure && !o.KeepFontColor) {
                    st.Font.Color = st.BaseFont.Color;
                    st.Background = st.SavedFontBackground;
                }
            }
            return false;
        case K::HI:
            if (painting && !close) {
                st.SavedHiFontColor = st.Font.Color;
                st.SavedHiBackground = st.Background;
                st.Background = HtmlHighlightColor();
                st.Font.Color = HtmlHighlightTextColor();
            } else if (painting) {
                st.Font.Color = st.SavedHiFontColor;
                st.Background = st.SavedHiBackground;
            }
            return false;
        case K::HR: return true;
        case K::I: SetStyle(st.Font, fsItalic, !close); return false;
        case K::LI: return close;
        case K::P:
            if (!close) {
                if (tag.HasAttr(u"ALIGN")) {
                    String align = tag.Attr(u"ALIGN");
                    if (align.find(u"RIGHT") != String::npos) st.Align = THtmlAlign::Right;
                    if (align.find(u"LEFT") != String::npos) st.Align = THtmlAlign::Left;
                    if (align.find(u"CENTER") != String::npos) st.Align = THtmlAlign::Center;
                }
                if (tag.HasAttr(u"INDENT")) {
                    int32_t indent = 0;
                    st.Indent = TryStrToInt(tag.Attr(u"INDENT"), indent) ? indent : 0;
                }
                if (painting && tag.HasAttr(u"BGCOLOR")) {
                    st.ParaBackground = true;
                    st.ParaColor = HtmlAttrColor(tag.Attr(u"BGCOLOR"));
                    st.SavedParaBackground = st.Background;
                    st.Background = st.ParaColor;
                }
                return false;
            }
            if (painting) {
                st.Background = st.SavedParaBackground;
                st.ParaBackground = false;
            }
            return true;
        case K::R:
            if (!close) {
                int degrees = 0;
                tag.LetterValue(u'a', degrees);
                if (!st.Rotated) st.HeldFont = st.Font;
                st.Rotated = true;
                // Turns beyond a whole one show the same: held to less than one, never near the
                // ends of the integer range.
                st.Font.Orientation = static_cast<int>(int64_t{degrees} * 10 % 3600);
            } else if (st.Rotated) {
                st.Font = st.HeldFont;
                st.Rotated = false;
            }
            return false;
        case K::S: SetStyle(st.Font, fsStrikeOut, !close); return false;
        case K::Shad: st.Shadow = !close; return false;
        case K::Sub:
        case K::Sup:
            if (close) {
                st.Sub = st.Sup = false;
            } else if (tag.Kind == K::Sub) {
                st.Sub = true;
            } else {
                st.Sup = true;
            }
            return false;
        case K::U:
            SetStyle(st.Font, fsUnderline, !close);
            return false;
        case K::UL:
            if (!close) {
                ++st.ListLevel;
                return true;
            }
            if (st.ListLevel >= 1)
                --st.ListLevel;
            else
                SetStyle(st.Font, fsUnderline, false);
            return false;
        case K::Z: st.Hidden = !close; return false;
        case K::Control:
        case K::Ind:
        case K::Img:
        case K::Unknown: return false;
    }
    return false;
}
