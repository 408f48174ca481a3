#pragma once
// Stand-ins for controls the main window is designed with but that are not built yet: each alias
// names the plain platform control that takes the designed control's place for now. They are
// not the finished controls; when the real ones land, the alias takes the real class.
#include "platform/ui/Buttons.h"
#include "platform/ui/ComCtrlsNative.h"
#include "platform/ui/StdCtrls.h"

// The styled combo box of the input lines (simple style in the design).
using TStyledComboBox = TComboBox;
// The styled tool button of the send buttons.
using TStyledToolButton = TSpeedButton;

// A track bar with the float Value of the instrument controls, for the threshold sliders and the
// progress bars. Values are whole steps between Min and Max.
class TValueTrackBar : public TTrackBar {
public:
    explicit TValueTrackBar(TComponent* AOwner) : TTrackBar(AOwner) {}
    const char* ClassName() const override { return "TValueTrackBar"; }
    float Value() const { return FValue; }
    void SetValue(float V) {
        FValue = V;
        SetPosition(static_cast<int>(V));
    }

private:
    float FValue = 0;
};

// The vertical threshold slider and the bar graph.
using TLevelSlider = TValueTrackBar;
using TLevelBar = TValueTrackBar;
