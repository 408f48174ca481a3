// What the backend reports about a form's menu bar, and what the menu unit makes of it: the
// backend only reports; the unit runs the items, handles their exceptions and ignores items that
// are gone.
#include <gtest/gtest.h>

#include "platform/ui/Menus.h"
#include "platform/ui/fake/FakeBackend.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

class MenuBarTest : public ui::test::FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        menu = new TMainMenu(form);
        file = NewSubMenu(form, String("&File"), {NewItem(form, String("&Close")), NewItem(form, String("&Save"))});
        menu->Items()->Add(file);
        close = file->Items(0);
        save = file->Items(1);
        close->OnClick = [this](TObject* sender) { clicks.push_back(static_cast<TMenuItem*>(sender)); };
        Application->OnException = [this](TObject*, Exception& e) { errors.push_back(e.Message().ToUtf8()); };
        form->Show();
    }
    ui::fake::FakeMenuBar* Bar() { return ui::fake::MenuBarOf(form); }

    TMainMenu* menu = nullptr;
    TMenuItem *file = nullptr, *close = nullptr, *save = nullptr;
    std::vector<TMenuItem*> clicks;
    std::vector<std::string> errors;
};

}  // namespace

TEST_F(MenuBarTest, TheBarFollowsTheFormsWindowAndItsHeightIsOutsideTheClientArea) {
    ASSERT_NE(Bar(), nullptr);  // made with the window, no waiting
    EXPECT_EQ(form->MenuBarHeight(), ui::fake::FakeMenuBar::kHeight);
    EXPECT_EQ(form->ClientHeight(), form->Height() - form->MenuBarHeight());
    ASSERT_EQ(Bar()->Lines().size(), 3u);
    EXPECT_EQ(Bar()->Lines()[1].Caption, String("&Close"));
    EXPECT_EQ(Bar()->Lines()[1].Depth, 1);
    // A window made again gets its bar again.
    form->RecreateWnd();
    ASSERT_NE(Bar(), nullptr);
    EXPECT_EQ(ui::test::MenuBarCaptions(form), std::vector<String>{String("&File")});
    SetFormMenu(form, nullptr);
    EXPECT_EQ(Bar(), nullptr);
    EXPECT_EQ(form->MenuBarHeight(), 0);
}

TEST_F(MenuBarTest, AChosenItemRunsAndItsExceptionGoesToTheApplication) {
    Bar()->Choose(close);
    EXPECT_EQ(clicks, std::vector<TMenuItem*>{close});
    save->OnClick = [](TObject*) { throw Exception(String("disk full")); };
    Bar()->Choose(save);
    EXPECT_EQ(errors, std::vector<std::string>{"disk full"});
}

TEST_F(MenuBarTest, ReportsOfItemsThatCannotRunOrAreGoneChangeNothing) {
    close->SetEnabled(false);
    Bar()->Choose(close);
    close->SetEnabled(true);
    file->SetEnabled(false);  // a disabled parent disables its items
    Bar()->Choose(close);
    file->SetEnabled(true);
    TMenuItem stranger(nullptr);
    stranger.OnClick = [this](TObject* sender) { clicks.push_back(static_cast<TMenuItem*>(sender)); };
    Bar()->Choose(&stranger);  // not an item of this menu
    ui::fake::FakeMenuBar* bar = Bar();
    file->Delete(0);           // freed while the menu was open: the report is never dereferenced
    bar->Choose(close);
    bar->Open(close);
    EXPECT_TRUE(clicks.empty());
    EXPECT_TRUE(errors.empty());
}

TEST_F(MenuBarTest, OpeningASubMenuRunsItsItemWhichMayUpdateTheSubItems) {
    int opened = 0;
    file->OnClick = [&](TObject*) {
        ++opened;
        save->SetEnabled(false);
        throw Exception(String("no file"));
    };
    Bar()->Open(file);
    EXPECT_EQ(opened, 1);
    EXPECT_FALSE(Bar()->Lines()[2].Enabled);  // the bar shows the update
    EXPECT_EQ(errors, std::vector<std::string>{"no file"});
}
