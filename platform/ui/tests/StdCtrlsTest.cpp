#include <gtest/gtest.h>

#include "platform/ui/Backend.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/TestSupport.h"
#include "platform/ui/tests/UiTestFixture.h"
#include "platform/win/Window.h"

namespace {

class StdCtrlsTest : public ui_test::FormTest {
protected:
    // Shows the form with the control focused, so typed keys go to it.
    void Focus(TWinControl* c) {
        form->Show();
        c->SetFocus();
        ui::test::Pump();
    }
};

// An edit that takes over pasting, as the styled edits do.
class PasteCatcher : public TEdit {
public:
    using TEdit::TEdit;
    int Pastes = 0;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_PASTE) {
            ++Pastes;
            SetSelText(String(u"<paste>"));
            return;
        }
        TEdit::WndProc(m);
    }
};

}  // namespace

TEST_F(StdCtrlsTest, EditSelectionFollowsSetSelAndGetSelReportsIt) {
    auto* edit = Add<TEdit>();
    edit->SetText(String(u"abcdefgh"));
    struct Case {
        WPARAM start;
        LPARAM end;
        int selStart, selLength;
    } cases[] = {
        {2, 5, 2, 3},
        {5, 2, 2, 3},          // the caret end may come first
        {0, -1, 0, 8},         // -1: to the end
        {3, 100, 3, 5},        // past the end: the end
        {4, 4, 4, 0},
    };
    for (const auto& c : cases) {
        edit->Perform(EM_SETSEL, c.start, c.end);
        EXPECT_EQ(edit->SelStart(), c.selStart) << c.start << "," << c.end;
        EXPECT_EQ(edit->SelLength(), c.selLength) << c.start << "," << c.end;
        DWORD s = 0, e = 0;
        LRESULT r = edit->Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
        EXPECT_EQ(static_cast<int>(s), c.selStart);
        EXPECT_EQ(static_cast<int>(e), c.selStart + c.selLength);
        EXPECT_EQ(LOWORD(static_cast<DWORD>(r)), c.selStart);
    }
    edit->Perform(EM_SETSEL, 1, 3);
    EXPECT_EQ(edit->SelText(), String(u"bc"));
    edit->Perform(EM_SETSEL, static_cast<WPARAM>(-1), 0);  // -1 drops the selection
    EXPECT_EQ(edit->SelLength(), 0);
}

TEST_F(StdCtrlsTest, KeyPressCanSwallowOrReplaceTheTypedCharacter) {
    auto* edit = Add<TEdit>();
    Focus(edit);
    edit->OnKeyPress = [](TObject*, char16_t& key) {
        if (key == u'x') key = 0;             // swallowed
        else if (key == u'a') key = u'A';     // replaced
    };
    ui::test::TypeText(edit, String(u"axbxc"));
    EXPECT_EQ(edit->Text(), String(u"Abc"));
    EXPECT_EQ(edit->SelStart(), 3);
    EXPECT_TRUE(edit->Modified());
}

TEST_F(StdCtrlsTest, EditTypingEditingKeysAndUndo) {
    auto* edit = Add<TEdit>();
    Focus(edit);
    ui::test::TypeText(edit, String(u"hello"));
    ui::test::Key(edit, VK_LEFT);
    ui::test::Key(edit, VK_LEFT);
    ui::test::Key(edit, VK_BACK);
    EXPECT_EQ(edit->Text(), String(u"helo"));
    ui::test::Key(edit, VK_HOME);
    ui::test::Key(edit, VK_DELETE);
    EXPECT_EQ(edit->Text(), String(u"elo"));
    ui::test::Key(edit, VK_END, String(), {ssShift});  // selects to the end from the start
    EXPECT_EQ(edit->SelLength(), 3);
    ui::test::TypeText(edit, String(u"Z"));
    EXPECT_EQ(edit->Text(), String(u"Z"));
    ASSERT_TRUE(edit->CanUndo());
    edit->Undo();
    EXPECT_EQ(edit->Text(), String(u"elo"));
    edit->Undo();  // undoing the undo brings the change back
    EXPECT_EQ(edit->Text(), String(u"Z"));
}

