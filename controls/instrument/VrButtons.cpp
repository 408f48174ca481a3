#include "controls/instrument/VrButtons.h"

#include <algorithm>

#include "platform/win/Messages.h"

namespace {
bool IsSpace(WORD key) { return key == VK_SPACE; }

// The outline: FocusColor while focused, else OutlineColor, the same on every side.
TRect DrawOutline(TCanvas* c, const TRect& r, bool focused, TColor focusColor, TColor outlineColor, int width) {
    TColor color = focused ? focusColor : outlineColor;
    return DrawFrame3D(c, r, color, color, width);
}

// The caption's accelerator on an enabled button: OnClick, through the platform's own click.
bool AccelClick(TControl* button, TMessage& Message) {
    if (!button->Enabled() || !IsAccel(static_cast<WORD>(Message.WParam), button->Caption())) return false;
    button->TControl::Click();
    Message.Result = 1;
    return true;
}

// Focus moved somewhere on the form: true when that changed whether this button has it.
bool FocusMoved(const TControl* button, TMessage& Message, bool& focused) {
    bool now = reinterpret_cast<const TControl*>(Message.LParam) == button;
    if (now == focused) return false;
    focused = now;
    return true;
}
}  // namespace

// TVrDemoButton -------------------------------------------------------------------------------

TVrDemoButton::TVrDemoButton(TComponent* AOwner)
    : TVrCustomImageControl(AOwner),
      FBitmap(std::make_unique<TBitmap>()),
      FFontEnter(std::make_unique<TFont>()),
      FFontLeave(std::make_unique<TFont>()),
      FFont3D(std::make_unique<TVrFont3D>()) {
    FControlStyle = FControlStyle + TControlStyle{csOpaque} - TControlStyle{csDoubleClicks};
    SetBounds(Left(), Top(), 150, 25);
    for (TFont* f : {FFontEnter.get(), FFontLeave.get()}) {
        f->SetName(String("Arial"));
        f->SetSize(12);
        f->SetStyle(TFontStyles() << fsBold);
    }
    FFontEnter->SetColor(0x0000FF);
    FFontLeave->SetColor(0x000000);
    auto repaint = [this](TPersistent*) { RequestRepaint(); };
    FBitmap->OnChange = repaint;
    FFontEnter->OnChange = repaint;
    FFontLeave->OnChange = repaint;
    FFont3D->OnChange = repaint;
}

TVrDemoButton::~TVrDemoButton() = default;

void TVrDemoButton::SetBevelWidth(TVrByteInt value) { SetLook(FBevelWidth, value); }
void TVrDemoButton::SetOutlineWidth(int value) { SetLook(FOutlineWidth, value); }
void TVrDemoButton::SetOutlineColor(TColor value) { SetLook(FOutlineColor, value); }
void TVrDemoButton::SetShadowColor(TColor value) { SetLook(FShadowColor, value); }
void TVrDemoButton::SetHighlightColor(TColor value) { SetLook(FHighlightColor, value); }
void TVrDemoButton::SetFocusColor(TColor value) { SetLook(FFocusColor, value); }
void TVrDemoButton::SetTextAlignment(TVrTextAlignment value) { SetLook(FTextAlignment, value); }
void TVrDemoButton::SetDisabledTextColor(TColor value) { SetLook(FDisabledTextColor, value); }
void TVrDemoButton::SetFlat(bool value) { SetLook(FFlat, value); }

void TVrDemoButton::Paint() {
    ClearImage();
    TCanvas* c = BitmapImage()->Canvas();
    TRect r = ClientRect();
    if (FDown) OffsetRect(r, 1, 1);
    if (!FBitmap->Empty()) TileBitmap(c, r, FBitmap.get());

    r = DrawOutline(c, ClientRect(), FFocused, FFocusColor, FOutlineColor, FOutlineWidth);
    if (FDown)
        r = DrawFrame3D(c, r, FShadowColor, FHighlightColor, FBevelWidth);
    else if (!FFlat || FHasMouse)
        r = DrawFrame3D(c, r, FHighlightColor, FShadowColor, FBevelWidth);
    else
        InflateRect(r, -FBevelWidth, -FBevelWidth);

    c->Font()->Assign(FHasMouse && Enabled() ? FFontEnter.get() : FFontLeave.get());
    if (!Enabled()) c->Font()->SetColor(FDisabledTextColor);
    c->Brush()->SetStyle(bsClear);
    if (FDown) OffsetRect(r, 1, 1);
    FFont3D->Paint(c, r, Caption(), VrTextAlignmentFlags(FTextAlignment));
    TVrCustomImageControl::Paint();
}

void TVrDemoButton::PressStart() {
    FPressed = true;
    FDown = true;
    SetMouseCapture(true);
    if (TabStop() && CanFocus()) SetFocus();
    RequestRepaint();
}

void TVrDemoButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    // A double-click arrives as a second press: the style takes no double-click messages.
    if (Button == mbLeft && ClientRect().Contains(Point(X, Y))) PressStart();
    TVrCustomImageControl::MouseDown(Button, Shift, X, Y);
}

void TVrDemoButton::MouseMove(TShiftState Shift, int X, int Y) {
    if (FPressed) {
        bool inside = ClientRect().Contains(Point(X, Y));
        if (inside != FDown) {
            FDown = inside;
            RequestRepaint();
        }
    }
    TVrCustomImageControl::MouseMove(Shift, X, Y);
}

void TVrDemoButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        SetMouseCapture(false);
        bool click = FPressed && FDown;
        FPressed = false;
        FDown = false;
        if (click) {
            RequestRepaint();
            TControl::Click();
        }
    }
    TVrCustomImageControl::MouseUp(Button, Shift, X, Y);
}

void TVrDemoButton::KeyDown(WORD& Key, TShiftState Shift) {
    if (IsSpace(Key) && !FDown) PressStart();
    TVrCustomImageControl::KeyDown(Key, Shift);
}

void TVrDemoButton::KeyUp(WORD& Key, TShiftState Shift) {
    if (IsSpace(Key)) {
        SetMouseCapture(false);
        bool click = FPressed && FDown;
        FPressed = false;
        if (click) {
            FDown = false;
            RequestRepaint();
            TControl::Click();
        }
    }
    TVrCustomImageControl::KeyUp(Key, Shift);
}

void TVrDemoButton::CMMouseEnter(TMessage& Message) {
    TVrCustomImageControl::CMMouseEnter(Message);
    FHasMouse = true;
    RequestRepaint();
}

void TVrDemoButton::CMMouseLeave(TMessage& Message) {
    TVrCustomImageControl::CMMouseLeave(Message);
    FHasMouse = false;
    RequestRepaint();
}

void TVrDemoButton::CMEnabledChanged(TMessage& Message) {
    TVrCustomImageControl::CMEnabledChanged(Message);
    RequestRepaint();
}

void TVrDemoButton::CMTextChanged(TMessage& Message) {
    TVrCustomImageControl::CMTextChanged(Message);
    RequestRepaint();
}

void TVrDemoButton::CMDialogChar(TMessage& Message) {
    if (!AccelClick(this, Message)) TVrCustomImageControl::CMDialogChar(Message);
}

void TVrDemoButton::CMFocusChanged(TMessage& Message) {
    if (FocusMoved(this, Message, FFocused)) RequestRepaint();
}

// TVrPowerButton ------------------------------------------------------------------------------

TVrPowerButton::TVrPowerButton(TComponent* AOwner)
    : TVrCustomImageControl(AOwner), FPalette(std::make_unique<TVrPalette>()) {
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csReplicatable};
    SetBounds(Left(), Top(), 125, 25);
    FPalette->OnChange = [this](TPersistent*) { RequestRepaint(); };
}

TVrPowerButton::~TVrPowerButton() = default;

void TVrPowerButton::SetActive(bool value) { SetLook(FActive, value); }
void TVrPowerButton::SetBevelWidth(TVrByteInt value) { SetLook(FBevelWidth, value); }
void TVrPowerButton::SetHighlightColor(TColor value) { SetLook(FHighlightColor, value); }
void TVrPowerButton::SetShadowColor(TColor value) { SetLook(FShadowColor, value); }
void TVrPowerButton::SetOutlineColor(TColor value) { SetLook(FOutlineColor, value); }
void TVrPowerButton::SetOutlineWidth(TVrByteInt value) { SetLook(FOutlineWidth, value); }
void TVrPowerButton::SetFocusColor(TColor value) { SetLook(FFocusColor, value); }

namespace {
template <class T>
bool StoreChanged(T& field, T value) {
    if (field == value) return false;
    field = value;
    return true;
}
}  // namespace

void TVrPowerButton::SetLedWidth(TVrMaxInt value) {
    if (StoreChanged(FLedWidth, std::max<TVrMaxInt>(0, value))) CalcPaintParams(true);
}
void TVrPowerButton::SetLedHeight(TVrMaxInt value) {
    if (StoreChanged(FLedHeight, std::max<TVrMaxInt>(0, value))) CalcPaintParams(true);
}
void TVrPowerButton::SetSpacing(int value) {
    if (StoreChanged(FSpacing, value)) CalcPaintParams(true);
}
void TVrPowerButton::SetMargin(int value) {
    if (StoreChanged(FMargin, value)) CalcPaintParams(true);
}
void TVrPowerButton::SetLayout(TVrImageTextLayout value) {
    if (StoreChanged(FLayout, value)) CalcPaintParams(true);
}

