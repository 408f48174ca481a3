#include <gtest/gtest.h>

#include "platform/ui/Menus.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

// A focusable control that records the keys that reach it.
class KeySink : public TCustomControl {
public:
    explicit KeySink(TComponent* owner) : TCustomControl(owner) {
        SetTabStop(true);
        SetBounds(10, 10, 80, 40);
    }
    std::vector<WORD> Keys;

protected:
    void KeyDown(WORD& key, TShiftState shift) override {
        Keys.push_back(key);
        TCustomControl::KeyDown(key, shift);
    }
};

TMenuItem* NewItem(TComponent* owner, TMenuItem* parent, const char* caption, TShortCut sc = scNone) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(String(caption));
    item->SetShortCut(sc);
    parent->Add(item);
    return item;
}

class MenusTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        sink = new KeySink(form);
        sink->SetParent(form);
        menu = new TMainMenu(form);
        file = NewItem(form, menu->Items(), "&File");
        close = NewItem(form, file, "&Close", TextToShortCut(String("Ctrl+Q")));
        measure = NewItem(form, file, "Measure", TextToShortCut(String("F8")));
        NewItem(form, file, "-");
        settings = NewItem(form, menu->Items(), "&Settings");
        port = NewItem(form, settings, "Port", TextToShortCut(String("Shift+F7")));
        for (TMenuItem* item : {close, measure, port})
            item->OnClick = [this](TObject* sender) { clicks.push_back(static_cast<TMenuItem*>(sender)); };
        form->Show();
        form->SetActiveControl(sink);
    }
    void TearDown() override {
        ui::SetPopupMenuHook(nullptr);
        form->Free();
    }

    ui::test::AppScope scope;
    TForm* form = nullptr;
    KeySink* sink = nullptr;
    TMainMenu* menu = nullptr;
    TMenuItem *file = nullptr, *close = nullptr, *measure = nullptr, *settings = nullptr, *port = nullptr;
    std::vector<TMenuItem*> clicks;
};

}  // namespace

TEST_F(MenusTest, MainMenuBelongsToTheFormThatMadeIt) {
    EXPECT_EQ(FormMenu(form), menu);
    EXPECT_EQ(menu->Form(), form);
    EXPECT_EQ(close->GetParentMenu(), menu);
}

TEST_F(MenusTest, ShortCutKeysRunTheirItemBeforeTheFocusedControl) {
    struct Case {
        WORD vk;
        TShiftState shift;
        TMenuItem* item;
    };
    TMenuItem* exportItem = NewItem(form, file, "Export", TextToShortCut(String("Alt+X")));
    TMenuItem* option = NewItem(form, settings, "Option", TextToShortCut(String("Ctrl+Shift+O")));
    for (TMenuItem* item : {exportItem, option})
        item->OnClick = [this](TObject* sender) { clicks.push_back(static_cast<TMenuItem*>(sender)); };
    const Case cases[] = {
        {VK_F1 + 7, {}, measure},
        {'Q', {ssCtrl}, close},
        {VK_F1 + 6, {ssShift}, port},
        {'X', {ssAlt}, exportItem},
        {'O', {ssCtrl, ssShift}, option},
    };
    for (const Case& c : cases) {
        clicks.clear();
        sink->Keys.clear();
        ui::test::Key(sink, c.vk, String(), c.shift);
        ASSERT_EQ(clicks.size(), 1u) << "key " << c.vk;
        EXPECT_EQ(clicks[0], c.item);
        EXPECT_TRUE(sink->Keys.empty()) << "a key taken by the menu must not reach the control";
    }
    // The same keys with other modifiers are no shortcut and go to the control.
    clicks.clear();
    sink->Keys.clear();
    ui::test::Key(sink, VK_F1 + 6);              // F7 without Shift
    ui::test::Key(sink, 'Q');                    // Q without Ctrl
    ui::test::Key(sink, VK_F1 + 7, String(), {ssCtrl});  // Ctrl+F8
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(sink->Keys, (std::vector<WORD>{VK_F1 + 6, 'Q', VK_F1 + 7}));
}

