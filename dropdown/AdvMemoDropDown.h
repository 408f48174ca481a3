#pragma once
// Unit AdvMemoDropDown: a drop-down edit for multi-line text. The lines are MemoText; the edit
// shows a one-line summary (the first line, with "..." when more lines follow or when it is cut
// to fit); the pop-up holds a platform memo as wide as the edit and 100 high, in which the lines
// are edited. Enter and the arrows stay in the memo; F4, Alt+Up/Down and a deactivation accept
// the lines, Esc drops them. Typing in the edit makes MemoText the one typed line.
#include <memory>

#include "dropdown/AdvDropDown.h"
#include "platform/rtl/StringList.h"

class TAdvMemoDropDown : public TAdvCustomDropDown {
public:
    static constexpr int kMemoHeight = 100;

    explicit TAdvMemoDropDown(TComponent* AOwner);
    ~TAdvMemoDropDown() override;
    const char* ClassName() const override { return "TAdvMemoDropDown"; }

    // The lines; the setter copies them. A change shows the summary in the edit.
    TStringList* MemoText() const { return FMemoText.get(); }
    void SetMemoText(const TStrings* value) { FMemoText->Assign(value); }
    // The memo's context menu, given to it on opening.
    TPopupMenu* MemoPopup() const { return FMemoPopup; }
    void SetMemoPopup(TPopupMenu* value) { FMemoPopup = value; }
    TScrollStyle MemoScrollBars() const { return FMemoScrollBars; }
    void SetMemoScrollBars(TScrollStyle value) { FMemoScrollBars = value; }
    // Also reaches an open memo at once.
    bool MemoReadOnly() const { return FMemoReadOnly; }
    void SetMemoReadOnly(bool value);
    // Opens the pop-up whenever the edit is entered.
    bool AutoDrop() const { return FAutoDrop; }
    void SetAutoDrop(bool value) { FAutoDrop = value; }
    // The picker control (made with the pop-up, so none at design time).
    TMemo* Memo() const { return FMemo; }

    // The memo's text changed while editing.
    TNotifyEvent OnMemoChange;

protected:
    // The memo, borderless and 100 high, in the pop-up; it takes the focus when it opens.
    void BuildPopup() override;
    // The lines and the memo's settings into it at the edit's width; a deactivation closes the
    // pop-up without restoring the text.
    void PreparePopup() override;
    // A cancelled close puts MemoText back into the memo and keeps it; AutoDrop does not reopen
    // the pop-up when the edit takes the focus back.
    void ClosePopup(bool Cancelled) override;
    // The memo's lines become MemoText.
    void PopupClosed(TObject* Sender) override;
    // Only Esc, F4 and keys with Alt go to the edit; Ctrl+A selects the memo's text.
    void ControlKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) override;
    void ControlKeyUp(TObject* Sender, WORD& Key, TShiftState Shift) override;
    void ControlKeyPress(TObject* Sender, char16_t& Key) override;
    // A typed text becomes MemoText's one line; then OnChange.
    void HandleChange() override;
    // The picker control going (with the pop-up that holds it) is forgotten.
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CMEnter(TMessage& Message) override;

private:
    // The first line, cut or followed by "...", shown in the edit.
    void ShowSummary();

    TPopupMenu* FMemoPopup = nullptr;
    std::unique_ptr<TStringList> FMemoText;
    TMemo* FMemo = nullptr;
    TScrollStyle FMemoScrollBars = ssNone;
    bool FMemoReadOnly = false;
    bool FInternalUpdate = false;
    bool FAutoDrop = false;
    // A cancelled close writes the old text back: that text is not MemoText's.
    bool FRestoring = false;
};
