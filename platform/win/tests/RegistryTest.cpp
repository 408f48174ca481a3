// The registry store: keys and values in one file per root under a folder of the test's own.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StringList.h"
#include "platform/win/Registry.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Lines(const TStrings& s) {
    std::vector<std::string> out;
    for (int i = 0; i < s.Count(); ++i) out.push_back(s.Get(i).ToUtf8());
    return out;
}

class RegistryTest : public ::testing::Test {
protected:
    fs::path root = fs::temp_directory_path() / ("registry-" + std::to_string(::getpid()));

    void SetUp() override {
        fs::remove_all(root);
        win::SetRegistryFolder(String((root / "cfg").string()));
    }
    void TearDown() override {
        win::SetRegistryFolder(String());
        fs::remove_all(root);
    }
};

// A file of the tests' data folder.
fs::path DataFile(const char* name) { return fs::path(RWB_TEST_DATA_DIR) / name; }

}  // namespace

TEST_F(RegistryTest, ValuesPersistInTheFileOfTheirRoot) {
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(reg.OpenKey(u"Software\\Test\\ComPort1", true));
        reg.WriteString(u"Port", u"ttyUSB0");
        reg.WriteInteger(u"CustomBaudRate", 250000);
        reg.WriteBool(u"Flag", true);
    }
    String lm = win::RegistryFileName(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(lm.ToUtf8(), (root / "cfg" / "registry-HKEY_LOCAL_MACHINE.ini").string());
    TMemIniFile ini(lm);
    EXPECT_EQ(ini.ReadString(u"Software\\Test\\ComPort1", u"Port", u"").ToUtf8(), "ttyUSB0");
    EXPECT_FALSE(fs::exists(win::RegistryFileName(HKEY_CURRENT_USER).ToUtf8()));

    TRegistry again;  // a fresh object reads what the first wrote; names ignore case
    again.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(again.OpenKey(u"\\software\\TEST\\comport1", false));
    EXPECT_EQ(again.ReadString(u"port").ToUtf8(), "ttyUSB0");
    EXPECT_EQ(again.ReadInteger(u"CustomBaudRate"), 250000);
    EXPECT_TRUE(again.ReadBool(u"Flag"));
    EXPECT_TRUE(again.ValueExists(u"Port"));
    EXPECT_FALSE(again.ValueExists(u"Missing"));
    EXPECT_TRUE(again.ReadString(u"Missing").empty());
    TStringList names;
    again.GetValueNames(&names);
    EXPECT_EQ(Lines(names), (std::vector<std::string>{"Port", "CustomBaudRate", "Flag"}));

    TRegistry user;  // the other root does not see it
    EXPECT_FALSE(user.OpenKey(u"Software\\Test\\ComPort1", false));
}

TEST_F(RegistryTest, KeysFormATree) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(u"Software\\App\\Ports", true));  // empty keys exist too
    ASSERT_TRUE(reg.OpenKey(u"\\Software\\App\\Other", true));
    ASSERT_TRUE(reg.OpenKey(u"Deeper", true));  // relative to the open key
    EXPECT_EQ(reg.CurrentPath().ToUtf8(), "Software\\App\\Other\\Deeper");
    EXPECT_TRUE(reg.KeyExists(u"\\Software\\App"));
    EXPECT_FALSE(reg.KeyExists(u"\\Software\\Ap"));
    EXPECT_FALSE(reg.OpenKey(u"\\Software\\Missing", false));

    ASSERT_TRUE(reg.OpenKey(u"\\Software\\App", false));
    TStringList keys;
    reg.GetKeyNames(&keys);
    EXPECT_EQ(Lines(keys), (std::vector<std::string>{"Ports", "Other"}));

    EXPECT_TRUE(reg.DeleteKey(u"Other"));  // with everything below it
    EXPECT_FALSE(reg.KeyExists(u"\\Software\\App\\Other\\Deeper"));
    EXPECT_TRUE(reg.KeyExists(u"\\Software\\App\\Ports"));
    EXPECT_FALSE(reg.DeleteKey(u"\\Software\\Nothing"));

    ASSERT_TRUE(reg.OpenKey(u"\\Software\\App\\Ports", false));
    reg.WriteString(u"A", u"1");
    EXPECT_TRUE(reg.DeleteValue(u"A"));
    EXPECT_FALSE(reg.DeleteValue(u"A"));
    EXPECT_FALSE(reg.ValueExists(u"A"));
}

