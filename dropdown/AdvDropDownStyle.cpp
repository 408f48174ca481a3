// The style presets of unit AdvDropDown: the pop-up, header and footer colours of each component
// style, the header and footer buttons' look, the host's tones, the selected-item colours and
// their painting, and the item pickers' look.
#include <iterator>

#include "dropdown/AdvDropDown.h"
#include "render/VarAvir.h"

namespace {

// A colour a style leaves as it is.
constexpr TColor kKeep = static_cast<TColor>(0x2FFFFFFF);

struct PopupLook {
    TColor color, colorTo, border;
    TColor headerColor, headerColorTo, footerColor, footerColorTo;
    TColor font, headerBorder, footerBorder;
};

// By TQRBStyle; tsCustom's row is never read.
constexpr PopupLook kPopupLooks[] = {
    {0xFFFFFF, clNone, kKeep, 0xFCE1CB, 0xE0A57D, 0xFCE1CB, 0xE0A57D, 0x000000, 0x000000, 0x962D00},
    {0xFFFFFF, clNone, kKeep, 0xECE2E1, 0xB39698, 0xECE2E1, 0xB39698, 0x000000, 0x947C7C, 0x947C7C},
    {0xFFFFFF, clNone, clNone, 0xCFF0EA, 0x8CC0B1, 0xCFF0EA, 0x8CC0B1, 0x000000, 0x588060, 0x588060},
    {0xF2F2F2, 0xF2F2F2, clNone, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF, 0x808080, 0x808080},
    {0xF3E5DA, 0xF0DED0, clNone, 0xFFEFE3, 0xFFD2AF, 0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF, 0xFFD2AF},
    {0xFFFFFF, clNone, clNone, 0xF2F1F0, 0xC9C2BD, 0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C, 0x5C534C},
    {0xFFFFFF, clNone, kKeep, 0xFFFFFF, clBtnFace, 0xFFFFFF, clBtnFace, 0x000000, 0x808080, 0x808080},
    {0xF5F9FA, 0xF5F9FA, clNone, 0xEBEEEF, 0x7E9898, 0xEBEEEF, 0x7E9898, 0xFFFFFF, 0x962D00, 0x962D00},
    {},
    {0xF8F4F1, 0xF0E8E3, clNone, 0xF8F7F6, 0xE8E0DB, 0xF8F7F6, 0xE8E0DB, 0x8B4215, 0x74706F, 0x74706F},
    {0xFFFFFF, 0xFFFFFF, 0x979797, 0xFFFDF9, 0xFFFAF0, 0xFFFAF0, 0xFFFDF9, 0x000000, 0xFCF2DA, 0xFCF2DA},
    {0xFFFFFF, 0xFFFFFF, 0x979797, 0xFDFBFA, 0xFDF3EB, 0xFDFBFA, 0xFDF3EB, 0x000000, 0xFBD6B8, 0xFBD6B8},
    {0xFFFFFF, 0xFFFFFF, 0x808080, clBtnFace, clBtnFace, clBtnFace, clBtnFace, 0x000000, clNone, clNone},
    {0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xFDF6EF, 0xF0DAC7, 0xFDF6EF, 0xF0DAC7, 0x5B391E, 0xC7B29F, 0xC7B29F},
    {0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xFFFFFF, 0xEDE5E0, 0xFFFFFF, 0xEDE5E0, 0x5B391E, 0xD2CDC8, 0xD2CDC8},
    {0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xBFBFBF, 0x919191, 0xBFBFBF, 0x919191, 0xD7D7D6, 0x6D6D6D, 0x6D6D6D},
};

// Color, ColorTo, BorderColor, ColorHot, ColorHotTo, BorderColorHot, ColorDown, ColorDownTo,
// BorderColorDown, ColorDisabled, ColorDisabledTo, ColorChecked, ColorCheckedTo,
// BorderColorChecked.
struct ButtonLook {
    TColor c[14];
};

constexpr ButtonLook Common(TColor color, TColor colorTo, TColor border) {
    return {{color, colorTo, border, 0xEBFDFF, 0xACECFF, 0x99CEDB, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0xF2F2F2, 0xB6B6B6,
             0x76AFF1, 0x4190F3, 0x45667B}};
}

constexpr ButtonLook Office2010(TColor color, TColor colorTo, TColor border) {
    return {{color, colorTo, border, 0x8AE3FD, clNone, 0x58CAF1, 0x6CD0FF, clNone, 0x308AC2, 0xF2F2F2, 0xB6B6B6,
             0x45E1FE, clNone, 0x4FA0CE}};
}

// By TQRBStyle; tsCustom's row is never read. The Vista row's checked border was given as a
// value that is no plain colour ($0FEDF9AB): its low three bytes are taken.
constexpr ButtonLook kButtonLooks[] = {
    Common(0xFCE1CB, 0xE0A57D, clNone),
    Common(0xECE2E1, 0xB39698, clNone),
    Common(0xCFF0EA, 0x8CC0B1, clNone),
    {{0xFFFFFF, 0xC9D1D5, clNone, 0xD2BDB6, 0xD2BDB6, 0x808080, 0xB59285, 0xB59285, 0x808080, 0xD8D5D4, 0xD8D5D4,
      0xD8D5D4, 0xD8D5D4, 0x808080}},
    Common(0xFFEFE3, 0xFFDDC4, clNone),
    Common(0xF2F1F0, 0xC9C2BD, clNone),
    {{0xFFFFFF, clBtnFace, clNone, 0xEFD3C6, 0xEFD3C6, clHighlight, clInactiveCaption, clInactiveCaption, clHighlight,
      0xB6B6B6, 0xB6B6B6, 0xB9D8DC, 0xB9D8DC, 0x000000}},
    Common(0xFFFFFF, 0xDFEDF0, clNone),
    {},
    Common(0xF9F8F8, 0xE4E2DF, clNone),
    {{0xFFFDF9, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFDF0D7, 0xFEDF9A, 0xFFFFFF, 0xFFFFFF,
      0xFEF9F0, 0xFDF0D7, 0xEDF9AB}},
    {{0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFCEBDC, 0xFCDBC1, 0xCEA27D, 0xFFFFFF, 0xFFFFFF,
      0xFEF9F0, 0xFCDBC1, 0xCEA27D}},
    {{clBtnFace, clBtnFace, clNone, 0xC0C0C0, 0xC0C0C0, 0x808080, clHighlight, clHighlight, 0x808080, clBtnFace,
      clBtnFace, clBtnFace, clBtnFace, clHighlight}},
    Office2010(0xFDF6EF, 0xF0DAC7, 0xC7B29F),
    Office2010(0xFFFFFF, 0xEDE5E0, 0xD2CDC8),
    Office2010(0xBFBFBF, 0x919191, 0xD7D7D6),
};

// The selected item's face for the styles other than scCustom.
struct SelectionFace {
    TColor border, corner, upper, lower, mirror, mirrorTo;
};
constexpr SelectionFace kSelectionFaces[] = {
    {0x8DD7D3, 0xC3D9DF, 0xF4FEFF, 0xCAF8FF, 0x58D4FC, 0xB3F1FC},
    {0xFDDE99, 0xFCEDCB, 0xFDFBF6, 0xFDF5E7, clNone, clNone},
    {0xCEA27D, 0xE0C5AE, 0xFDF4EB, 0xFDEADB, clNone, clNone},
};

// The item pickers' look: ColorHot, ColorHotTo, ColorMirrorHot, ColorMirrorHotTo, ColorSelected,
// ColorSelectedTo, ColorMirrorSelected, ColorMirrorSelectedTo, BorderColor, BorderColorTop,
// BorderColorBottom, EdgeColor, ColorSelectedText.
struct ItemLook {
    TColor c[13];
};
constexpr ItemLook kOffice2003Items{{0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x7AE1FE,
                                     0x42AEFE, clNone, clNone, clNone, clBlack}};
constexpr ItemLook kOffice2007Items{{0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x7AE1FE,
                                     0x42AEFE, 0xF4FEFF, 0xCAF8FF, 0xC3D9DF, clBlack}};
constexpr ItemLook kOffice2010Items{{0xD9F9FD, 0x8AE3FD, 0x8AE3FD, 0xD9F9FD, 0x7BEEFF, 0x6CD0FF, 0x6CD0FF, 0x7BEEFF,
                                     0x308AC2, clNone, clNone, clNone, clBlack}};
// By TQRBStyle; tsCustom's row is never read.
constexpr ItemLook kItemLooks[] = {
    kOffice2003Items,
    kOffice2003Items,
    kOffice2003Items,
    {{0xD2BDB6, 0xD2BDB6, clNone, clNone, 0xB59285, 0xB59285, clNone, clNone, 0x808080, clNone, clNone, clNone,
      clBlack}},
    kOffice2007Items,
    kOffice2007Items,
    {{0xEFD3C6, 0xEFD3C6, clNone, clNone, clHighlight, clNone, clNone, clNone, clHighlight, clNone, clNone, clNone,
      clHighlightText}},
    kOffice2003Items,
    {},
    kOffice2007Items,
    {{0xFFFDF9, 0xFFFAF0, clNone, clNone, 0xFEF9F0, 0xFDF0D7, clNone, clNone, 0xFEDF9A, 0xFDFBF6, 0xFDF5E7, 0xFCEDCB,
      clBlack}},
    {{0xFDFBFA, 0xFDF3EB, clNone, clNone, 0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xCEA27D, 0xFDF4EB, 0xFDEADB, 0xE0C5AE,
      clBlack}},
    {{0xC0C0C0, 0xC0C0C0, clNone, clNone, clHighlight, clNone, clNone, clNone, 0x808080, clNone, clNone, clNone,
      clHighlightText}},
    kOffice2010Items,
    kOffice2010Items,
    kOffice2010Items,
};

static_assert(std::size(kPopupLooks) == tsOffice2010Black + 1 && std::size(kButtonLooks) == tsOffice2010Black + 1 &&
              std::size(kItemLooks) == tsOffice2010Black + 1);

}  // namespace

