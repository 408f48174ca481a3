// Actions and the links through which controls follow them.
#include <gtest/gtest.h>

#include "platform/ui/ActnList.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

// A button with a down state and a group, as the styled tool button has, with a link of its own
// that follows Checked (as Down) and GroupIndex.
class GroupButton : public TGraphicControl {
public:
    explicit GroupButton(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 40, 20); }
    bool Down = false;
    int GroupIndex = 0;

protected:
    TControlActionLinkClass GetActionLinkClass() const override;
    void ActionChange(TObject* Sender, bool CheckDefaults) override {
        TGraphicControl::ActionChange(Sender, CheckDefaults);
        if (auto* a = dynamic_cast<TCustomAction*>(Sender)) {
            Down = a->Checked();
            GroupIndex = a->GroupIndex();
        }
    }
};

class GroupButtonLink : public TControlActionLink {
public:
    using TControlActionLink::TControlActionLink;
    GroupButton* Button = nullptr;

protected:
    void AssignClient(TObject* client) override {
        TControlActionLink::AssignClient(client);
        Button = dynamic_cast<GroupButton*>(client);
    }
    bool IsCheckedLinked() override { return TControlActionLink::IsCheckedLinked() && Button->Down == CustomAction()->Checked(); }
    bool IsGroupIndexLinked() override {
        return TControlActionLink::IsGroupIndexLinked() && Button->GroupIndex == CustomAction()->GroupIndex();
    }
    void SetChecked(bool value) override {
        if (IsCheckedLinked()) Button->Down = value;
    }
    void SetGroupIndex(int value) override {
        if (IsGroupIndexLinked()) Button->GroupIndex = value;
    }
};

TControlActionLinkClass GroupButton::GetActionLinkClass() const { return ActionLinkClassOf<GroupButtonLink>(); }

// A link that never follows the caption.
class OwnCaptionLink : public TControlActionLink {
public:
    using TControlActionLink::TControlActionLink;

protected:
    bool IsCaptionLinked() override { return false; }
};

class OwnCaptionButton : public GroupButton {
public:
    using GroupButton::GroupButton;

protected:
    TControlActionLinkClass GetActionLinkClass() const override { return ActionLinkClassOf<OwnCaptionLink>(); }
};

class ActionsTest : public ui::test::FormTest {
protected:
    TAction* MakeRun(int& runs, TObject** sender = nullptr, TComponent** component = nullptr) {
        auto* action = new TAction(form);
        action->SetCaption(String("Run"));
        action->SetChecked(true);
        action->SetGroupIndex(2);
        action->OnExecute = [&runs, sender, component, action](TObject* s) {
            ++runs;
            if (sender) *sender = s;
            if (component) *component = action->ActionComponent();
        };
        return action;
    }
};

TEST_F(ActionsTest, ControlFollowsItsActionThroughTheLink) {
    int runs = 0;
    TObject* sender = nullptr;
    TComponent* component = nullptr;
    TAction* action = MakeRun(runs, &sender, &component);
    auto* button = Add<GroupButton>();
    auto* keeper = Add<OwnCaptionButton>(60, 10);
    form->Show();
    button->SetAction(action);
    keeper->SetAction(action);
    EXPECT_EQ(button->Action(), action);
    EXPECT_NE(dynamic_cast<GroupButtonLink*>(button->ActionLink()), nullptr);
    EXPECT_TRUE(button->ControlStyle().Contains(csActionClient));
    EXPECT_EQ(button->Caption(), String("Run"));
    EXPECT_TRUE(button->Down);
    EXPECT_EQ(button->GroupIndex, 2);

    action->SetCaption(String("Go"));
    EXPECT_EQ(button->Caption(), String("Go"));
    EXPECT_EQ(keeper->Caption(), String("Run"));  // its link does not follow the caption
    action->SetChecked(false);
    action->SetGroupIndex(3);
    EXPECT_FALSE(button->Down);
    EXPECT_EQ(button->GroupIndex, 3);
    action->SetHint(String("Runs it"));
    action->SetEnabled(false);
    EXPECT_EQ(button->Hint(), String("Runs it"));
    EXPECT_FALSE(button->Enabled());
    action->SetEnabled(true);
    action->SetVisible(false);
    EXPECT_TRUE(button->Enabled());
    EXPECT_FALSE(button->Visible());
    action->SetVisible(true);

    ui::test::Click(button, 5, 5);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(sender, action);
    EXPECT_EQ(component, button);
    EXPECT_EQ(action->ActionComponent(), nullptr);

    // Freed, the action leaves the controls unlinked; a click then runs nothing.
    action->Free();
    EXPECT_EQ(button->Action(), nullptr);
    EXPECT_EQ(button->ActionLink(), nullptr);
    EXPECT_EQ(keeper->Action(), nullptr);
    EXPECT_FALSE(button->ControlStyle().Contains(csActionClient));
    ui::test::Click(button, 5, 5);
    EXPECT_EQ(runs, 1);
}

