// The drop-down edit base: construction, defaults, the least height and the layout, the label,
// the borders and the focus box, the keys of the edit, streaming, copying and notices.
#include <gtest/gtest.h>

#include "controls/styled/LabelPlacement.h"
#include "dropdown/tests/DropDownTestSupport.h"
#include "platform/rtl/Filer.h"
#include "platform/rtl/Streams.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/SystemInfo.h"

namespace {

using dropdown_test::DropDownTest;
using dropdown_test::PickerProbe;
using dropdown_test::Probe;

// A drop-down whose style operations only keep what they are given, whatever the base's do.
class Storing : public Probe {
public:
    using Probe::Probe;
    TQRBStyle style = tsCustom;
    TSelectionColorStyle selection = scCustom;
    void SetComponentStyle(TQRBStyle AStyle) override { style = AStyle; }
    void SetSelectionColorStyle(TSelectionColorStyle Style) override { selection = Style; }
};

TEST_F(DropDownTest, ConstructionReachesTheOverridesInOrderAfterTheConstructor) {
    auto* d = NewComponent<Probe>(form);
    EXPECT_EQ(d->calls, (std::vector<std::string>{"constructor", "BuildPopup", "SetText", "SetSelectionColorStyle",
                                                   "SetComponentStyle"}));
    EXPECT_NE(d->DropDownForm(), nullptr);
    EXPECT_NE(d->Button(), nullptr);
    EXPECT_EQ(d->OldText(), String());
    d->Free();

    form->SetDesigning(true);
    auto* designed = NewComponent<Probe>(form);
    EXPECT_EQ(designed->Count("BuildPopup"), 0);
    EXPECT_EQ(designed->DropDownForm(), nullptr);
    EXPECT_NE(designed->Button(), nullptr);
    EXPECT_EQ(designed->Count("SetComponentStyle"), 1);
    designed->Free();
    form->SetDesigning(false);
}

TEST_F(DropDownTest, Defaults) {
    auto* d = NewComponent<Storing>(form);
    EXPECT_EQ(d->BorderColor(), clNone);
    EXPECT_EQ(d->FocusBorderColor(), static_cast<TColor>(0x1FFFFFFF));
    EXPECT_TRUE(d->DisabledBorder());
    EXPECT_EQ(d->DropDownColor(), static_cast<TColor>(0xFFFFFF));
    EXPECT_EQ(d->DropDownColorTo(), clNone);
    EXPECT_EQ(d->DropDownBorderColor(), static_cast<TColor>(0));
    EXPECT_EQ(d->DropDownBorderWidth(), 1);
    EXPECT_TRUE(d->DropDownShadow());
    EXPECT_TRUE(d->DropDownSizeable());
    EXPECT_FALSE(d->DropDownEnabled());
    EXPECT_TRUE(d->EditorEnabled());
    EXPECT_EQ(d->DropDownButtonWidth(), 17);
    EXPECT_EQ(d->Button()->Width(), 17);
    EXPECT_EQ(d->DropPosition(), dpAuto);
    EXPECT_EQ(d->DropDownGradient(), advdropdown::gdHorizontal);
    EXPECT_EQ(d->LabelPosition(), advdropdown::lpLeftTop);
    EXPECT_EQ(d->LabelMargin(), 4);
    EXPECT_TRUE(d->FocusDraw());
    EXPECT_FALSE(d->ReadOnly());
    EXPECT_EQ(d->Width(), 200);
    EXPECT_EQ(d->Height(), 21);
    EXPECT_EQ(d->UserDropDownWidth(), -1);
    EXPECT_EQ(d->UserDropDownHeight(), -1);
    EXPECT_EQ(d->DropDownWidth(), 0);
    EXPECT_EQ(d->DropDownHeight(), 0);
    EXPECT_FALSE(d->ControlStyle().Contains(csSetCaption));
    EXPECT_EQ(d->style, tsOffice2007Luna);
    EXPECT_EQ(d->selection, scOffice2007);
    EXPECT_EQ(d->EditLabel(), nullptr);
    EXPECT_EQ(d->LabelCaption(), String());
    EXPECT_TRUE(d->DropDownHeader()->Visible());
    EXPECT_EQ(d->DropDownHeader()->Height(), 22);
    EXPECT_TRUE(d->DropDownFooter()->Visible());
    EXPECT_EQ(d->DropDownFooter()->Height(), 22);
    d->Free();

    // The base keeps the style it was given.
    auto* plain = NewComponent<TAdvCustomDropDown>(form);
    EXPECT_EQ(plain->GetComponentStyle(), tsOffice2007Luna);
    EXPECT_EQ(plain->SelectionColorStyle(), scOffice2007);
    EXPECT_EQ(plain->Version(), String("1.2.0.1"));
    plain->SetVersion(String("9.9.9.9"));
    EXPECT_EQ(plain->Version(), String("1.2.0.1"));
    plain->Free();
}

TEST_F(DropDownTest, TheLeastHeightFollowsTheFont) {
    auto* d = Make<Probe>();
    d->Font()->SetName(String("DejaVu Sans"));
    d->Font()->SetSize(20);
    TBitmap scratch(1, 1);
    TEXTMETRIC own{}, sys{};
    SelectObject(scratch.Canvas()->Handle(), d->Font()->Handle());
    GetTextMetrics(scratch.Canvas()->Handle(), &own);
    SelectObject(scratch.Canvas()->Handle(), GetStockObject(SYSTEM_FONT));
    GetTextMetrics(scratch.Canvas()->Handle(), &sys);
    const int least = own.tmHeight + std::min(own.tmHeight, sys.tmHeight) / 4;
    EXPECT_EQ(d->MinimumHeight(), least);
    ASSERT_GT(least, 21);
    // The font alone changes no size; the next size change raises it.
    EXPECT_EQ(d->Height(), 21);
    d->SetWidth(190);
    EXPECT_EQ(d->Height(), least);
    d->SetHeight(5);
    EXPECT_EQ(d->Height(), least);
}

TEST_F(DropDownTest, ANewPopupWidthForgetsTheUserWidthOnly) {
    auto* d = Make<PickerProbe>();
    d->SetDropDownWidth(150);
    d->OpenPopup();
    d->ClosePopup(false);
    EXPECT_EQ(d->UserDropDownWidth(), 150);
    const int height = d->UserDropDownHeight();
    EXPECT_GT(height, 0);
    d->SetDropDownWidth(150);
    EXPECT_EQ(d->UserDropDownWidth(), 150);
    d->SetDropDownWidth(160);
    EXPECT_EQ(d->UserDropDownWidth(), -1);
    EXPECT_EQ(d->UserDropDownHeight(), height);
    d->SetDropDownHeight(90);
    EXPECT_EQ(d->UserDropDownHeight(), -1);
}

TEST_F(DropDownTest, TheButtonAndTheTextRectangleByBorderAndLook) {
    const struct {
        const char* name;
        bool flat, ctl3d, border;
        TRect button;
        int textLeft, textTop;
    } cases[] = {
        {"flat, 3D, single border", true, true, true, Bounds(180, 2, 17, 18), 1, 1},
        {"3D, single border", false, true, true, Bounds(179, 0, 17, 17), 1, 1},
        {"without 3D", false, false, true, Bounds(181, 1, 17, 19), 2, 1},
        {"3D without border", false, true, false, Bounds(183, 1, 17, 19), 2, 3},
    };
    for (const auto& c : cases) {
        auto* d = Make<Probe>();
        d->SetFlat(c.flat);
        d->SetCtl3D(c.ctl3d);
        d->SetBorderStyle(c.border ? bsSingle : bsNone);
        d->SetBounds(100, 50, 200, 21);
        ui::test::Pump();
        EXPECT_EQ(d->Button()->BoundsRect(), c.button) << c.name;
        const TRect text = d->FormatRect();
        EXPECT_EQ(text.Left, c.textLeft) << c.name;
        EXPECT_EQ(text.Top, c.textTop) << c.name;
        EXPECT_EQ(text.Right, d->ClientWidth() - 20) << c.name;
        EXPECT_EQ(text.Bottom, d->ClientHeight() + 1) << c.name;
        d->Free();
    }
}

TEST_F(DropDownTest, TheLabelStandsWhereTheSharedRuleSays) {
    auto* d = Make<Probe>();
    d->LabelFont()->SetName(String("DejaVu Sans"));
    d->SetLabelCaption(String("Channel"));
    TLabel* label = d->EditLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Parent(), form);
    EXPECT_EQ(label->FocusControl(), d);
    const int w = styled::AttachedLabelTextWidth(label->Caption(), label->Font());
    const int lw = label->Width(), lh = label->Height();
    ASSERT_EQ(lh, 13) << "the label font's height";
    const struct {
        advdropdown::TLabelPosition position;
        TPoint at;
    } cases[] = {
        {advdropdown::lpLeftTop, Point(100 - w - 4, 50)},
        {advdropdown::lpBottomLeft, Point(100, 75)},
        {advdropdown::lpRightCenter, Point(304, 54)},
        {advdropdown::lpTopRight, Point(300 - lw, 33)},
    };
    for (const auto& c : cases) {
        d->SetLabelPosition(c.position);
        EXPECT_EQ(Point(label->Left(), label->Top()), c.at) << static_cast<int>(c.position);
    }
    d->SetBounds(110, 60, 200, 21);
    EXPECT_EQ(Point(label->Left(), label->Top()), Point(110 + 200 - lw, 43));
    d->SetVisible(false);
    EXPECT_FALSE(label->Visible());
    d->SetVisible(true);
    EXPECT_TRUE(label->Visible());

