#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Hex(const char* text) {
    Bytes out;
    for (const char* p = text; *p;) {
        if (*p == ' ') {
            ++p;
            continue;
        }
        out.push_back(static_cast<uint8_t>(std::stoi(std::string(p, 2), nullptr, 16)));
        p += 2;
    }
    return out;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Ascii(const std::string& s) { return Bytes(s.begin(), s.end()); }

std::string ToHex(const Bytes& b) {
    std::string s;
    char buf[4];
    for (uint8_t x : b) {
        snprintf(buf, sizeof buf, "%02X ", x);
        s += buf;
    }
    return s;
}

Bytes Contents(TMemoryStream& s) {
    auto* p = static_cast<const uint8_t*>(s.Memory());
    return Bytes(p, p + s.Size());
}

void Load(TMemoryStream& s, const Bytes& b) {
    s.Clear();
    if (!b.empty()) s.WriteBuffer(b.data(), static_cast<int64_t>(b.size()));
    s.SetPosition(0);
}

const char* const kFontStyles[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};

// One typed value: how it is written, what it must be, and how it reads back.
struct ValueCase {
    const char* what;
    std::function<void(TWriter&)> write;
    Bytes bytes;
    std::function<void(TReader&)> readBack;
};

}  // namespace

TEST(Filer, TypedValuesHaveTheirBytesAndReadBack) {
    const std::string many(300, 'a');
    const ValueCase cases[] = {
        {"0", [](TWriter& w) { w.WriteInteger(0); }, Hex("02 00"), [](TReader& r) { EXPECT_EQ(r.ReadInteger(), 0); }},
        {"127", [](TWriter& w) { w.WriteInteger(127); }, Hex("02 7F"), [](TReader& r) { EXPECT_EQ(r.ReadInteger(), 127); }},
        {"-128", [](TWriter& w) { w.WriteInteger(-128); }, Hex("02 80"), [](TReader& r) { EXPECT_EQ(r.ReadInteger(), -128); }},
        {"-129", [](TWriter& w) { w.WriteInteger(-129); }, Hex("03 7F FF"), [](TReader& r) { EXPECT_EQ(r.ReadInteger(), -129); }},
        {"32767", [](TWriter& w) { w.WriteInteger(32767); }, Hex("03 FF 7F"), [](TReader& r) { EXPECT_EQ(r.ReadInteger(), 32767); }},
        {"40000", [](TWriter& w) { w.WriteInteger(40000); }, Hex("04 40 9C 00 00"), [](TReader& r) { EXPECT_EQ(r.ReadInteger(), 40000); }},
        {"-2147483648", [](TWriter& w) { w.WriteInteger(INT32_MIN); }, Hex("04 00 00 00 80"),
         [](TReader& r) { EXPECT_EQ(r.ReadInteger(), INT32_MIN); }},
        {"\"ab\"", [](TWriter& w) { w.WriteString("ab"); }, Hex("06 02 61 62"), [](TReader& r) { EXPECT_EQ(r.ReadString(), "ab"); }},
        {"\"\"", [](TWriter& w) { w.WriteString(""); }, Hex("06 00"), [](TReader& r) { EXPECT_EQ(r.ReadString(), ""); }},
        {"255 x a", [&](TWriter& w) { w.WriteString(String(std::string(255, 'a'))); },
         Concat({Hex("06 FF"), Ascii(std::string(255, 'a'))}),
         [&](TReader& r) { EXPECT_EQ(r.ReadString(), String(std::string(255, 'a'))); }},
        {"300 x a", [&](TWriter& w) { w.WriteString(String(many)); }, Concat({Hex("0C 2C 01 00 00"), Ascii(many)}),
         [&](TReader& r) { EXPECT_EQ(r.ReadString(), String(many)); }},
        {"café", [](TWriter& w) { w.WriteString("café"); }, Hex("14 05 00 00 00 63 61 66 C3 A9"),
         [](TReader& r) { EXPECT_EQ(r.ReadString(), "café"); }},
        {"é", [](TWriter& w) { w.WriteString("é"); }, Hex("12 01 00 00 00 E9 00"), [](TReader& r) { EXPECT_EQ(r.ReadString(), "é"); }},
        {"日本", [](TWriter& w) { w.WriteString("日本"); }, Hex("12 02 00 00 00 E5 65 2C 67"),
         [](TReader& r) { EXPECT_EQ(r.ReadString(), "日本"); }},
        // An unpaired surrogate has no UTF-8 form: the text stays UTF-16 and comes back whole.
        {"abcdefg + lone surrogate", [](TWriter& w) { w.WriteString(String(u"abcdefg\xD800")); },
         Hex("12 08 00 00 00 61 00 62 00 63 00 64 00 65 00 66 00 67 00 00 D8"),
         [](TReader& r) { EXPECT_EQ(r.ReadString(), String(u"abcdefg\xD800")); }},
        {"False", [](TWriter& w) { w.WriteBoolean(false); }, Hex("08"), [](TReader& r) { EXPECT_FALSE(r.ReadBoolean()); }},
        {"True", [](TWriter& w) { w.WriteBoolean(true); }, Hex("09"), [](TReader& r) { EXPECT_TRUE(r.ReadBoolean()); }},
        {"1.5", [](TWriter& w) { w.WriteFloat(1.5); }, Hex("05 00 00 00 00 00 00 00 C0 FF 3F"),
         [](TReader& r) { EXPECT_EQ(r.ReadFloat(), 1.5); }},
        {"{fsBold, fsItalic}", [](TWriter& w) { w.WriteSet(0b11, kFontStyles); },
         Concat({Hex("0B 06"), Ascii("fsBold"), Hex("08"), Ascii("fsItalic"), Hex("00")}),
         [](TReader& r) { EXPECT_EQ(r.ReadSet(kFontStyles), 0b11u); }},
        {"{}", [](TWriter& w) { w.WriteSet(0, kFontStyles); }, Hex("0B 00"), [](TReader& r) { EXPECT_EQ(r.ReadSet(kFontStyles), 0u); }},
        {"list a, b",
         [](TWriter& w) {
             w.WriteListBegin();
             w.WriteString("a");
             w.WriteString("b");
             w.WriteListEnd();
         },
         Hex("01 06 01 61 06 01 62 00"),
         [](TReader& r) {
             r.ReadListBegin();
             std::vector<String> items;
             while (!r.EndOfList()) items.push_back(r.ReadString());
             r.ReadListEnd();
             EXPECT_EQ(items, (std::vector<String>{"a", "b"}));
         }},
        {"unset reference", [](TWriter& w) { w.WriteNil(); }, Hex("0D"), [](TReader& r) { EXPECT_EQ(r.ReadValue(), vaNil); }},
        {"clNone", [](TWriter& w) { w.WriteIdent("clNone"); }, Concat({Hex("07 06"), Ascii("clNone")}),
         [](TReader& r) { EXPECT_EQ(r.ReadIdent(), "clNone"); }},
        {"binary", [](TWriter& w) { w.WriteBinary("\x01\x02\x03", 3); }, Hex("0A 03 00 00 00 01 02 03"),
         [](TReader& r) { EXPECT_EQ(r.ReadBinary(), Hex("01 02 03")); }},
    };
    for (const ValueCase& c : cases) {
        TMemoryStream s;
        {
            TWriter w(&s);
            c.write(w);
            w.FlushBuffer();
        }
        EXPECT_EQ(ToHex(Contents(s)), ToHex(c.bytes)) << c.what;
        s.SetPosition(0);
        {
            TReader r(&s);
            c.readBack(r);
        }
        EXPECT_EQ(s.Position(), s.Size()) << c.what << ": the value was not read to its end";
    }
}

