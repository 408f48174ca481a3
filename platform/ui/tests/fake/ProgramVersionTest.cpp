// The program's own version data, from its version resource.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/Handles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/SystemInfo.h"
#include "platform/win/Resources.h"

namespace {

std::vector<char> VersionData(const String& file) {
    DWORD handle = 0;
    std::vector<char> data(GetFileVersionInfoSize(file, &handle));
    if (!data.empty()) {
        EXPECT_EQ(GetFileVersionInfo(file, handle, static_cast<DWORD>(data.size()), data.data()), TRUE_);
    }
    return data;
}

String StringValue(const std::vector<char>& data, const char* path) {
    void* p = nullptr;
    UINT len = 0;
    if (!VerQueryValue(data.data(), String(path), &p, &len)) return String(u"<absent>");
    EXPECT_GE(len, 1u) << path << ": the length counts the NUL";
    return String(static_cast<const char16_t*>(p));
}

TEST(ProgramVersion, TheProgramsOwnFileAnswersItsVersionResource) {
    const std::string text =
        "Translation=041104b0\n"
        "CompanyName=\n"
        "FileVersion=2.3.4\n"
        "ProductName=Bench ﾃｽﾄ\n"
        "ProductVersion=2.3.4\n";
    win::RegisterResource(MAKEINTRESOURCE(RT_VERSION), String(), 1, reinterpret_cast<const uint8_t*>(text.data()),
                          text.size());
    const std::vector<char> data = VersionData(ParamStr(0));
    ASSERT_FALSE(data.empty());

    void* p = nullptr;
    UINT len = 0;
    ASSERT_EQ(VerQueryValue(data.data(), u"\\VarFileInfo\\Translation", &p, &len), TRUE_);
    ASSERT_EQ(len, 4u);
    EXPECT_EQ(static_cast<const WORD*>(p)[0], 0x0411);
    EXPECT_EQ(static_cast<const WORD*>(p)[1], 0x04B0);
    ASSERT_EQ(VerQueryValue(data.data(), u"\\", &p, &len), TRUE_);
    EXPECT_EQ(static_cast<const VS_FIXEDFILEINFO*>(p)->dwFileVersionMS, 0x20003u);
    EXPECT_EQ(static_cast<const VS_FIXEDFILEINFO*>(p)->dwFileVersionLS, 0x40000u);

    EXPECT_EQ(StringValue(data, "\\StringFileInfo\\041104b0\\FileVersion"), String(u"2.3.4"));
    EXPECT_EQ(StringValue(data, "\\StringFileInfo\\041104b0\\ProductName").ToUtf8(), "Bench ﾃｽﾄ");
    EXPECT_EQ(StringValue(data, "\\StringFileInfo\\041104b0\\CompanyName"), String());
    EXPECT_EQ(StringValue(data, "\\StringFileInfo\\041104b0\\Comments"), String(u"<absent>"));
    EXPECT_EQ(StringValue(data, "\\StringFileInfo\\040904b0\\FileVersion"), String(u"<absent>")) << "another translation";

    // A buffer too small for the block is refused.
    std::vector<char> small(8);
    EXPECT_EQ(GetFileVersionInfo(ParamStr(0), 0, 8, small.data()), FALSE_);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

}  // namespace