TEST_F(StdCtrlsTest, OnChangeFiresForProgramWritesAndTyping) {
    auto* edit = Add<TEdit>();
    int changes = 0;
    edit->OnChange = [&](TObject* s) {
        EXPECT_EQ(s, edit);
        ++changes;
    };
    edit->SetText(String(u"12"));
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(edit->Modified());
    EXPECT_FALSE(edit->CanUndo());
    edit->SetText(String(u"12"));  // no change, no event
    EXPECT_EQ(changes, 1);
    Focus(edit);
    edit->SelectAll();
    ui::test::TypeText(edit, String(u"3"));
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(edit->Text(), String(u"3"));
    EXPECT_TRUE(edit->Modified());
    edit->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"77"));
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(edit->Perform(WM_GETTEXTLENGTH), 2);
    EXPECT_EQ(edit->Perform(EM_GETMODIFY), 0);
}

TEST_F(StdCtrlsTest, MaxLengthAndReadOnlyLimitTheUserNotTheProgram) {
    auto* edit = Add<TEdit>();
    edit->SetMaxLength(4);
    Focus(edit);
    ui::test::TypeText(edit, String(u"123456"));
    EXPECT_EQ(edit->Text(), String(u"1234"));
    edit->SetText(String(u"abcdefg"));  // the program's text is not cut
    EXPECT_EQ(edit->Text(), String(u"abcdefg"));
    edit->SetReadOnly(true);
    edit->SelectAll();
    ui::test::TypeText(edit, String(u"z"));
    ui::test::Key(edit, VK_BACK);
    EXPECT_EQ(edit->Text(), String(u"abcdefg"));
    EXPECT_FALSE(edit->Modified());
    EXPECT_EQ(edit->Perform(EM_GETLIMITTEXT), 4);
}

TEST_F(StdCtrlsTest, ClipboardCopyCutPasteAndAnOverriddenPaste) {
    auto* edit = Add<TEdit>();
    edit->SetText(String(u"one two"));
    edit->Perform(EM_SETSEL, 0, 3);
    edit->CutToClipboard();
    EXPECT_EQ(edit->Text(), String(u" two"));
    EXPECT_EQ(ui::NativeClipboardText(), String(u"one"));
    edit->Perform(EM_SETSEL, 4, 4);
    edit->PasteFromClipboard();
    EXPECT_EQ(edit->Text(), String(u" twoone"));
    ui::SetNativeClipboardText(String(u"line1\r\nline2"));
    edit->SetText(String());
    edit->PasteFromClipboard();  // one line: up to the line break
    EXPECT_EQ(edit->Text(), String(u"line1"));

    auto* catcher = Add<PasteCatcher>(10, 40);
    Focus(catcher);
    ui::test::Key(catcher, 'V', String(u"\x16"), {ssCtrl});
    EXPECT_EQ(catcher->Pastes, 1);
    EXPECT_EQ(catcher->Text(), String(u"<paste>"));
    ui::test::Key(catcher, VK_INSERT, String(), {ssShift});
    EXPECT_EQ(catcher->Pastes, 2);
}

TEST_F(StdCtrlsTest, CharFromPosAndPosFromCharAgree) {
    auto* edit = Add<TEdit>();
    edit->SetWidth(200);
    edit->SetText(String(u"WWiiMM 12345"));
    Focus(edit);
    int lastX = -1;
    for (int i = 0; i <= 11; ++i) {
        LRESULT pos = edit->Perform(EM_POSFROMCHAR, static_cast<WPARAM>(i), 0);
        ASSERT_NE(pos, -1) << i;
        int x = static_cast<int16_t>(LOWORD(static_cast<DWORD>(pos)));
        int y = static_cast<int16_t>(HIWORD(static_cast<DWORD>(pos)));
        EXPECT_GT(x, lastX) << i;
        lastX = x;
        LRESULT ch = edit->Perform(EM_CHARFROMPOS, 0, MAKELPARAM(x, y + 2));
        EXPECT_EQ(LOWORD(static_cast<DWORD>(ch)), i);
    }
    EXPECT_EQ(edit->Perform(EM_POSFROMCHAR, 40, 0), -1);
}

TEST_F(StdCtrlsTest, FormattingRectAndMargins) {
    auto* edit = Add<TEdit>();
    edit->SetBounds(0, 0, 100, 40);
    TRect r(4, 2, 90, 30);
    edit->Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
    TRect back;
    edit->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&back));
    EXPECT_EQ(back, r);
    edit->Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(6, 8));
    EXPECT_EQ(LOWORD(static_cast<DWORD>(edit->Perform(EM_GETMARGINS))), 6);
    EXPECT_EQ(HIWORD(static_cast<DWORD>(edit->Perform(EM_GETMARGINS))), 8);
    edit->Perform(EM_SETRECT, 0, 0);  // none: the client area
    edit->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&back));
    EXPECT_EQ(back, edit->ClientRect());
}

