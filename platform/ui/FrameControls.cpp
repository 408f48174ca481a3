#include "platform/ui/FrameControls.h"

#include <algorithm>

#include "platform/ui/Graphics.h"

namespace {

void Fill(HDC dc, int left, int top, int right, int bottom, int sysColor) {
    TRect r(left, top, right, bottom);
    FillRect(dc, &r, GetSysColorBrush(sysColor));
}

// The raised or sunken two-pixel frame of a classic button, with the face filled.
void ButtonFrame(HDC dc, TRect r, UINT state) {
    if (state & DFCS_FLAT) {
        DrawEdge(dc, &r, (state & (DFCS_PUSHED | DFCS_CHECKED)) ? EDGE_SUNKEN : EDGE_RAISED,
                 BF_RECT | BF_MIDDLE | BF_FLAT);
    } else if (state & (DFCS_PUSHED | DFCS_CHECKED)) {
        DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
    } else {
        // Raised: a white outer edge and a light inner one at the top left, the dark shadow and
        // the shadow at the bottom right.
        TRect face = r;
        const int tl[2] = {COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT};
        const int br[2] = {COLOR_3DDKSHADOW, COLOR_BTNSHADOW};
        for (int i = 0; i < 2 && face.Width() > 0 && face.Height() > 0; ++i) {
            Fill(dc, face.Left, face.Bottom - 1, face.Right, face.Bottom, br[i]);
            Fill(dc, face.Right - 1, face.Top, face.Right, face.Bottom, br[i]);
            Fill(dc, face.Left, face.Top, face.Right - 1, face.Top + 1, tl[i]);
            Fill(dc, face.Left, face.Top, face.Left + 1, face.Bottom - 1, tl[i]);
            face = TRect(face.Left + 1, face.Top + 1, face.Right - 1, face.Bottom - 1);
        }
        if (face.Width() > 0 && face.Height() > 0) FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
    }
}

// A solid triangle pointing the way of a scroll kind (up, down, left, right), centred in r.
void Arrow(HDC dc, const TRect& r, UINT kind, int sysColor, int dx, int dy) {
    int side = std::min(r.Width(), r.Height());
    int h = std::max(2, (side + 1) / 4);
    int w = 2 * h - 1;
    if (kind == DFCS_SCROLLLEFT || kind == DFCS_SCROLLRIGHT) {
        // The upright triangle turned: h columns, the widest one at the base.
        int x = r.Left + (r.Width() - h) / 2 + dx;
        int y = r.Top + (r.Height() - w) / 2 + dy;
        for (int i = 0; i < h; ++i) {
            int col = kind == DFCS_SCROLLRIGHT ? x + i : x + h - 1 - i;
            Fill(dc, col, y + i, col + 1, y + w - i, sysColor);
        }
        return;
    }
    bool down = kind == DFCS_SCROLLDOWN || kind == DFCS_SCROLLCOMBOBOX;
    int x = r.Left + (r.Width() - w) / 2 + dx;
    int y = r.Top + (r.Height() - h) / 2 + dy;
    for (int i = 0; i < h; ++i) {
        int row = down ? y + i : y + h - 1 - i;
        Fill(dc, x + i, row, x + w - i, row + 1, sysColor);
    }
}

void ScrollButton(HDC dc, TRect r, UINT state) {
    const UINT kind = state & 0xFF;
    if (state & DFCS_FLAT) {
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_FLAT);
    } else if (state & DFCS_PUSHED) {
        // A pressed scroll button: a flat shadow frame, the arrow one pixel down and right.
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_MIDDLE | BF_FLAT);
    } else {
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    }
    int shift = (state & DFCS_PUSHED) ? 1 : 0;
    if (state & DFCS_INACTIVE) {
        Arrow(dc, r, kind, COLOR_BTNHIGHLIGHT, shift + 1, shift + 1);
        Arrow(dc, r, kind, COLOR_BTNSHADOW, shift, shift);
    } else {
        Arrow(dc, r, kind, COLOR_BTNTEXT, shift, shift);
    }
}

// The square of a check box or the circle of a radio button: a sunken box at the top left of
// the rectangle, the size of its shorter side.
TRect IndicatorBox(const TRect& r) {
    int side = std::min(r.Width(), r.Height());
    int x = r.Left + (r.Width() - side) / 2;
    int y = r.Top + (r.Height() - side) / 2;
    return TRect(x, y, x + side, y + side);
}

