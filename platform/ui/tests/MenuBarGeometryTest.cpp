// A form's menu bar lies outside its client area: the client keeps its own coordinates below it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "platform/ui/Menus.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

// A graphic control that fills itself with one colour and records where it was clicked.
class Spot : public TGraphicControl {
public:
    explicit Spot(TComponent* owner) : TGraphicControl(owner) {}
    std::vector<TPoint> Downs;

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(clBlue);
        Canvas()->FillRect(ClientRect());
    }
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
        Downs.push_back(Point(x, y));
        TGraphicControl::MouseDown(button, shift, x, y);
    }
};

// A windowed child: its own widget, placed in its parent's client coordinates.
class Tile : public TCustomControl {
public:
    explicit Tile(TComponent* owner) : TCustomControl(owner) { SetColor(clFuchsia); }
};

struct Built {
    TForm* form;
    Spot* spot;
    Tile* tile;
};

Built MakeForm(bool withMenu) {
    auto* form = new TForm(nullptr);
    form->SetBounds(50, 60, 200, 150);
    form->SetColor(clLime);
    auto* spot = new Spot(form);
    spot->SetParent(form);
    spot->SetBounds(0, 0, 20, 20);
    auto* tile = new Tile(form);
    tile->SetParent(form);
    tile->SetBounds(40, 0, 20, 20);
    if (withMenu) {
        auto* menu = new TMainMenu(form);
        auto* file = new TMenuItem(form);
        file->SetCaption(String("&File"));
        menu->Items()->Add(file);
        auto* quit = new TMenuItem(form);
        quit->SetCaption(String("&Quit"));
        file->Add(quit);
    }
    form->Show();
    return {form, spot, tile};
}

std::string TempPng(const char* tag) { return "/tmp/menubar_" + std::string(tag) + "_" + std::to_string(getpid()) + ".png"; }

TEST(MenuBarGeometry, TheBarIsAboveTheClientAreaAndClicksKeepClientCoordinates) {
    ui::test::AppScope scope;
    Built b = MakeForm(true);
    TForm* form = b.form;
    ASSERT_TRUE(ui::test::PumpUntil([&] { return form->MenuBarHeight() > 0; }, 3000));
    int bar = form->MenuBarHeight();
    // The client area kept the size the form was given; the window grew by the bar.
    EXPECT_EQ(form->ClientHeight(), 150);
    EXPECT_EQ(form->Height(), 150 + bar);
    EXPECT_EQ(form->ClientHeight(), form->Height() - bar);
    EXPECT_EQ(form->ClientWidth(), form->Width());
    EXPECT_EQ(form->ClientOrigin(), Point(form->Left(), form->Top() + bar));
    // Setting the client height again keeps the bar out of it.
    form->SetClientHeight(120);
    EXPECT_EQ(form->Height(), 120 + bar);
    EXPECT_EQ(form->ClientHeight(), 120);

    ui::test::Click(b.spot, 5, 5);
    ASSERT_EQ(b.spot->Downs.size(), 1u);
    EXPECT_EQ(b.spot->Downs[0], Point(5, 5));
    // A child window placed while the bar is there lands in client coordinates as well.
    b.tile->SetBounds(50, 0, 20, 20);

    // On screen: the bar fills the top rows, the client image starts right below it.
    std::string path = TempPng("with");
    ASSERT_TRUE(ui::test::SaveToPng(form, path));
    ui::test::Picture pic;
    ASSERT_TRUE(ui::test::LoadPng(path, pic));
    unlink(path.c_str());
    ASSERT_EQ(pic.Height, form->Height());
    EXPECT_EQ(pic.At(5, bar), static_cast<int32_t>(clBlue));
    EXPECT_EQ(pic.At(5, bar + 19), static_cast<int32_t>(clBlue));
    EXPECT_EQ(pic.At(5, bar + 20), static_cast<int32_t>(clLime));
    EXPECT_EQ(pic.At(100, pic.Height - 1), static_cast<int32_t>(clLime));
    EXPECT_NE(pic.At(5, bar - 1), static_cast<int32_t>(clBlue));
    EXPECT_EQ(pic.At(55, bar), static_cast<int32_t>(clFuchsia));  // the child window too
    EXPECT_EQ(pic.At(55, bar + 19), static_cast<int32_t>(clFuchsia));
    EXPECT_NE(pic.At(55, bar - 1), static_cast<int32_t>(clFuchsia));

    // Removing the menu gives the rows back to the window, not to the client; the child window
    // moves up with the client area.
    SetFormMenu(form, nullptr);
    EXPECT_EQ(form->MenuBarHeight(), 0);
    EXPECT_EQ(form->ClientHeight(), 120);
    EXPECT_EQ(form->Height(), 120);
    ASSERT_TRUE(ui::test::SaveToPng(form, path));
    ASSERT_TRUE(ui::test::LoadPng(path, pic));
    unlink(path.c_str());
    EXPECT_EQ(pic.Height, 120);
    EXPECT_EQ(pic.At(5, 0), static_cast<int32_t>(clBlue));
    EXPECT_EQ(pic.At(55, 0), static_cast<int32_t>(clFuchsia));
    EXPECT_EQ(pic.At(55, 20), static_cast<int32_t>(clLime));
    form->Free();
}