    bool clicked = false;
    d->OnLabelClick = [&](TObject* sender) { clicked = sender == d; };
    label->Click();
    EXPECT_TRUE(clicked);

    auto* other = Make<Probe>(10, 150);
    other->SetLabelCaption(String());
    ASSERT_NE(other->EditLabel(), nullptr);
    EXPECT_EQ(other->LabelCaption(), String());
}

class BorderTest : public DropDownTest {
protected:
    Probe* d = nullptr;
    void SetUp() override {
        DropDownTest::SetUp();
        d = Make<Probe>(20, 20);
    }
    void TearDown() override {
        ui::sys::ResetAnswers();
        DropDownTest::TearDown();
    }
    TColor Edge() { return WindowPixel(d, 0, 10); }
    TColor Inner() { return WindowPixel(d, 1, 10); }
};

TEST_F(BorderTest, FramesByStateAndColours) {
    const TColor face = static_cast<TColor>(ColorToRGB(clBtnFace));
    // Disabled and themed with DisabledBorder: grey.
    d->SetEnabled(false);
    EXPECT_EQ(Edge(), static_cast<TColor>(0xC0C0C0));
    d->SetEnabled(true);

    // A border colour stays while focused when no focus colour is set.
    d->SetBorderColor(0x0000FF);
    EXPECT_EQ(Edge(), static_cast<TColor>(0x0000FF));
    d->SetFocus();
    ui::test::Pump();
    EXPECT_EQ(Edge(), static_cast<TColor>(0x0000FF));
    d->SetFocusBorderColor(0xFF0000);
    EXPECT_EQ(Edge(), static_cast<TColor>(0xFF0000));
    d->SetBorderColor(clNone);

    // Only a focus colour: a frame only while focused.
    EXPECT_EQ(Edge(), static_cast<TColor>(0xFF0000));
    auto* other = Make<ui::test::CharTaker>(10, 150);
    other->SetFocus();
    ui::test::Pump();
    EXPECT_NE(Edge(), static_cast<TColor>(0xFF0000));
    d->SetFocusBorderColor(clNone);

    // Flat, not hot: two frames in the parent's colour; hot: a sunken edge, then button face.
    d->SetFlat(true);
    EXPECT_EQ(Edge(), static_cast<TColor>(0x00C000));
    EXPECT_EQ(Inner(), static_cast<TColor>(0x00C000));
    d->SetFocus();
    ui::test::Pump();
    EXPECT_EQ(Edge(), static_cast<TColor>(ColorToRGB(clBtnShadow)));
    EXPECT_EQ(Inner(), face);
    EXPECT_TRUE(d->Button()->Button()->Focused());
}

