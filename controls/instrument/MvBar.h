#pragma once
// The bar graph: one value as a horizontal or vertical bar inside an outer bevel.
#include <memory>

#include "controls/instrument/_GClass.h"

class TMvBar : public TMvAnalogGControl {
public:
    explicit TMvBar(TComponent* AOwner);
    ~TMvBar() override;
    const char* ClassName() const override { return "TMvBar"; }
    void Loaded() override;

    TBarSettings* BarSettings() const { return FBarSettings.get(); }
    TMvSBevel* BevelOuter() const { return FBevelOuter.get(); }

    // A value change repaints only the bar, never the bevels.
    void ValueChanged() override;
    void ParamChange(TObject* Sender) override;

protected:
    void AfterConstruction() override;
    void Paint() override;

private:
    std::unique_ptr<TBarSettings> FBarSettings;
    std::unique_ptr<TMvSBevel> FBevelOuter;
};
