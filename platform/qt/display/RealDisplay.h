#pragma once
// The real-display suite's user: input given through the X server (its XTest extension), as a
// person's pointer and keyboard give it, and pictures of what the screen shows. The user runs on a
// thread of its own while the main thread runs the program's loop, its modal loops included, so a
// click that opens a modal dialog simply goes on to the dialog; what the user asks of the program
// runs on the main thread (OnUi).
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/rtl/Threads.h"
#include "platform/ui/Controls.h"
#include "platform/ui/testing/TestSupport.h"

namespace display {

// The exit code that CTest counts as skipped (the suite's SKIP_RETURN_CODE).
constexpr int kSkipped = 77;

// Why the program cannot run here (empty: it can): no X display, another Qt platform than xcb,
// or an X server without the XTest extension.
std::string Unavailable();
// Whether a window manager runs on the display (it announces itself on the root window).
bool WindowManagerRunning();
// Waits until a window manager has announced itself and frames the windows mapped from now on.
bool WaitForWindowManager(int ms = 10000);

class User {
public:
    User();
    ~User();
    User(const User&) = delete;
    User& operator=(const User&) = delete;

    // Pointer and buttons (1 left, 3 right), at screen coordinates.
    void MoveTo(const TPoint& screen);
    void Press(int button = 1);
    void Release(int button = 1);
    void Click(const TPoint& screen, int button = 1);
    // A key pressed and released, by its X key name ("Escape", "Down", "Return", "F4", "a"),
    // with modifier keys held: "Control_L+s".
    void Key(const std::string& name);
    // Types the text key by key (letters, digits and . / - _ blank), Shift held for capitals.
    void Type(const std::string& text);
    // What the screen shows in the rectangle: pixels 0x00BBGGRR, row by row.
    ui::test::Picture Grab(const TRect& screen);
    TRect ScreenSize();
    // Where the X server shows the form's window (the window manager's frame left out); empty
    // when it shows none.
    TRect ShownRect(TWinControl* form);

private:
    void Flush();
    void* FDisplay;
    TPoint FPointer{-1, -1};
};

// Writes a picture to a PNG file under the test program's working folder's "display-shots".
std::string SaveShot(const ui::test::Picture& picture, const std::string& name);

// Runs f on the main thread and hands back what it returns.
template <class F>
auto OnUi(F f) -> std::invoke_result_t<F> {
    using R = std::invoke_result_t<F>;
    if constexpr (std::is_void_v<R>) {
        TThread::Synchronize(nullptr, [&] { f(); });
    } else {
        R result{};
        TThread::Synchronize(nullptr, [&] { result = f(); });
        return result;
    }
}
// Asks cond on the main thread until it holds; false when ms have passed first.
bool WaitFor(const std::function<bool()>& cond, int ms = 5000);
// Lets the program take what the X server has handed it so far (a few passes of its loop).
void Settle();

// Where a control is on the screen (asked on the main thread): a point of its client area, its
// client area's centre, its whole window.
TPoint ScreenPoint(TControl* control, int x, int y);
TPoint CentreOf(TControl* control);
TRect ScreenRect(TControl* control);
// The text the native widget of a control shows: an edit's line, a combo box's field or item.
// Main thread.
String ShownText(TWinControl* control);
// The control whose window takes the pointer at the screen point (nullptr: none of the
// program's). Main thread.
TWinControl* ControlAt(const TPoint& screen);
// Whether the drop-down list of a combo box shows on the screen, and where its entry shows
// (empty when the list or the entry does not). Main thread.
bool ListShown(TWinControl* combo);
TRect ListItemRect(TWinControl* combo, int index);

// Whether a dialog of the backend's own shows (a message box, a file dialog: it runs a loop of
// its own). Main thread.
bool ModalBoxShown();
// What the backend's dialog that shows tells: a file dialog's folder, the text of its file name
// field and its filters; a message box's text. Shown is false when none shows. Main thread.
struct ForeignDialog {
    bool Shown = false;
    std::string Folder, FileName, Text;
    std::vector<std::string> Filters;
};
ForeignDialog ShownForeignDialog();

// Runs user on a thread of its own while this thread runs the program's loop, until user returns
// (a failure of a gtest assertion ends it early as usual).
void RunAsUser(const std::function<void(User&)>& user, int timeoutMs = 90000);

}  // namespace display
