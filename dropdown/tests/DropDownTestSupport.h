#pragma once
// What the drop-down edit's tests share: a drop-down that shows its protected operations and
// notes what reaches its overrides, a picker control for its pop-up, and a shown form with a
// named font on which both stand.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "dropdown/AdvDropDown.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"

namespace dropdown_test {

// A focusable control of 120 x 100 that the pop-up hosts.
class Picker : public TCustomControl {
public:
    explicit Picker(TComponent* owner) : TCustomControl(owner) {
        SetBounds(0, 0, 120, 100);
        SetTabStop(true);
        SetColor(0x00FFFF);
    }
};

// A drop-down whose protected operations the tests reach, noting the calls of its overrides.
class Probe : public TAdvCustomDropDown {
public:
    explicit Probe(TComponent* owner) : TAdvCustomDropDown(owner) { Note("constructor"); }
    const char* ClassName() const override { return "Probe"; }

    std::vector<std::string> calls;
    // Keys that reached the edit: message, key, key data.
    struct Key {
        UINT msg;
        WPARAM key;
        LPARAM data;
    };
    std::vector<Key> keys;
    int next = 0, previous = 0;

    void Note(const std::string& call) { calls.push_back(call); }
    int Count(const std::string& call) const { return static_cast<int>(std::count(calls.begin(), calls.end(), call)); }

    using TAdvCustomDropDown::ClosePopup;
    using TAdvCustomDropDown::FocusControl;
    using TAdvCustomDropDown::MinimumHeight;
    using TAdvCustomDropDown::OldText;
    using TAdvCustomDropDown::OpenPopup;
    using TAdvCustomDropDown::PopupControl;
    using TAdvCustomDropDown::PopupKeyDown;
    using TAdvCustomDropDown::PopupKeyPress;
    using TAdvCustomDropDown::PopupKeyUp;
    using TAdvCustomDropDown::ControlKeyDown;
    using TAdvCustomDropDown::ControlKeyPress;
    using TAdvCustomDropDown::ControlKeyUp;
    using TAdvCustomDropDown::SetDropDownColorTo;
    using TAdvCustomDropDown::SetDropDownGradient;
    using TAdvCustomDropDown::SetEtched;
    using TAdvCustomDropDown::SetFlat;
    using TAdvCustomDropDown::SetFocusControl;
    using TAdvCustomDropDown::SetFocusDraw;
    using TAdvCustomDropDown::SetForceShadow;
    using TAdvCustomDropDown::SetPopupControl;
    using TAdvCustomDropDown::SetPrefix;
    using TAdvCustomDropDown::SetSuffix;
    using TAdvCustomDropDown::SetPlainText;
    using TAdvCustomDropDown::EditType;
    using TAdvCustomDropDown::SetEditType;
    using TAdvCustomDropDown::Flat;
    using TAdvCustomDropDown::Etched;
    using TAdvCustomDropDown::FocusDraw;
    using TAdvCustomDropDown::ForceShadow;
    using TAdvCustomDropDown::DropDownColorTo;
    using TAdvCustomDropDown::DropDownGradient;
    using TAdvCustomDropDown::Prefix;
    using TAdvCustomDropDown::Suffix;
    using TAdvCustomDropDown::ReturnIsTab;
    using TAdvCustomDropDown::SetReturnIsTab;
    using TAdvCustomDropDown::LengthLimit;
    using TAdvCustomDropDown::SetLengthLimit;
    using TAdvCustomDropDown::Precision;
    using TAdvCustomDropDown::SetPrecision;
    using TAdvCustomDropDown::ValidChars;
    using TAdvCustomDropDown::SetValidChars;
    using TAdvCustomDropDown::Signed;
    using TAdvCustomDropDown::SetSigned;
    using TAdvCustomDropDown::OnBeforeDropUp;
    using TAdvCustomDropDown::OnLabelClick;

