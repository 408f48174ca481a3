// Settings in ini files: the checks of Handle, where the file lies, and the handler's writes.
#include <gtest/gtest.h>

#include <filesystem>

#include "controls/instrument/_GClass.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/tests/TempDir.h"

namespace {

TEST(IniSettings, EmptyNamesAreReportedAndNoHandlerRuns) {
    struct Case {
        const char* file;
        const char* section;
        const char* message;
    };
    for (Case c : {Case{"", "", "Invalid SectionName"}, Case{"", "Counter", "Invalid FileName"},
                   Case{"x.ini", "", "Invalid SectionName"}}) {
        TIniSettings s;
        s.SetFileName(c.file);
        s.SetSection(c.section);
        bool called = false;
        s.OnHandleIniEvent = [&](TIniFile*, bool) { called = true; };
        s.Handle(true);
        EXPECT_TRUE(s.Error) << c.file << "|" << c.section;
        EXPECT_EQ(s.ErrString, String(c.message)) << c.file << "|" << c.section;
        EXPECT_FALSE(called);
        // A good call afterwards clears the report.
        s.SetFileName("x.ini");
        s.SetSection("Counter");
        s.OnHandleIniEvent = nullptr;
        s.Handle(true);
        EXPECT_FALSE(s.Error);
        EXPECT_TRUE(s.ErrString.IsEmpty());
    }
}

TEST(IniSettings, DefaultsAndAutoHandle) {
    TIniSettings s;
    EXPECT_TRUE(s.UseAppDir());
    EXPECT_FALSE(s.AutoLoadSave());
    EXPECT_EQ(s.IniFile(), nullptr);
    // A failed call leaves its report; AutoHandle without AutoLoadSave neither runs nor clears it.
    s.Handle(false);
    ASSERT_TRUE(s.Error);
    s.SetFileName("x.ini");
    s.SetSection("Counter");
    int calls = 0;
    s.OnHandleIniEvent = [&](TIniFile*, bool) { ++calls; };
    s.AutoHandle(true);
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(s.Error);
    EXPECT_EQ(s.ErrString, String("Invalid SectionName"));
    s.SetAutoLoadSave(true);
    s.AutoHandle(true);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(s.Error);
}

TEST(IniSettings, UseAppDirTakesTheNameIntoTheExecutablesFolder) {
    rtl_test::TempDir dir("rwb-inisettings");
    ASSERT_FALSE(dir.Path.empty());
    const String given = String(dir.File("sub")) + "/x.ini";
    TIniSettings s;
    s.SetFileName(given);
    s.SetSection("Counter");
    String opened;
    bool read = false;
    s.OnHandleIniEvent = [&](TIniFile* Ini, bool Read) {
        EXPECT_EQ(s.IniFile(), Ini);
        opened = Ini->FileName();
        read = Read;
    };
    s.Handle(true);
    EXPECT_FALSE(s.Error);
    EXPECT_TRUE(read);
    EXPECT_EQ(opened, ExeFolder() + "x.ini");
    EXPECT_EQ(s.IniFile(), nullptr);
    // Reading wrote nothing into the executable's folder.
    EXPECT_FALSE(FileExists(ExeFolder() + "x.ini"));

    s.SetUseAppDir(false);
    s.Handle(true);
    EXPECT_EQ(opened, given);
}

TEST(IniSettings, TheHandlersWriteIsInTheFileAtOnce) {
    rtl_test::TempDir dir("rwb-inisettings");
    ASSERT_FALSE(dir.Path.empty());
    const std::string path = dir.File("hours.ini");
    TIniSettings s;
    s.SetUseAppDir(false);
    s.SetFileName(String(path));
    s.SetSection("OpHour");
    std::string seen;
    s.OnHandleIniEvent = [&](TIniFile* Ini, bool Read) {
        if (Read) {
            EXPECT_EQ(Ini->ReadInteger(s.Section(), "Hours", -1), 12);
            return;
        }
        Ini->WriteInteger(s.Section(), "Hours", 12);
        seen = rtl_test::ReadAll(path);
    };
    s.Handle(false);
    EXPECT_NE(seen.find("[OpHour]"), std::string::npos) << seen;
    EXPECT_NE(seen.find("Hours=12"), std::string::npos) << seen;
    s.Handle(true);
    // With no handler the file is opened and let go; nothing is reported and nothing changes.
    s.OnHandleIniEvent = nullptr;
    s.Handle(false);
    EXPECT_FALSE(s.Error);
    EXPECT_EQ(rtl_test::ReadAll(path), seen);
}

TEST(IniSettings, ErrorsOfTheFileReachTheCallerAndTheFileIsLetGo) {
    rtl_test::TempDir dir("rwb-inisettings");
    ASSERT_FALSE(dir.Path.empty());
    TIniSettings s;
    s.SetUseAppDir(false);
    s.SetFileName(String(dir.File("x.ini")));
    s.SetSection("S");
    s.OnHandleIniEvent = [](TIniFile* Ini, bool) { Ini->WriteString("S", "Key", "two\nlines"); };
    EXPECT_THROW(s.Handle(false), EIniFileException);
    EXPECT_EQ(s.IniFile(), nullptr);
    EXPECT_FALSE(s.Error);
}

}  // namespace
