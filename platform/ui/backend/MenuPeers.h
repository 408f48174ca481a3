#pragma once
// Menus as the backend shows them: the lines of a menu (ui::DescribeMenu, depth first) go over
// whole, and what the user does comes back through a MenuSink. Shortcut keys are the library's:
// a line's shortcut is only text to show.
#include <vector>

#include "platform/ui/Menus.h"

namespace ui {

// The menu bar of a form's window.
class MenuBarPeer {
public:
    virtual ~MenuBarPeer() = default;
    // Shows these lines (depth 0: the bar's own entries), replacing what was shown; answers the
    // height the bar needs above the client area (0: none). May be called from the sink while
    // one of the bar's menus is open.
    virtual int SetLines(const std::vector<MenuLine>& lines) = 0;
};

// A pop-up menu.
class PopupMenuPeer {
public:
    virtual ~PopupMenuPeer() = default;
    // Shows the lines at a screen position until the user chooses or dismisses the menu; a
    // choice is reported (MenuSink::ItemChosen) before Run returns.
    virtual void Run(const std::vector<MenuLine>& lines, const TPoint& at) = 0;
};

}  // namespace ui
