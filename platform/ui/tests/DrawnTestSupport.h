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

// A windowed control that takes the focus, as an edit does.
class Focusable : public TCustomControl {
public:
    explicit Focusable(TComponent* owner) : TCustomControl(owner) {
        SetTabStop(true);
        SetBounds(0, 0, 60, 20);
    }
};

}  // namespace drawn_test
