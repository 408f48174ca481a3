#pragma once
// The hint window: a small frameless window above the program's windows that shows a text at a
// place of the screen without taking the activation or the focus. It is a top-level pop-up even
// with a parent (then owned by the parent's form); a caller may activate it (SetForegroundWindow,
// SetActiveWindow), and then it may hold controls and give one of them the focus, as a lookup
// list does. Descendants change its look through CreateParams, Paint, ActivateHint and
// CalcHintRect.
#include <vector>

#include "platform/ui/Controls.h"

class THintWindow;

// A hint window class: makes a window of one THintWindow descendant (C++ has no class
// references). HintWindowClassOf<T>() is T's; two classes are the same when they compare equal.
using THintWindowClass = THintWindow* (*)(TComponent* AOwner);
template <class T>
THintWindowClass HintWindowClassOf() {
    return [](TComponent* owner) -> THintWindow* { return NewComponent<T>(owner); };
}

// What the application is about to show as a control's hint; CM_HINTSHOW hands it to the control
// (LParam), which may change any of it. Positions are screen coordinates except CursorRect and
// CursorPos, which are the control's client coordinates; times are milliseconds.
struct THintInfo {
    TControl* HintControl = nullptr;
    THintWindowClass HintWindowClass = nullptr;
    TPoint HintPos;           // the hint window's top-left
    int HintMaxWidth = 0;     // the text wraps within it
    TColor HintColor = clInfoBk;
    TRect CursorRect;         // the hint stays while the pointer stays inside
    TPoint CursorPos;
    int ReshowTimeout = 0;    // > 0: the hint is asked for again after this time
    int HideTimeout = 0;      // > 0: the hint hides after this time
    String HintStr;
    void* HintData = nullptr;
};

// A tip window the program shows now (a hint, a tool tip, a balloon), as tests read it.
struct TTipWindowInfo {
    String ClassName;
    String Text;
    String Title;
    int Icon = 0;       // 0 none, 1 information, 2 warning, 3 error
    bool Balloon = false;
    TRect Rect;         // screen coordinates
    TColor Color = clNone;
    TColor TextColor = clNone;
};

class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);
    ~THintWindow() override;
    const char* ClassName() const override { return "THintWindow"; }

    // Shows the text in the window at the screen rectangle, kept on the screen, topmost, without
    // the activation; the window is painted at once.
    virtual void ActivateHint(const TRect& Rect, const String& AHint);
    // The same with data of a descendant's own; the application shows its hints through this.
    virtual void ActivateHintData(const TRect& Rect, const String& AHint, void* AData);
    // The size the text needs, wrapped within MaxWidth, as a rectangle at (0, 0) that includes
    // the frame and the margins (AData is a descendant's own).
    virtual TRect CalcHintRect(int MaxWidth, const String& AHint, void* AData);
    // Hides the window and lets its window go; the next ActivateHint makes it again.
    void ReleaseHandle();

    // A hint window with a parent stays a window of its own, owned by the parent's form.
    void SetParent(TWinControl* AParent) override;
    bool Showing() const override;
    // What the window shows, for the query of the tip windows.
    virtual void Describe(TTipWindowInfo& Info) const;

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

namespace ui {
// The tip windows shown now, oldest first.
std::vector<TTipWindowInfo> ShownTipWindows();
}  // namespace ui
