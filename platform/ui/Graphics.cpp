// Colours, graphics objects, pictures and the font substitution table.
#include "platform/ui/Graphics.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "platform/rtl/Streams.h"
#include "platform/ui/Jpeg.h"
#include "platform/ui/Metafile.h"

// Colours ---------------------------------------------------------------------------------------

COLORREF GetSysColor(int index) {
    // The classic grey scheme of the original platform, which the components' designs assume.
    static const COLORREF table[31] = {
        RGB(212, 208, 200),  // scroll bar
        RGB(58, 110, 165),   // desktop
        RGB(10, 36, 106),    // active caption
        RGB(128, 128, 128),  // inactive caption
        RGB(212, 208, 200),  // menu
        RGB(255, 255, 255),  // window
        RGB(0, 0, 0),        // window frame
        RGB(0, 0, 0),        // menu text
        RGB(0, 0, 0),        // window text
        RGB(255, 255, 255),  // caption text
        RGB(212, 208, 200),  // active border
        RGB(212, 208, 200),  // inactive border
        RGB(128, 128, 128),  // application workspace
        RGB(10, 36, 106),    // highlight
        RGB(255, 255, 255),  // highlight text
        RGB(212, 208, 200),  // button face
        RGB(128, 128, 128),  // button shadow
        RGB(128, 128, 128),  // grey text
        RGB(0, 0, 0),        // button text
        RGB(212, 208, 200),  // inactive caption text
        RGB(255, 255, 255),  // button highlight
        RGB(64, 64, 64),     // 3D dark shadow
        RGB(212, 208, 200),  // 3D light
        RGB(0, 0, 0),        // info text
        RGB(255, 255, 225),  // info background
        RGB(192, 192, 192),  // (unused index 25)
        RGB(0, 0, 128),      // hot-tracked item
        RGB(166, 202, 240),  // gradient active caption
        RGB(192, 192, 192),  // gradient inactive caption
        RGB(10, 36, 106),    // menu highlight
        RGB(212, 208, 200),  // menu bar
    };
    if (index < 0 || index > 30) return 0;
    return table[index];
}

int32_t ColorToRGB(TColor color) {
    if (color < 0) return static_cast<int32_t>(GetSysColor(color & 0xFF));
    return color;
}

