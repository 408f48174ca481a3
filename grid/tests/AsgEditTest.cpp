// The edit with an embedded button and the unit edit: the unit split, the unit menu, F4 and
// clicks, the editor switch, layout and the button's drawing.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "grid/ASGEdit.h"
#include "grid/tests/EditorPictures.h"
#include "platform/ui/Menus.h"
#include "platform/ui/NativeCtrls.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

class EditBtnTest : public ui::test::FormTest {
protected:
    void TearDown() override {
        ui::SetPopupMenuHook(nullptr);
        FormTest::TearDown();
    }
    TAsgUnitEditBtn* UnitEdit(std::initializer_list<const char16_t*> units) {
        auto* e = Add<TAsgUnitEditBtn>(20, 20);
        e->SetBounds(20, 20, 140, 24);
        for (const char16_t* u : units) e->Units()->Add(u);
        return e;
    }
    ui::test::Picture Render(const char* name) { return editor_test::Render(form, name); }
    TColor At(const ui::test::Picture& pic, TControl* c, int x, int y) { return editor_test::ClientAt(form, pic, c, x, y); }
};

TEST_F(EditBtnTest, UnitSplit) {
    struct Case {
        std::initializer_list<const char16_t*> units;
        const char16_t* value;
        const char16_t* text;
        const char16_t* unit;
    };
    const Case cases[] = {
        {{u"g", u"kg"}, u"12kg", u"12k", u"g"},   // the first matching entry wins
        {{u"g", u"kg"}, u"12", u"old", u"u0"},    // no match: nothing changes
        {{u"m", u"mm"}, u"5mm", u"5", u"mm"},     // the first m is not at the end
        {{u"mm", u"m"}, u"5mm", u"5", u"mm"},
        {{u"m"}, u"m5m", u"old", u"u0"},          // first occurrence not at the end
    };
    for (const Case& c : cases) {
        auto* e = UnitEdit(c.units);
        e->SetText(u"old");
        e->SetUnitID(u"u0");
        e->SetTextAndUnit(c.value);
        EXPECT_EQ(e->Text(), String(c.text)) << String(c.value).ToUtf8();
        EXPECT_EQ(e->UnitID(), String(c.unit)) << String(c.value).ToUtf8();
        EXPECT_EQ(e->TextAndUnit(), e->Text() + e->UnitID());
        e->Free();
    }
}

TEST_F(EditBtnTest, UnitMenu) {
    auto* e = UnitEdit({u"mm", u"cm", u"m"});
    e->SetUnitID(u"cm");
    form->Show();
    ui::test::Pump();
    std::vector<String> changes;
    e->OnUnitChanged = [&](TObject* Sender, const String& NewUnit) {
        EXPECT_EQ(Sender, e);
        changes.push_back(NewUnit);
    };
    std::vector<String> offered;
    TPoint shownAt;
    int pick = 0;
    ui::SetPopupMenuHook([&](TPopupMenu* menu, const TPoint& at) -> TMenuItem* {
        offered.clear();
        for (int i = 0; i < menu->Items()->Count(); ++i) offered.push_back(menu->Items()->Items(i)->Caption());
        shownAt = at;
        return menu->Items()->Items(pick);
    });
    TObject* sender = nullptr;
    e->OnClickBtn = [&](TObject* Sender) { sender = Sender; };
    pick = 2;
    e->ButtonClick(e->Button());
    EXPECT_EQ(sender, e);  // the unit edit always passes itself
    EXPECT_EQ(offered, (std::vector<String>{u"mm", u"cm", u"m"}));
    EXPECT_EQ(shownAt, e->ClientToScreen(Point(e->ClientWidth() - 15, e->ClientHeight())));
    EXPECT_EQ(e->UnitID(), String(u"m"));
    pick = 2;  // the current unit again
    e->ButtonClick(e);
    EXPECT_EQ(changes, (std::vector<String>{u"m"}));

    // Numbers outside 1 .. count and the edit's change notice are no choices.
    e->Perform(WM_COMMAND, 0, 0);
    e->Perform(WM_COMMAND, 4, 0);
    e->Perform(WM_COMMAND, MAKEWPARAM(1, EN_CHANGE), 0);
    EXPECT_EQ(e->UnitID(), String(u"m"));
    e->Perform(WM_COMMAND, 1, 0);
    EXPECT_EQ(e->UnitID(), String(u"mm"));

    // The unit is drawn between the text and the button.
    e->SetText(u"");
    auto pic = Render("unit");
    int bw = e->Button()->Width();
    int dark = 0;
    for (int y = 2; y < e->ClientHeight(); ++y)
        for (int x = e->ClientWidth() - bw - 3 - e->UnitSpace(); x < e->ClientWidth() - bw - 3; ++x)
            dark += At(pic, e, x, y) == clBlack;
    EXPECT_GT(dark, 5);
}

