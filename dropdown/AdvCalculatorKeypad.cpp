// The calculator keypad of unit AdvCalculatorDropdown: the keys, their look, the glossy face and
// its halo, the calculator's layout, the hot and pressed key and the click.
#include <algorithm>
#include <iterator>

#include "dropdown/AdvCalculatorDropdown.h"
#include "platform/ui/WinUser.h"
#include "render/AdvGDIP.h"

// ---------------------------------------------------------------------------------------------
// Keys

TButtonItem::TButtonItem(TCollection* Collection) : TCollectionItem(Collection), FImage(std::make_unique<TPicture>()) {}

TButtonItem::~TButtonItem() = default;

bool TButtonItem::HasImage() const { return FImage->Graphic() && !FImage->Graphic()->Empty(); }

void TButtonItem::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
}

void TButtonItem::Assign(const TPersistent* Source) {
    const auto* s = dynamic_cast<const TButtonItem*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    FCaption = s->FCaption;
    FCaptionColor = s->FCaptionColor;
    FTag = s->FTag;
    FImageIndex = s->FImageIndex;
    FImage->Assign(s->FImage.get());
    FEnabled = s->FEnabled;
    FName = s->FName;
}

// ---------------------------------------------------------------------------------------------
// The look

TButtonAppearance::TButtonAppearance() : FFont(std::make_unique<TFont>()) {
    FFont->SetSize(10);
    FFont->SetStyle(TFontStyles() << fsBold);
}

TButtonAppearance::~TButtonAppearance() = default;

void TButtonAppearance::Change(TColor& field, TColor value) {
    if (field == value) return;
    field = value;
    if (OnChange) OnChange(this);
}

void TButtonAppearance::Assign(const TPersistent* Source) {
    const auto* s = dynamic_cast<const TButtonAppearance*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    SetColor(s->FColor);
    SetColorTo(s->FColorTo);
    SetColorHot(s->FColorHot);
    SetColorHotTo(s->FColorHotTo);
    SetColorDown(s->FColorDown);
    SetColorDownTo(s->FColorDownTo);
    FGlowColorHot = s->FGlowColorHot;
    FGlowColorDown = s->FGlowColorDown;
    FShineColor = s->FShineColor;
    SetBorderColor(s->FBorderColor);
    SetBorderColorHot(s->FBorderColorHot);
    SetBorderColorDown(s->FBorderColorDown);
    FFont->Assign(s->FFont.get());
    SetTextColor(s->FTextColor);
    SetSpecialTextColor(s->FSpecialTextColor);
}

// ---------------------------------------------------------------------------------------------
// The glossy face

namespace {

ARGB WithAlpha(TColor c, uint8_t alpha) { return (ArgbFromColor(c) & 0x00FFFFFF) | (static_cast<ARGB>(alpha) << 24); }

}  // namespace

