// HTML-formatted text at the sizes a grid meets: one HtmlRenderText call measuring, painting and
// hit-testing a 40-line text of 2,000 characters with tags in a 400-pixel-wide rectangle; marking
// 1,000 matches in a 100,000-character text; and one animation step of a 200-frame GIF of about
// 1 MB.
#include <benchmark/benchmark.h>

#include "platform/ole/testing/GifBytes.h"
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

void BM_RenderText(benchmark::State& state) {
    const Mode mode = static_cast<Mode>(state.range(0));
    TBitmap sheet(420, 800, pf24bit);
    TCanvas* c = sheet.Canvas();
    c->Font()->SetName(u"Arial");
    c->Font()->SetSize(9);
    c->Brush()->SetColor(clWhite);
    const String text = FortyLines();
    String anchor, strip, focus, title, id, value, type;
    int xSize = 0, ySize = 0, links = 0, mouseLink = 0;
    TRect hover, control;
    c->Lock();
    for (auto _ : state) {
        bool hit = HtmlRenderText(c, text, TRect(0, 0, 400, 800), nullptr, 200, 300, -1, 0, 1, mode == HitTesting,
                                  mode == Measuring, false, false, true, false, true, false, 1.0, clBlue, clNone, clNone,
                                  clGray, anchor, strip, focus, title, xSize, ySize, links, mouseLink, hover, control, id,
                                  value, type, nullptr, nullptr, nullptr, THtmlBiDiMode::bdLeftToRight);
        benchmark::DoNotOptimize(hit);
    }
    c->Unlock();
    state.counters["lines"] = static_cast<double>(ySize) / c->TextHeight(u"gh");
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
BENCHMARK(BM_MarkText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifStep)->Unit(benchmark::kMicrosecond);