TEST_F(BorderTest, NoCustomFrameAtDesignTime) {
    d->SetBorderColor(0x0000FF);
    EXPECT_EQ(Edge(), static_cast<TColor>(0x0000FF));
    d->SetDesigning(true);
    d->InvalidateFrame();
    EXPECT_NE(Edge(), static_cast<TColor>(0x0000FF));
}

TEST_F(DropDownTest, AnUntypeableFocusedEditShowsItsTextOnAHighlight) {
    auto* d = Make<Probe>(20, 20);
    d->SetEditorEnabled(false);
    d->SetText(String("Gain"));
    d->SetFocus();
    ui::test::Pump();
    const TColor highlight = static_cast<TColor>(ColorToRGB(clHighlight));
    EXPECT_EQ(WindowPixel(d, 2, 2), highlight);
    EXPECT_EQ(WindowPixel(d, 200 - 18 - 1, 21 - 2 - 1), highlight);
    EXPECT_NE(WindowPixel(d, 200 - 18, 10), highlight);
    EXPECT_NE(WindowPixel(d, 2, 21 - 2), highlight);
    int text = 0;
    for (int x = 4; x < 40; ++x)
        for (int y = 3; y < 18; ++y) text += WindowPixel(d, x, y) == static_cast<TColor>(ColorToRGB(clHighlightText));
    EXPECT_GT(text, 10);

    d->SetFocusDraw(false);
    d->Invalidate();
    EXPECT_NE(WindowPixel(d, 2, 2), highlight);
}

