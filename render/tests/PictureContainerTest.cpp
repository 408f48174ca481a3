// The picture of HTML-formatted text, its cache and the container: decoding, frames of animated
// GIF files, sizes, drawing, loading by URL and the failures that must lose nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

#include "platform/ole/testing/GifBytes.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Jpeg.h"
#include "platform/win/Resources.h"
#include "render/PictureContainer.h"
#include "render/tests/DrawTestSupport.h"

namespace {

using ole::test::GifFile;
using ole::test::GifFrame;
using render_test::Sheet;

constexpr TColor kRed = 0x0000FF, kBlue = 0xFF0000, kGreen = 0x00FF00, kWhite = 0xFFFFFF;

// 40 x 20: the left half red, the right half blue.
std::vector<uint8_t> BmpBytes() {
    TBitmap b(40, 20, pf24bit);
    b.Canvas()->Brush()->SetColor(kRed);
    b.Canvas()->FillRect(Rect(0, 0, 20, 20));
    b.Canvas()->Brush()->SetColor(kBlue);
    b.Canvas()->FillRect(Rect(20, 0, 40, 20));
    return b.SaveToBytes();
}

std::vector<uint8_t> JpegBytes() {
    TBitmap b(30, 16, pf24bit);
    b.Canvas()->Brush()->SetColor(kRed);
    b.Canvas()->FillRect(Rect(0, 0, 30, 16));
    TJPEGImage jpeg;
    jpeg.Assign(&b);
    return jpeg.SaveToBytes();
}

// Three frames on a 40 x 20 screen: red 40 x 20, green 10 x 6 at (3, 4), blue 12 x 8 at (7, 9)
// with transparency and disposal 2.
std::vector<GifFrame> ThreeFrames(uint16_t delay = 10) {
    return {{0, 0, 40, 20, delay, 1}, {3, 4, 10, 6, static_cast<uint16_t>(delay + 5), 2},
            {7, 9, 12, 8, static_cast<uint16_t>(delay + 20), 3, true, 2}};
}

// Where each frame marker of a file starts.
std::vector<size_t> Markers(const std::vector<uint8_t>& b) {
    std::vector<size_t> at;
    for (size_t j = 0; j + 9 < b.size(); ++j)
        if (b[j] == 0x21 && b[j + 1] == 0xF9 && b[j + 2] == 4 && b[j + 8] == 0x2C) at.push_back(j);
    return at;
}

void Load(THTMLPicture& p, const std::vector<uint8_t>& bytes) {
    TMemoryStream s;
    if (!bytes.empty()) s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(0);
    p.LoadFromStream(&s);
}

// A folder of its own under the temporary folder, removed at the end.
struct TempFolder {
    std::filesystem::path path;
    TempFolder() {
        path = std::filesystem::temp_directory_path() / ("rwb-html-pictures-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    String Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        std::filesystem::create_directories((path / name).parent_path());
        std::ofstream(path / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                           static_cast<std::streamsize>(bytes.size()));
        return String((path / name).string());
    }
};

TEST(HtmlPicture, ABitmapHasItsSizeAndNoFrames) {
    THTMLPicture p;
    Load(p, BmpBytes());
    EXPECT_FALSE(p.Empty());
    EXPECT_FALSE(p.IsGIF());
    EXPECT_EQ(p.FrameCount(), -1);
    EXPECT_FALSE(p.Step());
    // 1058 x 529 hundredths of a millimetre, rounded back: not 39 x 19.
    EXPECT_EQ(p.Width(), 40);
    EXPECT_EQ(p.Height(), 20);
    EXPECT_EQ(p.MaxWidth(), 40);
    EXPECT_EQ(p.MaxHeight(), 20);
    EXPECT_EQ(p.GetFrameTime(1), -1);

    THTMLPicture jpeg;
    Load(jpeg, JpegBytes());
    EXPECT_EQ(jpeg.Width(), 30);
    EXPECT_EQ(jpeg.Height(), 16);
}

TEST(HtmlPicture, DrawsAtItsNaturalSizeOrStretchedAndNothingWhenEmpty) {
    THTMLPicture p;
    Load(p, BmpBytes());
    Sheet natural(100, 60);
    natural.Clear(kWhite);
    natural.Canvas()->StretchDraw(Rect(0, 0, 80, 40), &p);
    EXPECT_EQ(natural.At(0, 0), kRed);
    EXPECT_EQ(natural.At(39, 19), kBlue);
    EXPECT_EQ(natural.At(40, 10), kWhite);
    EXPECT_EQ(natural.At(10, 20), kWhite);

    p.SetStretch(true);
    Sheet stretched(100, 60);
    stretched.Clear(kWhite);
    stretched.Canvas()->StretchDraw(Rect(0, 0, 80, 40), &p);
    EXPECT_EQ(stretched.At(38, 38), kRed);
    EXPECT_EQ(stretched.At(79, 39), kBlue);
    EXPECT_EQ(stretched.At(80, 39), kWhite);

    THTMLPicture empty;
    Sheet blank(20, 20);
    blank.Clear(kWhite);
    blank.Canvas()->StretchDraw(Rect(0, 0, 20, 20), &empty);
    EXPECT_TRUE(blank.Where([](TColor c) { return c != kWhite; }).empty());
}

TEST(HtmlPicture, AFrameOfAGifIsTheHeaderFollowedByThatFrameOn) {
    const std::vector<uint8_t> gif = GifFile(40, 20, ThreeFrames());
    const std::vector<size_t> at = Markers(gif);
    ASSERT_EQ(at.size(), 3u);
    std::vector<uint8_t> third(gif.begin(), gif.begin() + static_cast<long>(at[0]));
    third.insert(third.end(), gif.begin() + static_cast<long>(at[2]), gif.end());
    EXPECT_EQ(THTMLPicture::FrameData(gif, 3), third);
    EXPECT_EQ(THTMLPicture::FrameData(gif, 1), gif);
    const std::vector<uint8_t> bmp = BmpBytes();
    EXPECT_EQ(THTMLPicture::FrameData(bmp, 3), bmp);

    THTMLPicture p;
    Load(p, gif);
    int frameChanges = 0;
    p.OnFrameChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &p);
        ++frameChanges;
    };
    EXPECT_TRUE(p.IsGIF());
    EXPECT_EQ(p.FrameCount(), 3);
    p.SetFrame(3);
    EXPECT_EQ(frameChanges, 1);
    EXPECT_EQ(p.FrameXPos(), 7);
    EXPECT_EQ(p.FrameYPos(), 9);
    // The decoded picture is frame 3 alone; the logical screen is bytes 6 to 9.
    EXPECT_EQ(p.Width(), 12);
    EXPECT_EQ(p.Height(), 8);
    EXPECT_EQ(p.MaxWidth(), 40);
    EXPECT_EQ(p.MaxHeight(), 20);
    Sheet s(20, 20);
    s.Clear(kWhite);
    s.Canvas()->StretchDraw(Rect(0, 0, 12, 8), &p);
    EXPECT_EQ(s.At(5, 5), kBlue);