TEST_F(StdCtrlsTest, MemoSelTextInsertsAtTheCaretReplacingTheSelection) {
    auto* memo = Add<TMemo>();
    Focus(memo);
    memo->SetText(String(u"first\r\nsecond"));
    memo->SetSelStart(7);
    memo->SetSelLength(3);  // "sec"
    memo->SetSelText(String(u"2nd\r\nthird "));
    EXPECT_EQ(memo->Text(), String(u"first\r\n2nd\r\nthird ond"));
    EXPECT_EQ(memo->SelStart(), 18);
    EXPECT_EQ(memo->SelLength(), 0);
    memo->CaretToEnd();
    EXPECT_EQ(memo->SelStart(), memo->Text().Length());
    ui::test::Key(memo, VK_RETURN);  // a memo takes Enter as a line break
    ui::test::TypeText(memo, String(u"x"));
    EXPECT_EQ(memo->Text(), String(u"first\r\n2nd\r\nthird ond\r\nx"));
    ui::test::Key(memo, VK_UP);
    EXPECT_EQ(memo->SelStart(), 12 + 1);  // the same column one line up
    ui::test::Key(memo, VK_BACK);
    ui::test::Key(memo, VK_BACK);  // takes the CR LF as one
    EXPECT_EQ(memo->Text(), String(u"first\r\n2ndhird ond\r\nx"));
}

TEST_F(StdCtrlsTest, MemoRefusesInsertionPastItsTextLimit) {
    auto* memo = Add<TMemo>();
    memo->Perform(EM_LIMITTEXT, 10, 0);
    memo->SetText(String(u"12345678"));
    memo->CaretToEnd();
    memo->SetSelText(String(u"9"));
    EXPECT_EQ(memo->Text(), String(u"123456789"));
    memo->SetSelText(String(u"ab"));  // only what fits
    EXPECT_EQ(memo->Text(), String(u"123456789a"));
    memo->SetSelText(String(u"c"));
    EXPECT_EQ(memo->Text(), String(u"123456789a"));
    Focus(memo);
    memo->CaretToEnd();
    ui::test::TypeText(memo, String(u"d"));
    EXPECT_EQ(memo->Text(), String(u"123456789a"));
    memo->Lines()->Add(String(u"more"));
    EXPECT_EQ(memo->Text().Length(), 10);
    // Replacing a selection frees room.
    memo->Perform(EM_SETSEL, 0, 2);
    memo->SetSelText(String(u"xyz"));
    EXPECT_EQ(memo->Text(), String(u"xy3456789a"));
}

TEST_F(StdCtrlsTest, MemoLinesAndTextAgree) {
    auto* memo = Add<TMemo>();
    TStrings* lines = memo->Lines();
    lines->Add(String(u"alpha"));
    lines->Add(String(u"beta"));
    EXPECT_EQ(memo->Text(), String(u"alpha\r\nbeta\r\n"));
    lines->Insert(1, String(u"middle"));
    lines->SetStrings(0, String(u"ALPHA"));
    EXPECT_EQ(memo->Text(), String(u"ALPHA\r\nmiddle\r\nbeta\r\n"));
    lines->Delete(2);
    EXPECT_EQ(lines->Count(), 2);
    memo->SetText(String(u"a\r\nb\nc"));
    ASSERT_EQ(lines->Count(), 3);
    EXPECT_EQ(lines->Get(1), String(u"b"));
    EXPECT_EQ(lines->Get(2), String(u"c"));
    lines->Add(String(u"d"));
    EXPECT_EQ(lines->Get(3), String(u"d"));
    EXPECT_EQ(memo->Perform(EM_GETLINECOUNT), 4);
    lines->SetText(String(u"x\r\ny"));
    EXPECT_EQ(memo->Text(), String(u"x\r\ny"));
    EXPECT_EQ(lines->Text(), String(u"x\r\ny\r\n"));
    lines->Clear();
    EXPECT_TRUE(memo->Text().empty());
    EXPECT_EQ(lines->Count(), 0);
}