void TVrPowerButton::CalcPaintParams(bool repaint) {
    TRect r = ClientRect();
    int border = FBevelWidth + FOutlineWidth;
    InflateRect(r, -border, -border);
    TBitmap* image = BitmapImage();
    if (image->Empty()) image->SetSize(std::max(1, Width()), std::max(1, Height()));  // a surface to measure on
    TCanvas* c = image->Canvas();
    c->Font()->Assign(Font());
    TPoint glyph;
    CalcButtonLayout(c, r, FTextBounds, glyph, Point(FLedWidth, FLedHeight), FSpacing, FMargin,
                     static_cast<int>(FLayout) + 1, Caption());
    FImageRect = Bounds(glyph.X, glyph.Y, FLedWidth, FLedHeight);
    if (repaint) RequestRepaint();
}

void TVrPowerButton::Paint() {
    CalcPaintParams(false);
    ClearImage();
    TCanvas* c = BitmapImage()->Canvas();
    TRect r = DrawOutline(c, ClientRect(), FFocused, FFocusColor, FOutlineColor, FOutlineWidth);
    if (FPressed) {
        r = DrawFrame3D(c, ClientRect(), FOutlineColor, FHighlightColor, FOutlineWidth);
        DrawFrame3D(c, r, FShadowColor, FOutlineColor, FBevelWidth);
    } else {
        DrawFrame3D(c, r, FHighlightColor, FShadowColor, FBevelWidth);
    }

    TRect lamp = DrawFrame3D(c, FImageRect, FShadowColor, FHighlightColor, 1);
    lamp = DrawFrame3D(c, lamp, clBlack, clBlack, 1);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Enabled() ? FPalette->GetColors(FActive ? 1 : 0) : Color());
    c->FillRect(lamp);

    c->Font()->Assign(Font());
    DrawButtonText(c, Caption(), FTextBounds, Enabled());
    TVrCustomImageControl::Paint();
}

void TVrPowerButton::Resize() {
    CalcPaintParams(true);
    TVrCustomImageControl::Resize();
}

void TVrPowerButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        FDown = true;
        FPressed = true;
        RequestRepaint();
        if (TabStop() && CanFocus()) SetFocus();
    }
    TVrCustomImageControl::MouseDown(Button, Shift, X, Y);
}

void TVrPowerButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    bool toggled = false;
    if (Button == mbLeft) {
        FDown = false;
        if (FPressed) {
            FPressed = false;
            SetActive(!FActive);
            toggled = true;
        }
    }
    TVrCustomImageControl::MouseUp(Button, Shift, X, Y);
    if (toggled) TControl::Click();
}

void TVrPowerButton::DoMouseEnter() {
    if (FDown) FPressed = true;
    RequestRepaint();
    TVrCustomImageControl::DoMouseEnter();
}

void TVrPowerButton::DoMouseLeave() {
    if (FDown) FPressed = false;
    RequestRepaint();
    TVrCustomImageControl::DoMouseLeave();
}

void TVrPowerButton::KeyDown(WORD& Key, TShiftState Shift) {
    if (IsSpace(Key)) {
        FPressed = true;
        FSpacePressed = true;
        RequestRepaint();
    }
    TVrCustomImageControl::KeyDown(Key, Shift);
}

void TVrPowerButton::KeyUp(WORD& Key, TShiftState Shift) {
    if (IsSpace(Key)) {
        SetMouseCapture(false);
        FPressed = false;
        // Only the key-up of this button's own key-down toggles: a Space released just after the
        // focus arrived belongs to another control.
        if (FSpacePressed) {
            FSpacePressed = false;
            SetActive(!FActive);
            TControl::Click();
        } else {
            RequestRepaint();
        }
    }
    TVrCustomImageControl::KeyUp(Key, Shift);
}

void TVrPowerButton::CMFontChanged(TMessage& Message) {
    TVrCustomImageControl::CMFontChanged(Message);
    CalcPaintParams(true);
}

void TVrPowerButton::CMTextChanged(TMessage& Message) {
    TVrCustomImageControl::CMTextChanged(Message);
    if (HandleAllocated()) CalcPaintParams(true);
}

void TVrPowerButton::CMEnabledChanged(TMessage& Message) {
    TVrCustomImageControl::CMEnabledChanged(Message);
    RequestRepaint();
}

void TVrPowerButton::CMDialogChar(TMessage& Message) {
    if (!AccelClick(this, Message)) TVrCustomImageControl::CMDialogChar(Message);
}

void TVrPowerButton::CMFocusChanged(TMessage& Message) {
    if (FocusMoved(this, Message, FFocused)) RequestRepaint();
}