TEST_F(RegistryTest, FailuresAreReported) {
    TRegistry reg;
    // Nothing open: reads and writes raise instead of landing somewhere else.
    EXPECT_THROW(reg.WriteString(u"X", u"1"), ERegistryException);
    EXPECT_THROW(reg.ReadString(u"X"), ERegistryException);

    ASSERT_TRUE(reg.OpenKey(u"Software\\App", true));
    reg.WriteString(u"Text", u"abc");
    EXPECT_THROW(reg.ReadInteger(u"Text"), ERegistryException);     // not a number
    EXPECT_THROW(reg.ReadInteger(u"Missing"), ERegistryException);  // no default to give
    EXPECT_THROW(reg.WriteString(u"Two\nLines", u"x"), ERegistryException);

    ASSERT_TRUE(reg.OpenKeyReadOnly(u"\\Software\\App"));
    EXPECT_THROW(reg.WriteString(u"Text", u"x"), ERegistryException);

    // A folder that cannot be made (its parent is a file): nothing can be created or written.
    std::ofstream(root / "file") << "x";
    win::SetRegistryFolder(String((root / "file" / "cfg").string()));
    TRegistry blocked;
    EXPECT_FALSE(blocked.OpenKey(u"Software\\App", true));
    EXPECT_THROW(blocked.WriteString(u"X", u"1"), ERegistryException);
}

TEST_F(RegistryTest, EnvironmentChoosesTheFolder) {
    win::SetRegistryFolder(String());
    std::string saved = getenv("RWB_REGISTRY_DIR") ? getenv("RWB_REGISTRY_DIR") : "";
    setenv("RWB_REGISTRY_DIR", (root / "env").c_str(), 1);
    EXPECT_EQ(win::RegistryFolder().ToUtf8(), (root / "env").string());
    unsetenv("RWB_REGISTRY_DIR");
    std::string xdg = getenv("XDG_CONFIG_HOME") ? getenv("XDG_CONFIG_HOME") : "";
    setenv("XDG_CONFIG_HOME", (root / "xdg").c_str(), 1);
    EXPECT_EQ(win::RegistryFolder().ToUtf8(), (root / "xdg" / "radio-workbench").string());
    if (xdg.empty()) unsetenv("XDG_CONFIG_HOME"); else setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
    if (!saved.empty()) setenv("RWB_REGISTRY_DIR", saved.c_str(), 1);
}

TEST_F(RegistryTest, WritersOnTwoThreadsKeepEachOthersValues) {
    auto writer = [](const char* prefix) {
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey(u"Software\\Test", true));
        for (int i = 0; i < 60; ++i) reg.WriteInteger(String(prefix + std::to_string(i)), i);
    };
    std::thread a(writer, "a"), b(writer, "b");
    a.join();
    b.join();
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey(u"Software\\Test", false));
    TStringList names;
    reg.GetValueNames(&names);
    EXPECT_EQ(names.Count(), 120);
}

// A key that exists only through a key below it gets a section of its own when a value is
// written to it. A name the file cannot hold (it would read back as another key) is an error, not
// a value written where no read finds it. The fixture holds such a key below an unclosed section.
TEST_F(RegistryTest, AValueWrittenToAKeyReadsBackOrRaises) {
    fs::create_directories(root / "cfg");
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(u"Software\\Deep\\Below", true));
        ASSERT_TRUE(reg.OpenKey(u"\\Software\\Deep", false));
        reg.WriteString(u"Name", u"value");
        EXPECT_EQ(reg.ReadString(u"Name").ToUtf8(), "value");
    }
    fs::path fixture = DataFile("registry-unholdable-key.ini");
    ASSERT_FALSE(fixture.empty());
    fs::copy_file(fixture, root / "cfg" / "registry-HKEY_CURRENT_USER.ini", fs::copy_options::overwrite_existing);
    TRegistry reg;
    TStringList keys;
    reg.GetKeyNames(&keys);
    ASSERT_EQ(keys.Count(), 1);
    ASSERT_TRUE(reg.OpenKey(u"\\" + keys[0], false));
    bool raised = false;
    try {
        reg.WriteString(u"Name", u"value");
        EXPECT_EQ(reg.ReadString(u"Name").ToUtf8(), "value");
    } catch (const ERegistryException&) {
        raised = true;
    }
    EXPECT_TRUE(raised);
}
