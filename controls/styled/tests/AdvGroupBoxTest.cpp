// The styled group box: frame widths and the caption's layout, painting, the caption check box
// and its actions.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "controls/styled/AOBXPVS.h"
#include "controls/styled/AdvGroupBox.h"
#include "controls/styled/tests/StyledTestSupport.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"

using styled_test::ScopedAnswers;
namespace gb = AdvGroupBox;

namespace {

// A windowed child of the class the check-all action sends its state to.
class CheckTarget : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    const char* ClassName() const override { return "RederuvavozIdudave"; }
    int Sent = -1;

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == BM_SETCHECK) Sent = static_cast<int>(m.WParam);
        TCustomControl::Dispatch(m);
    }
};

// An image list of w x h images of one colour, but for the bottom-left pixel, which gives the
// transparent colour.
TImageList* Images(TComponent* owner, int w, int h, TColor color) {
    auto* list = new TImageList(owner);
    list->SetWidth(w);
    list->SetHeight(h);
    TBitmap b(w, h);
    b.Canvas()->Brush()->SetColor(color);
    b.Canvas()->FillRect(Rect(0, 0, w, h));
    b.Canvas()->SetPixels(0, h - 1, clWhite);
    list->Add(&b);
    return list;
}

class GroupBoxTest : public ui::test::FormTest {
protected:
    ScopedAnswers answers;
    DAzuVidazEra* Box(int left, int top, int width, int height) {
        auto* b = Add<DAzuVidazEra>(left, top);
        b->SetBounds(left, top, width, height);
        b->Font()->SetName(u"Arial");
        return b;
    }
    ui::test::Picture Picture(const char* keep = nullptr) {
        std::string path = (std::filesystem::temp_directory_path() /
                            ("rwb_styled_group_" + std::to_string(::getpid()) + ".png"))
                               .string();
        EXPECT_TRUE(ui::test::SaveToPng(form, path));
        ui::test::Picture pic;
        EXPECT_TRUE(ui::test::LoadPng(path, pic));
        if (keep && std::getenv("RWB_RENDER_LOOK"))
            std::filesystem::copy_file(path, std::filesystem::temp_directory_path() / keep,
                                       std::filesystem::copy_options::overwrite_existing);
        std::remove(path.c_str());
        return pic;
    }
    TPoint Origin(TControl* c) {
        TRect client = form->ClientArea();
        return Point(client.Left + c->Left(), client.Top + c->Top());
    }
    void Show() {
        form->Show();
        ui::test::Pump();
    }
};

TEST_F(GroupBoxTest, BorderWidths) {
    auto* b = Box(0, 0, 100, 60);
    struct Row {
        gb::TBorderStyle style;
        int with3D, without3D;
    };
    for (Row r : {Row{gb::bsNone, 1, 1}, Row{gb::bsSingle, 2, 1}, Row{gb::bsDouble, 4, 2}}) {
        b->SetBorderStyle(r.style);
        b->SetCtl3D(true);
        EXPECT_EQ(b->BorderWidth(), r.with3D) << r.style;
        b->SetCtl3D(false);
        EXPECT_EQ(b->BorderWidth(), r.without3D) << r.style;
    }
    EXPECT_FALSE(b->ParentCtl3D());
    EXPECT_EQ(b->BorderColor(), TColor(0xC0C0C0));
    b->SetVersion(u"9");
    EXPECT_EQ(b->Version(), String(u"1.1.0.2"));
}

