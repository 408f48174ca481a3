#pragma once
// Windows for the tests of shaped and layered windows and of the input style bits: each logs the
// presses and wheel turns it takes under its name, and a pop-up made with the styles a test
// gives, filled with its colour.
#include <string>
#include <vector>

#include "platform/ui/Forms.h"

namespace layered_test {

// "popup down 5,3": who took which press where (client coordinates).
inline std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

template <class Base>
class Logging : public Base {
public:
    template <class... A>
    explicit Logging(std::string name, A&&... args) : Base(std::forward<A>(args)...), Name(std::move(name)) {}
    std::string Name;
    // WM_MOUSEACTIVATE's answer; 0: the default handling.
    LRESULT MouseActivate = 0;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN)
            Log().push_back(Name + " down " + std::to_string(GET_X_LPARAM(m.LParam)) + "," + std::to_string(GET_Y_LPARAM(m.LParam)));
        if (m.Msg == WM_MOUSEWHEEL) Log().push_back(Name + " wheel");
        if (m.Msg == WM_MOUSEACTIVATE && MouseActivate) {
            m.Result = MouseActivate;
            return;
        }
        Base::WndProc(m);
    }
};

// A pop-up window (a parent makes it one kept over the parent's form) with exactly the styles
// given, painted in its colour.
class Popup : public Logging<TCustomControl> {
public:
    Popup(std::string name, TComponent* owner, DWORD style, DWORD exStyle)
        : Logging<TCustomControl>(std::move(name), owner), FStyle(style), FExStyle(exStyle) {}

protected:
    void CreateParams(TCreateParams& Params) override {
        Logging<TCustomControl>::CreateParams(Params);
        Params.Style = FStyle;
        Params.ExStyle = FExStyle;
    }
    void Paint() override {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }

private:
    DWORD FStyle, FExStyle;
};

// A form that never takes the activation: its style replaced by WS_POPUP | WS_DISABLED |
// WS_BORDER, and presses answered MA_NOACTIVATE.
class NoActiveForm : public Logging<TForm> {
public:
    NoActiveForm(std::string name, TComponent* owner) : Logging<TForm>(std::move(name), owner, 0) {
        MouseActivate = MA_NOACTIVATE;
    }

protected:
    void CreateParams(TCreateParams& Params) override {
        Logging<TForm>::CreateParams(Params);
        Params.Style = static_cast<DWORD>(0x88800000u);
    }
};

// The arrow of a column move: the polygon a pop-up 11 x 10 is shaped by (winding).
inline const std::vector<TPoint>& UpArrow() {
    static const std::vector<TPoint> points{{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}};
    return points;
}

}  // namespace layered_test
