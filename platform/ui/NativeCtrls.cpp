#include "platform/ui/NativeCtrls.h"

#include <algorithm>
#include <utility>

#include "platform/ui/backend/Backend.h"
#include "platform/ui/backend/Canvas.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Imm.h"
#include "platform/win/Window.h"

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
    *FAlive = false;
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
    FNativeStale = true;
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
    if (FView && value && FNativePicture)  // nothing over a hidden widget
        FView->SetOverlay(*FNativePicture, *FNativePicture, Rect(0, 0, FNativePicture->Width(), FNativePicture->Height()));
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
    FNativeStale = true;
    if (FView) FView->SetFrameInsets(FrameInsets());
}

bool TNativeControl::RenderNative(TBitmap& picture) {
    if (!FView) return false;
    ++FNativeRenders;
    TRect area = ClientArea();
    picture.SetSize(area.Width(), area.Height());
    if (TBitmap* image = BackingImage(); image && !area.IsEmpty())
        picture.Canvas()->CopyRect(Rect(0, 0, area.Width(), area.Height()), image->Canvas(), area);
    FView->Render(picture);
    return true;
}

TBitmap* TNativeControl::NativePicture() {
    if (!FView) return nullptr;
    TRect area = ClientArea();
    bool fits = FNativePicture && FNativePicture->Width() == area.Width() && FNativePicture->Height() == area.Height();
    if (!fits || FNativeStale || FView->PictureChanged()) {
        if (!FNativePicture) FNativePicture = std::make_unique<TBitmap>();
        RenderNative(*FNativePicture);
        FNativeStale = false;
    }
    return FNativePicture.get();
}

void TNativeControl::PaintNative(TCanvas* canvas) {
    if (TBitmap* picture = NativePicture()) canvas->Draw(0, 0, picture);
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
    // The picture is made again only when the widget may look otherwise.
    FPassPart = ui::Region();
    TBitmap* image = BackingImage();
    if (!image || FCanvas->Bitmap() != image) {
        // Drawn elsewhere (PaintTo): the widget as the screen shows it now, over what the window
        // shows under it, as the widget itself is shown.
        TBitmap shown;
        if (RenderNative(shown)) FCanvas->Draw(0, 0, &shown);
        return;
    }
    TBitmap* picture = NativePicture();
    if (!picture) return;
    TRect area = ClientArea();
    FCanvas->Draw(0, 0, picture);
    // The part of the client area the pass repaints (device coordinates: the paint DC's invalid
    // part, else its box), and whether the widget's picture covers all of it: a component may
    // have painted a part itself and kept it out of the DC.
    const TCanvasDc& dc = FCanvas->Dc();
    ui::Region repainted(area);
    if (dc.hasDeviceRegion) repainted = repainted & dc.deviceRegion;
    else if (dc.hasDeviceClip) repainted = repainted & ui::Region(dc.deviceClip);
    FPassCovered = FCanvas->Visible() == repainted;
    FPassPart = repainted.Translated(-area.Left, -area.Top);
    // From here on, a change of the image is the component's own drawing.
    image->SetModified(false);
}

void TNativeControl::PaintPassEnded() {
    TBitmap* image = BackingImage();
    ui::Region part = std::exchange(FPassPart, ui::Region());
    if (FOwnerPainted || !FView || !FNativePicture || !image || part.IsEmpty()) return;
    TRect area = ClientArea();
    if (FNativePicture->Width() != area.Width() || FNativePicture->Height() != area.Height()) return;
    // Nothing drawn over the widget's picture: nothing shows over the widget where it was drawn.
    if (FPassCovered && !image->Modified()) {
        for (const TRect& r : part.Rects()) FView->SetOverlay(*FNativePicture, *FNativePicture, r);
        return;
    }
    // What the pass left there, against the widget's own picture.
    if (!FPainted || FPainted->Width() != area.Width() || FPainted->Height() != area.Height())
        FPainted = std::make_unique<TBitmap>(area.Width(), area.Height());
    for (const TRect& r : part.Rects()) {
        FPainted->Canvas()->CopyRect(r, image->Canvas(), OffsetRectBy(r, area.Left, area.Top));
        FView->SetOverlay(*FPainted, *FNativePicture, r);
    }
}

void TNativeControl::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
        case WM_IME_COMPOSITION:
            if ((Message.LParam & GCS_COMPSTR) && FView && HandleAllocated()) {
                HIMC context = ImmGetContext(Handle());
                String text = ui::CompositionString(context, GCS_COMPSTR);
                LONG cursor = ImmGetCompositionString(context, GCS_CURSORPOS, nullptr, 0);
                ImmReleaseContext(Handle(), context);
                ViewChange<ui::NativeView> v(this);
                v->SetComposition(text, std::max<LONG>(0, cursor));
            }
            break;
        case WM_IME_ENDCOMPOSITION:
            if (FView) {
                ViewChange<ui::NativeView> v(this);
                v->SetComposition(String(), 0);
            }
            break;
        default: break;
    }
    TWinControl::DefaultHandler(Message);
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
    FPainted.reset();
    FNativeStale = true;
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

bool TNativeControl::Notify(WORD code) {
    std::shared_ptr<bool> alive = FAlive;
    WPARAM wParam = MAKEWPARAM(0, code);
    if (HandleAllocated() && Parent() && Parent()->HandleAllocated())
        SendMessage(Parent()->Handle(), WM_COMMAND, wParam, reinterpret_cast<LPARAM>(Handle()));
    else
        Perform(CN_COMMAND, wParam, HandleAllocated() ? reinterpret_cast<LPARAM>(Handle()) : 0);
    return *alive;
}

void TNativeControl::FocusOnClick() {
    if (!Focused() && CanFocus()) SetFocus();
}