    p.FrameNext();
    EXPECT_EQ(p.Frame(), 1);
    EXPECT_EQ(p.FrameXPos(), 0);
    p.FramePrev();
    EXPECT_EQ(p.Frame(), 3);
    EXPECT_EQ(frameChanges, 3);

    EXPECT_EQ(p.GetFrameTime(1), 10);
    EXPECT_FALSE(p.FrameTransp());
    EXPECT_EQ(p.GetFrameTime(2), 15);
    EXPECT_EQ(p.GetFrameTime(3), 30);
    EXPECT_TRUE(p.FrameTransp());
    EXPECT_EQ(p.FrameDisposal(), 2);
    EXPECT_EQ(p.GetFrameTime(4), -1);
}

TEST(HtmlPicture, StepChangesTheFrameEachTimeItsDelayHasRunOut) {
    THTMLPicture p;
    Load(p, GifFile(40, 20, {{0, 0, 40, 20, 10, 1}, {0, 0, 40, 20, 10, 2}, {0, 0, 40, 20, 10, 3}}));
    std::vector<bool> changes;
    std::vector<int> frames;
    for (int i = 0; i < 6; ++i) {
        changes.push_back(p.Step());
        frames.push_back(p.Frame());
    }
    EXPECT_EQ(changes, (std::vector<bool>{false, false, true, true, true, true}));
    EXPECT_EQ(frames, (std::vector<int>{1, 1, 2, 3, 1, 2}));

    THTMLPictureCache cache;
    Load(*cache.AddPicture(), BmpBytes());
    EXPECT_FALSE(cache.Animate());
    Load(*cache.AddPicture(), GifFile(40, 20, ThreeFrames()));
    EXPECT_FALSE(cache.Animate());
    EXPECT_FALSE(cache.Animate());
    EXPECT_TRUE(cache.Animate());

    TPictureContainer container(nullptr);
    Load(*container.Items()->Add()->Picture(), BmpBytes());
    EXPECT_FALSE(container.Items()->Animate());
    Load(*container.Items()->Add()->Picture(), GifFile(40, 20, ThreeFrames()));
    container.Items()->Animate();
    container.Items()->Animate();
    EXPECT_TRUE(container.Items()->Animate());
}

