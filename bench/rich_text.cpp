// Rich text at the size of a long document: reading a 100 KB RTF document of formatted
// paragraphs, laying it out 600 pixels wide, rendering the first page through EM_FORMATRANGE's
// code path onto a bitmap, and writing the document back as RTF.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/qt/QtGraphicsApp.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/RichText.h"

namespace {

// Paragraphs with bold, italic, coloured, raised and accented runs until 100 KB.
std::string Document() {
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
                      "{\\colortbl ;\\red200\\green0\\blue0;}\r\n";
    for (int i = 0; rtf.size() < 100 * 1024; ++i) {
        rtf += (i % 3 == 1) ? "\\pard\\qc " : "\\pard\\ql ";
        rtf += "Paragraph " + std::to_string(i) + " with {\\b bold words}, {\\i italic ones}, {\\cf1 red text} and "
               "{\\up6 raised} caf\\'e9 \\u8364? prices in {\\f1\\fs28 a larger face} for the line to wrap.\\par\r\n";
    }
    return rtf + "}";
}

const std::string& Bytes() {
    static const std::string bytes = Document();
    return bytes;
}

void BM_ReadRtf100K(benchmark::State& state) {
    for (auto _ : state) {
        ui::RichContent c = ui::ReadRtf(Bytes(), ui::RichCharFormat());
        benchmark::DoNotOptimize(c.Text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Bytes().size()));
}
BENCHMARK(BM_ReadRtf100K)->Unit(benchmark::kMillisecond);

void BM_LayOut100K(benchmark::State& state) {
    qtb::EnsureApplication();
    ui::RichDocument doc;
    doc.SetContent(ui::ReadRtf(Bytes(), ui::RichCharFormat()));
    TBitmap bmp;
    bmp.SetSize(1, 1);
    ui::RichLayout::Options o;
    o.Width = 600;
    for (auto _ : state) {
        ui::RichLayout layout;
        layout.Build(doc, *bmp.Canvas(), o);
        benchmark::DoNotOptimize(layout.Height());
    }
}
BENCHMARK(BM_LayOut100K)->Unit(benchmark::kMillisecond);

void BM_RenderFirstPage100K(benchmark::State& state) {
    qtb::EnsureApplication();
    ui::RichDocument doc;
    doc.SetContent(ui::ReadRtf(Bytes(), ui::RichCharFormat()));
    TBitmap bmp;
    bmp.SetSize(600, 800);
    ui::RichLayout::Options o;
    o.Width = 600;
    o.MaxHeight = 800;
    for (auto _ : state) {
        ui::RichLayout layout;
        layout.Build(doc, *bmp.Canvas(), o);
        layout.Draw(doc, *bmp.Canvas(), 0, 0);
        benchmark::DoNotOptimize(layout.End());
    }
}
BENCHMARK(BM_RenderFirstPage100K)->Unit(benchmark::kMillisecond);

void BM_WriteRtf100K(benchmark::State& state) {
    ui::RichDocument doc;
    doc.SetContent(ui::ReadRtf(Bytes(), ui::RichCharFormat()));
    ui::RichContent c = doc.Content();
    for (auto _ : state) {
        std::string out = ui::WriteRtf(c);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_WriteRtf100K)->Unit(benchmark::kMillisecond);

}  // namespace
