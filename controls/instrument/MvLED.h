#pragma once
// A lamp with a caption of one or more lines beside, above or below it.
#include <memory>

#include "controls/instrument/_GClass.h"

// In a namespace of its own with a using-directive, so a form that also has the standard
// controls' label positions (lpLeft, lpRight) compiles; there, write TLEDPos::lpLeft.
namespace mvled {
enum TLEDPos { lpLeft, lpRight, lpTop, lpBottom };
}
using namespace mvled;

class TMvLED : public TMvBinGControl {
public:
    explicit TMvLED(TComponent* AOwner);
    ~TMvLED() override;
    const char* ClassName() const override { return "TMvLED"; }

    TLED* LED() const { return FLED.get(); }
    TLEDPos LED_Position() const { return FLED_Position; }
    void SetLED_Position(TLEDPos v);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int v);

    // The caption follows the name while it still equals it, as a new control's caption does.
    void SetName(const String& value) override;

    void ParamChange(TObject* Sender) override;
    void StatusChanged() override;
    void Flash(bool status) override;

protected:
    void Paint() override;

private:
    // The lamp alone, on the control's canvas at once.
    void DrawLamp(bool lit);

    std::unique_ptr<TLED> FLED;
    TLEDPos FLED_Position = TLEDPos::lpLeft;
    int FSpacing = 5;
    bool Painting = false;
};
