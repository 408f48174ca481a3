#include "platform/ui/Buttons.h"

#include <algorithm>

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
    FControlStyle = TControlStyle() << csCaptureMouse << csDoubleClicks;
    FGlyph->OnChange = [this](TPersistent*) { Invalidate(); };
    SetBounds(0, 0, 23, 22);
}

void TSpeedButton::SetGlyph(TBitmap* value) {
    if (value) FGlyph->Assign(value);
    else FGlyph->SetSize(0, 0);
    // A strip of square images tells how many there are, as the platform guesses it.
    if (FGlyph->Height() > 0 && FGlyph->Width() % FGlyph->Height() == 0) {
        int n = FGlyph->Width() / FGlyph->Height();
        if (n >= 1 && n <= 4) FNumGlyphs = n;
    }
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(TNumGlyphs value) {
    value = std::clamp(value, 1, 4);
    if (FNumGlyphs == value) return;
    FNumGlyphs = value;
    Invalidate();
}

void TSpeedButton::SetGroupIndex(int value) {
    if (FGroupIndex == value) return;
    FGroupIndex = value;
    UpdateExclusive();
}

void TSpeedButton::SetDown(bool value) {
    if (FGroupIndex == 0) value = false;
    if (value == FDown) return;
    if (FDown && !FAllowAllUp) return;
    FDown = value;
    FState = value ? bsExclusive : bsUp;
    Invalidate();
    if (value) UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool value) {
    if (FAllowAllUp == value) return;
    FAllowAllUp = value;
    UpdateExclusive();
}

void TSpeedButton::SetFlat(bool value) {
    if (FFlat == value) return;
    FFlat = value;
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout value) {
    if (FLayout == value) return;
    FLayout = value;
    Invalidate();
}

void TSpeedButton::SetMargin(int value) {
    if (FMargin == value || value < -1) return;
    FMargin = value;
    Invalidate();
}

void TSpeedButton::SetSpacing(int value) {
    if (FSpacing == value) return;
    FSpacing = value;
    Invalidate();
}

void TSpeedButton::SetTransparent(bool value) {
    if (FTransparent == value) return;
    FTransparent = value;
    Invalidate();
}

// Tells the other buttons of the group; the down one among them comes up, and they all take
// this button's AllowAllUp.
void TSpeedButton::UpdateExclusive() {
    if (FGroupIndex == 0 || !Parent()) return;
    TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(FGroupIndex), reinterpret_cast<LPARAM>(this), 0};
    Parent()->Broadcast(m);
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled()) return;
    if (!FDown) {
        FState = bsDown;
        Invalidate();
    }
    FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!FDragging) return;
    TButtonState state = FDown ? bsExclusive : bsUp;
    if (ClientRect().Contains(Point(X, Y))) state = FDown ? bsExclusive : bsDown;
    if (state != FState) {
        FState = state;
        Invalidate();
    }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging || Button != mbLeft) return;
    FDragging = false;
    bool doClick = ClientRect().Contains(Point(X, Y));
    if (FGroupIndex == 0) {
        FState = bsUp;
        Invalidate();
    } else if (doClick) {
        SetDown(!FDown);
        if (FDown) FState = bsExclusive;
        Invalidate();
    } else {
        FState = FDown ? bsExclusive : bsUp;
        Invalidate();
    }
    if (doClick) Click();
}

void TSpeedButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_BUTTONPRESSED: {
            auto* sender = reinterpret_cast<TSpeedButton*>(Message.LParam);
            if (static_cast<int>(Message.WParam) == FGroupIndex && sender != this && sender) {
                if (sender->Down() && FDown) {
                    FDown = false;
                    FState = bsUp;
                    Invalidate();
                }
                FAllowAllUp = sender->AllowAllUp();
            }
            return;
        }
        case CM_MOUSEENTER:
            TGraphicControl::Dispatch(Message);
            FMouseInControl = true;
            if (FFlat && Enabled()) Invalidate();
            return;
        case CM_MOUSELEAVE:
            TGraphicControl::Dispatch(Message);
            FMouseInControl = false;
            if (FFlat && Enabled()) Invalidate();
            return;
        default:
            break;
    }
    TGraphicControl::Dispatch(Message);
}

