#pragma once
// The vertical slider: a trench with a knob between two scales, a value box above and name
// lines below.
#include <memory>

#include "controls/instrument/_GClass.h"

class TMvVSlider : public TMvAnalogCControl {
public:
    // Nested: the bar settings have options of the same names.
    enum TVSliderOption { opBevelOuter, opUnit, opValue, opName1, opName2, opScaleText };
    using TVSliderOptions = rtl::SmallSet<TVSliderOption>;

    explicit TMvVSlider(TComponent* AOwner);
    ~TMvVSlider() override;
    const char* ClassName() const override { return "TMvVSlider"; }
    void Loaded() override;

    TMvSBevel* BevelOuter() const { return FBevelOuter.get(); }
    TMvSBevel* BevelValue() const { return FBevelValue.get(); }
    // Held to 18 .. the control's width.
    int32_t ButtonSize() const { return FButtonSize; }
    void SetButtonSize(int32_t V);
    TColor ColorTrench() const { return FColorTrench; }
    void SetColorTrench(TColor V);
    TFont* FontValue() const { return FFontValue.get(); }
    void SetFontValue(TFont* V) { FFontValue->Assign(V); }
    TVSliderOptions Options() const { return FOptions; }
    void SetOptions(TVSliderOptions V);
    TScaleSettings* ScaleSettings() const { return FScaleSettings.get(); }

    // The layout of the last paint, in client coordinates.
    int32_t BtnHeight = 0, BtnWidth = 0;
    bool BtnDir = true;
    bool isToSmall = false;
    TPoint pCenter;  // the knob's centre inside rMove
    TSize sValue, sUnit;
    TRect rValue, rSlide, rScale, rMove;
    bool BmpValid = false;
    bool Init = false;

    void ParamChange(TObject* Sender) override;
    void UpdateDisplay() override;
    void MouseSlide(TShiftState Shift, int X, int Y, TPoint Previous) override;

protected:
    void Paint() override;

private:
    void HookSettings();

    std::unique_ptr<TMvSBevel> FBevelOuter;
    std::unique_ptr<TMvSBevel> FBevelValue;
    int32_t FButtonSize = 30;
    TColor FColorTrench = 0x008000;
    std::unique_ptr<TFont> FFontValue;
    TVSliderOptions FOptions{opBevelOuter, opUnit, opValue, opName1, opName2, opScaleText};
    std::unique_ptr<TScaleSettings> FScaleSettings;
    std::unique_ptr<TBitmap> BmpSliderArea;
};

using TVSliderOption = TMvVSlider::TVSliderOption;
using TVSliderOptions = TMvVSlider::TVSliderOptions;
