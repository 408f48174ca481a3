#pragma once
// A list box with a check box in front of every item.
#include "platform/ui/StdCtrls.h"

class TCheckListBox : public TCustomListBox {
public:
    explicit TCheckListBox(TComponent* AOwner);
    const char* ClassName() const override { return "TCheckListBox"; }
    bool Checked(int index) const { return State(index) == cbChecked; }
    void SetChecked(int index, bool value) { SetState(index, value ? cbChecked : cbUnchecked); }
    TCheckBoxState State(int index) const;
    // Written by the program: no OnClickCheck.
    void SetState(int index, TCheckBoxState value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value) { FAllowGrayed = value; }
    bool ItemEnabled(int index) const;
    void SetItemEnabled(int index, bool value);
    // Width of the check box area at the left of each item.
    static constexpr int CheckWidth = 18;

    // The user ticked or unticked an item (mouse on its box, or Space).
    TNotifyEvent OnClickCheck;

protected:
    // Its items carry check boxes.
    std::unique_ptr<ui::ListView> CreateView(ui::Backend& backend, ui::WidgetPeer& host) override;
    void InitView() override;
    void ItemsChanged() override;
    void ShowItemState(int index) override;
    void ClickItem(int index, int x) override;
    virtual void ClickCheck();

private:
    void Check(int index);
    // Matches the kept entries to the items after a change of many of them.
    void MatchEntries();
    // One entry per item, kept with the item's text so inserting and deleting items keep them.
    struct Entry {
        String Text;
        TCheckBoxState State = cbUnchecked;
        bool Enabled = true;
    };
    std::vector<Entry> FEntries;
    bool FAllowGrayed = false;
};