TEST_F(StdCtrlsTest, ComboTypingFiresOnChangeAndMatchesItems) {
    auto* combo = Add<TComboBox>();
    combo->Items()->Add(String(u"9600"));
    combo->Items()->Add(String(u"19200"));
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    Focus(combo);
    ui::test::TypeText(combo, String(u"1920"));
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(combo->Text(), String(u"1920"));
    EXPECT_EQ(combo->ItemIndex(), -1);
    ui::test::TypeText(combo, String(u"0"));
    EXPECT_EQ(combo->ItemIndex(), 1);  // the text is an item now
    ui::test::TypeText(combo, String(u"0"));
    combo->SetItemIndex(-1);
    EXPECT_EQ(combo->Text(), String(u"192000"));  // -1 leaves the typed text
    combo->SetItemIndex(0);
    EXPECT_EQ(combo->Text(), String(u"9600"));
    EXPECT_EQ(changes, 6);  // the program's choice is no change by the user
}

TEST_F(StdCtrlsTest, ComboSelectsByKeysAndMessages) {
    auto* combo = Add<TComboBox>();
    combo->SetStyle(csDropDownList);
    for (const char16_t* s : {u"COM1", u"COM3", u"ttyUSB0"}) combo->Items()->Add(String(s));
    std::vector<int> selects;
    int drops = 0, closes = 0;
    combo->OnSelect = [&](TObject*) { selects.push_back(combo->ItemIndex()); };
    combo->OnDropDown = [&](TObject*) { ++drops; };
    combo->OnCloseUp = [&](TObject*) { ++closes; };
    Focus(combo);
    ui::test::Key(combo, VK_DOWN);
    ui::test::Key(combo, VK_DOWN);
    ui::test::TypeText(combo, String(u"t"));
    EXPECT_EQ(selects, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(combo->Text(), String(u"ttyUSB0"));
    combo->SetText(String(u"nothing"));  // a drop-down list shows only its items
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_TRUE(combo->Text().empty());

    EXPECT_EQ(combo->Perform(CB_GETCOUNT), 3);
    EXPECT_EQ(combo->Perform(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"com3")), 1);
    EXPECT_EQ(combo->Perform(CB_FINDSTRING, 0, reinterpret_cast<LPARAM>(u"CO")), 1);  // after item 0
    EXPECT_EQ(combo->Perform(CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"x")), CB_ERR);
    EXPECT_EQ(combo->Perform(CB_SETCURSEL, 2), 2);
    EXPECT_EQ(combo->Perform(CB_GETCURSEL), 2);
    char16_t buf[16] = {};
    EXPECT_EQ(combo->Perform(CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buf)), 4);
    EXPECT_EQ(String(buf), String(u"COM1"));
    combo->Perform(CB_SHOWDROPDOWN, 1);
    EXPECT_EQ(combo->Perform(CB_GETDROPPEDSTATE), 1);
    ui::test::Key(combo, VK_ESCAPE);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(selects.size(), 3u);  // messages are the program's, not the user's
}

