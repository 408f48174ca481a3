// The styles' vocabulary, theme detection over the registry and the system answers, and the
// theme notifier with its monitor thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "controls/styled/VizIrovaRE.h"
#include "controls/styled/tests/StyledTestSupport.h"
#include "platform/ui/Forms.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/win/Window.h"

using styled_test::ScopedAnswers;
using styled_test::ScopedRegistry;

namespace {

const String k14 = u"Software\\Microsoft\\Office\\14.0\\Common";
const String k12 = u"Software\\Microsoft\\Office\\12.0\\Common";

TEST(StyleVocabulary, OrdinalsAndRecordOrder) {
    const TQRBStyle styles[] = {tsOffice2003Blue,   tsOffice2003Silver,   tsOffice2003Olive, tsOffice2003Classic,
                                tsOffice2007Luna,   tsOffice2007Obsidian, tsWindowsXP,       tsWhidbey,
                                tsCustom,           tsOffice2007Silver,   tsWindowsVista,    tsWindows7,
                                tsTerminal,         tsOffice2010Blue,     tsOffice2010Silver, tsOffice2010Black};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(static_cast<int>(styles[i]), i);
    EXPECT_EQ(sizeof(TQRBStyle), 1u);
    EXPECT_EQ(static_cast<int>(ot2003Blue), 0);
    EXPECT_EQ(static_cast<int>(ot2010Black), 9);
    EXPECT_EQ(static_cast<int>(otUnknown), 10);

    TColorTone tone;
    EXPECT_EQ(reinterpret_cast<char*>(&tone.BorderColor) - reinterpret_cast<char*>(&tone.BrushColor), 4);
    EXPECT_EQ(reinterpret_cast<char*>(&tone.TextColor) - reinterpret_cast<char*>(&tone.BrushColor), 8);
    TColorTones tones;
    const TColorTone* order[] = {&tones.Background, &tones.Foreground, &tones.Selected, &tones.Hover,
                                 &tones.Disabled};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(order[i], &tones.Background + i);
}

TEST(HandleList, KeepsHandlesAndDeletesByValue) {
    THandleList list;
    HWND a = reinterpret_cast<HWND>(uintptr_t{11}), b = reinterpret_cast<HWND>(uintptr_t{22});
    list.Add(a);
    list.Insert(0, b);
    EXPECT_EQ(list.GetInteger(0), b);
    EXPECT_TRUE(list.HasValue(a));
    list.DeleteValue(reinterpret_cast<HWND>(uintptr_t{33}));  // absent: nothing
    EXPECT_EQ(list.Count(), 2);
    list.DeleteValue(b);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.GetInteger(0), a);
    list.SetInteger(0, b);
    EXPECT_FALSE(list.HasValue(a));
}

TEST(ThemeDetection, OfficeKeysThenTheColourScheme) {
    struct Case {
        const char* name;
        int theme14;  // -2: no key, -1: the key without "Theme"
        int theme12;
        const char16_t* colour;
        TOfficeTheme expected;
    };
    const Case cases[] = {
        {"2010 silver wins over 2007", 2, 3, u"", ot2010Silver},
        {"2010 blue", 1, -2, u"", ot2010Blue},
        {"2010 black", 3, -2, u"", ot2010Black},
        {"other 2010 value, 12.0 unread", 0, 3, u"", ot2003Blue},
        {"14.0 key without Theme falls through", -1, 3, u"", ot2007Black},
        {"2007 blue", -2, 1, u"", ot2007Blue},
        {"2007 silver", -2, 2, u"", ot2007Silver},
        {"other 2007 value", -2, 7, u"Metallic", ot2003Blue},
        {"NormalColor", -2, -2, u"NormalColor", ot2003Blue},
        {"HomeStead", -2, -2, u"HomeStead", ot2003Olive},
        {"Metallic", -2, -2, u"Metallic", ot2003Silver},
        {"a substring counts", -2, -2, u"xNormalColorx", ot2003Blue},
        {"unknown name", -2, -2, u"Royale", ot2003Classic},
        {"default answers", -2, -2, u"", ot2003Classic},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedRegistry registry;
        ScopedAnswers answers;
        answers->ThemeColorName = c.colour;
        if (c.theme14 == -1) ScopedRegistry::MakeKey(k14);
        if (c.theme14 >= 0) ScopedRegistry::Write(k14, u"Theme", c.theme14);
        if (c.theme12 == -1) ScopedRegistry::MakeKey(k12);
        if (c.theme12 >= 0) ScopedRegistry::Write(k12, u"Theme", c.theme12);
        EXPECT_EQ(DetectOfficeTheme(), c.expected);
    }
}

