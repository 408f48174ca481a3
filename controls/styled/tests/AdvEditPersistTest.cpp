// The styled edit's value and history kept between runs, in an ini file or the registry.
#include <gtest/gtest.h>

#include <filesystem>

#include "controls/styled/tests/AdvEditTestSupport.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Registry.h"

namespace {

namespace fs = std::filesystem;
using advedit_test::EditTest;

class AdvEditPersistTest : public EditTest {
protected:
    fs::path dir;

    void SetUp() override {
        EditTest::SetUp();
        dir = fs::temp_directory_path() / ("advedit-persist-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        EditTest::TearDown();
        win::SetRegistryFolder(String());
        fs::remove_all(dir);
    }
    String Path(const char* name) const { return String((dir / name).string()); }
    // A new edit named Edit1 as a form loads it, with the settings given, then Loaded.
    TAdvEdit* LoadOne(const std::function<void(TAdvEdit*)>& settings) {
        // The name is the entry's: an earlier edit of that name gives it up.
        if (TComponent* before = form->FindComponent(u"Edit1")) before->SetName(u"Earlier" + IntToStr(form->ComponentCount()));
        auto* e = new TAdvEdit(form);
        e->BeginLoading();
        e->SetName(u"Edit1");
        e->SetParent(form);
        settings(e);
        e->Loaded();
        return e;
    }
};

TEST_F(AdvEditPersistTest, TheDefaultIniFileBesideTheProgramKeepsTheWholeText) {
    const String file = ChangeFileExt(Application->ExeName(), u".INI");
    DeleteFile(file);
    edit->Persistence()->SetEnable(true);
    edit->SetPrefix(u"$");
    edit->SetText(u"12");
    edit->RecreateWnd();  // a window going saves as well
    EXPECT_EQ(edit->Persistence()->Key(), file);
    EXPECT_EQ(edit->Persistence()->Section(), String(u"Edit1"));
    {
        TIniFile ini(file);
        EXPECT_EQ(ini.ReadString(u"Edit1", u"Edit1", u""), String(u"$12"));
    }
    edit->SetText(u"99");
    edit->Free();  // and the edit's end
    {
        TIniFile ini(file);
        EXPECT_EQ(ini.ReadString(u"Edit1", u"Edit1", u""), String(u"$99"));
    }
    TAdvEdit* next = LoadOne([](TAdvEdit* e) {
        e->SetPrefix(u"$");
        e->Persistence()->SetEnable(true);
    });
    EXPECT_EQ(next->TCustomEdit::Text(), String(u"$99"));
    EXPECT_EQ(next->Text(), String(u"99"));
    EXPECT_FALSE(next->Modified());
    next->Persistence()->SetEnable(false);
    DeleteFile(file);
}

TEST_F(AdvEditPersistTest, HistoryEntries) {
    const String file = Path("history.ini");
    edit->Persistence()->SetEnable(true);
    edit->Persistence()->SetKey(file);
    edit->Lookup()->SetEnabled(true);
    edit->Lookup()->SetHistory(true);
    for (const char* d : {"c", "a", "b"}) edit->Lookup()->DisplayList()->Add(String(d));
    for (const char* v : {"1", "2"}) edit->Lookup()->ValueList()->Add(String(v));
    edit->SavePersist();
    TIniFile ini(file);
    EXPECT_EQ(ini.ReadInteger(u"Edit1", u"LOOKUPCOUNT", 0), 3);
    EXPECT_EQ(ini.ReadString(u"Edit1", u"LOOKUPDISPL1", u""), String(u"a"));
    EXPECT_EQ(ini.ReadString(u"Edit1", u"LOOKUPDISPL3", u""), String(u"c"));
    EXPECT_EQ(ini.ReadString(u"Edit1", u"LOOKUPVAL2", u""), String(u"2"));
    EXPECT_FALSE(ini.ValueExists(u"Edit1", u"LOOKUPVAL3"));
    edit->Lookup()->ValueList()->Add(u"3");
    edit->SavePersist();
    EXPECT_EQ(ini.ReadString(u"Edit1", u"LOOKUPVAL3", u""), String(u"3"));

    // Loading into lists that hold entries already: no display entry twice, values appended.
    TAdvEdit* next = LoadOne([&](TAdvEdit* e) {
        e->Persistence()->SetEnable(true);
        e->Persistence()->SetKey(file);
        e->Lookup()->SetEnabled(true);
        e->Lookup()->SetHistory(true);
        e->Lookup()->DisplayList()->Add(u"a");
        e->Lookup()->ValueList()->Add(u"0");
    });
    EXPECT_EQ(next->Lookup()->DisplayList()->Count(), 3);
    EXPECT_EQ(next->Lookup()->ValueList()->Count(), 4);
    EXPECT_EQ(next->Lookup()->ValueList()->Strings(3), String(u"3"));
    next->Persistence()->SetEnable(false);
    edit->Persistence()->SetEnable(false);
}

TEST_F(AdvEditPersistTest, LoadingKeepsTheFormsTextWithoutAStoredOne) {
    const String file = Path("load.ini");
    auto settings = [&](TAdvEdit* e) {
        e->Persistence()->SetEnable(true);
        e->Persistence()->SetKey(file);
        e->SetText(u"form");
    };
    TAdvEdit* a = LoadOne(settings);
    EXPECT_EQ(a->Text(), String(u"form"));
    a->Persistence()->SetEnable(false);
    {
        TIniFile ini(file);
        ini.WriteString(u"Edit1", u"Edit1", u"@");
    }
    TAdvEdit* b = LoadOne(settings);
    EXPECT_EQ(b->Text(), String(u"form"));
    b->Persistence()->SetEnable(false);
}

TEST_F(AdvEditPersistTest, TheRegistryReadsBackWhatItWrote) {
    win::SetRegistryFolder(Path("registry"));
    auto settings = [](TAdvEdit* e) {
        e->Persistence()->SetEnable(true);
        e->Persistence()->SetLocation(plRegistry);
        e->Persistence()->SetKey(u"Software\\Test\\AdvEdit");
        e->Persistence()->SetSection(u"Values");
    };
    settings(edit);
    edit->SetText(u"kept");
    edit->SavePersist();
    edit->Persistence()->SetEnable(false);
    TAdvEdit* next = LoadOne(settings);
    EXPECT_EQ(next->Text(), String(u"kept"));
    next->Persistence()->SetEnable(false);
}

TEST_F(AdvEditPersistTest, AnUnwritableFileRaisesToTheCaller) {
    edit->Persistence()->SetEnable(true);
    edit->Persistence()->SetKey(Path("missing-folder/x.ini"));
    EXPECT_THROW(edit->SavePersist(), EIniFileException);
    edit->Persistence()->SetEnable(false);
}

}  // namespace
