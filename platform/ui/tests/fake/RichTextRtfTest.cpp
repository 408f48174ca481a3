// The rich text document and its RTF: writing and reading back, hand-written documents with
// code pages and skipped destinations, malformed input, and formats following edits.
#include <gtest/gtest.h>

#include <string>

#include "platform/ui/RichText.h"

namespace {

using ui::RichAlign;
using ui::RichCharFormat;
using ui::RichContent;
using ui::RichDocument;

RichCharFormat Bold(RichCharFormat f) {
    f.Style << fsBold;
    return f;
}

// Two paragraphs: plain, bold, italic + underline, red 14-point, raised; the second centred.
RichDocument Sample() {
    RichDocument d;
    d.SetText(u"plain bold italic red up\r\ncentred line");
    RichCharFormat f;
    d.ApplyCharFormat(6, 10, Bold(f), ui::rfBold);
    f.Style << fsItalic << fsUnderline;
    d.ApplyCharFormat(11, 17, f, ui::rfItalic | ui::rfUnderline);
    f.Color = clRed;
    f.Height = 280;
    d.ApplyCharFormat(18, 21, f, ui::rfColor | ui::rfSize);
    f.Offset = 60;
    d.ApplyCharFormat(22, 24, f, ui::rfOffset);
    ui::RichParaFormat p;
    p.Align = RichAlign::Center;
    p.LeftIndent = 360;
    d.ApplyParaFormat(26, 26, p);
    return d;
}

TEST(RichTextRtf, WrittenDocumentReadsBackTheSameTextRunsAndParagraphs) {
    RichDocument d = Sample();
    std::string rtf = ui::WriteRtf(d.Content());
    EXPECT_TRUE(ui::LooksLikeRtf(rtf));
    for (char c : rtf) ASSERT_LT(static_cast<unsigned char>(c), 128u) << rtf;
    EXPECT_NE(rtf.find("\\up6"), std::string::npos);
    EXPECT_NE(rtf.find("\\qc"), std::string::npos);
    bool complete = false;
    RichContent back = ui::ReadRtf(rtf, RichCharFormat(), &complete);
    EXPECT_TRUE(complete);
    RichContent original = d.Content();
    EXPECT_EQ(back.Text, original.Text);
    EXPECT_EQ(back.Runs, original.Runs);
    EXPECT_EQ(back.Paras, original.Paras);
    ASSERT_EQ(back.Paras.size(), 2u);
    EXPECT_EQ(back.Paras[1].Align, RichAlign::Center);
}

TEST(RichTextRtf, CharactersOutsideAsciiAreEscapedAndComeBack) {
    RichDocument d;
    d.SetText(u"caf\u00e9 \u20ac \u3042 {\\} tab\there\u000bline");
    std::string rtf = ui::WriteRtf(d.Content());
    for (char c : rtf) ASSERT_LT(static_cast<unsigned char>(c), 128u);
    EXPECT_NE(rtf.find("\\'e9"), std::string::npos);   // code page 1252
    EXPECT_NE(rtf.find("\\'80"), std::string::npos);   // the euro is in 1252 too
    EXPECT_NE(rtf.find("\\u12354?"), std::string::npos);
    EXPECT_EQ(ui::ReadRtf(rtf, RichCharFormat()).Text, d.Text());
}

TEST(RichTextRtf, HandWrittenDocumentWithTablesAndSkippedGroups) {
    std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fnil\\fcharset128 Gothic;}}"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
        "{\\*\\generator x}{\\pict\\wmetafile8 0102abcdef}\\unknownword12 "
        "\\pard\\f0\\fs24 caf\\'e9 \\u8364? \\cf1\\b red\\b0\\cf0  {\\f1\\'82\\'a0}\\par\\qr end}";
    bool complete = false;
    RichContent c = ui::ReadRtf(rtf, RichCharFormat(), &complete);
    EXPECT_TRUE(complete);
    EXPECT_EQ(c.Text, String(u"caf\u00e9 \u20ac red \u3042\r\nend"));
    ASSERT_GE(c.Runs.size(), 3u);
    EXPECT_EQ(c.Runs[0].Format.Name, String(u"Arial"));
    EXPECT_EQ(c.Runs[0].Format.Height, 240);
    // "red": bold, red.
    auto at = [&](int pos) {
        for (auto& r : c.Runs)
            if (pos >= r.Start && pos < r.Start + r.Length) return r.Format;
        return RichCharFormat();
    };
    EXPECT_EQ(at(7).Color, clRed);
    EXPECT_TRUE(at(7).Style.Contains(fsBold));
    EXPECT_EQ(at(11).Color, clWindowText);
    EXPECT_EQ(at(11).Name, String(u"Gothic"));
    ASSERT_EQ(c.Paras.size(), 2u);
    EXPECT_EQ(c.Paras[1].Align, RichAlign::Right);
}

