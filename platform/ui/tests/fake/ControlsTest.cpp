#include <gtest/gtest.h>

#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/tests/ControlsTestControls.h"
#include "platform/win/Window.h"

namespace {

using namespace controls_test;

// A windowed control that keeps typed characters, as an edit would.
class TextHolder : public ui::test::CharTaker {
public:
    explicit TextHolder(TComponent* owner) : CharTaker(owner, 80) {}
    int Enters = 0, Exits = 0;

protected:
    void DefaultHandler(TMessage& m) override {
        if (m.Msg == WM_CHAR && m.WParam >= 0x20) {
            SetText(Text() + String(static_cast<char16_t>(m.WParam)));
            return;
        }
        TCustomControl::DefaultHandler(m);
    }
    void DoEnter() override {
        ++Enters;
        TCustomControl::DoEnter();
    }
    void DoExit() override {
        ++Exits;
        TCustomControl::DoExit();
    }
};

// Sets its form's ModalResult when clicked, as a button with a modal result does.
class ResultButton : public TCustomControl {
public:
    ResultButton(TComponent* owner, TModalResult r) : TCustomControl(owner), FResult(r) { SetBounds(10, 10, 60, 24); }
    void Click() override {
        TCustomControl::Click();
        if (TCustomForm* f = GetParentForm(this)) f->SetModalResult(FResult);
    }

private:
    TModalResult FResult;
};

using ControlsTest = ui::test::AppTest;

}  // namespace

TEST_F(ControlsTest, GraphicControlGetsMouseEnterLeaveAndClick) {
    auto* form = new TForm(nullptr);
    auto* panel = new Panel(form);
    panel->SetBounds(0, 0, 200, 100);
    panel->SetParent(form);
    auto* box = new Box(form);
    box->SetBounds(50, 20, 40, 30);
    box->SetParent(panel);
    int clicks = 0;
    std::vector<std::pair<int, int>> downs;
    box->OnClick = [&](TObject* s) {
        EXPECT_EQ(s, box);
        ++clicks;
    };
    box->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState shift, int x, int y) {
        EXPECT_EQ(b, mbLeft);
        EXPECT_TRUE(shift.Contains(ssLeft));
        downs.emplace_back(x, y);
    };
    int panelClicks = 0;
    panel->OnClick = [&](TObject*) { ++panelClicks; };
    form->Show();

    ui::test::MouseMove(panel, 5, 5);
    EXPECT_EQ(box->Enters, 0);
    ui::test::MouseMove(panel, 60, 30);
    EXPECT_EQ(box->Enters, 1);
    ui::test::MouseMove(panel, 61, 31);
    EXPECT_EQ(box->Enters, 1);  // still inside: no second enter
    ui::test::MouseMove(panel, 150, 80);
    EXPECT_EQ(box->Leaves, 1);

    ui::test::Click(box, 3, 4);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(panelClicks, 0);
    EXPECT_EQ(downs, (std::vector<std::pair<int, int>>{{3, 4}}));
    EXPECT_EQ(box->Enters, 2);
    // Pressed on the box, released outside it: captured, so the box sees the release, no click.
    ui::test::MouseDown(box, 5, 5);
    ui::test::MouseUp(panel, 150, 80);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(GetCaptureControl(), nullptr);
    // The pointer leaving the window is a leave too.
    ui::test::MouseMove(box, 5, 5);
    int leaves = box->Leaves;
    ui::test::MouseLeave(panel);
    EXPECT_EQ(box->Leaves, leaves + 1);
    // A disabled graphic control lets the mouse through to its parent.
    box->SetEnabled(false);
    ui::test::Click(box, 3, 4);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(panelClicks, 1);
    form->Free();
}

