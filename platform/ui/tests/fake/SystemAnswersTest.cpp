// The module table, the version and system answers, and the shell's open.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/rtl/Handles.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/LayeredWindows.h"
#include "platform/ui/Modules.h"
#include "platform/ui/ShellApi.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/ui/Themes.h"

namespace {

class SystemAnswersTest : public ::testing::Test {
protected:
    ui::test::AppScope scope;
    void TearDown() override {
        ui::sys::ResetAnswers();
        ui::SetUrlOpenerHook(nullptr);
    }
};

const char* const kThemeEntryPoints[] = {
    "OpenThemeData", "CloseThemeData", "DrawThemeBackground", "DrawThemeText", "GetThemeBackgroundContentRect",
    "GetThemeBackgroundExtent", "GetThemeTextExtent", "GetThemeTextMetrics", "GetThemeBackgroundRegion",
    "HitTestThemeBackground", "DrawThemeEdge", "DrawThemeIcon", "IsThemePartDefined",
    "IsThemeBackgroundPartiallyTransparent", "GetThemeColor", "GetThemeMetric", "GetThemeString", "GetThemeBool",
    "GetThemeInt", "GetThemeEnumValue", "GetThemePosition", "GetThemeFont", "GetThemeRect", "GetThemeMargins",
    "GetThemeIntList", "SetWindowTheme", "GetThemeFilename", "GetThemeSysColor", "GetThemeSysColorBrush",
    "GetThemeSysBool", "GetThemeSysSize", "GetThemeSysFont", "GetThemeSysString", "GetThemeSysInt", "IsThemeActive",
    "IsAppThemed", "GetWindowTheme", "EnableThemeDialogTexture", "IsThemeDialogTextureEnabled",
    "GetThemeAppProperties", "SetThemeAppProperties", "GetCurrentThemeName", "GetThemeDocumentationProperty",
    "GetThemePartSize", "DrawThemeParentBackground", "EnableTheming"};

TEST_F(SystemAnswersTest, ThemeLibraryLoadsUnderEitherCaseAndExportsEveryEntryPoint) {
    HMODULE upper = LoadLibrary(u"UXTHEME.DLL");
    HMODULE lower = LoadLibrary(u"uxtheme.dll");
    ASSERT_GE(upper, 32u);
    EXPECT_EQ(upper, lower);
    EXPECT_EQ(upper, LoadLibrary(u"C:\\Windows\\System32\\UxTheme"));
    EXPECT_EQ(std::size(kThemeEntryPoints), 46u);
    for (const char* name : kThemeEntryPoints) EXPECT_NE(GetProcAddress(upper, name), nullptr) << name;
    EXPECT_EQ(GetProcAddress(upper, "NoSuchFunction"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);

    // A pointer from the table calls the layer's function.
    auto isActive = reinterpret_cast<BOOL (*)()>(GetProcAddress(upper, "IsThemeActive"));
    EXPECT_EQ(isActive(), TRUE_);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(FreeLibrary(upper), TRUE_);
    EXPECT_EQ(GetModuleHandle(u"uxtheme"), 0u);
}

TEST_F(SystemAnswersTest, EightLoadsNeedEightFrees) {
    HMODULE h = 0;
    for (int i = 0; i < 8; ++i) h = LoadLibrary(u"UXTHEME.DLL");
    for (int i = 0; i < 7; ++i) {
        ASSERT_EQ(FreeLibrary(h), TRUE_);
        EXPECT_EQ(GetModuleHandle(u"uxtheme.dll"), h) << "after " << i + 1 << " frees";
    }
    ASSERT_EQ(FreeLibrary(h), TRUE_);
    EXPECT_EQ(GetModuleHandle(u"uxtheme.dll"), 0u);
    EXPECT_EQ(GetProcAddress(h, "OpenThemeData"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(FreeLibrary(h), FALSE_);
}

TEST_F(SystemAnswersTest, MissingModulesAndTheSwitchedOffThemeLibraryAnswerZero) {
    EXPECT_EQ(LoadLibrary(u"nosuch.dll"), 0u);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    ui::sys::Answers().ThemeLibrary = false;
    EXPECT_EQ(LoadLibrary(u"UXTHEME.DLL"), 0u);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(IsThemeActive(), FALSE_);
    EXPECT_EQ(OpenThemeData(nullptr, u"button"), nullptr);
}

TEST_F(SystemAnswersTest, KernelUserAndCommonControlsExportWhatTheLayerHas) {
    HMODULE kernel = GetModuleHandle(u"kernel32");
    ASSERT_NE(kernel, 0u);
    auto getLocaleInfoEx = reinterpret_cast<int (*)(const char16_t*, LCTYPE, char16_t*, int)>(
        GetProcAddress(kernel, "GetLocaleInfoEx"));
    ASSERT_NE(getLocaleInfoEx, nullptr);
    char16_t name[16] = {};
    EXPECT_EQ(getLocaleInfoEx(nullptr, LOCALE_SNAME, name, 16), 6);
    EXPECT_EQ(String(name), u"en-US");
    EXPECT_EQ(getLocaleInfoEx(nullptr, LOCALE_SNAME, name, 3), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);

    ui::sys::Answers().MajorVersion = 5;
    ui::sys::Answers().MinorVersion = 1;
    EXPECT_EQ(GetProcAddress(GetModuleHandle(u"kernel32"), "GetLocaleInfoEx"), nullptr);

    HMODULE comctl = LoadLibrary(u"comctl32.dll");
    ASSERT_NE(comctl, 0u);
    EXPECT_EQ(GetModuleHandle(u"comctl32.dll"), comctl);
    for (const char* flat : {"InitializeFlatSB", "UninitializeFlatSB", "FlatSB_SetScrollProp", "FlatSB_SetScrollInfo",
                             "FlatSB_ShowScrollBar"})
        EXPECT_EQ(GetProcAddress(comctl, flat), nullptr) << flat;
    FreeLibrary(comctl);

    HMODULE user = LoadLibrary(u"user32.dll");
    TUpdateLayeredWindow update = reinterpret_cast<TUpdateLayeredWindow>(GetProcAddress(user, "UpdateLayeredWindow"));
    TSetLayeredWindowAttributes attrs =
        reinterpret_cast<TSetLayeredWindowAttributes>(GetProcAddress(user, "SetLayeredWindowAttributes"));
    EXPECT_EQ(update, nullptr);
    EXPECT_EQ(attrs, nullptr);
    auto metrics = reinterpret_cast<int (*)(int)>(GetProcAddress(user, "GetSystemMetrics"));
    ASSERT_NE(metrics, nullptr);
    EXPECT_EQ(metrics(SM_CXVSCROLL), 17);
    // The process's own modules stay loaded whatever is freed.
    FreeLibrary(user);
    FreeLibrary(user);
    EXPECT_EQ(GetModuleHandle(u"USER32"), user);
}

TEST_F(SystemAnswersTest, VersionAnswersFollowTheTable) {
    OSVERSIONINFO info;
    ASSERT_EQ(GetVersionEx(&info), TRUE_);
    EXPECT_EQ(info.dwMajorVersion, 6u);
    EXPECT_EQ(info.dwMinorVersion, 1u);
    EXPECT_EQ(GetVersion() & 0xFFFF, 0x0106u);
    OSVERSIONINFO wrong;
    wrong.dwOSVersionInfoSize = 12;
    EXPECT_EQ(GetVersionEx(&wrong), FALSE_);

    ui::sys::Answers().MajorVersion = 5;
    ui::sys::Answers().MinorVersion = 1;
    ASSERT_EQ(GetVersionEx(&info), TRUE_);
    EXPECT_EQ(info.dwMajorVersion, 5u);
    EXPECT_EQ(GetVersion() & 0xFFFF, 0x0105u);
}

TEST_F(SystemAnswersTest, CommonControlsFileVersionIsSixOrLater) {
    for (const char16_t* file : {u"COMCTL32.DLL", u"comctl32.dll", u"C:\\Windows\\System32\\comctl32.dll"}) {
        DWORD handle = 7;
        DWORD size = GetFileVersionInfoSize(file, &handle);
        ASSERT_GT(size, 0u) << String(file).ToUtf8();
        EXPECT_EQ(handle, 0u);
        std::vector<char> data(size);
        ASSERT_EQ(GetFileVersionInfo(file, handle, size, data.data()), TRUE_);
        void* fixed = nullptr;
        UINT len = 0;
        ASSERT_EQ(VerQueryValue(data.data(), u"\\", &fixed, &len), TRUE_);
        ASSERT_EQ(len, sizeof(VS_FIXEDFILEINFO));
        const auto* vs = static_cast<const VS_FIXEDFILEINFO*>(fixed);
        EXPECT_GE(vs->dwFileVersionMS, 0x40046u);
        EXPECT_GT(vs->dwFileVersionMS >> 16 & 0xFF, 5u);
        EXPECT_EQ(vs->dwSignature, 0xFEEF04BDu);
        EXPECT_EQ(VerQueryValue(data.data(), u"\\StringFileInfo\\040904b0\\FileVersion", &fixed, &len), FALSE_);
    }
    std::vector<char> small(4);
    EXPECT_EQ(GetFileVersionInfo(u"COMCTL32.DLL", 0, 4, small.data()), FALSE_);

    ui::sys::Answers().ComCtlMajor = 5;
    ui::sys::Answers().ComCtlMinor = 82;
    std::vector<char> data(GetFileVersionInfoSize(u"COMCTL32.DLL", nullptr));
    ASSERT_EQ(GetFileVersionInfo(u"COMCTL32.DLL", 0, static_cast<DWORD>(data.size()), data.data()), TRUE_);
    void* fixed = nullptr;
    UINT len = 0;
    ASSERT_EQ(VerQueryValue(data.data(), u"\\", &fixed, &len), TRUE_);
    EXPECT_EQ(static_cast<const VS_FIXEDFILEINFO*>(fixed)->dwFileVersionMS, 0x50052u);
}

TEST_F(SystemAnswersTest, FileWithoutVersionDataAnswersSizeZero) {
    String path = String(testing::TempDir().c_str()) + u"plain-" + String(std::to_string(::getpid()).c_str()) + u".txt";
    FILE* f = std::fopen(path.ToUtf8().c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("just text\n", f);
    std::fclose(f);
    DWORD handle = 0;
    EXPECT_EQ(GetFileVersionInfoSize(path, &handle), 0u);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
    std::remove(path.ToUtf8().c_str());
}

TEST_F(SystemAnswersTest, MetricsAreTheClassicValues) {
    struct Case {
        int index;
        int value;
    } cases[] = {{SM_CXVSCROLL, 17}, {SM_CYHSCROLL, 17}, {SM_CXHSCROLL, 17}, {SM_CXBORDER, 1},
                 {SM_CYBORDER, 1},   {SM_CXEDGE, 2},     {SM_CYEDGE, 2}};
    for (const Case& c : cases) EXPECT_EQ(GetSystemMetrics(c.index), c.value) << c.index;
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), Screen->Width());
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), Screen->Height());
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
    EXPECT_EQ(GetSystemMetrics(9999), 0);
    EXPECT_TRUE(NewStyleControls);
    EXPECT_FALSE(SysLocale.MiddleEast);
}

TEST_F(SystemAnswersTest, MenuAnimationReadsBackWhatWasSet) {
    BOOL on = FALSE_;
    ASSERT_EQ(SystemParametersInfo(SPI_GETMENUANIMATION, 0, &on, 0), TRUE_);
    EXPECT_EQ(on, TRUE_);
    ASSERT_EQ(SystemParametersInfo(SPI_SETMENUANIMATION, 0, nullptr, SPIF_SENDCHANGE), TRUE_);
    ASSERT_EQ(SystemParametersInfo(SPI_GETMENUANIMATION, 0, &on, 0), TRUE_);
    EXPECT_EQ(on, FALSE_);
    ASSERT_EQ(SystemParametersInfo(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(1), SPIF_SENDCHANGE), TRUE_);
    ASSERT_EQ(SystemParametersInfo(SPI_GETMENUANIMATION, 0, &on, 0), TRUE_);
    EXPECT_EQ(on, TRUE_);
    EXPECT_EQ(SystemParametersInfo(0x7777, 0, &on, 0), FALSE_);
}

TEST_F(SystemAnswersTest, WheelLinesComeFromTheDesktopUnlessSet) {
    UINT lines = 0;
    ASSERT_EQ(SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0), TRUE_);
    EXPECT_EQ(lines, 3u);  // the headless desktop says nothing
    ui::sys::Answers().WheelScrollLines = 7;
    ASSERT_EQ(SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0), TRUE_);
    EXPECT_EQ(lines, 7u);
    ui::sys::Answers().WheelScrollLines = -1;
    ASSERT_EQ(SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0), TRUE_);
    EXPECT_EQ(lines, WHEEL_PAGESCROLL);
}

