#pragma once
// The colour bit button: an owner-drawn push, toggle, indicator or radio button with a flat or
// gradient face, a bevel showing the pressed state, a glyph strip and a caption of one or more
// lines, each part switching look with Checked or with the flash phase.
#include <memory>

#include "controls/instrument/_GClass.h"

enum TFlashOption { foGlyph, foText, foTextCol, foBtnCol };
using TFlashOptions = rtl::SmallSet<TFlashOption>;
enum TCheckedOption { coGlyph, coText, coTextCol, coBtnCol, coBevel };
using TCheckedOptions = rtl::SmallSet<TCheckedOption>;
enum TPosH { phLeft, phRight, phCenter };
enum TPosV { pvTop, pvBottom, pvCenter };
enum TPos { pLeft, pRight, pTop, pBottom };

class TMvColBitBtn : public TMvBinGControl {
public:
    explicit TMvColBitBtn(TComponent* AOwner);
    ~TMvColBitBtn() override;
    const char* ClassName() const override { return "TMvColBitBtn"; }

    void Loaded() override;
    void SetEnabled(bool value) override;

    TMvBtnBevel* ButtonBevel() const { return FButtonBevel.get(); }
    TMvGradSettings* GradBtnFace() const { return FGradBtnFace.get(); }
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* value);
    int NumGlyph() const { return FNumGlyph; }
    void SetNumGlyph(int value);

    TFlashOptions FlashOptions() const { return FFlashOptions; }
    // Takes effect at the next flash tick or status change.
    void SetFlashOptions(TFlashOptions value) { FFlashOptions = value; }
    TCheckedOptions CheckedOptions() const { return FCheckedOptions; }
    void SetCheckedOptions(TCheckedOptions value);

    TColor ColorOff() const { return FColorOff; }
    void SetColorOff(TColor v) { SetLook(FColorOff, v); }
    TColor ColorOn() const { return FColorOn; }
    void SetColorOn(TColor v) { SetLook(FColorOn, v); }
    TColor ColorDisabled() const { return FColorDisabled; }
    void SetColorDisabled(TColor v) { SetLook(FColorDisabled, v); }
    int OffsetDown() const { return FOffsetDown; }
    void SetOffsetDown(int v) { SetLook(FOffsetDown, v); }
    int OffsetX() const { return FOffsetX; }
    void SetOffsetX(int v) { SetLook(FOffsetX, v); }
    int OffsetY() const { return FOffsetY; }
    void SetOffsetY(int v) { SetLook(FOffsetY, v); }
    bool Beveled() const { return FBeveled; }
    void SetBeveled(bool v) { SetLook(FBeveled, v); }
    bool Flat() const { return FFlat; }
    void SetFlat(bool v) { SetLook(FFlat, v); }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int v) { SetLook(FSpacing, v); }
    const String& TextOn() const { return FTextOn; }
    void SetTextOn(const String& v) { SetLook(FTextOn, v); }
    const String& TextOff() const { return FTextOff; }
    void SetTextOff(const String& v) { SetLook(FTextOff, v); }
    TColor TextColOn() const { return FTextColOn; }
    void SetTextColOn(TColor v) { SetLook(FTextColOn, v); }
    TColor TextColOff() const { return FTextColOff; }
    void SetTextColOff(TColor v) { SetLook(FTextColOff, v); }
    TColor TextColDisabled() const { return FTextColDisabled; }
    void SetTextColDisabled(TColor v) { SetLook(FTextColDisabled, v); }
    bool Text3D() const { return FText3D; }
    void SetText3D(bool v) { SetLook(FText3D, v); }
    TPosH PosHorizontal() const { return fPosHorizontal; }
    void SetPosHorizontal(TPosH v) { SetLook(fPosHorizontal, v); }
    TPosV PosVertical() const { return fPosVertical; }
    void SetPosVertical(TPosV v) { SetLook(fPosVertical, v); }
    TPos PosGlyph() const { return fPosGlyph; }
    void SetPosGlyph(TPos v) { SetLook(fPosGlyph, v); }

    bool MouseInControl() const { return FMouseInControl; }

    void ParamChange(TObject* Sender) override;
    void StatusChanged() override;
    void Flash(bool status) override;
    // Composes the button for the four look flags and shows it at once.
    virtual void Draw(bool stGlyph, bool stText, bool stTextCol, bool stBtn);

protected:
    void Paint() override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;

private:
    template <class T>
    void SetLook(T& field, const T& value) {
        if (field == value) return;
        field = value;
        StatusChanged();
    }
    bool Designing() const { return ComponentState().Contains(csDesigning); }
    void HookSettings();

    std::unique_ptr<TMvBtnBevel> FButtonBevel;
    TFlashOptions FFlashOptions{foGlyph, foText, foTextCol, foBtnCol};
    TCheckedOptions FCheckedOptions{coGlyph, coText, coTextCol, coBtnCol, coBevel};
    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyph = 1;
    TColor FColorOff = clBtnFace, FColorDisabled = 0xA0A0A0, FColorOn = clBtnFace;
    int FOffsetDown = 1, FOffsetX = 0, FOffsetY = 0;
    bool FBeveled = true, FTransparent = false, FFlat = false;
    int FSpacing = 4;
    String FTextOn, FTextOff;
    TColor FTextColOn = 0x00FF00, FTextColOff = 0x000000, FTextColDisabled = clBtnShadow;
    bool FText3D = true;
    std::unique_ptr<TMvGradSettings> FGradBtnFace;
    TPosH fPosHorizontal = phCenter;
    TPosV fPosVertical = pvCenter;
    TPos fPosGlyph = pLeft;
    bool FlashStatus = false;
    std::unique_ptr<TBitmap> BmpBackground;
    bool FMouseInControl = false;
    bool Painting = false;
};