TEST(Filer, DoublesGoThroughTheExtendedFormExactly) {
    const double values[] = {0.0, -0.0, -2.5, 1e300, DBL_MIN, -DBL_MAX, 1.0 / 3, DBL_TRUE_MIN, 4.9e-320, 123456.789,
                             INFINITY, -INFINITY};
    for (double v : values) {
        auto ext = rtl::DoubleToExtended(v);
        double back = rtl::ExtendedToDouble(ext.data());
        EXPECT_EQ(std::memcmp(&back, &v, sizeof v), 0) << v;
    }
    EXPECT_TRUE(std::isnan(rtl::ExtendedToDouble(rtl::DoubleToExtended(NAN).data())));
    // The smallest normal double: exponent 2^-1022.
    auto smallest = rtl::DoubleToExtended(DBL_MIN);
    EXPECT_EQ(ToHex(Bytes(smallest.begin(), smallest.end())), ToHex(Hex("00 00 00 00 00 00 00 80 01 3C")));
    // -2.5 = -1.25 * 2^1.
    auto m25 = rtl::DoubleToExtended(-2.5);
    EXPECT_EQ(ToHex(Bytes(m25.begin(), m25.end())), ToHex(Hex("00 00 00 00 00 00 00 A0 00 C0")));
}

TEST(Filer, ExtendedValuesBeyondADoubleRoundToTheNearest) {
    // 1 + 2^-53 is a tie between 1 and the next double: ties go to even (1).
    Bytes tie = Hex("00 04 00 00 00 00 00 80 FF 3F");
    EXPECT_EQ(rtl::ExtendedToDouble(tie.data()), 1.0);
    // A little above the tie rounds up.
    Bytes above = Hex("01 04 00 00 00 00 00 80 FF 3F");
    EXPECT_EQ(rtl::ExtendedToDouble(above.data()), std::nextafter(1.0, 2.0));
    // 2^16000 overflows a double; 2^-16000 underflows to zero.
    Bytes huge = Hex("00 00 00 00 00 00 00 80 7F 7E");
    EXPECT_EQ(rtl::ExtendedToDouble(huge.data()), INFINITY);
    Bytes tiny = Hex("00 00 00 00 00 00 00 80 7F 01");
    EXPECT_EQ(rtl::ExtendedToDouble(tiny.data()), 0.0);
}

