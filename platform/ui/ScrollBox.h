#pragma once
// Scrolling controls: a windowed control whose children may reach past its client area, brought
// into view with the window's own scroll bars (TScrollingWinControl), and the scroll box.
//
// Components include Forms.h, which includes this header.
#include <memory>

#include "platform/ui/Controls.h"

class TScrollingWinControl;

// One of the two scroll bars of a scrolling control. Range is the extent of the content along
// the bar in pixels (with AutoScroll, the extent of the children); Position is how far the
// content has scrolled, from 0 to Range less the client size. The bar shows while Visible and
// the range exceeds the client size.
class TControlScrollBar : public TPersistent {
public:
    TControlScrollBar(TScrollingWinControl* control, TScrollBarKind kind);
    const char* ClassName() const override { return "TControlScrollBar"; }
    TScrollBarKind Kind() const { return FKind; }

    // Pixels a line step (an arrow of the bar, a notch of the wheel) scrolls; at least 1.
    int Increment() const { return FIncrement; }
    void SetIncrement(int value);
    // Room ScrollInView keeps between a control it brings into view and the edge; at least 0.
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    // Moving it moves the children; it is held to the scrollable part.
    int Position() const { return FPosition; }
    void SetPosition(int value);
    // Setting a range ends the owner's AutoScroll.
    int Range() const { return FRange; }
    void SetRange(int value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // Shown now: Visible, and the range exceeds the client size.
    bool IsScrollBarVisible() const { return FVisible && FShown; }

private:
    friend class TScrollingWinControl;
    // The client size along the bar.
    int ClientSize() const;
    int MaxPosition() const;
    // WM_HSCROLL or WM_VSCROLL from the window's own bar.
    void ScrollMessage(const TMessage& Message);

    TScrollingWinControl* FControl;
    TScrollBarKind FKind;
    int FIncrement = 8;
    int FMargin = 0;
    int FPosition = 0;
    int FRange = 0;
    bool FVisible = true;
    bool FShown = false;
    int FTrackPos = 0;  // where the thumb was last dragged to, all 32 bits of it
};

class TScrollingWinControl : public TWinControl {
public:
    explicit TScrollingWinControl(TComponent* AOwner);
    ~TScrollingWinControl() override;
    const char* ClassName() const override { return "TScrollingWinControl"; }

    // The ranges follow the extent of the children: a child reaching past the client area makes
    // the bar appear. On by default.
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool value);
    TControlScrollBar* HorzScrollBar() const { return FHorzScrollBar.get(); }
    TControlScrollBar* VertScrollBar() const { return FVertScrollBar.get(); }
    // Scrolls the control (a child, or a control inside one) into the client area, with the
    // bar's Margin between it and the edge it came in at. A control larger than the client area
    // shows its top or left part.
    void ScrollInView(TControl* AControl);

protected:
    void CreateWnd() override;
    // Aligned children are laid out in the scrolled content, not in the visible part.
    void AdjustClientRect(TRect& Rect) override;
    void ChildLayoutChanged(TControl* Child) override;
    // The window's bars: SB_LINEUP/DOWN by Increment, SB_PAGEUP/DOWN by the client size,
    // SB_THUMBPOSITION to the thumb. SB_THUMBTRACK moves nothing here; a descendant that wants
    // the content to follow the thumb sets the position itself. A scroll bar control's messages
    // (LParam: its handle) go back to it.
    void WMHScroll(TMessage& Message) override;
    void WMVScroll(TMessage& Message) override;
    void WMSize(TMessage& Message) override;
    // Unhandled by OnMouseWheel: a notch scrolls the vertical bar (the horizontal one when only
    // it shows) by its Increment.
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) override;
    // The bars follow the content and the client size: the ranges (with AutoScroll), which
    // bars show, and positions held to what can still scroll.
    void UpdateScrollBars();

private:
    friend class TControlScrollBar;
    void CalcAutoRange();
    // Shows or hides one bar with its page and moves the content back into range.
    void ApplyBar(TControlScrollBar& bar, bool show, int page);
    // Moves the content by (dx, dy): the window's image and child windows, then the graphic
    // children.
    void ScrollContent(int dx, int dy);

    std::unique_ptr<TControlScrollBar> FHorzScrollBar;
    std::unique_ptr<TControlScrollBar> FVertScrollBar;
    bool FAutoScroll = true;
    bool FUpdatingBars = false;
    bool FScrolling = false;
    int FWheelDelta = 0;  // the part of a notch that has not scrolled yet
};

class TScrollBox : public TScrollingWinControl {
public:
    explicit TScrollBox(TComponent* AOwner);
    const char* ClassName() const override { return "TScrollBox"; }
};
