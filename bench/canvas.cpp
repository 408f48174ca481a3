// The canvas inside a lock bracket (as in a paint pass) against one open QPainter on the same
// kind of image, call for call; a control's canvas inside its paint pass and outside it; and bars
// on a 24-bit bitmap against the device format.
#include <benchmark/benchmark.h>

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/qt/QtGraphicsApp.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

constexpr int kW = 400, kH = 300;

std::vector<TPoint> Zigzag(int n) {
    std::vector<TPoint> pts;
    pts.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) pts.emplace_back(i % kW, 20 + (i * 37) % 250);
    return pts;
}

struct CanvasFixture {
    TBitmap bmp;
    TCanvas* c;
    explicit CanvasFixture(TPixelFormat f = pfDevice) : bmp(kW, kH, f), c(bmp.Canvas()) {
        qtb::EnsureApplication();
        c->Lock();
    }
    ~CanvasFixture() { c->Unlock(); }
};

void BM_FillRect10_Canvas(benchmark::State& state) {
    CanvasFixture f;
    f.c->Brush()->SetColor(clRed);
    int i = 0;
    for (auto _ : state) {
        int x = (i * 13) % (kW - 10), y = (i * 7) % (kH - 10);
        f.c->FillRect(Rect(x, y, x + 10, y + 10));
        ++i;
    }
}
BENCHMARK(BM_FillRect10_Canvas);

// For reference: the same outside a bracket, each call with a painter of its own.
void BM_FillRect10_CanvasCallByCall(benchmark::State& state) {
    qtb::EnsureApplication();
    TBitmap bmp(kW, kH);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clRed);
    int i = 0;
    for (auto _ : state) {
        int x = (i * 13) % (kW - 10), y = (i * 7) % (kH - 10);
        c->FillRect(Rect(x, y, x + 10, y + 10));
        ++i;
    }
}
BENCHMARK(BM_FillRect10_CanvasCallByCall);

void BM_FillRect10_Painter(benchmark::State& state) {
    qtb::EnsureApplication();
    QImage img(kW, kH, QImage::Format_RGB32);
    QPainter p(&img);
    QColor red(255, 0, 0);
    int i = 0;
    for (auto _ : state) {
        int x = (i * 13) % (kW - 10), y = (i * 7) % (kH - 10);
        p.fillRect(QRect(x, y, 10, 10), red);
        ++i;
    }
}
BENCHMARK(BM_FillRect10_Painter);

// The font the text benchmarks draw with, on a canvas and on a bare painter.
void TextLooks(TCanvas* c) {
    c->Font()->SetName(String("Noto Sans"));
    c->Font()->SetHeight(-12);
    c->Brush()->SetStyle(bsClear);
}

struct TextPainter {
    QImage img{kW, kH, QImage::Format_RGB32};
    QPainter p;
    QFont font{QStringLiteral("Noto Sans")};
    int ascent = 0;
    TextPainter() {
        p.begin(&img);
        font.setPixelSize(12);
        p.setFont(font);
        p.setPen(Qt::black);
        ascent = QFontMetrics(font).ascent();
    }
};

void BM_TextOut_Canvas(benchmark::State& state) {
    CanvasFixture f;
    TextLooks(f.c);
    String text("Level 42");
    int i = 0;
    for (auto _ : state) {
        f.c->TextOut((i * 13) % 300, (i * 7) % 280, text);
        ++i;
    }
}
BENCHMARK(BM_TextOut_Canvas);

void BM_TextOut_Painter(benchmark::State& state) {
    qtb::EnsureApplication();
    TextPainter t;
    QString text = QStringLiteral("Level 42");
    int i = 0;
    for (auto _ : state) {
        t.p.drawText((i * 13) % 300, (i * 7) % 280 + t.ascent, text);
        ++i;
    }
}
BENCHMARK(BM_TextOut_Painter);

// Texts that change from call to call (more of them than a face keeps advances for): each is
// measured afresh.
constexpr int kVaryingTexts = 10000;

void BM_TextOutVarying_Canvas(benchmark::State& state) {
    CanvasFixture f;
    TextLooks(f.c);
    std::vector<String> texts;
    for (int i = 0; i < kVaryingTexts; ++i) texts.push_back(String("Cell ") + String(std::to_string(i * 7919).c_str()));
    int i = 0;
    for (auto _ : state) {
        f.c->TextOut((i * 13) % 300, (i * 7) % 280, texts[static_cast<size_t>(i % kVaryingTexts)]);
        ++i;
    }
}
BENCHMARK(BM_TextOutVarying_Canvas);

void BM_TextOutVarying_Painter(benchmark::State& state) {
    qtb::EnsureApplication();
    TextPainter t;
    std::vector<QString> texts;
    for (int i = 0; i < kVaryingTexts; ++i) texts.push_back(QStringLiteral("Cell ") + QString::number(i * 7919));
    int i = 0;
    for (auto _ : state) {
        t.p.drawText((i * 13) % 300, (i * 7) % 280 + t.ascent, texts[static_cast<size_t>(i % kVaryingTexts)]);
        ++i;
    }
}
BENCHMARK(BM_TextOutVarying_Painter);

void BM_Polyline5001_Canvas(benchmark::State& state) {
    CanvasFixture f;
    std::vector<TPoint> pts = Zigzag(5001);
    for (auto _ : state) f.c->Polyline(pts);
}
BENCHMARK(BM_Polyline5001_Canvas)->Unit(benchmark::kMicrosecond);

