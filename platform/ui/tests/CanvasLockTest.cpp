// Drawing inside a lock bracket (one open painter) lands exactly as drawing call by call.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/qt/QtGraphicsApp.h"
#include "platform/ui/Graphics.h"

namespace {

struct Picture {
    std::vector<TColor> pixels;
    std::vector<TColor> readsDuringDrawing;
};

// A run of drawing that changes pen, brush, font, clip, origin and raster mode between calls,
// and reads pixels in the middle. `second` is another canvas on the same bitmap.
void DrawScene(TCanvas* c, TCanvas* second, Picture& out) {
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 60, 50));
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(2, 2, 20, 12));
    c->Pen()->SetColor(clBlue);
    c->MoveTo(0, 20);
    for (int i = 1; i < 12; ++i) c->LineTo(i * 5, 20 + (i % 2) * 6);
    out.readsDuringDrawing.push_back(c->Pixels(10, 5));   // the red bar
    out.readsDuringDrawing.push_back(c->Pixels(0, 20));   // where the blue line starts
    c->Pen()->SetWidth(3);
    c->Brush()->SetStyle(bsDiagCross);
    c->Brush()->SetColor(clGreen);
    c->Rectangle(30, 2, 58, 18);
    c->Pen()->SetWidth(1);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clYellow);
    c->Ellipse(4, 28, 24, 46);
    c->Font()->SetName(String("Noto Sans"));
    c->Font()->SetHeight(-11);
    c->Font()->SetColor(clNavy);
    c->TextOut(26, 30, String("Ab"));
    // Fonts changed back and forth between canvases, a clipped text, then a line: the open
    // painter keeps no stale font, pen or clip.
    second->Font()->Assign(c->Font());
    second->Font()->SetStyle(TFontStyles() << fsBold);
    second->Brush()->SetStyle(bsClear);
    second->TextOut(2, 36, String("Cd"));
    second->Brush()->SetStyle(bsSolid);
    c->TextRect(Rect(40, 30, 47, 40), 40, 30, String("WW"));
    c->TextOut(47, 21, String("e"));
    c->LineTo(59, 49);
    // Another canvas on the same bitmap, with its own origin and clip.
    second->SetOrigin(30, 20);
    TRect clip(0, 0, 10, 10);
    second->SetDeviceClipRect(nullptr);
    IntersectClipRect(second->Handle(), clip.Left, clip.Top, clip.Right, clip.Bottom);
    second->Brush()->SetColor(clFuchsia);
    second->FillRect(Rect(-5, -5, 20, 20));  // only 10 x 10 shows, at (30, 20)
    // Back on the first: origin and clip of its own, then XOR twice over part of the scene.
    c->SetOrigin(1, 1);
    IntersectClipRect(c->Handle(), 0, 0, 40, 40);
    c->Pen()->SetMode(pmXor);
    c->Pen()->SetColor(clWhite);
    c->MoveTo(0, 10);
    c->LineTo(50, 10);
    c->Pen()->SetMode(pmCopy);
    PatBlt(c->Handle(), 40, 30, 10, 8, DSTINVERT);  // clipped away beyond x 39
    SelectClipRgn(c->Handle(), nullptr);
    PatBlt(c->Handle(), 44, 40, 8, 6, DSTINVERT);
    c->SetPixels(0, 0, clLime);
    out.readsDuringDrawing.push_back(c->Pixels(0, 0));
    c->DrawFocusRect(Rect(2, 2, 16, 10));
    c->SetOrigin(0, 0);
    TBitmap glyph(6, 6);
    glyph.Canvas()->Brush()->SetColor(clTeal);
    glyph.Canvas()->FillRect(Rect(0, 0, 6, 6));
    c->Draw(50, 40, &glyph);
    out.readsDuringDrawing.push_back(c->Pixels(52, 42));
}