TEST(ThemeDetection, SystemsWithoutAColourSchemeAreClassic) {
    struct Case {
        const char* name;
        void (*setup)(ui::sys::SystemAnswers&);
    };
    const Case cases[] = {
        {"themes inactive", [](ui::sys::SystemAnswers& a) { a.ThemeActive = false; }},
        {"no theme library", [](ui::sys::SystemAnswers& a) { a.ThemeLibrary = false; }},
        {"common controls 5", [](ui::sys::SystemAnswers& a) { a.ComCtlMajor = 5; }},
        {"version 5.0", [](ui::sys::SystemAnswers& a) { a.MajorVersion = 5, a.MinorVersion = 0; }},
    };
    ScopedRegistry registry;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedAnswers answers;
        answers->ThemeColorName = u"NormalColor";
        ASSERT_EQ(DetectXPColorScheme(), 1);
        c.setup(*answers);
        EXPECT_EQ(DetectXPColorScheme(), 0);
        EXPECT_EQ(DetectOfficeTheme(), ot2003Classic);
    }
}

TEST(ThemeDetection, AThemeValueThatIsNoNumberReachesTheCaller) {
    ScopedRegistry registry;
    ScopedRegistry::WriteText(k14, u"Theme", u"blue");
    EXPECT_THROW(DetectOfficeTheme(), ERegistryException);
}

TEST(ThemeDetection, VersionAndSystemQueries) {
    ScopedRegistry registry;
    ScopedAnswers answers;
    EXPECT_EQ(DetectOfficeVersion(), 0);
    ScopedRegistry::MakeKey(k12 + u"\\General");
    EXPECT_EQ(DetectOfficeVersion(), 1);
    ScopedRegistry::MakeKey(k14 + u"\\General");
    EXPECT_EQ(DetectOfficeVersion(), 2);

    EXPECT_TRUE(IsComCtl6OrLater());
    answers->ComCtlVersionData = false;  // unreadable counts as new enough
    EXPECT_TRUE(IsComCtl6OrLater());
    answers->ComCtlVersionData = true;
    answers->ComCtlMajor = 5;
    EXPECT_FALSE(IsComCtl6OrLater());

    struct Version {
        DWORD major, minor;
        bool xp;
    };
    for (Version v : {Version{5, 0, false}, Version{5, 1, true}, Version{6, 1, true}}) {
        answers->MajorVersion = v.major;
        answers->MinorVersion = v.minor;
        EXPECT_EQ(IsWinXPOrLater(), v.xp) << v.major << "." << v.minor;
    }
    // The newer locale functions come with version 6, and with them the newer font.
    answers->MajorVersion = 6;
    EXPECT_TRUE(IsWindowsVistaOrLater());
    EXPECT_EQ(DefaultUIFontName(), String(u"Segoe UI"));
    answers->MajorVersion = 5;
    EXPECT_FALSE(IsWindowsVistaOrLater());
    EXPECT_EQ(DefaultUIFontName(), String(u"Tahoma"));
}

TEST(RegMonitorThread, FilterReadsFifteenWhileZero) {
    TRegMonitorThread monitor;
    EXPECT_EQ(monitor.Filter(), 15u);
    monitor.SetFilter(4);
    EXPECT_EQ(monitor.Filter(), 4u);
}

TEST(RegMonitorThread, AKeyThatCannotBeOpenedEndsTheThread) {
    ScopedRegistry registry;
    TRegMonitorThread monitor;
    monitor.Key = k14;  // not there
    monitor.Start();
    ASSERT_TRUE(ui::test::PumpUntil([&] { return monitor.Finished(); }));
    ASSERT_TRUE(monitor.FatalException());
    try {
        std::rethrow_exception(monitor.FatalException());
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), u"Unable to open registry key " + k14);
    }
}

// One window's WM_OFFICETHEMECHANGED: where it went, on which thread, with what.
struct Delivery {
    int who;
    bool mainThread;
    WPARAM wparam;
    String path;
};

class ThemeNotifierTest : public ui::test::AppTest {
protected:
    ScopedRegistry registry;
    std::vector<Delivery> log;
    std::vector<HWND> windows;

    void TearDown() override {
        for (HWND w : windows) DeallocateHWnd(w);
    }
    HWND Recorder(int who) {
        HWND w = AllocateHWnd([this, who](TMessage& m) {
            if (m.Msg == WM_OFFICETHEMECHANGED)
                log.push_back({who, IsMainThread(), m.WParam, String(reinterpret_cast<const char16_t*>(m.LParam))});
        });
        windows.push_back(w);
        return w;
    }
    // A theme change as the office program writes it, and its deliveries.
    bool ChangeTheme(size_t expected, const String& key = k14) {
        ScopedRegistry::Write(key, u"Theme", 2);
        return ui::test::PumpUntil([&] { return log.size() >= expected; });
    }
};