void CheckBox(HDC dc, const TRect& r, UINT state) {
    TRect box = IndicatorBox(r);
    bool grey = (state & (DFCS_INACTIVE | DFCS_PUSHED)) ||
                ((state & 0xFF) == DFCS_BUTTON3STATE && (state & DFCS_CHECKED));
    DrawEdge(dc, &box, EDGE_SUNKEN, BF_RECT | BF_ADJUST | ((state & DFCS_FLAT) ? BF_FLAT : 0));
    FillRect(dc, &box, GetSysColorBrush(grey ? COLOR_BTNFACE : COLOR_WINDOW));
    if (!(state & DFCS_CHECKED)) return;
    // The tick: seven columns, three pixels high, falling then rising.
    static const int kDrop[7] = {2, 3, 4, 3, 2, 1, 0};
    int scale = std::max(1, box.Width() / 9);
    int w = 7 * scale;
    int x = box.Left + (box.Width() - w) / 2;
    int y = box.Top + (box.Height() - 7 * scale) / 2;
    int color = (state & DFCS_INACTIVE) || (state & 0xFF) == DFCS_BUTTON3STATE ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT;
    for (int c = 0; c < 7; ++c) {
        int top = y + kDrop[c] * scale;
        Fill(dc, x + c * scale, top, x + (c + 1) * scale, top + 3 * scale, color);
    }
}

void RadioButton(HDC dc, const TRect& r, UINT state) {
    TCanvas* c = TCanvas::FromHandle(dc);
    TRect box = IndicatorBox(r);
    TColor oldPen = c->Pen()->Color();
    TColor oldBrush = c->Brush()->Color();
    TBrushStyle oldStyle = c->Brush()->Style();
    bool grey = state & (DFCS_INACTIVE | DFCS_PUSHED);
    c->Brush()->SetStyle(bsSolid);
    // Sunken ring: shadow above, highlight below, then the dark inner ring and the face.
    c->Pen()->SetColor(clBtnHighlight);
    c->Brush()->SetColor(clBtnHighlight);
    c->Ellipse(box);
    c->Pen()->SetColor(clBtnShadow);
    c->Brush()->SetColor(clBtnShadow);
    c->Ellipse(box.Left, box.Top, box.Right - 1, box.Bottom - 1);
    TRect inner(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1);
    c->Pen()->SetColor(cl3DDkShadow);
    c->Brush()->SetColor(grey ? clBtnFace : clWindow);
    c->Ellipse(inner);
    if (state & DFCS_CHECKED) {
        int d = std::max(2, box.Width() / 3);
        int x = box.Left + (box.Width() - d) / 2;
        int y = box.Top + (box.Height() - d) / 2;
        TColor dot = (state & DFCS_INACTIVE) ? clBtnShadow : clWindowText;
        c->Pen()->SetColor(dot);
        c->Brush()->SetColor(dot);
        c->Ellipse(x, y, x + d, y + d);
    }
    c->Pen()->SetColor(oldPen);
    c->Brush()->SetColor(oldBrush);
    c->Brush()->SetStyle(oldStyle);
}

}  // namespace

BOOL DrawFrameControl(HDC dc, TRect* rect, UINT type, UINT state) {
    if (!rect || !TCanvas::FromHandle(dc)) return FALSE_;
    UINT kind = state & 0xFF;
    if (type == DFC_BUTTON) {
        if (kind == DFCS_BUTTONPUSH) {
            ButtonFrame(dc, *rect, state);
            if (state & DFCS_ADJUSTRECT) {
                int edge = (state & DFCS_FLAT) ? 1 : 2;
                *rect = TRect(rect->Left + edge, rect->Top + edge, rect->Right - edge, rect->Bottom - edge);
            }
            return TRUE_;
        }
        if (kind == DFCS_BUTTONCHECK || kind == DFCS_BUTTON3STATE) {
            CheckBox(dc, *rect, state);
            return TRUE_;
        }
        if (kind == DFCS_BUTTONRADIO) {
            RadioButton(dc, *rect, state);
            return TRUE_;
        }
        return FALSE_;
    }
    if (type == DFC_SCROLL && (kind == DFCS_SCROLLUP || kind == DFCS_SCROLLDOWN || kind == DFCS_SCROLLLEFT || kind == DFCS_SCROLLRIGHT ||
                                kind == DFCS_SCROLLCOMBOBOX)) {
        ScrollButton(dc, *rect, state);
        if (state & DFCS_ADJUSTRECT) *rect = TRect(rect->Left + 2, rect->Top + 2, rect->Right - 2, rect->Bottom - 2);
        return TRUE_;
    }
    return FALSE_;
}
