#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "platform/rtl/Classes.h"
#include "platform/rtl/tests/StringsTestSupport.h"
#include "platform/rtl/tests/TempDir.h"

namespace fs = std::filesystem;

namespace {

using rtl_test::Items;
using rtl_test::V;

const char* const kSample =
    "; settings of the workbench\r\n"
    "[Information]\r\n"
    "Destination = 0001\r\n"
    "RemoteAddress=\"192.168.0.10\"\r\n"
    "Label='  padded  '\r\n"
    "PortNumber=  5000  \r\n"
    "\r\n"
    "[Graph Color]\r\n"
    "; colours as integers\r\n"
    "c1Main=$FF\r\n"
    "C1Over=0x10\r\n"
    "c1Peak=-12\r\n"
    "c1Bad=12abc\r\n"
    "\r\n"
    "[ComPort1]\r\n"
    "Port=ttyUSB0\r\n";

}  // namespace

class IniDirTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(Dir.empty()); }
    void TearDown() override {
        std::error_code ec;
        if (!Moved.empty()) fs::remove_all(Moved, ec);
    }
    void WriteFile(const std::string& bytes) { std::ofstream(Path, std::ios::binary) << bytes; }
    std::string ReadFile() const { return rtl_test::ReadAll(Path); }

    rtl_test::TempDir temp{"rtl-ini"};
    const fs::path Dir = temp.Path;
    const std::string Path = (Dir / "app.ini").string();
    fs::path Moved;
};

// The behaviour both classes share.
class IniFileTest : public IniDirTest, public ::testing::WithParamInterface<bool> {
protected:
    // TMemIniFile or TIniFile, by the test parameter.
    std::unique_ptr<TCustomIniFile> Open() {
        if (GetParam()) return std::make_unique<TIniFile>(String(Path));
        return std::make_unique<TMemIniFile>(String(Path));
    }
    // Makes a TMemIniFile's writes reach the file; a TIniFile's already have.
    static void Flush(TCustomIniFile& ini) { ini.UpdateFile(); }
};

TEST_P(IniFileTest, ReadsNamesCaseInsensitivelyAndValuesTrimmedAndUnquoted) {
    WriteFile(kSample);
    auto ini = Open();
    EXPECT_EQ(ini->ReadString("information", "DESTINATION", "x"), "0001");
    EXPECT_EQ(ini->ReadString("INFORMATION", "remoteaddress", "x"), "192.168.0.10");
    EXPECT_EQ(ini->ReadString("Information", "Label", "x"), "  padded  ");
    EXPECT_EQ(ini->ReadString("graph color", "c1over", "x"), "0x10");
    EXPECT_EQ(ini->ReadString("Graph Color", "missing", "dflt"), "dflt");
    EXPECT_EQ(ini->ReadString("Nowhere", "Port", "dflt"), "dflt");

    EXPECT_EQ(ini->ReadInteger("Information", "PortNumber", 0), 5000);
    EXPECT_EQ(ini->ReadInteger("Graph Color", "c1Main", 0), 255);
    EXPECT_EQ(ini->ReadInteger("Graph Color", "c1Over", 0), 16);
    EXPECT_EQ(ini->ReadInteger("Graph Color", "c1Peak", 0), -12);
    EXPECT_EQ(ini->ReadInteger("Graph Color", "c1Bad", 7), 7);
    EXPECT_EQ(ini->ReadInteger("Graph Color", "none", 7), 7);

    EXPECT_TRUE(ini->SectionExists("comport1"));
    EXPECT_FALSE(ini->SectionExists("Port"));
    EXPECT_TRUE(ini->ValueExists("COMPORT1", "port"));
    EXPECT_FALSE(ini->ValueExists("ComPort1", "Baud"));

    TStringList list;
    ini->ReadSections(&list);
    EXPECT_EQ(Items(list), V({"Information", "Graph Color", "ComPort1"}));
    ini->ReadSection("graph color", &list);
    EXPECT_EQ(Items(list), V({"c1Main", "C1Over", "c1Peak", "c1Bad"}));
    ini->ReadSectionValues("Information", &list);
    EXPECT_EQ(Items(list), V({"Destination=0001", "RemoteAddress=192.168.0.10", "Label=  padded  ",
                              "PortNumber=5000"}));
}