TEST_F(GroupBoxTest, CaptionLayout) {
    // Images stand for the caption: their size is exact, where a text's depends on the font.
    TImageList* wide = Images(form, 40, 10, clRed);
    TImageList* tall = Images(form, 20, 13, clRed);
    auto* b = Box(0, 0, 100, 60);
    TRect area, caption, check;

    // Nothing in the caption: the frame still moves down by half of max(2, bw).
    b->CalcCaptionLayout(area, caption, check);
    EXPECT_EQ(area.Height(), 2);
    EXPECT_EQ(b->FrameRect().Top, 1);
    EXPECT_EQ(check, Rect(-1, -1, -1, -1));

    b->SetImages(wide);
    b->SetImageIndex(0);
    struct Case {
        gb::TCaptionPosition position;
        int left, top;
    };
    const Case cases[] = {{gb::cpTopLeft, 8, 0},         {gb::cpTopCenter, 30, 0},      {gb::cpTopRight, 100 - 40 - 8, 0},
                          {gb::cpBottomLeft, 8, 60 - 12}, {gb::cpBottomCenter, 30, 48}, {gb::cpBottomRight, 52, 48}};
    for (const Case& k : cases) {
        b->SetCaptionPosition(k.position);
        b->CalcCaptionLayout(area, caption, check);
        EXPECT_EQ(area, Rect(k.left, k.top, k.left + 40, k.top + 12)) << k.position;
    }

    // The client area of the aligned children: a 13-high caption over a single frame.
    b->SetBounds(0, 0, 200, 100);
    b->SetImages(tall);
    b->SetImageIndex(0);
    b->SetCaptionPosition(gb::cpTopLeft);
    auto* child = new TPanel(form);
    child->SetParent(b);
    child->SetAlign(alClient);
    EXPECT_EQ(child->BoundsRect(), Rect(2, 16, 198, 98));

    // The check box: 16 pixels themed, 14 not, 3 from the image, on the side it is put.
    b->CheckBox()->SetVisible(true);
    b->CalcCaptionLayout(area, caption, check);
    EXPECT_EQ(area.Width(), 16 + 3 + 20);
    EXPECT_EQ(check, Rect(8, 1, 24, 17));  // centred in the 18-pixel strip
    EXPECT_EQ(caption.Left, 8 + 16 + 3);
    b->CheckBox()->SetThemed(false);
    b->CheckBox()->SetPosition(gb::cpRight);
    b->CalcCaptionLayout(area, caption, check);
    EXPECT_EQ(check, Rect(8 + 20 + 3, 1, 8 + 20 + 3 + 14, 15));
    EXPECT_EQ(caption.Right, check.Left - 3);
}

TEST_F(GroupBoxTest, FramesAndCaptionGaps) {
    form->SetColor(0x00E0E0);
    DAzuVidazEra* boxes[4];
    for (int i = 0; i < 4; ++i) {
        boxes[i] = Box(10 + 75 * i, 10, 70, 60);
        boxes[i]->SetCaption(u"ﾓﾆﾀ");
        boxes[i]->SetCaptionPosition(gb::cpTopCenter);
        boxes[i]->SetBorderColor(0x0000FF);
    }
    boxes[1]->SetBorderStyle(gb::bsDouble);
    boxes[1]->SetCtl3D(true);
    boxes[2]->SetRoundEdges(true);
    boxes[3]->SetTransparent(false);
    boxes[3]->SetColor(0xFFFFFF);
    Show();
    ui::test::Picture pic = Picture("rwb_groupboxes.png");

    // A single frame, with a gap where the caption is.
    TPoint o = Origin(boxes[0]);
    TRect frame = boxes[0]->FrameRect();
    TRect area, caption, check;
    boxes[0]->CalcCaptionLayout(area, caption, check);
    EXPECT_EQ(pic.At(o.X, o.Y + 40), 0x0000FF);
    EXPECT_EQ(pic.At(o.X + 5, o.Y + frame.Top), 0x0000FF);
    for (int x = area.Left; x < area.Right; ++x) EXPECT_NE(pic.At(o.X + x, o.Y + frame.Top), 0x0000FF) << x;
    // The parent's background shows through.
    EXPECT_EQ(pic.At(o.X + 30, o.Y + 40), 0x00E0E0);

    // Two etched frames 2 pixels apart: white shifted by one, grey in place.
    o = Origin(boxes[1]);
    frame = boxes[1]->FrameRect();
    EXPECT_EQ(pic.At(o.X, o.Y + 40), 0x808080);
    EXPECT_EQ(pic.At(o.X + 1, o.Y + 40), 0xFFFFFF);
    EXPECT_EQ(pic.At(o.X + 2, o.Y + 40), 0x808080);
    EXPECT_EQ(pic.At(o.X + 3, o.Y + 40), 0xFFFFFF);

    // Round edges: the corner pixel is left alone.
    o = Origin(boxes[2]);
    frame = boxes[2]->FrameRect();
    EXPECT_NE(pic.At(o.X, o.Y + 59), 0x0000FF);
    EXPECT_EQ(pic.At(o.X + 30, o.Y + 59), 0x0000FF);
    EXPECT_EQ(pic.At(o.X, o.Y + 40), 0x0000FF);

    // Not transparent: the box's own colour.
    o = Origin(boxes[3]);
    EXPECT_EQ(pic.At(o.X + 30, o.Y + 40), 0xFFFFFF);
}

