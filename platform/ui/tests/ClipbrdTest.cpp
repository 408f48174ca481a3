#include <gtest/gtest.h>

#include "platform/rtl/tests/ParamNames.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Jpeg.h"
#include "platform/ui/Metafile.h"
#include "platform/ui/TestSupport.h"
#include "platform/win/Window.h"

namespace {

// Each case runs against the private store and against Qt's store, which on the offscreen
// platform is in-process too: no desktop clipboard is touched either way.
class ClipbrdTest : public ::testing::TestWithParam<ui::clipboard::StoreMode> {
protected:
    void SetUp() override {
        ui::clipboard::SetStoreMode(GetParam());
        Clipboard()->Clear();
    }
    void TearDown() override {
        Clipboard()->Clear();
        ui::clipboard::SetStoreMode(ui::clipboard::StoreMode::Automatic);
    }
    ui::test::AppScope scope;
};

}  // namespace

TEST(ClipboardFormats, RegisteredNamesGetOneStableNumberSharedWithWindowMessages) {
    UINT cells = RegisterClipboardFormat(String("TVerAdevovEdav Cells"));
    EXPECT_GE(cells, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormat(String("TVerAdevovEdav Cells")), cells);
    EXPECT_EQ(RegisterClipboardFormat(String("tveradevovedav cells")), cells);
    UINT rtf = RegisterClipboardFormat(String("Rich Text Format"));
    EXPECT_NE(rtf, cells);
    EXPECT_EQ(RegisterWindowMessage(String("Rich Text Format")), rtf);
    EXPECT_EQ(GetClipboardFormatName(cells), String("TVerAdevovEdav Cells"));
    EXPECT_EQ(GetClipboardFormatName(CF_TEXT), String());
    EXPECT_EQ(RegisterClipboardFormat(String()), 0u);
}

TEST_P(ClipbrdTest, TextRoundTrips) {
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
    String text("ch\t07  7\r\nｱﾝﾃﾅ レベル");
    Clipboard()->SetAsText(text);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_UNICODETEXT));
    EXPECT_FALSE(Clipboard()->HasFormat(CF_BITMAP));
    EXPECT_EQ(Clipboard()->AsText(), text);
    // The 8-bit form is UTF-8 with its terminating NUL.
    std::vector<uint8_t> ansi = Clipboard()->GetBuffer(CF_TEXT);
    ASSERT_FALSE(ansi.empty());
    EXPECT_EQ(ansi.back(), 0);
    EXPECT_EQ(std::string(ansi.begin(), ansi.end() - 1), text.ToUtf8());
    Clipboard()->Clear();
    EXPECT_EQ(Clipboard()->AsText(), String());
    EXPECT_EQ(Clipboard()->FormatCount(), 0);
}

TEST_P(ClipbrdTest, BitmapRoundTripsAndReplacesTheText) {
    Clipboard()->SetAsText(String("old"));
    TBitmap bmp;
    bmp.SetSize(7, 5);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(Rect(0, 0, 7, 5));
    bmp.Canvas()->SetPixels(2, 3, static_cast<TColor>(0x00336699));
    bmp.Canvas()->SetPixels(6, 0, clRed);
    Clipboard()->Assign(&bmp);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_PICTURE));
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));  // a write outside Open replaces everything
    TBitmap back;
    ASSERT_TRUE(Clipboard()->GetPicture(&back));
    ASSERT_EQ(back.Width(), 7);
    ASSERT_EQ(back.Height(), 5);
    EXPECT_EQ(back.Canvas()->Pixels(2, 3), static_cast<TColor>(0x00336699));
    EXPECT_EQ(back.Canvas()->Pixels(6, 0), clRed);
    EXPECT_EQ(back.Canvas()->Pixels(0, 0), clWhite);
    // A picture takes it through Assign, as an image control's picture does.
    TPicture pic;
    pic.Assign(Clipboard());
    ASSERT_NE(dynamic_cast<TBitmap*>(pic.Graphic()), nullptr);
    EXPECT_EQ(pic.Width(), 7);
    // A JPEG picture goes as the bitmap it shows.
    TJPEGImage jpeg;
    jpeg.Assign(&bmp);
    TPicture jpic;
    jpic.SetGraphic(&jpeg);
    Clipboard()->Assign(&jpic);
    TBitmap fromJpeg;
    ASSERT_TRUE(Clipboard()->GetPicture(&fromJpeg));
    EXPECT_EQ(fromJpeg.Width(), 7);
    TPicture empty;
    EXPECT_THROW(Clipboard()->Assign(&empty), EClipboardException);
    Clipboard()->Assign(&bmp);
    // The DIB form is the bitmap without its file header.
    std::vector<uint8_t> dib = Clipboard()->GetBuffer(CF_DIB);
    ASSERT_GE(dib.size(), 40u);
    EXPECT_EQ(dib[0], 40);  // BITMAPINFOHEADER size
}