TEST_F(StdCtrlsTest, ComboEditSelectionMessages) {
    auto* combo = Add<TComboBox>();
    combo->SetText(String(u"abcdef"));
    combo->Perform(CB_SETEDITSEL, 0, MAKELPARAM(1, 4));
    DWORD s = 0, e = 0;
    combo->Perform(CB_GETEDITSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    EXPECT_EQ(s, 1u);
    EXPECT_EQ(e, 4u);
    combo->Perform(CB_LIMITTEXT, 6);
    Focus(combo);
    combo->Perform(CB_SETEDITSEL, 0, MAKELPARAM(6, 6));
    ui::test::TypeText(combo, String(u"g"));
    EXPECT_EQ(combo->Text(), String(u"abcdef"));
}

TEST_F(StdCtrlsTest, ModalResultOfAButtonClosesTheModalForm) {
    auto* ok = Add<TButton>();
    ok->SetCaption(String(u"OK"));
    ok->SetModalResult(mrOk);
    int clicks = 0;
    ok->OnClick = [&](TObject*) { ++clicks; };
    bool done = false;
    Application->OnIdle = [&](TObject*, bool& Done) {
        Done = false;
        if (form->Visible() && !done) {
            done = true;
            ui::test::Click(ok, 5, 5);
        }
    };
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(form->Visible());
}

TEST_F(StdCtrlsTest, DefaultAndCancelButtonsAnswerEnterAndEscape) {
    auto* edit = Add<TEdit>(10, 10);
    auto* ok = Add<TButton>(10, 40);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto* cancel = Add<TButton>(100, 40);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    struct Case {
        WORD key;
        TModalResult result;
    } cases[] = {{VK_RETURN, mrOk}, {VK_ESCAPE, mrCancel}};
    for (const auto& c : cases) {
        bool sent = false;
        Application->OnIdle = [&](TObject*, bool& Done) {
            Done = false;
            if (form->Visible() && !sent) {
                sent = true;
                edit->SetFocus();
                ui::test::Key(edit, c.key);
            }
        };
        EXPECT_EQ(form->ShowModal(), c.result) << c.key;
    }
    Application->OnIdle = nullptr;
    // Enter on another focused button clicks that one, not the default.
    int okClicks = 0, cancelClicks = 0;
    ok->SetModalResult(mrNone);
    cancel->SetModalResult(mrNone);
    ok->OnClick = [&](TObject*) { ++okClicks; };
    cancel->OnClick = [&](TObject*) { ++cancelClicks; };
    form->Show();
    cancel->SetFocus();
    ui::test::Key(cancel, VK_RETURN);
    EXPECT_EQ(okClicks, 0);
    EXPECT_EQ(cancelClicks, 1);
    ui::test::Key(cancel, VK_SPACE);
    EXPECT_EQ(cancelClicks, 2);
}

TEST_F(StdCtrlsTest, CheckBoxCyclesItsStates) {
    auto* box = Add<TCheckBox>();
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    ui::test::Click(box, 5, 5);
    EXPECT_TRUE(box->Checked());
    ui::test::Click(box, 5, 5);
    EXPECT_EQ(box->State(), cbUnchecked);
    box->SetAllowGrayed(true);
    ui::test::Click(box, 5, 5);
    EXPECT_EQ(box->State(), cbGrayed);
    ui::test::Click(box, 5, 5);
    EXPECT_EQ(box->State(), cbChecked);
    EXPECT_EQ(clicks, 4);
    box->SetChecked(true);  // unchanged: no event
    EXPECT_EQ(clicks, 4);
    EXPECT_EQ(box->Perform(BM_GETCHECK), static_cast<LRESULT>(BST_CHECKED));
}

TEST_F(StdCtrlsTest, RadioButtonsExcludeEachOther) {
    auto* a = Add<TRadioButton>(10, 10);
    auto* b = Add<TRadioButton>(10, 30);
    auto* c = Add<TRadioButton>(10, 50);
    form->Show();
    a->SetChecked(true);
    ui::test::Click(b, 5, 5);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(c->Checked());
    c->SetChecked(true);
    EXPECT_FALSE(b->Checked());
    EXPECT_TRUE(c->Checked());
    // Arrow keys move the focus to the next button of the group and check it.
    c->SetFocus();
    ui::test::Key(c, VK_UP);
    EXPECT_TRUE(b->Focused());
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(c->Checked());
}

TEST_F(StdCtrlsTest, RadioGroupItemIndexAndClicks) {
    auto* group = Add<TRadioGroup>();
    group->SetBounds(10, 10, 200, 100);
    group->SetCaption(String(u"Parity"));
    for (const char16_t* s : {u"None", u"Odd", u"Even"}) group->Items()->Add(String(s));
    group->SetColumns(2);
    int clicks = 0;
    group->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    ASSERT_EQ(group->ButtonCount(), 3);
    EXPECT_EQ(group->ItemIndex(), -1);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(group->Buttons(i)->Checked());
    group->SetItemIndex(1);
    EXPECT_TRUE(group->Buttons(1)->Checked());
    EXPECT_EQ(clicks, 1);
    ui::test::Click(group->Buttons(2), 3, 3);
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_FALSE(group->Buttons(1)->Checked());
    EXPECT_EQ(clicks, 2);
    group->SetItemIndex(-1);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(group->Buttons(i)->Checked());
    // Two columns: the third item starts the second column.
    EXPECT_GT(group->Buttons(2)->Left(), group->Buttons(0)->Left());
    EXPECT_EQ(group->Buttons(2)->Top(), group->Buttons(0)->Top());
}

TEST_F(StdCtrlsTest, MemoDoubleClickHandlerSeesTheWordSelectedAndMayChangeIt) {
    auto* memo = Add<TMemo>();
    memo->SetText(String(u"one two three"));
    form->Show();
    int downs = 0;
    memo->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        ++downs;
        EXPECT_TRUE(memo->Focused());  // the edit took the focus first
    };
    String seen;
    memo->OnDblClick = [&](TObject*) {
        seen = memo->SelText();
        memo->SelectAll();
        memo->CaretToEnd();
    };
    TPoint p(-1, -1);
    LRESULT r = memo->Perform(EM_POSFROMCHAR, 5, 0);  // inside "two"
    ASSERT_NE(r, -1);
    p = Point(static_cast<int16_t>(LOWORD(static_cast<DWORD>(r))) + 1, static_cast<int16_t>(HIWORD(static_cast<DWORD>(r))) + 2);
    ui::test::MouseDown(memo, p.X, p.Y);
    ui::test::MouseUp(memo, p.X, p.Y);
    EXPECT_EQ(memo->SelStart(), 5);
    memo->HandleNeeded();
    ui::GetBackend().SendMouse(*memo->Peer(), WM_LBUTTONDBLCLK, p.X, p.Y, MK_LBUTTON);
    ui::test::MouseUp(memo, p.X, p.Y);
    EXPECT_EQ(seen, String(u"two "));
    EXPECT_EQ(memo->SelStart(), memo->Text().Length());
    EXPECT_EQ(downs, 2);
}