TEST_F(EditBtnTest, ClicksKeysAndTheEditorSwitch) {
    auto* e = Add<TAsgEditBtn>(20, 20);
    e->SetBounds(20, 20, 140, 24);
    auto* other = Add<TAsgEditBtn>(20, 80);
    form->Show();
    ui::test::Pump();
    std::vector<TObject*> senders;
    e->OnClickBtn = [&](TObject* Sender) { senders.push_back(Sender); };

    e->SetFocus();
    ui::test::Key(e, VK_F4, String(), TShiftState{ssCtrl});
    EXPECT_TRUE(senders.empty());
    ui::test::Key(e, VK_F4);
    ASSERT_EQ(senders.size(), 1u);
    EXPECT_EQ(senders[0], e);

    // A press moved off the button and released there still clicks, once; the edit gets the focus.
    other->SetFocus();
    ui::test::Pump();
    TAdvSpeedButton* b = e->Button()->Button();
    ui::test::MouseDown(b, 5, 5);
    ui::test::MouseMove(b, 60, 40);
    ui::test::MouseUp(b, 60, 40);
    ui::test::Pump();
    ASSERT_EQ(senders.size(), 2u);
    EXPECT_EQ(senders[1], e->Button());
    EXPECT_TRUE(e->Focused());

    // With the editor off typing, pasting and cutting change nothing; the button still works.
    e->SetEditorEnabled(false);
    e->SetText(u"abc");
    e->SelectAll();
    ui::test::TypeText(e, u"xy");
    e->Perform(WM_CUT, 0, 0);
    e->Perform(WM_PASTE, 0, 0);
    EXPECT_EQ(e->Text(), String(u"abc"));
    e->Button()->OnClick(e->Button());
    EXPECT_EQ(senders.size(), 3u);
    e->SetEditorEnabled(true);
    e->SelectAll();
    e->Perform(WM_CUT, 0, 0);
    EXPECT_EQ(e->Text(), String());
}

TEST_F(EditBtnTest, Layout) {
    form->Show();
    for (TFormBorderStyle border : {bsNone, bsSingle}) {
        for (int unitSpace : {0, 20}) {
            auto* e = Add<TAsgUnitEditBtn>(20, 20);
            e->SetBorderStyle(border);
            e->SetUnitSpace(unitSpace);
            e->SetBounds(20, 20, 140, 30);
            ui::test::Pump();
            TAsgEditButton* b = e->Button();
            int k = border == bsNone ? 1 : 5;
            EXPECT_EQ(b->Left(), e->Width() - b->Width() - k);
            EXPECT_EQ(b->Top(), 0);
            EXPECT_EQ(b->Width(), 18);
            TRect fr = e->FormatRect();
            int inset = border == bsNone ? 3 : 1;
            EXPECT_EQ(fr.Left, inset);
            EXPECT_EQ(fr.Top, inset);
            EXPECT_EQ(fr.Right, e->ClientWidth() - b->Width() - 5 - (unitSpace > 0 ? unitSpace + 3 : 0));
            e->SetHeight(3);
            EXPECT_EQ(e->Height(), e->MinHeight());
            e->Free();
        }
    }
}

TEST_F(EditBtnTest, ButtonDrawing) {
    auto* e = Add<TAsgEditBtn>(20, 20);
    e->SetBounds(20, 20, 140, 24);
    form->Show();
    ui::test::Pump();
    TAsgEditButton* host = e->Button();
    TAdvSpeedButton* b = host->Button();
    auto classic = Render("classic");

    host->SetButtonColor(clYellow);
    host->SetButtonColorHot(clLime);
    host->SetButtonColorDown(clRed);
    EXPECT_EQ(At(Render("colour"), b, 2, 2), clYellow);
    ui::test::MouseMove(b, 4, 4);
    ui::test::Pump();
    EXPECT_EQ(At(Render("hot"), b, 2, 2), clLime);
    ui::test::MouseDown(b, 4, 4);
    EXPECT_EQ(At(Render("down"), b, 2, 2), clRed);  // pressed beats hovered
    ui::test::MouseUp(b, 4, 4);
    host->SetButtonColor(clNone);

    // The button's own flat look: a raised inner edge, not the push-button frame.
    host->SetFlat(true);
    auto flat = Render("flat");
    int differ = 0;
    for (int y = 0; y < b->Height(); ++y)
        for (int x = 0; x < b->Width(); ++x) differ += At(flat, b, x, y) != At(classic, b, x, y);
    EXPECT_GT(differ, 0);

    // The caption is drawn one pixel right and down while pressed.
    host->SetFlat(false);
    e->SetButtonCaption(u"...");
    auto up = Render("caption");
    ui::test::MouseDown(b, 4, 4);
    auto down = Render("caption_down");
    ui::test::MouseUp(b, 4, 4);
    int moved = 0;
    for (int y = 3; y < b->Height() - 3; ++y)
        for (int x = 3; x < b->Width() - 3; ++x)
            if (At(up, b, x, y) == clBlack) moved += At(down, b, x + 1, y + 1) == clBlack;
    EXPECT_GT(moved, 0);
}

}  // namespace