TEST_F(MenusTest, DisabledOrHiddenItemsAndItemsUnderADisabledMenuIgnoreTheirShortCut) {
    measure->SetEnabled(false);
    ui::test::Key(sink, VK_F1 + 7);
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(sink->Keys, std::vector<WORD>{VK_F1 + 7});

    settings->SetEnabled(false);
    ui::test::Key(sink, VK_F1 + 6, String(), {ssShift});
    EXPECT_TRUE(clicks.empty());

    close->SetVisible(false);
    ui::test::Key(sink, 'Q', String(), {ssCtrl});
    EXPECT_TRUE(clicks.empty());

    // Enabled again, it works again.
    measure->SetEnabled(true);
    ui::test::Key(sink, VK_F1 + 7);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], measure);
    // Click() itself refuses a disabled item too.
    measure->SetEnabled(false);
    measure->Click();
    EXPECT_EQ(clicks.size(), 1u);
}

TEST(ShortCutText, RoundTripsTheTable) {
    struct Case {
        const char* text;
        TShortCut sc;
    };
    const Case cases[] = {
        {"Ctrl+Q", static_cast<TShortCut>(scCtrl | 'Q')},
        {"F8", static_cast<TShortCut>(VK_F1 + 7)},
        {"Shift+F7", static_cast<TShortCut>(scShift | (VK_F1 + 6))},
        {"F2", static_cast<TShortCut>(VK_F1 + 1)},
        {"F12", static_cast<TShortCut>(VK_F1 + 11)},
        {"Ctrl+O", static_cast<TShortCut>(scCtrl | 'O')},
        {"Ctrl+C", static_cast<TShortCut>(scCtrl | 'C')},
        {"Alt+X", static_cast<TShortCut>(scAlt | 'X')},
        {"Shift+Ctrl+Alt+Del", static_cast<TShortCut>(scShift | scCtrl | scAlt | VK_DELETE)},
        {"Ctrl+Up", static_cast<TShortCut>(scCtrl | VK_UP)},
        {"Esc", VK_ESCAPE},
        {"Ctrl+5", static_cast<TShortCut>(scCtrl | '5')},
        {"Ins", VK_INSERT},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextToShortCut(String(c.text)), c.sc) << c.text;
        EXPECT_EQ(ShortCutToText(c.sc), String(c.text)) << c.text;
    }
    // Reading is lenient about case, blanks and modifier order; writing is canonical.
    EXPECT_EQ(ShortCutToText(TextToShortCut(String("ctrl + shift+f7"))), String("Shift+Ctrl+F7"));
    EXPECT_EQ(TextToShortCut(String("ctrl+q")), TextToShortCut(String("Ctrl+Q")));
    EXPECT_EQ(ShortCut('Q', {ssCtrl}), TextToShortCut(String("Ctrl+Q")));
    WORD key = 0;
    TShiftState shift;
    ShortCutToKey(TextToShortCut(String("Shift+F7")), key, shift);
    EXPECT_EQ(key, VK_F1 + 6);
    EXPECT_TRUE(shift == TShiftState{ssShift});
    // Text that names no key is no shortcut.
    for (const char* bad : {"", "Ctrl+", "Hyper+Q", "F0", "F25", "Ctrl+QQ", "F8x"})
        EXPECT_EQ(TextToShortCut(String(bad)), scNone) << bad;
    EXPECT_EQ(ShortCutToText(scNone), String());
}