TEST_F(ThemeNotifierTest, OneInstanceOwnedByTheMainFormWhenItsWindowExists) {
    TForm* first = nullptr;
    Application->CreateForm(first);
    first->HandleNeeded();
    auto* other = new TComponent(nullptr);
    TThemeNotifier* notifier = ObtainThemeNotifier(other);
    EXPECT_EQ(notifier->Owner(), first);
    EXPECT_EQ(ObtainThemeNotifier(nullptr), notifier);
    first->Free();  // frees the notifier it owns

    TThemeNotifier* fresh = ObtainThemeNotifier(other);
    EXPECT_EQ(fresh->Owner(), other);
    other->Free();
}

TEST_F(ThemeNotifierTest, WithoutOfficeKeysItIsPassive) {
    auto* notifier = new TThemeNotifier(nullptr);
    EXPECT_EQ(notifier->Monitor(), nullptr);
    EXPECT_EQ(notifier->NotifierWindow(), nullptr);
    HWND w = Recorder(1);
    notifier->RegisterWindow(w);
    ScopedRegistry::Write(k14, u"Theme", 2);
    ui::test::Pump();
    notifier->UnRegisterWindow(w);
    EXPECT_TRUE(log.empty());
    delete notifier;
}

TEST_F(ThemeNotifierTest, AWatchingNotifierTellsTheHiddenWindowThenTheRegisteredOnes) {
    ScopedRegistry::MakeKey(k14 + u"\\General");
    auto* notifier = new TThemeNotifier(nullptr);
    ASSERT_NE(notifier->Monitor(), nullptr);
    ASSERT_NE(notifier->NotifierWindow(), nullptr);
    EXPECT_FALSE(notifier->NotifierWindow()->Visible());
    TObject* sender = nullptr;
    notifier->OnOfficeThemeChange = [&](TObject* s) {
        sender = s;
        log.push_back({0, IsMainThread(), 0, String()});
    };
    HWND a = Recorder(1), b = Recorder(2);
    notifier->RegisterWindow(a);
    notifier->RegisterWindow(b);
    notifier->RegisterWindow(a);  // one entry
    EXPECT_EQ(notifier->Monitor()->WinList().Count(), 2);

    ASSERT_TRUE(ChangeTheme(3));
    EXPECT_EQ(sender, notifier);
    ASSERT_EQ(log.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(log[i].who, i);
        EXPECT_TRUE(log[i].mainThread);
    }
    EXPECT_EQ(log[1].wparam, WPARAM{0x80000001u});
    EXPECT_EQ(log[1].path, k14);

    // A subkey that exists counts too; one unregister removes the window.
    ScopedRegistry::MakeKey(k14 + u"\\Sub");
    notifier->UnRegisterWindow(a);
    log.clear();
    ASSERT_TRUE(ChangeTheme(2, k14 + u"\\Sub"));
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].who, 2);
    delete notifier;  // stops and joins the monitor
}

TEST_F(ThemeNotifierTest, AnEndedMonitorIsLeftAlone) {
    ScopedRegistry::MakeKey(k12 + u"\\General");
    auto* notifier = new TThemeNotifier(nullptr);
    ASSERT_NE(notifier->Monitor(), nullptr);
    EXPECT_EQ(notifier->Monitor()->Key, k12);
    notifier->Monitor()->Stop();
    ASSERT_TRUE(ui::test::PumpUntil([&] { return notifier->Monitor()->Finished(); }));
    HWND w = Recorder(1);
    notifier->RegisterWindow(w);
    EXPECT_EQ(notifier->Monitor()->WinList().Count(), 0);
    notifier->UnRegisterWindow(w);
    delete notifier;
}

TEST_F(ThemeNotifierTest, AnOwnerThatIsNoWindowIsRefusedWhileWatching) {
    ScopedRegistry::MakeKey(k14 + u"\\General");
    TComponent owner(nullptr);
    EXPECT_THROW(new TThemeNotifier(&owner), EInvalidCast);
}

TEST_F(ThemeNotifierTest, RegistrationRacesNoDelivery) {
    ScopedRegistry::MakeKey(k14 + u"\\General");
    auto* notifier = new TThemeNotifier(nullptr);
    std::atomic<int> hidden{0};
    notifier->OnOfficeThemeChange = [&](TObject*) { ++hidden; };
    std::vector<HWND> pool;
    for (int i = 0; i < 8; ++i) pool.push_back(Recorder(i + 1));
    for (int round = 0; round < 40; ++round) {
        for (size_t i = 0; i < pool.size(); ++i) {
            if ((round + i) % 3 == 0)
                notifier->UnRegisterWindow(pool[i]);
            else
                notifier->RegisterWindow(pool[i]);
        }
        ScopedRegistry::Write(k14, u"Theme", round);
        ASSERT_TRUE(ui::test::PumpUntil([&] { return hidden.load() > round; }));
    }
    EXPECT_EQ(hidden.load(), 40);
    for (const Delivery& d : log) EXPECT_TRUE(d.mainThread);
    delete notifier;
}

}  // namespace
