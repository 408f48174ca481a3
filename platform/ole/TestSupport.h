#pragma once
// Test support for drag and drop, headless: a scripted drag that runs the drag loop through the
// road real input takes, and drops as if another program made them.
#include <vector>

#include "platform/ole/DragDrop.h"
#include "platform/ui/backend/DragDrop.h"

namespace ole::test {

// One state of the mouse and keys during a drag.
struct DragStep {
    TPoint Screen;                  // where the pointer is
    DWORD Keys = MK_LBUTTON;        // the buttons and keys held (MK_LBUTTON, MK_SHIFT, MK_CONTROL)
    bool Escape = false;            // Escape is pressed here (the pointer does not move)
};

// While one lives, DoDragDrop takes its input from the steps instead of the user: each step goes,
// when the loop waits for input, as a mouse move (or the left button's release, or an Escape
// press) through the backend to the window under the first step, whose widget keeps the mouse
// while the button is down, as a real drag's source does. When the steps run out the drag is
// cancelled. A drag that leaves the program's windows is answered by a stand-in for the desktop.
class ScriptedDrag {
public:
    explicit ScriptedDrag(std::vector<DragStep> steps);
    ~ScriptedDrag();
    ScriptedDrag(const ScriptedDrag&) = delete;
    ScriptedDrag& operator=(const ScriptedDrag&) = delete;

    // The effect the desktop's stand-in answers for a drag that leaves (DROPEFFECT_NONE at first).
    void SetDesktopEffect(DWORD effect) { FDesktopEffect = effect; }
    // Whether the drag left the program, and what it offered the desktop then.
    bool LeftProgram() const { return FLeft; }
    const ui::DesktopDragData& Offered() const { return FOffered; }
    size_t StepsDone() const { return FNext; }

private:
    class Driver;
    friend class Driver;
    std::vector<DragStep> FSteps;
    size_t FNext = 0;
    DWORD FDesktopEffect = DROPEFFECT_NONE;
    bool FLeft = false;
    ui::DesktopDragData FOffered;
    Driver* FDriver;
};

// Another program's drag over the window: enters at the point, moves over it and drops there,
// through the same road the backend's drops take. Answers the effect the target took.
DWORD DropFromOutside(HWND window, const ui::DesktopDragData& data, TPoint screen, DWORD keys = 0,
                      DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE);

}  // namespace ole::test
