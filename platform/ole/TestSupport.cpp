#include "platform/ole/TestSupport.h"

#include "platform/ole/DragLoopFeed.h"
#include "platform/ui/Backend.h"
#include "platform/ui/InputGrab.h"
#include "platform/ui/WinUser.h"

namespace ole::test {

class ScriptedDrag::Driver final : public detail::DragLoopFeed {
public:
    explicit Driver(ScriptedDrag& script) : FScript(script) {}

    bool Feed() override {
        if (FScript.FNext >= FScript.FSteps.size()) return false;
        const DragStep& step = FScript.FSteps[FScript.FNext++];
        bool releases = (FHeld & MK_LBUTTON) && !(step.Keys & MK_LBUTTON);
        FHeld = step.Keys;
        if (!FHost) {
            HWND under = WindowFromPoint(step.Screen);
            FHost = under ? FindControl(under) : nullptr;
        }
        if (!FHost || !FHost->Peer()) {
            // Nothing of the program under the drag's start: the input reaches the loop as the
            // desktop would report it.
            if (ui::InputGrab* grab = ui::CurrentInputGrab()) {
                if (step.Escape) grab->Key(true, VK_ESCAPE);
                else grab->Mouse(releases ? WM_LBUTTONUP : WM_MOUSEMOVE, step.Screen, step.Keys);
            }
            return true;
        }
        ui::Backend& backend = ui::GetBackend();
        if (step.Escape) {
            backend.SendKey(*FHost->Peer(), true, VK_ESCAPE, String(), ShiftOf(step.Keys));
            backend.SendKey(*FHost->Peer(), false, VK_ESCAPE, String(), ShiftOf(step.Keys));
            return true;
        }
        TPoint client = FHost->ScreenToClient(step.Screen);
        backend.SendMouse(*FHost->Peer(), releases ? WM_LBUTTONUP : WM_MOUSEMOVE, client.X, client.Y, step.Keys);
        return true;
    }

    DWORD DesktopDrag(const ui::DesktopDragData& data, DWORD allowed) override {
        FScript.FLeft = true;
        FScript.FOffered = data;
        return FScript.FDesktopEffect & allowed;
    }

private:
    static TShiftState ShiftOf(DWORD keys) {
        TShiftState s;
        if (keys & MK_SHIFT) s << ssShift;
        if (keys & MK_CONTROL) s << ssCtrl;
        return s;
    }

    ScriptedDrag& FScript;
    TWinControl* FHost = nullptr;
    DWORD FHeld = MK_LBUTTON;  // the drag starts with the button down
};

ScriptedDrag::ScriptedDrag(std::vector<DragStep> steps) : FSteps(std::move(steps)), FDriver(new Driver(*this)) {
    detail::SetDragLoopFeed(FDriver);
}

ScriptedDrag::~ScriptedDrag() {
    detail::SetDragLoopFeed(nullptr);
    delete FDriver;
}

DWORD DropFromOutside(HWND window, const ui::DesktopDragData& data, TPoint screen, DWORD keys, DWORD allowed) {
    ui::DesktopDropSink& sink = detail::DesktopDropSink();
    sink.DragEnter(window, data, screen, keys, allowed);
    sink.DragOver(window, screen, keys, allowed);
    return sink.Drop(window, data, screen, keys, allowed);
}

}  // namespace ole::test
