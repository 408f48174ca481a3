// The version strings of the program's own file, and of a file without version data.
#include <gtest/gtest.h>

#include <fstream>

#include "app/GetVersion2.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/tests/TempDir.h"

namespace {

TEST(VersionData, TheProgramCarriesTheBuildsVersion) {
    TEXEVersionData data;
    data.Comments = String("kept");
    GetEXEVersionData(ParamStr(0), data);
    EXPECT_EQ(data.FileVersion.ToUtf8(), RWB_VERSION);
    EXPECT_EQ(data.ProductVersion.ToUtf8(), RWB_VERSION);
    EXPECT_EQ(data.ProductName.ToUtf8(), RWB_PRODUCT_NAME);
    EXPECT_EQ(data.CompanyName, String());
    EXPECT_EQ(data.Comments, String()) << "every string of the table is read";
}

TEST(VersionData, TheTranslationKeyIsEightLowercaseHexDigits) {
    EXPECT_EQ(VersionTranslationKey(0x0411, 0x04B0).ToUtf8(), "041104b0");
    EXPECT_EQ(VersionTranslationKey(0xABCD, 0x0001).ToUtf8(), "abcd0001");
}

TEST(VersionData, AFileWithoutVersionDataRaisesTheLastError) {
    rtl_test::TempDir dir("rwb-version");
    std::ofstream(dir.File("plain.txt")) << "no version here";
    TEXEVersionData data;
    try {
        GetEXEVersionData(String(dir.File("plain.txt")), data);
        FAIL() << "no exception";
    } catch (const EOSError& e) {
        EXPECT_NE(e.Message().ToUtf8().find("Code: 1813."), std::string::npos) << e.Message().ToUtf8();
    }
    EXPECT_EQ(data.FileVersion, String());
}

}  // namespace
