#include <gtest/gtest.h>

#include "platform/ui/Dialogs.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/win/Window.h"

namespace {

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::ClearCommonDialogLog();
        ui::ClearMessageDlgLog();
    }
    void TearDown() override { ui::SetCommonDialogHook(nullptr); }
    ui::test::AppScope scope;
};

}  // namespace

TEST_F(DialogsTest, ScriptedSaveDialogSeesTheSettingsAndReturnsTheChosenNameAndFilter) {
    TSaveDialog dlg(nullptr);
    dlg.SetTitle(String("Graph save as EMF"));
    dlg.SetInitialDir(String("/data/exe"));
    dlg.SetFileName(String("level.emf"));
    dlg.SetFilter(String("AirMonitor EMF files (*.emf)|*.emf|AirMonitor WMF files (*.wmf)|*.wmf"));
    dlg.SetDefaultExt(String(".wmf"));
    dlg.SetOptions(dlg.Options() + TOpenOptions{ofOverwritePrompt});

    String seenName, seenDir, seenTitle;
    int seenIndex = 0;
    bool overwritePrompt = false;
    ui::SetCommonDialogHook([&](TCommonDialog& d) {
        EXPECT_EQ(d.Kind(), TDialogKind::Save);
        auto& save = dynamic_cast<TSaveDialog&>(d);
        seenName = save.FileName();
        seenDir = save.InitialDir();
        seenTitle = save.Title();
        seenIndex = save.FilterIndex();
        overwritePrompt = save.Options().Contains(ofOverwritePrompt);
        save.SetFileName(String("/data/exe/level"));  // typed without extension
        save.SetFilterIndex(2);
        return true;
    });
    ASSERT_TRUE(dlg.Execute());
    EXPECT_EQ(seenName, String("level.emf"));
    EXPECT_EQ(seenDir, String("/data/exe"));
    EXPECT_EQ(seenTitle, String("Graph save as EMF"));
    EXPECT_EQ(seenIndex, 1);
    EXPECT_TRUE(overwritePrompt);
    EXPECT_EQ(dlg.FileName(), String("/data/exe/level.wmf"));  // DefaultExt, stored without its dot
    EXPECT_EQ(dlg.FilterIndex(), 2);
    ASSERT_EQ(dlg.Files()->Count(), 1);
    EXPECT_EQ((*dlg.Files())[0], dlg.FileName());

    // A cancelled dialog leaves the proposed name as it was.
    dlg.SetFileName(String("proposed.emf"));
    ui::SetCommonDialogHook([](TCommonDialog&) { return false; });
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(dlg.FileName(), String("proposed.emf"));  // no extension added either
    ASSERT_EQ(ui::CommonDialogLog().size(), 2u);
    EXPECT_EQ(ui::CommonDialogLog()[0].Title, String("Graph save as EMF"));
    EXPECT_TRUE(ui::CommonDialogLog()[0].Result);
    EXPECT_FALSE(ui::CommonDialogLog()[1].Result);
}

TEST_F(DialogsTest, WithoutAHookTheHeadlessPlatformCancelsEveryDialog) {
    TOpenPictureDialog open(nullptr);
    open.SetFileName(String("keep.bmp"));
    TFontDialog font(nullptr);
    TColorDialog color(nullptr);
    TPrintDialog print(nullptr);
    int shows = 0, closes = 0;
    open.OnShow = [&](TObject*) { ++shows; };
    open.OnClose = [&](TObject*) { ++closes; };
    EXPECT_FALSE(open.Execute());
    EXPECT_FALSE(font.Execute());
    EXPECT_FALSE(color.Execute());
    EXPECT_FALSE(print.Execute());
    EXPECT_EQ(open.FileName(), String("keep.bmp"));
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(closes, 1);
    ASSERT_EQ(ui::CommonDialogLog().size(), 4u);
    EXPECT_EQ(ui::CommonDialogLog()[0].Kind, TDialogKind::OpenPicture);
    EXPECT_EQ(ui::CommonDialogLog()[3].Kind, TDialogKind::Print);
}