namespace {
struct ColorName {
    TColor color;
    const char* name;
};
const ColorName kColorNames[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"}, {clMedGray, "clMedGray"},
    {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"}, {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"}, {clMenu, "clMenu"}, {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"}, {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"}, {clActiveBorder, "clActiveBorder"}, {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"}, {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"}, {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"}, {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"}, {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"}, {clInfoBk, "clInfoBk"}, {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"}, {clMenuHighlight, "clMenuHighlight"},
    {clMenuBar, "clMenuBar"}, {clNone, "clNone"}, {clDefault, "clDefault"},
};

std::string LowerAscii(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
}  // namespace

bool IdentToColor(const String& ident, TColor& color) {
    std::string want = LowerAscii(ident.ToUtf8());
    for (const ColorName& n : kColorNames) {
        if (LowerAscii(n.name) == want) {
            color = n.color;
            return true;
        }
    }
    return false;
}

bool ColorToIdent(TColor color, String& ident) {
    for (const ColorName& n : kColorNames) {
        if (n.color == color) {
            ident = String(n.name);
            return true;
        }
    }
    return false;
}

void GetColorValues(const std::function<void(const String& ident)>& proc) {
    for (const ColorName& n : kColorNames) proc(String(n.name));
}

String ColorToString(TColor color) {
    String ident;
    if (ColorToIdent(color, ident)) return ident;
    char buf[16];
    snprintf(buf, sizeof buf, "$%.8X", static_cast<uint32_t>(color));
    return String(buf);
}

namespace {
// The web colours in their fixed order, each with the value of the CSS keyword its name spells.
const ColorName kWebColorNames[] = {
    {0xFAFAFF, "clWebSnow"}, {0xF0FAFF, "clWebFloralWhite"}, {0xF5F0FF, "clWebLavenderBlush"},
    {0xE6F5FD, "clWebOldLace"}, {0xF0FFFF, "clWebIvory"}, {0xDCF8FF, "clWebCornSilk"},
    {0xDCF5F5, "clWebBeige"}, {0xD7EBFA, "clWebAntiqueWhite"}, {0xB3DEF5, "clWebWheat"},
    {0xFFF8F0, "clWebAliceBlue"}, {0xFFF8F8, "clWebGhostWhite"}, {0xFAE6E6, "clWebLavender"},
    {0xEEF5FF, "clWebSeashell"}, {0xE0FFFF, "clWebLightYellow"}, {0xD5EFFF, "clWebPapayaWhip"},
    {0xADDEFF, "clWebNavajoWhite"}, {0xB5E4FF, "clWebMoccasin"}, {0x87B8DE, "clWebBurlywood"},
    {0xFFFFF0, "clWebAzure"}, {0xFAFFF5, "clWebMintcream"}, {0xF0FFF0, "clWebHoneydew"},
    {0xE6F0FA, "clWebLinen"}, {0xCDFAFF, "clWebLemonChiffon"}, {0xCDEBFF, "clWebBlanchedAlmond"},
    {0xC4E4FF, "clWebBisque"}, {0xB9DAFF, "clWebPeachPuff"}, {0x8CB4D2, "clWebTan"},
    {0x00FFFF, "clWebYellow"}, {0x008CFF, "clWebDarkOrange"}, {0x0000FF, "clWebRed"},
    {0x00008B, "clWebDarkRed"}, {0x000080, "clWebMaroon"}, {0x5C5CCD, "clWebIndianRed"},
    {0x7280FA, "clWebSalmon"}, {0x507FFF, "clWebCoral"}, {0x00D7FF, "clWebGold"},
    {0x4763FF, "clWebTomato"}, {0x3C14DC, "clWebCrimson"}, {0x2A2AA5, "clWebBrown"},
    {0x1E69D2, "clWebChocolate"}, {0x60A4F4, "clWebSandyBrown"}, {0x7AA0FF, "clWebLightSalmon"},
    {0x8080F0, "clWebLightCoral"}, {0x00A5FF, "clWebOrange"}, {0x0045FF, "clWebOrangeRed"},
    {0x2222B2, "clWebFirebrick"}, {0x13458B, "clWebSaddleBrown"}, {0x2D52A0, "clWebSienna"},
    {0x3F85CD, "clWebPeru"}, {0x7A96E9, "clWebDarkSalmon"}, {0x8F8FBC, "clWebRosyBrown"},
    {0xAAE8EE, "clWebPaleGoldenrod"}, {0xD2FAFA, "clWebLightGoldenrodYellow"},
    {0x008080, "clWebOlive"}, {0x228B22, "clWebForestGreen"}, {0x2FFFAD, "clWebGreenYellow"},
    {0x00FF7F, "clWebChartreuse"}, {0x90EE90, "clWebLightGreen"}, {0xD4FF7F, "clWebAquamarine"},
    {0x578B2E, "clWebSeaGreen"}, {0x20A5DA, "clWebGoldenRod"}, {0x8CE6F0, "clWebKhaki"},
    {0x238E6B, "clWebOliveDrab"}, {0x008000, "clWebGreen"}, {0x32CD9A, "clWebYellowGreen"},
    {0x00FC7C, "clWebLawnGreen"}, {0x98FB98, "clWebPaleGreen"}, {0xAACD66, "clWebMediumAquamarine"},
    {0x71B33C, "clWebMediumSeaGreen"}, {0x0B86B8, "clWebDarkGoldenRod"},
    {0x6BB7BD, "clWebDarkKhaki"}, {0x2F6B55, "clWebDarkOliveGreen"}, {0x006400, "clWebDarkgreen"},
    {0x32CD32, "clWebLimeGreen"}, {0x00FF00, "clWebLime"}, {0x7FFF00, "clWebSpringGreen"},
    {0x9AFA00, "clWebMediumSpringGreen"}, {0x8FBC8F, "clWebDarkSeaGreen"},
    {0xAAB220, "clWebLightSeaGreen"}, {0xEEEEAF, "clWebPaleTurquoise"},
    {0xFFFFE0, "clWebLightCyan"}, {0xE6D8AD, "clWebLightBlue"}, {0xFACE87, "clWebLightSkyBlue"},
    {0xED9564, "clWebCornFlowerBlue"}, {0x8B0000, "clWebDarkBlue"}, {0x82004B, "clWebIndigo"},
    {0xCCD148, "clWebMediumTurquoise"}, {0xD0E040, "clWebTurquoise"}, {0xFFFF00, "clWebCyan"},
    {0xE6E0B0, "clWebPowderBlue"}, {0xEBCE87, "clWebSkyBlue"}, {0xE16941, "clWebRoyalBlue"},
    {0xCD0000, "clWebMediumBlue"}, {0x701919, "clWebMidnightBlue"},
    {0xD1CE00, "clWebDarkTurquoise"}, {0xA09E5F, "clWebCadetBlue"}, {0x8B8B00, "clWebDarkCyan"},
    {0x808000, "clWebTeal"}, {0xFFBF00, "clWebDeepskyBlue"}, {0xFF901E, "clWebDodgerBlue"},
    {0xFF0000, "clWebBlue"}, {0x800000, "clWebNavy"}, {0xD30094, "clWebDarkViolet"},
    {0xCC3299, "clWebDarkOrchid"}, {0xFF00FF, "clWebMagenta"}, {0x8B008B, "clWebDarkMagenta"},
    {0x8515C7, "clWebMediumVioletRed"}, {0x9370DB, "clWebPaleVioletRed"},
    {0xE22B8A, "clWebBlueViolet"}, {0xD355BA, "clWebMediumOrchid"}, {0xDB7093, "clWebMediumPurple"},
    {0x800080, "clWebPurple"}, {0x9314FF, "clWebDeepPink"}, {0xC1B6FF, "clWebLightPink"},
    {0xEE82EE, "clWebViolet"}, {0xD670DA, "clWebOrchid"}, {0xDDA0DD, "clWebPlum"},
    {0xD8BFD8, "clWebThistle"}, {0xB469FF, "clWebHotPink"}, {0xCBC0FF, "clWebPink"},
    {0xDEC4B0, "clWebLightSteelBlue"}, {0xEE687B, "clWebMediumSlateBlue"},
    {0x998877, "clWebLightSlateGray"}, {0xFFFFFF, "clWebWhite"}, {0xD3D3D3, "clWebLightgrey"},
    {0x808080, "clWebGray"}, {0xB48246, "clWebSteelBlue"}, {0xCD5A6A, "clWebSlateBlue"},
    {0x908070, "clWebSlateGray"}, {0xF5F5F5, "clWebWhiteSmoke"}, {0xC0C0C0, "clWebSilver"},
    {0x696969, "clWebDimGray"}, {0xE1E4FF, "clWebMistyRose"}, {0x8B3D48, "clWebDarkSlateBlue"},
    {0x4F4F2F, "clWebDarkSlategray"}, {0xDCDCDC, "clWebGainsboro"}, {0xA9A9A9, "clWebDarkGray"},
    {0x000000, "clWebBlack"},
};
static_assert(std::size(kWebColorNames) == 138);
}  // namespace

String ColorToWebColorName(TColor color) {
    const int32_t rgb = ColorToRGB(color);
    for (const ColorName& n : kWebColorNames)
        if (n.color == rgb) return String(n.name);
    char buf[8];
    snprintf(buf, sizeof buf, "#%.2X%.2X%.2X", static_cast<unsigned>(rgb & 0xFF), static_cast<unsigned>((rgb >> 8) & 0xFF),
             static_cast<unsigned>((rgb >> 16) & 0xFF));
    return String(buf);
}

TColor StringToColor(const String& text) {
    TColor c;
    if (IdentToColor(text, c)) return c;
    std::string s = text.ToUtf8();
    size_t i = 0;
    bool neg = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') { base = 16; ++i; }
    else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) { base = 16; i += 2; }
    if (i >= s.size()) throw EConvertError(String("'") + text + "' is not a valid colour");
    uint64_t v = 0;
    for (; i < s.size(); ++i) {
        int d = std::isdigit(static_cast<unsigned char>(s[i])) ? s[i] - '0'
              : (base == 16 && std::isxdigit(static_cast<unsigned char>(s[i])))
                  ? std::tolower(static_cast<unsigned char>(s[i])) - 'a' + 10 : -1;
        if (d < 0 || v > 0xFFFFFFFFull) throw EConvertError(String("'") + text + "' is not a valid colour");
        v = v * base + d;
    }
    if (v > 0xFFFFFFFFull) throw EConvertError(String("'") + text + "' is not a valid colour");
    uint32_t u = static_cast<uint32_t>(v);
    return static_cast<TColor>(neg ? 0u - u : u);
}

