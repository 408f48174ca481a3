// DrawText's end, path and word ellipses on short and very long texts: the cut is the one taking a
// character off at a time would find, and a text of 100,000 characters is cut as quickly as a
// short one is (the search measures about what fits, not the whole text per character).
#include <gtest/gtest.h>

#include <vector>

#include "platform/qt/QtGraphicsApp.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Graphics.h"

namespace {

// A canvas that keeps the texts it is asked to draw.
class TextLog : public TCanvas {
public:
    explicit TextLog(TBitmap* target) : TCanvas(target) {}
    void ExtTextOutImpl(int X, int Y, const String& text, const TRect* clip, const TRect* opaque) override {
        texts.push_back(text);
        TCanvas::ExtTextOutImpl(X, Y, text, clip, opaque);
    }
    std::vector<String> texts;
};

const String kDots = u"...";

String Cut(const String& text, size_t k, const String& tail = String()) {
    String s = text.substr(0, k);
    s += kDots;
    s += tail;
    return s;
}

// The cut as one character at a time: the longest prefix that fits with the dots (path: before
// the last separator, with the file name kept), a word ellipsis then back to a word's start.
String CutOneByOne(TCanvas& c, const String& text, int maxWidth, UINT format) {
    if (c.TextWidth(text) <= maxWidth) return text;
    if (format & DT_PATH_ELLIPSIS) {
        size_t sep = text.find_last_of(u"\\/");
        if (sep != String::npos && sep > 0) {
            const String tail = text.substr(sep);
            size_t k = sep;
            while (k > 0 && c.TextWidth(Cut(text, k, tail)) > maxWidth) --k;
            if (c.TextWidth(Cut(text, k, tail)) <= maxWidth) return Cut(text, k, tail);
        }
    }
    size_t k = text.size();
    while (k > 0 && c.TextWidth(Cut(text, k)) > maxWidth) --k;
    if (format & DT_WORD_ELLIPSIS) {
        size_t w = k;
        while (w > 0 && text[w] != u' ' && text[w - 1] != u' ') --w;
        if (w > 0) k = w;
        while (k > 0 && text[k - 1] == u' ') --k;
    }
    return Cut(text, k);
}

// Words, or for a path folders, to n characters.
String TextOf(size_t n, bool path) {
    String text;
    for (int i = 0; text.size() < n; ++i) text += path ? u"folder" + IntToStr(i % 10) + u"\\" : u"word" + IntToStr(i % 7) + u" ";
    text.resize(n);
    if (path && n > 12) text.replace(n - 9, 9, u"\\file.txt");
    return text;
}

TEST(DrawTextEllipsis, CutsWhereOneCharacterAtATimeWouldForAnyLength) {
    qtb::EnsureApplication();
    TBitmap bitmap(300, 40);
    TextLog c(&bitmap);
    c.Font()->SetName(u"Arial");
    c.Font()->SetSize(9);
    const UINT kinds[] = {DT_END_ELLIPSIS, DT_PATH_ELLIPSIS, DT_WORD_ELLIPSIS};
    for (UINT kind : kinds) {
        for (size_t n : {size_t{10}, size_t{1000}, size_t{100000}}) {
            const String text = TextOf(n, kind == DT_PATH_ELLIPSIS);
            // A box narrower than the short text too.
            const int width = n == 10 ? c.TextWidth(text) - 10 : 150;
            SCOPED_TRACE("format " + std::to_string(kind) + ", " + std::to_string(n) + " characters");
            c.texts.clear();
            TRect r(0, 0, width, 20);
            DrawText(c.Handle(), text, -1, &r, DT_SINGLELINE | DT_NOPREFIX | kind);
            ASSERT_EQ(c.texts.size(), 1u);
            const String& drawn = c.texts[0];
            EXPECT_LE(c.TextWidth(drawn), width);
            ASSERT_GE(drawn.size(), kDots.size());
            if (n <= 1000) {
                EXPECT_EQ(drawn, CutOneByOne(c, text, width, kind));
                continue;
            }
            // Too long to cut one by one here: the kept text fits, and one character more would not.
            const size_t dots = drawn.find(kDots);
            ASSERT_NE(dots, String::npos);
            const String kept = drawn.substr(0, dots), tail = drawn.substr(dots + kDots.size());
            EXPECT_EQ(text.substr(0, kept.size()), kept);
            EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
            if (kind == DT_END_ELLIPSIS) {
                EXPECT_GT(c.TextWidth(Cut(text, kept.size() + 1)), width);
            } else if (kind == DT_WORD_ELLIPSIS) {
                EXPECT_EQ(text[kept.size()], u' ');
            } else {
                EXPECT_EQ(tail, u"\\file.txt");
            }
        }
    }
}

TEST(DrawTextEllipsis, ManyPrefixesUnderlineEachCharacterWhereItStands) {
    qtb::EnsureApplication();
    TBitmap bitmap(300, 40);
    TCanvas* c = bitmap.Canvas();
    c->Font()->SetName(u"Arial");
    c->Font()->SetSize(9);
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect(0, 0, 300, 40));
    TRect r(0, 0, 300, 40);
    DrawText(c->Handle(), u"&a&b\t&c", -1, &r, DT_SINGLELINE | DT_EXPANDTABS);
    TEXTMETRIC tm;
    GetTextMetrics(c->Handle(), &tm);
    const int y = tm.tmAscent + 1;
    // Each underline lies under its own character; the tab stop counts from the line's start.
    const int c0 = 8 * tm.tmAveCharWidth;
    const int spans[][2] = {{0, c->TextWidth(u"a")},
                            {c->TextWidth(u"a"), c->TextWidth(u"ab")},
                            {c0, c0 + c->TextWidth(u"c")}};
    for (const auto& s : spans) {
        for (int x = s[0]; x < s[1]; ++x) EXPECT_EQ(c->Pixels(x, y), clBlack) << x;
    }
    EXPECT_NE(c->Pixels(c->TextWidth(u"ab") + 2, y), clBlack);

    // Thousands of them draw in one pass over the text.
    String many;
    for (int i = 0; i < 20000; ++i) many += u"&x";
    TRect wide(0, 0, 300, 40);
    DrawText(c->Handle(), many, -1, &wide, DT_SINGLELINE);
    EXPECT_EQ(c->Pixels(1, y), clBlack);
}

}  // namespace
