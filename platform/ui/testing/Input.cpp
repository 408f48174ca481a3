// Input, pictures and menu bars through the driver of the backend the test program runs on.
#include <functional>

#include "platform/ui/InputGrab.h"
#include "platform/ui/testing/Driver.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/win/Window.h"

namespace ui::test {

namespace {

// The window that receives input for the control, and the point in its client coordinates.
TWinControl* InputWindow(TControl* control, int& x, int& y) {
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        w->HandleNeeded();
        return w;
    }
    TWinControl* p = control->Parent();
    if (!p) return nullptr;
    x += control->Left();
    y += control->Top();
    p->HandleNeeded();
    return p;
}

WPARAM ButtonFlag(TMouseButton b) {
    switch (b) {
        case mbRight: return MK_RBUTTON;
        case mbMiddle: return MK_MBUTTON;
        default: return MK_LBUTTON;
    }
}

int gViaHost = 0;

void SendMouse(TControl* control, UINT msg, int x, int y, WPARAM keys) {
    TWinControl* w = InputWindow(control, x, y);
    if (!w || !w->Peer()) return;
    GetDriver().SendMouse(*w->Peer(), msg, x, y, keys, gViaHost > 0);
}

// The key of a US keyboard that types ch; 0 when none does.
WORD KeyOf(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<WORD>(c - 32);
    if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u' ') return c;
    if (c == u'\r' || c == u'\t' || c == u'\b' || c == 0x1B) return c;  // VK_RETURN, VK_TAB...
    static const struct {
        char16_t ch;
        WORD vk;
    } punct[] = {{u';', VK_OEM_1}, {u':', VK_OEM_1}, {u'=', VK_OEM_PLUS}, {u'+', VK_OEM_PLUS}, {u',', VK_OEM_COMMA},
                 {u'<', VK_OEM_COMMA}, {u'-', VK_OEM_MINUS}, {u'_', VK_OEM_MINUS}, {u'.', VK_OEM_PERIOD},
                 {u'>', VK_OEM_PERIOD}, {u'/', VK_OEM_2}, {u'?', VK_OEM_2}, {u'`', VK_OEM_3}, {u'~', VK_OEM_3},
                 {u'[', VK_OEM_4}, {u'{', VK_OEM_4}, {u'\\', VK_OEM_5}, {u'|', VK_OEM_5}, {u']', VK_OEM_6},
                 {u'}', VK_OEM_6}, {u'\'', VK_OEM_7}, {u'"', VK_OEM_7}, {u'!', '1'}, {u'@', '2'}, {u'#', '3'},
                 {u'$', '4'}, {u'%', '5'}, {u'^', '6'}, {u'&', '7'}, {u'*', '8'}, {u'(', '9'}, {u')', '0'}};
    for (const auto& p : punct)
        if (p.ch == c) return p.vk;
    return 0;
}

UINT DownMessage(TMouseButton b) { return b == mbRight ? WM_RBUTTONDOWN : b == mbMiddle ? WM_MBUTTONDOWN : WM_LBUTTONDOWN; }
UINT UpMessage(TMouseButton b) { return b == mbRight ? WM_RBUTTONUP : b == mbMiddle ? WM_MBUTTONUP : WM_LBUTTONUP; }

}  // namespace

void MouseMove(TControl* control, int x, int y, WPARAM keys) { SendMouse(control, WM_MOUSEMOVE, x, y, keys); }
void MouseDown(TControl* control, int x, int y, TMouseButton button) {
    SendMouse(control, DownMessage(button), x, y, ButtonFlag(button));
}
void MouseUp(TControl* control, int x, int y, TMouseButton button) { SendMouse(control, UpMessage(button), x, y, 0); }

void Click(TControl* control, int x, int y) {
    MouseMove(control, x, y);
    MouseDown(control, x, y);
    MouseUp(control, x, y);
}

void MouseLeave(TControl* control) {
    int x = 0, y = 0;
    TWinControl* w = InputWindow(control, x, y);
    if (w && w->Peer()) GetDriver().SendMouseLeave(*w->Peer());
}

void SetCursorPos(const TPoint& screen) { detail::NoteCursorPos(screen); }

void Key(TControl* control, WORD vk, const String& text, TShiftState shift) {
    int x = 0, y = 0;
    TWinControl* w = InputWindow(control, x, y);
    if (!w || !w->Peer()) return;
    String chars = text;
    // The keys that type a control character do so, as a keyboard does.
    if (chars.empty() && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt)) {
        switch (vk) {
            case VK_RETURN: chars = String(u"\r"); break;
            case VK_ESCAPE: chars = String(u"\x1b"); break;
            case VK_BACK: chars = String(u"\b"); break;
            case VK_TAB: chars = String(u"\t"); break;
            case VK_SPACE: chars = String(u" "); break;
            default: break;
        }
    }
    GetDriver().SendKey(*w->Peer(), true, vk, chars, shift, gViaHost > 0);
    GetDriver().SendKey(*w->Peer(), false, vk, String(), shift, gViaHost > 0);
}

void TypeText(TControl* control, const String& text) {
    for (char16_t c : text) Key(control, KeyOf(c), String(c));
}

void Compose(TControl* control, const String& composing, int cursor, const String& commit) {
    int x = 0, y = 0;
    TWinControl* w = InputWindow(control, x, y);
    if (w && w->Peer()) GetDriver().SendComposition(*w->Peer(), composing, cursor, commit);
}

ViaHostWidget::ViaHostWidget() { ++gViaHost; }
ViaHostWidget::~ViaHostWidget() { --gViaHost; }

uint64_t NativeFilterEvents() { return GetDriver().NativeFilterEventCount(); }

void ChangeDesktop(DesktopChange what) { GetDriver().ChangeDesktop(what); }

std::vector<String> MenuBarCaptions(TCustomForm* form) {
    if (!form->Peer()) return {};
    return GetDriver().MenuBarCaptions(*form->Peer());
}

bool SaveToPng(TWinControl* control, const std::string& path) {
    control->HandleNeeded();
    std::function<void(TWinControl*)> paint = [&](TWinControl* w) {
        w->Update();
        for (int i = 0; i < w->ControlCount(); ++i)
            if (auto* c = dynamic_cast<TWinControl*>(w->Controls(i))) paint(c);
    };
    paint(control);
    return GetDriver().SaveToPng(*control->Peer(), path);
}

bool LoadPng(const std::string& path, Picture& picture) {
    return GetDriver().ReadPng(path, picture.Width, picture.Height, picture.Pixels);
}

Driver& GetDriver() {
    static std::unique_ptr<Driver> driver = MakeDriver();
    return *driver;
}

}  // namespace ui::test