TEST(RichTextRtf, MalformedInputReadsWhatItCan) {
    struct Case {
        const char* name;
        std::string rtf;
        String text;
        bool complete;
    };
    std::string deep = "{\\rtf1 ok";
    for (int i = 0; i < 10000; ++i) deep += "{";
    deep += "lost";
    const Case cases[] = {
        {"unbalanced open", "{\\rtf1 abc{\\b def", u"abcdef", false},
        {"extra close", "{\\rtf1 abc}}def", u"abc", true},
        {"truncated hex", "{\\rtf1 ab\\'e", u"ab", false},
        {"unicode out of range", "{\\rtf1 a\\u99999?b\\u-70000?c}", u"abc", true},
        {"nested 10,000 deep", deep, u"ok", false},
        {"missing font and colour", "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}\\f7\\cf9 x}", u"x", true},
        {"empty", "", u"", false},
    };
    for (const Case& c : cases) {
        bool complete = !c.complete;
        RichContent got = ui::ReadRtf(c.rtf, RichCharFormat(), &complete);
        EXPECT_EQ(got.Text, c.text) << c.name;
        EXPECT_EQ(complete, c.complete) << c.name;
    }
    // A missing font or colour: the default font, automatic colour.
    RichContent missing = ui::ReadRtf(cases[5].rtf, RichCharFormat());
    ASSERT_EQ(missing.Runs.size(), 1u);
    EXPECT_EQ(missing.Runs[0].Format.Name, String(u"Arial"));
    EXPECT_EQ(missing.Runs[0].Format.Color, clWindowText);
}

TEST(RichTextRtf, UnicodeFallbackIsSkippedByUc) {
    EXPECT_EQ(ui::ReadRtf("{\\rtf1\\uc2\\u8364xxA\\uc0\\u233 B}", RichCharFormat()).Text, String(u"\u20acA\u00e9B"));
    EXPECT_EQ(ui::ReadRtf("{\\rtf1\\u8364\\'80A}", RichCharFormat()).Text, String(u"\u20acA"));
}

TEST(RichTextDocument, FormatsFollowEditsAndUndo) {
    RichDocument d = Sample();
    // Typing inside the bold word is bold; a break splits the paragraph and keeps its format.
    d.SetSelection(8, 8);
    d.Type(u'X');
    EXPECT_EQ(d.Text().substr(6, 5), String(u"boXld"));
    EXPECT_TRUE(d.CharFormat(8).Style.Contains(fsBold));
    EXPECT_FALSE(d.CharFormat(5).Style.Contains(fsBold));
    d.SetSelection(28, 28);  // inside "centred"
    d.Type(u'\r');
    ASSERT_EQ(d.ParagraphCount(), 3);
    EXPECT_EQ(d.ParaFormat(2).Align, RichAlign::Center);
    // Deleting a break joins the paragraphs: the first's format stays.
    d.Replace(25, 27, String(), true);
    EXPECT_EQ(d.ParagraphCount(), 2);
    EXPECT_EQ(d.ParaFormat(0).Align, RichAlign::Left);
    ASSERT_TRUE(d.Undo());
    EXPECT_EQ(d.ParagraphCount(), 3);
    EXPECT_EQ(d.ParaFormat(1).Align, RichAlign::Center);
    // A format set on an empty selection is what typing takes.
    RichCharFormat f;
    f.Style << fsStrikeOut;
    int end = d.Text().Length();
    d.SetSelection(end, end);
    d.ApplyCharFormat(end, end, f, ui::rfStrikeOut);
    d.Type(u'Z');
    EXPECT_TRUE(d.CharFormat(end).Style.Contains(fsStrikeOut));
    uint32_t alike = 0;
    d.RangeFormat(0, 10, &alike);
    EXPECT_FALSE(alike & ui::rfBold);
    EXPECT_TRUE(alike & ui::rfItalic);
}

}  // namespace
