// The units that bind the visual-styles library and make the process-wide settings at start.
#include <gtest/gtest.h>

#include <cstring>

#include "controls/styled/ACXPVS.h"
#include "controls/styled/AEBXPVS.h"
#include "controls/styled/AOBXPVS.h"
#include "controls/styled/APXPVS.h"
#include "controls/styled/ASXPVS.h"
#include "controls/styled/ATXPVS.h"
#include "controls/styled/AdvXPVS.h"
#include "controls/styled/CEXPVS.h"
#include "controls/styled/ClipboardFormats.h"
#include "controls/styled/LayeredWindowApi.h"
#include "controls/styled/MenuAnimationSwitch.h"
#include "controls/styled/tests/StyledTestSupport.h"
#include "platform/ui/Clipbrd.h"

using styled_test::ScopedAnswers;

namespace {

TThemeApiLoader* const kUnits[] = {&APXPVS::ThemeApi,  &ACXPVS::ThemeApi,  &AdvXPVS::ThemeApi, &ATXPVS::ThemeApi,
                                   &ASXPVS::ThemeApi,  &AEBXPVS::ThemeApi, &AOBXPVS::ThemeApi, &CEXPVS::ThemeApi};

TEST(ThemeApiLoaders, EachUnitLoadsTheLibraryOnceAndBindsItsSet) {
    // The program's start loaded it once per unit.
    EXPECT_EQ(ui::sys::ModuleLoadCount(u"uxtheme"), 8);
    for (TThemeApiLoader* unit : kUnits) {
        EXPECT_TRUE(unit->Loaded());
        unit->Load();  // loaded already: nothing
    }
    EXPECT_EQ(ui::sys::ModuleLoadCount(u"uxtheme"), 8);

    EXPECT_EQ(APXPVS::ThemeApi.Resolved(), 46);
    EXPECT_NE(APXPVS::ThemeApi.GetThemePartSize, nullptr);
    for (TThemeApiLoader* unit : {&ACXPVS::ThemeApi, &AdvXPVS::ThemeApi, &ATXPVS::ThemeApi, &ASXPVS::ThemeApi,
                                  &AEBXPVS::ThemeApi, &AOBXPVS::ThemeApi}) {
        EXPECT_EQ(unit->Resolved(), 45);
        EXPECT_EQ(unit->GetThemePartSize, nullptr);
    }
    EXPECT_EQ(CEXPVS::ThemeApi.Resolved(), 4);
    EXPECT_EQ(CEXPVS::ThemeApi.OpenThemeData, &::OpenThemeData);
    EXPECT_EQ(CEXPVS::ThemeApi.CloseThemeData, &::CloseThemeData);
    EXPECT_EQ(CEXPVS::ThemeApi.DrawThemeBackground, &::DrawThemeBackground);
    EXPECT_EQ(CEXPVS::ThemeApi.IsThemeActive, &::IsThemeActive);

    // The exit frees each load; the pointers stay.
    for (TThemeApiLoader* unit : kUnits) unit->Free();
    EXPECT_EQ(ui::sys::ModuleLoadCount(u"uxtheme"), 0);
    EXPECT_FALSE(APXPVS::ThemeApi.Loaded());
    EXPECT_EQ(APXPVS::ThemeApi.Resolved(), 46);
    for (TThemeApiLoader* unit : kUnits) unit->Load();
    EXPECT_EQ(ui::sys::ModuleLoadCount(u"uxtheme"), 8);
}

TEST(ThemeApiLoaders, WithoutTheLibraryEveryPointerStaysNil) {
    ScopedAnswers answers;
    answers->ThemeLibrary = false;
    TThemeApiLoader api("Test", TThemeApiLoader::esAll);
    EXPECT_NO_THROW(api.Load());
    EXPECT_FALSE(api.Loaded());
    EXPECT_EQ(api.Resolved(), 0);
}

TEST(ThemeApiLoaders, AMissingEntryPointStopsTheUnitThere) {
    FARPROC taken = ui::sys::SetModuleExport(u"uxtheme", "DrawThemeText", nullptr);
    ASSERT_NE(taken, nullptr);
    TThemeApiLoader full("APXPVS", TThemeApiLoader::esAll);
    try {
        full.Load();
        ADD_FAILURE() << "no assertion failure";
    } catch (const EAssertionFailed& e) {
        EXPECT_NE(e.Message().ToUtf8().find("DrawThemeText"), std::string::npos);
        EXPECT_NE(e.Message().ToUtf8().find("APXPVS"), std::string::npos);
    }
    // The three before it in the list are bound, nothing after it.
    EXPECT_EQ(full.Resolved(), 3);
    EXPECT_EQ(full.DrawThemeText, nullptr);
    EXPECT_EQ(full.GetThemeBackgroundContentRect, nullptr);
    // The small unit does not need it.
    TThemeApiLoader basic("CEXPVS", TThemeApiLoader::esBasic);
    EXPECT_NO_THROW(basic.Load());
    EXPECT_EQ(basic.Resolved(), 4);
    ui::sys::SetModuleExport(u"uxtheme", "DrawThemeText", taken);
    full.Free();
    basic.Free();
}

TEST(MenuAnimationSwitch, OffWhileTheProgramRunsAndBackAtExit) {
    ScopedAnswers answers;
    answers->MenuAnimation = true;
    MenuAnimationSwitch::Initialize();
    BOOL now = TRUE_;
    SystemParametersInfo(SPI_GETMENUANIMATION, 0, &now, 0);
    EXPECT_FALSE(now);
    EXPECT_TRUE(MenuAnimationSwitch::SavedMenuAnimation);
    MenuAnimationSwitch::Finalize();
    EXPECT_TRUE(answers->MenuAnimation);

    // A start that finds it off leaves it off at exit.
    answers->MenuAnimation = false;
    MenuAnimationSwitch::Initialize();
    MenuAnimationSwitch::Finalize();
    EXPECT_FALSE(answers->MenuAnimation);
}

TEST(ClipboardFormats, TheRegisteredIdentifiers) {
    EXPECT_NE(ClipboardFormats::CF_RTF, 0);
    EXPECT_NE(ClipboardFormats::CF_RTF, ClipboardFormats::CF_HTML);
    EXPECT_EQ(ClipboardFormats::CF_RTF, RegisterClipboardFormat(u"Rich Text Format"));
    EXPECT_EQ(ClipboardFormats::CF_HTML, RegisterClipboardFormat(u"HTML Format"));
}

BOOL FakeSetLayeredWindowAttributes(HWND, COLORREF, BYTE, DWORD) {
    return TRUE_;
}

TEST(LayeredWindowApi, AvailableExactlyWhenTheAttributeFunctionIsExported) {
    // The offscreen desktop shows translucent windows: "user32" exports the layer's functions.
    LayeredWindowApi::Initialize();
    EXPECT_TRUE(LayeredWindowApi::LayeredWindowsAvailable);
    EXPECT_EQ(LayeredWindowApi::SetLayeredWindowAttributes, &::SetLayeredWindowAttributes);
    EXPECT_EQ(LayeredWindowApi::UpdateLayeredWindow, &::UpdateLayeredWindow);
    FARPROC own = ui::sys::SetModuleExport(u"user32", "SetLayeredWindowAttributes",
                                           reinterpret_cast<FARPROC>(&FakeSetLayeredWindowAttributes));
    LayeredWindowApi::Initialize();
    EXPECT_TRUE(LayeredWindowApi::LayeredWindowsAvailable);
    EXPECT_EQ(LayeredWindowApi::SetLayeredWindowAttributes, &FakeSetLayeredWindowAttributes);
    ui::sys::SetModuleExport(u"user32", "SetLayeredWindowAttributes", nullptr);
    LayeredWindowApi::Initialize();
    EXPECT_FALSE(LayeredWindowApi::LayeredWindowsAvailable);
    EXPECT_EQ(LayeredWindowApi::SetLayeredWindowAttributes, nullptr);
    ui::sys::SetModuleExport(u"user32", "SetLayeredWindowAttributes", own);
    LayeredWindowApi::Initialize();
    EXPECT_TRUE(LayeredWindowApi::LayeredWindowsAvailable);
}

}  // namespace
