#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "platform/ui/CheckLst.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/ui/tests/DrawnTestSupport.h"

namespace {

// A styled edit: the native edit's picture with a frame of its own drawn over it, in place of
// the window's.
class FramedEdit : public TEdit {
public:
    explicit FramedEdit(TComponent* owner) : TEdit(owner) {
        SetOwnerPainted(true);
        SetBorderStyle(bsNone);
    }
    int Paints = 0;

protected:
    void Paint() override {
        ++Paints;
        TEdit::Paint();
        TCanvas* c = Canvas();
        c->Brush()->SetColor(static_cast<TColor>(0x000000FF));
        c->FrameRect(ClientRect());
    }
};

class NativePaintTest : public ::testing::Test {
protected:
    ui::test::AppScope scope;
};

}  // namespace

TEST_F(NativePaintTest, OwnerPaintedEditShowsTheNativePictureUnderItsOwnDrawing) {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 200, 80);
    auto* edit = new FramedEdit(form);
    edit->SetBounds(10, 10, 150, 30);
    edit->SetParent(form);
    edit->SetText(String(u"WWWW"));
    form->Show();
    edit->SetFocus();
    ui::test::TypeText(edit, String(u"MM"));  // input still reaches the edit
    EXPECT_EQ(edit->Text(), String(u"MM"));  // focus selected all: typing replaced it
    std::string path = (std::filesystem::temp_directory_path() / ("rwb_ui_native_paint_" + std::to_string(getpid()) + ".png")).string();
    ASSERT_TRUE(ui::test::SaveToPng(form, path));
    ui::test::Picture pic;
    ASSERT_TRUE(ui::test::LoadPng(path, pic));
    std::remove(path.c_str());
    EXPECT_GE(edit->Paints, 1);
    // The frame on the edit's edge...
    EXPECT_EQ(pic.At(10, 25), 0x0000FF);
    EXPECT_EQ(pic.At(159, 25), 0x0000FF);
    EXPECT_EQ(pic.At(80, 10), 0x0000FF);
    // ...and inside it the native edit's text: dark pixels.
    int dark = 0;
    for (int y = 12; y < 38; ++y)
        for (int x = 12; x < 158; ++x) {
            int32_t c = pic.At(x, y);
            if ((c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && ((c >> 16) & 0xFF) < 0x60) ++dark;
        }
    EXPECT_GT(dark, 20);
    form->Free();
}

TEST_F(NativePaintTest, OwnerDrawnListItemsAreDrawnByTheControl) {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 200, 160);
    auto* list = new TListBox(form);
    list->SetBounds(10, 10, 150, 120);
    list->SetParent(form);
    list->SetStyle(lbOwnerDrawVariable);
    for (const char16_t* s : {u"a", u"b", u"c"}) list->Items()->Add(String(s));
    std::vector<int> drawn;
    bool sawSelected = false;
    list->OnMeasureItem = [&](TWinControl*, int index, int& height) { height = index == 1 ? 40 : 20; };
    list->OnDrawItem = [&](TWinControl* control, int index, TRect rect, TOwnerDrawState state) {
        drawn.push_back(index);
        if (state.Contains(odSelected)) sawSelected = index == 2;
        TCanvas* c = static_cast<TListBox*>(control)->Canvas();
        c->Brush()->SetColor(index == 1 ? static_cast<TColor>(0x000000FF) : static_cast<TColor>(0x00FFFFFF));
        c->FillRect(rect);
        EXPECT_EQ(rect.Height(), index == 1 ? 40 : 20);
    };
    list->SetItemIndex(2);
    form->Show();
    std::string path = (std::filesystem::temp_directory_path() / ("rwb_ui_owner_list_" + std::to_string(getpid()) + ".png")).string();
    ASSERT_TRUE(ui::test::SaveToPng(form, path));
    ui::test::Picture pic;
    ASSERT_TRUE(ui::test::LoadPng(path, pic));
    std::remove(path.c_str());
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), 1), drawn.end());
    EXPECT_TRUE(sawSelected);
    // Item 1 (rows 20..59 of the list, inside its frame) is red from the handler.
    int red = 0;
    for (int y = 10; y < 130; ++y)
        if (pic.At(60, y) == 0x0000FF) ++red;
    EXPECT_GE(red, 36);
    EXPECT_LE(red, 40);
    form->Free();
}