TEST_F(SystemAnswersTest, HighContrastFollowsTheTable) {
    char16_t scheme[] = u"none";
    HIGHCONTRAST hc;
    hc.dwFlags = 0xF0;
    hc.lpszDefaultScheme = scheme;
    ASSERT_EQ(SystemParametersInfo(SPI_GETHIGHCONTRAST, sizeof(HIGHCONTRAST), &hc, 0), TRUE_);
    EXPECT_EQ(hc.dwFlags, 0u);
    EXPECT_EQ(hc.lpszDefaultScheme, nullptr);
    ui::sys::Answers().HighContrast = true;
    ASSERT_EQ(SystemParametersInfo(SPI_GETHIGHCONTRAST, sizeof(HIGHCONTRAST), &hc, 0), TRUE_);
    EXPECT_EQ(hc.dwFlags, HCF_HIGHCONTRASTON);

    // No record, or one of another size: refused, and nothing is written.
    SetLastError(0);
    EXPECT_EQ(SystemParametersInfo(SPI_GETHIGHCONTRAST, sizeof(HIGHCONTRAST), nullptr, 0), FALSE_);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    for (UINT size : {0u, static_cast<UINT>(sizeof(HIGHCONTRAST) - 1), static_cast<UINT>(sizeof(HIGHCONTRAST) + 4)}) {
        HIGHCONTRAST bad;
        bad.cbSize = size;
        bad.dwFlags = 0xF0;
        bad.lpszDefaultScheme = scheme;
        SetLastError(0);
        EXPECT_EQ(SystemParametersInfo(SPI_GETHIGHCONTRAST, sizeof(HIGHCONTRAST), &bad, 0), FALSE_) << size;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << size;
        EXPECT_EQ(bad.dwFlags, 0xF0u) << size;
        EXPECT_EQ(bad.lpszDefaultScheme, scheme) << size;
    }
}

