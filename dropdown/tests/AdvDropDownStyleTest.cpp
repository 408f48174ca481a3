// The style presets: the pop-up, header and footer colours, the header and footer buttons' look,
// the item pickers' look, the host's tones and the selected-item colours and face.
#include <gtest/gtest.h>

#include "dropdown/tests/DropDownTestSupport.h"
#include "render/VarAvir.h"

namespace {

using dropdown_test::DropDownTest;
using dropdown_test::PickerProbe;
using dropdown_test::Probe;

// A drop-down that shows the item pickers' styling.
class StyleProbe : public Probe {
public:
    using Probe::Probe;
    using TAdvCustomDropDown::ApplyItemAppearanceStyle;
};

constexpr TColor K = static_cast<TColor>(0x2FFFFFFF);  // left as it was

struct PopupRow {
    TQRBStyle style;
    TColor color, colorTo, border, hColor, hColorTo, fColor, fColorTo, font, hBorder, fBorder;
};

const PopupRow kPopupRows[] = {
    {tsOffice2003Blue, 0xFFFFFF, clNone, K, 0xFCE1CB, 0xE0A57D, 0xFCE1CB, 0xE0A57D, 0x000000, 0x000000, 0x962D00},
    {tsOffice2003Silver, 0xFFFFFF, clNone, K, 0xECE2E1, 0xB39698, 0xECE2E1, 0xB39698, 0x000000, 0x947C7C, 0x947C7C},
    {tsOffice2003Olive, 0xFFFFFF, clNone, clNone, 0xCFF0EA, 0x8CC0B1, 0xCFF0EA, 0x8CC0B1, 0x000000, 0x588060, 0x588060},
    {tsOffice2003Classic, 0xF2F2F2, 0xF2F2F2, clNone, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF, 0x808080,
     0x808080},
    {tsOffice2007Luna, 0xF3E5DA, 0xF0DED0, clNone, 0xFFEFE3, 0xFFD2AF, 0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF, 0xFFD2AF},
    {tsOffice2007Obsidian, 0xFFFFFF, clNone, clNone, 0xF2F1F0, 0xC9C2BD, 0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C,
     0x5C534C},
    {tsWindowsXP, 0xFFFFFF, clNone, K, 0xFFFFFF, clBtnFace, 0xFFFFFF, clBtnFace, 0x000000, 0x808080, 0x808080},
    {tsWhidbey, 0xF5F9FA, 0xF5F9FA, clNone, 0xEBEEEF, 0x7E9898, 0xEBEEEF, 0x7E9898, 0xFFFFFF, 0x962D00, 0x962D00},
    {tsOffice2007Silver, 0xF8F4F1, 0xF0E8E3, clNone, 0xF8F7F6, 0xE8E0DB, 0xF8F7F6, 0xE8E0DB, 0x8B4215, 0x74706F,
     0x74706F},
    {tsWindowsVista, 0xFFFFFF, 0xFFFFFF, 0x979797, 0xFFFDF9, 0xFFFAF0, 0xFFFAF0, 0xFFFDF9, 0x000000, 0xFCF2DA, 0xFCF2DA},
    {tsWindows7, 0xFFFFFF, 0xFFFFFF, 0x979797, 0xFDFBFA, 0xFDF3EB, 0xFDFBFA, 0xFDF3EB, 0x000000, 0xFBD6B8, 0xFBD6B8},
    {tsTerminal, 0xFFFFFF, 0xFFFFFF, 0x808080, clBtnFace, clBtnFace, clBtnFace, clBtnFace, 0x000000, clNone, clNone},
    {tsOffice2010Blue, 0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xFDF6EF, 0xF0DAC7, 0xFDF6EF, 0xF0DAC7, 0x5B391E, 0xC7B29F,
     0xC7B29F},
    {tsOffice2010Silver, 0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xFFFFFF, 0xEDE5E0, 0xFFFFFF, 0xEDE5E0, 0x5B391E, 0xD2CDC8,
     0xD2CDC8},
    {tsOffice2010Black, 0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xBFBFBF, 0x919191, 0xBFBFBF, 0x919191, 0xD7D7D6, 0x6D6D6D,
     0x6D6D6D},
};

TEST_F(DropDownTest, ThePopupHeaderAndFooterTable) {
    auto* d = Make<Probe>();
    for (const PopupRow& r : kPopupRows) {
        d->SetDropDownBorderColor(0x010101);
        d->SetComponentStyle(r.style);
        EXPECT_EQ(d->GetComponentStyle(), r.style);
        EXPECT_EQ(d->DropDownColor(), r.color) << r.style;
        EXPECT_EQ(d->DropDownColorTo(), r.colorTo) << r.style;
        EXPECT_EQ(d->DropDownBorderColor(), r.border == K ? TColor(0x010101) : r.border) << r.style;
        EXPECT_EQ(d->DropDownHeader()->Color(), r.hColor) << r.style;
        EXPECT_EQ(d->DropDownHeader()->ColorTo(), r.hColorTo) << r.style;
        EXPECT_EQ(d->DropDownFooter()->Color(), r.fColor) << r.style;
        EXPECT_EQ(d->DropDownFooter()->ColorTo(), r.fColorTo) << r.style;
        EXPECT_EQ(d->DropDownHeader()->Font()->Color(), r.font) << r.style;
        EXPECT_EQ(d->DropDownFooter()->Font()->Color(), r.font) << r.style;
        EXPECT_EQ(d->DropDownHeader()->BorderColor(), r.hBorder) << r.style;
        EXPECT_EQ(d->DropDownFooter()->BorderColor(), r.fBorder) << r.style;
    }
    // tsCustom keeps every colour.
    d->SetComponentStyle(tsCustom);
    EXPECT_EQ(d->GetComponentStyle(), tsCustom);
    EXPECT_EQ(d->DropDownColorTo(), TColor(0xF1EFED));
    EXPECT_EQ(d->DropDownHeader()->Color(), TColor(0xBFBFBF));
    EXPECT_EQ(d->ButtonAppearance()->Color(), TColor(0xBFBFBF));
}

struct ButtonRow {
    TQRBStyle style;
    TColor c[14];
};

constexpr TColor R0 = 0xEBFDFF, R1 = 0xACECFF, R2 = 0x99CEDB, R3 = 0xAAD9FF, R4 = 0x6EBBFF, R5 = 0x42AEFE,
                 R6 = 0xF2F2F2, R7 = 0xB6B6B6, R8 = 0x76AFF1, R9 = 0x4190F3, R10 = 0x45667B;
#define COMMON_REST R0, R1, R2, R3, R4, R5, R6, R7, R8, R9, R10
#define OFFICE2010_REST \
    0x8AE3FD, clNone, 0x58CAF1, 0x6CD0FF, clNone, 0x308AC2, 0xF2F2F2, 0xB6B6B6, 0x45E1FE, clNone, 0x4FA0CE

const ButtonRow kButtonRows[] = {
    {tsOffice2003Blue, {0xFCE1CB, 0xE0A57D, clNone, COMMON_REST}},
    {tsOffice2003Silver, {0xECE2E1, 0xB39698, clNone, COMMON_REST}},
    {tsOffice2003Olive, {0xCFF0EA, 0x8CC0B1, clNone, COMMON_REST}},
    {tsOffice2003Classic,
     {0xFFFFFF, 0xC9D1D5, clNone, 0xD2BDB6, 0xD2BDB6, 0x808080, 0xB59285, 0xB59285, 0x808080, 0xD8D5D4, 0xD8D5D4,
      0xD8D5D4, 0xD8D5D4, 0x808080}},
    {tsOffice2007Luna, {0xFFEFE3, 0xFFDDC4, clNone, COMMON_REST}},
    {tsOffice2007Obsidian, {0xF2F1F0, 0xC9C2BD, clNone, COMMON_REST}},
    {tsWindowsXP,
     {0xFFFFFF, clBtnFace, clNone, 0xEFD3C6, 0xEFD3C6, clHighlight, clInactiveCaption, clInactiveCaption, clHighlight,
      0xB6B6B6, 0xB6B6B6, 0xB9D8DC, 0xB9D8DC, 0x000000}},
    {tsWhidbey, {0xFFFFFF, 0xDFEDF0, clNone, COMMON_REST}},
    {tsOffice2007Silver, {0xF9F8F8, 0xE4E2DF, clNone, COMMON_REST}},
    {tsWindowsVista,
     {0xFFFDF9, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFDF0D7, 0xFEDF9A, 0xFFFFFF, 0xFFFFFF,
      0xFEF9F0, 0xFDF0D7, 0xEDF9AB}},
    {tsWindows7,
     {0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFCEBDC, 0xFCDBC1, 0xCEA27D, 0xFFFFFF, 0xFFFFFF,
      0xFEF9F0, 0xFCDBC1, 0xCEA27D}},
    {tsTerminal,
     {clBtnFace, clBtnFace, clNone, 0xC0C0C0, 0xC0C0C0, 0x808080, clHighlight, clHighlight, 0x808080, clBtnFace,
      clBtnFace, clBtnFace, clBtnFace, clHighlight}},
    {tsOffice2010Blue, {0xFDF6EF, 0xF0DAC7, 0xC7B29F, OFFICE2010_REST}},
    {tsOffice2010Silver, {0xFFFFFF, 0xEDE5E0, 0xD2CDC8, OFFICE2010_REST}},
    {tsOffice2010Black, {0xBFBFBF, 0x919191, 0xD7D7D6, OFFICE2010_REST}},
};

TEST_F(DropDownTest, TheHeaderAndFooterButtonTable) {
    auto* d = Make<Probe>();
    TAdvButtonAppearance* b = d->ButtonAppearance();
    for (const ButtonRow& r : kButtonRows) {
        d->SetComponentStyle(r.style);
        const TColor got[] = {b->Color(),         b->ColorTo(),        b->BorderColor(),        b->ColorHot(),
                              b->ColorHotTo(),    b->BorderColorHot(), b->ColorDown(),          b->ColorDownTo(),
                              b->BorderColorDown(), b->ColorDisabled(), b->ColorDisabledTo(),   b->ColorChecked(),
                              b->ColorCheckedTo(), b->BorderColorChecked()};
        for (int i = 0; i < 14; ++i) EXPECT_EQ(got[i], r.c[i]) << r.style << " column " << i;
    }
}

struct ItemRow {
    TQRBStyle style;
    // ColorHot, ColorHotTo, ColorMirrorHot, ColorMirrorHotTo, ColorSelected, ColorSelectedTo,
    // ColorMirrorSelected, ColorMirrorSelectedTo, BorderColor, BorderColorTop, BorderColorBottom,
    // EdgeColor, ColorSelectedText.
    TColor c[13];
};

#define O2003 0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x7AE1FE, 0x42AEFE
#define O2010 0xD9F9FD, 0x8AE3FD, 0x8AE3FD, 0xD9F9FD, 0x7BEEFF, 0x6CD0FF, 0x6CD0FF, 0x7BEEFF, 0x308AC2

const ItemRow kItemRows[] = {
    {tsOffice2003Blue, {O2003, clNone, clNone, clNone, clBlack}},
    {tsOffice2003Silver, {O2003, clNone, clNone, clNone, clBlack}},
    {tsOffice2003Olive, {O2003, clNone, clNone, clNone, clBlack}},
    {tsWhidbey, {O2003, clNone, clNone, clNone, clBlack}},
    {tsOffice2007Luna, {O2003, 0xF4FEFF, 0xCAF8FF, 0xC3D9DF, clBlack}},
    {tsOffice2007Obsidian, {O2003, 0xF4FEFF, 0xCAF8FF, 0xC3D9DF, clBlack}},
    {tsOffice2007Silver, {O2003, 0xF4FEFF, 0xCAF8FF, 0xC3D9DF, clBlack}},
    {tsOffice2003Classic,
     {0xD2BDB6, 0xD2BDB6, clNone, clNone, 0xB59285, 0xB59285, clNone, clNone, 0x808080, clNone, clNone, clNone, clBlack}},
    {tsWindowsXP,
     {0xEFD3C6, 0xEFD3C6, clNone, clNone, clHighlight, clNone, clNone, clNone, clHighlight, clNone, clNone, clNone,
      clHighlightText}},
    {tsWindowsVista,
     {0xFFFDF9, 0xFFFAF0, clNone, clNone, 0xFEF9F0, 0xFDF0D7, clNone, clNone, 0xFEDF9A, 0xFDFBF6, 0xFDF5E7, 0xFCEDCB,
      clBlack}},
    {tsWindows7,
     {0xFDFBFA, 0xFDF3EB, clNone, clNone, 0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xCEA27D, 0xFDF4EB, 0xFDEADB, 0xE0C5AE,
      clBlack}},
    {tsTerminal,
     {0xC0C0C0, 0xC0C0C0, clNone, clNone, clHighlight, clNone, clNone, clNone, 0x808080, clNone, clNone, clNone,
      clHighlightText}},
    {tsOffice2010Blue, {O2010, clNone, clNone, clNone, clBlack}},
    {tsOffice2010Silver, {O2010, clNone, clNone, clNone, clBlack}},
    {tsOffice2010Black, {O2010, clNone, clNone, clNone, clBlack}},
};

TEST_F(DropDownTest, TheItemPickersTable) {
    auto* d = Make<StyleProbe>();
    for (const ItemRow& r : kItemRows) {
        TItemAppearance a(nullptr);
        a.BorderColorHot = 0x0000FF;
        a.BorderColorSelected = 0x00FF00;
        a.ColorHotText = 0xFF0000;
        d->ApplyItemAppearanceStyle(&a, r.style);
        const TColor got[] = {a.ColorHot,       a.ColorHotTo,      a.ColorMirrorHot,      a.ColorMirrorHotTo,
                              a.ColorSelected,  a.ColorSelectedTo, a.ColorMirrorSelected, a.ColorMirrorSelectedTo,
                              a.BorderColor,    a.BorderColorTop,  a.BorderColorBottom,   a.EdgeColor,
                              a.ColorSelectedText};
        for (int i = 0; i < 13; ++i) EXPECT_EQ(got[i], r.c[i]) << r.style << " column " << i;
        EXPECT_EQ(a.BorderColorHot, clNone) << r.style;
        EXPECT_EQ(a.BorderColorSelected, clNone) << r.style;
        EXPECT_EQ(a.ColorHotText, clBlack) << r.style;
    }
    TItemAppearance custom(nullptr);
    custom.BorderColorHot = 0x0000FF;
    custom.ColorHotText = 0xFF0000;
    const TColor hot = custom.ColorHot;
    d->ApplyItemAppearanceStyle(&custom, tsCustom);
    EXPECT_EQ(custom.BorderColorHot, TColor(0x0000FF));
    EXPECT_EQ(custom.ColorHotText, TColor(0xFF0000));
    EXPECT_EQ(custom.ColorHot, hot);
    d->ApplyItemAppearanceStyle(nullptr, tsWindows7);
}

TEST_F(DropDownTest, ANewDropDownIsInTheLunaLook) {
    auto* d = Make<Probe>();
    EXPECT_EQ(d->GetComponentStyle(), tsOffice2007Luna);
    EXPECT_EQ(d->DropDownColor(), TColor(0xF3E5DA));
    EXPECT_EQ(d->DropDownColorTo(), TColor(0xF0DED0));
    EXPECT_EQ(d->DropDownBorderColor(), clNone);
    for (advdropdown::TBarAppearance* a :
         {static_cast<advdropdown::TBarAppearance*>(d->DropDownHeader()), static_cast<advdropdown::TBarAppearance*>(d->DropDownFooter())}) {
        EXPECT_EQ(a->Color(), TColor(0xFFEFE3));
        EXPECT_EQ(a->ColorTo(), TColor(0xFFD2AF));
        EXPECT_EQ(a->Font()->Color(), TColor(0x723708));
        EXPECT_EQ(a->BorderColor(), TColor(0xFFD2AF));
    }
    EXPECT_EQ(d->ButtonAppearance()->Color(), TColor(0xFFEFE3));
    EXPECT_EQ(d->ButtonAppearance()->ColorTo(), TColor(0xFFDDC4));
    EXPECT_EQ(d->ButtonAppearance()->BorderColor(), clNone);
    EXPECT_EQ(d->ButtonAppearance()->ColorHot(), TColor(0xEBFDFF));
    EXPECT_EQ(d->ButtonAppearance()->BorderColorChecked(), TColor(0x45667B));
    EXPECT_EQ(d->SelectionColorStyle(), scOffice2007);
    EXPECT_EQ(d->SelectionColor(), TColor(0xD7FFFD));
    EXPECT_EQ(d->SelectionColorTo(), TColor(0x58D4FC));
}

TEST_F(DropDownTest, StylesWriteTheBarsSilently) {
    auto* d = Make<PickerProbe>();
    d->OpenPopup();
    TAdvHeader* header = d->DropDownForm()->Header();
    int changes = 0;
    d->DropDownHeader()->OnChange = [&](TObject*) { ++changes; };
    d->DropDownHeader()->OnButtonsChanged = [&](TObject*) { ++changes; };
    d->SetComponentStyle(tsWindows7);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(header->Appearance()->Color(), TColor(0xFFEFE3)) << "the open pop-up keeps its colours";
    d->ClosePopup(false);
    d->OpenPopup();
    EXPECT_EQ(d->DropDownForm()->Header()->Appearance()->Color(), TColor(0xFDFBFA)) << "the next opening takes them";
}

TEST_F(DropDownTest, TonesColourTheButtonAndTheBorderOnly) {
    auto* d = Make<Probe>();
    TColorTones tones;
    tones.Background = {0x111111, 0x222222, 0x333333};
    tones.Hover = {0x444444, 0x555555, 0x666666};
    tones.Selected = {0x777777, 0x888888, 0x999999};
    TDropDownEditButton* button = d->Button();
    const TColor text = button->ButtonTextColor(), popup = d->DropDownColor();
    d->SetColorTones(tones);
    EXPECT_EQ(button->ButtonColor(), TColor(0x111111));
    EXPECT_EQ(button->ButtonColorHot(), TColor(0x444444));
    EXPECT_EQ(button->ButtonColorDown(), TColor(0x777777));
    EXPECT_EQ(button->ButtonBorderColor(), TColor(0x222222));
    EXPECT_EQ(d->BorderColor(), TColor(0x222222));
    EXPECT_EQ(button->ButtonTextColor(), text);
    EXPECT_EQ(d->DropDownColor(), popup);
}

TEST_F(DropDownTest, SelectionStylesAndTheirFace) {
    auto* d = Make<Probe>();
    const struct {
        TSelectionColorStyle style;
        TColor color, colorTo;
    } presets[] = {{scOffice2007, 0xD7FFFD, 0x58D4FC}, {scWindowsVista, 0xFDF8F1, 0xFCEFD5}, {scWindows7, 0xFCEBDC, 0xFCDBC1}};
    for (const auto& p : presets) {
        d->SetSelectionColorStyle(p.style);
        EXPECT_EQ(d->SelectionColor(), p.color) << p.style;
        EXPECT_EQ(d->SelectionColorTo(), p.colorTo) << p.style;
    }
    d->SetSelectionColor(0x123456);
    d->SetSelectionColorTo(0x654321);
    d->SetSelectionColorStyle(scCustom);
    EXPECT_EQ(d->SelectionColor(), TColor(0x123456));
    EXPECT_EQ(d->SelectionColorTo(), TColor(0x654321));

    // The face: scCustom a solid fill; the others the rounded face in the table's colours.
    const TRect r(0, 0, 40, 20);
    TBitmap got(40, 20), want(40, 20);
    d->DrawSelectionBackground(got.Canvas(), r, clWhite, 0);
    for (int y = 0; y < 20; y += 3)
        for (int x = 0; x < 40; x += 3) ASSERT_EQ(got.Canvas()->Pixels(x, y), TColor(0x123456)) << x << "," << y;
    const struct {
        TSelectionColorStyle style;
        TColor border, corner, upper, lower, mirror, mirrorTo;
    } faces[] = {{scOffice2007, 0x8DD7D3, 0xC3D9DF, 0xF4FEFF, 0xCAF8FF, 0x58D4FC, 0xB3F1FC},
                 {scWindowsVista, 0xFDDE99, 0xFCEDCB, 0xFDFBF6, 0xFDF5E7, clNone, clNone},
                 {scWindows7, 0xCEA27D, 0xE0C5AE, 0xFDF4EB, 0xFDEADB, clNone, clNone}};
    for (const auto& f : faces) {
        for (int edge = 0; edge < 4; ++edge) {
            d->SetSelectionColorStyle(f.style);
            got.Canvas()->FillSolid(r, clWhite);
            want.Canvas()->FillSolid(r, clWhite);
            d->DrawSelectionBackground(got.Canvas(), r, 0x00FF00, edge);
            DrawButtonFace(want.Canvas(), d->SelectionColor(), d->SelectionColorTo(), f.mirror, f.mirrorTo, f.upper,
                           f.lower, f.border, f.corner, 0x00FF00, r, edge);
            int differ = 0;
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 40; ++x) differ += got.Canvas()->Pixels(x, y) != want.Canvas()->Pixels(x, y);
            EXPECT_EQ(differ, 0) << f.style << " edge " << edge;
        }
    }
    EXPECT_EQ(got.Canvas()->Pixels(20, 0), TColor(0xCEA27D)) << "the outer border";
}

}  // namespace
