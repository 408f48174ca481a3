// The charts as pictures: the export through the image-type chooser, printing, the clipboard,
// the viewer, and the option box's colours and image type.
#include <filesystem>
#include <fstream>

#include "app/ImageSel1.h"
#include "app/ImageView1.h"
#include "app/OptionBox.h"
#include "app/tests/MonitorTestSupport.h"
#include "platform/rtl/testing/TestSupport.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Printers.h"

using namespace wbtest;

namespace {

class Pictures : public MonitorTest {
protected:
    String answer;  // the file the next file dialog chooses; empty: cancel
    struct Asked {
        std::string title, filter, name, folder;
    };
    std::vector<Asked> asked;
    bool closeBox = false;  // the chooser is closed by its close box rather than "Ok"

    void SetUp() override {
        MonitorTest::SetUp();
        ui::SetCommonDialogHook([this](TCommonDialog& d) {
            if (auto* f = dynamic_cast<TOpenDialog*>(&d)) {
                asked.push_back({Utf8(f->Title()), Utf8(f->Filter()), Utf8(f->FileName()), Utf8(f->InitialDir())});
                if (answer.empty()) return false;
                f->SetFileName(answer);
                return true;
            }
            if (d.Kind() == TDialogKind::Print) {
                Printer()->SetPrinterIndex(Printer()->PdfPrinterIndex());
                Printer()->SetFileName(String(dir.File("page.pdf")));
                return true;
            }
            return false;
        });
        // The chooser is answered as soon as its modal loop shows it.
        Application->OnIdle = [this](TObject*, bool& Done) {
            Done = false;
            if (!ImageSelectForm1 || !ImageSelectForm1->Visible()) return;
            if (closeBox) ImageSelectForm1->Perform(WM_CLOSE);
            else ImageSelectForm1->SpeedButton1->Click();
            // The workbench's own idle handler may let the loop rest: wake it to see the result.
            PostMessage(MainForm->Handle(), WM_NULL, 0, 0);
        };
        Clipboard()->Clear();
    }
    void TearDown() override {
        Application->OnIdle = nullptr;
        ui::SetCommonDialogHook(nullptr);
        MonitorTest::TearDown();
    }
    void Export(int type, const std::string& name) {
        ImageSelectForm1->RadioGroup1->SetItemIndex(type);
        answer = name.empty() ? String() : String(dir.File(name.c_str()));
        MainForm->Saveimagefile2Click(MainForm->Saveimagefile2);
    }
};

TEST_F(Pictures, EachTypeIsWrittenWithItsTitleAndFilter) {
    EnterAirMonitor(0);
    MainForm->Edit5->SetText(String("run1"));
    struct Case {
        const char* file;
        const char* title;
        const char* filter;
        const char* proposed;
    };
    const Case cases[] = {
        {"c.emf", "Graph save as EMF", "AirMonitor EMF files (*.emf)|*.emf", "run1.emf"},
        {"c.wmf", "Graph save as WMF", "AirMonitor WMF files (*.wmf)|*.wmf", "run1.wmf"},
        {"c.bmp", "Graph save as BMP", "AirMonitor BMP files (*.bmp)|*.bmp", "run1.bmp"},
        {"c.jpg", "Graph save as JPEG", "AirMonitor JPEG files (*.jpg)|*.jpg", "run1.jpg"},
    };
    for (int type = 0; type < 4; ++type) {
        const Case& c = cases[type];
        SCOPED_TRACE(c.file);
        closeBox = type == 1;  // the close box counts as "Ok"
        Export(type, c.file);
        ASSERT_FALSE(asked.empty());
        EXPECT_EQ(asked.back().title, c.title);
        EXPECT_EQ(asked.back().filter, c.filter);
        EXPECT_EQ(asked.back().name, c.proposed);
        const std::string bytes = rtl_test::ReadAll(dir.File(c.file));
        ASSERT_GT(bytes.size(), 100u);
        TPicture picture;
        picture.LoadFromFile(String(dir.File(c.file)));
        if (type >= 2) {
            EXPECT_EQ(picture.Width(), MainForm->Chart1->Width());
            EXPECT_EQ(picture.Height(), MainForm->Chart1->Height());
        }
    }
    EXPECT_EQ(rtl_test::ReadAll(dir.File("c.jpg")).substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(rtl_test::ReadAll(dir.File("c.bmp")).substr(0, 2), "BM");
    // The JPEG went through the clipboard, which keeps the chart's bitmap.
    TBitmap bmp;
    ASSERT_TRUE(Clipboard()->GetPicture(&bmp));
    EXPECT_EQ(bmp.Width(), MainForm->Chart1->Width());

    // A cancelled save changes nothing; the program's folder stays a folder.
    const std::string exeDir = Utf8(MainForm->ExeDir);
    Export(0, "");
    EXPECT_EQ(Utf8(MainForm->ExeDir), exeDir);
}

// A picture that cannot be written says which file and why; the one on disk stays; pictures keep
// a folder of their own, apart from the graph files'.
TEST_F(Pictures, AFailedExportNamesTheFileAndKeepsTheOldOne) {
    EnterAirMonitor(0);
    std::filesystem::create_directory(dir.File("pics"));
    Export(2, "pics/c.bmp");
    const std::string before = rtl_test::ReadAll(dir.File("pics/c.bmp"));
    ASSERT_GT(before.size(), 100u);
    answer = String();
    MainForm->Savegraphdata2Click(MainForm->Savegraphdata2);  // cancelled: the graph files' dialog
    EXPECT_EQ(asked.back().folder, dir.File(""));
    ui::ClearMessageBoxLog();
    for (int type = 0; type < 4; ++type) {
        rtl::test::ReadOnlyFolder readOnly(dir.File("pics"));
        const char* names[] = {"pics/c.bmp", "pics/c.wmf", "pics/c.bmp", "pics/c.jpg"};
        Export(type, names[type]);
        EXPECT_EQ(asked.back().folder, dir.File("pics/"));
    }
    ASSERT_EQ(ui::MessageBoxLog().size(), 4u);
    for (const auto& call : ui::MessageBoxLog()) {
        EXPECT_NE(Utf8(call.Text).find(dir.File("pics/c.")), std::string::npos) << Utf8(call.Text);
        EXPECT_NE(Utf8(call.Text).find("Permission denied"), std::string::npos) << Utf8(call.Text);
    }
    const std::string after = rtl_test::ReadAll(dir.File("pics/c.bmp"));
    EXPECT_TRUE(after == before) << "the bitmap changed: " << before.size() << " bytes before, " << after.size() << " after";
    for (const auto& e : std::filesystem::directory_iterator(dir.File("pics")))
        EXPECT_EQ(e.path().filename(), "c.bmp") << "left behind";
}

TEST_F(Pictures, TheTimePageIsExportedCopiedAndPrinted) {
    EnterAirMonitor(1);
    Export(2, "time.bmp");
    TPicture picture;
    picture.LoadFromFile(String(dir.File("time.bmp")));
    EXPECT_EQ(picture.Height(), MainForm->Chart2->Height());

    // The clipboard's image type "WMF": Ctrl+C puts an older metafile of the time chart there.
    OptionBoxForm->RadioGroup2->SetItemIndex(1);
    MainForm->Show();
    MainForm->SetEnabled(true);
    ui::test::Key(MainForm, 'C', String(), {ssCtrl});
    EXPECT_TRUE(Clipboard()->HasFormat(CF_METAFILEPICT));
    EXPECT_FALSE(Clipboard()->HasFormat(CF_ENHMETAFILE));
    TMetafile wmf;
    ASSERT_TRUE(Clipboard()->GetPicture(&wmf));
    EXPECT_FALSE(wmf.Enhanced());
    for (auto [type, format] : {std::pair{0, CF_ENHMETAFILE}, std::pair{2, CF_BITMAP}}) {
        Clipboard()->Clear();
        OptionBoxForm->RadioGroup2->SetItemIndex(type);
        MainForm->Copytoclipboard1Click(MainForm->Copytoclipboard1);
        EXPECT_TRUE(Clipboard()->HasFormat(format)) << type;
    }
    // Nothing is copied on the control page.
    Clipboard()->Clear();
    MainForm->MeasureMode = 0;
    MainForm->Copytoclipboard1Click(MainForm->Copytoclipboard1);
    EXPECT_EQ(Clipboard()->FormatCount(), 0);
    MainForm->MeasureMode = 5;

    // Printing goes to the printer chosen: here the PDF printer's file.
    MainForm->Printgraph2Click(MainForm->Printgraph2);
    EXPECT_EQ(rtl_test::ReadAll(dir.File("page.pdf")).substr(0, 5), "%PDF-");
}

TEST_F(Pictures, TheViewerShowsSavedPicturesAndOpensEmpty) {
    EnterAirMonitor(0);
    for (auto [type, name] : {std::pair{0, "v.emf"}, std::pair{1, "v.wmf"}, std::pair{2, "v.bmp"}, std::pair{3, "v.jpg"}})
        Export(type, name);
    MainForm->Imageviewer1->Click();
    EXPECT_TRUE(ImageViewForm1->Visible());
    EXPECT_EQ(ImageViewForm1->Width(), 892);
    EXPECT_EQ(ImageViewForm1->Height(), 525);
    const std::pair<const char*, UINT> files[] = {
        {"v.emf", CF_ENHMETAFILE}, {"v.wmf", CF_METAFILEPICT}, {"v.bmp", CF_BITMAP}, {"v.jpg", CF_BITMAP}};
    for (auto [name, format] : files) {
        SCOPED_TRACE(name);
        answer = String(dir.File(name));
        ImageViewForm1->ToolButton1->Click();
        EXPECT_EQ(asked.back().filter, "Imagefiles (*.emf, *.wmf, *.bmp, *.jpg)|*.emf;*.wmf;*.bmp;*.jpg");
        EXPECT_EQ(asked.back().name, "");
        EXPECT_EQ(Utf8(ImageViewForm1->Caption()), name);
        ASSERT_NE(ImageViewForm1->Image1->Picture()->Graphic(), nullptr);
        EXPECT_GT(ImageViewForm1->Image1->Picture()->Width(), 0);
        Clipboard()->Clear();
        ImageViewForm1->CopytoclipBoard1->Click();
        EXPECT_TRUE(Clipboard()->HasFormat(format));
    }
    EXPECT_EQ(asked.back().folder, dir.File("")) << "the viewer starts where the pictures were saved";
    ImageViewForm1->ToolButton3->Click();
    EXPECT_FALSE(ImageViewForm1->Visible());
    EXPECT_EQ(ImageViewForm1->Image1->Picture()->Graphic(), nullptr);
    MainForm->N4Click(MainForm->Imageviewer2);
    EXPECT_EQ(ImageViewForm1->Image1->Picture()->Graphic(), nullptr);
    // Nothing shown, nothing copied.
    Clipboard()->Clear();
    ImageViewForm1->CopytoclipBoard1->Click();
    EXPECT_EQ(Clipboard()->FormatCount(), 0);

    // A file that cannot be read: the error reaches the exception event, the viewer stays open
    // and empty.
    answer = String(dir.File("v.emf"));
    ImageViewForm1->ToolButton1->Click();
    std::ofstream(dir.File("broken.bmp"), std::ios::binary) << "BM not a bitmap";
    answer = String(dir.File("broken.bmp"));
    ui::ClearMessageBoxLog();
    ui::test::Click(ImageViewForm1->ToolButton1, 5, 5);
    EXPECT_EQ(Messages(), std::vector<std::string>{kApplicationErrorText});
    EXPECT_TRUE(ImageViewForm1->Visible());
    EXPECT_EQ(ImageViewForm1->Image1->Picture()->Graphic(), nullptr);
}

// ---- option box --------------------------------------------------------------------------------

class Options : public Pictures {
protected:
    bool confirmColour = false;
    TColor chosen = 0x123456;
    void SetUp() override {
        Pictures::SetUp();
        ui::SetCommonDialogHook([this](TCommonDialog& d) {
            auto* c = dynamic_cast<TColorDialog*>(&d);
            if (!c || !confirmColour) return false;
            c->SetColor(chosen);
            return true;
        });
    }
};

TEST_F(Options, DefaultsAndTheColourDialog) {
    MainForm->Option1->Click();
    EXPECT_TRUE(OptionBoxForm->Visible());
    EXPECT_EQ(MainForm->c1Peak, 0x808080);
    OptionBoxForm->SpeedButton3->Click();
    EXPECT_EQ(MainForm->c1Peak, 0xC0C0C0);
    EXPECT_EQ(MainForm->Series3->SeriesColor(), 0xC0C0C0);
    EXPECT_EQ(OptionBoxForm->MvLED[5]->LED()->ColorOff(), 0xC0C0C0);
    EXPECT_EQ(MainForm->c2Point, 0xFF0000);
    OptionBoxForm->SpeedButton4->Click();
    EXPECT_EQ(MainForm->c2Point, 0xFFFF00);
    EXPECT_EQ(MainForm->AreaSeries1->Pointer()->Color(), 0xFFFF00);
    EXPECT_EQ(MainForm->c1Main, 0xF0CAA6);

    // A chosen colour goes to its lamp and the screen; a cancel still applies the colours.
    confirmColour = true;
    ui::test::Click(OptionBoxForm->MvLED[12], 5, 5);  // the lamp, as the mouse clicks it
    EXPECT_EQ(MainForm->ContBack, 0x123456);
    EXPECT_EQ(MainForm->Memo1->Color(), 0x123456);
    EXPECT_EQ(OptionBoxForm->MvLED[12]->LED()->ColorOff(), 0x123456);
    confirmColour = false;
    MainForm->c2End = 0x00FF00;  // changed behind the screen's back
    OptionBoxForm->MvLED[6]->Click();
    EXPECT_EQ(MainForm->Chart2->Gradient()->EndColor(), 0x00FF00);
}

TEST_F(Options, SavingWritesEveryColourAndKeepsTheRestOfTheFile) {
    {
        std::ofstream out(dir.File("workbench.ini"), std::ios::app | std::ios::binary);
        out << "\r\n[Other]\r\nKey=kept\r\n";
    }
    OptionBoxForm->Show();
    // "OK" and Esc write nothing.
    const std::string before = ReadSettings();
    MainForm->c1Main = 0x0000FF;
    OptionBoxForm->SpeedButton2->Click();
    EXPECT_FALSE(OptionBoxForm->Visible());
    OptionBoxForm->Show();
    WORD esc = 27;
    OptionBoxForm->FormKeyDown(OptionBoxForm, esc, {});
    EXPECT_FALSE(OptionBoxForm->Visible());
    EXPECT_EQ(ReadSettings(), before);

    OptionBoxForm->Show();
    OptionBoxForm->RadioGroup2->SetItemIndex(2);
    OptionBoxForm->SpeedButton1->Click();
    EXPECT_FALSE(OptionBoxForm->Visible());
    const std::string text = ReadSettings();
    EXPECT_NE(text.find("[Other]\r\nKey=kept"), std::string::npos);
    std::vector<std::string> keys;
    for (const char* k : {"Back", "Font"}) EXPECT_NE(text.find(std::string("\r\n") + k + "="), std::string::npos) << k;
    for (const char* k : {"c1Main", "c1Over", "c1Peak", "c1Start", "c1End", "c1ThreLine", "c1AnaLine1",
                          "c1AnaLine2", "c1CenterLine", "c2Main", "c2Over", "c2Start", "c2End", "c2ThreLine",
                          "c2AnaLine", "c2CenterLine", "c2Point", "c2AreaLine", "ClipBoardImageType"})
        keys.push_back(std::string("\r\n") + k + "=");
    size_t at = 0;
    for (const std::string& k : keys) {
        const size_t found = text.find(k, at);
        EXPECT_NE(found, std::string::npos) << k;
        if (found != std::string::npos) at = found;
    }
    EXPECT_NE(text.find("\r\nc1Main=255\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nClipBoardImageType=2\r\n"), std::string::npos);

    // The next start takes the saved colours and image type.
    Application->DestroyComponents();
    Start();
    EXPECT_EQ(MainForm->c1Main, 0x0000FF);
    EXPECT_EQ(OptionBoxForm->RadioGroup2->ItemIndex(), 2);
    EXPECT_EQ(OptionBoxForm->MvLED[3]->LED()->ColorOff(), 0x0000FF);
}

}  // namespace
