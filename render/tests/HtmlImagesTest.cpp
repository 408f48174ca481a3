// Pictures, list bullets and backgrounds in HTML-formatted text: image-list images, container and
// cached pictures, animations, pictures inside anchors, bullets and background fills.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/ole/testing/GifBytes.h"
#include "platform/rtl/SysUtils.h"
#include "render/tests/HtmlRenderSupport.h"
#include "platform/ui/ShellIcons.h"

namespace {

using render_test::HtmlCall;
using render_test::RecordingSheet;

constexpr TColor kWhite = 0xFFFFFF;

std::vector<uint8_t> BmpBytes(int w, int h, TColor colour, TColor corner) {
    TBitmap b(w, h, pf24bit);
    b.Canvas()->Brush()->SetColor(colour);
    b.Canvas()->FillRect(TRect(0, 0, w, h));
    b.Canvas()->SetPixels(0, 0, corner);
    return b.SaveToBytes();
}

void LoadBytes(THTMLPicture* p, const std::vector<uint8_t>& bytes) {
    TMemoryStream s;
    s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(0);
    p->LoadFromStream(&s);
}

// Pictures by name: RED 40 x 20, BLUE 40 x 20, TALL 20 x 40, P50 50 x 10, EMPTY (no data), and
// ANIM, a 30 x 20 animation showing its second frame, blue 10 x 10 at (10, 5).
struct Pictures {
    TPictureContainer container{nullptr};
    Pictures() {
        Add(u"RED", BmpBytes(40, 20, clRed, clMaroon));
        Add(u"BLUE", BmpBytes(40, 20, clBlue, clBlue));
        Add(u"TALL", BmpBytes(20, 40, clGreen, clGreen));
        Add(u"P50", BmpBytes(50, 10, clRed, clRed));
        container.Items()->Add()->SetName(u"EMPTY");
        Add(u"ANIM", ole::test::GifFile(30, 20, {{0, 0, 30, 20, 10, 1}, {10, 5, 10, 10, 10, 3}}));
        container.FindPicture(u"ANIM")->SetFrame(2);
    }
    void Add(const String& name, const std::vector<uint8_t>& bytes) {
        TPictureItem* item = container.Items()->Add();
        item->SetName(name);
        LoadBytes(item->Picture(), bytes);
    }
};

HtmlCall On(RecordingSheet& s, const String& text, Pictures* pictures = nullptr, TRect rect = TRect(0, 0, 300, 200)) {
    HtmlCall call;
    call.canvas = &s.canvas;
    call.text = text;
    call.rect = rect;
    if (pictures) call.container = &pictures->container;
    return call;
}

// The smallest rectangle holding every pixel of a colour.
TRect Extent(RecordingSheet& s, TColor colour) {
    TRect r(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN);
    for (const TPoint& p : s.sheet.Where([&](TColor c) { return c == colour; })) {
        r.Left = std::min(r.Left, p.X);
        r.Top = std::min(r.Top, p.Y);
        r.Right = std::max(r.Right, p.X + 1);
        r.Bottom = std::max(r.Bottom, p.Y + 1);
    }
    return r;
}

TEST(HtmlImages, ImageListImagesByIndex) {
    TImageList list(nullptr);
    for (TColor colour : {TColor(clRed), TColor(clBlue)}) {
        TBitmap b(16, 16, pf24bit);
        b.Canvas()->Brush()->SetColor(colour);
        b.Canvas()->FillRect(TRect(0, 0, 16, 16));
        b.Canvas()->SetPixels(0, 15, kWhite);  // the list's transparent colour
        list.Add(&b);
    }
    RecordingSheet s(300, 100);
    const int gh = s.canvas.TextHeight(u"gh");
    const int x = 1 + s.canvas.TextWidth(u"ab");

    HtmlCall none = On(s, u"<IMG SRC=\"IDX:3\">");
    none.images = &list;
    none.Go();
    EXPECT_EQ(none.xSize, 0);
    EXPECT_EQ(none.ySize, gh);
    EXPECT_TRUE(s.Ink().empty());

    HtmlCall one = On(s, u"ab<IMG SRC=\"IDX:1\">");
    one.images = &list;
    one.Go();
    EXPECT_EQ(one.xSize, x - 1 + 16);
    EXPECT_EQ(one.ySize, std::max(gh, 16));
    EXPECT_EQ(Extent(s, clBlue), TRect(x, 0, x + 16, 16));

    RecordingSheet printed(300, 100);
    HtmlCall print = On(printed, u"ab<IMG SRC=\"IDX:0\">");
    print.images = &list;
    print.printing = true;
    print.resFactor = 1.5;
    print.Go();
    EXPECT_EQ(print.xSize, x - 1 + 16);  // the layout keeps the screen size
    EXPECT_EQ(Extent(printed, clRed), TRect(x, 0, x + 24, 24));
}

TEST(HtmlImages, ContainerPicturesTakeTheSizeTheirAttributesGive) {
    Pictures pictures;
    const struct {
        const char16_t* tag;
        int w, h;
    } cases[] = {
        {u"<IMG SRC=\"RED\">", 40, 20},
        {u"<IMG SRC=\"red\" WIDTH=\"20\">", 20, 10},
        {u"<IMG SRC=\"RED\" HEIGHT=\"10\">", 20, 10},
        {u"<IMG SRC=\"RED\" WIDTH=\"30\" HEIGHT=\"5\">", 30, 5},
        {u"<IMG SRC=\"MISSING\" WIDTH=\"30\">", 0, 0},
        {u"<IMG SRC=\"EMPTY\">", 0, 0},
        {u"<IMG SRC=\"SOME:THING\">", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(String(c.tag).ToUtf8());
        RecordingSheet s(300, 100);
        const int gh = s.canvas.TextHeight(u"gh");
        for (bool measureOnly : {true, false}) {
            HtmlCall call = On(s, c.tag, &pictures);
            call.measureOnly = measureOnly;
            call.Go();
            EXPECT_EQ(call.xSize, c.w);
            EXPECT_EQ(call.ySize, std::max(gh, c.h));
        }
        if (c.w > 0) {
            EXPECT_EQ(Extent(s, clRed), TRect(1, 0, 1 + c.w, c.h));
        } else {
            EXPECT_TRUE(s.Ink().empty());
        }
    }
}

TEST(HtmlImages, PicturesByAddressAreCachedOnce) {
    const auto folder = std::filesystem::temp_directory_path() / ("rwb-html-images-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::vector<uint8_t> bytes = BmpBytes(12, 8, clRed, clRed);
    std::ofstream(folder / "pic.bmp", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                              static_cast<std::streamsize>(bytes.size()));
    THTMLPictureCache cache;
    RecordingSheet s(300, 100);
    // The renderer upper-cases the source; the file is found without regard to case.
    const String source = u"file://" + String((folder / "pic.bmp").string());
    for (int round = 0; round < 2; ++round) {
        HtmlCall call = On(s, u"<IMG SRC=\"" + source + u"\"><IMG SRC=\"http://x/y.gif\">");
        call.cache = &cache;
        call.Go();
        EXPECT_EQ(call.xSize, 12);
        ASSERT_EQ(cache.Count(), 2);
        EXPECT_EQ(cache.GetPicture(0)->ID(), UpperCase(source));
        EXPECT_FALSE(cache.GetPicture(0)->Empty());
        EXPECT_TRUE(cache.GetPicture(1)->Empty());
        EXPECT_FALSE(cache.GetPicture(1)->Busy());  // loaded synchronously: only named
    }
    EXPECT_EQ(Extent(s, clRed), TRect(1, 0, 13, 8));
    std::filesystem::remove_all(folder);
}

TEST(HtmlImages, AnAnimationShowsItsFrameOnItsScreen) {
    Pictures pictures;
    RecordingSheet s(300, 100);
    s.canvas.Brush()->SetColor(clYellow);  // the initial background
    HtmlCall call = On(s, u"<IMG SRC=\"ANIM\">", &pictures);
    call.Go();
    EXPECT_EQ(call.xSize, 30);
    EXPECT_EQ(Extent(s, clYellow), TRect(1, 0, 31, 20));
    EXPECT_EQ(Extent(s, clBlue), TRect(11, 5, 21, 15));
}

TEST(HtmlImages, APictureInsideAnAnchorIsHitInsideItsBoxAndShowsItsAltWhenHovered) {
    Pictures pictures;
    RecordingSheet s(300, 100);
    HtmlCall hit = On(s, u"x<A HREF=\"h\" TITLE=\"t\"><IMG SRC=\"RED\" ALT=\"BLUE\"></A>", &pictures);
    const int left = 1 + s.canvas.TextWidth(u"x");
    hit.hitTestOnly = true;
    hit.x = left + 10;
    hit.y = 10;
    EXPECT_TRUE(hit.Go());
    EXPECT_EQ(hit.anchor, u"h");
    EXPECT_EQ(hit.title, u"t");
    for (TPoint edge : {TPoint(left, 10), TPoint(left + 40, 10), TPoint(left + 10, 0), TPoint(left + 10, 20)}) {
        HtmlCall off = hit;
        off.anchor = u"";
        off.x = edge.X;
        off.y = edge.Y;
        EXPECT_FALSE(off.Go()) << edge.X << "," << edge.Y;
        EXPECT_EQ(off.anchor, u"");
    }
    HtmlCall painting = hit;
    painting.hitTestOnly = false;
    EXPECT_TRUE(painting.Go());
    EXPECT_EQ(Extent(s, clBlue), TRect(left, 0, left + 40, 20));
    EXPECT_EQ(Extent(s, clRed).Right, INT32_MIN);

    // Without ALT the picture stays drawn under the pointer, and it is hit.
    RecordingSheet bare(300, 100);
    HtmlCall noAlt = On(bare, u"x<A HREF=\"h\" TITLE=\"t\"><IMG SRC=\"RED\"></A>", &pictures);
    noAlt.hitTestOnly = true;
    noAlt.x = left + 10;
    noAlt.y = 10;
    EXPECT_TRUE(noAlt.Go());
    EXPECT_EQ(noAlt.anchor, u"h");
    EXPECT_EQ(noAlt.title, u"t");
    noAlt.hitTestOnly = false;
    EXPECT_TRUE(noAlt.Go());
    EXPECT_EQ(Extent(bare, clRed), TRect(left, 0, left + 40, 20));

    // Outside an anchor a picture is never hit.
    HtmlCall plain = On(s, u"<IMG SRC=\"RED\">", &pictures);
    plain.hitTestOnly = true;
    plain.x = plain.y = 10;
    EXPECT_FALSE(plain.Go());
}

TEST(HtmlImages, AlignmentOfTheLineToAPictureAndPicturesThatDoNotFit) {
    Pictures pictures;
    RecordingSheet s(300, 100);
    const int gh = s.canvas.TextHeight(u"gh");
    auto textTop = [&](const String& text) {
        s.record->texts.clear();
        HtmlCall call = On(s, text, &pictures);
        call.Go();
        return s.record->texts.back().at.Y;
    };
    const int bottomAligned = textTop(u"<IMG SRC=\"TALL\">x");
    EXPECT_EQ(textTop(u"<IMG SRC=\"TALL\" ALIGN=\"TOP\">x"), bottomAligned - (40 - gh));
    EXPECT_EQ(textTop(u"<IMG SRC=\"TALL\" ALIGN=\"middle\">x"), bottomAligned - (40 - gh) / 2);
    EXPECT_EQ(textTop(u"<IMG SRC=\"TALL\" ALIGN=TOP>x"), bottomAligned);  // the value must be quoted

    const int room = s.canvas.TextWidth(u"abc ") + 30;
    HtmlCall wrap = On(s, u"abc <IMG SRC=\"P50\">", &pictures, TRect(0, 0, room, 100));
    wrap.measureOnly = true;
    wrap.Go();
    EXPECT_EQ(wrap.ySize, gh + std::max(gh, 10));
    EXPECT_EQ(wrap.xSize, 50);
    // A picture wider than a whole line stays where it is.
    HtmlCall wide = On(s, u"abc <IMG SRC=\"P50\">", &pictures, TRect(0, 0, 40, 100));
    wide.measureOnly = true;
    wide.Go();
    EXPECT_EQ(wide.ySize, std::max(gh, 10));
}

TEST(HtmlImages, SystemIconsSmallAndLarge) {
    for (bool large : {false, true}) {
        SCOPED_TRACE(large ? "large" : "small");
        const int side = large ? 32 : 16;
        RecordingSheet s(300, 100);
        const int x = 1 + s.canvas.TextWidth(u"ab");
        HtmlCall call = On(s, String(u"ab<IMG SRC=\"") + (large ? u"LSYS:" : u"SSYS:") + u"notes.txt\">");
        call.Go();
        EXPECT_EQ(call.xSize, x - 1 + side);
        EXPECT_EQ(call.ySize, std::max(s.canvas.TextHeight(u"gh"), side));

        // The icon of the type, as the shell's list draws it there.
        RecordingSheet expected(300, 100);
        SHFILEINFO info;
        HIMAGELIST list = reinterpret_cast<HIMAGELIST>(
            SHGetFileInfo(u"NOTES.TXT", FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                          SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | (large ? SHGFI_LARGEICON : SHGFI_SMALLICON)));
        ASSERT_TRUE(list);
        ImageList_Draw(list, info.iIcon, expected.canvas.Handle(), x, 0, ILD_TRANSPARENT);
        RecordingSheet iconOnly(300, 100);
        HtmlCall alone = On(iconOnly, String(u"<IND x=\"") + IntToStr(x - 1) + u"\"><IMG SRC=\"" +
                                          (large ? u"LSYS:" : u"SSYS:") + u"notes.txt\">");
        alone.Go();
        EXPECT_TRUE(render_test::SamePixels(iconOnly.sheet, expected.sheet));

        // By index, and stretched when printing.
        TSize size;
        DrawSystemIcon(&s.canvas, 0, 0, size, 1.0, false, false, large, IntToStr(info.iIcon));
        EXPECT_EQ(size, TSize(side, side));
        RecordingSheet printed(300, 100);
        DrawSystemIcon(&printed.canvas, 0, 0, size, 2.0, true, true, large, u"notes.txt");
        TRect ink(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN);
        for (const TPoint& p : printed.Ink()) {
            ink.Right = std::max(ink.Right, p.X + 1);
            ink.Bottom = std::max(ink.Bottom, p.Y + 1);
        }
        EXPECT_GT(ink.Right, side);
        EXPECT_LE(ink.Right, 2 * side);
    }
}

TEST(HtmlImages, ListBulletsAndTheirIndent) {
    RecordingSheet s(300, 200);
    const int gh = s.canvas.TextHeight(u"gh");
    HtmlCall call = On(s, u"<UL><LI>a<UL><LI>b</UL></UL><LI>c<LI>d");
    call.Go();
    const auto& t = s.record->texts;
    ASSERT_EQ(t.size(), 8u);
    // Level 1: U+00B7 at the line start, in the face "Symbol", the text 12 pixels on.
    EXPECT_EQ(t[0].text, u"\u00B7");
    EXPECT_EQ(t[0].face, u"Symbol");
    EXPECT_EQ(t[0].at.X, 1);
    EXPECT_EQ(t[1].text, u"a");
    EXPECT_EQ(t[1].at.X, 13);
    EXPECT_EQ(t[1].face, u"Arial");
    // Level 2: "o" 12 pixels in, the text 24 pixels on, on the next line.
    EXPECT_EQ(t[2].text, u"o");
    EXPECT_EQ(t[2].at.X, 13);
    EXPECT_EQ(t[3].at.X, 25);
    EXPECT_GT(t[2].at.Y, t[0].at.Y);
    // A second bullet on a line starts the next one.
    EXPECT_EQ(t[6].text, u"o");
    EXPECT_EQ(t[7].text, u"d");
    EXPECT_EQ(t[6].at.Y - t[4].at.Y, gh);
}

TEST(HtmlImages, BackgroundsOfParagraphsAndOfTheWholeText) {
    RecordingSheet para(300, 100);
    const int gh = para.canvas.TextHeight(u"gh");
    HtmlCall p = On(para, u"<P BGCOLOR=\"clLime\">one<BR>two</P>three", nullptr, TRect(10, 0, 200, 100));
    p.Go();
    EXPECT_EQ(Extent(para, clLime), TRect(10, 0, 200, 2 * gh));

    RecordingSheet body(300, 100);
    HtmlCall b = On(body, u"x<BODY BGCOLOR=\"clAqua\">y", nullptr, TRect(10, 5, 200, 90));
    b.Go();
    EXPECT_EQ(Extent(body, clAqua), TRect(10, 5, 200, 90));

    Pictures pictures;
    RecordingSheet tiled(300, 100);
    HtmlCall bg = On(tiled, u"<BODY BACKGROUND=\"RED\">", &pictures, TRect(10, 5, 95, 50));
    bg.Go();
    EXPECT_EQ(Extent(tiled, clRed), TRect(10, 5, 95, 50));
    // A tile starts every 40 x 20 pixels from the top-left corner (its corner pixel is maroon).
    for (TPoint corner : {TPoint(10, 5), TPoint(50, 5), TPoint(90, 5), TPoint(10, 25), TPoint(90, 45)})
        EXPECT_EQ(tiled.At(corner.X, corner.Y), clMaroon) << corner.X << "," << corner.Y;
    EXPECT_EQ(tiled.At(11, 5), clRed);
}

}  // namespace
