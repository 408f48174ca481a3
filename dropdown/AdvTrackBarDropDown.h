#pragma once
// Unit AdvTrackBarDropDown: a drop-down edit for an integer within a range. Its pop-up holds a
// platform track bar as wide as the edit; moving it writes the number into the edit (display
// text: a cancelled close restores the value last written through Text, a close by
// deactivation keeps it). The text is not typeable; Up and Down step the value by Frequency and
// a mouse drag across the edit moves it by one per PageSize pixels.
#include "dropdown/AdvDropDown.h"
#include "platform/ui/ComCtrlsNative.h"

class TAdvTrackBarDropDown : public TAdvCustomDropDown {
public:
    static constexpr int kBarHeight = 40;

    explicit TAdvTrackBarDropDown(TComponent* AOwner);
    const char* ClassName() const override { return "TAdvTrackBarDropDown"; }

    // The track bar's range: each setter passes the value on and keeps what the track bar holds.
    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    // Tick frequency and the step of Up and Down.
    int Frequency() const { return FFrequency; }
    void SetFrequency(int value);
    // The track bar's page and the mouse drag's pixels per step; 0: a drag moves nothing.
    int PageSize() const { return FPageSize; }
    void SetPageSize(int value);
    int Position() const { return FPosition; }
    void SetPosition(int value);
    // The picker control (made with the pop-up, so none at design time).
    TTrackBar* TrackBar() const { return FTrackBar; }

    // The track bar moved.
    TNotifyEvent OnTrackChange;

protected:
    void AfterConstruction() override;
    // The track bar, 40 high, in the pop-up.
    void BuildPopup() override;
    // The range and value into the track bar at the edit's width; a deactivation closes the
    // pop-up without restoring the text.
    void PreparePopup() override;
    // The pop-up at the height it was sized to, below the pop-ups' least height of 50.
    void OpenPopup() override;
    // OnChange, then Position from the text (the strict integer conversion: EConvertError).
    void HandleChange() override;
    // The picker control going (with the pop-up that holds it) is forgotten.
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // After the base's keys of the untypeable edit: Up and Down step Position within the range.
    void KeyDownMessage(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void TrackChanged(TObject* Sender);
    bool Draggable() const { return DropDownEnabled() && !EditorEnabled(); }

    TTrackBar* FTrackBar = nullptr;
    int FMin = 0;
    int FFrequency = 1;
    int FPageSize = 2;
    int FMax = 10;
    int FPosition = 0;
    bool FMouseDraging = false;
    int FMouseX = 0;
};
