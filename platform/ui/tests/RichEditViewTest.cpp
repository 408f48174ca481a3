// The rich edit on Qt: typed and posted characters reach the control's document, the view
// shows its formats, and EM_FORMATRANGE draws raised runs above their neighbours' baseline.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/ui/ComCtrls.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/win/Window.h"

namespace {

using RichEditView = ui::test::FormTest;

bool Dark(int32_t bgr) { return (bgr & 0xFF) < 96 && ((bgr >> 8) & 0xFF) < 96 && ((bgr >> 16) & 0xFF) < 96; }

// Columns holding dark pixels, grouped where a gap of three or more columns parts them: each
// group's left, right and lowest dark row.
struct Blot {
    int Left, Right, Bottom;
};
template <class PixelAt>
std::vector<Blot> Blots(int width, int height, PixelAt at) {
    std::vector<Blot> out;
    int gap = 99;
    for (int x = 0; x < width; ++x) {
        int bottom = -1;
        for (int y = 0; y < height; ++y)
            if (Dark(at(x, y))) bottom = y;
        if (bottom < 0) {
            ++gap;
            continue;
        }
        if (gap >= 3) out.push_back({x, x, bottom});
        out.back().Right = x;
        out.back().Bottom = std::max(out.back().Bottom, bottom);
        gap = 0;
    }
    return out;
}

TEST_F(RichEditView, TypedAndPostedCharactersReachTheDocument) {
    auto* edit = Add<TRichEdit>();
    form->Show();
    edit->SetFocus();
    ui::test::Pump();
    ui::test::TypeText(edit, u"ab");
    PostMessage(edit->Handle(), WM_CHAR, u'c', 0);
    ASSERT_TRUE(ui::test::PumpUntil([&] { return edit->Text() == String(u"abc"); }));
    EXPECT_EQ(edit->Document().Text(), String(u"abc"));
    EXPECT_EQ(edit->SelStart(), 3);
}

TEST_F(RichEditView, TheViewShowsABoldRunBold) {
    auto* edit = Add<TRichEdit>();
    edit->SetBounds(10, 10, 260, 60);
    edit->SetScrollBars(ssNone);
    edit->SetBorderStyle(bsNone);
    edit->Font()->SetName(u"DejaVu Sans");
    edit->Font()->SetSize(14);
    edit->SetText(u"IIIIII IIIIII");
    edit->SetSelStart(0);
    edit->SetSelLength(6);
    TFontStyles bold;
    bold << fsBold;
    edit->SelAttributes()->SetStyle(bold);
    edit->SetSelStart(13);  // a caret shows by the plain word, not the bold one
    form->Show();
    ui::test::Pump();
    const std::string path = ::testing::TempDir() + "rich_edit_bold.png";
    ASSERT_TRUE(ui::test::SaveToPng(edit, path));
    ui::test::Picture pic;
    ASSERT_TRUE(ui::test::LoadPng(path, pic));
    // The dark columns, parted into the two words at the widest gap: bold strokes are wider,
    // so the bold word has more of them for as many letters.
    std::vector<int> dark;
    for (int x = 0; x < pic.Width; ++x)
        for (int y = 0; y < pic.Height; ++y)
            if (Dark(pic.At(x, y))) {
                dark.push_back(x);
                break;
            }
    ASSERT_GT(dark.size(), 4u);
    size_t split = 1;
    for (size_t i = 1; i < dark.size(); ++i)
        if (dark[i] - dark[i - 1] > dark[split] - dark[split - 1]) split = i;
    int boldColumns = static_cast<int>(split), plainColumns = static_cast<int>(dark.size() - split);
    EXPECT_GT(boldColumns, plainColumns + 2);
}

// Pixels of the highlight's hue (blue well above red) in the control's picture.
int HighlightPixels(TWinControl* control, const std::string& name) {
    const std::string path = ::testing::TempDir() + name;
    if (!ui::test::SaveToPng(control, path)) return -1;
    ui::test::Picture pic;
    if (!ui::test::LoadPng(path, pic)) return -1;
    int n = 0;
    for (int y = 0; y < pic.Height; ++y)
        for (int x = 0; x < pic.Width; ++x) {
            int32_t v = pic.At(x, y);
            if (((v >> 16) & 0xFF) > (v & 0xFF) + 60) ++n;
        }
    return n;
}

TEST_F(RichEditView, HideSelectionHidesTheSelectionWithoutFocus) {
    auto* edit = Add<TRichEdit>();
    edit->SetBounds(10, 10, 200, 40);
    edit->SetScrollBars(ssNone);
    edit->SetBorderStyle(bsNone);
    edit->SetText(u"selected words");
    auto* other = Add<TRichEdit>(10, 60);
    form->Show();
    const struct {
        bool hide;
        bool shown;
    } cases[] = {{true, false}, {false, true}};
    for (const auto& c : cases) {
        edit->SetHideSelection(c.hide);
        edit->SetFocus();
        edit->SelectAll();
        ui::test::Pump();
        EXPECT_GT(HighlightPixels(edit, "rich_edit_focused.png"), 100) << c.hide;
        other->SetFocus();
        ui::test::Pump();
        int unfocused = HighlightPixels(edit, c.hide ? "rich_edit_hidden.png" : "rich_edit_kept.png");
        if (c.shown) EXPECT_GT(unfocused, 100);
        else EXPECT_EQ(unfocused, 0);
    }
}

TEST_F(RichEditView, ATransparentEditShowsItsParentAroundTheText) {
    form->SetColor(clLime);
    auto* edit = Add<TRichEdit>();
    edit->SetBounds(10, 10, 200, 40);
    edit->SetScrollBars(ssNone);
    edit->SetBorderStyle(bsNone);
    SetWindowLong(edit->Handle(), GWL_EXSTYLE, GetWindowLong(edit->Handle(), GWL_EXSTYLE) | WS_EX_TRANSPARENT);
    edit->SetText(u"see through");
    form->Show();
    ui::test::Pump();
    const std::string path = ::testing::TempDir() + "rich_edit_transparent.png";
    ASSERT_TRUE(ui::test::SaveToPng(form, path));
    ui::test::Picture pic;
    ASSERT_TRUE(ui::test::LoadPng(path, pic));
    TPoint at = form->ScreenToClient(edit->ClientToScreen(TPoint(0, 0)));
    int lime = 0, white = 0, dark = 0;
    for (int y = at.Y; y < at.Y + 40; ++y)
        for (int x = at.X; x < at.X + 200; ++x) {
            int32_t v = pic.At(x, y);
            if (v == 0x00FF00) ++lime;
            else if (v == 0xFFFFFF) ++white;
            else if (Dark(v)) ++dark;
        }
    EXPECT_GT(lime, 200 * 40 / 2);
    EXPECT_EQ(white, 0);
    EXPECT_GT(dark, 20);  // the text is drawn over the parent
}

TEST_F(RichEditView, ARaisedRunRendersAboveItsNeighboursBaseline) {
    auto* edit = Add<TRichEdit>();
    edit->Font()->SetName(u"DejaVu Sans");
    edit->Font()->SetSize(16);
    edit->SetText(u"xx xx xx");
    edit->SetSelStart(3);
    edit->SetSelLength(2);
    CHARFORMAT2 cf;
    cf.dwMask = CFM_OFFSET;
    cf.yOffset = 40;  // 2 2/3 pixels at 96 dpi
    ASSERT_EQ(edit->Perform(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf)), 1);
    TBitmap bmp;
    bmp.SetSize(200, 60);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(TRect(0, 0, 200, 60));
    FORMATRANGE fr;
    fr.hdc = fr.hdcTarget = bmp.Canvas()->Handle();
    fr.rc = fr.rcPage = TRect(0, 0, 200 * 15, 60 * 15);
    fr.chrg.cpMin = 0;
    fr.chrg.cpMax = -1;
    EXPECT_EQ(edit->Perform(EM_FORMATRANGE, 1, reinterpret_cast<LPARAM>(&fr)), 8);
    TPngImage png;
    png.Assign(&bmp);
    png.SaveToFile(Utf8ToUtf16(::testing::TempDir() + "rich_edit_raised.png"));
    std::vector<Blot> words = Blots(200, 60, [&](int x, int y) { return static_cast<int32_t>(bmp.Canvas()->Pixels(x, y)); });
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[0].Bottom, words[2].Bottom);
    EXPECT_GE(words[0].Bottom - words[1].Bottom, 2);
    EXPECT_LE(words[0].Bottom - words[1].Bottom, 4);
}

}  // namespace