namespace {

class TX : public TComponent {
public:
    using TComponent::TComponent;
    const char* ClassName() const override { return "TX"; }
    void PublishedProperties(TFiler* f) override { f->IntegerProperty("A", A); }
    int32_t A = 0;
};

// Two integers defined beyond the published ones, as a drop-down edit streams its styles.
class TStyled : public TComponent {
public:
    using TComponent::TComponent;
    const char* ClassName() const override { return "TStyled"; }
    void DefineProperties(TFiler* f) override {
        TComponent::DefineProperties(f);
        f->DefineProperty(
            "SelectionColorStyle",
            [this](TReader* r) {
                LoadingDuringRead = ComponentState().Contains(csLoading) && ComponentState().Contains(csReading);
                SelectionColorStyle = r->ReadInteger();
            },
            [this](TWriter* w) { w->WriteInteger(SelectionColorStyle); }, true);
        f->DefineProperty(
            "QRBStyle", [this](TReader* r) { QRBStyle = r->ReadInteger(); }, [this](TWriter* w) { w->WriteInteger(QRBStyle); },
            true);
    }
    void Loaded() override {
        TComponent::Loaded();
        ++LoadedCalls;
    }
    int32_t SelectionColorStyle = 0;
    int32_t QRBStyle = 0;
    bool LoadingDuringRead = false;
    int LoadedCalls = 0;
};

}  // namespace

TEST(Filer, ARecordOfOneIntegerPropertyHasTheseBytes) {
    TMemoryStream s;
    TX x(nullptr);
    x.A = 1;
    s.WriteComponent(&x);
    EXPECT_EQ(ToHex(Contents(s)), ToHex(Hex("54 50 46 30 02 54 58 00 01 41 02 01 00 00")));
    s.SetPosition(0);
    TX y(nullptr);
    EXPECT_EQ(s.ReadComponent(&y), &y);
    EXPECT_EQ(y.A, 1);
    EXPECT_EQ(s.Position(), s.Size());
}

TEST(Filer, DefinedPropertiesRoundTripWithLoadingSetAndLoadedOnce) {
    TMemoryStream s;
    TStyled a(nullptr);
    a.SelectionColorStyle = 2;
    a.QRBStyle = 40000;
    s.WriteComponent(&a);
    s.SetPosition(0);
    TStyled b(nullptr);
    s.ReadComponent(&b);
    EXPECT_EQ(b.SelectionColorStyle, 2);
    EXPECT_EQ(b.QRBStyle, 40000);
    EXPECT_TRUE(b.LoadingDuringRead);
    EXPECT_EQ(b.LoadedCalls, 1);
    EXPECT_FALSE(b.ComponentState().Contains(csLoading));
    EXPECT_FALSE(b.ComponentState().Contains(csReading));
    EXPECT_FALSE(a.ComponentState().Contains(csWriting));
}

TEST(Filer, RecordsFollowEachOtherAndARegisteredClassIsMadeByName) {
    RegisterClass(ClassOf<TX>());
    TMemoryStream s;
    for (int v : {5, -300, 70000}) {
        TX x(nullptr);
        x.A = v;
        s.WriteComponent(&x);
    }
    s.SetPosition(0);
    std::vector<int> read;
    while (s.Position() < s.Size()) {
        std::unique_ptr<TComponent> c(s.ReadComponent(nullptr));
        auto* x = dynamic_cast<TX*>(c.get());
        ASSERT_NE(x, nullptr);
        read.push_back(x->A);
    }
    EXPECT_EQ(read, (std::vector<int>{5, -300, 70000}));
    UnRegisterClass(ClassOf<TX>());
    s.SetPosition(0);
    EXPECT_THROW(s.ReadComponent(nullptr), EClassNotFound);
}

