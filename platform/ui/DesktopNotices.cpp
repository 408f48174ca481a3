#include "platform/ui/DesktopNotices.h"

#include <algorithm>

#include "platform/ui/Forms.h"

namespace ui {

namespace {

bool IsChild(const TWinControl* parent, const TControl* c) {
    for (int i = 0; i < parent->ControlCount(); ++i)
        if (parent->Controls(i) == c) return true;
    return false;
}

void NotifyChildren(TWinControl* parent, UINT msg, WPARAM wParam, LPARAM lParam) {
    std::vector<TControl*> children;
    for (int i = 0; i < parent->ControlCount(); ++i) children.push_back(parent->Controls(i));
    for (TControl* c : children) {
        if (!IsChild(parent, c)) continue;
        c->Perform(msg, wParam, lParam);
        // Only a control still there is looked at again.
        if (!IsChild(parent, c)) continue;
        if (auto* w = dynamic_cast<TWinControl*>(c)) NotifyChildren(w, msg, wParam, lParam);
    }
}

}  // namespace

void NotifyAllControls(UINT Msg, WPARAM WParam, LPARAM LParam) {
    std::vector<TCustomForm*> forms;
    for (int i = 0; i < Screen->FormCount(); ++i) forms.push_back(Screen->Forms(i));
    for (TCustomForm* form : forms) {
        auto alive = [&] {
            for (int i = 0; i < Screen->FormCount(); ++i)
                if (Screen->Forms(i) == form) return true;
            return false;
        };
        if (!alive()) continue;
        form->Perform(Msg, WParam, LParam);
        if (alive()) NotifyChildren(form, Msg, WParam, LParam);
    }
}

void DesktopNotices::DesktopChanged(DesktopChange what) {
    UINT msg = what == DesktopChange::Colors ? CM_SYSCOLORCHANGE : what == DesktopChange::Fonts ? CM_SYSFONTCHANGED : WM_THEMECHANGED;
    try {
        NotifyAllControls(msg);
    } catch (...) {
        Application->HandleException(Application);
    }
}

}  // namespace ui