TEST_F(GroupBoxTest, AnImageGreyedWhenDisabled) {
    auto* b = Box(10, 10, 100, 60);
    b->SetImages(Images(form, 16, 16, 0x0000FF));
    b->SetImageIndex(0);
    Show();
    TRect area, caption, check;
    b->CalcCaptionLayout(area, caption, check);
    TPoint o = Origin(b);
    EXPECT_EQ(Picture().At(o.X + caption.Left + 8, o.Y + caption.Top + 8), 0x0000FF);
    b->SetEnabled(false);
    ui::test::Pump();
    int32_t grey = Picture().At(o.X + caption.Left + 8, o.Y + caption.Top + 8);
    EXPECT_NE(grey, 0x0000FF);
    EXPECT_EQ(grey & 0xFF, (grey >> 8) & 0xFF);  // a grey
}

TEST_F(GroupBoxTest, CheckBoxClicksCycleAndFire) {
    auto* b = Box(10, 10, 120, 80);
    b->SetCaption(u"Group");
    b->CheckBox()->SetVisible(true);
    b->CheckBox()->SetAction(gb::caNone);
    Show();
    int clicks = 0;
    b->OnCheckBoxClick = [&](TObject*) { ++clicks; };
    TRect area, caption, check;
    b->CalcCaptionLayout(area, caption, check);
    auto click = [&](int x) {
        ui::test::ViaHostWidget host;
        ui::test::MouseDown(b, x, area.Top + 3);
        ui::test::MouseUp(b, x, area.Top + 3);
        ui::test::Pump();
    };
    click(check.Left + 3);
    EXPECT_EQ(b->CheckBox()->State(), cbChecked);
    click(caption.Left + 5);  // the text is part of the hit area
    EXPECT_EQ(b->CheckBox()->State(), cbUnchecked);
    EXPECT_EQ(clicks, 2);

    b->CheckBox()->SetAllowGrayed(true);
    const TCheckBoxState cycle[] = {cbGrayed, cbChecked, cbUnchecked};
    for (TCheckBoxState s : cycle) {
        click(check.Left + 3);
        EXPECT_EQ(b->CheckBox()->State(), s);
    }
    EXPECT_EQ(clicks, 5);

    // Checked := False leaves a grayed box grayed.
    b->CheckBox()->SetState(cbGrayed);
    b->CheckBox()->SetChecked(false);
    EXPECT_EQ(b->CheckBox()->State(), cbGrayed);
    EXPECT_EQ(clicks, 6);

    // The check box's hint over the check box, the box's own elsewhere, as the application's
    // hint handling shows them.
    b->SetHint(u"box");
    b->CheckBox()->SetHint(u"switch the group");
    b->SetShowHint(true);
    EXPECT_EQ(b->HintAt(check.Left + 2, check.Top + 2), String(u"switch the group"));
    EXPECT_EQ(b->HintAt(caption.Left + 5, check.Top + 2), String(u"box"));
    rtl::ScopedManualClock clock;
    auto shownAt = [&](int x, int y) {
        Application->CancelHint();
        ui::test::MouseMove(b, x, y);
        ui::test::AdvanceClock(*clock, Application->HintPause());
        auto tips = ui::ShownTipWindows();
        return tips.empty() ? String() : tips[0].Text;
    };
    EXPECT_EQ(shownAt(check.Left + 2, check.Top + 2), String(u"switch the group"));
    EXPECT_EQ(shownAt(caption.Left + 5, check.Top + 2), String(u"box"));
    Application->CancelHint();
}