TEST_F(StdCtrlsTest, CharCaseConvertsTypedAndWrittenText) {
    auto* edit = Add<TEdit>();
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetCharCase(ecUpperCase);
    edit->SetText(String(u"abc"));
    EXPECT_EQ(edit->Text(), String(u"ABC"));
    EXPECT_EQ(changes, 1);
    Focus(edit);
    edit->SetSelStart(3);
    ui::test::TypeText(edit, String(u"d"));
    EXPECT_EQ(edit->Text(), String(u"ABCD"));
    auto* combo = Add<TComboBox>(10, 40);
    combo->SetText(String(u"Hex"));
    combo->SetCharCase(ecLowerCase);
    EXPECT_EQ(combo->Text(), String(u"hex"));
    combo->Perform(CB_SETDROPPEDWIDTH, 300);
    EXPECT_EQ(combo->Perform(CB_GETDROPPEDWIDTH), 300);
}

namespace {

// Stands in for the toolkit's open list, which reports the item the user picked.
class PickableCombo : public TComboBox {
public:
    using TComboBox::TComboBox;
    void UserPicks(int index) { ListItemPicked(index); }
    void ListCloses() { ListClosedUp(); }
};

}  // namespace

TEST_F(StdCtrlsTest, ComboItemPickedFromTheOpenListSelectsAndClosesIt) {
    auto* combo = Add<PickableCombo>();
    for (const char16_t* s : {u"@DT", u"@CH", u"@EI"}) combo->Items()->Add(String(s));
    std::vector<String> order;
    combo->OnSelect = [&](TObject*) { order.push_back(String(u"select ") + combo->Text()); };
    combo->OnChange = [&](TObject*) { order.push_back(String(u"change")); };
    combo->OnCloseUp = [&](TObject*) { order.push_back(String(u"closeup")); };
    combo->OnDropDown = [&](TObject*) { order.push_back(String(u"dropdown")); };
    form->Show();
    ui::test::Click(combo, combo->Width() - 5, 5);  // the arrow opens the list
    EXPECT_TRUE(combo->DroppedDown());
    combo->UserPicks(1);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(order, (std::vector<String>{String(u"dropdown"), String(u"select @CH"), String(u"closeup")}));
    combo->SetDroppedDown(true);
    combo->ListCloses();  // closed without a pick: Escape or a click elsewhere
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(order.back(), String(u"closeup"));
    combo->OnSelect = nullptr;  // without OnSelect, a pick is a change
    combo->UserPicks(2);
    EXPECT_EQ(order.back(), String(u"change"));
}

