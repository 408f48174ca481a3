#include "controls/instrument/VrClasses.h"

const char* const VrVersion = "1.4.5";

UINT VrTextAlignmentFlags(TVrTextAlignment alignment) {
    UINT flags = DT_SINGLELINE;
    switch (alignment) {
        case vtaLeft: flags |= DT_LEFT | DT_VCENTER; break;
        case vtaCenter: flags |= DT_CENTER | DT_VCENTER; break;
        case vtaRight: flags |= DT_RIGHT | DT_VCENTER; break;
        case vtaTopLeft: flags |= DT_TOP | DT_LEFT; break;
        case vtaTop: flags |= DT_TOP | DT_CENTER; break;
        case vtaTopRight: flags |= DT_TOP | DT_RIGHT; break;
        case vtaBottomLeft: flags |= DT_BOTTOM | DT_LEFT; break;
        case vtaBottom: flags |= DT_BOTTOM | DT_CENTER; break;
        case vtaBottomRight: flags |= DT_BOTTOM | DT_RIGHT; break;
    }
    return flags;
}

// TVrPersistent -------------------------------------------------------------------------------

void TVrPersistent::EndUpdate() {
    if (FUpdateCount > 0) --FUpdateCount;
    Changed();
}

void TVrPersistent::Changed() {
    if (FUpdateCount == 0 && OnChange) OnChange(this);
}

// TVrPalette ----------------------------------------------------------------------------------

void TVrPalette::Assign(const TPersistent* Source) {
    if (auto* p = dynamic_cast<const TVrPalette*>(Source)) {
        BeginUpdate();
        SetLow(p->Low());
        SetHigh(p->High());
        EndUpdate();
        return;
    }
    TVrPersistent::Assign(Source);
}

TColor TVrPalette::GetColors(int Index) const { return Index <= 0 ? FLow : FHigh; }

void TVrPalette::SetLow(TColor value) {
    if (FLow == value) return;
    FLow = value;
    Changed();
}

void TVrPalette::SetHigh(TColor value) {
    if (FHigh == value) return;
    FHigh = value;
    Changed();
}

namespace {
// Every pixel of exactly `from` becomes `to`: a monochrome mask of those pixels (a colour to
// monochrome copy turns the source's background colour white), then a brush transfer through it.
void ReplaceColor(TBitmap* bitmap, TColor from, TColor to) {
    int w = bitmap->Width(), h = bitmap->Height();
    TBitmap mask;
    mask.SetMonochrome(true);
    mask.SetSize(w, h);
    TCanvas* src = bitmap->Canvas();
    src->Brush()->SetColor(from);
    HDC dc = src->Handle();
    COLORREF oldBk = SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(from)));
    BitBlt(mask.Canvas()->Handle(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
    // Mask white takes the brush, mask black keeps the picture: D = ((P ^ D) & S) ^ D with the
    // mask's white turned into all ones through the text and background colours.
    src->Brush()->SetColor(to);
    dc = src->Handle();
    SetBkColor(dc, RGB(255, 255, 255));
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    constexpr DWORD DSPDxax = 0x00E20746;
    BitBlt(dc, 0, 0, w, h, mask.Canvas()->Handle(), 0, 0, DSPDxax);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBk);
}
}  // namespace

void TVrPalette::ToBMP(TBitmap* Bitmap, TColor DarkColor, TColor LightColor) const {
    if (!Bitmap || Bitmap->Empty()) return;
    ReplaceColor(Bitmap, DarkColor, FLow);
    ReplaceColor(Bitmap, LightColor, FHigh);
}

// TVrFont3D -----------------------------------------------------------------------------------

void TVrFont3D::Assign(const TPersistent* Source) {
    if (auto* f = dynamic_cast<const TVrFont3D*>(Source)) {
        BeginUpdate();
        SetStyle(f->Style());
        SetHighlightColor(f->HighlightColor());
        SetShadowColor(f->ShadowColor());
        SetHighlightDepth(f->HighlightDepth());
        SetShadowDepth(f->ShadowDepth());
        EndUpdate();
        return;
    }
    TVrPersistent::Assign(Source);
}

void TVrFont3D::SetStyle(TVrFont3DStyle value) {
    if (FStyle == value) return;
    FStyle = value;
    Changed();
}

void TVrFont3D::SetHighlightColor(TColor value) {
    if (FHighlightColor == value) return;
    FHighlightColor = value;
    Changed();
}

void TVrFont3D::SetShadowColor(TColor value) {
    if (FShadowColor == value) return;
    FShadowColor = value;
    Changed();
}

void TVrFont3D::SetHighlightDepth(int value) {
    if (FHighlightDepth == value) return;
    FHighlightDepth = value;
    Changed();
}

void TVrFont3D::SetShadowDepth(int value) {
    if (FShadowDepth == value) return;
    FShadowDepth = value;
    Changed();
}

