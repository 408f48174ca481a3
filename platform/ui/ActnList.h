#pragma once
// The ActnList unit: actions, their lists, and the links through which clients follow them.
//
// An action holds what a command shows (caption, hint, image, shortcut), its state (enabled,
// checked, visible) and what it does (OnExecute). Each client (a control, through
// TControlActionLink in Controls.h) has a link to it. A change of the action reaches every
// client through its link's Set... call, which acts only while the link's Is...Linked answers
// true, so a descendant link decides which properties its client follows. The action calls the
// links before it stores the new value: a link comparing its client with the action compares
// with the value the client was given last.
#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/rtl/Objects.h"
#include "platform/ui/ImgList.h"

// A key and its modifiers in one word: the virtual key in the low byte, modifier bits above
// (Menus.h has the modifier bits and the conversions).
using TShortCut = uint16_t;

class TBasicActionLink;
class TActionLink;
class TCustomActionList;

class TBasicAction : public TComponent {
public:
    explicit TBasicAction(TComponent* AOwner);
    ~TBasicAction() override;
    const char* ClassName() const override { return "TBasicAction"; }

    // Runs OnExecute; false when there is none.
    virtual bool Execute();
    // Runs OnUpdate, in which the action may change its own state; false when there is none.
    virtual bool Update();
    // The component that executes the action (a clicked control), while OnExecute runs.
    TComponent* ActionComponent() const { return FActionComponent; }
    void SetActionComponent(TComponent* value);

    // The links following the action; a link registers itself when it is given the action.
    void RegisterChanges(TBasicActionLink* Value);
    void UnRegisterChanges(TBasicActionLink* Value);

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;
    // A property of the action changed.
    TNotifyEvent OnChange;

protected:
    virtual void Change();
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The links of the clients that follow a custom action's properties.
    std::vector<TActionLink*> ActionLinks() const;

private:
    friend class TBasicActionLink;
    std::vector<TBasicActionLink*> FClients;
    TComponent* FActionComponent = nullptr;
    // Gone once the action is freed: a link executing it looks here before touching it again.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// A client's link to its action. Made for a client, given an action with SetAction; a link
// class takes its client in AssignClient, which Create calls once the link is whole.
class TBasicActionLink : public TObject {
public:
    explicit TBasicActionLink(TObject* AClient) {}
    ~TBasicActionLink() override;
    const char* ClassName() const override { return "TBasicActionLink"; }
    TBasicAction* Action() const { return FAction; }
    void SetAction(TBasicAction* Value);
    // Runs the action with AComponent as its ActionComponent; false when nothing ran.
    virtual bool Execute(TComponent* AComponent = nullptr);
    virtual bool Update();

    // A link of class T for the client.
    template <class T>
    static T* Create(TObject* AClient) {
        T* link = new T(AClient);
        static_cast<TBasicActionLink*>(link)->AssignClient(AClient);
        return link;
    }

protected:
    friend class TBasicAction;
    friend class TControl;
    virtual void AssignClient(TObject* AClient) {}
    // Whether the client runs the action's OnExecute when it is used (a control's click).
    virtual bool IsOnExecuteLinked() { return true; }
    virtual void SetOnExecute(const TNotifyEvent& Value) {}

private:
    TBasicAction* FAction = nullptr;
};

class TContainedAction : public TBasicAction {
public:
    explicit TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}
    ~TContainedAction() override;
    const char* ClassName() const override { return "TContainedAction"; }
    // The list the action belongs to; it runs the list's OnExecute and OnUpdate first.
    TCustomActionList* ActionList() const { return FActionList; }
    void SetActionList(TCustomActionList* value);
    // Position in its list (-1 without one).
    int Index() const;
    void SetIndex(int value);
    const String& Category() const { return FCategory; }
    void SetCategory(const String& value);
    bool Execute() override;
    bool Update() override;

private:
    TCustomActionList* FActionList = nullptr;
    String FCategory;
};

class TCustomAction : public TContainedAction {
public:
    explicit TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}
    const char* ClassName() const override { return "TCustomAction"; }

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& value);
    // Checking an action of a non-zero group unchecks the other actions of that group in its list.
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    const String& Hint() const { return FHint; }
    void SetHint(const String& value);
    // An image of the list's Images; -1: none.
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

    // Updates the action first; a disabled action does not run.
    bool Execute() override;

private:
    template <class V, class Call>
    bool Relay(V& field, const V& value, Call call);
    // Unchecks the other checked actions of the group in the list.
    void UncheckGroup();
    String FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    int FGroupIndex = 0;
    String FHint;
    int FImageIndex = -1;
    TShortCut FShortCut = 0;
    bool FVisible = true;
    bool FChecking = false;
};

class TAction : public TCustomAction {
public:
    using TCustomAction::TCustomAction;
    const char* ClassName() const override { return "TAction"; }
};

// The link of a client that follows a custom action's properties. Each Set... is called before
// the action stores the value and does nothing here; a client's link class overrides the ones
// its client has, acting while the matching Is...Linked answers true. Is...Linked answers
// whether the action is a custom action.
class TActionLink : public TBasicActionLink {
public:
    using TBasicActionLink::TBasicActionLink;
    const char* ClassName() const override { return "TActionLink"; }

protected:
    friend class TCustomAction;
    virtual bool IsCaptionLinked();
    virtual bool IsCheckedLinked();
    virtual bool IsEnabledLinked();
    virtual bool IsGroupIndexLinked();
    virtual bool IsHintLinked();
    virtual bool IsImageIndexLinked();
    virtual bool IsShortCutLinked();
    virtual bool IsVisibleLinked();
    virtual void SetCaption(const String& Value) {}
    virtual void SetChecked(bool Value) {}
    virtual void SetEnabled(bool Value) {}
    virtual void SetGroupIndex(int Value) {}
    virtual void SetHint(const String& Value) {}
    virtual void SetImageIndex(int Value) {}
    virtual void SetShortCut(TShortCut Value) {}
    virtual void SetVisible(bool Value) {}
    // The action as a custom action, nullptr for another.
    TCustomAction* CustomAction() const;
};

using TActionEvent = std::function<void(TBasicAction* Action, bool& Handled)>;

// A list of actions. It runs OnExecute and OnUpdate before an action's own handlers (a handler
// that sets Handled keeps the action's from running), and frees its actions when it goes.
class TCustomActionList : public TComponent {
public:
    explicit TCustomActionList(TComponent* AOwner) : TComponent(AOwner) {}
    ~TCustomActionList() override;
    const char* ClassName() const override { return "TCustomActionList"; }
    int ActionCount() const { return static_cast<int>(FActions.size()); }
    TContainedAction* Actions(int Index) const;
    // The images of the actions' ImageIndex.
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    // OnExecute, OnUpdate; true when a handler set Handled.
    virtual bool ExecuteAction(TBasicAction* Action);
    virtual bool UpdateAction(TBasicAction* Action);

    TActionEvent OnExecute;
    TActionEvent OnUpdate;
    // An action joined or left the list.
    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TContainedAction;
    void Changed();
    std::vector<TContainedAction*> FActions;
    TCustomImageList* FImages = nullptr;
};

class TActionList : public TCustomActionList {
public:
    using TCustomActionList::TCustomActionList;
    const char* ClassName() const override { return "TActionList"; }
};