TEST_F(ControlsTest, KeyPressCanSwallowACharacter) {
    auto* form = new TForm(nullptr);
    auto* edit = new TextHolder(form);
    edit->SetParent(form);
    std::vector<WORD> downs;
    edit->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { downs.push_back(key); };
    edit->OnKeyPress = [](TObject*, char16_t& key) {
        if (key == u'x') key = 0;
        if (key == u'a') key = u'A';  // a handler may also change the character
    };
    form->Show();
    ASSERT_TRUE(edit->Focused());
    ui::test::TypeText(edit, String("axbｱ"));
    EXPECT_EQ(edit->Text(), String("Abｱ"));
    // The kana came as text alone (as from an input method): no key-down for it.
    EXPECT_EQ(downs, (std::vector<WORD>{'A', 'X', 'B'}));
    form->Free();
}

TEST_F(ControlsTest, FormKeyPreviewSeesKeysFirst) {
    auto* form = new TForm(nullptr);
    auto* edit = new TextHolder(form);
    edit->SetParent(form);
    form->SetKeyPreview(true);
    form->OnKeyPress = [](TObject*, char16_t& key) {
        if (key == u'q') key = 0;
    };
    form->Show();
    ui::test::TypeText(edit, String("aqb"));
    EXPECT_EQ(edit->Text(), String("ab"));
    form->Free();
}

TEST_F(ControlsTest, TabMovesFocusInTabOrder) {
    auto* form = new TForm(nullptr);
    auto* a = new TextHolder(form);
    auto* b = new TextHolder(form);
    auto* c = new TextHolder(form);
    auto* skipped = new TextHolder(form);
    auto* disabled = new TextHolder(form);
    for (auto* t : {a, b, c, skipped, disabled}) t->SetParent(form);
    skipped->SetTabStop(false);
    disabled->SetEnabled(false);
    c->SetTabOrder(0);  // order now: c, a, b, skipped, disabled
    EXPECT_EQ(c->TabOrder(), 0);
    EXPECT_EQ(a->TabOrder(), 1);
    form->Show();
    EXPECT_EQ(form->ActiveControl(), c);  // the first in tab order takes the focus
    EXPECT_EQ(c->Enters, 1);
    ui::test::Key(form, VK_TAB);
    EXPECT_EQ(form->ActiveControl(), a);
    EXPECT_EQ(c->Exits, 1);
    EXPECT_EQ(a->Enters, 1);
    ui::test::Key(form, VK_TAB);
    EXPECT_EQ(form->ActiveControl(), b);
    ui::test::Key(form, VK_TAB);
    EXPECT_EQ(form->ActiveControl(), c);  // wraps, passing over the two that take no tab
    ui::test::Key(form, VK_TAB, String(), {ssShift});
    EXPECT_EQ(form->ActiveControl(), b);
    EXPECT_TRUE(b->Focused());
    EXPECT_EQ(Screen->ActiveControl(), b);
    // SetFocus on a disabled control is refused.
    EXPECT_THROW(disabled->SetFocus(), EInvalidOperation);
    form->Free();
}

TEST_F(ControlsTest, ShowModalReturnsTheResultSetByAButton) {
    auto* owner = new TForm(nullptr);
    owner->Show();
    auto* dlg = NewForm<TForm>(owner);
    auto* ok = new ResultButton(dlg, mrOk);
    ok->SetParent(dlg);
    int closes = 0;
    dlg->OnClose = [&](TObject*, TCloseAction& action) {
        EXPECT_EQ(action, caHide);
        ++closes;
    };
    bool clicked = false;
    bool ownerClickReached = false;
    owner->OnClick = [&](TObject*) { ownerClickReached = true; };
    Application->OnIdle = [&](TObject*, bool& Done) {
        Done = false;
        if (dlg->Visible() && !clicked) {
            clicked = true;
            EXPECT_EQ(Screen->ActiveForm(), dlg);
            ui::test::Click(owner, 5, 5);  // other forms take no input meanwhile
            ui::test::Click(ok, 5, 5);
        }
    };
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_TRUE(clicked);
    EXPECT_FALSE(ownerClickReached);
    EXPECT_FALSE(dlg->Visible());
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(Screen->ActiveForm(), owner);
    owner->Free();  // frees the dialog it owns
}