TEST(FileFilter, ParsesDescriptionsAndPatternLists) {
    auto f = ParseFileFilter(String("Imagefiles (*.emf, *.wmf, *.bmp, *.jpg)|*.emf;*.wmf;*.bmp;*.jpg|All|*.*"));
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].Description, String("Imagefiles (*.emf, *.wmf, *.bmp, *.jpg)"));
    EXPECT_EQ(f[0].Patterns, (std::vector<String>{String("*.emf"), String("*.wmf"), String("*.bmp"), String("*.jpg")}));
    EXPECT_EQ(f[1].Patterns, std::vector<String>{String("*.*")});
    EXPECT_TRUE(ParseFileFilter(String()).empty());
    // A trailing description without patterns stands for itself.
    auto g = ParseFileFilter(String("*.txt"));
    ASSERT_EQ(g.size(), 1u);
    EXPECT_EQ(g[0].Patterns, std::vector<String>{String("*.txt")});
}

TEST_F(DialogsTest, FontDialogApplyRunsOnApplyWithTheShownFont) {
    TFontDialog dlg(nullptr);
    dlg.SetOptions(TFontDialogOptions{fdEffects, fdApplyButton});
    dlg.Font()->SetName(String("Noto Sans CJK JP"));
    dlg.Font()->SetSize(9);
    std::vector<int> appliedSizes;
    dlg.OnApply = [&](TObject* sender, HWND) {
        EXPECT_EQ(sender, &dlg);
        appliedSizes.push_back(dlg.Font()->Size());
    };
    ui::SetCommonDialogHook([](TCommonDialog& d) {
        auto& fd = dynamic_cast<TFontDialog&>(d);
        EXPECT_TRUE(fd.Options().Contains(fdApplyButton));
        fd.Font()->SetSize(12);
        fd.Apply();  // the user presses Apply, then OK with a larger size
        fd.Font()->SetSize(14);
        fd.Font()->SetStyle(TFontStyles() << fsBold);
        return true;
    });
    ASSERT_TRUE(dlg.Execute());
    EXPECT_EQ(appliedSizes, std::vector<int>{12});
    EXPECT_EQ(dlg.Font()->Size(), 14);
    EXPECT_TRUE(dlg.Font()->Style().Contains(fsBold));
}

TEST_F(DialogsTest, ColorDialogReadsAndWritesItsCustomColours) {
    TColorDialog dlg(nullptr);
    dlg.CustomColors()->Add(String("ColorA=FFFFFF"));
    dlg.CustomColors()->Add(String("ColorB=F0CAA6"));
    dlg.CustomColors()->Add(String("ColorC=nonsense"));
    EXPECT_EQ(dlg.CustomColor(0), 0xFFFFFF);
    EXPECT_EQ(dlg.CustomColor(1), 0xF0CAA6);
    EXPECT_EQ(dlg.CustomColor(2), clNone);
    EXPECT_EQ(dlg.CustomColor(3), clNone);
    EXPECT_EQ(dlg.CustomColor(16), clNone);
    dlg.SetColor(0xFF0000);
    ui::SetCommonDialogHook([](TCommonDialog& d) {
        auto& cd = dynamic_cast<TColorDialog&>(d);
        EXPECT_EQ(cd.Color(), 0xFF0000);
        cd.SetCustomColor(15, 0x0000FF);
        cd.SetColor(0x00C0C0);
        return true;
    });
    ASSERT_TRUE(dlg.Execute());
    EXPECT_EQ(dlg.Color(), 0x00C0C0);
    EXPECT_EQ(dlg.CustomColors()->Values(String("ColorP")), String("0000FF"));
}

