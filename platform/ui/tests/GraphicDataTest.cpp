// The graphic data forms of the component stream, the graphic classes in the class registry, and
// colour identifiers.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/QtGraphicsApp.h"
#include "platform/rtl/Classes.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Jpeg.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Contents(TMemoryStream& s) {
    auto* p = static_cast<const uint8_t*>(s.Memory());
    return Bytes(p, p + s.Size());
}

uint32_t Get32(const Bytes& b, size_t at) {
    return static_cast<uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16) | static_cast<uint32_t>(b[at + 3]) << 24;
}

// Where the value of the property named `name` starts in a record; npos when it is not there.
size_t ValueOf(const Bytes& record, const std::string& name) {
    std::string key = std::string(1, static_cast<char>(name.size())) + name;
    auto it = std::search(record.begin(), record.end(), key.begin(), key.end());
    return it == record.end() ? std::string::npos : static_cast<size_t>(it - record.begin()) + key.size();
}

// One record with one graphic sub-object, as the grid's payload records are.
template <class G>
class TGraphicRecord : public TComponent {
public:
    TGraphicRecord(const char* property) : TComponent(nullptr), FProperty(property) {}
    const char* ClassName() const override { return "TGraphicRecord"; }
    void PublishedProperties(TFiler* f) override { f->ObjectProperty(FProperty, &Graphic); }
    G Graphic;

private:
    std::string FProperty;
};

void Paint(TBitmap* b) {
    const TColor colors[] = {clRed, clLime, clBlue, clYellow, clBlack, clWhite, 0x123456, 0x654321};
    for (int y = 0; y < b->Height(); ++y)
        for (int x = 0; x < b->Width(); ++x) b->Canvas()->SetPixels(x, y, colors[(x + 3 * y) % 8]);
}

void ExpectSamePixels(TBitmap* a, TBitmap* b) {
    ASSERT_EQ(a->Width(), b->Width());
    ASSERT_EQ(a->Height(), b->Height());
    for (int y = 0; y < a->Height(); ++y)
        for (int x = 0; x < a->Width(); ++x)
            EXPECT_EQ(a->Canvas()->Pixels(x, y), b->Canvas()->Pixels(x, y)) << x << "," << y;
}

class GraphicData : public ::testing::Test {
protected:
    void SetUp() override { qtb::EnsureApplication(); }
};

}  // namespace

TEST_F(GraphicData, ABitmapIsItsSizeThenItsBmpFile) {
    TGraphicRecord<TBitmap> a("Bitmap");
    a.Graphic.SetPixelFormat(pf24bit);
    a.Graphic.SetSize(3, 2);
    Paint(&a.Graphic);
    TMemoryStream s;
    s.WriteComponent(&a);
    Bytes rec = Contents(s);
    size_t v = ValueOf(rec, "Bitmap.Data");
    ASSERT_NE(v, std::string::npos);
    EXPECT_EQ(rec[v], vaBinary);
    uint32_t length = Get32(rec, v + 1);
    uint32_t size = Get32(rec, v + 5);
    EXPECT_EQ(length, size + 4);
    EXPECT_EQ(rec[v + 9], 'B');
    EXPECT_EQ(rec[v + 10], 'M');
    EXPECT_EQ(Get32(rec, v + 9 + 2), size);  // the .bmp file's own size field
    EXPECT_EQ(v + 5 + length + 2, rec.size());  // then only the two end markers

    s.SetPosition(0);
    TGraphicRecord<TBitmap> b("Bitmap");
    s.ReadComponent(&b);
    EXPECT_EQ(b.Graphic.PixelFormat(), pf24bit);
    ExpectSamePixels(&a.Graphic, &b.Graphic);

    // An empty bitmap writes no data; a reader keeps what it had.
    TGraphicRecord<TBitmap> empty("Bitmap");
    TMemoryStream e;
    e.WriteComponent(&empty);
    EXPECT_EQ(ValueOf(Contents(e), "Bitmap.Data"), std::string::npos);
    e.SetPosition(0);
    e.ReadComponent(&b);
    EXPECT_EQ(b.Graphic.Width(), 3);
}

TEST_F(GraphicData, AnIconIsItsIcoFile) {
    TGraphicRecord<TIcon> a("Icon");
    a.Graphic.Bitmap()->SetSize(16, 16);
    Paint(a.Graphic.Bitmap());
    TMemoryStream s;
    s.WriteComponent(&a);
    Bytes rec = Contents(s);
    size_t v = ValueOf(rec, "Icon.Data");
    ASSERT_NE(v, std::string::npos);
    EXPECT_EQ(rec[v], vaBinary);
    EXPECT_EQ(Bytes(rec.begin() + static_cast<long>(v) + 5, rec.begin() + static_cast<long>(v) + 9), (Bytes{0, 0, 1, 0}));
    EXPECT_EQ(Bytes(rec.begin() + static_cast<long>(v) + 5, rec.end() - 2), a.Graphic.SaveToBytes());

    s.SetPosition(0);
    TGraphicRecord<TIcon> b("Icon");
    s.ReadComponent(&b);
    ExpectSamePixels(a.Graphic.Bitmap(), b.Graphic.Bitmap());
}