TEST_F(ControlsTest, CloseQueryCanKeepTheFormOpen) {
    auto* form = new TForm(nullptr);
    bool allow = false;
    int closes = 0;
    form->OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = allow; };
    form->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    form->Show();
    form->Close();
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(closes, 0);
    form->Perform(WM_CLOSE);  // the window manager's close button takes the same road
    EXPECT_TRUE(form->Visible());
    allow = true;
    form->Close();
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(closes, 1);
    form->Free();
}

TEST_F(ControlsTest, CloseActionsFreeOrKeepTheForm) {
    bool destroyed = false;
    auto* form = NewForm<TForm>(nullptr);
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    form->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
    form->Show();
    form->Close();
    EXPECT_FALSE(destroyed);  // freed once the queued messages are handled
    ui::test::Pump(10);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(Screen->FormCount(), 0);

    auto* keep = new TForm(nullptr);
    keep->OnClose = [](TObject*, TCloseAction& action) { action = caNone; };
    keep->Show();
    keep->Close();
    EXPECT_TRUE(keep->Visible());
    keep->Free();
}

TEST_F(ControlsTest, ClosingTheMainFormEndsTheApplication) {
    TForm* main = nullptr;
    bool created = false;
    Application->CreateForm(main);
    EXPECT_EQ(Application->MainForm(), main);
    main->OnCreate = [&](TObject*) { created = true; };  // set too late: OnCreate ran already
    EXPECT_FALSE(created);
    main->Show();
    main->Close();
    EXPECT_TRUE(Application->Terminated());
    main->Free();
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST_F(ControlsTest, AlignAndParentColorFollowTheParent) {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 300, 200);
    auto* top = new Panel(form);
    top->SetHeight(30);
    top->SetParent(form);
    top->SetAlign(alTop);
    auto* client = new Panel(form);
    client->SetParent(form);
    client->SetAlign(alClient);
    auto* left = new Panel(form);
    left->SetWidth(50);
    left->SetParent(form);
    left->SetAlign(alLeft);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 300, 30));
    EXPECT_EQ(left->BoundsRect(), Rect(0, 30, 50, 200));
    EXPECT_EQ(client->BoundsRect(), Rect(50, 30, 300, 200));
    form->SetBounds(0, 0, 400, 250);
    EXPECT_EQ(client->BoundsRect(), Rect(50, 30, 400, 250));

    auto* box = new Box(form);
    box->SetParent(client);
    box->SetParentColor(true);
    EXPECT_EQ(box->Color(), kPanelColor);
    client->SetColor(0x123456);
    EXPECT_EQ(box->Color(), 0x123456);
    box->SetColor(0x111111);  // an own colour ends the link
    EXPECT_FALSE(box->ParentColor());
    client->SetColor(0x222222);
    EXPECT_EQ(box->Color(), 0x111111);
    form->Free();
}

TEST_F(ControlsTest, ParentFontFollowsTheParentUntilAFontOfItsOwn) {
    auto* form = new TForm(nullptr);
    auto* panel = new Panel(form);
    panel->SetParent(form);
    auto* box = new Box(form);
    box->SetParent(panel);
    form->Font()->SetName(String("Noto Sans CJK JP"));
    form->Font()->SetSize(12);
    EXPECT_EQ(panel->Font()->Size(), 12);
    EXPECT_EQ(box->Font()->Name(), String("Noto Sans CJK JP"));
    EXPECT_TRUE(box->ParentFont());
    box->Font()->SetStyle(TFontStyles() << fsBold);
    EXPECT_FALSE(box->ParentFont());
    form->Font()->SetSize(9);
    EXPECT_EQ(panel->Font()->Size(), 9);
    EXPECT_EQ(box->Font()->Size(), 12);
    box->SetParentFont(true);
    EXPECT_EQ(box->Font()->Size(), 9);
    form->Free();
}