TEST_P(IniFileTest, TypedValuesRoundTrip) {
    auto ini = Open();
    ini->WriteInteger("S", "Int", -2147483647 - 1);
    ini->WriteBool("S", "On", true);
    ini->WriteBool("S", "Off", false);
    ini->WriteFloat("S", "F", 0.1);
    ini->WriteFloat("S", "G", -1.25e-7);
    ini->WriteString("S", "Spaces", "  two  ");
    ini->WriteString("S", "Quoted", "\"q\"");
    ini->WriteString("S", "Kana", "ｱﾝﾃﾅ");
    Flush(*ini);

    auto back = Open();
    EXPECT_EQ(back->ReadInteger("s", "int", 0), -2147483647 - 1);
    EXPECT_TRUE(back->ReadBool("S", "On", false));
    EXPECT_FALSE(back->ReadBool("S", "Off", true));
    EXPECT_EQ(back->ReadFloat("S", "F", 0), 0.1);
    EXPECT_EQ(back->ReadFloat("S", "G", 0), -1.25e-7);
    EXPECT_EQ(back->ReadString("S", "Spaces", ""), "  two  ");
    EXPECT_EQ(back->ReadString("S", "Quoted", ""), "\"q\"");
    EXPECT_EQ(back->ReadString("S", "Kana", ""), "ｱﾝﾃﾅ");

    struct BoolCase {
        const char* text;
        bool dflt;
        bool expected;
    };
    const BoolCase bools[] = {{"5", false, true}, {"0", true, false}, {"yes", true, true}, {"yes", false, false}};
    for (const auto& c : bools) {
        back->WriteString("B", "v", c.text);
        EXPECT_EQ(back->ReadBool("B", "v", c.dflt), c.expected) << c.text;
    }
    back->WriteString("B", "f", "abc");
    EXPECT_EQ(back->ReadFloat("B", "f", 2.5), 2.5);
    back->WriteString("B", "i", "99999999999");
    EXPECT_EQ(back->ReadInteger("B", "i", 3), 3);  // out of range
}

TEST_P(IniFileTest, RewriteKeepsOtherSectionsOrderAndComments) {
    WriteFile(kSample);
    auto ini = Open();
    ini->WriteString("INFORMATION", "portnumber", "6000");  // existing key, other spelling
    ini->WriteString("Information", "NewKey", "new");       // goes after the last key
    ini->WriteInteger("Added", "One", 1);                   // new section at the end
    ini->DeleteKey("Graph Color", "c1Bad");
    Flush(*ini);

    EXPECT_EQ(ReadFile(),
              "; settings of the workbench\r\n"
              "[Information]\r\n"
              "Destination = 0001\r\n"
              "RemoteAddress=\"192.168.0.10\"\r\n"
              "Label='  padded  '\r\n"
              "PortNumber=6000\r\n"
              "NewKey=new\r\n"
              "\r\n"
              "[Graph Color]\r\n"
              "; colours as integers\r\n"
              "c1Main=$FF\r\n"
              "C1Over=0x10\r\n"
              "c1Peak=-12\r\n"
              "\r\n"
              "[ComPort1]\r\n"
              "Port=ttyUSB0\r\n"
              "\r\n"
              "[Added]\r\n"
              "One=1\r\n");

    ini->EraseSection("graph color");
    Flush(*ini);
    auto back = Open();
    TStringList sections;
    back->ReadSections(&sections);
    EXPECT_EQ(Items(sections), V({"Information", "ComPort1", "Added"}));
    EXPECT_EQ(back->ReadString("Information", "NewKey", ""), "new");
}

TEST_P(IniFileTest, MissingFileReadsEmptyAndIsCreatedOnWrite) {
    auto ini = Open();
    EXPECT_EQ(ini->ReadString("A", "B", "d"), "d");
    TStringList list;
    ini->ReadSections(&list);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(fs::exists(Path));
    ini->WriteString("A", "B", "c");
    Flush(*ini);
    EXPECT_EQ(ReadFile(), "[A]\r\nB=c\r\n");
}

