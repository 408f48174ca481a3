// The chart's outputs: bitmap, metafiles, clipboard and printer, each made by the same drawing
// as the screen.
#include <algorithm>

#include "platform/chart/Chart.h"
#include "platform/rtl/Streams.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Printers.h"

namespace {

void WriteFile(const String& fileName, const std::vector<uint8_t>& bytes) {
    ReplaceFileContents(fileName, std::string(bytes.begin(), bytes.end()));
}

}  // namespace

std::unique_ptr<TBitmap> TChart::CreateBitmap() {
    // Drawn in the device format, which the canvas paints directly, and converted once.
    auto bitmap = std::make_unique<TBitmap>(Width(), Height(), pfDevice);
    DrawChart(bitmap->Canvas(), TRect(0, 0, Width(), Height()), false);
    bitmap->SetPixelFormat(pf24bit);
    return bitmap;
}

std::unique_ptr<TMetafile> TChart::CreateMetafile(bool Enhanced, const TRect& R) {
    auto metafile = std::make_unique<TMetafile>();
    metafile->SetWidth(R.Right);
    metafile->SetHeight(R.Bottom);
    metafile->SetEnhanced(Enhanced);
    {
        TMetafileCanvas canvas(metafile.get(), nullptr);
        DrawChart(&canvas, R, false);
    }
    return metafile;
}

void TChart::SaveToBitmapFile(const String& FileName) { CreateBitmap()->SaveToFile(FileName); }

void TChart::SaveToMetafile(const String& FileName) {
    // The format is the one asked for, whatever the file's extension.
    WriteFile(FileName, CreateMetafile(false, ClientRect())->WmfBytes());
}

void TChart::SaveToMetafileEnh(const String& FileName) {
    WriteFile(FileName, CreateMetafile(true, ClientRect())->EmfBytes());
}

void TChart::CopyToClipboardBitmap() { Clipboard()->Assign(CreateBitmap().get()); }

void TChart::CopyToClipboardMetafile(bool Enhanced) {
    Clipboard()->Assign(CreateMetafile(Enhanced, ClientRect()).get());
}

void TChart::Print() {
    TPrinter* printer = Printer();
    printer->BeginDoc();
    try {
        int pw = printer->PageWidth(), ph = printer->PageHeight();
        int w = std::max(1, Width()), h = std::max(1, Height());
        // As wide as the page, or as high when that is the tighter fit; centred across.
        int sw = pw, sh = static_cast<int>(static_cast<int64_t>(pw) * h / w);
        if (sh > ph) {
            sh = ph;
            sw = static_cast<int>(static_cast<int64_t>(ph) * w / h);
        }
        int left = (pw - sw) / 2;
        DrawChart(printer->Canvas(), TRect(left, 0, left + sw, sh), false);
        printer->EndDoc();
    } catch (...) {
        if (printer->Printing()) printer->Abort();
        throw;
    }
}