TEST_P(ClipbrdTest, MetafilesGoUnderTheirOwnFormats) {
    TMetafile mf;
    mf.SetWidth(40);
    mf.SetHeight(30);
    {
        TMetafileCanvas c(&mf);
        c.Brush()->SetColor(clBlue);
        c.FillRect(Rect(5, 5, 20, 20));
    }
    Clipboard()->Assign(&mf);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_ENHMETAFILE));
    EXPECT_FALSE(Clipboard()->HasFormat(CF_METAFILEPICT));
    EXPECT_EQ(Clipboard()->GetBuffer(CF_ENHMETAFILE), mf.EmfBytes());
    TMetafile back;
    ASSERT_TRUE(Clipboard()->GetPicture(&back));
    EXPECT_TRUE(back.Enhanced());
    EXPECT_FALSE(back.Ops().empty());

    mf.SetEnhanced(false);
    Clipboard()->Assign(&mf);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_METAFILEPICT));
    EXPECT_FALSE(Clipboard()->HasFormat(CF_ENHMETAFILE));
    EXPECT_EQ(Clipboard()->GetBuffer(CF_METAFILEPICT), mf.WmfBytes());
    // A bitmap can take a metafile: it is drawn.
    TBitmap drawn;
    ASSERT_TRUE(Clipboard()->GetPicture(&drawn));
    EXPECT_EQ(drawn.Canvas()->Pixels(10, 10), clBlue);

    TFont notAPicture;
    EXPECT_THROW(Clipboard()->Assign(&notAPicture), EClipboardException);
}

TEST_P(ClipbrdTest, CustomFormatsRoundTripBytesAndOpenCloseMakesOneContent) {
    UINT cells = RegisterClipboardFormat(String("TVerAdevovEdav Cells"));
    std::vector<uint8_t> bytes{0x00, 0x01, 0xFF, 0x00, 0x7F, 0x80, 0x00};
    Clipboard()->Open();
    Clipboard()->Open();  // nested
    Clipboard()->SetAsText(String("a\tb"));
    Clipboard()->SetBuffer(cells, bytes);
    Clipboard()->Close();
    EXPECT_TRUE(Clipboard()->HasFormat(cells));  // readable while still open
    Clipboard()->Close();
    EXPECT_TRUE(Clipboard()->HasFormat(cells));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_EQ(Clipboard()->GetBuffer(cells), bytes);  // embedded NULs survive
    EXPECT_EQ(Clipboard()->AsText(), String("a\tb"));
    EXPECT_EQ(Clipboard()->FormatCount(), 2);
    EXPECT_TRUE(Clipboard()->GetBuffer(RegisterClipboardFormat(String("Never Written"))).empty());
    EXPECT_THROW(Clipboard()->SetBuffer(0, bytes), EClipboardException);
    // An unbalanced Close does nothing.
    Clipboard()->Close();
    EXPECT_EQ(Clipboard()->GetBuffer(cells), bytes);
}

TEST_P(ClipbrdTest, TheRawApiAddsFormatsToWhatIsThere) {
    UINT rtf = RegisterClipboardFormat(String("Rich Text Format"));
    UINT cells = RegisterClipboardFormat(String("TVerAdevovEdav Cells"));
    const char rtfText[] = "{\\rtf1 x}";
    EXPECT_FALSE(SetClipboardBytes(rtf, rtfText, sizeof rtfText));  // not open
    EXPECT_FALSE(CloseClipboard());
    EXPECT_FALSE(EmptyClipboard());
    // A copy: the text first (which empties), then further formats added to it.
    Clipboard()->SetAsText(String("1\t2"));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_TRUE(SetClipboardBytes(rtf, rtfText, sizeof rtfText));
    EXPECT_TRUE(SetClipboardBytes(cells, "\x01\x00\x02", 3));
    ASSERT_TRUE(CloseClipboard());
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(IsClipboardFormatAvailable(rtf));
    EXPECT_EQ(Clipboard()->AsText(), String("1\t2"));
    EXPECT_EQ(GetClipboardBytes(cells), (std::vector<uint8_t>{1, 0, 2}));
    // EmptyClipboard inside Open starts over.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_TRUE(SetClipboardBytes(cells, "\x05", 1));
    ASSERT_TRUE(CloseClipboard());
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_FALSE(IsClipboardFormatAvailable(rtf));
    EXPECT_EQ(GetClipboardBytes(cells), std::vector<uint8_t>{5});
    // Opening and closing without a change leaves the content alone.
    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(GetClipboardBytes(cells), std::vector<uint8_t>{5});
}

namespace ui::clipboard {
void PrintTo(StoreMode mode, std::ostream* os) { *os << (mode == StoreMode::Private ? "Private" : "Qt"); }
}  // namespace ui::clipboard

INSTANTIATE_TEST_SUITE_P(Stores, ClipbrdTest,
                         ::testing::Values(ui::clipboard::StoreMode::Private, ui::clipboard::StoreMode::System),
                         rtl_test::PrintedName());
