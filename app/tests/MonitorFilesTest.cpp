// Graph data files: what a save writes, what a load restores, and the files a load refuses.
#include <filesystem>
#include <fstream>

#include "app/tests/MonitorTestSupport.h"
#include "platform/rtl/testing/TestSupport.h"
#include "platform/ui/Dialogs.h"

using namespace wbtest;

namespace {

class GraphFiles : public MonitorTest {
protected:
    String answer;  // the file the next file dialog chooses; empty: cancel
    std::vector<std::string> filters, names, dirs;

    void SetUp() override {
        MonitorTest::SetUp();
        ui::SetCommonDialogHook([this](TCommonDialog& d) {
            auto* f = dynamic_cast<TOpenDialog*>(&d);
            if (!f) return false;
            filters.push_back(Utf8(f->Filter()));
            names.push_back(Utf8(f->FileName()));
            dirs.push_back(Utf8(f->InitialDir()));
            if (answer.empty()) return false;
            f->SetFileName(answer);
            return true;
        });
    }
    void TearDown() override {
        ui::SetCommonDialogHook(nullptr);
        MonitorTest::TearDown();
    }
    void Save(const std::string& name) {
        answer = String(dir.File(name.c_str()));
        MainForm->Savegraphdata2Click(MainForm->Savegraphdata2);
    }
    void Load(const std::string& name) {
        answer = String(dir.File(name.c_str()));
        MainForm->Loadgraphdata2Click(MainForm->Loadgraphdata2);
    }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream out(dir.File(name.c_str()), std::ios::binary);
        out << text;
    }
    std::string Read(const std::string& name) { return rtl_test::ReadAll(dir.File(name.c_str())); }
    // The value of a key line "key=value" of a file's text.
    static std::string Value(const std::string& text, const std::string& key) {
        size_t at = text.find("\r\n" + key + "=");
        if (at == std::string::npos) return "<none>";
        at += key.size() + 3;
        return text.substr(at, text.find("\r\n", at) - at);
    }
    void SetLevels(std::initializer_list<std::pair<int, int>> levels) {
        for (auto [ch, level] : levels) MainForm->LevelTable[static_cast<size_t>(ch)] = level;
    }
};

TEST_F(GraphFiles, AFrequencyFileHoldsTheModelsChannelsAsLevelCodes) {
    EnterAirMonitor(0);
    SetLevels({{7, -140}, {8, -85}, {9, -100}, {10, -300}, {11, 5}});
    MainForm->PeakTable[8] = -60;
    MainForm->Edit3->SetText(String("roof"));
    MainForm->Edit5->SetText(String("run1"));
    Save("run1.AMF");
    EXPECT_EQ(filters.back(), "AirMonitor files (*.AMF)|*.AMF");
    EXPECT_EQ(names.back(), "run1.AMF");
    const std::string text = Read("run1.AMF");
    // A new file: UTF-8 without a mark.
    const std::string expected = std::string() +
                                 "[Model Name]\r\nName=TQW-560R    429MHz\r\nNumber=0\r\n\r\n"
                                 "[User Text]\r\nText1=roof\r\nText2=" +
                                 Utf8(MainForm->Edit4->Text()) +
                                 "\r\n\r\n"
                                 "[Status]\r\nMode=FreqMode\r\nMinCh=7\r\nMaxCh=46\r\nStartCh=7\r\nEndCh=46\r\n\r\n"
                                 "[RSSI Level]\r\nValue=";
    // The layout: sections in first-write order, CR LF lines, an empty line between sections.
    EXPECT_EQ(text.substr(0, expected.size()), expected);
    const std::string value = Value(text, "Value");
    EXPECT_EQ(value.size(), 80u);
    EXPECT_EQ(value.substr(0, 10), "8C5564FF00");  // below -255 "FF", above 0 "00"
    EXPECT_EQ(Value(text, "PeakValue").substr(0, 4), "8C3C");
    EXPECT_TRUE(text.ends_with("\r\n"));
    EXPECT_EQ(dirs.back(), dir.File(""));  // the settings file's folder, before any file

    // The whole channel plan.
    MainForm->CurMinCh = 0;
    MainForm->CurMaxCh = 127;
    Save("all.AMF");
    EXPECT_EQ(Value(Read("all.AMF"), "Value").size(), 256u);
    EXPECT_EQ(dirs.back(), dir.File(""));  // the dialog starts where the last file was
}

