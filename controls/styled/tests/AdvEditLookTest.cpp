// The styled edit's looks: defaults, the colour states as event scripts, the formatting
// rectangle, the painted overlays and border, the attached label, positions, the link click,
// AutoFocus, transparency, recreating the window, and the workbench's read-only display box.
#include <gtest/gtest.h>

#include <filesystem>

#include "controls/styled/LabelPlacement.h"
#include "controls/styled/tests/AdvEditTestSupport.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/GraphicsBmp.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/ShellApi.h"

namespace {

using advedit_test::EditTest;

class AdvEditLookTest : public EditTest {
protected:
    ui::test::Picture Render(TWinControl* c) {
        const std::string path =
            (std::filesystem::temp_directory_path() / ("advedit-look-" + std::to_string(::getpid()) + ".png")).string();
        ui::test::Picture p;
        EXPECT_TRUE(ui::test::SaveToPng(c, path));
        EXPECT_TRUE(ui::test::LoadPng(path, p));
        std::filesystem::remove(path);
        return p;
    }
    static bool Has(const ui::test::Picture& p, int32_t color, const TRect& r) {
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (p.At(x, y) == color) return true;
        return false;
    }
};

TEST_F(AdvEditLookTest, Defaults) {
    auto* e = new TAdvEdit(form);
    EXPECT_EQ(e->FocusColor(), clNone);
    EXPECT_EQ(e->FocusFontColor(), clWindowText);
    EXPECT_EQ(e->FlatLineColor(), clBlack);
    EXPECT_TRUE(e->FlatParentColor());
    EXPECT_EQ(e->DisabledColor(), clSilver);
    EXPECT_TRUE(e->DisabledBorder());
    EXPECT_EQ(e->ErrorColor(), clRed);
    EXPECT_EQ(e->ErrorFontColor(), clWhite);
    EXPECT_EQ(e->ModifiedColor(), clHighlight);
    EXPECT_EQ(e->URLColor(), clBlue);
    EXPECT_EQ(e->LabelMargin(), 4);
    EXPECT_TRUE(e->AutoThousandSeparator() && e->CanUndo() && e->DefaultHandling());
    EXPECT_EQ(e->EditAlign(), eaLeft);
    EXPECT_EQ(e->FocusAlign(), eaDefault);
    EXPECT_EQ(e->LabelPosition(), advedit::lpLeftTop);
    EXPECT_EQ(e->EditType(), etString);
    e->SetVersion(u"9.9");
    EXPECT_EQ(e->Version(), String(u"2.9.2.1"));
    EXPECT_EQ(e->GetVersionNr(), 0x02090201);
    e->Free();
}

TEST_F(AdvEditLookTest, IsURLText) {
    const struct {
        const char* value;
        bool link;
    } rows[] = {{"a://b", true}, {"@abc", false}, {"a@b", true}, {"WWW.x", true}, {"x www.y", false}};
    for (const auto& r : rows) {
        edit->SetText(String(r.value));
        EXPECT_EQ(edit->IsURLText(), r.link) << r.value;
    }
}

TEST_F(AdvEditLookTest, LabelPlacementAndFollowing) {
    auto* e = Add<TAdvEdit>(100, 50);
    e->SetBounds(100, 50, 121, 21);
    e->SetLabelCaption(u"Name");
    TLabel* l = e->EditLabel();
    ASSERT_NE(l, nullptr);
    const int lw = l->Width(), lh = l->Height();
    e->SetLabelPosition(advedit::lpTopRight);
    EXPECT_EQ(l->Top(), 50 - lh - 4);
    EXPECT_EQ(l->Left(), 100 + 121 - lw);
    e->SetLabelPosition(advedit::lpBottomRight);
    EXPECT_EQ(l->Top(), 75);
    EXPECT_EQ(l->Left(), 100 + 121 - lw);
    // The placement itself, for the rows every control with a label shares.
    const TRect bounds(100, 50, 221, 71);
    EXPECT_EQ(styled::AttachedLabelPos(advedit::lpTopLeft, bounds, TSize(lw, 13), 30, 4), TPoint(100, 33));
    EXPECT_EQ(styled::AttachedLabelPos(advedit::lpTopRight, bounds, TSize(lw, 13), 30, 4), TPoint(221 - lw, 33));
    EXPECT_EQ(styled::AttachedLabelPos(advedit::lpBottomRight, bounds, TSize(lw, 13), 30, 4), TPoint(221 - lw, 75));
    EXPECT_EQ(styled::AttachedLabelPos(advedit::lpBottomLeft, bounds, TSize(lw, 13), 30, 4), TPoint(100, 75));
    EXPECT_EQ(styled::AttachedLabelPos(advedit::lpLeftCenter, bounds, TSize(lw, 13), 30, 4), TPoint(66, 54));
    EXPECT_EQ(styled::AttachedLabelPos(advedit::lpRightCenter, bounds, TSize(lw, 13), 30, 4), TPoint(225, 54));

    e->SetVisible(false);
    EXPECT_FALSE(l->Visible());
    e->SetVisible(true);
    e->SetEnabled(false);
    EXPECT_FALSE(l->Enabled());
    e->SetLabelAlwaysEnabled(true);
    EXPECT_TRUE(l->Enabled());
    e->SetEnabled(true);
    auto* panel = Add<TPanel>(0, 100);
    e->SetParent(panel);
    EXPECT_EQ(l->Parent(), panel);
    bool clicked = false;
    e->OnLabelClick = [&](TObject* s) { clicked = s == e; };
    l->Click();
    EXPECT_TRUE(clicked);
    e->Free();  // takes its label first
    EXPECT_EQ(panel->ControlCount(), 0);
}

TEST_F(AdvEditLookTest, ColourStates) {
    auto validity = std::make_shared<bool>(true);
    edit->OnValueValidate = [validity](TObject*, const String&, bool& ok) { ok = *validity; };
    edit->SetShowError(true);
    edit->SetFocusColor(clYellow);
    other->SetFocus();
    edit->SetFocus();
    EXPECT_EQ(edit->Color(), clYellow);
    *validity = false;
    Char(u'x');
    EXPECT_TRUE(edit->IsError());
    EXPECT_EQ(edit->Color(), clRed);
    EXPECT_EQ(edit->Font()->Color(), clWhite);
    *validity = true;
    Char(u'y');
    EXPECT_FALSE(edit->IsError());
    EXPECT_EQ(edit->Color(), clYellow);
    other->SetFocus();
    EXPECT_EQ(edit->Color(), clWindow);

    edit->SetColor(clAqua);
    edit->SetEnabled(false);
    EXPECT_EQ(edit->Color(), clSilver);
    edit->SetEnabled(true);
    EXPECT_EQ(edit->Color(), clAqua);

    edit->SetFocusWidthInc(20);
    edit->SetFocusAlign(eaRight);
    const int width = edit->Width();
    edit->SetFocus();
    EXPECT_EQ(edit->Width(), width + 20);
    EXPECT_EQ(edit->EditAlign(), eaRight);
    EXPECT_NE(GetWindowLong(edit->Handle(), GWL_STYLE) & static_cast<LONG>(ES_RIGHT), 0);
    other->SetFocus();
    EXPECT_EQ(edit->Width(), width);
    EXPECT_EQ(edit->EditAlign(), eaLeft);

    edit->SetShowURL(true);
    edit->Font()->SetColor(clGreen);
    edit->Init();
    edit->SetText(u"www.example.org");
    EXPECT_TRUE(edit->Font()->Style().Contains(fsUnderline));
    EXPECT_EQ(edit->Font()->Color(), clBlue);
    EXPECT_EQ(edit->Cursor(), crHandPoint);
    edit->SetText(u"plain");
    EXPECT_FALSE(edit->Font()->Style().Contains(fsUnderline));
    EXPECT_EQ(edit->Font()->Color(), clGreen);
    EXPECT_EQ(edit->Cursor(), crDefault);
}

TEST_F(AdvEditLookTest, FormattingRectangle) {
    auto rect = [this] {
        TRect r;
        edit->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    };
    auto expect = [&](const char* when) {
        SCOPED_TRACE(when);
        const int s = edit->Ctl3D() ? 0 : edit->Font()->Size() / 3;
        const TRect c = edit->ClientRect();
        if (edit->Flat()) EXPECT_EQ(rect(), TRect(s + 4, 3, c.Width() - s - 4, c.Height() - 4));
        else EXPECT_EQ(rect(), TRect(s, 0, c.Width() - s, c.Height()));
    };
    expect("created");
    edit->SetCtl3D(false);
    edit->Font()->SetSize(12);
    expect("font, Ctl3D off");
    edit->SetFlat(true);
    expect("flat");
    edit->SetBounds(10, 10, 180, 30);
    expect("bounds");
    edit->RecreateWnd();
    expect("made again");
}

TEST_F(AdvEditLookTest, PaintedOverlays) {
    form->SetColor(static_cast<TColor>(0x80C0E0));
    auto* flat = Add<TAdvEdit>(10, 40);
    flat->SetFlat(true);
    EXPECT_EQ(flat->Color(), static_cast<TColor>(0x80C0E0));
    ui::test::Picture p = Render(flat);
    const int left = flat->FormatRect().Left - 2, bottom = flat->Height() - 1;
    EXPECT_EQ(p.At(left, bottom), 0x000000);
    EXPECT_NE(p.At(left - 1, bottom), 0x000000);
    EXPECT_EQ(p.At(flat->Width() - 1, bottom), 0x000000);
    EXPECT_EQ(p.At(left, bottom - 1), 0x80C0E0);
    flat->SetEnabled(false);
    EXPECT_EQ(Render(flat).At(left, bottom), 0x808080);
    flat->SetEnabled(true);
    flat->SetFocus();
    other->SetFocus();
    EXPECT_EQ(flat->Color(), static_cast<TColor>(0x80C0E0));  // still on the form's colour
    flat->SetFlat(false);
    EXPECT_EQ(flat->Color(), clWindow);

    auto* empty = Add<TAdvEdit>(10, 70);
    empty->SetEmptyText(u"type here");
    p = Render(empty);
    const TRect hint(3, 2, 40, 14);
    EXPECT_TRUE(Has(p, 0x808080, hint));
    empty->SetFocus();
    EXPECT_FALSE(Has(Render(empty), 0x808080, hint));
    empty->SetEmptyTextFocused(true);
    EXPECT_TRUE(Has(Render(empty), 0x808080, hint));

    auto* marked = Add<TAdvEdit>(10, 100);
    marked->SetText(u"wrong word");
    marked->SetErrorMarkerPos(6);
    marked->SetErrorMarkerLen(4);
    p = Render(marked);
    const TPoint from = marked->PosFromChar(6), to = marked->PosFromChar(9);
    TBitmap measure;
    measure.Canvas()->Font()->Assign(marked->Font());
    const int t = measure.Canvas()->TextHeight(u"gh");
    const TRect under(from.X, from.Y + t - 2, to.X + 1, from.Y + t + 4);
    EXPECT_TRUE(Has(p, 0x0000FF, under));
    EXPECT_FALSE(Has(p, 0x0000FF, TRect(0, 0, from.X - 2, marked->ClientHeight())));
    marked->SetFocus();
    EXPECT_FALSE(Has(Render(marked), 0x0000FF, under));  // only while unfocused
}

TEST_F(AdvEditLookTest, Border) {
    other->SetFocus();
    edit->SetBorderColor(clRed);
    ui::test::Picture p = Render(edit);
    EXPECT_EQ(p.At(0, 5), 0x0000FF);
    EXPECT_EQ(p.At(edit->Width() - 1, 5), 0x0000FF);
    edit->SetFocusBorderColor(clLime);
    edit->SetFocus();
    EXPECT_EQ(Render(edit).At(0, 5), 0x00FF00);
    other->SetFocus();
    EXPECT_EQ(Render(edit).At(0, 5), 0x0000FF);
    edit->SetBorderColor(clNone);
    edit->SetFocusBorderColor(clNone);
    edit->SetEnabled(false);
    EXPECT_EQ(Render(edit).At(0, 5), 0xC0C0C0);
    edit->SetEnabled(true);
    edit->SetBorder3D(true);
    p = Render(edit);
    EXPECT_EQ(p.At(0, 5), static_cast<int32_t>(ColorToRGB(clBtnShadow)));  // the sunken outer edge
    EXPECT_EQ(p.At(1, 5), static_cast<int32_t>(ColorToRGB(clBtnFace)));
}

TEST_F(AdvEditLookTest, Positions) {
    edit->SetText(u"abc");
    const LRESULT native = edit->Perform(EM_POSFROMCHAR, 1, 0);
    EXPECT_EQ(edit->PosFromChar(1), TPoint(static_cast<int16_t>(LOWORD(native)), static_cast<int16_t>(HIWORD(native))));
    TBitmap measure;
    measure.Canvas()->Font()->Assign(edit->Font());
    const TPoint last = edit->PosFromChar(2);
    const int step = measure.Canvas()->TextWidth(u"cw") - measure.Canvas()->TextWidth(u"c");
    EXPECT_EQ(edit->PosFromChar(3), TPoint(last.X + step, last.Y));
    EXPECT_EQ(edit->GetTextSize(), measure.Canvas()->TextWidth(u"abc"));
    const TPoint b = edit->PosFromChar(1);
    EXPECT_EQ(edit->CharFromPos(TPoint(b.X + 1, b.Y + 2)),
              LOWORD(edit->Perform(EM_CHARFROMPOS, 0, PointToLParam(b.X + 1, b.Y + 2))));
    EXPECT_EQ(edit->CharFromPos(TPoint(b.X + 1, b.Y + 2)), 1);
    edit->SetText(String());
    EXPECT_EQ(edit->PosFromChar(0), TPoint(0, 0));
}

TEST_F(AdvEditLookTest, LinkClick) {
    std::vector<String> opened;
    bool answer = true;
    ui::SetUrlOpenerHook([&](const String& target) {
        opened.push_back(target);
        return answer;
    });
    edit->SetShowURL(true);
    edit->SetText(u"http://localhost/x");
    std::vector<String> clicks;
    bool show = true;
    edit->OnURLClick = [&](TObject*, const String& url, bool& s) {
        clicks.push_back(url);
        s = show;
    };
    ui::test::Click(edit, 20, 8);
    EXPECT_EQ(clicks, std::vector<String>{u"http://localhost/x"});
    EXPECT_EQ(opened, std::vector<String>{u"http://localhost/x"});
    show = false;
    ui::test::Click(edit, 20, 8);
    EXPECT_EQ(opened.size(), 1u);
    show = true;
    answer = false;  // a failed opening changes nothing and shows no message
    ui::test::Click(edit, 20, 8);
    EXPECT_EQ(edit->Text(), String(u"http://localhost/x"));
    EXPECT_TRUE(ui::MessageBoxLog().empty());
    // What the desktop may open: web and mail addresses only.
    const struct {
        const char* value;
        const char* url;  // "" for nothing opened
    } rows[] = {{"www.example.org", "http://www.example.org"}, {"a@b.org", "mailto:a@b.org"}, {"file:///etc/passwd", ""},
                {"ftp://host/f", "ftp://host/f"}};
    answer = true;
    for (const auto& r : rows) {
        opened.clear();
        edit->SetText(String(r.value));
        ui::test::Click(edit, 20, 8);
        EXPECT_EQ(opened, *r.url ? std::vector<String>{String(r.url)} : std::vector<String>{}) << r.value;
    }
    ui::SetUrlOpenerHook(nullptr);
}

TEST_F(AdvEditLookTest, AutoFocusOnlyWhileTheFormIsActive) {
    auto* e = Add<TAdvEdit>(10, 100);
    e->SetAutoFocus(true);
    other->SetFocus();
    ASSERT_TRUE(form->Active());
    ui::test::MouseMove(e, 5, 5);
    EXPECT_TRUE(e->Focused());
    other->SetFocus();
    ui::test::MouseLeave(e);
    auto* front = new TForm(nullptr);  // takes the activation
    front->SetBounds(400, 0, 100, 100);
    front->Show();
    ui::test::Pump();
    ASSERT_FALSE(form->Active());
    ui::test::MouseMove(e, 6, 6);
    EXPECT_EQ(form->ActiveControl(), other);
    front->Free();
}

TEST_F(AdvEditLookTest, LargeTextHint) {
    edit->SetHintShowLargeText(true);
    edit->SetText(u"short");
    String hint = u"kept";
    TPoint at(-1, -1);
    EXPECT_FALSE(edit->LargeTextHint(hint, at));
    EXPECT_EQ(hint, String(u"kept"));
    const String wide = u"a value much wider than the edit shows at once";
    edit->SetText(wide);
    EXPECT_TRUE(edit->LargeTextHint(hint, at));
    EXPECT_EQ(hint, wide);
    EXPECT_EQ(at, edit->ClientOrigin());
    edit->SetHintShowLargeText(false);
    EXPECT_FALSE(edit->LargeTextHint(hint, at));
}

TEST_F(AdvEditLookTest, TheApplicationsHintShowsAValueWiderThanTheEditWhole) {
    rtl::ScopedManualClock clock;
    edit->SetShowHint(true);
    edit->SetHint(u"own hint");
    auto shown = [&] {
        Application->CancelHint();
        ui::test::MouseMove(edit, 5, 5);
        ui::test::AdvanceClock(*clock, Application->HintPause());
        return ui::ShownTipWindows();
    };
    const String wide = u"a value much wider than the edit shows at once";
    edit->SetText(wide);
    auto tips = shown();
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_EQ(tips[0].Text, String(u"own hint"));  // off: the edit's own hint

    edit->SetHintShowLargeText(true);
    tips = shown();
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_EQ(tips[0].Text, wide);
    EXPECT_EQ(tips[0].Rect.TopLeft(), edit->ClientOrigin());
    // A value the edit shows whole keeps the edit's own hint.
    edit->SetText(u"short");
    tips = shown();
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_EQ(tips[0].Text, String(u"own hint"));
    Application->CancelHint();
}

TEST_F(AdvEditLookTest, TransparentShowsTheParent) {
    form->SetColor(static_cast<TColor>(0x3060C0));
    auto* e = Add<TAdvEdit>(10, 100);
    e->SetBorderStyle(bsNone);
    e->SetTransparent(true);
    ui::test::Picture p = Render(e);
    EXPECT_EQ(p.At(e->Width() - 3, e->Height() / 2), 0x3060C0);
}

TEST_F(AdvEditLookTest, RecreatingKeepsEverythingAndSaves) {
    const String file = String((std::filesystem::temp_directory_path() / "advedit-recreate.ini").string());
    DeleteFile(file);
    edit->Persistence()->SetEnable(true);
    edit->Persistence()->SetKey(file);
    edit->SetEditType(etFloat);
    edit->SetPrecision(2);
    edit->SetPrefix(u"€");
    edit->SetFloatValue(3.5);
    edit->SetFocusColor(clYellow);
    edit->SetLabelCaption(u"Amount");
    edit->SetEditAlign(eaCenter);  // makes the window again
    edit->SetCanUndo(false);       // and again
    EXPECT_EQ(edit->Text(), String(u"3.50"));
    EXPECT_EQ(edit->Precision(), 2);
    EXPECT_EQ(edit->FocusColor(), clYellow);
    EXPECT_EQ(edit->LabelCaption(), String(u"Amount"));
    EXPECT_NE(GetWindowLong(edit->Handle(), GWL_STYLE) & static_cast<LONG>(ES_CENTER), 0);
    TIniFile ini(file);
    EXPECT_EQ(ini.ReadString(u"Edit1", u"Edit1", u""), String(u"€3.50"));
    edit->Persistence()->SetEnable(false);
    DeleteFile(file);
}

TEST_F(AdvEditLookTest, InitAfterLoadingTakesTheLooksAnew) {
    auto* e = new TAdvEdit(form);
    e->BeginLoading();
    e->SetParent(form);
    e->SetBounds(60, 100, 120, 21);
    e->Font()->SetColor(clGreen);
    e->SetFocusFontColor(clMaroon);
    e->SetLabelCaption(u"Name");
    e->SetEnabled(false);
    e->Loaded();
    EXPECT_EQ(e->Color(), clSilver);
    EXPECT_EQ(e->EditLabel()->Top(), 100);
    EXPECT_LT(e->EditLabel()->Left() + e->EditLabel()->Width(), 60);
    EXPECT_FALSE(e->EditLabel()->Enabled());
    e->SetEnabled(true);
    EXPECT_EQ(e->Color(), clWindow);
    e->SetFocus();
    EXPECT_EQ(e->Font()->Color(), clMaroon);
    other->SetFocus();
    EXPECT_EQ(e->Font()->Color(), clGreen);
}

TEST_F(AdvEditLookTest, TheWorkbenchsDisplayBox) {
    auto* box = Add<TAdvEdit>(10, 100);
    box->SetBounds(10, 100, 300, 21);
    box->SetReadOnly(true);
    box->SetEditAlign(eaCenter);
    box->SetBorderStyle(bsNone);
    box->SetText(u" 0000 0000 0000 0000 0000 0000 0000 0000 ");
    EXPECT_EQ(box->Text(), String(u" 0000 0000 0000 0000 0000 0000 0000 0000 "));
    EXPECT_EQ(box->ClientRect(), TRect(0, 0, 300, 21));
    EXPECT_NE(GetWindowLong(box->Handle(), GWL_STYLE) & static_cast<LONG>(ES_CENTER), 0);
    box->SetFocus();
    SendMessage(box->Handle(), EM_SETSEL, 1, 1);
    SendMessage(box->Handle(), WM_CHAR, u'1', 1);
    EXPECT_EQ(box->Text(), String(u" 0000 0000 0000 0000 0000 0000 0000 0000 "));
    EXPECT_FALSE(box->Modified());
    ui::test::Picture p = Render(box);
    // Centred: the text's ink is as far from the left as from the right.
    int first = -1, lastInk = -1;
    for (int x = 0; x < p.Width; ++x)
        for (int y = 0; y < p.Height; ++y)
            if (p.At(x, y) == 0x000000) {
                if (first < 0) first = x;
                lastInk = x;
            }
    ASSERT_GE(first, 0);
    EXPECT_NEAR(first, p.Width - 1 - lastInk, 12);
}

}  // namespace
