// Notifications of the edit and the combo box travel to the parent window as WM_COMMAND first,
// and the parent's default handling reflects them to the control, whose CN_COMMAND runs the event.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/win/Window.h"

namespace {

// A panel that notes each WM_COMMAND (code, and whether LParam named the sender) and keeps the
// message while Keep is set.
class CommandPanel : public TPanel {
public:
    using TPanel::TPanel;
    std::vector<std::string>* Log = nullptr;
    HWND Expected = nullptr;
    bool Keep = false;

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == WM_COMMAND) {
            bool named = reinterpret_cast<HWND>(m.LParam) == Expected;
            Log->push_back("command " + std::to_string(HIWORD(m.WParam)) + (named ? "" : " from elsewhere"));
            if (Keep) return;
        }
        TPanel::Dispatch(m);
    }
};

// Stands in for the toolkit's open list, which reports the item the user picked.
class PickableCombo : public TComboBox {
public:
    using TComboBox::TComboBox;
    void UserPicks(int index) { ListItemPicked(index); }
};

class NotificationsTest : public ui::test::FormTest {
public:
    std::vector<std::string> log;
    CommandPanel* panel = nullptr;

    void SetUp() override {
        FormTest::SetUp();
        panel = Add<CommandPanel>(0, 0);
        panel->SetBounds(0, 0, 300, 200);
        panel->Log = &log;
    }

    template <class T>
    T* InPanel() {
        auto* c = NewComponent<T>(form);
        c->SetBounds(10, 10, 120, 22);
        c->SetParent(panel);
        return c;
    }

    PickableCombo* Combo() {
        auto* combo = InPanel<PickableCombo>();
        for (const char16_t* s : {u"one", u"two", u"three"}) combo->Items()->Add(String(s));
        combo->OnChange = [this](TObject*) { log.push_back("change"); };
        combo->OnSelect = [this](TObject*) { log.push_back("select"); };
        combo->OnDropDown = [this](TObject*) { log.push_back("drop down"); };
        combo->OnCloseUp = [this](TObject*) { log.push_back("close up"); };
        return combo;
    }
};

struct NotificationCase {
    const char* name;
    // Makes the control in the panel and readies it; answers the control.
    std::function<TWinControl*(NotificationsTest&)> make;
    std::function<void(TWinControl*)> act;
    WORD code;
    const char* event;
};

TEST_F(NotificationsTest, TheParentSeesEachNotificationFirstAndKeepingItStopsTheEvent) {
    auto combo = [](NotificationsTest& t) -> TWinControl* { return t.Combo(); };
    auto typing = [](TWinControl* c) { ui::test::TypeText(c, String(u"x")); };
    const NotificationCase cases[] = {
        {"edit text change",
         [](NotificationsTest& t) -> TWinControl* {
             auto* edit = t.InPanel<TEdit>();
             edit->OnChange = [&t](TObject*) { t.log.push_back("change"); };
             return edit;
         },
         typing, EN_CHANGE, "change"},
        {"combo pick from the list", combo, [](TWinControl* c) { static_cast<PickableCombo*>(c)->UserPicks(1); },
         CBN_SELCHANGE, "select"},
        {"combo arrow key", combo, [](TWinControl* c) { ui::test::Key(c, VK_DOWN); }, CBN_SELCHANGE, "select"},
        {"combo typing", combo, typing, CBN_EDITCHANGE, "change"},
        {"drop-down", combo, [](TWinControl* c) { ui::test::Key(c, VK_F4); }, CBN_DROPDOWN, "drop down"},
        {"close-up",
         [](NotificationsTest& t) -> TWinControl* {
             PickableCombo* c = t.Combo();
             c->SetDroppedDown(true);
             return c;
         },
         [](TWinControl* c) { ui::test::Key(c, VK_F4); }, CBN_CLOSEUP, "close up"},
    };
    form->Show();
    for (bool keep : {false, true}) {
        for (const NotificationCase& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (keep ? ", kept by the panel" : ""));
            TWinControl* control = c.make(*this);
            control->SetFocus();
            panel->Expected = control->Handle();
            panel->Keep = keep;
            log.clear();
            c.act(control);
            std::vector<std::string> expected{"command " + std::to_string(c.code)};
            if (!keep) expected.push_back(c.event);
            EXPECT_EQ(log, expected);
            panel->Keep = false;
            control->Free();
        }
    }
}

TEST_F(NotificationsTest, ItemIndexWrittenByTheProgramSendsNoSelectionChange) {
    PickableCombo* combo = Combo();
    form->Show();
    combo->SetItemIndex(2);
    combo->Perform(CB_SETCURSEL, 1, 0);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(combo->Text(), String(u"two"));
}

TEST_F(NotificationsTest, ACommandSentToAFormWithAChildsHandleReflectsToThatChild) {
    auto* combo = Add<PickableCombo>(10, 210);
    combo->Items()->Add(String(u"one"));
    combo->SetItemIndex(0);
    int selects = 0;
    combo->OnSelect = [&](TObject*) { ++selects; };
    form->Show();
    EXPECT_EQ(SendMessage(form->Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo->Handle())), 0);
    EXPECT_EQ(selects, 1);

    // A stale handle, or one that names no control, reflects nowhere and answers 0.
    HWND stale = combo->Handle();
    combo->Free();
    HWND stranger = AllocateHWnd([](TMessage&) {});
    for (LPARAM l : {reinterpret_cast<LPARAM>(stale), reinterpret_cast<LPARAM>(stranger), LPARAM{0}})
        EXPECT_EQ(SendMessage(form->Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), l), 0);
    DeallocateHWnd(stranger);
    EXPECT_EQ(selects, 1);
}

TEST_F(NotificationsTest, AControlFreedInsideItsOwnNotificationIsNotReadAfterwards) {
    form->Show();
    // A pick that frees the box: the close-up that would follow it is not sent.
    PickableCombo* combo = Combo();
    combo->SetDroppedDown(true);
    panel->Expected = combo->Handle();
    combo->OnSelect = [&](TObject*) {
        log.push_back("select");
        combo->Free();
    };
    log.clear();
    combo->UserPicks(2);
    EXPECT_EQ(log, (std::vector<std::string>{"command 1", "select"}));

    auto* edit = InPanel<TEdit>();
    edit->OnChange = [&](TObject*) { edit->Free(); };
    edit->SetText(String(u"gone"));
    EXPECT_EQ(panel->ControlCount(), 0);
}

TEST_F(NotificationsTest, AControlWithoutAParentWindowTellsItselfDirectly) {
    auto* edit = NewComponent<TEdit>(form);  // no parent: no window to tell
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetText(String(u"alone"));
    EXPECT_EQ(changes, 1);
}

}  // namespace