TEST_F(MenusTest, RightClickOpensThePopupMenuAndThePickedItemRuns) {
    auto* popup = new TPopupMenu(form);
    TMenuItem* chart = NewItem(form, popup->Items(), "Chart");
    TMenuItem* copy = NewItem(form, chart, "&Copy", TextToShortCut(String("Ctrl+C")));
    TMenuItem* print = NewItem(form, chart, "Print");
    NewItem(form, popup->Items(), "-");
    TMenuItem* hidden = NewItem(form, popup->Items(), "Hidden");
    hidden->SetVisible(false);
    print->SetEnabled(false);
    std::vector<TMenuItem*> ran;
    copy->OnClick = [&](TObject*) { ran.push_back(copy); };
    print->OnClick = [&](TObject*) { ran.push_back(print); };
    int popups = 0;
    popup->OnPopup = [&](TObject*) { ++popups; };
    sink->SetPopupMenu(popup);

    std::vector<ui::MenuLine> shown;
    TPoint shownAt;
    String pick("Chart/Copy");
    ui::SetPopupMenuHook([&](TPopupMenu* m, const TPoint& at) {
        shown = ui::DescribeMenu(m->Items());
        shownAt = at;
        return ui::FindMenuItem(m->Items(), pick);
    });
    ui::test::Click(sink, 5, 5);  // a left click opens nothing
    ui::test::MouseDown(sink, 5, 6, mbRight);
    ui::test::MouseUp(sink, 5, 6, mbRight);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(ran, std::vector<TMenuItem*>{copy});
    EXPECT_EQ(popup->PopupComponent(), sink);
    EXPECT_EQ(shownAt, sink->ClientToScreen(Point(5, 6)));
    ASSERT_EQ(shown.size(), 4u);  // Chart, Copy, Print, separator; the hidden item is not shown
    EXPECT_EQ(shown[0].Caption, String("Chart"));
    EXPECT_TRUE(shown[0].HasSubMenu);
    EXPECT_EQ(shown[1].Depth, 1);
    EXPECT_EQ(shown[1].ShortCut, String("Ctrl+C"));
    EXPECT_FALSE(shown[2].Enabled);
    EXPECT_TRUE(shown[3].Separator);

    // A disabled item cannot be chosen; a dismissed menu runs nothing.
    pick = String("Chart/Print");
    popup->Popup(1, 1);
    pick = String("Nothing/There");
    popup->Popup(1, 1);
    EXPECT_EQ(ran, std::vector<TMenuItem*>{copy});
    EXPECT_EQ(popups, 3);

    // With AutoPopup off the right click does not open it.
    popup->SetAutoPopup(false);
    ui::test::MouseDown(sink, 5, 6, mbRight);
    ui::test::MouseUp(sink, 5, 6, mbRight);
    EXPECT_EQ(popups, 3);

    // The focused control's pop-up menu answers shortcuts too.
    ui::test::Key(sink, 'C', String(), {ssCtrl});
    EXPECT_EQ(ran, (std::vector<TMenuItem*>{copy, copy}));
    sink->SetPopupMenu(nullptr);
}

TEST_F(MenusTest, ItemsFreedWhileThePopupMenuIsOpenAreNeverTouched) {
    auto* popup = new TPopupMenu(form);
    TMenuItem* keep = NewItem(popup, popup->Items(), "Keep");
    TMenuItem* gone = NewItem(popup, popup->Items(), "Gone");
    std::vector<String> ran;
    keep->OnClick = [&](TObject*) { ran.push_back("Keep"); };
    gone->OnClick = [&](TObject*) { ran.push_back("Gone"); };
    // The user picks an item that the program frees before the menu closes (a timer, say).
    ui::SetPopupMenuHook([&](TPopupMenu*, const TPoint&) {
        gone->Free();
        return gone;
    });
    popup->Popup(1, 1);  // ASan would flag a read of the freed item
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(popup->Items()->Count(), 1);
    // Another item freed meanwhile does not stop the chosen one.
    TMenuItem* other = NewItem(popup, popup->Items(), "Other");
    ui::SetPopupMenuHook([&](TPopupMenu*, const TPoint&) {
        other->Free();
        return keep;
    });
    popup->Popup(1, 1);
    EXPECT_EQ(ran, std::vector<String>{"Keep"});
}

TEST_F(MenusTest, ItemsFormATreeThatFreesItsChildren) {
    EXPECT_EQ(menu->Items()->Count(), 2);
    EXPECT_EQ(menu->Items()->Find(String("file")), file);  // accelerator marks and case ignored
    EXPECT_EQ(ui::FindMenuItem(menu->Items(), String("Settings/Port")), port);
    EXPECT_EQ(ui::FindMenuItem(menu->Items(), String("Settings/Nope")), nullptr);

    auto* extra = new TMenuItem(form);
    extra->SetCaption(String("Extra"));
    file->Insert(0, extra);
    EXPECT_EQ(file->IndexOf(extra), 0);
    EXPECT_EQ(close->MenuIndex(), 1);
    settings->Add(extra);  // moving takes it from its old parent
    EXPECT_EQ(file->IndexOf(extra), -1);
    EXPECT_EQ(extra->Parent(), settings);
    EXPECT_THROW(extra->Add(settings), EMenuError);  // an item cannot contain its own parent

    int before = form->ComponentCount();
    settings->Delete(settings->IndexOf(extra));
    EXPECT_EQ(form->ComponentCount(), before - 1);  // freed and gone from its owner
    EXPECT_THROW(settings->Items(5), EMenuError);

    // Freeing a parent frees its sub-items; the form keeps no stale pointer to them.
    delete settings;
    settings = port = nullptr;
    EXPECT_EQ(menu->Items()->Count(), 1);
    EXPECT_EQ(form->ComponentCount(), before - 3);
}