TEST_F(GraphFiles, ATimeFileHoldsSamplesZeroToN) {
    EnterAirMonitor(1);
    MainForm->MvNumSpin3->SetValue(100);
    Save("t100.AMT");
    EXPECT_EQ(filters.back(), "AirMonitor files (*.AMT)|*.AMT");
    EXPECT_EQ(Value(Read("t100.AMT"), "Value").size(), 202u);

    MainForm->MvNumSpin3->SetValue(10);
    for (int i = 0; i <= 10; ++i) MainForm->SampleTable[static_cast<size_t>(i)] = -60 - i;
    MainForm->SampleTable[0] = -140;
    Save("t10.AMT");
    const std::string text = Read("t10.AMT");
    EXPECT_EQ(Value(text, "Mode"), "TimeMode");
    EXPECT_EQ(Value(text, "MinTm"), "0");
    EXPECT_EQ(Value(text, "MaxTm"), "10");
    EXPECT_EQ(Value(text, "Channel"), "27");
    EXPECT_EQ(Value(text, "Value"), "8C3D3E3F404142434445" "46");

    // Loaded on the frequency page: the time page, the axis 1..10 and the samples.
    MainForm->PageControl2->SetActivePage(MainForm->TabSheet5);
    MainForm->MeasureMode = 4;
    for (int i = 0; i <= 10; ++i) MainForm->SampleTable[static_cast<size_t>(i)] = -140;
    MainForm->MvNumSpin3->SetValue(50);
    Load("t10.AMT");
    EXPECT_EQ(MainForm->MeasureMode, 5);
    EXPECT_EQ(MainForm->PageControl2->ActivePage(), MainForm->TabSheet6);
    EXPECT_EQ(MainForm->Chart2->BottomAxis()->Minimum(), 1);
    EXPECT_EQ(MainForm->Chart2->BottomAxis()->Maximum(), 10);
    EXPECT_EQ(MainForm->MvNumSpin3->Value(), 10);
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(MainForm->SampleTable[static_cast<size_t>(i)], -60 - i);
        EXPECT_EQ(MainForm->AreaSeries1->YValue(i), -60 - i);
    }
    EXPECT_EQ(Utf8(MainForm->Edit5->Text()), "t10");
    EXPECT_EQ(Utf8(MainForm->Chart2->Title()->Strings(2)), "Channel: 27ch  /  Freq.: 429.5000MHz  /  Level:  dBm");
    EXPECT_FALSE(MainForm->MvColBitBtn1->Enabled());
    EXPECT_FALSE(MainForm->MvColBitBtn15->Enabled());
}

TEST_F(GraphFiles, ATimeSaveOverAFrequencyFileKeepsItsOtherKeys) {
    EnterAirMonitor(0);
    SetLevels({{7, -90}});
    Save("both.AMF");
    MainForm->PageControl2->SetActivePage(MainForm->TabSheet6);
    MainForm->MeasureMode = 5;
    MainForm->MvNumSpin3->SetValue(10);
    Save("both.AMF");
    const std::string text = Read("both.AMF");
    for (const char* key : {"MinCh", "MaxCh", "StartCh", "EndCh", "PeakValue"}) EXPECT_NE(Value(text, key), "<none>") << key;
    EXPECT_EQ(Value(text, "Mode"), "TimeMode");
    EXPECT_EQ(Value(text, "Value").size(), 22u);
    MainForm->PageControl2->SetActivePage(MainForm->TabSheet5);
    MainForm->MeasureMode = 4;
    Load("both.AMF");
    EXPECT_EQ(MainForm->MeasureMode, 5);
}

