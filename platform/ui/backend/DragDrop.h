#pragma once
// Drag and drop with other programs, a service of the backend. The layer (platform/ole) runs
// drags inside the program itself; the backend carries what crosses the program's edge: a drag
// that leaves the program, and drops that other programs make on the program's windows.
#include <vector>

#include "platform/rtl/Geometry.h"
#include "platform/rtl/String.h"
#include "platform/ui/backend/ClipboardService.h"
#include "platform/win/WinTypes.h"

namespace ui {

class WidgetPeer;

// What crosses the edge: clipboard content, carried on the desktop as DesktopFormats.h maps it
// (text, HTML, rich text, files, URLs, pictures and our own registered formats).
struct DesktopDragData {
    ClipboardContent Content;

    // Text as CF_UNICODETEXT; local files (absolute paths) as CF_HDROP.
    static DesktopDragData OfText(const String& text);
    static DesktopDragData OfFiles(const std::vector<String>& files);
};

// Effects are the drop effects of the drag calls (1 copy, 2 move, 4 link); keys the MK_ flags of
// the mouse messages with 0x20 for Alt; points are screen points in the layer's coordinates.
class DesktopDropSink {
public:
    virtual ~DesktopDropSink() = default;
    // Another program's drag entered, moved over or left a window of the program that takes drops;
    // the answers are the effect the window takes.
    virtual DWORD DragEnter(HWND window, const DesktopDragData& data, TPoint screen, DWORD keys, DWORD allowed) = 0;
    virtual DWORD DragOver(HWND window, TPoint screen, DWORD keys, DWORD allowed) = 0;
    virtual void DragLeave(HWND window) = 0;
    virtual DWORD Drop(HWND window, const DesktopDragData& data, TPoint screen, DWORD keys, DWORD allowed) = 0;
};

class DesktopDragDrop {
public:
    virtual ~DesktopDragDrop() = default;
    // Hands a drag that left the program to the desktop and waits until it ends; answers the
    // effect the other program took (0: none, or the drag was cancelled).
    virtual DWORD StartDrag(const DesktopDragData& data, DWORD allowed) = 0;
    // Whether drops of other programs on this window reach the sink.
    virtual void AcceptDrops(WidgetPeer& window, bool accept) = 0;
    // Where those drops go (nullptr: nowhere; the windows then refuse them).
    virtual void SetSink(DesktopDropSink* sink) = 0;
};

}  // namespace ui