TEST_F(ControlsTest, PropertyChangesSendTheirNotifications) {
    struct Recorder : TGraphicControl {
        using TGraphicControl::TGraphicControl;
        std::vector<UINT> seen;
        void Dispatch(TMessage& m) override {
            if (m.Msg >= CM_BASE && m.Msg < CN_BASE) seen.push_back(m.Msg);
            TGraphicControl::Dispatch(m);
        }
    };
    Recorder r(nullptr);
    r.SetText(String("ﾘｽﾀｰﾄ"));
    r.SetText(String("ﾘｽﾀｰﾄ"));  // unchanged: nothing
    r.SetEnabled(false);
    r.SetVisible(false);
    r.SetColor(0x00FF00);
    EXPECT_EQ(r.seen, (std::vector<UINT>{CM_TEXTCHANGED, CM_ENABLEDCHANGED, CM_VISIBLECHANGED, CM_COLORCHANGED}));
    EXPECT_EQ(r.Caption(), String("ﾘｽﾀｰﾄ"));
}

TEST_F(ControlsTest, AcceleratorsMatchTheMarkedCharacter) {
    EXPECT_TRUE(IsAccel('S', String("&Save")));
    EXPECT_TRUE(IsAccel('S', String("&save")));
    EXPECT_FALSE(IsAccel('A', String("S&&ave")));
    EXPECT_TRUE(IsAccel('V', String("Sa&&&ve")));
    EXPECT_FALSE(IsAccel('X', String("Exit")));
}

TEST_F(ControlsTest, HintsSplitIntoShortAndLong) {
    EXPECT_EQ(GetShortHint(String("Open|Opens the port")), String("Open"));
    EXPECT_EQ(GetLongHint(String("Open|Opens the port")), String("Opens the port"));
    EXPECT_EQ(GetShortHint(String("ﾎﾟｰﾄ")), String("ﾎﾟｰﾄ"));
    EXPECT_EQ(GetLongHint(String("ﾎﾟｰﾄ")), String("ﾎﾟｰﾄ"));
}

TEST_F(ControlsTest, DisabledFormTakesNoInput) {
    auto* form = new TForm(nullptr);
    auto* edit = new TextHolder(form);
    edit->SetParent(form);
    form->Show();
    form->SetEnabled(false);
    ui::test::TypeText(edit, String("abc"));
    EXPECT_EQ(edit->Text(), String());
    form->SetEnabled(true);
    ui::test::TypeText(edit, String("abc"));
    EXPECT_EQ(edit->Text(), String("abc"));
    form->Free();
}

TEST_F(ControlsTest, FreeingAParentFreesItsChildrenAndClearsReferences) {
    auto* form = new TForm(nullptr);
    auto* panel = new Panel(nullptr);  // not owned by the form: freed as its child all the same
    panel->SetParent(form);
    auto* edit = new TextHolder(nullptr);
    edit->SetParent(panel);
    form->Show();
    EXPECT_EQ(form->ActiveControl(), edit);
    ui::test::MouseMove(edit, 3, 3);
    panel->Free();  // takes the edit with it
    EXPECT_EQ(form->ActiveControl(), nullptr);
    EXPECT_EQ(form->ControlCount(), 0);
    EXPECT_EQ(Application->MouseControl(), nullptr);
    form->Free();
}

TEST_F(ControlsTest, IconsOfTheApplicationAndOfAForm) {
    // A missing icon file fails loudly, so a start-up that loads one stops there.
    EXPECT_THROW(Application->Icon()->LoadFromFile(String("Error !!")), EFOpenError);
    TIcon source;
    source.Bitmap()->SetSize(16, 16);
    std::vector<uint8_t> bytes = source.SaveToBytes();
    auto* form = new TForm(nullptr);
    form->Show();
    int changes = 0;
    form->Icon()->LoadFromBytes(bytes);
    EXPECT_EQ(form->Icon()->Width(), 16);
    TGraphicsNotify previous = Application->Icon()->OnChange;
    Application->Icon()->OnChange = [&](TPersistent* s) {
        ++changes;
        previous(s);
    };
    Application->Icon()->LoadFromBytes(bytes);
    Application->Icon()->OnChange = previous;
    EXPECT_GE(changes, 1);
    form->Free();
}

