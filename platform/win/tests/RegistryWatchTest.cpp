// Change watches on registry keys, and ini files kept in the registry.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "platform/rtl/Handles.h"
#include "platform/rtl/StringList.h"
#include "platform/win/Registry.h"
#include "platform/win/RegistryIniFile.h"

namespace fs = std::filesystem;

namespace {

class RegistryWatchTest : public ::testing::Test {
protected:
    fs::path root = fs::temp_directory_path() / ("registry-watch-" + std::to_string(::getpid()));
    HANDLE event = nullptr;

    void SetUp() override {
        fs::remove_all(root);
        win::SetRegistryFolder(String((root / "cfg").string()));
        event = CreateEvent(nullptr, TRUE_, FALSE_, nullptr);
    }
    void TearDown() override {
        CloseHandle(event);
        win::SetRegistryFolder(String());
        fs::remove_all(root);
    }
    bool Signalled() { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }
};

TEST_F(RegistryWatchTest, SubtreeValueWatchFiresOnceForAValueBelow) {
    TRegistry watched;
    ASSERT_TRUE(watched.OpenKey(u"Software\\Test", true));
    ASSERT_NE(watched.CurrentKey(), 0u);
    ASSERT_EQ(RegNotifyChangeKeyValue(watched.CurrentKey(), TRUE_, REG_NOTIFY_CHANGE_LAST_SET, event, TRUE_),
              ERROR_SUCCESS);

    TRegistry writer;
    ASSERT_TRUE(writer.OpenKey(u"Software\\Test\\Empty", true));  // a new key is a name change
    EXPECT_FALSE(Signalled());
    ASSERT_TRUE(writer.OpenKey(u"\\Software\\Other", true));
    writer.WriteString(u"Theme", u"1");  // outside the watched key
    EXPECT_FALSE(Signalled());
    ASSERT_TRUE(writer.OpenKey(u"\\Software\\Test\\Sub", true));
    writer.WriteInteger(u"Theme", 2);
    EXPECT_TRUE(Signalled());

    // Once only, until armed again.
    ResetEvent(event);
    writer.WriteInteger(u"Theme", 3);
    EXPECT_FALSE(Signalled());
    ASSERT_EQ(RegNotifyChangeKeyValue(watched.CurrentKey(), TRUE_, REG_NOTIFY_CHANGE_LAST_SET, event, TRUE_),
              ERROR_SUCCESS);
    writer.DeleteValue(u"Theme");
    EXPECT_TRUE(Signalled());
}

TEST_F(RegistryWatchTest, FiltersAndDepthDecideWhatIsSeen) {
    TRegistry watched;
    ASSERT_TRUE(watched.OpenKey(u"Software\\Test", true));
    TRegistry writer;

    // Without the subtree, a value below is not seen, one of the key itself is.
    ASSERT_EQ(RegNotifyChangeKeyValue(watched.CurrentKey(), FALSE_, REG_NOTIFY_CHANGE_LAST_SET, event, TRUE_),
              ERROR_SUCCESS);
    ASSERT_TRUE(writer.OpenKey(u"Software\\Test\\Sub", true));
    writer.WriteString(u"A", u"1");
    EXPECT_FALSE(Signalled());
    ASSERT_TRUE(writer.OpenKey(u"\\Software\\Test", false));
    writer.WriteString(u"A", u"1");
    EXPECT_TRUE(Signalled());
    ResetEvent(event);

    // A name watch sees a new subkey and a deleted one.
    ASSERT_EQ(RegNotifyChangeKeyValue(watched.CurrentKey(), TRUE_, REG_NOTIFY_CHANGE_NAME, event, TRUE_),
              ERROR_SUCCESS);
    writer.WriteString(u"B", u"2");
    EXPECT_FALSE(Signalled());
    ASSERT_TRUE(writer.OpenKey(u"\\Software\\Test\\Sub\\Deeper", true));
    EXPECT_TRUE(Signalled());
    ResetEvent(event);
    ASSERT_EQ(RegNotifyChangeKeyValue(watched.CurrentKey(), TRUE_, REG_NOTIFY_CHANGE_NAME, event, TRUE_),
              ERROR_SUCCESS);
    EXPECT_TRUE(writer.DeleteKey(u"\\Software\\Test\\Sub"));
    EXPECT_TRUE(Signalled());
    ResetEvent(event);

    EXPECT_EQ(RegNotifyChangeKeyValue(watched.CurrentKey(), TRUE_, 0, event, TRUE_), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegNotifyChangeKeyValue(watched.CurrentKey(), TRUE_, 16, event, TRUE_), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegNotifyChangeKeyValue(watched.CurrentKey(), TRUE_, 4, nullptr, TRUE_), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegNotifyChangeKeyValue(0x1234u, TRUE_, 4, event, TRUE_), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryWatchTest, ClosingTheKeyEndsTheWatchWithItsEvent) {
    TRegistry watched;
    ASSERT_TRUE(watched.OpenKey(u"Software\\Test", true));
    HKEY key = watched.CurrentKey();
    ASSERT_EQ(RegNotifyChangeKeyValue(key, TRUE_, REG_NOTIFY_CHANGE_LAST_SET, event, TRUE_), ERROR_SUCCESS);
    watched.CloseKey();
    EXPECT_EQ(watched.CurrentKey(), 0u);
    EXPECT_TRUE(Signalled());
    EXPECT_EQ(RegNotifyChangeKeyValue(key, TRUE_, REG_NOTIFY_CHANGE_LAST_SET, event, TRUE_), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryWatchTest, IniFileInTheRegistryKeepsSectionsAsSubkeys) {
    TRegistryIniFile ini(u"Software\\Test\\Form1");
    ini.WriteString(u"Edit1", u"Edit1", u"$12");
    EXPECT_EQ(ini.ReadString(u"Edit1", u"Edit1", u""), u"$12");
    EXPECT_EQ(ini.ReadInteger(u"Edit1", u"Edit1", 0), 0x12);
    EXPECT_EQ(ini.ReadString(u"Edit1", u"Missing", u"default"), u"default");
    EXPECT_EQ(ini.ReadString(u"NoSection", u"Edit1", u"default"), u"default");

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(u"Software\\Test\\Form1\\Edit1"));
    EXPECT_EQ(reg.ReadString(u"Edit1"), u"$12");

    ini.WriteInteger(u"Edit2", u"Count", 5);
    TStringList sections, names, values;
    ini.ReadSections(&sections);
    ASSERT_EQ(sections.Count(), 2);
    EXPECT_TRUE(ini.SectionExists(u"Edit2"));
    EXPECT_FALSE(ini.SectionExists(u"Edit3"));
    ini.ReadSection(u"Edit2", &names);
    ASSERT_EQ(names.Count(), 1);
    EXPECT_EQ(names[0], u"Count");
    ini.ReadSectionValues(u"Edit1", &values);
    ASSERT_EQ(values.Count(), 1);
    EXPECT_EQ(values[0], u"Edit1=$12");
    EXPECT_TRUE(ini.ValueExists(u"Edit2", u"Count"));
    ini.DeleteKey(u"Edit2", u"Count");
    EXPECT_FALSE(ini.ValueExists(u"Edit2", u"Count"));
    ini.EraseSection(u"Edit1");
    EXPECT_FALSE(ini.SectionExists(u"Edit1"));
    EXPECT_FALSE(reg.KeyExists(u"\\Software\\Test\\Form1\\Edit1"));
}

}  // namespace