TEST_F(SystemAnswersTest, CurrentThemeNameFillsTheCallersBuffers) {
    char16_t file[255], color[255], size[255];
    std::fill(std::begin(color), std::end(color), u'x');
    ASSERT_EQ(GetCurrentThemeName(file, 255, color, 255, size, 255), S_OK);
    EXPECT_EQ(String(color), u"");
    ui::sys::Answers().ThemeColorName = u"NormalColor";
    ASSERT_EQ(GetCurrentThemeName(file, 255, color, 255, size, 255), S_OK);
    EXPECT_EQ(String(color), u"NormalColor");
    EXPECT_EQ(GetCurrentThemeName(nullptr, 0, color, 5, nullptr, 0), E_INSUFFICIENT_BUFFER);
    ui::sys::Answers().ThemeActive = false;
    EXPECT_TRUE(FAILED(GetCurrentThemeName(file, 255, color, 255, size, 255)));
}

TEST_F(SystemAnswersTest, ShellOpenHandsTheTargetToTheOpener) {
    std::vector<String> opened;
    ui::SetUrlOpenerHook([&](const String& target) {
        opened.push_back(target);
        return true;
    });
    HINSTANCE r = ShellExecute(nullptr, u"open", u"http://localhost/x", nullptr, nullptr, SW_SHOWNORMAL);
    EXPECT_GT(r, 32u);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], u"http://localhost/x");

    // A relative document resolves against the folder; a missing one never reaches the opener.
    String dir = String(testing::TempDir().c_str());
    String name = u"doc-" + String(std::to_string(::getpid()).c_str()) + u".txt";
    FILE* f = std::fopen((dir + u"/" + name).ToUtf8().c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_GT(ShellExecute(nullptr, nullptr, name.c_str(), nullptr, dir.c_str(), SW_SHOWNORMAL), 32u);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1].substr(0, 1), u"/");
    EXPECT_EQ(ShellExecute(nullptr, u"open", u"missing-file.txt", nullptr, dir.c_str(), SW_SHOWNORMAL), SE_ERR_FNF);
    EXPECT_EQ(ShellExecute(nullptr, u"open", u"/no/such/folder/file.txt", nullptr, nullptr, SW_SHOWNORMAL), SE_ERR_PNF);
    EXPECT_EQ(ShellExecute(nullptr, u"print", u"http://localhost/x", nullptr, nullptr, SW_SHOWNORMAL), SE_ERR_NOASSOC);
    EXPECT_EQ(opened.size(), 2u);
    std::remove((dir + u"/" + name).ToUtf8().c_str());

    ui::SetUrlOpenerHook([](const String&) { return false; });
    EXPECT_EQ(ShellExecute(nullptr, u"open", u"http://localhost/y", nullptr, nullptr, SW_SHOWNORMAL), SE_ERR_NOASSOC);
}

}  // namespace