namespace {

// Raises, answering the exception's message.
template <class E>
std::string Raised(const std::function<void()>& run) {
    try {
        run();
    } catch (const E& e) {
        return e.what();
    } catch (const std::exception& e) {
        return std::string("wrong exception: ") + e.what();
    }
    return "nothing raised";
}

std::string ReadInto(TComponent* c, const Bytes& bytes) {
    TMemoryStream s;
    Load(s, bytes);
    s.ReadComponent(c);
    return "";
}

}  // namespace

TEST(Filer, BadRecordsRaiseNamingTheProperty) {
    const Bytes head = Hex("54 50 46 30 02 54 58 00");
    TX x(nullptr);
    EXPECT_EQ(Raised<EReadError>([&] { ReadInto(&x, Concat({head, Hex("01 42 02 01 00 00")})); }),
              "Error reading TX.B: Property B does not exist");
    EXPECT_EQ(Raised<EReadError>([&] { ReadInto(&x, Hex("54 50 46 30 02 54 58")); }), "Stream read error");
    EXPECT_EQ(Raised<EConvertError>([&] { ReadInto(&x, Concat({head, Hex("01 41 06 01 31 00 00")})); }),
              "Error reading TX.A: Invalid property value (value type 6)");
    // A value cut short names the property too.
    EXPECT_EQ(Raised<EReadError>([&] { ReadInto(&x, Concat({head, Hex("01 41 04 01 02")})); }),
              "Error reading TX.A: Stream read error");
    EXPECT_EQ(Raised<EReadError>([&] { ReadInto(&x, Hex("54 50 46 31 02 54 58 00 00 00")); }), "Invalid stream format");
    // A failed read leaves no loading state behind.
    EXPECT_FALSE(x.ComponentState().Contains(csLoading));
    EXPECT_FALSE(x.ComponentState().Contains(csReading));
    // Every integer code is accepted for an integer property.
    for (const char* value : {"02 05", "03 05 00", "04 05 00 00 00"}) {
        x.A = 0;
        ReadInto(&x, Concat({head, Hex("01 41"), Hex(value), Hex("00 00")}));
        EXPECT_EQ(x.A, 5) << value;
    }
    // A damaged length is refused before anything is allocated for it.
    for (const char* value : {"0C FF FF FF 7F 61", "12 FF FF FF 7F 61 00", "14 00 00 00 80 61", "0A FF FF FF FF 00"}) {
        TMemoryStream s;
        Load(s, Hex(value));
        TReader r(&s);
        EXPECT_THROW(r.NextValue() == vaBinary ? (void)r.ReadBinary() : (void)r.ReadString(), EReadError) << value;
    }
}

namespace {

enum TAlign { taLeftJustify, taRightJustify, taCenter };
const char* const kAligns[] = {"taLeftJustify", "taRightJustify", "taCenter"};

class TCellProps : public TPersistent {
public:
    const char* ClassName() const override { return "TCellProps"; }
    void PublishedProperties(TFiler* f) override {
        f->IntegerProperty("SpanX", SpanX);
        f->EnumProperty("Alignment", Alignment, kAligns);
        f->StringProperty("FontName", FontName);
        f->SetProperty("FontStyle", FontStyle, kFontStyles);
        f->ComponentProperty("Control", Control);
    }
    int32_t SpanX = 0;
    TAlign Alignment = taLeftJustify;
    String FontName;
    uint32_t FontStyle = 0;
    TComponent* Control = nullptr;
};

class TRecord : public TComponent {
public:
    explicit TRecord(TComponent* owner) : TComponent(owner) { Strings.reset(new TStringList); }
    const char* ClassName() const override { return "TRecord"; }
    void PublishedProperties(TFiler* f) override {
        f->IntegerProperty("Col", Col);
        f->BooleanProperty("HasProp", HasProp);
        f->ObjectProperty("CellProperties", &Props);
        f->FloatProperty("CellValue", CellValue);
        f->ObjectProperty("Strings", Strings.get());
    }
    uint16_t Col = 0;
    bool HasProp = false;
    TCellProps Props;
    double CellValue = 0;
    std::unique_ptr<TStringList> Strings;
};

}  // namespace

