// The drawing routines of unit AdvDropDown.
#include "dropdown/AdvDropDownDraw.h"

#include <algorithm>

#include "controls/styled/GradientSteps.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Gdi.h"
#include "render/ZivAVEZE.h"

void StepGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Count, TRect Rect, bool Horizontal) {
    if (!Canvas) return;
    // The bands divide the rectangle less its last column (row), and each reaches one pixel
    // past its share.
    if (Horizontal) Rect.Right -= 1;
    else Rect.Bottom -= 1;
    styled::DrawGradientBands(Canvas, FromColor, ToColor, Horizontal, Rect, Count, styled::TBandReach::Rounded);
}

TColor BlendColor(TColor Color1, TColor Color2, int Percent) {
    if (Percent >= 100) return Color1;
    if (Percent <= 0) return Color2;
    const int32_t a = ColorToRGB(Color1), b = ColorToRGB(Color2);
    const double p = Percent / 100.0;
    auto mix = [p](int x, int y) { return static_cast<BYTE>(Round(p * x + (1 - p) * y)); };
    return static_cast<TColor>(RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
                                   mix(GetBValue(a), GetBValue(b))));
}

TColor ShiftColor(TColor Color, int DeltaRed, int DeltaGreen, int DeltaBlue) {
    const int32_t c = ColorToRGB(Color);
    auto shift = [](int channel, int delta) {
        const int64_t v = channel != 0 ? Round(std::min(100, 100 + delta) / 100.0 * channel) : std::max(0, delta);
        return static_cast<BYTE>(v & 0xFF);
    };
    return static_cast<TColor>(
        RGB(shift(GetRValue(c), DeltaRed), shift(GetGValue(c), DeltaGreen), shift(GetBValue(c), DeltaBlue)));
}

void FillAndFrame(TCanvas* Canvas, const TRect& Rect, TColor Color, TColor ColorTo, TColor BorderColor,
                  int BorderWidth, bool Vertical) {
    if (!Canvas) return;
    if (ColorTo != clNone) {
        StepGradient(Canvas, Color, ColorTo, 80, Rect, !Vertical);
    } else if (Color != clNone) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(Color);
        Canvas->FillRect(Rect);
    }
    if (BorderColor != clNone && BorderWidth > 0) {
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->Pen()->SetStyle(psSolid);
        Canvas->Pen()->SetWidth(BorderWidth);
        Canvas->Pen()->SetColor(BorderColor);
        Canvas->Rectangle(Rect);
    }
}

void DrawImageText(TCanvas* Canvas, const TRect& Rect, const String& Text, TCustomImageList* Images,
                   int ImageIndex) {
    if (!Canvas) return;
    TRect r = Rect;
    UINT align = DT_CENTER;
    if (ImageIndex >= 0 && Images) {
        // A picture taller than the rectangle sticks out as much above as below, the odd pixel
        // above.
        const int spare = Rect.Height() - Images->Height();
        const int top = Rect.Top + (spare >= 0 ? spare / 2 : -((-spare + 1) / 2));
        Images->Draw(Canvas, Rect.Left + 4, top, ImageIndex);
        r.Left = Rect.Left + Images->Width() + 8;
        align = DT_LEFT;
    }
    if (Text.empty()) return;
    Canvas->Brush()->SetStyle(bsClear);
    DrawText(Canvas->Handle(), Text, -1, &r, align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

void DrawTransparentBitmap(TCanvas* Canvas, TBitmap* Bitmap, TColor BackgroundColor, const TRect& Rect) {
    if (!Canvas || !Bitmap || Bitmap->Empty()) return;
    TBitmap shown(Bitmap->Width(), Bitmap->Height());
    shown.Canvas()->Brush()->SetColor(BackgroundColor);
    const TRect part(0, 0, Rect.Width(), Rect.Height());
    shown.Canvas()->BrushCopy(part, Bitmap, part, Bitmap->Canvas()->Pixels(0, 0));
    Canvas->CopyRect(Rect, shown.Canvas(), part);
}

TSize MeasureText(TCanvas* Canvas, const String& Text) {
    if (!Canvas || Text.empty()) return TSize(0, 0);
    TRect r(0, 0, 1000, 500);
    DrawText(Canvas->Handle(), Text, -1, &r, DT_CALCRECT | DT_SINGLELINE);
    return TSize(r.Right, r.Bottom);
}

String FitText(TCanvas* Canvas, const String& Text, int MaxWidth, bool Ellipsis) {
    if (MeasureText(Canvas, Text).cx <= MaxWidth) return Text;
    for (int keep = Text.Length() - 1; keep >= 1; --keep) {
        String candidate = Text.substr(0, static_cast<size_t>(keep));
        if (Ellipsis) candidate += u"...";
        if (MeasureText(Canvas, candidate).cx < MaxWidth) return candidate;
    }
    return Text;
}

TSize DrawHtmlText(TCanvas* Canvas, const String& Text, const TRect& Rect, TCustomImageList* Images, bool Paint,
                   HWND WindowHandle, bool WordWrap) {
    if (!Canvas || Text.empty()) return TSize(0, 0);
    String anchor, stripped, focusAnchor, title, controlId, controlValue, controlType;
    int xSize = 0, ySize = 0, links = 0, mouseLink = 0;
    TRect hover, control;
    HtmlRenderText(Canvas, Text, Rect, Images, -1, -1, -1, -1, 1, false, !Paint, false, true, true, false, WordWrap,
                   false, 0.0, static_cast<TColor>(0xFF0000), clNone, clNone, static_cast<TColor>(0x808080), anchor,
                   stripped, focusAnchor, title, xSize, ySize, links, mouseLink, hover, control, controlId,
                   controlValue, controlType, nullptr, nullptr, WindowHandle, bdLeftToRight);
    return TSize(xSize, ySize);
}

String CaseText(const String& Text, bool CaseSensitive) { return CaseSensitive ? Text : AnsiUpperCase(Text); }