namespace {

// Draws a red line across the native edit after the inherited painting.
class UnderlinedEdit : public TEdit {
public:
    explicit UnderlinedEdit(TComponent* owner) : TEdit(owner) {}
    int Row = 14;

protected:
    void WndProc(TMessage& m) override {
        TEdit::WndProc(m);
        if (m.Msg != WM_PAINT || m.WParam) return;
        HDC dc = GetDC(Handle());
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        TRect line(0, Row, Width(), Row + 1);
        FillRect(dc, &line, red);
        DeleteObject(red);
        ReleaseDC(Handle(), dc);
    }
};

}  // namespace

TEST_F(NativePaintTest, ALineDrawnAfterTheInheritedPaintShowsOverTheNativeEdit) {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 200, 100);
    auto* lined = new UnderlinedEdit(form);
    lined->SetBounds(10, 10, 150, 30);
    lined->SetParent(form);
    auto* plain = new TEdit(form);
    plain->SetBounds(10, 50, 150, 30);
    plain->SetParent(form);
    for (TEdit* e : {static_cast<TEdit*>(lined), plain}) {
        e->SetText(String(u"WWWW"));
        e->SetTabStop(false);  // neither has the focus, so both look alike
        e->SetBorderStyle(bsNone);  // the client area is the whole edit
    }
    form->Show();
    std::string path = (std::filesystem::temp_directory_path() / ("rwb_ui_native_line_" + std::to_string(getpid()) + ".png")).string();
    ASSERT_TRUE(ui::test::SaveToPng(form, path));
    ui::test::Picture pic;
    ASSERT_TRUE(ui::test::LoadPng(path, pic));
    std::remove(path.c_str());
    // The line crosses the edit's text...
    for (int x = 10; x < 160; ++x) ASSERT_EQ(pic.At(x, 10 + lined->Row), 0x0000FF) << x;
    // ...and every other pixel is the native edit's, as the same edit without the line shows it.
    int dark = 0;
    for (int y = 0; y < 30; ++y) {
        if (y == lined->Row) continue;
        for (int x = 0; x < 150; ++x) {
            int32_t c = pic.At(10 + x, 10 + y);
            ASSERT_EQ(c, pic.At(10 + x, 50 + y)) << x << "," << y;
            if ((c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && ((c >> 16) & 0xFF) < 0x60) ++dark;
        }
    }
    EXPECT_GT(dark, 20);  // the text is there
    // Typing still goes to the native edit, and the line stays over the new text.
    lined->SetFocus();
    ui::test::TypeText(lined, String(u"MM"));
    EXPECT_EQ(lined->Text(), String(u"MM"));
    ASSERT_TRUE(ui::test::SaveToPng(form, path));
    ASSERT_TRUE(ui::test::LoadPng(path, pic));
    std::remove(path.c_str());
    EXPECT_EQ(pic.At(80, 10 + lined->Row), 0x0000FF);
    form->Free();
}

namespace {

// Paints its own button column and lets the native combo box paint the rest into its DC, as the
// styled combo box does.
class ColumnCombo : public TComboBox {
public:
    using TComboBox::TComboBox;
    static constexpr int kColumn = 18;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg != WM_PAINT || m.WParam) {
            TComboBox::WndProc(m);
            return;
        }
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        TRect column(ClientWidth() - kColumn, 0, ClientWidth(), ClientHeight());
        HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
        FillRect(dc, &column, blue);
        DeleteObject(blue);
        ExcludeClipRect(dc, column.Left, column.Top, column.Right, column.Bottom);
        m.WParam = reinterpret_cast<WPARAM>(dc);
        PaintHandler(m);
        m.WParam = 0;
        EndPaint(Handle(), &ps);
    }
};

}  // namespace

TEST_F(NativePaintTest, AComboBoxPaintsItsButtonColumnAndTheNativeComboPaintsTheRestIntoItsDc) {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 220, 100);
    auto* combo = new ColumnCombo(form);
    combo->SetParent(form);
    combo->SetBounds(10, 10, 160, 24);
    combo->SetStyle(csDropDownList);
    combo->Items()->Add(String(u"WWWW"));
    combo->SetItemIndex(0);
    combo->SetTabStop(false);
    form->Show();
    ui::test::Picture pic = drawn_test::Snapshot(form, "combo_column");
    ASSERT_GT(pic.Width, 0);
    TRect area = drawn_test::ClientInForm(combo);
    // The column stays blue over the native combo's own button...
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Right - ColumnCombo::kColumn; x < area.Right; ++x) ASSERT_EQ(pic.At(x, y), 0xFF0000) << x << "," << y;
    // ...and the native combo shows its text beside it, and nothing blue.
    TRect rest(area.Left, area.Top, area.Right - ColumnCombo::kColumn, area.Bottom);
    for (int y = rest.Top; y < rest.Bottom; ++y)
        for (int x = rest.Left; x < rest.Right; ++x) ASSERT_NE(pic.At(x, y), 0xFF0000) << x << "," << y;
    EXPECT_GT(drawn_test::DarkPixels(pic, rest), 20);
    form->Free();
}

