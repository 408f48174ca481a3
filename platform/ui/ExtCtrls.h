#pragma once
// The ExtCtrls unit: the timer, the panel, bevel, image and shape (drawn by the library, in
// ExtCtrlsDrawn.h), the radio group and the labeled edit.
#include <memory>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/ExtCtrlsDrawn.h"
#include "platform/ui/StdCtrls.h"

// ---------------------------------------------------------------------------------------------
// TTimer: OnTimer every Interval milliseconds on the UI thread, on the process clock.

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;
    const char* ClassName() const override { return "TTimer"; }

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    UINT Interval() const { return FInterval; }
    void SetInterval(UINT value);
    // Ticks come while Enabled and Interval > 0; a tick without handler does nothing.
    TNotifyEvent OnTimer;

protected:
    virtual void Timer();

private:
    void UpdateTimer();
    void WndProc(TMessage& Message);

    bool FEnabled = true;
    UINT FInterval = 1000;
    HWND FWindowHandle = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Radio group

// A framed group of radio buttons made from Items, in Columns.
class TCustomRadioGroup : public TNativeControlOf<ui::StaticView> {
public:
    explicit TCustomRadioGroup(TComponent* AOwner);
    ~TCustomRadioGroup() override;
    const char* ClassName() const override { return "TCustomRadioGroup"; }
    TStrings* Items() const { return FItems.get(); }
    void SetItems(const TStrings* value) { FItems->Assign(value); }
    // -1: no button checked.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    int Columns() const { return FColumns; }
    void SetColumns(int value);
    int ButtonCount() const { return static_cast<int>(FButtons.size()); }
    TRadioButton* Buttons(int index) const { return FButtons.at(static_cast<size_t>(index)); }

protected:
    std::unique_ptr<ui::StaticView> CreateView(ui::Backend& backend, ui::WidgetPeer& host) override;
    void InitView() override;
    void CMTextChanged(TMessage& Message) override;
    void WMSize(TMessage& Message) override;

private:
    void UpdateButtons();
    void ArrangeButtons();
    void ButtonClick(TRadioButton* button);

    std::unique_ptr<TStringList> FItems;
    std::vector<TRadioButton*> FButtons;
    int FItemIndex = -1;
    int FColumns = 1;
    bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
public:
    using TCustomRadioGroup::TCustomRadioGroup;
    const char* ClassName() const override { return "TRadioGroup"; }
};

// ---------------------------------------------------------------------------------------------
// Edit with a label

enum TLabelPosition { lpAbove, lpBelow, lpLeft, lpRight };

// A caption shown by a native label beside another control.
class TBoundLabel : public TNativeControlOf<ui::StaticView> {
public:
    explicit TBoundLabel(TComponent* AOwner);
    const char* ClassName() const override { return "TBoundLabel"; }
    bool CanFocus() const override { return false; }
    TControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value) { FFocusControl = value; }

protected:
    std::unique_ptr<ui::StaticView> CreateView(ui::Backend& backend, ui::WidgetPeer& host) override;
    void InitView() override;
    void CMDialogChar(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;

private:
    // The label is as large as its caption.
    void AdjustSize();
    TWinControl* FFocusControl = nullptr;
};

class TCustomLabeledEdit : public TCustomEdit {
public:
    explicit TCustomLabeledEdit(TComponent* AOwner);
    const char* ClassName() const override { return "TCustomLabeledEdit"; }
    TBoundLabel* EditLabel() const { return FEditLabel; }
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition value);
    int LabelSpacing() const { return FLabelSpacing; }
    void SetLabelSpacing(int value);
    void SetParent(TWinControl* AParent) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void CMVisibleChanged(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TBoundLabel;
    void PlaceLabel();
    TBoundLabel* FEditLabel;
    TLabelPosition FLabelPosition = lpAbove;
    int FLabelSpacing = 3;
};

class TLabeledEdit : public TCustomLabeledEdit {
public:
    using TCustomLabeledEdit::TCustomLabeledEdit;
    const char* ClassName() const override { return "TLabeledEdit"; }
};