void DrawGlossyButton(TCanvas* Canvas, const TRect& R, TColor BorderColor, TColor ShineColor, TColor GlowColor,
                      TColor ColorTo, TColor Color, TColor LineColor) {
    if (!Canvas) return;
    using namespace gdiplus;
    TGPGraphics g(Canvas->Handle());
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    const float L = static_cast<float>(R.Left), T = static_cast<float>(R.Top);
    const float Rt = static_cast<float>(R.Right), B = static_cast<float>(R.Bottom);
    const int m = R.Top + R.Height() / 2;
    const float M = static_cast<float>(m);
    const float Wd = static_cast<float>(R.Right - R.Left);

    // The lower half's gradient brush spans one pixel more than it fills.
    TGPLinearGradientBrush lower(MakeGPRectF(L, M, Wd - 1, B - M), ArgbFromColor(Color), ArgbFromColor(ColorTo),
                                 LinearGradientModeVertical);
    g.FillRectangle(&lower, L, M, Wd - 1, B - M - 1);
    TGPSolidBrush upper(ArgbFromColor(Color));
    g.FillRectangle(&upper, L, T, Wd - 1, M - T);
    TGPLinearGradientBrush shine(MakeGPRectF(L, T, Wd - 1, M - T), WithAlpha(ShineColor, 160),
                                 WithAlpha(ShineColor, 90), LinearGradientModeVertical);
    g.FillRectangle(&shine, L, T, Wd - 1, M - T);

    TGPPen white(ArgbFromRgb(255, 255, 255), 1);
    g.DrawLine(&white, L, T + 1, Rt, T + 1);
    TGPGraphicsPath inner;
    inner.AddLine(L + 1, T + 2, L + 1, B - 2);
    inner.AddLine(L + 1, B - 2, Rt - 1, B - 2);
    inner.AddLine(Rt - 1, B - 2, Rt - 1, T + 1);
    TGPPen line(ArgbFromColor(LineColor), 1);
    g.DrawPath(&line, &inner);
    TGPPen border(ArgbFromColor(BorderColor), 1);
    g.DrawRectangle(&border, L, T, Wd, static_cast<float>(R.Height() - 1));

    if (GlowColor == clNone) return;
    TGPPen glowBorder(WithAlpha(GlowColor, 100), 1);
    g.DrawRectangle(&glowBorder, L, T, Wd, static_cast<float>(R.Height() - 1));
    // Each piece: (left, top, right, bottom), the gradient's mode, and whether its first colour
    // (left, top, top-left or top-right end) lies next to the key.
    struct Piece {
        int left, top, right, bottom;
        LinearGradientMode mode;
        bool nearFirst;
    };
    const Piece pieces[] = {
        {R.Left - 8, R.Top, R.Left, R.Bottom, LinearGradientModeHorizontal, false},
        {R.Right - 1, R.Top, R.Right + 8, R.Bottom, LinearGradientModeHorizontal, true},
        {R.Left, R.Top - 8, R.Right, R.Top, LinearGradientModeVertical, false},
        {R.Left, R.Bottom - 1, R.Right, R.Bottom + 7, LinearGradientModeVertical, true},
        {R.Left - 6, R.Bottom - 1, R.Left, R.Bottom + 5, LinearGradientModeBackwardDiagonal, true},
        {R.Right, R.Bottom, R.Right + 5, R.Bottom + 5, LinearGradientModeForwardDiagonal, true},
        {R.Left - 6, R.Top - 6, R.Left, R.Top, LinearGradientModeForwardDiagonal, false},
        {R.Right, R.Top - 6, R.Right + 5, R.Top, LinearGradientModeBackwardDiagonal, false},
    };
    const ARGB nearKey = WithAlpha(GlowColor, 130), away = WithAlpha(GlowColor, 0);
    for (const Piece& p : pieces) {
        const TGPRectF rect = MakeGPRectF(static_cast<float>(p.left), static_cast<float>(p.top),
                                          static_cast<float>(p.right - p.left), static_cast<float>(p.bottom - p.top));
        TGPLinearGradientBrush brush(rect, p.nearFirst ? nearKey : away, p.nearFirst ? away : nearKey, p.mode);
        g.FillRectangle(&brush, rect);
    }
}

// ---------------------------------------------------------------------------------------------
// The keypad

namespace {

// The calculator's keys in collection order; column -1 is the top row's thirds (0, 1, 2).
struct DefaultKey {
    const char16_t* caption;
    const char16_t* name;
    int tag;
    int column, row;
    bool special;
};

constexpr DefaultKey kDefaultKeys[] = {
    {u"", u"BTN_ON", 30, 0, 0, false},        {u"Back", u"BTN_BACK", 31, -1, 0, true},
    {u"CE", u"BTN_CE", 32, -1, 1, true},      {u"C", u"BTN_C", 16, -1, 2, true},
    {u"MC", u"BTN_MC", 33, 0, 1, true},       {u"MR", u"BTN_MR", 34, 0, 2, true},
    {u"MS", u"BTN_MS", 35, 0, 3, true},       {u"M+", u"BTN_M+", 36, 0, 4, true},
    {u"0", u"BTN_0", 0, 1, 4, false},         {u"1", u"BTN_1", 1, 1, 3, false},
    {u"4", u"BTN_4", 4, 1, 2, false},         {u"7", u"BTN_7", 7, 1, 1, false},
    {u"8", u"BTN_8", 8, 2, 1, false},         {u"5", u"BTN_5", 5, 2, 2, false},
    {u"2", u"BTN_2", 2, 2, 3, false},         {u"+/-", u"BTN_+/-", 14, 2, 4, false},
    {u".", u"BTN_.", 15, 3, 4, false},        {u"3", u"BTN_3", 3, 3, 3, false},
    {u"6", u"BTN_6", 6, 3, 2, false},         {u"9", u"BTN_9", 9, 3, 1, false},
    {u"/", u"BTN_/", 13, 4, 1, true},         {u"*", u"BTN_*", 12, 4, 2, true},
    {u"-", u"BTN_-", 11, 4, 3, true},         {u"+", u"BTN_+", 10, 4, 4, true},
    {u"=", u"BTN_=", 17, 5, 4, true},         {u"1/x", u"BTN_1/x", 38, 5, 3, false},
    {u"%", u"BTN_%", 18, 5, 2, false},        {u"sqrt", u"BTN_sqrt", 37, 5, 1, true},
};
static_assert(std::size(kDefaultKeys) == 28);

}  // namespace

