// A backend that lacks a part of the desktop says so: the library answers as the platform does
// when the feature is missing where it can, and a call made anyway raises an error that names it.
#include <gtest/gtest.h>

#include "platform/ui/Clipbrd.h"
#include "platform/ui/Printers.h"
#include "platform/ui/ShellApi.h"
#include "platform/ui/Themes.h"
#include "platform/ui/backend/Backend.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

using CapabilitiesTest = ui::test::AppTest;

}  // namespace

TEST_F(CapabilitiesTest, ACallTheBackendCannotServeRaisesAnErrorNamingIt) {
    ui::Backend& backend = ui::GetBackend();
    struct Case {
        ui::Capability capability;
        const char* call;
        std::function<void()> make;
    };
    const Case cases[] = {
        {ui::Capability::Printing, "Printing", [] { Printer()->Printers(); }},
        {ui::Capability::OpenUrl, "OpenUrl", [&] { backend.OpenUrl(String("https://example.org/")); }},
        {ui::Capability::MessageBoxes, "ShowMessageBox", [&] { backend.ShowMessageBox(String("?"), String(), MB_OK); }},
        {ui::Capability::Clipboard, "Clipboard", [&] { backend.Clipboard(); }},
        {ui::Capability::CommonDialogs, "Dialogs", [&] { backend.Dialogs(); }},
        {ui::Capability::DragDrop, "DragDrop", [&] { backend.DragDrop(); }},
        {ui::Capability::ImageDecoders, "Decoders", [&] { backend.Decoders(); }},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(backend.Supports(c.capability)) << c.call;
        try {
            c.make();
            ADD_FAILURE() << c.call << " raised nothing";
        } catch (const EBackendUnsupported& e) {
            EXPECT_EQ(e.Message(), String("The fake backend has no ") + String(c.call));
        }
    }
}

TEST_F(CapabilitiesTest, TheLibraryAnswersWithoutTheMissingParts) {
    // No opener: the desktop will not open it.
    EXPECT_EQ(ShellExecute(nullptr, u"open", u"https://example.org/", nullptr, nullptr, 1), SE_ERR_NOASSOC);
    // No themed parts: the drawing fails, the bitmap keeps its pixels.
    HTHEME theme = OpenThemeData(nullptr, u"button");
    ASSERT_NE(theme, nullptr);
    TBitmap bmp(20, 10);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(Rect(0, 0, 20, 10));
    TRect r = Rect(0, 0, 20, 10);
    EXPECT_EQ(DrawThemeBackground(theme, bmp.Canvas()->Handle(), BP_PUSHBUTTON, PBS_NORMAL, &r, nullptr), E_FAIL);
    EXPECT_EQ(bmp.Canvas()->Pixels(5, 5), clWhite);
    CloseThemeData(theme);
    // No desktop clipboard: the process keeps its own.
    Clipboard()->SetAsText(String("ｱﾝﾃﾅ"));
    EXPECT_EQ(Clipboard()->AsText(), String("ｱﾝﾃﾅ"));
    // No message box: nobody is there to answer, so the first button does.
    EXPECT_EQ(Application->MessageBox(String("Retry?"), String(), MB_RETRYCANCEL), IDRETRY);
}
