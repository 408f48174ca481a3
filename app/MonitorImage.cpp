// The charts as pictures: saved as EMF, WMF, BMP or JPEG files, printed, copied to the clipboard,
// and the viewer and option box that the air monitor's menu opens.
#include <memory>

#include "app/ImageSel1.h"
#include "app/ImageView1.h"
#include "app/Main.h"
#include "app/OptionBox.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Jpeg.h"

namespace {

struct PictureType {
    const char* title;
    const char* extension;
    const char* filter;
};
constexpr PictureType kPictureTypes[] = {
    {"Graph save as EMF", ".emf", "AirMonitor EMF files (*.emf)|*.emf"},
    {"Graph save as WMF", ".wmf", "AirMonitor WMF files (*.wmf)|*.wmf"},
    {"Graph save as BMP", ".bmp", "AirMonitor BMP files (*.bmp)|*.bmp"},
    {"Graph save as JPEG", ".jpg", "AirMonitor JPEG files (*.jpg)|*.jpg"},
};

}  // namespace

void TMainForm::Saveimagefile2Click(TObject* Sender) {
    if (ImageSelectForm1->ShowModal() != mrOk) return;
    const int type = ImageSelectForm1->RadioGroup1->ItemIndex();
    if (type < 0 || type > 3) return;
    const PictureType& t = kPictureTypes[type];
    SaveDialog1->SetInitialDir(DialogFolder(PictureFolder));
    SaveDialog1->SetTitle(String(t.title));
    SaveDialog1->SetFileName(ProposedName(String(t.extension)));
    SaveDialog1->SetFilter(String(t.filter));
    SaveDialog1->SetDefaultExt(String());
    if (SaveDialog1->Execute()) {
        TChart* chart = ShownChart();
        const String file = SaveDialog1->FileName();
        NoteFolder(PictureFolder, file);
        SaveFile(file, [&] {
            switch (type) {
            case 0: chart->SaveToMetafileEnh(file); break;
            case 1: chart->SaveToMetafile(file); break;
            case 2: chart->SaveToBitmapFile(file); break;
            default: {
                // Through the clipboard, which keeps the chart's bitmap afterwards.
                chart->CopyToClipboardBitmap();
                Image1->Picture()->Assign(Clipboard());
                TJPEGImage jpeg;
                jpeg.Assign(Image1->Picture()->Bitmap());
                jpeg.SaveToFile(file);
                break;
            }
            }
        });
    }
    Chart1->Repaint();
    Chart2->Repaint();
}

void TMainForm::Printgraph2Click(TObject* Sender) {
    if (PrintDialog1->Execute()) ShownChart()->Print();
}

void TMainForm::Copytoclipboard1Click(TObject* Sender) {
    TChart* chart = MeasuredChart();
    if (!chart) return;
    switch (OptionBoxForm ? OptionBoxForm->RadioGroup2->ItemIndex() : 0) {
    case 0: chart->CopyToClipboardMetafile(true); break;
    case 1: chart->CopyToClipboardMetafile(false); break;
    case 2: chart->CopyToClipboardBitmap(); break;
    default: break;
    }
}

void TMainForm::N4Click(TObject* Sender) {
    ImageViewForm1->SetHeight(525);
    ImageViewForm1->SetWidth(892);
    ImageViewForm1->Show();
}

void TMainForm::Option1Click(TObject* Sender) { OptionBoxForm->Show(); }