TCustomButtonPanel::TCustomButtonPanel(TComponent* AOwner)
    : TCustomControl(AOwner),
      FButtons(std::make_unique<TButtonItems>(this)),
      FButtonAppearance(std::make_unique<TButtonAppearance>()) {
    FButtonAppearance->OnChange = [this](TObject* Sender) { Changed(Sender); };
    FButtons->OnChange = [this](TObject* Sender) { Changed(Sender); };
    SetDoubleBuffered(true);
}

TCustomButtonPanel::~TCustomButtonPanel() {
    FButtonAppearance->OnChange = nullptr;
    FButtons->OnChange = nullptr;
}

void TCustomButtonPanel::Changed(TObject*) {
    if (Standalone()) Invalidate();
}

void TCustomButtonPanel::Loaded() {
    TCustomControl::Loaded();
    if (Standalone()) CreateDefaultButtons();
}

void TCustomButtonPanel::SetButtonPanelType(TButtonPanelType value) {
    if (FButtonPanelType == value) return;
    FButtonPanelType = value;
    ArrangeButtons();
}

void TCustomButtonPanel::SetImages(TCustomImageList* value) {
    if (FImages == value) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages) FImages->FreeNotification(this);
    ArrangeButtons();
}

void TCustomButtonPanel::SetEdit(TCustomEdit* value) {
    if (FEdit == value) return;
    if (FEdit) FEdit->RemoveFreeNotification(this);
    FEdit = value;
    if (FEdit) FEdit->FreeNotification(this);
}

void TCustomButtonPanel::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove || ComponentState().Contains(csDestroying)) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FEdit) FEdit = nullptr;
}

bool TCustomButtonPanel::Disabled(int Index) const { return Valid(Index) && !FButtons->Items(Index)->Enabled(); }

void TCustomButtonPanel::ClearButtons() { FButtons->Clear(); }

void TCustomButtonPanel::ResetButtons() {
    ClearButtons();
    CreateDefaultButtons();
}

void TCustomButtonPanel::CreateDefaultButtons() {
    if (FButtons->Count() > 0) return;
    if (FButtonPanelType == plCalculator) {
        for (const DefaultKey& k : kDefaultKeys) {
            TButtonItem* item = FButtons->Add();
            item->SetCaption(k.caption);
            item->SetName(k.name);
            item->SetTag(k.tag);
            item->SetSpecial(k.special);
            if (k.special) item->SetCaptionColor(static_cast<TColor>(128));
        }
    }
    ArrangeButtons();
}

void TCustomButtonPanel::GetButtonsArea(TRect& Rect) {
    Rect = ClientRect();
    InflateRect(Rect, -FMarginX, -FMarginY);
}

void TCustomButtonPanel::ComputeButtonSize(TSize& Size) {
    int A = 0, B = 0, TW = 0, TH = 0;
    TBitmap scratch(1, 1);
    TCanvas* canvas = scratch.Canvas();
    canvas->Font()->Assign(Font());
    for (int i = 0; i < FButtons->Count(); ++i) {
        const TButtonItem* item = FButtons->Items(i);
        if (item->HasImage()) {
            A = std::max(A, item->Image()->Width());
            B = std::max(B, item->Image()->Height());
        } else if (FImages && item->ImageIndex() >= 0) {
            A = std::max(A, FImages->Width());
            B = std::max(B, FImages->Height());
        }
        const TSize t = MeasureText(canvas, item->Caption());
        TW = std::max(TW, static_cast<int>(t.cx));
        TH = std::max(TH, static_cast<int>(t.cy));
    }
    if (FButtonLayout == ilCaptionLeft || FButtonLayout == ilCaptionRight) {
        Size.cx = 2 * FButtonMarginX + (A > 0 ? A : 0) + (A > 0 && TW > 0 ? FCaptionGap : 0) + TW;
        Size.cy = std::max(TH, B) + 2 * FButtonMarginY;
    } else {
        Size.cx = std::max(TW, A) + 2 * FButtonMarginX;
        Size.cy = 2 * FButtonMarginY + (B > 0 ? B : 0) + (B > 0 && TH >= 1 ? FCaptionGap : 0) + (TH >= 1 ? TH : 0);
    }
}