TEST_F(NativePaintTest, AMemoShowsEachLineOfItsTextOnARowOfItsOwn) {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 200, 120);
    auto* memo = new TMemo(form);
    memo->SetBounds(10, 10, 150, 90);
    memo->SetParent(form);
    memo->Font()->SetName(String(u"Noto Sans CJK JP"));
    memo->SetText(String(u"one\r\ntwo"));
    memo->SetTabStop(false);
    form->Show();
    ui::test::Picture pic = drawn_test::Snapshot(form, "memo_lines");
    ASSERT_GT(pic.Width, 0);
    // Rows of the memo with text on them, in runs: one run per line of text.
    std::vector<std::pair<int, int>> runs;
    for (int y = 12; y < 98; ++y) {
        bool ink = false;
        for (int x = 14; x < 140 && !ink; ++x) {
            int32_t c = pic.At(x, y);
            ink = (c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && ((c >> 16) & 0xFF) < 0x60;
        }
        if (!ink) continue;
        if (!runs.empty() && runs.back().second == y - 1) runs.back().second = y;
        else runs.emplace_back(y, y);
    }
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_GT(runs[1].first, runs[0].second + 2);  // the second line sits below the first
    form->Free();
}

TEST_F(NativePaintTest, ACheckListShowsTheMarksSetBeforeItsWindowWasMade) {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 200, 120);
    auto* list = new TCheckListBox(form);
    list->SetBounds(10, 10, 150, 90);
    list->SetParent(form);
    for (const char16_t* s : {u"off", u"on", u"off"}) list->Items()->Add(String(s));
    list->SetChecked(1, true);
    list->SetTabStop(false);
    form->Show();
    ui::test::Picture pic = drawn_test::Snapshot(form, "check_marks");
    ASSERT_GT(pic.Width, 0);
    // The check box of each item, at the start of its row: the checked one differs from the
    // unchecked ones, which look alike.
    TRect rows[3];
    for (int i = 0; i < 3; ++i) list->Perform(LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rows[i]));
    auto box = [&](int i, int x, int y) { return pic.At(10 + 2 + x, 10 + 2 + rows[i].Top + y); };
    int differs0 = 0, differs1 = 0;
    for (int y = 0; y < rows[0].Height() - 2; ++y)
        for (int x = 0; x < TCheckListBox::CheckWidth; ++x) {
            if (box(0, x, y) != box(2, x, y)) ++differs0;
            if (box(1, x, y) != box(0, x, y)) ++differs1;
        }
    EXPECT_EQ(differs0, 0);
    EXPECT_GT(differs1, 4);
    form->Free();
}

TEST_F(NativePaintTest, AnEditThatDoesNotChangeIsRenderedOnceThroughAHundredPasses) {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 200, 100);
    auto* lined = new UnderlinedEdit(form);
    lined->SetBounds(10, 10, 150, 30);
    lined->SetParent(form);
    lined->SetText(String(u"WWWW"));
    lined->SetTabStop(false);
    lined->SetBorderStyle(bsNone);
    form->Show();
    ui::test::Pump();
    int renders = lined->NativeRenders();
    for (int i = 0; i < 100; ++i) {
        if (i % 2) lined->Invalidate();
        else InvalidateRect(lined->Handle(), nullptr, FALSE_);
        lined->Update();
        ui::test::Pump();  // the screen shows each pass
    }
    EXPECT_LE(lined->NativeRenders() - renders, 1);
    // What the edit draws over its widget still shows, and the widget under it.
    ui::test::Picture pic = drawn_test::Snapshot(form, "edit_passes");
    ASSERT_GT(pic.Width, 0);
    TRect area = drawn_test::ClientInForm(lined);
    for (int x = area.Left; x < area.Right; ++x) ASSERT_EQ(pic.At(x, area.Top + lined->Row), 0x0000FF) << x;
    EXPECT_GT(drawn_test::DarkPixels(pic, TRect(area.Left, area.Top, area.Right, area.Top + lined->Row)), 10);
    // A change the control makes is rendered again, once.
    renders = lined->NativeRenders();
    lined->SetText(String(u"MMMM"));
    for (int i = 0; i < 10; ++i) {
        lined->Invalidate();
        lined->Update();
    }
    EXPECT_EQ(lined->NativeRenders() - renders, 1);
    form->Free();
}