TEST_P(IniFileTest, LoadsCp932AndKeepsAByteOrderMark) {
    // [受信] / レベル=-85 in CP932.
    WriteFile("[\x8E\xF3\x90\x4D]\r\n\x83\x8C\x83\x78\x83\x8B=-85\r\n");
    auto ini = Open();
    EXPECT_EQ(ini->ReadInteger("受信", "レベル", 0), -85);

    WriteFile("\xEF\xBB\xBF[A]\r\nx=1\r\n");
    auto bom = Open();
    EXPECT_EQ(bom->ReadString("a", "X", ""), "1");
    bom->WriteString("A", "y", "2");
    Flush(*bom);
    EXPECT_EQ(ReadFile(), "\xEF\xBB\xBF[A]\r\nx=1\r\ny=2\r\n");
}

TEST_P(IniFileTest, RefusesTextThatWouldCorruptTheFile) {
    WriteFile(kSample);
    auto ini = Open();
    EXPECT_THROW(ini->WriteString("S", "K", "line1\r\n[Injected]"), EIniFileException);
    EXPECT_THROW(ini->WriteString("S", "a=b", "v"), EIniFileException);
    EXPECT_THROW(ini->WriteString("S", "", "v"), EIniFileException);
    EXPECT_THROW(ini->WriteString("S]x", "k", "v"), EIniFileException);
    // A lone surrogate has no UTF-8 form: it would read back as U+FFFD.
    const String lone(std::u16string{u'a', char16_t(0xDFFF), u'b'});
    EXPECT_THROW(ini->WriteString("S", "K", lone), EIniFileException);
    EXPECT_THROW(ini->WriteString(lone, "K", "v"), EIniFileException);
    Flush(*ini);
    EXPECT_EQ(ReadFile(), kSample);

    // A UTF-16 file holds it, and keeps it through a rewrite.
    WriteFile(EncodeText(u"[S]\r\nK=x\r\n", TextEncoding::Utf16LE));
    auto wide = Open();
    wide->WriteString("S", "K", lone);
    Flush(*wide);
    EXPECT_EQ(Open()->ReadString("S", "K", ""), lone);
    WriteFile("[S]\r\n");
    auto utf8 = Open();
    utf8->WriteString("S", "K", String(u"\xD83D\xDCE1"));  // a whole pair is stored
    Flush(*utf8);
    EXPECT_EQ(Open()->ReadString("S", "K", ""), String(u"\xD83D\xDCE1"));
}

TEST_P(IniFileTest, WriteIntoAFolderThatIsNoLongerThereFailsAndKeepsTheOldFile) {
    WriteFile(kSample);
    auto ini = Open();
    EXPECT_EQ(ini->ReadString("ComPort1", "Port", ""), "ttyUSB0");
    // The folder goes away and a plain file takes its name: nothing can be created "in" it,
    // not even by root.
    Moved = Dir.string() + "-moved";
    fs::rename(Dir, Moved);
    std::ofstream(Dir) << "not a folder";
    EXPECT_THROW(
        {
            ini->WriteString("ComPort1", "Port", "ttyS0");
            Flush(*ini);
        },
        EIniFileException);
    fs::remove(Dir);
    fs::rename(Moved, Dir);
    Moved.clear();
    EXPECT_EQ(ReadFile(), kSample);
}

TEST_P(IniFileTest, WriteThatRunsOutOfSpaceFailsAndKeepsTheOldFile) {
    WriteFile(kSample);
    auto ini = Open();
    ini->ReadString("A", "B", "");
    // A file-size limit makes the write fail half-way for root as for anyone, like a full disk.
    struct rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool raised = false;
    try {
        ini->WriteString("ComPort1", "Port", "ttyS0");
        Flush(*ini);
    } catch (const EIniFileException& e) {
        raised = true;
        EXPECT_NE(std::string(e.what()).find(Path), std::string::npos) << e.what();
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(raised);
    EXPECT_EQ(ReadFile(), kSample);
    // The half-written temporary file is gone.
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(Dir)) files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1u);
}