void TAdvCustomDropDown::SetComponentStyle(TQRBStyle AStyle) {
    FQRBStyle = AStyle;
    if (AStyle == tsCustom) return;
    const PopupLook& p = kPopupLooks[AStyle];
    SetDropDownColor(p.color);
    FDropDownColorTo = p.colorTo;
    if (p.border != kKeep) FDropDownBorderColor = p.border;
    // Written past the setters: an open pop-up shows them at its next opening.
    auto bar = [&p](advdropdown::TBarAppearance* a, TColor color, TColor colorTo, TColor border) {
        a->SetColor(color);
        a->SetColorTo(colorTo);
        a->SetBorderColor(border);
        a->Font()->SetColor(p.font);
    };
    bar(FDropDownHeader.get(), p.headerColor, p.headerColorTo, p.headerBorder);
    bar(FDropDownFooter.get(), p.footerColor, p.footerColorTo, p.footerBorder);

    const TColor* c = kButtonLooks[AStyle].c;
    TAdvButtonAppearance* b = FButtonAppearance.get();
    b->SetColor(c[0]);
    b->SetColorTo(c[1]);
    b->SetBorderColor(c[2]);
    b->SetColorHot(c[3]);
    b->SetColorHotTo(c[4]);
    b->SetBorderColorHot(c[5]);
    b->SetColorDown(c[6]);
    b->SetColorDownTo(c[7]);
    b->SetBorderColorDown(c[8]);
    b->SetColorDisabled(c[9]);
    b->SetColorDisabledTo(c[10]);
    b->SetColorChecked(c[11]);
    b->SetColorCheckedTo(c[12]);
    b->SetBorderColorChecked(c[13]);
}

