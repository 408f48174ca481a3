// Layered windows: a constant opacity, or a picture of the window's own with per-pixel alpha.
// The library keeps what was set (WindowLayers.h) and hands it to the peer where the desktop
// shows translucency.
#include "platform/ui/LayeredWindows.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/Handles.h"
#include "platform/ui/WindowLayers.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/backend/Backend.h"

namespace {

// The top-level layered window behind the handle, or nullptr with the error set.
TWinControl* LayeredWindow(HWND hwnd) {
    TWinControl* w = FindControl(hwnd);
    if (!w || !w->HandleAllocated()) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (ui::TopLevelWindow(w) != w || !(w->WindowExStyle() & WS_EX_LAYERED)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return w;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE_;
}

bool Translucent() { return ui::GetBackend().Supports(ui::Capability::TranslucentWindows); }

// The part of a 32-bit source bitmap as the window's premultiplied picture. Opaque: every pixel
// opaque (its colour as it is); otherwise colours above their alpha are held to it, as the
// premultiplied form cannot hold them.
std::unique_ptr<TBitmap> PictureOf(TBitmap& source, const TRect& part, bool opaque) {
    auto picture = std::make_unique<TBitmap>(part.Width(), part.Height(), pf32bit);
    for (int y = 0; y < part.Height(); ++y) {
        const auto* from = static_cast<const uint8_t*>(source.ScanLine(part.Top + y)) + static_cast<size_t>(part.Left) * 4;
        auto* to = static_cast<uint8_t*>(picture->ScanLine(y));
        std::memcpy(to, from, static_cast<size_t>(part.Width()) * 4);
        for (int x = 0; x < part.Width(); ++x) {
            uint8_t* p = to + static_cast<size_t>(x) * 4;
            if (opaque) {
                p[3] = 255;
                continue;
            }
            for (int c = 0; c < 3; ++c) p[c] = std::min(p[c], p[3]);
        }
    }
    picture->PixelsChanged();
    return picture;
}

}  // namespace

BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF crKey, BYTE bAlpha, DWORD dwFlags) {
    (void)crKey;
    TWinControl* w = LayeredWindow(hwnd);
    if (!w) return FALSE_;
    if (dwFlags & ~(LWA_COLORKEY | LWA_ALPHA)) return Fail(ERROR_INVALID_PARAMETER);
    if ((dwFlags & LWA_COLORKEY) || !Translucent()) return Fail(ERROR_NOT_SUPPORTED);
    ui::detail::WindowLayer& layer = ui::detail::LayerOf(w);
    layer.AttributesSet = true;
    layer.Alpha = (dwFlags & LWA_ALPHA) ? bAlpha : 255;
    bool hadPicture = layer.Picture != nullptr;
    layer.Picture.reset();
    if (ui::WidgetPeer* peer = w->Peer()) {
        if (hadPicture) peer->SetLayeredImage(nullptr);
        peer->SetOpacity(layer.Alpha);
    }
    return TRUE_;
}

BOOL GetLayeredWindowAttributes(HWND hwnd, COLORREF* pcrKey, BYTE* pbAlpha, DWORD* pdwFlags) {
    TWinControl* w = LayeredWindow(hwnd);
    if (!w) return FALSE_;
    const ui::detail::WindowLayer* layer = ui::detail::FindLayer(w);
    if (!layer || !layer->AttributesSet || layer->Picture) return Fail(ERROR_INVALID_PARAMETER);
    if (pcrKey) *pcrKey = 0;
    if (pbAlpha) *pbAlpha = layer->Alpha;
    if (pdwFlags) *pdwFlags = LWA_ALPHA;
    return TRUE_;
}

BOOL UpdateLayeredWindow(HWND hwnd, HDC hdcDst, TPoint* pptDst, TSize* psize, HDC hdcSrc, TPoint* pptSrc,
                         COLORREF crKey, BLENDFUNCTION* pblend, DWORD dwFlags) {
    (void)hdcDst;
    (void)crKey;
    TWinControl* w = LayeredWindow(hwnd);
    if (!w) return FALSE_;
    if (dwFlags & ~(ULW_COLORKEY | ULW_ALPHA | ULW_OPAQUE)) return Fail(ERROR_INVALID_PARAMETER);
    if ((dwFlags & ULW_COLORKEY) || !Translucent()) return Fail(ERROR_NOT_SUPPORTED);
    bool alpha = (dwFlags & ULW_ALPHA) != 0 && !(dwFlags & ULW_OPAQUE);
    if (alpha && (!pblend || pblend->BlendOp != AC_SRC_OVER || pblend->BlendFlags != 0 ||
                  (pblend->AlphaFormat & ~AC_SRC_ALPHA) != 0))
        return Fail(ERROR_INVALID_PARAMETER);
    TSize size = psize ? *psize : TSize(w->Width(), w->Height());
    if (size.cx <= 0 || size.cy <= 0) return Fail(ERROR_INVALID_PARAMETER);
    std::unique_ptr<TBitmap> picture;
    if (hdcSrc) {
        TCanvas* canvas = TCanvas::FromHandle(hdcSrc);
        TBitmap* source = canvas ? canvas->Bitmap() : nullptr;
        if (!source || source->PixelFormat() != pf32bit) return Fail(ERROR_INVALID_PARAMETER);
        TPoint from = pptSrc ? *pptSrc : TPoint();
        TRect part = Bounds(from.X, from.Y, size.cx, size.cy);
        if (part.Left < 0 || part.Top < 0 || part.Right > source->Width() || part.Bottom > source->Height())
            return Fail(ERROR_INVALID_PARAMETER);
        picture = PictureOf(*source, part, !(alpha && (pblend->AlphaFormat & AC_SRC_ALPHA)));
    } else if (size.cx != w->Width() || size.cy != w->Height()) {
        return Fail(ERROR_INVALID_PARAMETER);  // no picture for another size
    }
    TPoint at = pptDst ? *pptDst : TPoint(w->Left(), w->Top());
    if (at.X != w->Left() || at.Y != w->Top() || size.cx != w->Width() || size.cy != w->Height())
        w->SetBounds(at.X, at.Y, size.cx, size.cy);
    ui::detail::WindowLayer& layer = ui::detail::LayerOf(w);
    if (picture) layer.Picture = std::move(picture);
    if (picture || layer.Picture) layer.PictureAlpha = alpha ? pblend->SourceConstantAlpha : 255;
    if (ui::WidgetPeer* peer = w->Peer(); peer && layer.Picture) {
        peer->SetLayeredImage(layer.Picture.get());
        peer->SetOpacity(layer.PictureAlpha);
    }
    return TRUE_;
}
