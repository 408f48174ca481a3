#include "platform/ui/NativeCtrls.h"

#include "platform/ui/Backend.h"
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
    if (!FCanvas) FCanvas = std::make_unique<TControlCanvas>(this);
    if (!FCanvas->Painting()) {
        HandleNeeded();
        FCanvas->UpdateTarget();
    }
    return FCanvas.get();
}

void TNativeControl::PaintNative(TCanvas* canvas) {
    if (!FView) return;
    TBitmap picture(Width(), Height());
    FView->Render(picture);
    canvas->Draw(0, 0, &picture);
}

void TNativeControl::Paint() { PaintNative(Canvas()); }

void TNativeControl::PaintWindow(HDC DC) {
    if (!FCanvas) FCanvas = std::make_unique<TControlCanvas>(this);
    TPaintScope scope(*FCanvas, DC);
    if (FOwnerPainted) {
        Paint();
        return;
    }
    // The widget shows itself; its picture in the image is what anything drawn later is told
    // apart from.
    PaintNative(FCanvas.get());
    TBitmap* image = BackingImage();
    if (!image || FCanvas->Bitmap() != image) return;
    if (!FNativePicture || FNativePicture->Width() != image->Width() || FNativePicture->Height() != image->Height())
        FNativePicture = std::make_unique<TBitmap>(image->Width(), image->Height());
    TRect drawn = FCanvas->ClipRect();
    TRect area = ClientArea();
    TRect at = OffsetRectBy(drawn, area.Left, area.Top);
    if (!at.IsEmpty()) FNativePicture->Canvas()->CopyRect(at, image->Canvas(), at);
}

void TNativeControl::PaintPassEnded() {
    if (FOwnerPainted || !FView || !FNativePicture || !BackingImage()) return;
    FView->SetOverlay(*BackingImage(), *FNativePicture);
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
    FView->SetColors(Color(), Font()->Color());
    ViewChanged();
}

void TNativeControl::CMColorChanged(TMessage& Message) {
    ApplyLooks();
    TWinControl::CMColorChanged(Message);
}

void TNativeControl::FocusOnClick() {
    if (!Focused() && CanFocus()) SetFocus();
}