TEST_F(GraphicData, APictureIsItsGraphicsClassNameThenTheGraphicsData) {
    // A bitmap.
    TGraphicRecord<TPicture> a("Picture");
    TBitmap* bmp = a.Graphic.Bitmap();
    bmp->SetPixelFormat(pf24bit);
    bmp->SetSize(5, 4);
    Paint(bmp);
    TMemoryStream s;
    s.WriteComponent(&a);
    Bytes rec = Contents(s);
    size_t v = ValueOf(rec, "Picture.Data");
    ASSERT_NE(v, std::string::npos);
    EXPECT_EQ(rec[v], vaBinary);
    EXPECT_EQ(std::string(rec.begin() + static_cast<long>(v) + 5, rec.begin() + static_cast<long>(v) + 13), "\x07TBitmap");
    EXPECT_EQ(Get32(rec, v + 13) + 4 + 8, Get32(rec, v + 1));
    s.SetPosition(0);
    TGraphicRecord<TPicture> b("Picture");
    s.ReadComponent(&b);
    auto* readBmp = dynamic_cast<TBitmap*>(b.Graphic.Graphic());
    ASSERT_NE(readBmp, nullptr);
    ExpectSamePixels(bmp, readBmp);

    // A JPEG keeps its own bytes.
    TJPEGImage jpeg;
    {
        TBitmap src(8, 8, pf24bit);
        Paint(&src);
        jpeg.Assign(&src);
    }
    Bytes jpegBytes = jpeg.SaveToBytes();
    a.Graphic.SetGraphic(&jpeg);
    TMemoryStream j;
    j.WriteComponent(&a);
    rec = Contents(j);
    v = ValueOf(rec, "Picture.Data");
    ASSERT_NE(v, std::string::npos);
    EXPECT_EQ(std::string(rec.begin() + static_cast<long>(v) + 5, rec.begin() + static_cast<long>(v) + 16), "\x0ATJPEGImage");
    EXPECT_EQ(Get32(rec, v + 16), jpegBytes.size());
    j.SetPosition(0);
    j.ReadComponent(&b);
    auto* readJpeg = dynamic_cast<TJPEGImage*>(b.Graphic.Graphic());
    ASSERT_NE(readJpeg, nullptr);
    EXPECT_EQ(readJpeg->SaveToBytes(), jpegBytes);
    EXPECT_EQ(readJpeg->Width(), 8);
    EXPECT_EQ(readJpeg->Height(), 8);

    // An empty picture writes no data.
    TGraphicRecord<TPicture> none("Picture");
    TMemoryStream n;
    n.WriteComponent(&none);
    EXPECT_EQ(ValueOf(Contents(n), "Picture.Data"), std::string::npos);
}