TEST(HtmlPicture, TheCacheFindsByIdWithCaseAndTheContainerWithout) {
    THTMLPictureCache cache;
    THTMLPicture* added = cache.AddPicture();
    EXPECT_TRUE(added->Empty());
    added->SetID(u"http://a/Logo");
    EXPECT_EQ(cache.FindPicture(u"http://a/Logo"), added);
    EXPECT_EQ(cache.FindPicture(u"HTTP://A/LOGO"), nullptr);
    auto* replacement = new THTMLPicture;
    cache.SetPicture(0, replacement);
    EXPECT_EQ(cache.GetPicture(0), replacement);
    cache.AddPicture();
    cache.ClearPictures();
    EXPECT_EQ(cache.Count(), 0);

    TPictureContainer container(nullptr);
    TPictureItem* item = container.Items()->Add();
    item->SetName(u"Logo");
    item->SetTag(7);
    EXPECT_EQ(container.FindPicture(u"LOGO"), item->Picture());
    EXPECT_EQ(container.FindPicture(u"logo"), item->Picture());
    EXPECT_EQ(container.FindPicture(u"logos"), nullptr);
    EXPECT_EQ(container.Items()->GetOwner(), &container);
    EXPECT_EQ(container.Version(), u"1.0.0.0");
    container.SetVersion(u"2.0.0.0");
    EXPECT_EQ(container.Version(), u"1.0.0.0");

    Load(*item->Picture(), BmpBytes());
    TPictureContainer copy(nullptr);
    copy.SetItems(container.Items());
    ASSERT_EQ(copy.Items()->Count(), 1);
    EXPECT_EQ(copy.Items()->Items(0)->Name(), u"Logo");
    EXPECT_EQ(copy.Items()->Items(0)->Tag(), 7);
    EXPECT_EQ(copy.Items()->Items(0)->Picture()->Width(), 40);
}

TEST(HtmlPicture, LoadsFromFileAndResourceUrlsAndOnlyNamesWebAddresses) {
    TempFolder folder;
    const String path = folder.Write("Pics/Logo.bmp", BmpBytes());
    const std::vector<uint8_t> logo = BmpBytes();
    win::RegisterResource(TResName(RT_RCDATA), u"LOGO", 0, logo.data(), logo.size());

    struct Case {
        String url;
        bool loads;
    } cases[] = {
        {u"file://" + path, true},
        // The renderer upper-cases its sources: the path is found without regard to case.
        {u"FILE://" + UpperCase(path), true},
        {u"res://logo", true},
        {u"RES://LOGO", true},
        {u"RES://NOSUCH", false},
        {u"file://" + path + u".missing", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url.ToUtf8());
        THTMLPicture p;
        p.LoadFromURL(c.url);
        EXPECT_EQ(p.ID(), c.url);
        EXPECT_EQ(!p.Empty(), c.loads);
        EXPECT_EQ(p.Width(), c.loads ? 40 : 0);
        EXPECT_FALSE(p.Busy());
    }

    THTMLPicture named;
    named.SetAsynch(false);
    named.LoadFromURL(u"http://x/a.gif");
    EXPECT_EQ(named.ID(), u"http://x/a.gif");
    EXPECT_EQ(named.URL(), u"http://x/a.gif");
    EXPECT_TRUE(named.Empty());
    EXPECT_FALSE(named.Busy());

    THTMLPicture downloading;
    downloading.LoadFromURL(u"http://x/a.gif");
    EXPECT_TRUE(downloading.Busy());
    EXPECT_EQ(downloading.URL(), u"http://x/a.gif");
    EXPECT_TRUE(downloading.ID().IsEmpty());
    downloading.LoadFromURL(u"http://x/b.gif");
    EXPECT_EQ(downloading.URL(), u"http://x/a.gif");
    EXPECT_TRUE(downloading.Empty());
}

