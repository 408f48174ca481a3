// The control bases: repaint requests, the enter, leave, font and text hooks, and the image copy.
#include "controls/instrument/VrControls.h"

#include <gtest/gtest.h>

#include "platform/ui/testing/Fixtures.h"

namespace {

// Paints a red square into its image, then lets the base copy the image.
class Probe : public TVrCustomImageControl {
public:
    using TVrCustomImageControl::TVrCustomImageControl;
    int Paints = 0;
    void Request() { RequestRepaint(); }

protected:
    void Paint() override {
        ++Paints;
        ClearImage();
        TCanvas* c = BitmapImage()->Canvas();
        c->Brush()->SetColor(clRed);
        c->FillRect(Rect(2, 2, 10, 10));
        TVrCustomImageControl::Paint();
    }
};

class VrControlsTest : public ui::test::FormTest {
protected:
    Probe* probe = nullptr;
    void SetUp() override {
        FormTest::SetUp();
        probe = Add<Probe>();
        probe->SetBounds(10, 10, 40, 30);
        probe->SetColor(clYellow);
        form->Show();
        ui::test::Pump();
    }
};

TEST_F(VrControlsTest, RequestRepaintPaintsAtOnceExceptWhileLoadingOrUpdating) {
    int before = probe->Paints;
    probe->Request();
    EXPECT_EQ(probe->Paints, before + 1);  // no loop pass needed

    probe->BeginLoading();
    probe->Request();
    EXPECT_EQ(probe->Paints, before + 1);
    probe->Loaded();

    probe->BeginUpdate();
    probe->BeginUpdate();
    probe->Request();
    probe->EndUpdate();
    EXPECT_EQ(probe->Paints, before + 1);
    probe->EndUpdate();  // the outermost end repaints
    EXPECT_EQ(probe->Paints, before + 2);
    probe->Request();
    EXPECT_EQ(probe->Paints, before + 3);
}

TEST_F(VrControlsTest, HooksFireTheirEvents) {
    int enter = 0, leave = 0, font = 0, text = 0;
    probe->OnMouseEnter = [&](TObject* s) { EXPECT_EQ(s, probe); ++enter; };
    probe->OnMouseLeave = [&](TObject* s) { EXPECT_EQ(s, probe); ++leave; };
    probe->OnFontChanged = [&](TObject* s) { EXPECT_EQ(s, probe); ++font; };
    probe->OnTextChanged = [&](TObject* s) { EXPECT_EQ(s, probe); ++text; };
    ui::test::MouseMove(probe, 5, 5);
    EXPECT_EQ(enter, 1);
    ui::test::MouseLeave(probe);
    EXPECT_EQ(leave, 1);
    probe->Font()->SetSize(20);
    EXPECT_EQ(font, 1);
    probe->SetCaption(String("new"));
    EXPECT_EQ(text, 1);
    probe->SetCaption(String("new"));  // unchanged text: no news
    EXPECT_EQ(text, 1);
}

TEST_F(VrControlsTest, ImageReachesTheScreenInOneTransfer) {
    int transfers = 0;
    probe->Canvas()->OnChange = [&](TPersistent*) { ++transfers; };
    probe->Request();
    EXPECT_EQ(transfers, 1);
    TCanvas* screen = probe->BackingImage()->Canvas();
    EXPECT_EQ(screen->Pixels(5, 5), clRed);
    EXPECT_EQ(screen->Pixels(20, 20), clYellow);  // ClearImage fills with Color
    EXPECT_EQ(screen->Pixels(39, 29), clYellow);
}

}  // namespace
