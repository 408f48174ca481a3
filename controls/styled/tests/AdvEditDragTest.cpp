// The styled edit in drag and drop: drops from another program at the character under the
// mouse, the drop caret, and its own selection dragged within it by scripted drags.
#include <gtest/gtest.h>

#include "controls/styled/tests/AdvEditTestSupport.h"
#include "controls/styled/AdvEddd.h"
#include "platform/ole/testing/TestSupport.h"

namespace {

using advedit_test::EditTest;

class AdvEditDragTest : public EditTest {
protected:
    void SetUp() override {
        EditTest::SetUp();
        edit->SetBounds(10, 10, 200, 24);
        edit->SetOleDropTarget(true);
    }
    // The screen point over the left half of character i.
    TPoint Over(int i) {
        TPoint p = edit->PosFromChar(static_cast<WORD>(i));
        return edit->ClientToScreen(TPoint(p.X + 1, p.Y + 3));
    }
    static ui::DesktopDragData TextData(const char* s) { return ui::DesktopDragData::OfText(String(s)); }
};

TEST_F(AdvEditDragTest, ADropFromAnotherProgramGoesInAtTheCharacterUnfiltered) {
    Set(etNumeric, u"1234");
    const DWORD effect = ole::test::DropFromOutside(edit->Handle(), TextData("abc"), Over(2));
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    EXPECT_EQ(edit->Text(), String(u"12abc34"));
    EXPECT_TRUE(edit->Modified());
    EXPECT_EQ(edit->DropCaret(), TPoint(-1, -1));

    Set(etString, u"xy");
    ole::test::DropFromOutside(edit->Handle(), TextData("first\r\nsecond"), Over(1));
    EXPECT_EQ(edit->Text(), String(u"xfirsty"));

    edit->SetReadOnly(true);
    EXPECT_EQ(ole::test::DropFromOutside(edit->Handle(), TextData("no"), Over(1)), DROPEFFECT_NONE);
    EXPECT_EQ(edit->Text(), String(u"xfirsty"));
}

TEST_F(AdvEditDragTest, TheDropCaretFollowsTheCharacterUnderTheMouse) {
    Set(etString, u"abcdef");
    ComPtr<TSourceDataObject> data(new TSourceDataObject(u"z", String()));
    ComPtr<TAEDropSource> source(new TAEDropSource());
    {
        ole::test::ScriptedDrag drag({{Over(1), MK_LBUTTON}, {Over(4), MK_LBUTTON}, {Over(4), MK_LBUTTON, true}});
        DWORD effect = 0;
        EXPECT_EQ(DoDragDrop(data.Get(), source.Get(), DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect), DRAGDROP_S_CANCEL);
    }
    // It stays where the mouse last was until a drop or a move drag ends.
    EXPECT_EQ(edit->DropCaret(), edit->PosFromChar(4));
    EXPECT_EQ(edit->Text(), String(u"abcdef"));
}

TEST_F(AdvEditDragTest, TheSelectionDragsWithinTheEdit) {
    edit->SetOleDropSource(true);
    struct Row {
        int drop;      // the character the drop lands on
        bool ctrl;
        const char* after;
    };
    const Row rows[] = {{5, false, "adebcf"}, {5, true, "abcdebcf"}, {2, false, "abcdef"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.after);
        Set(etString, u"abcdef");
        SendMessage(edit->Handle(), EM_SETSEL, 1, 3);  // "bc"
        const DWORD keys = MK_LBUTTON | (r.ctrl ? MK_CONTROL : 0);
        win::SetKeyState(VK_CONTROL, r.ctrl);
        {
            ole::test::ScriptedDrag drag({{Over(1), keys}, {Over(r.drop), keys}, {Over(r.drop), static_cast<DWORD>(keys & ~MK_LBUTTON)}});
            const TPoint press = edit->ScreenToClient(Over(1));
            ui::test::MouseDown(edit, press.X, press.Y);
            EXPECT_EQ(edit->SelLength(), 2);  // a press in the selection keeps it
            ui::test::MouseMove(edit, press.X + 4, press.Y, MK_LBUTTON);
        }
        win::SetKeyState(VK_CONTROL, false);
        EXPECT_EQ(edit->Text(), String(r.after));
    }
}

TEST_F(AdvEditDragTest, AReleaseWithoutAMovePutsTheCaretAndClicks) {
    edit->SetOleDropSource(true);
    Set(etString, u"abcdef");
    SendMessage(edit->Handle(), EM_SETSEL, 1, 4);
    int clicks = 0;
    edit->OnClick = [&](TObject*) { ++clicks; };
    const TPoint at = edit->ScreenToClient(Over(2));
    ui::test::MouseDown(edit, at.X, at.Y);
    EXPECT_EQ(edit->SelLength(), 3);
    ui::test::MouseUp(edit, at.X, at.Y);
    EXPECT_EQ(edit->SelLength(), 0);
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_GE(clicks, 1);
}

TEST_F(AdvEditDragTest, AWindowMadeAgainStillTakesDrops) {
    Set(etString, u"ab");
    edit->SetEditAlign(eaCenter);  // makes the window again
    edit->SetFocusAlign(eaRight);  // and again at every focus change
    other->SetFocus();
    edit->SetFocus();
    EXPECT_EQ(ole::test::DropFromOutside(edit->Handle(), TextData("x"), Over(1)), DROPEFFECT_MOVE);
    EXPECT_EQ(edit->Text(), String(u"axb"));
}

TEST_F(AdvEditDragTest, TheTargetIsRevokedOnlyWhenItWasRegistered) {
    // OLE is up for the process: the edit registered without the test's help.
    EXPECT_EQ(ole::test::DropFromOutside(edit->Handle(), TextData("x"), Over(0)), DROPEFFECT_MOVE);
    edit->SetOleDropTarget(false);
    EXPECT_EQ(RevokeDragDrop(edit->Handle()), DRAGDROP_E_NOTREGISTERED);  // revoked already
    edit->SetOleDropTarget(false);  // nothing left to revoke
    EXPECT_EQ(ole::test::DropFromOutside(edit->Handle(), TextData("y"), Over(0)), DROPEFFECT_NONE);
    EXPECT_EQ(edit->Text(), String(u"x"));
}

}  // namespace