TEST(Filer, SubObjectPropertiesAreNamedByPath) {
    TComponent form(nullptr);
    auto* button = new TComponent(&form);
    button->SetName("Button1");
    TRecord a(&form);
    a.Col = 65535;
    a.HasProp = true;
    a.Props.SpanX = -1;
    a.Props.Alignment = taCenter;
    a.Props.FontName = "Arial";
    a.Props.FontStyle = 0b100;
    a.Props.Control = button;
    a.CellValue = -2.5;
    a.Strings->Add("x");
    a.Strings->Add("");
    TMemoryStream s;
    s.WriteComponent(&a);
    const Bytes expected = Concat({
        Hex("54 50 46 30 07"), Ascii("TRecord"), Hex("00"),
        Hex("03"), Ascii("Col"), Hex("04 FF FF 00 00"),
        Hex("07"), Ascii("HasProp"), Hex("09"),
        Hex("14"), Ascii("CellProperties.SpanX"), Hex("02 FF"),
        Hex("18"), Ascii("CellProperties.Alignment"), Hex("07 08"), Ascii("taCenter"),
        Hex("17"), Ascii("CellProperties.FontName"), Hex("06 05"), Ascii("Arial"),
        Hex("18"), Ascii("CellProperties.FontStyle"), Hex("0B 0B"), Ascii("fsUnderline"), Hex("00"),
        Hex("16"), Ascii("CellProperties.Control"), Hex("07 07"), Ascii("Button1"),
        Hex("09"), Ascii("CellValue"), Hex("05 00 00 00 00 00 00 00 A0 00 C0"),
        Hex("0F"), Ascii("Strings.Strings"), Hex("01 06 01 78 06 00 00"),
        Hex("00 00"),
    });
    EXPECT_EQ(ToHex(Contents(s)), ToHex(expected));

    s.SetPosition(0);
    TRecord b(&form);
    s.ReadComponent(&b);
    EXPECT_EQ(b.Col, 65535);
    EXPECT_TRUE(b.HasProp);
    EXPECT_EQ(b.Props.SpanX, -1);
    EXPECT_EQ(b.Props.Alignment, taCenter);
    EXPECT_EQ(b.Props.FontName, "Arial");
    EXPECT_EQ(b.Props.FontStyle, 0b100u);
    EXPECT_EQ(b.Props.Control, button);
    EXPECT_EQ(b.CellValue, -2.5);
    ASSERT_EQ(b.Strings->Count(), 2);
    EXPECT_EQ(b.Strings->Strings(0), "x");
    EXPECT_EQ(b.Strings->Strings(1), "");

    // Empty texts, a zero float, an empty list and an unset reference are left out; a reader
    // keeps what the object held for them.
    TRecord c(nullptr);
    TMemoryStream s2;
    s2.WriteComponent(&c);
    EXPECT_EQ(ToHex(Contents(s2)),
              ToHex(Concat({Hex("54 50 46 30 07"), Ascii("TRecord"), Hex("00 03"), Ascii("Col"), Hex("02 00 07"),
                            Ascii("HasProp"), Hex("08 14"), Ascii("CellProperties.SpanX"), Hex("02 00 18"),
                            Ascii("CellProperties.Alignment"), Hex("07 0D"), Ascii("taLeftJustify"), Hex("18"),
                            Ascii("CellProperties.FontStyle"), Hex("0B 00 00 00")})));
    s2.SetPosition(0);
    s2.ReadComponent(&b);
    EXPECT_EQ(b.Props.FontName, "Arial");
    EXPECT_EQ(b.Props.Control, button);
    EXPECT_EQ(b.Strings->Count(), 2);

    // A Word that does not hold the value, and an identifier the enumeration does not have.
    TMemoryStream bad;
    Load(bad, Concat({Hex("54 50 46 30 07"), Ascii("TRecord"), Hex("00 03"), Ascii("Col"), Hex("04 00 00 01 00 00 00")}));
    EXPECT_THROW(bad.ReadComponent(&b), EConvertError);
    Load(bad, Concat({Hex("54 50 46 30 07"), Ascii("TRecord"), Hex("00 18"), Ascii("CellProperties.Alignment"), Hex("07 03"),
                      Ascii("taX"), Hex("00 00")}));
    EXPECT_EQ(Raised<EConvertError>([&] { bad.ReadComponent(&b); }),
              "Error reading TRecord.CellProperties.Alignment: Invalid property value");
    Load(bad, Concat({Hex("54 50 46 30 07"), Ascii("TRecord"), Hex("00 18"), Ascii("CellProperties.NoSuchOne"), Hex("02 00 00 00")}));
    EXPECT_EQ(Raised<EReadError>([&] { bad.ReadComponent(&b); }),
              "Error reading TRecord.CellProperties.NoSuchOne: Property NoSuchOne does not exist");
}