TEST(HtmlPicture, FailuresLeaveWhatTheyShould) {
    TempFolder folder;
    const std::vector<uint8_t> junk = {'n', 'o', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};
    THTMLPicture missing;
    EXPECT_NO_THROW(missing.LoadFromFile(String((folder.path / "none.bmp").string())));
    EXPECT_TRUE(missing.Empty());
    THTMLPicture undecodable;
    EXPECT_NO_THROW(undecodable.LoadFromFile(folder.Write("junk.bmp", junk)));
    EXPECT_TRUE(undecodable.Empty());

    THTMLPicture streamed;
    try {
        Load(streamed, junk);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), u"Could not load image. Invalid format");
    }
    EXPECT_FALSE(streamed.Empty());
    EXPECT_EQ(streamed.Width(), 0);
    EXPECT_EQ(streamed.Height(), 0);
    Sheet s(10, 10);
    s.Clear(kWhite);
    s.Canvas()->StretchDraw(Rect(0, 0, 10, 10), &streamed);
    EXPECT_TRUE(s.Where([](TColor c) { return c != kWhite; }).empty());

    THTMLPicture byId;
    EXPECT_THROW(byId.LoadFromResourceID(HInstance, 4321), EResNotFound);
}

TEST(HtmlPicture, AssignCopiesFromAPictureAndClearsFromNil) {
    THTMLPicture source;
    Load(source, GifFile(40, 20, ThreeFrames()));
    source.SetStretch(true);
    source.SetFrame(2);
    source.SetID(u"pic");

    THTMLPicture p;
    int changes = 0;
    p.OnChange = [&](TPersistent*) { ++changes; };
    p.Assign(&source);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(p.Stretch());
    EXPECT_EQ(p.Frame(), 2);
    EXPECT_EQ(p.ID(), u"pic");
    EXPECT_EQ(p.Data(), source.Data());
    EXPECT_FALSE(p.Empty());
    EXPECT_EQ(p.Width(), 10);
    EXPECT_EQ(p.FrameXPos(), 3);

    p.Assign(nullptr);
    EXPECT_TRUE(p.Empty());
    EXPECT_TRUE(p.Data().empty());
    EXPECT_EQ(p.Frame(), 1);

    // An empty picture gives its (missing) bytes without decoding them.
    THTMLPicture empty;
    EXPECT_NO_THROW(p.Assign(&empty));
    EXPECT_TRUE(p.Empty());
}

TEST(HtmlPicture, TheFormStreamDataIsTheEncodedFile) {
    THTMLPicture p;
    Load(p, BmpBytes());
    TMemoryStream data;
    p.WriteData(&data);
    EXPECT_EQ(data.Size(), static_cast<int64_t>(BmpBytes().size()));
    data.SetPosition(0);
    THTMLPicture back;
    int changes = 0;
    back.OnChange = [&](TPersistent*) { ++changes; };
    back.ReadData(&data);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(back.Width(), 40);
}

TEST(HtmlPicture, RandomAndCutGifBytesNeverCrash) {
    std::mt19937 random(20240611);
    const std::vector<uint8_t> gif = GifFile(40, 20, ThreeFrames());
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> bytes;
        if (round % 3 == 0) {
            bytes.assign(gif.begin(), gif.begin() + static_cast<long>(random() % gif.size()));
        } else {
            bytes = gif;
            for (int flips = 1 + static_cast<int>(random() % 8); flips > 0; --flips)
                bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
            if (round % 3 == 2) bytes.resize(bytes.size() - random() % 12);
        }
        THTMLPicture p;
        try {
            Load(p, bytes);
        } catch (const Exception&) {
        }
        int frames = p.FrameCount();
        for (int i = 0; i <= frames + 1; ++i) {
            p.GetFrameTime(i);
            try {
                p.SetFrame(i);
            } catch (const Exception&) {
            }
        }
        for (int i = 0; i < 4; ++i) {
            try {
                p.Step();
            } catch (const Exception&) {
            }
        }
    }
}

}  // namespace
