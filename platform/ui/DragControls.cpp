// Dragging a control onto others: a grab of the input from BeginDrag to the drop, like the
// user's sizing loop (no nested loop). Until the pointer has moved the threshold away, the
// control keeps its own mouse input, so a press without a drag stays a click.
#include <cstdlib>
#include <memory>

#include "platform/ui/backend/Backend.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/Forms.h"
#include "platform/ui/InputGrab.h"

namespace {
// Without a word from the desktop, the pointer moves this far before a press becomes a drag.
constexpr int kDefaultDragDistance = 5;
}  // namespace

class TControlDrag final : public ui::InputGrab {
public:
    TControlDrag(TControl* source, int threshold) : FSource(source), FThreshold(threshold) { GetCursorPos(&FStart); }
    ~TControlDrag() override { Release(); }

    // The drag running now (nullptr: none). It stays current until its last handler returned,
    // so a control freed meanwhile is forgotten rather than read.
    static std::shared_ptr<TControlDrag>& Current() {
        static std::shared_ptr<TControlDrag> current;
        return current;
    }

    TControl* Source() const { return FSource; }
    bool Ending() const { return FEnding; }

    void Begin(bool immediate) {
        FPrevious = ui::SetInputGrab(this);
        FGrabbing = true;
        if (immediate) Start(FStart);
    }

    void Mouse(UINT msg, TPoint screen, DWORD keys) override {
        auto keep = Current();
        if (!FStarted) {
            Pending(msg, screen, keys);
        } else if (msg == WM_MOUSEMOVE && (keys & MK_LBUTTON)) {
            Step(screen);
        } else if (msg == WM_LBUTTONUP) {
            if (screen != FPoint) Step(screen);
            if (!FEnding) Finish(true);
        } else if (msg == WM_MOUSEMOVE) {
            Finish(false);  // the button came up where the program did not see it
        }
    }

    void Key(bool down, WORD vk) override {
        auto keep = Current();
        if (!down || vk != VK_ESCAPE) return;
        if (FStarted) Finish(false);
        else Done();
    }

    // EndDrag: drop where the pointer was last, or cancel.
    void End(bool drop) {
        auto keep = Current();
        if (FEnding) return;
        if (FStarted) Finish(drop);
        else Done();
    }

    // A control goes away: the drag forgets it; losing the source or the target ends the drag.
    void ControlGone(TControl* control) {
        bool source = control == FSource, target = control == FTarget;
        if (!source && !target) return;
        if (source) FSource = nullptr;
        if (target) FTarget = nullptr;
        if (FEnding) return;
        auto keep = Current();
        Release();
        FEnding = true;
        // The leave goes to no one: either the target is gone or the drag's source is.
        if (FSource && FStarted) FSource->DoEndDrag(nullptr, 0, 0);
        Done();
    }

private:
    // Before the threshold: the control has the mouse as its capture would give it.
    void Pending(UINT msg, TPoint screen, DWORD keys) {
        if (msg == WM_MOUSEMOVE && (keys & MK_LBUTTON) &&
            (std::abs(screen.X - FStart.X) >= FThreshold || std::abs(screen.Y - FStart.Y) >= FThreshold)) {
            Start(screen);
            return;
        }
        TControl* source = FSource;
        // A release (or a move after one the program did not see) ends a drag that never began.
        if (msg == WM_LBUTTONUP || (msg == WM_MOUSEMOVE && !(keys & MK_LBUTTON))) Done();
        TPoint p = source->ScreenToClient(screen);
        source->Perform(msg, keys, PointToLParam(p.X, p.Y));
    }

    void Start(TPoint screen) {
        FStarted = true;
        // From here on the release is the drop's, not the control's click.
        if (GetCaptureControl() == FSource) SetCaptureControl(nullptr);
        FSource->FControlState >> csClicked;
        Step(screen);
    }

    // Follows the pointer: leaves the control it left, enters or moves over the one under it.
    void Step(TPoint screen) {
        FPoint = screen;
        TControl* under = FindDragTarget(screen, false);
        if (under != FTarget) {
            if (TControl* left = FTarget) {
                FTarget = nullptr;
                FAccepted = false;
                Ask(left, dsDragLeave);
                if (FEnding) return;
            }
            FTarget = under;
            if (FTarget) FAccepted = Ask(FTarget, dsDragEnter);
        } else if (FTarget) {
            FAccepted = Ask(FTarget, dsDragMove);
        }
        if (FEnding) return;
        ui::OverrideCursor(FTarget && FAccepted ? crDrag : crNoDrop);
        FCursorSet = true;
    }

    bool Ask(TControl* target, TDragState state) {
        TPoint p = target->ScreenToClient(FPoint);
        bool accept = false;
        target->DragOver(FSource, p.X, p.Y, state, accept);
        return accept && target == FTarget;
    }

    // The drag ends: on the target when dropping there and it accepted, else on nothing.
    void Finish(bool drop) {
        FEnding = true;
        Release();
        TControl* target = FTarget;
        TPoint p = target ? target->ScreenToClient(FPoint) : TPoint();
        if (drop && target && FAccepted) {
            target->DragDrop(FSource, p.X, p.Y);
            if (FSource) FSource->DoEndDrag(FTarget, FTarget ? p.X : 0, FTarget ? p.Y : 0);
        } else {
            if (target) {
                bool ignored = false;
                target->DragOver(FSource, p.X, p.Y, dsDragLeave, ignored);
            }
            if (FSource) FSource->DoEndDrag(nullptr, 0, 0);
        }
        Done();
    }

    // The grab and the drag's cursor go back.
    void Release() {
        if (FGrabbing && ui::CurrentInputGrab() == this) ui::SetInputGrab(FPrevious);
        FGrabbing = false;
        if (FCursorSet) ui::OverrideCursor(Screen->Cursor());
        FCursorSet = false;
    }

    void Done() {
        FEnding = true;
        Release();
        if (Current().get() == this) Current().reset();
    }

    TControl* FSource;
    int FThreshold;
    TPoint FStart, FPoint;
    TControl* FTarget = nullptr;
    bool FAccepted = false;
    bool FStarted = false;
    bool FEnding = false;
    bool FGrabbing = false;
    bool FCursorSet = false;
    ui::InputGrab* FPrevious = nullptr;
};

namespace ui::detail {
// Forms.cpp: a control going away leaves the drag.
void DragControlGone(TControl* control) {
    if (auto drag = TControlDrag::Current()) drag->ControlGone(control);
}
}  // namespace ui::detail

void TControl::BeginDrag(bool Immediate, int Threshold) {
    std::shared_ptr<TControlDrag>& current = TControlDrag::Current();
    // One drag at a time; one whose last handlers still run gives way.
    if ((current && !current->Ending()) || ui::CurrentInputGrab() || ComponentState().Contains(csDestroying)) return;
    if (Threshold < 0) {
        Threshold = ui::GetBackend().DragDistance();
        if (Threshold <= 0) Threshold = kDefaultDragDistance;
    }
    current = std::make_shared<TControlDrag>(this, Threshold);
    auto keep = current;
    keep->Begin(Immediate);
}

bool TControl::Dragging() const {
    const auto& drag = TControlDrag::Current();
    return drag && drag->Source() == this && !drag->Ending();
}

void TControl::EndDrag(bool Drop) {
    if (!Dragging()) return;
    auto keep = TControlDrag::Current();
    keep->End(Drop);
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    Accept = static_cast<bool>(OnDragOver);
    if (OnDragOver) OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y) {
    if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y) {
    if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}