    void SetText(const String& value) override {
        Note("SetText");
        TAdvCustomDropDown::SetText(value);
    }
    void SetSelectionColorStyle(TSelectionColorStyle Style) override {
        Note("SetSelectionColorStyle");
        TAdvCustomDropDown::SetSelectionColorStyle(Style);
    }
    void SetComponentStyle(TQRBStyle AStyle) override {
        Note("SetComponentStyle");
        TAdvCustomDropDown::SetComponentStyle(AStyle);
    }

protected:
    void BuildPopup() override {
        Note("BuildPopup");
        TAdvCustomDropDown::BuildPopup();
    }
    void PopupClosed(TObject* Sender) override {
        Note("PopupClosed");
        TAdvCustomDropDown::PopupClosed(Sender);
    }
    void PopupSizing(TObject* Sender) override {
        Note("PopupSizing");
        TAdvCustomDropDown::PopupSizing(Sender);
    }
    void WheelSelectNext() override { ++next; }
    void WheelSelectPrevious() override { ++previous; }
    void KeyDownMessage(TMessage& Message) override {
        keys.push_back({Message.Msg, Message.WParam, Message.LParam});
        TAdvCustomDropDown::KeyDownMessage(Message);
    }
    void CharMessage(TMessage& Message) override {
        keys.push_back({Message.Msg, Message.WParam, Message.LParam});
        TAdvCustomDropDown::CharMessage(Message);
    }
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_KEYUP) keys.push_back({Message.Msg, Message.WParam, Message.LParam});
        TAdvCustomDropDown::Dispatch(Message);
    }
};

// A probe whose pop-up hosts a Picker that takes the focus when it opens. As a picker does,
// it gives its control the size it wants before the pop-up is sized round it.
class PickerProbe : public Probe {
public:
    using Probe::Probe;
    Picker* picker = nullptr;

protected:
    void BuildPopup() override {
        Probe::BuildPopup();
        picker = NewComponent<Picker>(this);
        SetPopupControl(picker);
        SetFocusControl(picker);
    }
    void PreparePopup() override {
        if (picker) {
            picker->SetAlign(alNone);
            picker->SetBounds(0, 0, 120, 100);
        }
        Probe::PreparePopup();
    }
    void Notification(TComponent* AComponent, TOperation Operation) override {
        Probe::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == picker) picker = nullptr;
    }
};

// A shown form in "DejaVu Sans" 8 points.
class DropDownTest : public ui::test::FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        form->Font()->SetName(String("DejaVu Sans"));
        form->Font()->SetSize(8);
        form->SetColor(0x00C000);
    }
    // A drop-down of type T at (left, top) on the shown form, painted.
    template <class T>
    T* Make(int left = 100, int top = 50) {
        T* d = Add<T>(left, top);
        form->Show();
        ui::test::Pump();
        return d;
    }
    // The pixel (x, y) of a window as its image holds it (window coordinates).
    static TColor WindowPixel(TWinControl* control, int x, int y) {
        control->Update();
        return control->BackingImage()->Canvas()->Pixels(x, y);
    }
};

// The look programs' sheet: windows pasted onto a canvas as they show on screen.
class LookTest : public DropDownTest {
protected:
    static std::string Temp(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }
    // The picture of a window drawn onto a canvas at (x, y).
    static void Paste(TCanvas* canvas, TWinControl* window, int x, int y) {
        const std::string path = Temp("rwb_look_part.png");
        ASSERT_TRUE(ui::test::SaveToPng(window, path));
        ui::test::Picture shot;
        ASSERT_TRUE(ui::test::LoadPng(path, shot));
        for (int j = 0; j < shot.Height; ++j)
            for (int i = 0; i < shot.Width; ++i) canvas->SetPixels(x + i, y + j, shot.At(i, j));
    }
    // The form with the drop-down's pop-up open over it, at column x of the sheet.
    void Shot(TCanvas* sheet, TAdvCustomDropDown* d, int x) {
        d->ShowDropDown();
        ui::test::Pump();
        Paste(sheet, form, x, 0);
        TDropDownForm* f = d->DropDownForm();
        const TPoint origin = form->ClientOrigin();
        Paste(sheet, f, x + f->Left() - origin.X, f->Top() - origin.Y);
        d->HideDropDown(false);
        ui::test::Pump();
    }
};

}  // namespace dropdown_test