// Graphics objects ---------------------------------------------------------------------------------

void TGraphicsObject::Changed() {
    if (OnChange) OnChange(this);
}

TFont::TFont() : FName("MS Sans Serif"), FHeight(-11), FColor(clWindowText) {}

TFont::~TFont() {
    if (FHandle) DeleteObject(FHandle);
}

HFONT TFont::Handle() {
    if (FHandle) DeleteObject(FHandle);
    LOGFONT lf;
    lf.lfHeight = FHeight;
    lf.lfEscapement = FOrientation;
    lf.lfOrientation = FCharOrientation;
    lf.lfWeight = FStyle.Contains(fsBold) ? 700 : 400;
    lf.lfItalic = FStyle.Contains(fsItalic);
    lf.lfUnderline = FStyle.Contains(fsUnderline);
    lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    lf.lfCharSet = FCharset;
    lf.lfPitchAndFamily = FPitch == fpFixed ? 1 : FPitch == fpVariable ? 2 : 0;
    for (size_t i = 0; i < 31 && i < FName.size(); ++i) lf.lfFaceName[i] = FName[i];
    FHandle = CreateFontIndirect(&lf);
    return FHandle;
}

static int MulDiv(int a, int b, int c) {
    long long p = static_cast<long long>(a) * b;
    // Rounds half away from zero, as the platform's MulDiv does.
    long long q = (p >= 0) == (c > 0) ? (std::llabs(p) + std::llabs(c) / 2) / std::llabs(c)
                                       : -((std::llabs(p) + std::llabs(c) / 2) / std::llabs(c));
    return static_cast<int>(q);
}

