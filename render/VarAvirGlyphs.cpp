// Button glyphs in their four looks, the error underline and the layered-window calls.
#include <algorithm>
#include <vector>

#include "platform/ui/FrameControls.h"
#include "platform/ui/Modules.h"
#include "platform/ui/NativePeers.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/Themes.h"
#include "render/VarAvir.h"
#include "render/VarAvirImpl.h"

using namespace varavir;

namespace {

const TColorTone& ToneOf(const TColorTones& tones, int state) {
    switch (state) {
    case 1: return tones.Hover;
    case 2: return tones.Selected;
    case 3: return tones.Disabled;
    default: return tones.Background;
    }
}

// Paints one visual-style part; false while visual styles are off, and the caller then draws the
// classic look, as a program without the visual-styles library does.
bool DrawThemed(TCanvas* canvas, HWND hwnd, const char16_t* themeClass, int part, int state, const TRect& rect) {
    HTHEME theme = OpenThemeData(hwnd, themeClass);
    if (!theme) return false;
    DrawThemeBackground(theme, canvas->Handle(), part, state, &rect, nullptr);
    CloseThemeData(theme);
    return true;
}

void DrawFrame(TCanvas* canvas, TRect rect, UINT type, UINT state, bool flat) {
    DrawFrameControl(canvas->Handle(), &rect, type, state | (flat ? DFCS_FLAT : 0));
}

void FilledTriangle(TCanvas* canvas, TColor color, TPoint a, TPoint b, TPoint c) {
    SolidPenAndBrush(canvas, color);
    const TPoint points[3] = {a, b, c};
    canvas->Polygon(points, 3);
}

}  // namespace

void DrawComboButton(TCanvas* canvas, HWND hwnd, const TRect& rect, const TColorTones& tones, int state, int style) {
    if (!canvas) return;
    TRect box(rect.Right - 19, rect.Top + 1, rect.Right - 2, rect.Bottom - 1);
    const bool disabled = state == 3;
    switch (style) {
    case 0:
        if (DrawThemed(canvas, hwnd, u"combobox", CP_DROPDOWNBUTTON, disabled ? CBXS_DISABLED : CBXS_NORMAL, box)) return;
        [[fallthrough]];
    case 1:
    case 2: DrawFrame(canvas, box, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (disabled ? DFCS_INACTIVE : 0), style == 2); return;
    case 3: {
        box.Left += 3;
        TCanvasLock lock(canvas);
        SolidPenAndBrush(canvas, ToneOf(tones, state).BrushColor);
        canvas->Rectangle(box);
        SolidPen(canvas, tones.Background.BorderColor);
        Line(canvas, box.Left + 1, box.Top, box.Left + 1, box.Bottom);
        FilledTriangle(canvas, tones.Background.TextColor, {box.Left + 5, box.Top + 8}, {box.Left + 11, box.Top + 8},
                       {box.Left + 8, box.Top + 11});
        return;
    }
    default: return;
    }
}

void DrawPushButton(TCanvas* canvas, HWND hwnd, const TRect& rect, const TColorTones& tones, int state, int style) {
    if (!canvas) return;
    switch (style) {
    case 0: {
        static constexpr int themeStates[4] = {PBS_NORMAL, PBS_HOT, PBS_PRESSED, PBS_DISABLED};
        const int themeState = state >= 0 && state <= 3 ? themeStates[state] : PBS_NORMAL;
        if (DrawThemed(canvas, hwnd, u"button", BP_PUSHBUTTON, themeState, rect)) return;
        [[fallthrough]];
    }
    case 1:
    case 2: {
        static constexpr UINT flags[4] = {0, DFCS_HOT, DFCS_PUSHED, DFCS_INACTIVE};
        DrawFrame(canvas, rect, DFC_BUTTON, DFCS_BUTTONPUSH | (state >= 0 && state <= 3 ? flags[state] : 0), style == 2);
        return;
    }
    case 3: {
        const TColorTone& tone = ToneOf(tones, state);
        SolidPen(canvas, tone.BorderColor);
        canvas->Brush()->SetColor(tone.BrushColor);
        canvas->Rectangle(rect);
        return;
    }
    default: return;
    }
}