void TAdvCustomDropDown::SetColorTones(const TColorTones& ATones) {
    if (FButton) {
        FButton->SetButtonColor(ATones.Background.BrushColor);
        FButton->SetButtonColorHot(ATones.Hover.BrushColor);
        FButton->SetButtonColorDown(ATones.Selected.BrushColor);
        FButton->SetButtonBorderColor(ATones.Background.BorderColor);
    }
    SetBorderColor(ATones.Background.BorderColor);
}

void TAdvCustomDropDown::SetSelectionColorStyle(TSelectionColorStyle Style) {
    FSelectionColorStyle = Style;
    switch (Style) {
        case scOffice2007: FSelectionColor = 0xD7FFFD, FSelectionColorTo = 0x58D4FC; break;
        case scWindowsVista: FSelectionColor = 0xFDF8F1, FSelectionColorTo = 0xFCEFD5; break;
        case scWindows7: FSelectionColor = 0xFCEBDC, FSelectionColorTo = 0xFCDBC1; break;
        case scCustom: break;
    }
}

void TAdvCustomDropDown::DrawSelectionBackground(TCanvas* Canvas, const TRect& Rect, TColor BackgroundColor,
                                                 int EdgeStyle) {
    if (!Canvas) return;
    if (FSelectionColorStyle == scCustom) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(FSelectionColor);
        Canvas->Pen()->SetColor(FSelectionColor);
        Canvas->Rectangle(Rect);
        return;
    }
    const SelectionFace& f = kSelectionFaces[FSelectionColorStyle - 1];
    DrawButtonFace(Canvas, FSelectionColor, FSelectionColorTo, f.mirror, f.mirrorTo, f.upper, f.lower, f.border, f.corner,
                   BackgroundColor, Rect, EdgeStyle);
}

void TAdvCustomDropDown::ApplyItemAppearanceStyle(TItemAppearance* Appearance, TQRBStyle Style) {
    if (!Appearance || Style == tsCustom) return;
    TItemAppearance& a = *Appearance;
    a.BorderColorHot = clNone;
    a.BorderColorSelected = clNone;
    a.ColorSelectedText = clBlack;
    a.ColorHotText = clBlack;
    const TColor* c = kItemLooks[Style].c;
    a.ColorHot = c[0];
    a.ColorHotTo = c[1];
    a.ColorMirrorHot = c[2];
    a.ColorMirrorHotTo = c[3];
    a.ColorSelected = c[4];
    a.ColorSelectedTo = c[5];
    a.ColorMirrorSelected = c[6];
    a.ColorMirrorSelectedTo = c[7];
    a.BorderColor = c[8];
    a.BorderColorTop = c[9];
    a.BorderColorBottom = c[10];
    a.EdgeColor = c[11];
    a.ColorSelectedText = c[12];
}
