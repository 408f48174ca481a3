// Renders the air monitor's pages and its small forms to PNG files in the temporary folder, for
// a person to look at.
#include <cmath>
#include <filesystem>

#include "app/ImageSel1.h"
#include "app/ImageView1.h"
#include "app/OptionBox.h"
#include "app/tests/WorkbenchTestSupport.h"
#include "platform/ui/Printers.h"

using namespace wbtest;

namespace {

using MonitorLook = Workbench;

TEST_F(MonitorLook, PagesAndForms) {
    if (!std::getenv("RWB_RENDER_LOOK")) GTEST_SKIP() << "set RWB_RENDER_LOOK to write the pictures";
    StartWithModel(String("ttyS0"));
    TMainForm* f = MainForm;
    f->Show();
    f->SetEnabled(true);
    f->PageControl1->SetVisible(true);
    f->EnableControls(1, true);
    f->PageControl1->SetActivePage(f->TabSheet1);
    bool allow = true;
    f->PageControl1Changing(f->PageControl1, allow);
    f->PageControl1Change(f->PageControl1);
    const auto tmp = std::filesystem::temp_directory_path();

    // A sweep's levels and peaks, a threshold, a clicked bar.
    for (int ch = 7; ch <= 46; ++ch) {
        f->LevelTable[static_cast<size_t>(ch)] = -118 + static_cast<int>(22 * std::sin(ch / 3.0)) + (ch == 27 ? 40 : 0);
        f->PeakTable[static_cast<size_t>(ch)] = f->LevelTable[static_cast<size_t>(ch)] + 8;
    }
    f->Edit3->SetText(String("Roof antenna, north side"));
    f->Edit5->SetText(String("survey-01"));
    f->SpeedButton6Click(f->SpeedButton6);
    f->MvVSlider1->SetValue(-101.0f);
    f->CheckBox3Click(f->CheckBox3);
    f->Series1Click(f->Series1, 27, mbLeft, {}, 0, 0);
    f->MvBar1->SetValue(20);
    f->Memo2->SetText(String("CH7-118dBm\r\nCH8  -113dBm\r\nCH9  -110dBm\r\n"));
    EXPECT_TRUE(ui::test::SaveToPng(f, (tmp / "rwb_monitor_freq.png").string()));

    // A time run of 100 samples.
    f->PageControl2->SetActivePage(f->TabSheet6);
    f->PageControl2Change(f->PageControl2);
    f->MvNumSpin3->SetValue(100);
    for (int i = 1; i <= 100; ++i) f->SampleTable[static_cast<size_t>(i)] = -105 + static_cast<int>(15 * std::sin(i / 7.0));
    f->MvVSlider3->SetValue(-101.0f);
    f->SpeedButton6Click(f->SpeedButton6);
    f->AreaSeries1Click(f->AreaSeries1, 40, mbLeft, {}, 0, 0);
    f->StatusBar1->Panels()->Items(3)->SetText(String("100"));
    EXPECT_TRUE(ui::test::SaveToPng(f, (tmp / "rwb_monitor_time.png").string()));

    // A printed page of the time chart, on the PDF printer.
    Printer()->SetPrinterIndex(Printer()->PdfPrinterIndex());
    Printer()->SetFileName(String((tmp / "rwb_monitor_print.pdf").string()));
    f->Chart2->Print();
    Printer()->SetFileName(String());

    f->Chart2->SaveToBitmapFile(String((tmp / "rwb_monitor_time.bmp").string()));
    ImageViewForm1->Show();
    ImageViewForm1->Image1->Picture()->LoadFromFile(String((tmp / "rwb_monitor_time.bmp").string()));
    ImageViewForm1->SetCaption(String("rwb_monitor_time.bmp"));
    EXPECT_TRUE(ui::test::SaveToPng(ImageViewForm1, (tmp / "rwb_viewer.png").string()));
    OptionBoxForm->Show();
    OptionBoxForm->PageControl1->SetActivePage(OptionBoxForm->TabSheet2);
    EXPECT_TRUE(ui::test::SaveToPng(OptionBoxForm, (tmp / "rwb_options.png").string()));
    ImageSelectForm1->Show();
    EXPECT_TRUE(ui::test::SaveToPng(ImageSelectForm1, (tmp / "rwb_image_type.png").string()));
    std::filesystem::remove(tmp / "rwb_monitor_time.bmp");
}

}  // namespace
