#pragma once
// Shared by the tests of the drawn controls: a snapshot of a form's pixels and a focusable
// control.
#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "platform/ui/testing/TestSupport.h"

namespace drawn_test {

inline ui::test::Picture Snapshot(TWinControl* form, const char* name) {
    // The process id keeps parallel test runs (and other checkouts) from sharing a file.
    std::string file = std::string("rwb_drawn_") + std::to_string(::getpid()) + "_" + name + ".png";
    std::string path = (std::filesystem::temp_directory_path() / file).string();
    ui::test::Picture pic;
    if (ui::test::SaveToPng(form, path)) ui::test::LoadPng(path, pic);
    std::remove(path.c_str());
    return pic;
}

// A dark pixel (0x00BBGGRR), as black text leaves.
inline bool Dark(int32_t c) { return (c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && ((c >> 16) & 0xFF) < 0x60; }

// The dark pixels of a picture inside r: text is there.
inline int DarkPixels(const ui::test::Picture& pic, const TRect& r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) n += Dark(pic.At(x, y)) ? 1 : 0;
    return n;
}

// Where a control's client area lies in a snapshot of its form (the form's client coordinates).
inline TRect ClientInForm(TWinControl* c) {
    TPoint at = c->ClientOrigin(), form = GetParentForm(c)->ClientOrigin();
    return Bounds(at.X - form.X, at.Y - form.Y, c->ClientWidth(), c->ClientHeight());
}

// A windowed control that takes the focus, as an edit does.
class Focusable : public TCustomControl {
public:
    explicit Focusable(TComponent* owner) : TCustomControl(owner) {
        SetTabStop(true);
        SetBounds(0, 0, 60, 20);
    }
};

}  // namespace drawn_test
