// HTML-formatted text at the sizes a grid meets: one HtmlRenderText call measuring, painting and
// hit-testing a 40-line text of 2,000 characters with tags in a 400-pixel-wide rectangle; one grid
// cell of 60 characters with three tags painted, measured and hit-tested beside the canvas's own
// TextOut and TextWidth of its plain text and a raw QPainter drawText, in the same run; plain text
// through the renderer; non-wrapping cells and wrapped paragraphs of 1,000 to 100,000 characters; texts of "&amp;"
// entities; marking 1,000 matches in a 100,000-character text; and one animation step of a
// 200-frame GIF of about 1 MB.
#include <benchmark/benchmark.h>

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include "platform/ole/testing/GifBytes.h"
#include "platform/qt/QtGraphicsApp.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Graphics.h"
#include "render/ZivAVEZE.h"

namespace {

// 40 lines of 50 characters, tags included: 2,000 in all.
String FortyLines() {
    String text;
    for (int i = 0; text.size() < 2000; ++i) {
        String line = u"Line <B>" + IntToStr(i % 10) + u"</B> <I>in</I> <U>a</U> row of ";
        if (line.size() < 46) line += String(46 - line.size(), u'w');
        line += u"<BR>";
        text += line;
    }
    text.resize(2000);
    return text;
}

enum Mode { Measuring, Painting, HitTesting };

// The call a grid makes for a cell, in one of the three modes.
struct Cell {
    String anchor, strip, focus, title, id, value, type;
    int xSize = 0, ySize = 0, links = 0, mouseLink = 0;
    TRect hover, control;
    bool Render(TCanvas* c, const String& text, const TRect& rect, Mode mode, bool wordWrap = true) {
        return HtmlRenderText(c, text, rect, nullptr, rect.Left + 40, rect.Top + 6, -1, 0, 1, mode == HitTesting,
                              mode == Measuring, false, false, true, false, wordWrap, false, 1.0, clBlue, clNone, clNone,
                              clGray, anchor, strip, focus, title, xSize, ySize, links, mouseLink, hover, control, id,
                              value, type, nullptr, nullptr, nullptr, THtmlBiDiMode::bdLeftToRight);
    }
};

// A bitmap of the screen's format whose canvas stays locked, as in a paint pass.
struct Sheet {
    TBitmap bitmap;
    TCanvas* c;
    Sheet(int w, int h) : bitmap(w, h), c(bitmap.Canvas()) {
        qtb::EnsureApplication();
        c->Font()->SetName(u"Arial");
        c->Font()->SetSize(9);
        c->Brush()->SetColor(clWhite);
        c->Lock();
    }
    ~Sheet() { c->Unlock(); }
};

void BM_RenderText(benchmark::State& state) {
    const Mode mode = static_cast<Mode>(state.range(0));
    Sheet s(420, 800);
    const String text = FortyLines();
    Cell cell;
    for (auto _ : state) benchmark::DoNotOptimize(cell.Render(s.c, text, TRect(0, 0, 400, 800), mode));
    state.counters["lines"] = static_cast<double>(cell.ySize) / s.c->TextHeight(u"gh");
}

// A grid cell: 60 characters shown, three tags (bold, a coloured FONT, italic).
const char16_t kCell[] =
    u"<B>Channel 12</B> reports <FONT COLOR=\"clred\">-87 dBm</FONT> under <I>the noise floor</I> at 14:32:05";
const TRect kCellRect(0, 0, 400, 20);

void BM_Cell(benchmark::State& state) {
    const Mode mode = static_cast<Mode>(state.range(0));
    Sheet s(420, 40);
    Cell cell;
    const String text = kCell;
    for (auto _ : state) benchmark::DoNotOptimize(cell.Render(s.c, text, kCellRect, mode));
    state.counters["shown"] = static_cast<double>(cell.strip.size());
}

// The cell's plain text through the renderer: no tag at all.
void BM_CellPlainText(benchmark::State& state) {
    const Mode mode = static_cast<Mode>(state.range(0));
    Sheet s(420, 40);
    Cell cell;
    const String text = HtmlStripTags(kCell);
    for (auto _ : state) benchmark::DoNotOptimize(cell.Render(s.c, text, kCellRect, mode));
    state.counters["shown"] = static_cast<double>(text.size());
}

// What the canvas itself takes for the cell's plain text.
void BM_CellTextOut(benchmark::State& state) {
    Sheet s(420, 40);
    s.c->Brush()->SetStyle(bsClear);
    const String text = HtmlStripTags(kCell);
    for (auto _ : state) s.c->TextOut(1, 2, text);
    state.counters["shown"] = static_cast<double>(text.size());
}

void BM_CellTextWidth(benchmark::State& state) {
    Sheet s(420, 40);
    const String text = HtmlStripTags(kCell);
    for (auto _ : state) benchmark::DoNotOptimize(s.c->TextWidth(text));
    state.counters["shown"] = static_cast<double>(text.size());
}

// And a painter of the toolkit, with the font the canvas picks for Arial 9, on the same format.
void BM_CellQPainter(benchmark::State& state) {
    qtb::EnsureApplication();
    QImage image(420, 40, QImage::Format_RGB32);
    QPainter p(&image);
    QStringList families;
    for (const String& f : TFont::SubstituteFamilies(u"Arial")) families << QString::fromStdU16String(f);
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(12);
    font.setKerning(false);
    font.setStyleStrategy(QFont::NoAntialias);
    p.setFont(font);
    p.setPen(Qt::black);
    const QString text = QString::fromStdU16String(HtmlStripTags(kCell));
    const int baseline = 2 + QFontMetrics(font).ascent();
    for (auto _ : state) p.drawText(1, baseline, text);
    state.counters["shown"] = static_cast<double>(text.size());
}

// The cell followed by plain words to n characters (a log line, say).
String LongCell(size_t n) {
    String text = String(kCell) + u" ";
    while (text.size() < n) text += u"then the level fell again ";
    text.resize(n);
    return text;
}

// A long cell painted in one line without word wrap: cut with an ellipsis at the cell's edge.
void BM_CellNoWrap(benchmark::State& state) {
    const size_t n = static_cast<size_t>(state.range(0));
    Sheet s(420, 40);
    const String text = LongCell(n);
    Cell cell;
    for (auto _ : state) benchmark::DoNotOptimize(cell.Render(s.c, text, kCellRect, Painting, false));
    state.counters["chars"] = static_cast<double>(n);
}

// A long cell wrapped into lines of a 400-pixel cell and measured: each line is measured about
// as far as it reaches.
void BM_Paragraph(benchmark::State& state) {
    const size_t n = static_cast<size_t>(state.range(0));
    Sheet s(420, 40);
    const String text = LongCell(n);
    Cell cell;
    for (auto _ : state) benchmark::DoNotOptimize(cell.Render(s.c, text, TRect(0, 0, 400, 20), Measuring));
    state.counters["lines"] = static_cast<double>(cell.ySize) / s.c->TextHeight(u"gh");
}

// n "&amp;" entities (each shown as one "&"), measured, and their preparation alone.
void BM_Ampersands(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Sheet s(420, 40);
    String text;
    for (int i = 0; i < n; ++i) text += u"&amp;";
    Cell cell;
    for (auto _ : state) benchmark::DoNotOptimize(cell.Render(s.c, text, TRect(0, 0, 400, 2000), Measuring));
    state.counters["entities"] = n;
}

void BM_AmpersandsPrepared(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    String text;
    for (int i = 0; i < n; ++i) text += u"&amp;";
    for (auto _ : state) benchmark::DoNotOptimize(HtmlPrepareText(text));
    state.counters["entities"] = n;
}

void BM_MarkText(benchmark::State& state) {
    // 1,000 blocks of 100 characters, each holding "needle" once outside its tags.
    String html;
    while (html.size() < 100000) {
        String block = u"<B>Some text</B> before the needle and <I>more words</I> after it ";
        block += String(100 - block.size(), u'.');
        html += block;
    }
    for (auto _ : state) benchmark::DoNotOptimize(HtmlMarkText(html, u"needle", u"HI", false));
    state.counters["matches"] = 1000;
}

void BM_GifStep(benchmark::State& state) {
    // 200 frames of 80 x 80 pixels, each with a delay of one tick.
    std::vector<ole::test::GifFrame> frames;
    for (int i = 0; i < 200; ++i) frames.push_back({0, 0, 80, 80, 10, static_cast<uint8_t>(1 + i % 3)});
    const std::vector<uint8_t> bytes = ole::test::GifFile(80, 80, frames);
    THTMLPicture picture;
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(0);
    picture.LoadFromStream(&stream);
    picture.Step();
    picture.Step();  // from here every step changes the frame
    for (auto _ : state) benchmark::DoNotOptimize(picture.Step());
    state.counters["bytes"] = static_cast<double>(bytes.size());
}

}  // namespace

BENCHMARK(BM_RenderText)->Arg(Measuring)->Arg(Painting)->Arg(HitTesting)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Cell)->Arg(Measuring)->Arg(Painting)->Arg(HitTesting)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CellPlainText)->Arg(Measuring)->Arg(Painting)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CellTextOut)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CellTextWidth)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CellQPainter)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CellNoWrap)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paragraph)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ampersands)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AmpersandsPrepared)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarkText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifStep)->Unit(benchmark::kMicrosecond);