TEST_F(DropDownTest, EnterIsSwallowedAfterOnKeyPressAndAltArrowsToggleThePopup) {
    auto* d = Make<PickerProbe>(20, 20);
    char16_t seen = 0;
    d->OnKeyPress = [&](TObject*, char16_t& key) { seen = key; };
    d->SetFocus();
    ui::test::Pump();
    d->Perform(WM_CHAR, u'\r', 0);
    EXPECT_EQ(seen, u'\r');
    EXPECT_EQ(d->Text(), String());

    bool cancelled = true;
    d->OnDropUp = [&](TObject*, bool c) { cancelled = c; };
    ui::test::Key(d, VK_DOWN, String(), TShiftState{ssAlt});
    ui::test::Pump();
    EXPECT_TRUE(d->DroppedDown());
    // The picker in the pop-up has the keys now; they reach the edit, which toggles once.
    ui::test::Key(d->picker, VK_UP, String(), TShiftState{ssAlt});
    ui::test::Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_FALSE(cancelled);
}

TEST_F(DropDownTest, TheTwoStyleValuesAreStreamedAsIntegersAndReadWithoutApplying) {
    auto* d = Make<Probe>();
    d->SetSelectionColorStyle(scWindows7);
    d->SetComponentStyle(tsTerminal);
    TMemoryStream s;
    s.WriteComponent(d);
    const std::string bytes(static_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
    for (const std::string name : {"SelectionColorStyle", "QRBStyle"}) {
        const size_t at = bytes.find(static_cast<char>(name.size()) + name);
        ASSERT_NE(at, std::string::npos) << name;
        EXPECT_EQ(bytes[at + 1 + name.size()], static_cast<char>(vaInt8)) << name;
    }
    EXPECT_EQ(bytes[bytes.find("SelectionColorStyle") + 20], static_cast<char>(scWindows7));
    EXPECT_EQ(bytes[bytes.find("QRBStyle") + 9], static_cast<char>(tsTerminal));

    auto* read = Make<Probe>(10, 150);
    read->calls.clear();
    s.SetPosition(0);
    s.ReadComponent(read);
    EXPECT_EQ(read->GetComponentStyle(), tsTerminal);
    EXPECT_EQ(read->SelectionColorStyle(), scWindows7);
    EXPECT_EQ(read->Count("SetComponentStyle"), 0);
    EXPECT_EQ(read->Count("SetSelectionColorStyle"), 0);
}

TEST_F(DropDownTest, AssignCopiesTheSettingsButNotTheText) {
    auto* from = Make<Probe>();
    TImageList images(nullptr);
    from->SetFocusDraw(false);
    from->SetForceShadow(true);
    from->SetDropDownEnabled(true);
    from->SetDropDownColor(0x112233);
    from->SetDropDownColorTo(0x445566);
    from->SetDropDownGradient(advdropdown::gdVertical);
    from->SetDropDownBorderColor(0x778899);
    from->SetDropDownBorderWidth(3);
    from->SetDropDownShadow(false);
    from->SetDropDownWidth(250);
    from->SetDropDownHeight(120);
    from->SetDropDownSizeable(false);
    from->SetEditType(etMoney);
    from->SetReturnIsTab(true);
    from->SetLengthLimit(6);
    from->SetPrecision(2);
    from->SetPrefix(String("$"));
    from->SetSuffix(String(" kHz"));
    from->SetValidChars(String("0123"));
    from->SetSigned(true);
    from->DropDownHeader()->SetVisible(false);
    from->DropDownFooter()->SetHeight(30);
    from->SetDropPosition(dpUp);
    from->SetFlat(true);
    from->SetDropDownButtonWidth(25);
    from->SetDropDownButtonHint(String("Open"));
    from->SetEditorEnabled(false);
    from->Button()->SetButtonCaption(String("..."));
    from->SetEtched(true);
    from->SetImages(&images);
    from->SetSelectionColorStyle(scWindowsVista);
    from->SetSelectionColor(0x010203);
    from->SetSelectionColorTo(0x040506);
    from->SetText(String("kept apart"));

    auto* to = Make<Probe>(10, 150);
    to->SetText(String("mine"));
    to->Assign(from);
    const struct {
        const char* name;
        bool same;
    } cases[] = {
        {"FocusDraw", !to->FocusDraw()},
        {"ForceShadow", to->ForceShadow()},
        {"DropDownEnabled", to->DropDownEnabled()},
        {"DropDownColor", to->DropDownColor() == 0x112233},
        {"DropDownColorTo", to->DropDownColorTo() == 0x445566},
        {"DropDownGradient", to->DropDownGradient() == advdropdown::gdVertical},
        {"DropDownBorderColor", to->DropDownBorderColor() == 0x778899},
        {"DropDownBorderWidth", to->DropDownBorderWidth() == 3},
        {"DropDownShadow", !to->DropDownShadow()},
        {"DropDownWidth", to->DropDownWidth() == 250},
        {"DropDownHeight", to->DropDownHeight() == 120},
        {"DropDownSizeable", !to->DropDownSizeable()},
        {"EditType", to->EditType() == etMoney},
        {"ReturnIsTab", to->ReturnIsTab()},
        {"LengthLimit", to->LengthLimit() == 6},
        {"Precision", to->Precision() == 2},
        {"Prefix", to->Prefix() == String("$")},
        {"Suffix", to->Suffix() == String(" kHz")},
        {"ValidChars", to->ValidChars() == String("0123")},
        {"Signed", to->Signed()},
        {"header", !to->DropDownHeader()->Visible()},
        {"footer", to->DropDownFooter()->Height() == 30},
        {"DropPosition", to->DropPosition() == dpUp},
        {"Flat", to->Flat()},
        {"DropDownButtonWidth", to->DropDownButtonWidth() == 25 && to->Button()->Width() == 25},
        {"DropDownButtonHint", to->DropDownButtonHint() == String("Open") && to->Button()->ShowHint()},
        {"EditorEnabled", !to->EditorEnabled()},
        {"button caption", to->Button()->ButtonCaption() == String("...")},
        {"Etched", to->Etched()},
        {"Images", to->Images() == &images},
        {"SelectionColorStyle", to->SelectionColorStyle() == scWindowsVista},
        {"SelectionColor", to->SelectionColor() == 0x010203},
        {"SelectionColorTo", to->SelectionColorTo() == 0x040506},
    };
    for (const auto& c : cases) EXPECT_TRUE(c.same) << c.name;
    // The field only: the control style keeps its double clicks.
    EXPECT_TRUE(to->ControlStyle().Contains(csDoubleClicks));
    EXPECT_EQ(to->TCustomMaskEdit::Text(), String("mine"));
    to->SetImages(nullptr);
    from->SetImages(nullptr);
}

TEST_F(DropDownTest, GoneImagesAndPickerAreForgottenAndDisablingReachesTheButton) {
    auto* d = Make<PickerProbe>();
    auto* images = NewComponent<TImageList>(form);
    d->SetImages(images);
    images->Free();
    EXPECT_EQ(d->Images(), nullptr);
    ASSERT_EQ(d->PopupControl(), d->picker);
    d->picker->Free();
    EXPECT_EQ(d->PopupControl(), nullptr);
    EXPECT_EQ(d->FocusControl(), nullptr);
    d->OpenPopup();  // without a control
    EXPECT_TRUE(d->DroppedDown());
    d->ClosePopup(false);

    d->SetEnabled(false);
    EXPECT_FALSE(d->Button()->Enabled());
    EXPECT_FALSE(d->Button()->Button()->Enabled());
    d->SetEnabled(true);
    EXPECT_TRUE(d->Button()->Button()->Enabled());
}

TEST_F(DropDownTest, LoadingEndsWithTheButtonAndLabelFollowingEnabledAndTheLabelInPlace) {
    auto* d = Make<Probe>();
    d->SetLabelCaption(String("Gain"));
    d->BeginLoading();
    d->SetEnabled(false);
    d->SetBounds(40, 60, 200, 21);
    d->Loaded();
    EXPECT_FALSE(d->Button()->Enabled());
    EXPECT_FALSE(d->EditLabel()->Enabled());
    EXPECT_EQ(d->EditLabel()->Top(), 60);

    auto* always = Make<Probe>(10, 150);
    always->SetLabelCaption(String("Level"));
    always->SetLabelAlwaysEnabled(true);
    always->BeginLoading();
    always->SetEnabled(false);
    always->Loaded();
    EXPECT_TRUE(always->EditLabel()->Enabled());

    // A label font set at design time ends the edit's parent font.
    always->SetDesigning(true);
    ASSERT_TRUE(always->ParentFont());
    always->LabelFont()->SetSize(12);
    EXPECT_FALSE(always->ParentFont());
    always->SetDesigning(false);
}

TEST_F(DropDownTest, TextWithPrefixAndSuffixAndItsOldValue) {
    auto* d = Make<Probe>();
    d->SetPrefix(String("Ch "));
    d->SetSuffix(String(" MHz"));
    d->SetText(String("429.1"));
    EXPECT_EQ(d->TCustomMaskEdit::Text(), String("Ch 429.1 MHz"));
    EXPECT_EQ(d->Text(), String("429.1"));
    EXPECT_EQ(d->OldText(), String("429.1"));
    EXPECT_FALSE(d->Modified());
    d->SetPlainText(String("raw"));
    EXPECT_EQ(d->TCustomMaskEdit::Text(), String("raw"));
    EXPECT_EQ(d->OldText(), String("429.1"));
    d->SetText(String("1"));
    d->SelectAll();
    EXPECT_EQ(d->SelStart(), 3);
    EXPECT_EQ(d->SelLength(), 1);
}

}  // namespace