TEST_F(GraphicData, APictureOfAnUnknownClassRaisesTheReadError) {
    TGraphicRecord<TPicture> a("Picture");
    a.Graphic.Bitmap()->SetSize(2, 2);
    TMemoryStream s;
    s.WriteComponent(&a);
    Bytes rec = Contents(s);
    size_t v = ValueOf(rec, "Picture.Data");
    ASSERT_NE(v, std::string::npos);
    // Replace "TBitmap" by "TNoSuchGraphic", mending the lengths.
    Bytes bad(rec.begin(), rec.begin() + static_cast<long>(v));
    Bytes payload(rec.begin() + static_cast<long>(v) + 13, rec.end() - 2);
    std::string name = "TNoSuchGraphic";
    uint32_t length = static_cast<uint32_t>(1 + name.size() + payload.size());
    bad.push_back(vaBinary);
    for (int i = 0; i < 4; ++i) bad.push_back(static_cast<uint8_t>(length >> (8 * i)));
    bad.push_back(static_cast<uint8_t>(name.size()));
    bad.insert(bad.end(), name.begin(), name.end());
    bad.insert(bad.end(), payload.begin(), payload.end());
    bad.push_back(0);
    bad.push_back(0);
    TMemoryStream b;
    b.WriteBuffer(bad.data(), static_cast<int64_t>(bad.size()));
    b.SetPosition(0);
    TGraphicRecord<TPicture> target("Picture");
    try {
        b.ReadComponent(&target);
        FAIL() << "an unknown graphic class was read";
    } catch (const EReadError& e) {
        EXPECT_NE(std::string(e.what()).find("TNoSuchGraphic"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("Picture.Data"), std::string::npos) << e.what();
    }
    EXPECT_EQ(target.Graphic.Graphic(), nullptr);
}

TEST_F(GraphicData, TheGraphicClassesAreRegistered) {
    for (const char* name : {"TBitmap", "TIcon", "TJPEGImage", "TMetafile", "TPngImage"}) {
        TPersistentClass c = GetClass(name);
        ASSERT_NE(c, nullptr) << name;
        std::unique_ptr<TPersistent> made(c->Create(nullptr));
        EXPECT_STREQ(made->ClassName(), name);
        EXPECT_NE(dynamic_cast<TGraphic*>(made.get()), nullptr) << name;
    }
    // The same class registered again by its type is no conflict.
    EXPECT_NO_THROW(RegisterClass(ClassOf<TBitmap>()));
}

TEST(ColorIdents, ColorToIdentUsesTheOneTable) {
    String ident;
    EXPECT_TRUE(ColorToIdent(clWindow, ident));
    EXPECT_EQ(ident, "clWindow");
    EXPECT_FALSE(ColorToIdent(0x00123456, ident));
    // The whole table, in order: stored files depend on it byte for byte.
    const std::pair<const char*, uint32_t> table[] = {
        {"clBlack", 0x000000}, {"clMaroon", 0x000080}, {"clGreen", 0x008000}, {"clOlive", 0x008080},
        {"clNavy", 0x800000}, {"clPurple", 0x800080}, {"clTeal", 0x808000}, {"clGray", 0x808080},
        {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF}, {"clLime", 0x00FF00}, {"clYellow", 0x00FFFF},
        {"clBlue", 0xFF0000}, {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00}, {"clWhite", 0xFFFFFF},
        {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6}, {"clCream", 0xF0FBFF}, {"clMedGray", 0xA4A0A0},
        {"clScrollBar", 0xFF000000}, {"clBackground", 0xFF000001}, {"clActiveCaption", 0xFF000002},
        {"clInactiveCaption", 0xFF000003}, {"clMenu", 0xFF000004}, {"clWindow", 0xFF000005},
        {"clWindowFrame", 0xFF000006}, {"clMenuText", 0xFF000007}, {"clWindowText", 0xFF000008},
        {"clCaptionText", 0xFF000009}, {"clActiveBorder", 0xFF00000A}, {"clInactiveBorder", 0xFF00000B},
        {"clAppWorkSpace", 0xFF00000C}, {"clHighlight", 0xFF00000D}, {"clHighlightText", 0xFF00000E},
        {"clBtnFace", 0xFF00000F}, {"clBtnShadow", 0xFF000010}, {"clGrayText", 0xFF000011},
        {"clBtnText", 0xFF000012}, {"clInactiveCaptionText", 0xFF000013}, {"clBtnHighlight", 0xFF000014},
        {"cl3DDkShadow", 0xFF000015}, {"cl3DLight", 0xFF000016}, {"clInfoText", 0xFF000017},
        {"clInfoBk", 0xFF000018}, {"clHotLight", 0xFF00001A}, {"clGradientActiveCaption", 0xFF00001B},
        {"clGradientInactiveCaption", 0xFF00001C}, {"clMenuHighlight", 0xFF00001D}, {"clMenuBar", 0xFF00001E},
        {"clNone", 0x1FFFFFFF}, {"clDefault", 0x20000000},
    };
    std::vector<String> names;
    GetColorValues([&](const String& n) { names.push_back(n); });
    ASSERT_EQ(names.size(), std::size(table));
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(names[i], table[i].first);
        TColor c = 0;
        EXPECT_TRUE(IdentToColor(names[i], c)) << table[i].first;
        EXPECT_EQ(static_cast<uint32_t>(c), table[i].second) << table[i].first;
        EXPECT_TRUE(ColorToIdent(c, ident));
        EXPECT_EQ(ident, table[i].first);
    }
}

namespace {

class TColored : public TComponent {
public:
    TColored() : TComponent(nullptr) {}
    const char* ClassName() const override { return "TColored"; }
    void PublishedProperties(TFiler* f) override {
        ColorProperty(f, "BrushColor", BrushColor);
        ColorProperty(f, "FontColor", FontColor);
    }
    TColor BrushColor = clNone;
    TColor FontColor = 0x00123456;
};

}  // namespace

TEST(ColorIdents, AColorPropertyIsItsNameOrAnInteger) {
    TColored a;
    TMemoryStream s;
    s.WriteComponent(&a);
    std::string expected = std::string("TPF0\x08TColored\x00", 14) + "\x0A" "BrushColor\x07\x06" "clNone" + "\x09" "FontColor" +
                           std::string("\x04\x56\x34\x12\x00\x00\x00", 7);
    Bytes rec = Contents(s);
    EXPECT_EQ(std::string(rec.begin(), rec.end()), expected);
    s.SetPosition(0);
    TColored b;
    b.BrushColor = clRed;
    b.FontColor = clRed;
    s.ReadComponent(&b);
    EXPECT_EQ(b.BrushColor, clNone);
    EXPECT_EQ(b.FontColor, 0x00123456);
    // A name that is no colour is a conversion error.
    std::string bad = std::string("TPF0\x08TColored\x00", 14) + "\x0A" "BrushColor\x07\x05" "clFoo" + std::string("\x00\x00", 2);
    TMemoryStream t;
    t.WriteBuffer(bad.data(), static_cast<int64_t>(bad.size()));
    t.SetPosition(0);
    EXPECT_THROW(t.ReadComponent(&b), EConvertError);
}