TEST_F(DialogsTest, MessageDlgShowsItsButtonsAndReturnsTheScriptedOne) {
    struct Case {
        TMsgDlgType type;
        TMsgDlgButtons buttons;
        UINT flags;
        const char* caption;
        int answer;  // what the user presses (IDxxx)
    };
    const Case cases[] = {
        {mtConfirmation, mbYesNoCancel, MB_YESNOCANCEL | MB_ICONQUESTION, "Confirm", IDNO},
        {mtWarning, TMsgDlgButtons{mbOK}, MB_OK | MB_ICONWARNING, "Warning", IDOK},
        {mtError, mbOKCancel, MB_OKCANCEL | MB_ICONERROR, "Error", IDCANCEL},
        {mtInformation, mbYesNo, MB_YESNO | MB_ICONINFORMATION, "Information", IDYES},
        {mtWarning, mbAbortRetryIgnore, MB_ABORTRETRYIGNORE | MB_ICONWARNING, "Warning", IDIGNORE},
        {mtConfirmation, TMsgDlgButtons{mbYes, mbYesToAll, mbNo, mbNoToAll, mbCancel}, MB_YESNOCANCEL | MB_ICONQUESTION, "Confirm", IDYES},
        {mtWarning, TMsgDlgButtons{mbRetry, mbCancel}, MB_RETRYCANCEL | MB_ICONWARNING, "Warning", IDRETRY},
    };
    for (const Case& c : cases) {
        ui::ClearMessageBoxLog();
        ui::SetMessageBoxHook([&](const ui::MessageBoxCall&) { return c.answer; });
        int result = MessageDlg(String("保存しますか？"), c.type, c.buttons, 0);
        EXPECT_EQ(result, c.answer) << c.caption;
        ASSERT_EQ(ui::MessageBoxLog().size(), 1u);
        EXPECT_EQ(ui::MessageBoxLog()[0].Text, String("保存しますか？"));
        EXPECT_EQ(ui::MessageBoxLog()[0].Caption, String(c.caption));
        EXPECT_EQ(ui::MessageBoxLog()[0].Flags, c.flags) << c.caption;
    }
    EXPECT_EQ(mrNo, IDNO);
    ASSERT_EQ(ui::MessageDlgLog().size(), std::size(cases));
    EXPECT_EQ(ui::MessageDlgLog()[0].Buttons, mbYesNoCancel);
    EXPECT_EQ(ui::MessageDlgLog()[0].Result, mrNo);
    // Unscripted on the headless platform the first button answers.
    ui::SetMessageBoxHook(nullptr);
    EXPECT_EQ(MessageDlg(String("?"), mtConfirmation, mbYesNo, 0), mrYes);
}

TEST_F(DialogsTest, ShowMessageAndApplicationMessagesAreRecordedWithTheirCaption) {
    Application->SetTitle(String("TQW-560R - Evaluation software program"));
    ui::ClearMessageBoxLog();
    ShowMessage(String("     ｱﾌﾟﾘｹｰｼｮﾝｴﾗｰが発生しました。"));
    MessageDlg(String("custom"), mtCustom, TMsgDlgButtons{mbOK}, 0);
    ASSERT_EQ(ui::MessageBoxLog().size(), 2u);
    EXPECT_EQ(ui::MessageBoxLog()[0].Text, String("     ｱﾌﾟﾘｹｰｼｮﾝｴﾗｰが発生しました。"));
    EXPECT_EQ(ui::MessageBoxLog()[0].Caption, String("TQW-560R - Evaluation software program"));
    EXPECT_EQ(ui::MessageBoxLog()[0].Flags, MB_OK);
    EXPECT_EQ(ui::MessageBoxLog()[1].Caption, String("TQW-560R - Evaluation software program"));
}

TEST_F(DialogsTest, MessageBeepIsCounted) {
    win::ResetMessageBeeps();
    MessageBeep(MB_ICONEXCLAMATION);
    MessageBeep(MB_OK);
    MessageBeep(MB_ICONEXCLAMATION);
    EXPECT_EQ(win::MessageBeepCount(), 3);
    EXPECT_EQ(win::LastMessageBeepType(), MB_ICONEXCLAMATION);
    win::ResetMessageBeeps();
    EXPECT_EQ(win::MessageBeepCount(), 0);
}
