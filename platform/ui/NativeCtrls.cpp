#include "platform/ui/NativeCtrls.h"

#include <algorithm>

#include "platform/ui/backend/Backend.h"
#include "platform/ui/Clipbrd.h"

namespace ui {

// The edit controls share the application's clipboard, so what they copy pastes elsewhere and
// headless runs keep to the private store.
String NativeClipboardText() { return Clipboard()->AsText(); }

void SetNativeClipboardText(const String& text) { Clipboard()->SetAsText(text); }

}  // namespace ui

TNativeControl::TNativeControl(TComponent* AOwner) : TWinControl(AOwner) {}

void TNativeControl::CMFontChanged(TMessage& Message) {
    TWinControl::CMFontChanged(Message);
    ApplyLooks();
}

TNativeControl::~TNativeControl() {
    // The view goes before the widget it lives in.
    FView.reset();
}

void TNativeControl::CreateWnd() {
    TWinControl::CreateWnd();
    if (Peer()) FView = MakeView(ui::GetBackend(), *Peer());
    if (FView) {
        FView->SetFrameInsets(FrameInsets());
        if (FOwnerPainted) FView->SetOwnerPainted(true);
        ApplyLooks();
        InitView();
    }
}

void TNativeControl::ViewChanged() {
    // An owner-painted control shows the widget's picture in its own image: paint it again.
    if (FOwnerPainted && FView && !(FCanvas && FCanvas->Painting())) Invalidate();
}

void TNativeControl::RefreshView() {
    if (!FView) return;
    InitView();
    ViewChanged();
}

void TNativeControl::SetOwnerPainted(bool value) {
    FOwnerPainted = value;
    if (FView) FView->SetOwnerPainted(value);
    if (FView && value && FNativePicture) FView->SetOverlay(*FNativePicture, *FNativePicture);  // nothing over a hidden widget
    Invalidate();
}

TCanvas* TNativeControl::Canvas() {
    ui::CheckUiThread("Canvas");
    if (FItemCanvas) return FItemCanvas;
    return ui::OwnCanvas(this, FCanvas);
}

TRect TNativeControl::FrameInsets() const {
    TRect area = ClientArea();
    return TRect(area.Left, area.Top, std::max(0, Width() - area.Right), std::max(0, Height() - area.Bottom));
}

void TNativeControl::FrameWidthsChanged() {
    FNativePicture.reset();
    if (FView) FView->SetFrameInsets(FrameInsets());
}

bool TNativeControl::RenderNative(TBitmap& picture) {
    if (!FView) return false;
    TRect area = ClientArea();
    picture.SetSize(area.Width(), area.Height());
    if (TBitmap* image = BackingImage(); image && !area.IsEmpty())
        picture.Canvas()->CopyRect(Rect(0, 0, area.Width(), area.Height()), image->Canvas(), area);
    FView->Render(picture);
    return true;
}

void TNativeControl::PaintNative(TCanvas* canvas) {
    TBitmap picture;
    if (RenderNative(picture)) canvas->Draw(0, 0, &picture);
}

void TNativeControl::Paint() { PaintNative(Canvas()); }

void TNativeControl::PaintWindow(HDC DC) {
    if (!FCanvas) FCanvas = std::make_unique<TControlCanvas>(this);
    TPaintScope scope(*FCanvas, DC);
    if (FOwnerPainted) {
        Paint();
        return;
    }
    // The widget shows itself; its picture is what anything drawn in the image is told apart
    // from. Parts the component kept out of the DC (ExcludeClipRect) keep its own drawing there.
    TBitmap picture;
    if (!RenderNative(picture)) return;
    FCanvas->Draw(0, 0, &picture);
    TBitmap* image = BackingImage();
    if (!image || FCanvas->Bitmap() != image) return;
    if (!FNativePicture || FNativePicture->Width() != picture.Width() || FNativePicture->Height() != picture.Height())
        FNativePicture = std::make_unique<TBitmap>(picture.Width(), picture.Height());
    TRect drawn = IntersectRects(FCanvas->ClipRect(), Rect(0, 0, picture.Width(), picture.Height()));
    if (!drawn.IsEmpty()) FNativePicture->Canvas()->CopyRect(drawn, picture.Canvas(), drawn);
}

void TNativeControl::PaintPassEnded() {
    TBitmap* image = BackingImage();
    if (FOwnerPainted || !FView || !FNativePicture || !image) return;
    TRect area = ClientArea();
    if (FNativePicture->Width() != area.Width() || FNativePicture->Height() != area.Height()) return;
    // What the pass left in the client area, against the widget's own picture.
    TBitmap painted(area.Width(), area.Height());
    painted.Canvas()->CopyRect(Rect(0, 0, area.Width(), area.Height()), image->Canvas(), area);
    FView->SetOverlay(painted, *FNativePicture);
}

bool TNativeControl::DrawOwnerItem(int index, const TRect& rect, TOwnerDrawState st, TBitmap& target) {
    if (!OwnerDrawsItems()) return false;
    TCanvas* c = target.Canvas();
    c->Font()->Assign(Font());
    c->Brush()->SetColor(st.Contains(odSelected) ? clHighlight : Color());
    if (st.Contains(odSelected)) c->Font()->SetColor(clHighlightText);
    FItemCanvas = c;
    try {
        DrawItem(index, rect, st);
    } catch (...) {
        FItemCanvas = nullptr;
        throw;
    }
    FItemCanvas = nullptr;
    return true;
}

int TNativeControl::MeasureOwnerItem(int index) {
    if (!OwnerDrawsItems()) return -1;
    int h = -1;
    MeasureItem(index, h);
    return h;
}

void TNativeControl::DestroyWnd() {
    FView.reset();
    FNativePicture.reset();
    TWinControl::DestroyWnd();
}

void TNativeControl::ApplyLooks() {
    if (!FView) return;
    FView->SetFont(*Font());
    FView->SetColors(ShownColor(), ShownTextColor());
    ViewChanged();
}

TColor TNativeControl::ShownColor() const { return !Enabled() && Color() == clWindow ? clBtnFace : Color(); }

TColor TNativeControl::ShownTextColor() const { return Enabled() ? Font()->Color() : clGrayText; }

void TNativeControl::CMEnabledChanged(TMessage& Message) {
    TWinControl::CMEnabledChanged(Message);
    ApplyLooks();
}

void TNativeControl::CMColorChanged(TMessage& Message) {
    ApplyLooks();
    TWinControl::CMColorChanged(Message);
}

void TNativeControl::AddBorderStyle(TCreateParams& Params) const {
    if (Ctl3D()) Params.ExStyle |= WS_EX_CLIENTEDGE;
    else Params.Style |= WS_BORDER;
}

void TNativeControl::Notify(WORD code) {
    LPARAM window = HandleAllocated() ? reinterpret_cast<LPARAM>(Handle()) : 0;
    Perform(CN_COMMAND, MAKEWPARAM(0, code), window);
}

void TNativeControl::FocusOnClick() {
    if (!Focused() && CanFocus()) SetFocus();
}