TEST_F(GraphFiles, AFrequencyFileLoadsBackWithItsRangeAndPeaks) {
    EnterAirMonitor(0);
    SetLevels({{7, -90}, {30, -60}, {46, -120}});
    MainForm->PeakTable[30] = -50;
    MainForm->ComboBox2->SetText(String("10"));
    MainForm->ComboBox3->SetText(String("40"));
    MainForm->Edit3->SetText(String("memo"));
    Save("round.AMF");
    const auto levels = MainForm->LevelTable;
    const auto peaks = MainForm->PeakTable;

    // Another state, the peak display off, then the load.
    MainForm->LevelTable.fill(-140);
    MainForm->PeakTable.fill(-140);
    MainForm->ComboBox2->SetText(String("7"));
    MainForm->ComboBox3->SetText(String("46"));
    MainForm->CheckBox3->SetChecked(false);
    MainForm->Edit3->SetText(String());
    MainForm->PageControl2->SetActivePage(MainForm->TabSheet6);
    MainForm->MeasureMode = 5;
    Load("round.AMF");
    EXPECT_EQ(MainForm->MeasureMode, 4);
    EXPECT_EQ(MainForm->PageControl2->ActivePage(), MainForm->TabSheet5);
    for (int ch = 7; ch <= 46; ++ch) {
        EXPECT_EQ(MainForm->LevelTable[static_cast<size_t>(ch)], levels[static_cast<size_t>(ch)]) << ch;
        EXPECT_EQ(MainForm->PeakTable[static_cast<size_t>(ch)], peaks[static_cast<size_t>(ch)]) << ch;
        EXPECT_EQ(MainForm->Series1->YValue(ch), levels[static_cast<size_t>(ch)]);
        EXPECT_EQ(MainForm->Series3->YValue(ch), peaks[static_cast<size_t>(ch)]);  // peak display off
    }
    EXPECT_EQ(Utf8(MainForm->ComboBox2->Text()), "10");
    EXPECT_EQ(Utf8(MainForm->ComboBox3->Text()), "40");
    EXPECT_EQ(MainForm->ScanStartCh, 10);
    EXPECT_EQ(MainForm->ScanEndCh, 40);
    EXPECT_EQ(Utf8(MainForm->Edit3->Text()), "memo");
    EXPECT_EQ(Utf8(MainForm->Chart1->Title()->Strings(0)),
              "< Air monitor >   Model name: TQW-560R    429MHz    Filename: round    Date: " + Utf8(MainForm->Edit4->Text()));
    EXPECT_EQ(Utf8(MainForm->Chart1->Title()->Strings(1)), "User Memo: memo");
}

// The dialogs start in the folder last used for graph files, else in the settings file's; the
// program's folder stays a folder; a memo panel without a file name proposes no name.
TEST_F(GraphFiles, TheDialogsStartInTheLastFolderUsedAndProposeNoBareExtension) {
    EnterAirMonitor(0);
    const std::string exeDir = Utf8(MainForm->ExeDir);
    std::filesystem::create_directory(dir.File("runs"));
    MainForm->Edit5->SetText(String());
    Save("runs/a.AMF");
    EXPECT_EQ(names.back(), "") << "\".AMF\" alone would be a hidden file";
    EXPECT_EQ(dirs.back(), dir.File(""));
    MainForm->Edit5->SetText(String("b"));
    Save("runs/b.AMF");
    EXPECT_EQ(names.back(), "b.AMF");
    EXPECT_EQ(dirs.back(), dir.File("runs/"));
    Load("runs/a.AMF");
    EXPECT_EQ(dirs.back(), dir.File("runs/"));
    EXPECT_EQ(Utf8(MainForm->ExeDir), exeDir);
    // A cancelled dialog moves nothing.
    answer = String();
    MainForm->Loadgraphdata2Click(MainForm->Loadgraphdata2);
    MainForm->Savegraphdata2Click(MainForm->Savegraphdata2);
    EXPECT_EQ(dirs.back(), dir.File("runs/"));
}

// A save that cannot write says which file and why, and the file on disk stays as it was.
TEST_F(GraphFiles, AFailedSaveNamesTheFileAndTheReasonAndKeepsTheOldFile) {
    EnterAirMonitor(0);
    SetLevels({{7, -90}});
    Save("kept.AMF");
    const std::string before = Read("kept.AMF");
    ui::ClearMessageBoxLog();
    SetLevels({{7, -60}});
    {
        rtl::test::ReadOnlyFolder readOnly(dir.Path.string());
        Save("kept.AMF");
        Save("new.AMF");
    }
    ASSERT_EQ(ui::MessageBoxLog().size(), 2u);
    for (const auto& [call, name] : {std::pair{ui::MessageBoxLog()[0], "kept.AMF"}, std::pair{ui::MessageBoxLog()[1], "new.AMF"}}) {
        const std::string text = Utf8(call.Text);
        EXPECT_NE(text.find(dir.File(name)), std::string::npos) << text;
        EXPECT_NE(text.find("Permission denied"), std::string::npos) << text;
        EXPECT_NE(text.find("ﾌｧｲﾙを保存出来ません"), std::string::npos) << text;
    }
    EXPECT_EQ(Read("kept.AMF"), before);
    EXPECT_FALSE(std::filesystem::exists(dir.File("new.AMF")));
    // Nothing of the attempt is left in the folder.
    for (const auto& e : std::filesystem::directory_iterator(dir.Path)) EXPECT_FALSE(e.path().string().ends_with(".tmp")) << e.path();
}