void DrawSpinButtons(TCanvas* canvas, HWND hwnd, const TRect& rect, const TColorTones& tones, int state, int style) {
    if (!canvas) return;
    const TRect box(rect.Right - 16, rect.Top - 1, rect.Right - 1, rect.Bottom - 1);
    const int m = box.Top + box.Height() / 2;
    const TRect up(box.Left, box.Top, box.Right, m), down(box.Left, m + 1, box.Right, box.Bottom);
    const bool disabled = state == 3;
    switch (style) {
    case 0:
        if (DrawThemed(canvas, hwnd, u"spin", SPNP_UP, disabled ? UPS_DISABLED : UPS_NORMAL, up)) {
            DrawThemed(canvas, hwnd, u"spin", SPNP_DOWN, disabled ? DNS_DISABLED : DNS_NORMAL, down);
            return;
        }
        [[fallthrough]];
    case 1:
    case 2: {
        const UINT inactive = disabled ? DFCS_INACTIVE : 0;
        DrawFrame(canvas, up, DFC_SCROLL, DFCS_SCROLLUP | inactive, style == 2);
        DrawFrame(canvas, down, DFC_SCROLL, DFCS_SCROLLDOWN | inactive, style == 2);
        return;
    }
    case 3: {
        TCanvasLock lock(canvas);
        SolidPenAndBrush(canvas, ToneOf(tones, state).BrushColor);
        canvas->Rectangle(up);
        canvas->Rectangle(down);
        const int l = box.Left, t = box.Top;
        FilledTriangle(canvas, clBlack, {l + 5, t + 5}, {l + 9, t + 5}, {l + 7, t + 3});
        FilledTriangle(canvas, clBlack, {l + 5, m + 2}, {l + 9, m + 2}, {l + 7, m + 4});
        return;
    }
    default: return;
    }
}

void DrawErrorUnderline(TWinControl* owner, TCanvas* canvas, const String& text, const TRect& rect, int yOffset,
                        int start, int length) {
    if (!owner || !canvas || text.IsEmpty() || length <= 0) return;
    const int count = text.Length();
    start = std::max(start, 0);
    const int last = start + length - 1;
    TPoint from, to;
    bool found = true;
    {
        // The text is laid out by an edit of the owner's, as the cell's editor would show it.
        struct Hidden {
            TEdit* edit;
            ~Hidden() { edit->Free(); }
        } hidden{new TEdit(owner)};
        TEdit* edit = hidden.edit;
        edit->SetVisible(false);
        edit->SetParent(owner);
        edit->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
        edit->SetText(text);
        edit->HandleNeeded();
        auto position = [&](int index, TPoint& p) {
            const LRESULT r = edit->Perform(EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
            if (r == -1) return false;
            p = TPoint(static_cast<int16_t>(LOWORD(static_cast<DWORD>(r))), static_cast<int16_t>(HIWORD(static_cast<DWORD>(r))));
            return true;
        };
        // Beyond the text is decided by the index: the layer's edit also answers for the place
        // after the last character, where the platform's answers nothing.
        if (start >= count) {
            found = position(count - 1, from);
            from.X += 4;
        } else {
            found = position(start, from);
        }
        if (last >= count) {
            found = position(count - 1, to) && found;
            to = TPoint(to.X + 4, from.Y);
        } else {
            found = position(last, to) && found;
        }
    }
    if (!found) return;
    SolidPen(canvas, clRed, 2);
    std::vector<TPoint> points{TPoint(rect.Left + from.X, rect.Top + from.Y + yOffset + 3)};
    const int base = rect.Top + to.Y + yOffset;
    int x = from.X, k = 0;
    for (; x <= to.X; x += 3, ++k) points.emplace_back(rect.Left + x + 3, base + (k % 2 ? 3 : 0));
    points.emplace_back(rect.Left + x + 3, base + (k % 2 ? 3 : 0));
    canvas->Polyline(points);
}

namespace {

template <class Fn>
Fn User32Function(const char* name) {
    HMODULE user32 = GetModuleHandle(u"USER32.DLL");
    return user32 ? reinterpret_cast<Fn>(GetProcAddress(user32, name)) : nullptr;
}

}  // namespace

bool DynUpdateLayeredWindow(HWND hwnd, HDC dstDc, TPoint* dstPoint, TSize* size, HDC srcDc, TPoint* srcPoint,
                            COLORREF colorKey, BLENDFUNCTION* blend, DWORD flags) {
    auto fn = User32Function<TUpdateLayeredWindow>("UpdateLayeredWindow");
    return fn ? fn(hwnd, dstDc, dstPoint, size, srcDc, srcPoint, colorKey, blend, flags) != 0 : true;
}

bool DynSetLayeredWindowAttributes(HWND hwnd, COLORREF colorKey, BYTE alpha, DWORD flags) {
    auto fn = User32Function<TSetLayeredWindowAttributes>("SetLayeredWindowAttributes");
    return fn ? fn(hwnd, colorKey, alpha, flags) != 0 : true;
}
