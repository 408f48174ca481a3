#pragma once
// The editor tests' pictures: a form rendered to PNG (kept under its test's name when
// RWB_RENDER_LOOK is set, to be looked at) and its pixels read by control.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/ui/testing/TestSupport.h"

namespace editor_test {

inline ui::test::Picture Render(TForm* form, const char* name) {
    std::string path =
        (std::filesystem::temp_directory_path() / ("rwb_grid_editor_" + std::to_string(::getpid()) + ".png")).string();
    EXPECT_TRUE(ui::test::SaveToPng(form, path));
    ui::test::Picture pic;
    EXPECT_TRUE(ui::test::LoadPng(path, pic));
    if (std::getenv("RWB_RENDER_LOOK"))
        std::filesystem::copy_file(path, path + "." + name + ".png", std::filesystem::copy_options::overwrite_existing);
    std::remove(path.c_str());
    return pic;
}

// The pixel at (x, y) of the window of c (frame included), a child of form.
inline int32_t WindowAt(TForm* form, const ui::test::Picture& pic, TWinControl* c, int x, int y) {
    TRect client = form->ClientArea();
    return pic.At(client.Left + c->Left() + x, client.Top + c->Top() + y);
}

// The pixel at (x, y) of the client area of c, anywhere on form.
inline TColor ClientAt(TForm* form, const ui::test::Picture& pic, TControl* c, int x, int y) {
    TPoint p = c->ClientToScreen(Point(x, y));
    TPoint f = form->ClientToScreen(Point(0, 0));
    TRect client = form->ClientArea();
    return static_cast<TColor>(pic.At(client.Left + p.X - f.X, client.Top + p.Y - f.Y));
}

}  // namespace editor_test
