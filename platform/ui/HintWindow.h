#pragma once
// The hint window: a small frameless window above the program's windows that shows a text at a
// place of the screen without taking the activation or the focus. It is a top-level pop-up even
// with a parent (then owned by the parent's form); a caller may activate it (SetForegroundWindow,
// SetActiveWindow), and then it may hold controls and give one of them the focus, as a lookup
// list does. Descendants change its look through CreateParams, Paint, ActivateHint and
// CalcHintRect.
#include "platform/ui/Controls.h"

class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);
    const char* ClassName() const override { return "THintWindow"; }

    // Shows the text in the window at the screen rectangle, kept on the screen, topmost, without
    // the activation; the window is painted at once.
    virtual void ActivateHint(const TRect& Rect, const String& AHint);
    // The size the text needs, wrapped within MaxWidth, as a rectangle at (0, 0) that includes
    // the frame and the margins (AData is a descendant's own).
    virtual TRect CalcHintRect(int MaxWidth, const String& AHint, void* AData);
    // Hides the window and lets its window go; the next ActivateHint makes it again.
    void ReleaseHandle();

    // A hint window with a parent stays a window of its own, owned by the parent's form.
    void SetParent(TWinControl* AParent) override;
    bool Showing() const override;

protected:
    // WS_POPUP with a 1-pixel WS_BORDER, a tool window in the topmost layer; the class asks for
    // the drop shadow where the system version has one (5.1 and later).
    void CreateParams(TCreateParams& Params) override;
    // The text, wrapped, in the font's colour on Color, 2 pixels in from the sides and 1 from
    // the top.
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void CMVisibleChanged(TMessage& Message) override;
};
