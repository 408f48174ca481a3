#pragma once
// The drag loop's hooks for the test support (platform/ole/TestSupport.h).
#include "platform/ole/DragDrop.h"
#include "platform/ui/backend/DragDrop.h"

namespace ole::detail {

// While installed, the drag loop takes its input from a script instead of waiting for the user.
class DragLoopFeed {
public:
    virtual ~DragLoopFeed() = default;
    // Delivers the next input of the script, through the road real input takes; false when the
    // script has run out (the loop then cancels the drag).
    virtual bool Feed() = 0;
    // Stands in for the desktop when the drag leaves the program; answers the effect taken.
    virtual DWORD DesktopDrag(const ui::DesktopDragData& data, DWORD allowed) = 0;
};

// Installs a feed (nullptr: none); answers the one it replaces.
DragLoopFeed* SetDragLoopFeed(DragLoopFeed* feed);

// Where the backend hands the drops of other programs.
ui::DesktopDropSink& DesktopDropSink();

}  // namespace ole::detail