void TCustomButtonPanel::ArrangeButtons() {
    if (FButtons->Count() == 0 || FButtonPanelType != plCalculator) return;
    TRect A;
    GetButtonsArea(A);
    const int G = 4;
    const int W = (A.Width() - 2 * G) / 6, H = (A.Height() - G) / 5;
    // Keys of one block overlap by a pixel; the blocks stand G apart.
    int c[6], r[5];
    c[0] = A.Left;
    c[1] = c[0] + W + G;
    c[2] = c[1] + W - 1;
    c[3] = c[2] + W - 1;
    c[4] = c[3] + W + G;
    c[5] = c[4] + W - 1;
    r[0] = A.Top;
    r[1] = r[0] + H + G;
    r[2] = r[1] + H - 1;
    r[3] = r[2] + H - 1;
    r[4] = r[3] + H - 1;
    // Items raises the collection's index error for a key that is not there.
    for (int i = 0; i < static_cast<int>(std::size(kDefaultKeys)); ++i) {
        const DefaultKey& k = kDefaultKeys[i];
        if (k.column >= 0) FButtons->Items(i)->SetBounds(c[k.column], r[k.row], W, H);
    }
    const int x0 = FButtons->Items(0)->Left() + W + G;
    const int right = c[5] + W;
    const int L = (right - x0 - 2 * G) / 3;
    FButtons->Items(1)->SetBounds(x0, r[0], L, H);
    FButtons->Items(2)->SetBounds(x0 + L + G, r[0], L, H);
    const int left3 = x0 + 2 * L + 2 * G;
    FButtons->Items(3)->SetBounds(left3, r[0], right - left3, H);
    Invalidate();
}

void TCustomButtonPanel::Resize() {
    TCustomControl::Resize();
    ArrangeButtons();
}

void TCustomButtonPanel::InvalidateButton(int Index) {
    if (!Valid(Index) || !HandleAllocated()) return;
    TRect r = FButtons->Items(Index)->BoundsRect();
    InflateRect(r, 8, 8);
    ::InvalidateRect(Handle(), &r, TRUE_);
}

int TCustomButtonPanel::ButtonAtPos(const TPoint& P) const {
    for (int i = 0; i < FButtons->Count(); ++i)
        if (FButtons->Items(i)->BoundsRect().Contains(P)) return i;
    return -1;
}

void TCustomButtonPanel::SetButtonHot(int Index) {
    if (Index == FButtonHot || Disabled(Index)) return;
    const int old = FButtonHot;
    FButtonHot = -1;
    InvalidateButton(old);
    FButtonHot = Index;
    if (Index >= 0 && HandleAllocated()) DrawPanelButton(Index, Canvas());
}

void TCustomButtonPanel::SetButtonDown(int Index) {
    if (Index == FButtonDown || Disabled(Index)) return;
    const int old = FButtonDown;
    FButtonDown = -1;
    InvalidateButton(old);
    FButtonDown = Index;
    if (Index >= 0 && HandleAllocated()) DrawPanelButton(Index, Canvas());
}

void TCustomButtonPanel::ButtonClicked(int Index) {
    if (OnButtonClick) OnButtonClick(this, Index);
}

void TCustomButtonPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    const int i = ButtonAtPos(Point(X, Y));
    if (i >= 0 && !Disabled(i)) SetButtonDown(i);
}

void TCustomButtonPanel::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    const int i = ButtonAtPos(Point(X, Y));
    if (i != FButtonHot) SetButtonHot(Disabled(i) ? -1 : i);
}

void TCustomButtonPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (FButtonDown < 0) return;
    int i = ButtonAtPos(Point(X, Y));
    if (i != FButtonDown) i = -1;
    SetButtonDown(-1);
    if (i >= 0) ButtonClicked(i);
}

void TCustomButtonPanel::CMMouseLeave(TMessage& Message) {
    TCustomControl::CMMouseLeave(Message);
    SetButtonHot(-1);
}

void TCustomButtonPanel::Paint() {
    TCustomControl::Paint();
    TCanvas* canvas = Canvas();
    // The background, then the frame of a standalone keypad.
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    if (Standalone()) {
        canvas->Brush()->SetStyle(bsClear);
        canvas->Pen()->SetStyle(psSolid);
        canvas->Pen()->SetWidth(1);
        canvas->Pen()->SetColor(clBlack);
        canvas->Rectangle(ClientRect());
    }
    // The hot key last: its halo lies over its neighbours.
    for (int i = 0; i < FButtons->Count(); ++i)
        if (i != FButtonHot) DrawPanelButton(i, canvas);
    if (Valid(FButtonHot)) DrawPanelButton(FButtonHot, canvas);
}

void TCustomButtonPanel::DrawPanelButton(int Index, TCanvas* Canvas) {
    if (!Canvas || !Valid(Index)) return;
    const TButtonItem* item = FButtons->Items(Index);
    const TButtonAppearance& a = *FButtonAppearance;
    TRect R = item->BoundsRect();
    TColor border = a.BorderColor(), fill = a.Color(), fillTo = a.ColorTo(), glow = clNone;
    if (Index == FButtonDown) {
        border = a.BorderColorDown(), fill = a.ColorDown(), fillTo = a.ColorDownTo(), glow = a.GlowColorDown();
    } else if (Index == FButtonHot) {
        border = a.BorderColorHot(), fill = a.ColorHot(), fillTo = a.ColorHotTo(), glow = a.GlowColorHot();
    }
    DrawGlossyButton(Canvas, R, border, a.ShineColor(), glow, fillTo, fill, static_cast<TColor>(0xE7E0C7));

    enum { None, Picture, ListImage } kind = None;
    int w = 0, h = 0;
    if (item->HasImage()) {
        kind = Picture, w = item->Image()->Width(), h = item->Image()->Height();
    } else if (FImages && item->ImageIndex() >= 0) {
        kind = ListImage, w = FImages->Width(), h = FImages->Height();
    }
    TRect T = R;
    InflateRect(T, -FButtonMarginX, -FButtonMarginY);
    Canvas->Font()->Assign(a.Font());
    Canvas->Font()->SetColor(item->Special() ? a.SpecialTextColor() : a.TextColor());
    Canvas->Brush()->SetStyle(bsClear);
    const int y = T.Top + (T.Height() - h) / 2;
    auto drawImage = [&](int x, int top) {
        if (kind == Picture) Canvas->Draw(x, top, item->Image()->Graphic());
        else if (kind == ListImage) FImages->Draw(Canvas, x, top, item->ImageIndex(), item->Enabled());
    };
    const String& caption = item->Caption();
    auto drawCaption = [&](TRect t, bool centre) {
        if (caption.empty()) return;
        DrawText(Canvas->Handle(), caption, -1, &t, DT_SINGLELINE | DT_VCENTER | (centre ? DT_CENTER : 0u));
    };
    switch (FButtonLayout) {
        case ilCaptionLeft:
            if (!caption.empty()) {
                T.Right -= w;
                drawCaption(T, kind == None);
                drawImage(T.Left + MeasureText(Canvas, caption).cx + FCaptionGap, y);
            } else {
                drawImage(T.Left, y);
            }
            break;
        case ilCaptionRight:
            drawImage(T.Left, y);
            if (kind != None) T.Left += w + FCaptionGap;
            drawCaption(T, kind == None);
            break;
        case ilCaptionTop:
            if (!caption.empty()) {
                T.Bottom -= h;
                drawCaption(T, true);
                drawImage(T.Left, T.Top + MeasureText(Canvas, caption).cy + FCaptionGap);
            } else {
                drawImage(T.Left, y);
            }
            break;
        case ilCaptionBottom: {
            const int top = caption.empty() ? y : T.Top;
            drawImage(T.Left, top);
            T.Top = top + h + FCaptionGap;
            drawCaption(T, true);
            break;
        }
    }
}