void TSpeedButton::DrawGlyph(TCanvas* canvas, int x, int y, TButtonState state) {
    if (FGlyph->Empty()) return;
    int gw = FGlyph->Width() / FNumGlyphs, gh = FGlyph->Height();
    if (gw <= 0) return;
    int index = 0;
    bool makeDisabled = false;
    switch (state) {
        case bsDisabled:
            if (FNumGlyphs > 1) index = 1;
            else makeDisabled = true;
            break;
        case bsDown: index = FNumGlyphs > 2 ? 2 : 0; break;
        case bsExclusive: index = FNumGlyphs > 3 ? 3 : (FNumGlyphs > 2 ? 2 : 0); break;
        default: break;
    }
    // The whole strip's bottom-left pixel gives the transparent colour of every image in it.
    TColor transparent = FGlyph->TransparentColor();
    TBitmap part(gw, gh);
    part.Canvas()->CopyRect(Rect(0, 0, gw, gh), FGlyph->Canvas(), Rect(index * gw, 0, index * gw + gw, gh));
    if (makeDisabled) {
        // An image for the disabled state: the glyph's shape embossed in highlight and shadow.
        for (int pass = 0; pass < 2; ++pass) {
            TColor color = pass == 0 ? clBtnHighlight : clBtnShadow;
            int off = pass == 0 ? 1 : 0;
            for (int py = 0; py < gh; ++py) {
                for (int px = 0; px < gw; ++px) {
                    TColor c = part.Canvas()->Pixels(px, py);
                    if (c == transparent) continue;
                    int32_t rgb = ColorToRGB(c);
                    int lum = ((rgb & 0xFF) * 30 + ((rgb >> 8) & 0xFF) * 59 + ((rgb >> 16) & 0xFF) * 11) / 100;
                    if (lum < 0xC0) canvas->SetPixels(x + px + off, y + py + off, color);
                }
            }
        }
        return;
    }
    part.SetTransparentColor(transparent);
    part.SetTransparent(true);
    canvas->Draw(x, y, &part);
}

void TSpeedButton::Paint() {
    TCanvas* c = Canvas();
    if (!Enabled()) {
        FState = bsDisabled;
        FDragging = false;
    } else if (FState == bsDisabled) {
        FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
    }
    TRect r = ClientRect();
    bool pressed = FState == bsDown || FState == bsExclusive;
    if (!FFlat || !FTransparent || pressed) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(FState == bsExclusive && !FFlat ? cl3DLight : clBtnFace);
        c->FillRect(r);
    }
    if (!FFlat) {
        TRect e = r;
        DrawEdge(c->Handle(), &e, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    } else if (pressed || (FMouseInControl && Enabled())) {
        TRect e = r;
        DrawEdge(c->Handle(), &e, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    // Glyph and caption placed by Layout, Margin and Spacing.
    int offset = pressed ? 1 : 0;
    c->SetFont(Font());
    TSize glyph(FGlyph->Empty() ? 0 : FGlyph->Width() / FNumGlyphs, FGlyph->Empty() ? 0 : FGlyph->Height());
    TRect textBounds = Rect(0, 0, r.Width(), 0);
    if (!Caption().empty())
        DrawText(c->Handle(), Caption(), -1, &textBounds, DT_SINGLELINE | DT_CALCRECT);
    else
        textBounds = TRect();
    TSize text(textBounds.Width(), textBounds.Height());
    bool horizontal = FLayout == blGlyphLeft || FLayout == blGlyphRight;
    int room = horizontal ? r.Width() : r.Height();
    int glyphLen = horizontal ? glyph.cx : glyph.cy;
    int textLen = horizontal ? text.cx : text.cy;
    int spacing = FSpacing, margin = FMargin;
    if (glyphLen == 0 || textLen == 0) spacing = 0;
    if (margin == -1) {
        if (spacing == -1) {
            int total = glyphLen + textLen;
            margin = (room - total) / 3;
            spacing = margin;
        } else {
            int total = glyphLen + spacing + textLen;
            margin = (room - total) / 2;
        }
    } else if (spacing == -1) {
        spacing = (room - margin - glyphLen - textLen) / 2;
    }
    TPoint gp, tp;
    switch (FLayout) {
        case blGlyphLeft:
            gp = Point(margin, (r.Height() - glyph.cy) / 2);
            tp = Point(margin + glyph.cx + spacing, (r.Height() - text.cy) / 2);
            break;
        case blGlyphRight:
            gp = Point(r.Width() - margin - glyph.cx, (r.Height() - glyph.cy) / 2);
            tp = Point(r.Width() - margin - glyph.cx - spacing - text.cx, (r.Height() - text.cy) / 2);
            break;
        case blGlyphTop:
            gp = Point((r.Width() - glyph.cx) / 2, margin);
            tp = Point((r.Width() - text.cx) / 2, margin + glyph.cy + spacing);
            break;
        case blGlyphBottom:
            gp = Point((r.Width() - glyph.cx) / 2, r.Height() - margin - glyph.cy);
            tp = Point((r.Width() - text.cx) / 2, r.Height() - margin - glyph.cy - spacing - text.cy);
            break;
    }
    DrawGlyph(c, gp.X + offset, gp.Y + offset, FState);
    if (!Caption().empty()) {
        TRect tr = Bounds(tp.X + offset, tp.Y + offset, text.cx, text.cy);
        ui::DrawControlText(c, Caption(), tr, DT_SINGLELINE | DT_CENTER | DT_VCENTER, Enabled());
    }
}