TEST_F(GraphFiles, AHandWrittenFileLoadsAndDamagedOnesChangeNothing) {
    EnterAirMonitor(0);
    // Any case of names, no byte-order mark, LF lines, a short model range.
    Write("hand.amf",
          "[model name]\nNumber=0\n[STATUS]\nmode=FreqMode\nMinCh=7\nMaxCh=9\nStartCh=7\nEndCh=9\n"
          "[rssi level]\nvalue=5a6478\nPeakValue=505050\n");
    Load("hand.amf");
    EXPECT_EQ(MainForm->LevelTable[7], -90);
    EXPECT_EQ(MainForm->LevelTable[8], -100);
    EXPECT_EQ(MainForm->LevelTable[9], -120);
    EXPECT_EQ(MainForm->PeakTable[8], -80);
    EXPECT_EQ(MainForm->Chart1->BottomAxis()->Maximum(), 9);

    const std::string good = "[Model Name]\r\nNumber=0\r\n[Status]\r\nMode=FreqMode\r\nMinCh=7\r\nMaxCh=9\r\n"
                             "StartCh=7\r\nEndCh=9\r\n[RSSI Level]\r\nValue=5A6478\r\nPeakValue=505050\r\n";
    struct Damage {
        const char* what;
        std::string from, to;
    };
    const Damage damages[] = {
        {"channel out of the tables", "MinCh=7", "MinCh=200"},
        {"reversed channels", "MaxCh=9", "MaxCh=5"},
        {"short value", "Value=5A6478", "Value=5A64"},
        {"short peaks", "PeakValue=505050", "PeakValue=5"},
        {"no such model", "Number=0", "Number=3"},
        {"not a number", "MaxCh=9", "MaxCh=nine"},
        {"time range", "Mode=FreqMode", "Mode=TimeMode\r\nMinTm=1\r\nMaxTm=10"},
        {"too many samples", "Mode=FreqMode", "Mode=TimeMode\r\nMinTm=0\r\nMaxTm=5001"},
    };
    MainForm->Edit5->SetText(String("before"));
    const auto levels = MainForm->LevelTable;
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        std::string text = good;
        text.replace(text.find(d.from), d.from.size(), d.to);
        Write("bad.AMF", text);
        EXPECT_THROW(Load("bad.AMF"), EConvertError);
        EXPECT_EQ(MainForm->LevelTable, levels);
        EXPECT_EQ(Utf8(MainForm->Edit5->Text()), "before");
        EXPECT_EQ(MainForm->MeasureMode, 4);
        EXPECT_EQ(MainForm->Chart1->BottomAxis()->Maximum(), 9);
    }
    // Through the menu's key, the refusal reaches the application's exception event.
    ui::ClearMessageBoxLog();
    MainForm->Show();
    MainForm->SetEnabled(true);
    ui::test::Key(MainForm, 'L', String(), {ssCtrl});
    EXPECT_EQ(Messages(), std::vector<std::string>{kApplicationErrorText});
    EXPECT_EQ(MainForm->LevelTable, levels);

    // A pair that is not hexadecimal stops the load there, with what came before it set.
    std::string text = good;
    text.replace(text.find("5A6478"), 6, "5AZZ78");
    Write("pair.AMF", text);
    EXPECT_THROW(Load("pair.AMF"), EConvertError);
    EXPECT_EQ(MainForm->LevelTable[7], -90);
    EXPECT_EQ(Utf8(MainForm->Edit5->Text()), "pair");

    // A cancelled dialog changes nothing.
    answer = String();
    MainForm->Loadgraphdata2Click(MainForm->Loadgraphdata2);
    EXPECT_EQ(Utf8(MainForm->Edit5->Text()), "pair");
}

}  // namespace
