// The flat date-time picker: construction through the factory, the version, and what the metro
// look draws over the platform picker.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "grid/AsgDateTimePicker.h"
#include "grid/tests/EditorPictures.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

class RecordingPicker : public TAsgDateTimePicker {
public:
    using TAsgDateTimePicker::TAsgDateTimePicker;
    std::vector<TFormBorderStyle> Applied;
    void ApplyBorderStyle(TFormBorderStyle Value) override {
        Applied.push_back(Value);
        TAsgDateTimePicker::ApplyBorderStyle(Value);
    }
};

class PickerTest : public ui::test::FormTest {
protected:
    void TearDown() override {
        ui::sys::ResetAnswers();
        FormTest::TearDown();
    }
    ui::test::Picture Render(const char* name) { return editor_test::Render(form, name); }
    int32_t At(const ui::test::Picture& pic, TWinControl* c, int x, int y) { return editor_test::WindowAt(form, pic, c, x, y); }
    int Differences(const ui::test::Picture& pic, TWinControl* a, TWinControl* b) {
        int n = 0;
        for (int y = 0; y < a->Height(); ++y)
            for (int x = 0; x < a->Width(); ++x) n += At(pic, a, x, y) != At(pic, b, x, y);
        return n;
    }
    TAsgDateTimePicker* Picker(int left, int top) {
        auto* p = Add<TAsgDateTimePicker>(left, top);
        p->SetBounds(left, top, 120, 24);
        p->SetDate(45000);
        return p;
    }
};

TEST_F(PickerTest, ConstructionAndVersion) {
    auto* p = NewComponent<RecordingPicker>(form);
    EXPECT_EQ(p->Applied, (std::vector<TFormBorderStyle>{bsSingle}));
    EXPECT_EQ(p->StoredBorderStyle(), bsNone);
    EXPECT_TRUE(p->Ctl3D());
    EXPECT_FALSE(p->ParentCtl3D());
    EXPECT_EQ(p->Version(), String(u"1.0.0.0"));
    p->SetVersion(u"2.0.0.0");
    EXPECT_EQ(p->Version(), String(u"1.0.0.0"));
}

TEST_F(PickerTest, MetroLook) {
    auto* plain = Add<TDateTimePicker>(10, 10);
    plain->SetBounds(10, 10, 120, 24);
    plain->SetDate(45000);
    auto* same = Picker(10, 50);
    auto* metro = Picker(150, 10);
    metro->SetMetroStyle(true);
    metro->SetBorderColor(clRed);
    metro->SetButtonColor(clYellow);
    metro->SetButtonTextColor(clBlack);
    metro->SetButtonBorderColor(clGreen);
    auto* time = Picker(150, 50);
    time->SetKind(dtkTime);
    time->SetMetroStyle(true);
    time->SetBorderColor(clRed);
    time->SetButtonColor(clYellow);
    auto* focus = Add<TDateTimePicker>(10, 150);
    form->Show();
    focus->SetFocus();
    ui::test::Pump();
    auto pic = Render("metro");
    // Not metro, Ctl3D on: the platform picker's pixels.
    EXPECT_EQ(Differences(pic, same, plain), 0);
    // Metro: its border and its own button with the arrow.
    EXPECT_EQ(At(pic, metro, 0, 0), static_cast<int32_t>(clRed));
    int L = metro->ClientWidth() - 19 + 2 + 1;
    int T = 1;
    EXPECT_EQ(At(pic, metro, L + 8, T + 8), static_cast<int32_t>(clBlack));
    EXPECT_EQ(At(pic, metro, L + 4, T + 3), static_cast<int32_t>(clYellow));
    EXPECT_EQ(At(pic, metro, L, T + 5), static_cast<int32_t>(clGreen));
    // The time kind: the border, but no button over the up-down control.
    EXPECT_EQ(At(pic, time, 0, 0), static_cast<int32_t>(clRed));
    int yellow = 0;
    for (int y = 0; y < time->Height(); ++y)
        for (int x = 0; x < time->Width(); ++x) yellow += At(pic, time, x, y) == static_cast<int32_t>(clYellow);
    EXPECT_EQ(yellow, 0);

    // Before Vista nothing is drawn after the platform's painting.
    ui::sys::Answers().MajorVersion = 5;
    metro->SetBorderColor(clNone);
    metro->SetBorderColor(clRed);
    metro->Invalidate();
    ui::test::Pump();
    auto old = Render("old");
    int own = 0;
    for (int y = 0; y < metro->Height(); ++y)
        for (int x = 0; x < metro->Width(); ++x) {
            int32_t c = At(old, metro, x, y);
            own += c == static_cast<int32_t>(clYellow) || c == static_cast<int32_t>(clGreen);
        }
    EXPECT_EQ(own, 0);
}

TEST_F(PickerTest, FlatFrameWithoutCtl3D) {
    form->SetColor(clAqua);
    auto* p = Picker(20, 20);
    p->SetCtl3D(false);
    p->SetBorderColor(clRed);
    form->Show();
    ui::test::Pump();
    auto pic = Render("flatframe");
    // bsNone: the frame in the parent's colour.
    EXPECT_EQ(At(pic, p, 0, 5), static_cast<int32_t>(clAqua));
    EXPECT_EQ(At(pic, p, p->Width() - 1, 5), static_cast<int32_t>(clAqua));
}

}  // namespace
