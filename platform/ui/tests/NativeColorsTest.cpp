// The native edit asks its component for the colours it paints with, and paints with them.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/tests/DrawnTestSupport.h"

namespace {

// Answers the colour queries with a yellow background and blue text.
class YellowEdit : public TEdit {
public:
    using TEdit::TEdit;
    ~YellowEdit() override { DeleteObject(FYellow); }
    std::vector<UINT> Queries;

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == CN_CTLCOLOREDIT || m.Msg == CN_CTLCOLORSTATIC) {
            Queries.push_back(m.Msg);
            SetTextColor(reinterpret_cast<HDC>(m.WParam), RGB(0, 0, 255));
            m.Result = reinterpret_cast<LRESULT>(FYellow);
            return;
        }
        TEdit::Dispatch(m);
    }

private:
    HBRUSH FYellow = CreateSolidBrush(RGB(255, 255, 0));
};

// A light gradient across the whole client area.
class GradientPanel : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    static TColor At(int x, int y) { return static_cast<TColor>(RGB(255 - x % 64, 200 + y % 50, 160 + (x + y) % 90)); }

protected:
    void Paint() override {
        for (int y = 0; y < ClientHeight(); ++y)
            for (int x = 0; x < ClientWidth(); ++x) Canvas()->SetPixels(x, y, At(x, y));
    }
};

// A transparent edit: its parent paints its background into the edit's DC, and the native edit
// paints its text over it, as the styled edit's Transparent does.
class SeeThroughEdit : public TEdit {
public:
    using TEdit::TEdit;

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == CN_CTLCOLOREDIT) {
            SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
            m.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
            return;
        }
        if (m.Msg == WM_ERASEBKGND) {
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            int saved = SaveDC(dc);
            TRect area = ClientArea();
            SetWindowOrgEx(dc, Left() + area.Left, Top() + area.Top, nullptr);
            Parent()->Perform(WM_ERASEBKGND, m.WParam, 0);
            Parent()->Perform(WM_PAINT, m.WParam, 0);
            RestoreDC(dc, saved);
            m.Result = 1;
            return;
        }
        TEdit::Dispatch(m);
    }
};

class NativeColorsTest : public ui::test::FormTest {};

TEST_F(NativeColorsTest, TheBrushAndTextColourAnsweredToTheQueryPaintTheEdit) {
    auto* edit = Add<YellowEdit>(10, 10);
    edit->SetBounds(10, 10, 150, 24);
    edit->SetText(String(u"WWW"));
    edit->SetTabStop(false);
    form->Show();
    ui::test::Picture pic = drawn_test::Snapshot(form, "edit_yellow");
    ASSERT_GT(pic.Width, 0);
    ASSERT_FALSE(edit->Queries.empty());
    EXPECT_EQ(edit->Queries.back(), CN_CTLCOLOREDIT);
    TRect area = drawn_test::ClientInForm(edit);
    int yellow = 0, blue = 0;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x) {
            int32_t c = pic.At(x, y);
            if (c == 0x00FFFF) ++yellow;
            else if (((c >> 16) & 0xFF) > 0x80 && (c & 0xFF) < 0x80) ++blue;
        }
    EXPECT_GT(yellow, area.Width() * area.Height() * 3 / 4);
    EXPECT_GT(blue, 20);  // the text

    // A read-only or disabled edit asks as a static one.
    edit->SetReadOnly(true);
    edit->Repaint();
    EXPECT_EQ(edit->Queries.back(), CN_CTLCOLORSTATIC);
    edit->SetReadOnly(false);
    edit->SetEnabled(false);
    edit->Repaint();
    EXPECT_EQ(edit->Queries.back(), CN_CTLCOLORSTATIC);
    edit->SetEnabled(true);
    edit->Repaint();
    EXPECT_EQ(edit->Queries.back(), CN_CTLCOLOREDIT);
}

TEST_F(NativeColorsTest, WithATransparentBackgroundTheParentsPaintingShowsThroughTheEdit) {
    auto* panel = Add<GradientPanel>(0, 0);
    panel->SetBounds(0, 0, 300, 100);
    auto* edit = new SeeThroughEdit(form);
    edit->SetParent(panel);
    edit->SetBounds(20, 30, 200, 24);
    edit->SetText(String(u"WWW"));
    edit->SetTabStop(false);
    form->Show();
    ui::test::Picture pic = drawn_test::Snapshot(form, "edit_see_through");
    ASSERT_GT(pic.Width, 0);
    // Right of the text every pixel is the parent's at the same place (the panel lies at the
    // form's top-left)...
    TRect area = drawn_test::ClientInForm(edit);
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left + 80; x < area.Right; ++x) ASSERT_EQ(pic.At(x, y), ColorToRGB(GradientPanel::At(x, y))) << x << "," << y;
    // ...and the text lies over it.
    EXPECT_GT(drawn_test::DarkPixels(pic, TRect(area.Left, area.Top, area.Left + 80, area.Bottom)), 20);
}

}  // namespace