TEST_F(GroupBoxTest, CheckBoxActions) {
    auto* b = Box(10, 10, 200, 120);
    b->CheckBox()->SetVisible(true);
    auto* edit = new TEdit(form);
    edit->SetParent(b);
    auto* box = new TCheckBox(form);
    box->SetParent(b);
    auto* target = new CheckTarget(form);
    target->SetParent(b);
    Show();

    // caDisable (the default): the state decides every direct child's Enabled.
    b->CheckBox()->SetState(cbChecked);
    for (TControl* c : {static_cast<TControl*>(edit), static_cast<TControl*>(box), static_cast<TControl*>(target)})
        EXPECT_TRUE(c->Enabled());
    b->CheckBox()->SetState(cbUnchecked);
    for (TControl* c : {static_cast<TControl*>(edit), static_cast<TControl*>(box), static_cast<TControl*>(target)})
        EXPECT_FALSE(c->Enabled());
    b->CheckBox()->SetState(cbGrayed);
    EXPECT_FALSE(edit->Enabled());

    // caCheckAll: check boxes take the state, the named class hears it.
    for (TControl* c : {static_cast<TControl*>(edit), static_cast<TControl*>(box), static_cast<TControl*>(target)})
        c->SetEnabled(true);
    b->CheckBox()->SetAction(gb::caCheckAll);
    b->CheckBox()->SetState(cbChecked);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(target->Sent, 1);
    b->CheckBox()->SetState(cbUnchecked);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(target->Sent, 0);

    // caNone: nothing.
    b->CheckBox()->SetAction(gb::caNone);
    box->SetChecked(true);
    b->CheckBox()->SetState(cbChecked);
    b->CheckBox()->SetState(cbUnchecked);
    EXPECT_TRUE(box->Checked());
    EXPECT_TRUE(edit->Enabled());
}

TEST_F(GroupBoxTest, TheCheckBoxLooks) {
    struct Row {
        TCheckBoxState state;
        bool enabled, hot, pressed;
        int themed;
        const char16_t* bitmap;
    };
    const Row rows[] = {
        {cbUnchecked, true, false, false, 1, u"QRBGRPU"}, {cbUnchecked, true, true, false, 2, u"QRBGRPUH"},
        {cbUnchecked, true, false, true, 3, u"QRBGRPUD"}, {cbUnchecked, false, false, false, 4, u"QRBGRPU"},
        {cbChecked, true, true, false, 6, u"QRBGRPCH"},   {cbChecked, true, true, true, 7, u"QRBGRPCD"},
        {cbChecked, false, true, true, 8, u"QRBGRPCD"},   {cbGrayed, true, false, false, 9, u"QRBGRPG"},
        {cbGrayed, true, true, false, 10, u"QRBGRPGH"},   {cbGrayed, false, false, false, 12, u"QRBGRPG"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(advgroupbox::ThemedCheckState(r.state, r.enabled, r.hot, r.pressed), r.themed) << r.themed;
        EXPECT_EQ(advgroupbox::CheckBitmapName(r.state, r.hot, r.pressed), String(r.bitmap));
    }

    // The bitmaps: our own 13 x 13 pictures, transparent at the corners.
    advgroupbox::RegisterCheckBitmaps();
    TBitmap checked;
    checked.LoadFromResourceName(HInstance, u"QRBGRPC");
    EXPECT_EQ(checked.Width(), 13);
    EXPECT_EQ(checked.Height(), 13);
    EXPECT_EQ(checked.TransparentColor(), TColor(0xFF00FF));

    // Drawn when the box is not themed, and when the theme gives no handle.
    auto* b = Box(10, 10, 120, 60);
    b->CheckBox()->SetVisible(true);
    b->CheckBox()->SetState(cbChecked);
    b->CheckBox()->SetThemed(false);
    Show();
    TRect area, caption, check;
    b->CalcCaptionLayout(area, caption, check);
    TPoint o = Origin(b);
    auto ticks = [&](const ui::test::Picture& pic) {
        int n = 0;
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 13; ++x) n += pic.At(o.X + check.Left + x, o.Y + check.Top + y) == 0x202020;
        return n;
    };
    EXPECT_GT(ticks(Picture()), 5);
    b->CheckBox()->SetThemed(true);
    auto open = AOBXPVS::ThemeApi.OpenThemeData;
    AOBXPVS::ThemeApi.OpenThemeData = [](HWND, LPCWSTR) -> HTHEME { return nullptr; };
    b->Invalidate();
    ui::test::Pump();
    b->CalcCaptionLayout(area, caption, check);
    int fallback = ticks(Picture());
    AOBXPVS::ThemeApi.OpenThemeData = open;
    EXPECT_GT(fallback, 5);
    // The themed picture is the desktop style's.
    b->Invalidate();
    ui::test::Pump();
    EXPECT_EQ(ticks(Picture()), 0);
}