void TFont::Assign(const TPersistent* Source) {
    if (auto* f = dynamic_cast<const TFont*>(Source)) {
        if (f == this) return;
        FName = f->FName;
        FHeight = f->FHeight;
        FStyle = f->FStyle;
        FColor = f->FColor;
        FCharset = f->FCharset;
        FPitch = f->FPitch;
        FOrientation = f->FOrientation;
        FCharOrientation = f->FCharOrientation;
        // A font of another resolution keeps its point size here, as on the platform.
        if (f->FPixelsPerInch != FPixelsPerInch) FHeight = -MulDiv(f->Size(), FPixelsPerInch, 72);
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TFont::AssignData(const TFont& f) {
    if (&f == this) return;
    int ppi = FPixelsPerInch;
    FPixelsPerInch = f.FPixelsPerInch;
    Assign(&f);
    FPixelsPerInch = ppi;
}

void TFont::SetPixelsPerInch(int value) {
    if (value > 0) FPixelsPerInch = value;
}

void TFont::SetName(const String& value) {
    if (value.IsEmpty() || value == FName) return;
    FName = value;
    Changed();
}

int TFont::Size() const { return -MulDiv(FHeight, 72, PixelsPerInch()); }
void TFont::SetSize(int value) { SetHeight(-MulDiv(value, PixelsPerInch(), 72)); }
void TFont::SetHeight(int value) {
    if (value == FHeight) return;
    FHeight = value;
    Changed();
}
void TFont::SetStyle(TFontStyles value) {
    if (value == FStyle) return;
    FStyle = value;
    Changed();
}
void TFont::SetColor(TColor value) {
    if (value == FColor) return;
    FColor = value;
    Changed();
}
void TFont::SetCharset(TFontCharset value) {
    if (value == FCharset) return;
    FCharset = value;
    Changed();
}
void TFont::SetPitch(TFontPitch value) {
    if (value == FPitch) return;
    FPitch = value;
    Changed();
}
void TFont::SetOrientation(int value) {
    if (value == FOrientation && value == FCharOrientation) return;
    FOrientation = FCharOrientation = value;
    Changed();
}
void TFont::SetCharOrientation(int value) {
    if (value == FCharOrientation) return;
    FCharOrientation = value;
    Changed();
}

namespace {
// Full-width Latin letters and the ideographic space to ASCII, lower case, single spaces: the
// Japanese font names are written both ways.
std::u16string NormalFontName(const String& name) {
    std::u16string out;
    for (char16_t c : name) {
        if (c >= 0xFF01 && c <= 0xFF5E) c = static_cast<char16_t>(c - 0xFF01 + 0x21);
        if (c == 0x3000) c = u' ';
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        if (c == u' ' && (out.empty() || out.back() == u' ')) continue;
        out.push_back(c);
    }
    while (!out.empty() && out.back() == u' ') out.pop_back();
    if (!out.empty() && out[0] == u'@') out.erase(0, 1);  // vertical-writing variant
    return out;
}
}  // namespace

std::vector<String> TFont::SubstituteFamilies(const String& name) {
    // The one table from the original platform's font names to the families scripts/setup installs.
    static const std::map<std::u16string, std::vector<const char*>> table = {
        {u"ms sans serif", {"Liberation Sans"}},
        {u"ms shell dlg", {"Liberation Sans"}},
        {u"ms shell dlg 2", {"Liberation Sans"}},
        {u"arial", {"Liberation Sans"}},
        {u"comic sans ms", {"Liberation Sans"}},
        {u"century gothic", {"Liberation Sans"}},
        {u"helvetica", {"Liberation Sans"}},
        {u"system", {"Liberation Sans"}},
        {u"tahoma", {"DejaVu Sans"}},
        {u"segoe ui", {"DejaVu Sans"}},
        {u"verdana", {"DejaVu Sans"}},
        {u"arial narrow", {"Liberation Sans Narrow"}},
        {u"courier new", {"Liberation Mono"}},
        {u"courier", {"Liberation Mono"}},
        {u"terminal", {"Liberation Mono"}},
        {u"fixedsys", {"Liberation Mono"}},
        {u"lucida console", {"DejaVu Sans Mono"}},
        {u"consolas", {"DejaVu Sans Mono"}},
        {u"times new roman", {"Liberation Serif"}},
        {u"times", {"Liberation Serif"}},
        {u"century", {"Liberation Serif"}},
        {u"ms serif", {"Liberation Serif"}},
        {u"georgia", {"DejaVu Serif"}},
        {u"ms ゴシック", {"Noto Sans Mono CJK JP"}},
        {u"ms gothic", {"Noto Sans Mono CJK JP"}},
        {u"ms pゴシック", {"Noto Sans CJK JP"}},
        {u"ms pgothic", {"Noto Sans CJK JP"}},
        {u"ms ui gothic", {"Noto Sans CJK JP"}},
        {u"メイリオ", {"Noto Sans CJK JP"}},
        {u"meiryo", {"Noto Sans CJK JP"}},
        {u"meiryo ui", {"Noto Sans CJK JP"}},
        {u"ms 明朝", {"Noto Serif CJK JP"}},
        {u"ms mincho", {"Noto Serif CJK JP"}},
        {u"ms p明朝", {"Noto Serif CJK JP"}},
        {u"ms pmincho", {"Noto Serif CJK JP"}},
    };
    std::vector<String> out;
    auto it = table.find(NormalFontName(name));
    if (it != table.end()) {
        for (const char* f : it->second) out.emplace_back(f);
    } else {
        out.push_back(name);  // an installed family of that name, if any
        out.emplace_back("Liberation Sans");
    }
    // Japanese text (half-width katakana included) falls back to the CJK family.
    out.emplace_back("Noto Sans CJK JP");
    out.emplace_back("DejaVu Sans");
    return out;
}

TPen::~TPen() {
    if (FHandle) DeleteObject(FHandle);
}

HPEN TPen::Handle() {
    if (FHandle) DeleteObject(FHandle);
    bool none = FStyle == psClear || FColor == clNone || FMode == pmNop;
    FHandle = CreatePen(none ? PS_NULL : static_cast<int>(FStyle), FWidth, static_cast<COLORREF>(ColorToRGB(FColor)));
    return FHandle;
}

void TPen::Assign(const TPersistent* Source) {
    if (auto* p = dynamic_cast<const TPen*>(Source)) {
        if (p == this) return;
        FColor = p->FColor;
        FWidth = p->FWidth;
        FStyle = p->FStyle;
        FMode = p->FMode;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}
void TPen::SetColor(TColor value) {
    if (value == FColor) return;
    FColor = value;
    Changed();
}
void TPen::SetWidth(int value) {
    value = std::max(0, value);
    if (value == FWidth) return;
    FWidth = value;
    Changed();
}
void TPen::SetStyle(TPenStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    Changed();
}
void TPen::SetMode(TPenMode value) {
    if (value == FMode) return;
    FMode = value;
    Changed();
}

TBrush::TBrush() = default;
TBrush::~TBrush() {
    if (FHandle) DeleteObject(FHandle);
}

void TBrush::Assign(const TPersistent* Source) {
    if (auto* b = dynamic_cast<const TBrush*>(Source)) {
        if (b == this) return;
        FColor = b->FColor;
        FStyle = b->FStyle;
        if (b->FBitmap) {
            if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
            FBitmap->Assign(b->FBitmap.get());
        } else {
            FBitmap.reset();
        }
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TBrush::SetColor(TColor value) {
    if (value == FColor && FStyle != bsClear) return;
    FColor = value;
    if (FStyle == bsClear) FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    Changed();
}

void TBrush::SetBitmap(TBitmap* value) {
    if (value) {
        if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
        FBitmap->Assign(value);
    } else {
        FBitmap.reset();
    }
    Changed();
}

HBRUSH TBrush::Handle() {
    if (FHandle) DeleteObject(FHandle);
    COLORREF c = static_cast<COLORREF>(ColorToRGB(FColor));
    if (FStyle == bsClear || FColor == clNone) FHandle = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    else if (FStyle >= bsHorizontal) FHandle = CreateHatchBrush(FStyle - bsHorizontal, c);
    else FHandle = CreateSolidBrush(c);
    return FHandle;
}

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
    if (!canvas) return;
    canvas->Pen()->SetWidth(1);
    --rect.Bottom;
    --rect.Right;
    for (int i = 0; i < width; ++i) {
        canvas->Pen()->SetColor(topColor);
        TPoint top[3] = {{rect.Left, rect.Bottom}, {rect.Left, rect.Top}, {rect.Right, rect.Top}};
        canvas->Polyline(top, 3);
        canvas->Pen()->SetColor(bottomColor);
        TPoint bottom[3] = {{rect.Right, rect.Top}, {rect.Right, rect.Bottom}, {rect.Left - 1, rect.Bottom}};
        canvas->Polyline(bottom, 3);
        InflateRect(&rect, -1, -1);
    }
    ++rect.Bottom;
    ++rect.Right;
}

BOOL DrawEdge(HDC dc, TRect* rect, UINT edge, UINT flags) {
    TCanvas* c = TCanvas::FromHandle(dc);
    if (!c || !rect) return FALSE_;
    TRect r = *rect;
    auto ring = [&](TColor tl, TColor br) {
        if (r.IsEmpty()) return;
        if (flags & BF_TOP) c->FillSolid(TRect(r.Left, r.Top, r.Right, r.Top + 1), tl);
        if (flags & BF_LEFT) c->FillSolid(TRect(r.Left, r.Top, r.Left + 1, r.Bottom), tl);
        if (flags & BF_BOTTOM) c->FillSolid(TRect(r.Left, r.Bottom - 1, r.Right, r.Bottom), br);
        if (flags & BF_RIGHT) c->FillSolid(TRect(r.Right - 1, r.Top, r.Right, r.Bottom), br);
        if (flags & BF_LEFT) ++r.Left;
        if (flags & BF_TOP) ++r.Top;
        if (flags & BF_RIGHT) --r.Right;
        if (flags & BF_BOTTOM) --r.Bottom;
    };
    if (flags & (BF_FLAT | BF_MONO)) {
        if (edge & 0x0F) ring(flags & BF_MONO ? clWindowFrame : clBtnShadow, flags & BF_MONO ? clWindowFrame : clBtnShadow);
    } else {
        if (edge & BDR_RAISEDOUTER) ring(cl3DLight, cl3DDkShadow);
        else if (edge & BDR_SUNKENOUTER) ring(clBtnShadow, clBtnHighlight);
        if (edge & BDR_RAISEDINNER) ring(clBtnHighlight, clBtnShadow);
        else if (edge & BDR_SUNKENINNER) ring(cl3DDkShadow, cl3DLight);
    }
    if (flags & BF_MIDDLE) c->FillSolid(r, clBtnFace);
    if (flags & BF_ADJUST) *rect = r;
    return TRUE_;
}

// Pictures ---------------------------------------------------------------------------------------

void TGraphic::SetTransparent(bool value) {
    if (value == FTransparent) return;
    FTransparent = value;
    Changed();
}

void TGraphic::Changed() {
    FModified = true;
    if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const String& fileName) {
    std::ifstream in(fileName.ToUtf8(), std::ios::binary);
    if (!in) throw EFOpenError(String("Cannot open file \"") + fileName + "\"");
    LoadFromStream(in);
}

void TGraphic::SaveToFile(const String& fileName) {
    // Whole or not at all: a failed save leaves the file that was there.
    std::ostringstream out(std::ios::binary);
    SaveToStream(out);
    ReplaceFileContents(fileName, std::move(out).str());
}

void TGraphic::LoadFromBytes(const std::vector<uint8_t>& bytes) {
    std::istringstream in(std::string(bytes.begin(), bytes.end()), std::ios::binary);
    LoadFromStream(in);
}

namespace {

// What is left of the stream from its Position.
std::vector<uint8_t> RestOf(TStream* stream) {
    if (!stream) throw EInvalidGraphic(String("No stream to read the picture from"));
    int64_t left = std::max<int64_t>(0, stream->Size() - stream->Position());
    std::vector<uint8_t> bytes(static_cast<size_t>(left));
    if (left > 0) stream->ReadBuffer(bytes.data(), left);
    return bytes;
}

void WriteAll(TStream* stream, const std::vector<uint8_t>& bytes) {
    if (!stream) throw EInvalidGraphic(String("No stream to write the picture to"));
    if (!bytes.empty()) stream->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

}  // namespace

void TGraphic::LoadFromStream(TStream* stream) { LoadFromBytes(RestOf(stream)); }

void TGraphic::SaveToStream(TStream* stream) { WriteAll(stream, SaveToBytes()); }

std::vector<uint8_t> TGraphic::SaveToBytes() {
    std::ostringstream out(std::ios::binary);
    SaveToStream(out);
    std::string s = out.str();
    return std::vector<uint8_t>(s.begin(), s.end());
}

void RegisterResource(const String& name, const uint8_t* data, size_t size) {
    win::RegisterResource(RT_RCDATA, name, 0, data, size);
}

const std::vector<uint8_t>* FindResource(const String& name) { return win::FindResourceByName(name); }

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed() {
    if (OnChange) OnChange(this);
}

void TPicture::Adopt(std::unique_ptr<TGraphic> graphic) {
    FGraphic = std::move(graphic);
    if (FGraphic) FGraphic->OnChange = [this](TPersistent*) { Changed(); };
    Changed();
}

static std::unique_ptr<TGraphic> NewLike(const TGraphic* g) {
    if (dynamic_cast<const TPngImage*>(g)) return std::make_unique<TPngImage>();
    if (dynamic_cast<const TBitmap*>(g)) return std::make_unique<TBitmap>();
    if (dynamic_cast<const TIcon*>(g)) return std::make_unique<TIcon>();
    if (dynamic_cast<const TJPEGImage*>(g)) return std::make_unique<TJPEGImage>();
    if (dynamic_cast<const TMetafile*>(g)) return std::make_unique<TMetafile>();
    return nullptr;
}

void TPicture::SetGraphic(TGraphic* value) {
    if (!value) {
        Adopt(nullptr);
        return;
    }
    if (value == FGraphic.get()) return;
    std::unique_ptr<TGraphic> copy = NewLike(value);
    if (!copy) throw EInvalidGraphic(String("Unknown picture class ") + value->ClassName());
    copy->Assign(value);
    Adopt(std::move(copy));
}

void TPicture::Assign(const TPersistent* Source) {
    if (!Source) {
        SetGraphic(nullptr);
    } else if (auto* p = dynamic_cast<const TPicture*>(Source)) {
        if (p != this) SetGraphic(p->FGraphic.get());
    } else if (auto* g = dynamic_cast<const TGraphic*>(Source)) {
        SetGraphic(const_cast<TGraphic*>(g));
    } else {
        TPersistent::Assign(Source);
    }
}

void TPicture::AssignTo(TPersistent* Dest) const {
    if (auto* g = dynamic_cast<TGraphic*>(Dest); g && FGraphic) {
        g->Assign(FGraphic.get());
        return;
    }
    TPersistent::AssignTo(Dest);
}

template <class T>
static T* Ensure(TPicture* pic, std::unique_ptr<TGraphic>& graphic, void (TPicture::*adopt)(std::unique_ptr<TGraphic>)) {
    if (auto* t = dynamic_cast<T*>(graphic.get())) return t;
    (pic->*adopt)(std::make_unique<T>());
    return static_cast<T*>(graphic.get());
}

TBitmap* TPicture::Bitmap() { return Ensure<TBitmap>(this, FGraphic, &TPicture::Adopt); }
TIcon* TPicture::Icon() { return Ensure<TIcon>(this, FGraphic, &TPicture::Adopt); }
TMetafile* TPicture::Metafile() { return Ensure<TMetafile>(this, FGraphic, &TPicture::Adopt); }

static std::string Extension(const String& fileName) {
    std::string s = fileName.ToUtf8();
    size_t dot = s.find_last_of('.');
    size_t slash = s.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    return LowerAscii(s.substr(dot + 1));
}

void TPicture::LoadFromFile(const String& fileName) {
    std::string ext = Extension(fileName);
    std::unique_ptr<TGraphic> g;
    if (ext == "bmp" || ext == "dib") g = std::make_unique<TBitmap>();
    else if (ext == "jpg" || ext == "jpeg" || ext == "jpe") g = std::make_unique<TJPEGImage>();
    else if (ext == "ico") g = std::make_unique<TIcon>();
    else if (ext == "emf" || ext == "wmf") g = std::make_unique<TMetafile>();
    else if (ext == "png") g = std::make_unique<TPngImage>();
    else throw EInvalidGraphic(String("Unknown picture file extension (.") + String(ext) + ")");
    g->LoadFromFile(fileName);
    Adopt(std::move(g));
}

void TPicture::LoadFromStream(TStream* stream) {
    std::vector<uint8_t> bytes = RestOf(stream);
    auto starts = [&](std::initializer_list<uint8_t> sig, size_t at = 0) {
        if (bytes.size() < at + sig.size()) return false;
        return std::equal(sig.begin(), sig.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    };
    std::unique_ptr<TGraphic> g;
    if (starts({'B', 'M'})) g = std::make_unique<TBitmap>();
    else if (starts({0xFF, 0xD8, 0xFF})) g = std::make_unique<TJPEGImage>();
    else if (starts({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) g = std::make_unique<TPngImage>();
    else if (starts({0, 0, 1, 0})) g = std::make_unique<TIcon>();
    else if (IsMetafile(bytes.data(), bytes.size())) g = std::make_unique<TMetafile>();
    else throw EInvalidGraphic(String("Unknown picture format in the stream"));
    g->LoadFromBytes(bytes);
    Adopt(std::move(g));
}

void TPicture::SaveToStream(TStream* stream) {
    if (!stream) throw EInvalidGraphic(String("No stream to write the picture to"));
    if (FGraphic) FGraphic->SaveToStream(stream);
}

void TPicture::SaveToFile(const String& fileName) {
    if (FGraphic) FGraphic->SaveToFile(fileName);
}