void BM_Polyline5001_Painter(benchmark::State& state) {
    qtb::EnsureApplication();
    QImage img(kW, kH, QImage::Format_RGB32);
    QPainter p(&img);
    p.setPen(QPen(Qt::black, 0));
    QPolygon poly;
    for (const TPoint& pt : Zigzag(5001)) poly << QPoint(pt.X, pt.Y);
    for (auto _ : state) p.drawPolyline(poly);
}
BENCHMARK(BM_Polyline5001_Painter)->Unit(benchmark::kMicrosecond);

void BM_LineTo5000_Canvas(benchmark::State& state) {
    CanvasFixture f;
    std::vector<TPoint> pts = Zigzag(5001);
    for (auto _ : state) {
        f.c->MoveTo(pts[0].X, pts[0].Y);
        for (size_t i = 1; i < pts.size(); ++i) f.c->LineTo(pts[i].X, pts[i].Y);
    }
}
BENCHMARK(BM_LineTo5000_Canvas)->Unit(benchmark::kMicrosecond);

void BM_LineTo5000_Painter(benchmark::State& state) {
    qtb::EnsureApplication();
    QImage img(kW, kH, QImage::Format_RGB32);
    QPainter p(&img);
    p.setPen(QPen(Qt::black, 0));
    std::vector<TPoint> pts = Zigzag(5001);
    for (auto _ : state)
        for (size_t i = 1; i < pts.size(); ++i) p.drawLine(pts[i - 1].X, pts[i - 1].Y, pts[i].X, pts[i].Y);
}
BENCHMARK(BM_LineTo5000_Painter)->Unit(benchmark::kMicrosecond);

// A control's canvas: arg 1 inside its paint pass (the control's Paint runs the timed loop),
// arg 0 outside it, as a grid draws its hover and focus marks, sizing lines and caret. Every
// call asks the control for its canvas, as such code does.
class BenchControl : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::function<void()> Body;

protected:
    void Paint() override {
        if (Body) Body();
    }
};

struct BenchWindow {
    // No window shows on a desktop either.
    bool offscreen = setenv("QT_QPA_PLATFORM", "offscreen", 0) == 0;
    TForm* form = new TForm(nullptr);
    BenchControl* control = new BenchControl(form);
    BenchWindow() {
        form->SetBounds(0, 0, kW + 20, kH + 20);
        control->SetParent(form);
        control->SetBounds(0, 0, kW, kH);
        form->Show();
        ui::test::Pump();
    }
    ~BenchWindow() { form->Free(); }
    void Run(bool inPass, const std::function<void()>& body) {
        if (!inPass) {
            body();
            return;
        }
        control->Body = body;
        control->Invalidate();
        control->Update();
        control->Body = nullptr;
    }
};

void BM_Window_FillRect10(benchmark::State& state) {
    BenchWindow w;
    w.Run(state.range(0) != 0, [&] {
        int i = 0;
        for (auto _ : state) {
            TCanvas* c = w.control->Canvas();
            c->Brush()->SetColor(clRed);
            int x = (i * 13) % (kW - 10), y = (i * 7) % (kH - 10);
            c->FillRect(Rect(x, y, x + 10, y + 10));
            ++i;
        }
    });
}
BENCHMARK(BM_Window_FillRect10)->Arg(1)->Arg(0);

void BM_Window_TextOut(benchmark::State& state) {
    BenchWindow w;
    String text("Level 42");
    w.Run(state.range(0) != 0, [&] {
        TextLooks(w.control->Canvas());
        int i = 0;
        for (auto _ : state) {
            w.control->Canvas()->TextOut((i * 13) % 300, (i * 7) % 280, text);
            ++i;
        }
    });
}
BENCHMARK(BM_Window_TextOut)->Arg(1)->Arg(0);

void BM_Window_LineTo5000(benchmark::State& state) {
    BenchWindow w;
    std::vector<TPoint> pts = Zigzag(5001);
    w.Run(state.range(0) != 0, [&] {
        for (auto _ : state) {
            TCanvas* c = w.control->Canvas();
            c->MoveTo(pts[0].X, pts[0].Y);
            for (size_t i = 1; i < pts.size(); ++i) w.control->Canvas()->LineTo(pts[i].X, pts[i].Y);
        }
    });
}
BENCHMARK(BM_Window_LineTo5000)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// 128 bars with a frame, as a bar chart paints them: arg 0 device format, 1 24-bit; arg 1: 1
// inside a lock bracket, 0 call by call.
void BM_Bars128(benchmark::State& state) {
    qtb::EnsureApplication();
    TBitmap bmp(kW, kH, state.range(0) ? pf24bit : pfDevice);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clNavy);
    c->Pen()->SetColor(clBlack);
    for (auto _ : state) {
        TCanvasLock lock(state.range(1) ? c : nullptr);
        for (int i = 0; i < 128; ++i) {
            int x = 2 + i * 3, h = 20 + (i * 37) % 250;
            c->Rectangle(x, kH - h, x + 3, kH);
        }
    }
}
BENCHMARK(BM_Bars128)->Args({0, 0})->Args({1, 0})->Args({0, 1})->Args({1, 1})->Unit(benchmark::kMicrosecond);

}  // namespace