// Pixels of the bar's captions: dark ones in its rows.
int CaptionPixels(TForm* form, const char* tag) {
    std::string path = TempPng(tag);
    ui::test::Picture pic;
    if (!ui::test::SaveToPng(form, path) || !ui::test::LoadPng(path, pic)) return -1;
    unlink(path.c_str());
    int dark = 0;
    for (int y = 0; y < form->MenuBarHeight(); ++y)
        for (int x = 0; x < pic.Width; ++x)
            if ((pic.At(x, y) & 0xFF) < 0x60 && ((pic.At(x, y) >> 8) & 0xFF) < 0x60 && ((pic.At(x, y) >> 16) & 0xFF) < 0x60) ++dark;
    return dark;
}

TEST(MenuBarGeometry, TheBarStillShowsAfterItsMenuChangesAndAfterTheWindowIsMadeAgain) {
    ui::test::AppScope scope;
    Built b = MakeForm(true);
    ASSERT_GT(b.form->MenuBarHeight(), 0);
    EXPECT_GT(CaptionPixels(b.form, "first"), 0);
    FormMenu(b.form)->Items()->Items(0)->SetCaption(String("&Data"));  // the same height
    EXPECT_GT(CaptionPixels(b.form, "changed"), 0);
    b.form->RecreateWnd();
    EXPECT_GT(CaptionPixels(b.form, "again"), 0);
    b.form->Free();
}

TEST(MenuBarGeometry, AFormWithoutAMenuHasNoNonClientRows) {
    ui::test::AppScope scope;
    Built b = MakeForm(false);
    ui::test::Pump();
    EXPECT_EQ(b.form->MenuBarHeight(), 0);
    EXPECT_EQ(b.form->Height(), 150);
    EXPECT_EQ(b.form->ClientHeight(), b.form->Height());
    EXPECT_EQ(b.form->ClientOrigin(), Point(50, 60));
    ui::test::Click(b.spot, 5, 5);
    ASSERT_EQ(b.spot->Downs.size(), 1u);
    EXPECT_EQ(b.spot->Downs[0], Point(5, 5));
    std::string path = TempPng("without");
    ASSERT_TRUE(ui::test::SaveToPng(b.form, path));
    ui::test::Picture pic;
    ASSERT_TRUE(ui::test::LoadPng(path, pic));
    unlink(path.c_str());
    EXPECT_EQ(pic.At(5, 0), static_cast<int32_t>(clBlue));
    EXPECT_EQ(pic.At(5, 20), static_cast<int32_t>(clLime));
    b.form->Free();
}

}  // namespace