TEST_P(IniFileTest, WritingThroughALinkKeepsTheLinkEvenWhenItsFileIsMissing) {
    // A dangling link, a relative link to an existing file, and a chain of two links.
    fs::create_directory(Dir / "real");
    struct Case { const char* name; const char* link; const char* target; bool targetExists; };
    const Case cases[] = {
        {"dangling", "real/new.ini", "real/new.ini", false},
        {"existing", "real/old.ini", "real/old.ini", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(Path);
        if (c.targetExists) std::ofstream(Dir / c.target, std::ios::binary) << "[Old]\r\nk=1\r\n";
        fs::create_symlink(c.link, Path);
        auto ini = Open();
        ini->WriteString("A", "B", "c");
        Flush(*ini);
        EXPECT_TRUE(fs::is_symlink(Path));
        EXPECT_EQ(rtl_test::ReadAll((Dir / c.target).string()),
                  c.targetExists ? "[Old]\r\nk=1\r\n\r\n[A]\r\nB=c\r\n" : "[A]\r\nB=c\r\n");
    }
    fs::remove(Path);
    fs::create_symlink("hop.ini", Path);
    fs::create_symlink("real/chained.ini", Dir / "hop.ini");
    auto ini = Open();
    ini->WriteString("A", "B", "c");
    Flush(*ini);
    EXPECT_TRUE(fs::is_symlink(Dir / "hop.ini"));
    EXPECT_EQ(rtl_test::ReadAll((Dir / "real/chained.ini").string()), "[A]\r\nB=c\r\n");
}

INSTANTIATE_TEST_SUITE_P(Kinds, IniFileTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "IniFile" : "MemIniFile"; });

TEST_F(IniDirTest, MemIniFileWritesOnlyOnUpdateFile) {
    WriteFile("[A]\r\nx=1\r\n");
    TMemIniFile ini{String(Path)};
    ini.WriteString("A", "x", "2");
    ini.EraseSection("A");
    ini.WriteString("B", "y", "3");
    EXPECT_EQ(ReadFile(), "[A]\r\nx=1\r\n");
    // Others changing the file meanwhile do not show: the copy was read at construction.
    WriteFile("[C]\r\nz=9\r\n");
    EXPECT_EQ(ini.ReadString("C", "z", "none"), "none");
    ini.UpdateFile();
    EXPECT_EQ(ReadFile(), "[B]\r\ny=3\r\n");

    TStringList lines;
    ini.GetStrings(&lines);
    EXPECT_EQ(Items(lines), V({"[B]", "y=3"}));
    lines.SetText("[D]\nk = v\n");
    ini.SetStrings(&lines);
    EXPECT_EQ(ini.ReadString("d", "K", ""), "v");
}

TEST_F(IniDirTest, IniFileWritesThroughAndSeesChangesByOthers) {
    TIniFile ini{String(Path)};
    ini.WriteString("Information", "RemoteAddress", "10.0.0.1");
    EXPECT_EQ(ReadFile(), "[Information]\r\nRemoteAddress=10.0.0.1\r\n");
    ini.WriteInteger("Information", "PortNumber", 5000);
    EXPECT_EQ(TMemIniFile(String(Path)).ReadInteger("information", "portnumber", 0), 5000);

    // Another writer replaces the file; the next call reads the new contents.
    {
        TMemIniFile other{String(Path)};
        other.WriteString("Information", "RemoteAddress", "10.0.0.2");
        other.UpdateFile();
    }
    EXPECT_EQ(ini.ReadString("Information", "RemoteAddress", ""), "10.0.0.2");
    ini.DeleteKey("Information", "PortNumber");
    EXPECT_EQ(ReadFile(), "[Information]\r\nRemoteAddress=10.0.0.2\r\n");
}

TEST_F(IniDirTest, DuplicateSectionsAndKeysReadAsOne) {
    WriteFile("[A]\r\nk=first\r\n[B]\r\nm=1\r\n[a]\r\nk=second\r\nn=2\r\n");
    TMemIniFile ini{String(Path)};
    EXPECT_EQ(ini.ReadString("A", "k", ""), "first");
    EXPECT_EQ(ini.ReadString("A", "n", ""), "2");
    TStringList list;
    ini.ReadSections(&list);
    EXPECT_EQ(Items(list), V({"A", "B"}));
    ini.ReadSection("A", &list);
    EXPECT_EQ(Items(list), V({"k", "n"}));
    // Deleting a key removes every line of it, so no older copy comes back.
    ini.DeleteKey("A", "K");
    EXPECT_FALSE(ini.ValueExists("A", "k"));
}

TEST_F(IniDirTest, UnreadableFileRaisesInsteadOfReadingEmpty) {
    // Reading it as empty would let UpdateFile wipe what could not be read.
    fs::create_directory(Path);
    EXPECT_THROW(TMemIniFile{String(Path)}, EIniFileException);
}
