// Clipboard content and the desktop's MIME types: what goes out for each format, what comes back
// in, and what is refused or kept apart. No display: the mapping has no toolkit in it.
#include <gtest/gtest.h>

#include <string>

#include "platform/rtl/Diagnostics.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/backend/DesktopFormats.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }
Bytes Z(std::string_view s) {
    Bytes b = B(s);
    b.push_back(0);
    return b;
}
std::string S(const Bytes& b) { return std::string(b.begin(), b.end()); }

UINT Html() { return RegisterClipboardFormat("HTML Format"); }
UINT Rtf() { return RegisterClipboardFormat("Rich Text Format"); }
UINT Url() { return RegisterClipboardFormat("UniformResourceLocator"); }

// The types that go out, without our own registered types, as (type, bytes as text).
std::vector<std::pair<std::string, std::string>> Mapped(const ui::DesktopContent& parts) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const ui::DesktopPart& p : parts)
        if (ui::RegisteredFormatName(p.Type).IsEmpty()) out.emplace_back(p.Type, S(p.Bytes));
    return out;
}

const ui::DesktopPart* Part(const ui::DesktopContent& parts, const std::string& type) {
    for (const ui::DesktopPart& p : parts)
        if (p.Type == type) return &p;
    return nullptr;
}

// The four offsets of an "HTML Format" block.
struct Offsets {
    size_t StartHtml, EndHtml, StartFragment, EndFragment;
};
Offsets OffsetsOf(const std::string& block) {
    auto value = [&](const std::string& name) {
        size_t at = block.find(name + ":");
        EXPECT_NE(at, std::string::npos) << name;
        EXPECT_EQ(block.substr(at + name.size() + 9, 2), "\r\n") << name;
        return static_cast<size_t>(std::stoul(block.substr(at + name.size() + 1, 8)));
    };
    return {value("StartHTML"), value("EndHTML"), value("StartFragment"), value("EndFragment")};
}

const std::string kDocument =
    "<!DOCTYPE html><html><body><!--StartFragment--><b>\xC3\xA9</b><!--EndFragment--></body></html>";