TEST_F(ControlsTest, ClosingAModalFormCancelsUnlessOnCloseSaysOtherwise) {
    auto* dlg = NewForm<TForm>(nullptr);
    dlg->SetPosition(poOwnerFormCenter);
    bool confirm = false;
    dlg->OnClose = [&](TObject*, TCloseAction&) {
        if (confirm) dlg->SetModalResult(mrOk);  // every way of closing counts as OK
    };
    Application->OnIdle = [&](TObject*, bool& Done) {
        Done = false;
        if (dlg->Visible()) dlg->Perform(WM_CLOSE);  // the window's close box
    };
    EXPECT_EQ(dlg->ShowModal(), mrCancel);
    confirm = true;
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_FALSE(dlg->Visible());
    // A modal form refusing to close keeps the loop going until it agrees.
    int asked = 0;
    dlg->OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = ++asked >= 3; };
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_EQ(asked, 3);
    // Showing an already visible form modally is refused.
    dlg->Show();
    EXPECT_THROW(dlg->ShowModal(), EInvalidOperation);
    dlg->Free();
}

// Release from inside the form's own modal loop ends the loop as a cancel; the form goes only
// once the loop no longer touches it.
TEST_F(ControlsTest, ReleasingAModalFormEndsItsLoopBeforeFreeingIt) {
    auto* dlg = NewForm<TForm>(nullptr);
    bool destroyed = false;
    dlg->OnDestroy = [&](TObject*) { destroyed = true; };
    dlg->OnCloseQuery = [](TObject*, bool& CanClose) { CanClose = false; };  // a release is not asked
    bool released = false;
    Application->OnIdle = [&](TObject*, bool& Done) {
        Done = false;
        if (!released && dlg->Visible()) {
            released = true;
            dlg->Release();
        }
    };
    EXPECT_EQ(dlg->ShowModal(), mrCancel);
    EXPECT_TRUE(released);
    EXPECT_FALSE(destroyed);
    Application->OnIdle = nullptr;
    Application->ProcessMessages();
    EXPECT_TRUE(destroyed);
}

// A form may go while it runs modally (its owner freed) or while the form it came from goes: the
// loop ends as a cancel and touches neither afterwards.
TEST_F(ControlsTest, ModalLoopSurvivesItsFormOrThePreviousFormBeingFreed) {
    auto* owner = new TForm(nullptr);
    owner->Show();
    auto* dlg = NewForm<TForm>(owner);
    bool freed = false;
    Application->OnIdle = [&](TObject*, bool& Done) {
        Done = false;
        if (!freed && dlg->Visible()) {
            freed = true;
            owner->Free();  // takes the dialog with it
        }
    };
    EXPECT_EQ(dlg->ShowModal(), mrCancel);
    EXPECT_TRUE(freed);

    auto* previous = new TForm(nullptr);
    previous->Show();
    auto* other = NewForm<TForm>(nullptr);
    EXPECT_EQ(Screen->ActiveForm(), previous);
    freed = false;
    Application->OnIdle = [&](TObject*, bool& Done) {
        Done = false;
        if (!freed && other->Visible()) {
            freed = true;
            previous->Free();
            other->SetModalResult(mrOk);
        }
    };
    EXPECT_EQ(other->ShowModal(), mrOk);
    EXPECT_TRUE(freed);
    EXPECT_NE(Screen->ActiveForm(), previous);
    Application->OnIdle = nullptr;
    other->Free();
}
