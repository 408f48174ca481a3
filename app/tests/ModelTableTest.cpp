// The model table, the model list of a destination, channel frequencies, and the model choice.
#include "app/CHPlan.h"
#include "app/tests/WorkbenchTestSupport.h"
#include "platform/rtl/StringList.h"

using namespace wbtest;

namespace {

TEST(ModelTable, OnlyJapanListsAModel) {
    const std::pair<const char*, int> cases[] = {{"Japan", 1}, {"All", 0}, {"japan", 0}, {"JAPAN", 0}, {"", 0}};
    for (const auto& [destination, count] : cases) {
        SCOPED_TRACE(destination);
        TModelPlan plan;
        TStringList items;
        plan.FillModelList(String(destination), &items);
        ASSERT_EQ(items.Count(), count);
        ASSERT_EQ(plan.ModelRows.size(), static_cast<size_t>(count));
        if (count == 1) {
            EXPECT_EQ(Utf8(items.Strings(0)), "TQW-560R    429MHz");
            EXPECT_EQ(plan.ModelRows[0], 0);
        }
    }
}

TEST(ModelTable, ChannelFrequenciesHaveFourDecimals) {
    struct Case {
        int row, channel;
        const char* text;
    };
    const Case cases[] = {
        {0, 7, "429.2500"},  {0, 8, "429.2625"}, {0, 46, "429.7375"}, {0, 0, "000"}, {0, 6, "000"},
        {3, 0, "433.1875"},  {3, 1, "433.2000"}, {3, 127, "434.7750"}, {5, 64, "433.9875"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << " channel " << c.channel);
        TModelPlan plan;
        plan.ModelRows = {c.row};
        String text;
        ASSERT_TRUE(plan.ChannelFreq(0, c.channel, text));
        EXPECT_EQ(Utf8(text), c.text);
    }
    // Every channel of every row: four decimals, one step apart.
    for (const TModel& m : ModelTable) {
        for (int ch = std::max(m.MinCh, 1); ch <= m.MaxCh; ++ch) {
            const std::string a = Utf8(m.Hint[ch - 1]), b = Utf8(m.Hint[ch]);
            ASSERT_EQ(b.size() - b.find('.'), 5u) << b;
            if (a != "000") {
                EXPECT_NEAR(std::stod(b) - std::stod(a), 0.0125, 1e-9) << b;
            }
        }
    }
}

TEST(ModelTable, MissingEntriesAndChannelsGiveNothing) {
    TModelPlan plan;
    plan.ModelRows = {0};
    String text(u"x");
    EXPECT_FALSE(plan.ChannelFreq(0, 47, text));
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(plan.ChannelFreq(0, -1, text));
    EXPECT_FALSE(plan.ChannelFreq(1, 7, text));
    EXPECT_FALSE(plan.ChannelFreq(-1, 7, text));
    EXPECT_FALSE(plan.SelectModel(-1));
    EXPECT_FALSE(plan.SelectModel(1));
    EXPECT_EQ(plan.CurMaxCh, 127);  // untouched
    ASSERT_TRUE(plan.SelectModel(0));
    EXPECT_EQ(plan.CurMinCh, 7);
    EXPECT_EQ(plan.CurMaxCh, 46);
    EXPECT_EQ(plan.CurUnitKind, TxRx);
    EXPECT_EQ(plan.CurGWidth, 100);
}

using ModelChoice = Workbench;

TEST_F(ModelChoice, ChoosingTheModelSetsUpChartsControlsLinkAndCaption) {
    WriteSettings(SettingsWithPort("ttyS0"));
    CopyIcon();
    Start();
    EXPECT_EQ(MainForm->LinkType, String());
    ChooseModel();
    EXPECT_EQ(MainForm->Chart1->BottomAxis()->Minimum(), 7);
    EXPECT_EQ(MainForm->Chart1->BottomAxis()->Maximum(), 46);
    for (TComboBox* box : {MainForm->ComboBox2, MainForm->ComboBox3, MainForm->ComboBox4}) {
        ASSERT_EQ(box->Items()->Count(), 40);
        EXPECT_EQ(Utf8(box->Items()->Strings(0)), "7");
        EXPECT_EQ(Utf8(box->Items()->Strings(39)), "46");
    }
    EXPECT_EQ(Utf8(MainForm->ComboBox2->Text()), "7");
    EXPECT_EQ(Utf8(MainForm->ComboBox3->Text()), "46");
    EXPECT_EQ(Utf8(MainForm->ComboBox4->Text()), "7");
    EXPECT_EQ(MainForm->Series1->BarWidthPercent(), 100);
    EXPECT_EQ(MainForm->Series3->BarWidthPercent(), 100);
    EXPECT_EQ(MainForm->MvNumSpin3->Value(), 100);
    EXPECT_EQ(MainForm->CurrentChannel, 7);
    EXPECT_EQ(MainForm->ScanStartCh, 7);
    EXPECT_EQ(MainForm->ScanEndCh, 46);
    EXPECT_EQ(Utf8(MainForm->LinkType), "Normal");
    EXPECT_EQ(Utf8(MainForm->Caption()), "特定小電力超長距離無線モデム ： TQW560R　評価プログラム for TQW-560R    429MHz");
    EXPECT_TRUE(MainForm->VrDemoButton3->Enabled());
    EXPECT_TRUE(MainForm->VrDemoButton2->Enabled());
    EXPECT_EQ(Utf8(MainForm->Chart1->Title()->Strings(2)), "Channel:   ch  /  Freq.:      MHz  /  Level:   dBm");
    EXPECT_EQ(Utf8(MainForm->Chart2->Title()->Strings(1)), "User Memo: ");
    String freq;
    MainForm->ChannelFreqText(46, freq);
    EXPECT_EQ(Utf8(freq), "429.7375");
}

TEST_F(ModelChoice, TextTypedWithNoModelSelectedChangesNothing) {
    WriteSettings(SettingsWithPort("ttyS0"));
    CopyIcon();
    Start();
    MainForm->ComboBox5->SetText(String("TQW"));
    MainForm->ComboBox5Change(MainForm->ComboBox5);
    EXPECT_EQ(MainForm->LinkType, String());
    EXPECT_FALSE(MainForm->VrDemoButton3->Enabled());
    EXPECT_EQ(MainForm->ComboBox2->Items()->Count(), 0);
    EXPECT_EQ(MainForm->Chart1->BottomAxis()->Maximum(), 46);  // the form's range
    String freq(u"x");
    MainForm->ChannelFreqText(7, freq);
    EXPECT_TRUE(freq.empty());
}

}  // namespace