TEST(DesktopFormats, EachFormatGoesOutUnderItsTypesAndComesBackWithEqualBytes) {
    const Bytes htmlBlock = ui::HtmlFormatOf(kDocument);
    const Bytes files = ui::DropFilesBlock({String("/data/a b.txt")});
    struct Row {
        const char* Name;
        ui::ClipboardContent Content;
        std::vector<std::pair<std::string, std::string>> Out;
    };
    const Row rows[] = {
        {"plain text", {{CF_UNICODETEXT, ui::ClipboardTextBytes(String("\xC3\xA9 x"))}},
         {{"text/plain;charset=utf-8", "\xC3\xA9 x"}}},
        {"html as our own block", {{Html(), htmlBlock}}, {{"text/html", kDocument}}},
        {"rich text without its zero", {{Rtf(), Z("{\\rtf1 x}")}},
         {{"text/rtf", "{\\rtf1 x}"}, {"application/rtf", "{\\rtf1 x}"}}},
        {"files as percent-encoded URLs", {{CF_HDROP, files}}, {{"text/uri-list", "file:///data/a%20b.txt"}}},
        {"a URL as a list and as text", {{Url(), Z("https://example.org/x")}},
         {{"text/plain;charset=utf-8", "https://example.org/x"}, {"text/uri-list", "https://example.org/x"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        ui::DesktopContent out = ui::DesktopContentOf(row.Content);
        EXPECT_EQ(Mapped(out), row.Out);
        // Every registered format also goes under its own type, byte for byte.
        for (const auto& [format, bytes] : row.Content) {
            String name = GetClipboardFormatName(format);
            if (name.IsEmpty()) continue;
            const ui::DesktopPart* own = Part(out, ui::RegisteredFormatType(name));
            ASSERT_NE(own, nullptr);
            EXPECT_EQ(own->Bytes, bytes);
        }
        // Coming back as another program would offer it (without our own types), the formats
        // come back with equal bytes.
        ui::DesktopContent foreign;
        for (const ui::DesktopPart& p : out)
            if (ui::RegisteredFormatName(p.Type).IsEmpty()) foreign.push_back(p);
        ui::ClipboardContent back = ui::ClipboardContentOf(foreign);
        for (const auto& [format, bytes] : row.Content) {
            ASSERT_TRUE(back.count(format)) << format;
            EXPECT_EQ(back.at(format), bytes) << format;
        }
    }
    // The document of our own block starts at its doctype and holds no header.
    std::string html = S(Part(ui::DesktopContentOf({{Html(), htmlBlock}}), "text/html")->Bytes);
    EXPECT_EQ(html.rfind("<!DOCTYPE", 0), 0u);
    EXPECT_EQ(html.find("Version:"), std::string::npos);
}

TEST(DesktopFormats, AnHtmlHeaderThatCannotBeTrustedGivesTheDocumentFromItsFirstTag) {
    const std::string doc = "<html><body>x</body></html>";
    struct Row {
        const char* Name;
        std::string Block;
        const char* Html;  // nullptr: no text/html
    };
    const Row rows[] = {
        {"EndHTML beyond the data", "Version:1.0\r\nStartHTML:00000051\r\nEndHTML:00009999\r\n" + doc, "<html><body>x</body></html>"},
        {"no offsets", "Version:1.0\r\n" + doc, "<html><body>x</body></html>"},
        {"an offset not decimal", "Version:1.0\r\nStartHTML:0000x052\r\n" + doc, "<html><body>x</body></html>"},
        {"out of order", "Version:1.0\r\nStartHTML:00000060\r\nEndHTML:00000055\r\n" + doc, "<html><body>x</body></html>"},
        {"pointing into the header", "Version:1.0\r\nStartHTML:00000002\r\n" + doc, "<html><body>x</body></html>"},
        {"EndHTML missing", "Version:1.0\r\nStartHTML:00000033\r\n" + doc + std::string(1, '\0'), "<html><body>x</body></html>"},
        {"no tag after the header", "Version:1.0\r\nStartHTML:00000099\r\n", nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        ui::ClipboardContent content{{Html(), B(row.Block)}};
        ui::DesktopContent out = ui::DesktopContentOf(content);
        const ui::DesktopPart* html = Part(out, "text/html");
        if (row.Html) {
            ASSERT_NE(html, nullptr);
            EXPECT_EQ(S(html->Bytes), row.Html);
        } else {
            EXPECT_EQ(html, nullptr);
        }
        // Our own programs still read the block whole.
        const ui::DesktopPart* own = Part(out, ui::RegisteredFormatType("HTML Format"));
        ASSERT_NE(own, nullptr);
        EXPECT_EQ(S(own->Bytes), row.Block);
    }
}

TEST(DesktopFormats, HtmlOfAnotherProgramIsWrappedWithOffsetsToItsDocumentAndFragment) {
    struct Row {
        const char* Name;
        Bytes Html;
        std::string Document, Fragment;
    };
    const std::string marked = "<html><body><!--StartFragment--><i>\xC3\xA9</i><!--EndFragment--></body></html>";
    const std::string bodied = "<html><BODY class=\"a\"><p>x</p></body></html>";
    Bytes utf16 = {0xFF, 0xFE};
    for (char16_t c : String(marked)) {
        utf16.push_back(static_cast<uint8_t>(c & 0xFF));
        utf16.push_back(static_cast<uint8_t>(c >> 8));
    }
    Bytes utf16be = {0xFE, 0xFF};
    for (char16_t c : String(marked)) {
        utf16be.push_back(static_cast<uint8_t>(c >> 8));
        utf16be.push_back(static_cast<uint8_t>(c & 0xFF));
    }
    const Row rows[] = {
        {"fragment markers", B(marked), marked, "<i>\xC3\xA9</i>"},
        {"no markers: the body's content", B(bodied), bodied, "<p>x</p>"},
        {"no body: the whole text", B("<b>x</b>"), "<b>x</b>", "<b>x</b>"},
        {"UTF-16 with its mark", utf16, marked, "<i>\xC3\xA9</i>"},
        {"UTF-16 big-endian", utf16be, marked, "<i>\xC3\xA9</i>"},
        {"invalid UTF-8 replaced", B("<b>\xFF</b>"), "<b>\xEF\xBF\xBD</b>", "<b>\xEF\xBF\xBD</b>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        ui::ClipboardContent c = ui::ClipboardContentOf({{"text/html", row.Html}});
        ASSERT_TRUE(c.count(Html()));
        std::string block = S(c.at(Html()));
        EXPECT_EQ(block.rfind("Version:1.0\r\nStartHTML:", 0), 0u);
        Offsets o = OffsetsOf(block);
        EXPECT_EQ(block.substr(o.StartHtml, o.EndHtml - o.StartHtml), row.Document);
        EXPECT_EQ(o.EndHtml, block.size());
        EXPECT_EQ(block.substr(o.StartFragment, o.EndFragment - o.StartFragment), row.Fragment);
    }
}

TEST(DesktopFormats, WhatComesInFromOtherProgramsAndWhatIsLeftOut) {
    // A URL list: files, the first other URL, comments and lines that are no URL.
    ui::ClipboardContent c = ui::ClipboardContentOf(
        {{"text/uri-list", B("# a comment\r\nhttps://example.org/x\r\nnot a url\r\nfile:///data/a%20b.txt\r\n"
                             "mailto:a@b.c\r\nfile://localhost/tmp/%E6%97%A5\r\n")}});
    EXPECT_EQ(ui::DroppedFiles(c.at(CF_HDROP)), (std::vector<String>{String("/data/a b.txt"), String("/tmp/日")}));
    EXPECT_EQ(c.at(Url()), Z("https://example.org/x"));
    EXPECT_EQ(ui::ClipboardText(c.at(CF_UNICODETEXT)), String("https://example.org/x\r\nmailto:a@b.c"));
    EXPECT_EQ(c.at(CF_TEXT), Z("https://example.org/x\r\nmailto:a@b.c"));
    // With text offered beside it, the text stays the other program's.
    c = ui::ClipboardContentOf({{"text/uri-list", B("https://example.org/x")}, {"text/plain", B("see this")}});
    EXPECT_EQ(ui::ClipboardText(c.at(CF_UNICODETEXT)), String("see this"));
    EXPECT_FALSE(c.count(CF_TEXT));

    // Rich text gets its zero; application/rtf alone is taken too.
    EXPECT_EQ(ui::ClipboardContentOf({{"text/rtf", B("{\\rtf1 x}")}}).at(Rtf()), Z("{\\rtf1 x}"));
    EXPECT_EQ(ui::ClipboardContentOf({{"application/rtf", B("{\\rtf1 y}")}}).at(Rtf()), Z("{\\rtf1 y}"));

    // Empty HTML cannot be wrapped, but the text beside it arrives.
    c = ui::ClipboardContentOf({{"text/html", {}}, {"text/plain;charset=utf-8", B("t")}});
    EXPECT_FALSE(c.count(Html()));
    EXPECT_EQ(ui::ClipboardText(c.at(CF_UNICODETEXT)), String("t"));

    // Our own type wins over the same data mapped from the desktop's type.
    c = ui::ClipboardContentOf({{"text/html", B("<b>other</b>")}, {ui::RegisteredFormatType("HTML Format"), B("ours")}});
    EXPECT_EQ(c.at(Html()), B("ours"));
}

TEST(DesktopFormats, OneTypeBeyondTheLimitIsNotMappedAndIsNamedInTheDebugLog) {
    rtl::ClearDebugLog();
    Bytes huge(ui::kDesktopTypeLimit + 1, 'a');
    huge[0] = '<';
    ui::ClipboardContent c = ui::ClipboardContentOf({{"text/html", huge}, {"text/plain", B("small")}});
    EXPECT_FALSE(c.count(Html()));
    EXPECT_EQ(ui::ClipboardText(c.at(CF_UNICODETEXT)), String("small"));
    std::vector<String> log = rtl::DebugLog();
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find(String("text/html")), String::npos);

    // Going out, the registered type still carries it.
    ui::DesktopContent out = ui::DesktopContentOf({{Rtf(), huge}});
    EXPECT_EQ(Part(out, "text/rtf"), nullptr);
    ASSERT_NE(Part(out, ui::RegisteredFormatType("Rich Text Format")), nullptr);
    EXPECT_EQ(Part(out, ui::RegisteredFormatType("Rich Text Format"))->Bytes.size(), huge.size());
}

TEST(DesktopFormats, OnlyDataAnotherProgramUnderstandsCrossesTheProgramsEdge) {
    EXPECT_TRUE(ui::CrossesToDesktop({{CF_UNICODETEXT, ui::ClipboardTextBytes(String("a"))}}));
    EXPECT_TRUE(ui::CrossesToDesktop({{Rtf(), Z("{\\rtf1 x}")}}));
    EXPECT_FALSE(ui::CrossesToDesktop({{RegisterClipboardFormat("Our private rows"), B("x")}}));
    EXPECT_FALSE(ui::CrossesToDesktop({}));
}

}  // namespace