TEST_F(MenusTest, RadioItemsOfAGroupCheckOneAtATime) {
    auto* a = NewItem(form, settings, "A");
    auto* b = NewItem(form, settings, "B");
    auto* c = NewItem(form, settings, "C");
    for (TMenuItem* i : {a, b, c}) {
        i->SetRadioItem(true);
        i->SetAutoCheck(true);
    }
    c->SetGroupIndex(2);
    a->SetChecked(true);
    c->SetChecked(true);
    b->Click();
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(c->Checked());  // another group
    b->Click();                 // clicking the checked radio item keeps it checked
    EXPECT_TRUE(b->Checked());
    auto* toggle = NewItem(form, settings, "Toggle");
    toggle->SetAutoCheck(true);
    toggle->Click();
    EXPECT_TRUE(toggle->Checked());
    toggle->Click();
    EXPECT_FALSE(toggle->Checked());
}

TEST(MainMenuOfAForm, AFormFreedBeforeItsMenuLeavesNoStaleEntry) {
    ui::test::AppScope scope;
    auto* form = new TForm(nullptr);
    auto* menu = new TMainMenu(nullptr);  // not owned by the form
    auto* item = new TMenuItem(menu);
    item->SetCaption(String("&File"));
    menu->Items()->Add(item);
    SetFormMenu(form, menu);
    form->Show();
    EXPECT_EQ(FormMenu(form), menu);
    EXPECT_EQ(menu->Form(), form);
    form->Free();
    EXPECT_EQ(menu->Form(), nullptr);
    item->SetCaption(String("&Edit"));  // no form to rebuild for
    delete menu;
}

TEST_F(MenusTest, TheFormsWindowShowsTheMainMenuAsAMenuBar) {
    // The menu was filled before the form had a window: the bar follows once it has one.
    ASSERT_TRUE(ui::test::PumpUntil([&] { return !ui::test::MenuBarCaptions(form).empty(); }, 3000));
    EXPECT_EQ(ui::test::MenuBarCaptions(form), (std::vector<String>{String("&File"), String("&Settings")}));
    settings->SetVisible(false);
    EXPECT_EQ(ui::test::MenuBarCaptions(form), std::vector<String>{String("&File")});
    SetFormMenu(form, nullptr);
    EXPECT_TRUE(ui::test::MenuBarCaptions(form).empty());
    EXPECT_EQ(FormMenu(form), nullptr);
}

TEST(MainMenuOfAForm, ShortCutsWorkOnAFormWithoutAFocusedControl) {
    ui::test::AppScope scope;
    auto* form = new TForm(nullptr);
    auto* menu = new TMainMenu(form);
    auto* quit = new TMenuItem(form);
    quit->SetCaption(String("閉じる"));
    quit->SetShortCut(TextToShortCut(String("Ctrl+Q")));
    menu->Items()->Add(quit);
    int quits = 0;
    quit->OnClick = [&](TObject*) { ++quits; };
    form->Show();
    ASSERT_EQ(form->ActiveControl(), nullptr);
    ui::test::Key(form, 'Q', String(), {ssCtrl});
    EXPECT_EQ(quits, 1);
    form->Free();
}

TEST(MenuBuilding, HelpersMakeATreeOfItems) {
    TComponent owner(nullptr);
    int clicks = 0;
    TMenuItem* file = NewSubMenu(&owner, String("ﾌｧｲﾙ"), {
        NewItem(&owner, String("ｲﾒｰｼﾞﾋﾞｭｰｱ"), TextToShortCut(String("Ctrl+I"))),
        NewLine(&owner),
        NewItem(&owner, String("閉じる"), TextToShortCut(String("Ctrl+Q")), [&](TObject*) { ++clicks; }, true, false),
    });
    ASSERT_EQ(file->Count(), 3);
    EXPECT_TRUE(file->Items(1)->IsLine());
    EXPECT_EQ(ShortCutToText(file->Items(0)->ShortCut()), String("Ctrl+I"));
    ui::FindMenuItem(file, String("閉じる"))->Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(owner.ComponentCount(), 4);
}
