// The memo drop-down: MemoText and its summary in the edit, the memo in the pop-up, its keys and
// AutoDrop.
#include "dropdown/AdvMemoDropDown.h"

#include "platform/ui/Graphics.h"
#include "platform/win/Window.h"

TAdvMemoDropDown::TAdvMemoDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner), FMemoText(std::make_unique<TStringList>()) {
    FMemoText->OnChange = [this](TStrings*) { ShowSummary(); };
}

TAdvMemoDropDown::~TAdvMemoDropDown() {
    FMemoText->OnChange = nullptr;
    FMemoText.reset();
}

void TAdvMemoDropDown::ShowSummary() {
    String display;
    if (FMemoText->Count() > 0) display = FMemoText->Strings(0);
    TBitmap measure(1, 1);
    TCanvas* canvas = measure.Canvas();
    canvas->Font()->Assign(Font());
    const int available = FormatRect().Width();
    if (MeasureText(canvas, display).cx < available) {
        if (FMemoText->Count() > 1) display += u"...";
    } else {
        display = FitText(canvas, display, available, true);
    }
    FInternalUpdate = true;
    try {
        SetPlainText(display);
    } catch (...) {
        FInternalUpdate = false;
        throw;
    }
    FInternalUpdate = false;
}

void TAdvMemoDropDown::HandleChange() {
    if (!FInternalUpdate && !FRestoring) {
        // Detached, so the typed line is not turned into a summary under the caret.
        auto summary = std::move(FMemoText->OnChange);
        FMemoText->OnChange = nullptr;
        try {
            FMemoText->SetText(Text());
        } catch (...) {
            FMemoText->OnChange = std::move(summary);
            throw;
        }
        FMemoText->OnChange = std::move(summary);
    }
    TAdvCustomDropDown::HandleChange();
}

void TAdvMemoDropDown::BuildPopup() {
    TAdvCustomDropDown::BuildPopup();
    if (!FMemo) {
        FMemo = NewComponent<TMemo>(this);
        FMemo->SetParent(DropDownForm());
        FMemo->SetHeight(kMemoHeight);
        FMemo->SetBorderStyle(bsNone);
        FMemo->OnChange = [this](TObject*) {
            if (OnMemoChange) OnMemoChange(this);
        };
    }
    SetPopupControl(FMemo);
    SetFocusControl(FMemo);
}

void TAdvMemoDropDown::PreparePopup() {
    TAdvCustomDropDown::PreparePopup();
    DropDownForm()->SetCancelOnDeActivate(false);
    if (!FMemo) return;
    FMemo->Lines()->SetText(FMemoText->Text());
    FMemo->SetPopupMenu(FMemoPopup);
    FMemo->SetMaxLength(MaxLength());
    FMemo->SetScrollBars(FMemoScrollBars);
    FMemo->SetReadOnly(FMemoReadOnly);
    // The edit's width and 100 pixels, for the pop-up to be sized round (docking fitted it to the
    // pop-up's client area).
    FMemo->SetAlign(alNone);
    FMemo->SetBounds(0, 0, Width(), kMemoHeight);
}

void TAdvMemoDropDown::SetMemoReadOnly(bool value) {
    FMemoReadOnly = value;
    if (FMemo && DroppedDown()) FMemo->SetReadOnly(value);
}

void TAdvMemoDropDown::PopupClosed(TObject* Sender) {
    TAdvCustomDropDown::PopupClosed(Sender);
    if (FMemo) FMemoText->Assign(FMemo->Lines());
}

void TAdvMemoDropDown::ClosePopup(bool Cancelled) {
    const bool autoDrop = FAutoDrop;
    FAutoDrop = false;
    FRestoring = Cancelled;
    try {
        if (Cancelled && FMemo) FMemo->Lines()->SetText(FMemoText->Text());
        TAdvCustomDropDown::ClosePopup(Cancelled);
    } catch (...) {
        FAutoDrop = autoDrop;
        FRestoring = false;
        throw;
    }
    FAutoDrop = autoDrop;
    FRestoring = false;
    // The text written back for the cancelled close gives way to the summary of the lines kept.
    if (Cancelled) ShowSummary();
}

void TAdvMemoDropDown::CMEnter(TMessage& Message) {
    TAdvCustomDropDown::CMEnter(Message);
    if (FAutoDrop) OpenPopup();
}

namespace {

bool ToTheEdit(WORD key, TShiftState shift) { return shift.Contains(ssAlt) || key == VK_ESCAPE || key == VK_F4; }

}  // namespace

void TAdvMemoDropDown::ControlKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) {
    if (ToTheEdit(Key, Shift)) {
        TAdvCustomDropDown::ControlKeyDown(Sender, Key, Shift);
        return;
    }
    if (Shift.Contains(ssCtrl) && (Key == u'A' || Key == u'a') && FMemo) FMemo->SelectAll();
}

void TAdvMemoDropDown::ControlKeyUp(TObject* Sender, WORD& Key, TShiftState Shift) {
    if (ToTheEdit(Key, Shift)) TAdvCustomDropDown::ControlKeyUp(Sender, Key, Shift);
}

void TAdvMemoDropDown::ControlKeyPress(TObject* Sender, char16_t& Key) {
    if (GetKeyState(VK_MENU) < 0 || Key == 0x1B) TAdvCustomDropDown::ControlKeyPress(Sender, Key);
}

void TAdvMemoDropDown::Notification(TComponent* AComponent, TOperation Operation) {
    TAdvCustomDropDown::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FMemo) FMemo = nullptr;
}