TEST_F(StdCtrlsTest, ProgramInsertionsLeaveNoStaleUndoStep) {
    auto* memo = Add<TMemo>();
    Focus(memo);
    ui::test::TypeText(memo, String(u"ab"));
    ASSERT_TRUE(memo->CanUndo());
    memo->SetSelText(String(u"cd"));  // the program's insertion cannot be undone...
    EXPECT_FALSE(memo->CanUndo());
    memo->Undo();  // ...and an undo does not bring back the text before it
    EXPECT_EQ(memo->Text(), String(u"abcd"));
    memo->Perform(EM_REPLACESEL, 1, reinterpret_cast<LPARAM>(u"e"));  // an undoable one
    ASSERT_TRUE(memo->CanUndo());
    memo->Undo();
    EXPECT_EQ(memo->Text(), String(u"abcd"));
    memo->Lines()->Add(String(u"x"));
    EXPECT_FALSE(memo->CanUndo());
}

TEST_F(StdCtrlsTest, MemoPositionsCountLineBreaksAsTwoCharacters) {
    auto* memo = Add<TMemo>();
    memo->SetBounds(10, 10, 200, 120);
    memo->SetText(String(u"ab\r\ncd\r\n\r\nef"));
    Focus(memo);
    struct Case {
        int index, line;
    } cases[] = {{0, 0}, {1, 0}, {2, 0}, {4, 1}, {5, 1}, {6, 1}, {8, 2}, {10, 3}, {11, 3}, {12, 3}};
    int lastY = -1;
    for (const auto& c : cases) {
        LRESULT pos = memo->Perform(EM_POSFROMCHAR, static_cast<WPARAM>(c.index), 0);
        ASSERT_NE(pos, -1) << c.index;
        int x = static_cast<int16_t>(LOWORD(static_cast<DWORD>(pos)));
        int y = static_cast<int16_t>(HIWORD(static_cast<DWORD>(pos)));
        EXPECT_GE(y, lastY) << c.index;
        lastY = y;
        LRESULT ch = memo->Perform(EM_CHARFROMPOS, 0, MAKELPARAM(x, y + 2));
        EXPECT_EQ(LOWORD(static_cast<DWORD>(ch)), c.index);
        EXPECT_EQ(HIWORD(static_cast<DWORD>(ch)), c.line);
        EXPECT_EQ(memo->Perform(EM_LINEFROMCHAR, static_cast<WPARAM>(c.index)), c.line);
    }
    EXPECT_EQ(memo->Perform(EM_LINEINDEX, 2), 8);
    EXPECT_EQ(memo->Perform(EM_LINELENGTH, 5), 2);
    memo->Perform(EM_SETSEL, 5, 5);
    ui::test::Key(memo, VK_DOWN);  // column 1 of an empty line: its end
    EXPECT_EQ(memo->SelStart(), 8);
    ui::test::Key(memo, VK_RIGHT);  // over the line break at once
    EXPECT_EQ(memo->SelStart(), 10);
}

TEST_F(StdCtrlsTest, OnChangeSeesTheUsersEditCompleteAndMayRewriteTheText) {
    auto* edit = Add<TEdit>();
    Focus(edit);
    std::vector<std::pair<int, bool>> seen;  // SelStart and Modified inside OnChange
    edit->OnChange = [&](TObject*) {
        seen.emplace_back(edit->SelStart(), edit->Modified());
        if (edit->Text() == String(u"ab")) edit->SetText(String(u"X"));  // a reformatting handler
    };
    ui::test::TypeText(edit, String(u"a"));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], std::make_pair(1, true));
    ui::test::TypeText(edit, String(u"b"));
    // The handler's text stands as the program wrote it: caret at the start, not modified.
    EXPECT_EQ(edit->Text(), String(u"X"));
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_FALSE(edit->Modified());
    ui::test::TypeText(edit, String(u"y"));
    EXPECT_EQ(edit->Text(), String(u"yX"));
}

namespace {

// Takes the text notification away from the edit, as a component's WndProc may.
class NotificationSwallower : public TEdit {
public:
    using TEdit::TEdit;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == CM_TEXTCHANGED) return;
        TEdit::WndProc(m);
    }
};

}  // namespace

TEST_F(StdCtrlsTest, AnEditNeverWritesBackAnOlderTextThanTheProgramGaveIt) {
    auto* edit = Add<NotificationSwallower>();
    edit->SetAutoSelect(false);
    Focus(edit);
    edit->SetText(String(u"abc"));
    ui::test::TypeText(edit, String(u"x"));
    EXPECT_EQ(edit->Text(), String(u"xabc"));
}
