// Metafiles written and read back, in their own format and in the other one, keep their records,
// size and pixels. The files under tests/data are what the fuzz targets found.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/qt/QtGraphicsApp.h"
#include "platform/ui/GraphicsBmp.h"
#include "platform/ui/Metafile.h"

namespace {

std::vector<uint8_t> Fixture(const char* name) {
    std::ifstream in(std::string(RWB_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << name;
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TMetafile& Load(TMetafile& mf, const std::vector<uint8_t>& bytes) {
    mf.LoadFromBytes(bytes);
    return mf;
}

// What the picture plays back onto a white 64 x 48 bitmap, its frame stretched over it.
std::vector<TColor> Played(TMetafile& mf) {
    TBitmap b(64, 48, pf24bit);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(Rect(0, 0, 64, 48));
    b.Canvas()->StretchDraw(Rect(0, 0, 64, 48), &mf);
    std::vector<TColor> out;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) out.push_back(b.Canvas()->Pixels(x, y));
    return out;
}

const TMetafileOp* FirstOf(const TMetafile& mf, TMetafileOp::Kind kind) {
    for (const TMetafileOp& op : mf.Ops())
        if (op.kind == kind) return &op;
    return nullptr;
}

class MetafileRoundTrip : public ::testing::Test {
protected:
    void SetUp() override { qtb::EnsureApplication(); }
};

// A frame whose corners are inverted shows nothing and has no size: never a negative one, and
// the same size in either format written from it.
TEST_F(MetafileRoundTrip, InvertedFrameIsNoNegativeSize) {
    TMetafile mf, emf, wmf;
    Load(mf, Fixture("emf-inverted-frame.emf"));
    EXPECT_EQ(mf.Width(), 0);
    EXPECT_EQ(mf.Height(), 0);
    Load(emf, mf.EmfBytes());
    Load(wmf, mf.WmfBytes());
    for (TMetafile* back : {&emf, &wmf}) {
        EXPECT_EQ(back->Width(), 0);
        EXPECT_EQ(back->Height(), 0);
    }
}

// A font name takes at most 31 characters (bytes in the older format): the 32nd place is its NUL,
// so a name read from a file keeps what writing it again keeps.
TEST_F(MetafileRoundTrip, FontNamesAreCutWhereTheWriterCutsThem) {
    for (const char* name : {"emf-font-name-32.emf", "wmf-font-name-32.wmf"}) {
        SCOPED_TRACE(name);
        TMetafile mf, same, other;
        Load(mf, Fixture(name));
        const TMetafileOp* font = FirstOf(mf, TMetafileOp::CreateFont);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font->text.size(), 31u);
        Load(same, mf.Enhanced() ? mf.EmfBytes() : mf.WmfBytes());
        Load(other, mf.Enhanced() ? mf.WmfBytes() : mf.EmfBytes());
        for (TMetafile* back : {&same, &other}) {
            const TMetafileOp* again = FirstOf(*back, TMetafileOp::CreateFont);
            ASSERT_NE(again, nullptr);
            // The older format stores at most 31 bytes of CP932, which lacks some of these
            // characters ("?" in their places).
            if (back->Enhanced()) EXPECT_EQ(again->text, font->text);
            else EXPECT_LE(again->text.size(), 31u);
        }
    }
}

// A WMF at 24 units per inch (a 16 x 12 frame shown as 64 x 48 pixels) written as EMF keeps its
// size: the records stay in their units under a window and viewport, and written as WMF again it
// has its 24 units per inch back.
TEST_F(MetafileRoundTrip, WmfOfAnotherResolutionKeepsItsSizeAsEmf) {
    TMetafile wmf, emf, again;
    Load(wmf, Fixture("wmf-stretch-huge.wmf"));
    ASSERT_EQ(wmf.Width(), 64);
    ASSERT_EQ(wmf.Height(), 48);
    Load(emf, wmf.EmfBytes());
    EXPECT_TRUE(emf.Enhanced());
    EXPECT_EQ(emf.Width(), 64);
    EXPECT_EQ(emf.Height(), 48);
    EXPECT_EQ(emf.Ops().size(), wmf.Ops().size());
    EXPECT_EQ(Played(emf), Played(wmf));
    Load(again, emf.WmfBytes());
    EXPECT_EQ(again.Inch(), 24);
    EXPECT_EQ(again.Width(), 64);
    EXPECT_EQ(Played(again), Played(wmf));
}

// A WMF without the placeable header whose window reaches past 32767: written again it goes
// without that header too (whose corners could not hold the frame), with the same size and pixels.
TEST_F(MetafileRoundTrip, WmfWindowPastSixteenBitsKeepsItsFrame) {
    TMetafile wmf, back;
    Load(wmf, Fixture("wmf-window-past-16-bits.wmf"));
    ASSERT_GT(wmf.Bounds().Bottom, 32767);
    const std::vector<uint8_t> written = wmf.WmfBytes();
    EXPECT_NE(gfx::Get32(written.data()), 0x9AC6CDD7u);
    Load(back, written);
    EXPECT_EQ(back.Bounds().Top, wmf.Bounds().Top);
    EXPECT_EQ(back.Bounds().Bottom, wmf.Bounds().Bottom);
    EXPECT_EQ(back.Width(), wmf.Width());
    EXPECT_EQ(back.Height(), wmf.Height());
    EXPECT_EQ(Played(back), Played(wmf));
}

}  // namespace

// A clip rectangle whose corners come right before left (a pie drawn under it): played as the
// ordered rectangle, and written again as one, so the copy plays the same pixels.
TEST_F(MetafileRoundTrip, ReversedClipCornersPlayAndWriteBackTheSame) {
    TMetafile mf, back;
    Load(mf, Fixture("wmf-reversed-clip.wmf"));
    const TMetafileOp* clip = FirstOf(mf, TMetafileOp::SelectClip);
    ASSERT_NE(clip, nullptr);
    ASSERT_EQ(clip->rects.size(), 1u);
    EXPECT_EQ(clip->rects[0], TRect(60, 20, 19747, 40));
    const std::vector<TColor> played = Played(mf);
    EXPECT_NE(std::count(played.begin(), played.end(), clWhite), static_cast<long>(played.size()));  // the pie shows
    Load(back, mf.WmfBytes());
    EXPECT_EQ(Played(back), played);
}