TEST_F(ActionsTest, WhatTheProgramSetOnTheControlStaysItsOwn) {
    int runs = 0;
    TAction* action = MakeRun(runs);
    auto* control = Add<GroupButton>();
    control->SetAction(action);
    control->SetCaption(String("Mine"));
    control->SetHint(String("My hint"));
    action->SetCaption(String("Go"));
    action->SetHint(String("Runs it"));
    EXPECT_EQ(control->Caption(), String("Mine"));
    EXPECT_EQ(control->Hint(), String("My hint"));

    // A click handler of the control's own runs instead of the action.
    int clicks = 0;
    control->OnClick = [&](TObject*) { ++clicks; };
    control->Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(runs, 0);
    control->OnClick = nullptr;
    control->Click();
    EXPECT_EQ(runs, 1);

    // Another action replaces the first; the first's changes no longer reach the control.
    auto* other = new TAction(form);
    other->SetCaption(String("Other"));
    control->SetAction(other);
    EXPECT_EQ(control->Caption(), String("Other"));
    action->SetCaption(String("Stale"));
    EXPECT_EQ(control->Caption(), String("Other"));
    // Freed first, the control leaves the action without a dangling link.
    control->Free();
    other->SetCaption(String("After"));
    EXPECT_EQ(other->Caption(), String("After"));
}

TEST_F(ActionsTest, DisabledActionsDoNotRunAndUpdateRunsFirst) {
    int runs = 0;
    TAction* action = MakeRun(runs);
    bool allow = false;
    int updates = 0;
    action->OnUpdate = [&](TObject*) {
        ++updates;
        action->SetEnabled(allow);
    };
    EXPECT_FALSE(action->Execute());
    EXPECT_EQ(runs, 0);
    allow = true;
    EXPECT_TRUE(action->Execute());
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(updates, 2);
    // An action without a handler reports that nothing ran.
    auto* idle = new TAction(form);
    EXPECT_FALSE(idle->Execute());
}

TEST_F(ActionsTest, ListRunsFirstGroupsCheckAndFreesItsActions) {
    auto* list = new TActionList(form);
    int runsA = 0, runsB = 0;
    TAction* a = MakeRun(runsA);
    TAction* b = MakeRun(runsB);
    a->SetActionList(list);
    b->SetActionList(list);
    ASSERT_EQ(list->ActionCount(), 2);
    EXPECT_EQ(b->Index(), 1);
    b->SetIndex(0);
    EXPECT_EQ(list->Actions(0), b);
    EXPECT_THROW(list->Actions(2), EListError);

    // Both were checked in group 2 before they joined the list; now checking one unchecks the
    // other.
    a->SetChecked(false);
    a->SetChecked(true);
    EXPECT_FALSE(b->Checked());
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());

    std::vector<TBasicAction*> seen;
    list->OnExecute = [&](TBasicAction* action, bool& handled) {
        seen.push_back(action);
        handled = action == a;
    };
    EXPECT_TRUE(a->Execute());
    EXPECT_TRUE(b->Execute());
    EXPECT_EQ(seen, (std::vector<TBasicAction*>{a, b}));
    EXPECT_EQ(runsA, 0);  // the list handled it
    EXPECT_EQ(runsB, 1);

    auto* control = Add<GroupButton>();
    control->SetAction(a);
    list->Free();
    EXPECT_EQ(control->Action(), nullptr);
    for (int i = 0; i < form->ComponentCount(); ++i) EXPECT_EQ(dynamic_cast<TAction*>(form->Components(i)), nullptr);
}

}  // namespace