Picture Render(TPixelFormat format, bool locked) {
    TBitmap bmp(60, 50, format);
    TCanvas second(&bmp);
    Picture out;
    TCanvas* c = bmp.Canvas();
    if (locked) c->Lock();
    DrawScene(c, &second, out);
    if (locked) {
        EXPECT_EQ(c->LockCount(), 1);
        c->Unlock();
    }
    TCanvas reader(&bmp);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 60; ++x) out.pixels.push_back(reader.Pixels(x, y));
    return out;
}

class CanvasLockTest : public ::testing::Test {
protected:
    void SetUp() override { qtb::EnsureApplication(); }
};

}  // namespace

TEST_F(CanvasLockTest, DrawingInsideALockMatchesDrawingCallByCall) {
    for (TPixelFormat f : {pfDevice, pf24bit, pf32bit, pf16bit, pf8bit}) {
        Picture plain = Render(f, false);
        Picture locked = Render(f, true);
        EXPECT_EQ(locked.readsDuringDrawing, plain.readsDuringDrawing) << "format " << f;
        size_t differ = 0;
        for (size_t i = 0; i < plain.pixels.size(); ++i) differ += plain.pixels[i] != locked.pixels[i];
        EXPECT_EQ(differ, 0u) << "format " << f;
    }
    // The scene is what it says, so the comparison compares something.
    Picture p = Render(pf24bit, true);
    EXPECT_EQ(p.readsDuringDrawing[0], clRed);
    EXPECT_EQ(p.readsDuringDrawing[1], clBlue);
    EXPECT_EQ(p.readsDuringDrawing[2], clLime);
    EXPECT_EQ(p.readsDuringDrawing[3], clTeal);
    EXPECT_EQ(p.pixels[25 * 60 + 35], clFuchsia);
    EXPECT_EQ(p.pixels[28 * 60 + 42], clWhite);  // the second canvas's clip held
}

TEST_F(CanvasLockTest, ScanLineInsideALockSeesTheDrawingAndDrawingAfterwardKeepsItsWrites) {
    TBitmap bmp(8, 4, pf24bit);
    TCanvas* c = bmp.Canvas();
    TCanvasLock lock(c);
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 8, 4));
    auto* row = static_cast<uint8_t*>(bmp.ScanLine(1));
    EXPECT_EQ(row[0], 0x00);  // B
    EXPECT_EQ(row[2], 0xFF);  // R
    row[3] = 0xFF;            // pixel 1 turns blue
    row[5] = 0x00;
    c->Brush()->SetColor(clGreen);
    c->FillRect(Rect(4, 0, 8, 4));
    EXPECT_EQ(c->Pixels(1, 1), clBlue);
    EXPECT_EQ(c->Pixels(5, 1), clGreen);
    EXPECT_EQ(c->Pixels(0, 1), clRed);
}

TEST_F(CanvasLockTest, BracketsNestAndAFreedBitmapEndsThem) {
    auto* bmp = new TBitmap(10, 10);
    TCanvas c(bmp);
    c.Lock();
    c.Lock();
    c.Brush()->SetColor(clBlue);
    c.FillRect(Rect(0, 0, 5, 5));
    c.Unlock();
    EXPECT_EQ(c.LockCount(), 1);
    c.FillRect(Rect(5, 5, 10, 10));
    EXPECT_EQ(c.Pixels(7, 7), clBlue);
    delete bmp;  // while locked: the canvas lets go of it
    c.FillRect(Rect(0, 0, 2, 2));
    c.Unlock();
    EXPECT_EQ(c.LockCount(), 0);
    EXPECT_EQ(c.Bitmap(), nullptr);
    // A locked canvas moved to another bitmap draws there.
    TBitmap other(4, 4);
    c.Lock();
    c.SetBitmap(&other);
    c.Brush()->SetColor(clRed);
    c.FillRect(Rect(0, 0, 4, 4));
    c.Unlock();
    EXPECT_EQ(other.Canvas()->Pixels(3, 3), clRed);
}