void TVrFont3D::Paint(TCanvas* Canvas, const TRect& R, const String& Text, UINT Flags) const {
    Canvas->Brush()->SetStyle(bsClear);
    TColor main = Canvas->Font()->Color();
    auto draw = [&](TColor color, int offset) {
        Canvas->Font()->SetColor(color);
        TRect r = R;
        OffsetRect(r, offset, offset);
        DrawText(Canvas->Handle(), Text, -1, &r, Flags);
    };
    switch (FStyle) {
        case f3dNone: break;
        case f3dRaised:
            draw(FShadowColor, FShadowDepth);
            draw(FHighlightColor, -FHighlightDepth);
            break;
        case f3dSunken:
            draw(FHighlightColor, FHighlightDepth);
            draw(FShadowColor, -FShadowDepth);
            break;
        case f3dShadow: draw(FShadowColor, FShadowDepth); break;
    }
    draw(main, 0);
}

// TVrComponent --------------------------------------------------------------------------------

TVrComponent::TVrComponent(TComponent* AOwner) : TComponent(AOwner), FVersion(VrVersion) {}

// Drawing routines ----------------------------------------------------------------------------

TRect DrawFrame3D(TCanvas* Canvas, const TRect& R, TColor TopColor, TColor BottomColor, int Width) {
    TRect r = R;
    Frame3D(Canvas, r, TopColor, BottomColor, Width);
    return r;
}

void TileBitmap(TCanvas* Canvas, const TRect& R, TBitmap* Bitmap) {
    int w = Bitmap->Width(), h = Bitmap->Height();
    if (w <= 0 || h <= 0) return;  // would never advance
    for (int x = R.Left; x < R.Right; x += w)
        for (int y = R.Top; y < R.Bottom; y += h) Canvas->Draw(x, y, Bitmap);
}

void DrawButtonText(TCanvas* Canvas, const String& Text, const TRect& R, bool Enabled) {
    Canvas->Brush()->SetStyle(bsClear);
    TRect r = R;
    if (Enabled) {
        DrawText(Canvas->Handle(), Text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return;
    }
    OffsetRect(r, 1, 1);
    Canvas->Font()->SetColor(clBtnHighlight);
    DrawText(Canvas->Handle(), Text, -1, &r, 0);
    OffsetRect(r, -1, -1);
    Canvas->Font()->SetColor(clBtnShadow);
    DrawText(Canvas->Handle(), Text, -1, &r, 0);
}

void CalcButtonLayout(TCanvas* Canvas, const TRect& Client, TRect& TextBounds, TPoint& GlyphPos, TPoint GlyphSize,
                      int Spacing, int Margin, int Layout, const String& Caption) {
    int w = Client.Width(), h = Client.Height();
    TPoint textSize(0, 0);
    if (Caption.empty()) {
        TextBounds = TRect();
    } else {
        TextBounds = ::Rect(0, 0, w, 0);
        DrawText(Canvas->Handle(), Caption, -1, &TextBounds, DT_CALCRECT);
        textSize = Point(TextBounds.Width(), TextBounds.Height());
    }
    bool horizontal = Layout == 1 || Layout == 2;
    TPoint textPos;
    if (horizontal) {
        GlyphPos.Y = (h - GlyphSize.Y + 1) / 2;
        textPos.Y = (h - textSize.Y + 1) / 2;
    } else {
        GlyphPos.X = (w - GlyphSize.X + 1) / 2;
        textPos.X = (w - textSize.X + 1) / 2;
    }
    if (textSize.X == 0 || GlyphSize.X == 0) Spacing = 0;
    // Along the layout axis.
    int space = horizontal ? w : h;
    int glyph = horizontal ? GlyphSize.X : GlyphSize.Y;
    int text = horizontal ? textSize.X : textSize.Y;
    if (Margin == -1 && Spacing == -1) {
        Spacing = (space - glyph - text) / 3;
        Margin = Spacing;
    } else if (Margin == -1) {
        Margin = (space - glyph - Spacing - text + 1) / 2;
    } else if (Spacing == -1) {
        Spacing = (space - Margin - glyph - text) / 2;
    }
    switch (Layout) {
        case 1:
            GlyphPos.X = Margin;
            textPos.X = Margin + GlyphSize.X + Spacing;
            break;
        case 2:
            GlyphPos.X = w - Margin - GlyphSize.X;
            textPos.X = GlyphPos.X - Spacing - textSize.X;
            break;
        case 3:
            GlyphPos.Y = Margin;
            textPos.Y = Margin + GlyphSize.Y + Spacing;
            break;
        default:
            GlyphPos.Y = h - Margin - GlyphSize.Y;
            textPos.Y = GlyphPos.Y - Spacing - textSize.Y;
            break;
    }
    GlyphPos = Point(GlyphPos.X + Client.Left, GlyphPos.Y + Client.Top);
    TextBounds = Bounds(textPos.X + Client.Left, textPos.Y + Client.Top, textSize.X, textSize.Y);
}