TEST_F(GroupBoxTest, ImagesAndTheirRemoval) {
    auto* b = Box(10, 10, 100, 60);
    TImageList* list = Images(form, 16, 16, clRed);
    b->SetImages(list);
    b->SetImageIndex(0);
    b->SetImages(nullptr);
    EXPECT_EQ(b->ImageIndex(), -1);
    b->SetImages(list);
    b->SetImageIndex(0);
    list->Free();
    EXPECT_EQ(b->Images(), nullptr);
    EXPECT_EQ(b->ImageIndex(), -1);
}

TEST_F(GroupBoxTest, TheWorkbenchsEightGroupBoxes) {
    form->SetBounds(0, 0, 640, 300);
    const char16_t* captions[] = {u"ﾁｬﾝﾈﾙ", u"ﾓｰﾄﾞ", u"送信", u"受信", u"ﾃｽﾄ", u"ﾚﾍﾞﾙ", u"接点", u"ﾎﾟｰﾄ"};
    DAzuVidazEra* boxes[8];
    for (int i = 0; i < 8; ++i) {
        boxes[i] = Box(10 + 155 * (i % 4), 10 + 130 * (i / 4), 145, 120);
        boxes[i]->SetCaption(captions[i]);
        boxes[i]->SetCaptionPosition(gb::cpTopCenter);
    }
    boxes[0]->SetBorderStyle(gb::bsDouble);
    boxes[0]->SetCtl3D(true);
    boxes[3]->SetRoundEdges(true);
    boxes[6]->SetRoundEdges(true);
    Show();
    ui::test::Picture pic = Picture("rwb_workbench_groupboxes.png");
    for (int i = 1; i < 8; ++i) {
        SCOPED_TRACE(i);
        TPoint o = Origin(boxes[i]);
        TRect frame = boxes[i]->FrameRect(), area, caption, check;
        boxes[i]->CalcCaptionLayout(area, caption, check);
        EXPECT_GT(area.Left, 20);  // centred
        EXPECT_EQ(pic.At(o.X, o.Y + 60), 0xC0C0C0);
        EXPECT_EQ(pic.At(o.X + 72, o.Y + 119), 0xC0C0C0);
        EXPECT_EQ(pic.At(o.X + area.Left - 4, o.Y + frame.Top), 0xC0C0C0);
        EXPECT_NE(pic.At(o.X + area.Left + 1, o.Y + frame.Top), 0xC0C0C0);
        EXPECT_NE(pic.At(o.X + area.Right - 1, o.Y + frame.Top), 0xC0C0C0);
    }
}

}  // namespace
