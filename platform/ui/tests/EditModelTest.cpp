// The edit model on its own: no window, no backend.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "platform/ui/EditModel.h"

namespace {

ui::EditModel Memo(const char16_t* text) {
    ui::EditModel m;
    m.SetMultiLine(true);
    m.SetText(String(text));
    return m;
}

void TypeText(ui::EditModel& m, const char16_t* text) {
    for (const char16_t* p = text; *p; ++p) m.Type(*p);
}

}  // namespace

TEST(EditModelTest, SelectionIsHeldWithinTheTextAndOutsideLineBreaks) {
    ui::EditModel m = Memo(u"ab\r\ncd");
    struct Case {
        int anchor, caret;
        int wantAnchor, wantCaret;
        const char16_t* selected;
    } cases[] = {
        {1, 5, 1, 5, u"b\r\nc"},
        {5, 1, 5, 1, u"b\r\nc"},  // the caret may come first
        {-4, 99, 0, 6, u"ab\r\ncd"},
        {3, 3, 2, 2, u""},        // between CR and LF: before the break
    };
    for (const auto& c : cases) {
        m.SetSelection(c.anchor, c.caret);
        EXPECT_EQ(m.Anchor(), c.wantAnchor) << c.anchor << "," << c.caret;
        EXPECT_EQ(m.Caret(), c.wantCaret) << c.anchor << "," << c.caret;
        EXPECT_EQ(m.SelText(), String(c.selected)) << c.anchor << "," << c.caret;
    }
    ui::EditModel line;
    line.SetText(String(u"ab\r\ncd"));  // one line keeps what the program wrote, and any place in it
    line.SetSelection(3, 3);
    EXPECT_EQ(line.Caret(), 3);
}

TEST(EditModelTest, OneUndoStepTakesBackARunOfTypingOrTheLastOtherChange) {
    ui::EditModel m;
    m.SetText(String(u"x"));
    EXPECT_FALSE(m.Modified());
    m.SetSelection(1, 1);
    TypeText(m, u"abc");
    EXPECT_EQ(m.Text(), String(u"xabc"));
    EXPECT_TRUE(m.Modified());
    ASSERT_TRUE(m.Undo());
    EXPECT_EQ(m.Text(), String(u"x"));
    EXPECT_EQ(m.Caret(), 1);
    ASSERT_TRUE(m.Undo());  // undoing the undo brings the run back
    EXPECT_EQ(m.Text(), String(u"xabc"));
    EXPECT_EQ(m.Caret(), 4);

    // A move of the caret ends the run: the next typing is a step of its own.
    m.SetSelection(0, 0);
    TypeText(m, u"1");
    m.SetSelection(5, 5);
    TypeText(m, u"2");
    m.Undo();
    EXPECT_EQ(m.Text(), String(u"1xabc"));

    // A deletion is a step; a program's change leaves none behind.
    m.DeleteBack();
    EXPECT_EQ(m.Text(), String(u"1xab"));
    m.Undo();
    EXPECT_EQ(m.Text(), String(u"1xabc"));
    m.Replace(0, 1, String(u"P"), false);
    EXPECT_FALSE(m.CanUndo());
    EXPECT_FALSE(m.Undo());
    EXPECT_EQ(m.Text(), String(u"Pxabc"));

    m.SetText(String(u"new"));
    EXPECT_FALSE(m.CanUndo());
    EXPECT_FALSE(m.Modified());
    EXPECT_EQ(m.Caret(), 0);

    // Read-only: the user's changes and undo do nothing; the program's still land.
    TypeText(m, u"a");
    m.SetReadOnly(true);
    TypeText(m, u"b");
    m.DeleteBack();
    m.DeleteForward();
    EXPECT_FALSE(m.Undo());
    EXPECT_EQ(m.Text(), String(u"anew"));
    m.Replace(0, 0, String(u">"), false);
    EXPECT_EQ(m.Text(), String(u">anew"));
}

TEST(EditModelTest, ALineBreakIsTwoCharactersHereAndOneInTheView) {
    ui::EditModel m = Memo(u"ab\r\ncd\r\n\r\nef");
    struct Case {
        int pos, view, line;
    } cases[] = {{0, 0, 0}, {2, 2, 0}, {4, 3, 1}, {6, 5, 1}, {8, 6, 2}, {10, 7, 3}, {12, 9, 3}};
    for (const auto& c : cases) {
        EXPECT_EQ(m.ToView(c.pos), c.view) << c.pos;
        EXPECT_EQ(m.FromView(c.view), c.pos) << c.pos;
        EXPECT_EQ(m.LineFromChar(c.pos), c.line) << c.pos;
    }
    EXPECT_EQ(m.LineCount(), 4);
    EXPECT_EQ(m.LineIndex(2), 8);
    EXPECT_EQ(m.LineIndex(9), -1);
    EXPECT_EQ(m.LineLength(5), 2);
    EXPECT_EQ(m.LineLength(8), 0);
    EXPECT_EQ(m.Step(2, 1), 4);  // over the break at once
    EXPECT_EQ(m.Step(4, -1), 2);
    // Up and down keep the column, or end at a shorter line's end; none past the first or last.
    EXPECT_EQ(m.LineBelow(5), 8);
    EXPECT_EQ(m.LineBelow(8), 10);
    EXPECT_EQ(m.LineAbove(11), 8);
    EXPECT_EQ(m.LineAbove(1), -1);
    EXPECT_EQ(m.LineBelow(11), -1);

    // Enter types a CR LF; Backspace takes it as one; the view hears of it as one character.
    m.SetSelection(2, 2);
    ui::EditModel::Change typed = m.Type(u'\r');
    EXPECT_EQ(m.Text(), String(u"ab\r\n\r\ncd\r\n\r\nef"));
    EXPECT_EQ(typed.ViewStart, 2);
    EXPECT_EQ(typed.ViewRemoved, 0);
    EXPECT_EQ(typed.Inserted, String(u"\r\n"));
    m.SetSelection(6, 6);
    ui::EditModel::Change back = m.DeleteBack();
    EXPECT_EQ(m.Text(), String(u"ab\r\ncd\r\n\r\nef"));
    EXPECT_EQ(back.ViewStart, 3);
    EXPECT_EQ(back.ViewRemoved, 1);
    EXPECT_EQ(m.Caret(), 4);

    // One line: what is inserted stops at the first break.
    ui::EditModel line;
    line.Replace(0, 0, String(u"one\r\ntwo"), true);
    EXPECT_EQ(line.Text(), String(u"one"));
}

TEST(EditModelTest, WordsAreRunsOfVisibleCharacters) {
    ui::EditModel m = Memo(u"one  two\r\nthree");
    struct Case {
        int pos, start, end;
    } cases[] = {
        {0, 0, 5},   // at a word: to the next word
        {2, 0, 5},
        {4, 0, 5},   // in the gap: back to the word before
        {5, 0, 8},   // the line's last word ends at the break
        {8, 5, 8},
        {10, 5, 15},
        {15, 10, 15},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(m.WordStart(c.pos), c.start) << c.pos;
        EXPECT_EQ(m.WordEnd(c.pos), c.end) << c.pos;
    }
}

TEST(EditModelTest, TheLimitTakesWhatFitsAndLeavesNoHalfLineBreak) {
    ui::EditModel m = Memo(u"");
    m.SetMaxLength(5);
    EXPECT_TRUE(m.Replace(0, 0, String(u"abcdefg"), true).Changed);
    EXPECT_EQ(m.Text(), String(u"abcde"));
    ui::EditModel::Change full = m.Type(u'x');
    EXPECT_TRUE(full.Refused);
    EXPECT_EQ(m.Text(), String(u"abcde"));
    // Replacing a selection frees its room.
    m.SetSelection(1, 4);
    TypeText(m, u"XY");
    EXPECT_EQ(m.Text(), String(u"aXYe"));
    // One place left: a line break does not fit half.
    m.SetSelection(4, 4);
    m.Replace(4, 4, String(u"\r\nz"), true);
    EXPECT_EQ(m.Text(), String(u"aXYe"));
    // The program's text is not cut.
    m.SetText(String(u"0123456789"));
    EXPECT_EQ(m.Text().Length(), 10);
}

TEST(EditModelTest, InsertedTextTakesTheCharacterCase) {
    ui::EditModel m;
    m.SetCharCase(ecUpperCase);
    m.SetText(String(u"mixed"));  // as written: the control converts a written text itself
    m.SetSelection(5, 5);
    TypeText(m, u"ab");
    m.Replace(0, 0, String(u"x"), false);
    EXPECT_EQ(m.Text(), String(u"XmixedAB"));
    m.SetCharCase(ecLowerCase);
    m.Replace(0, 1, String(u"ÄQ"), true);
    EXPECT_EQ(m.Text(), String(u"äqmixedAB"));
}

// The breaks and the line count are mended where an edit falls, not counted again: after each of
// many edits, among them halves of line breaks put in and taken out, they are what a model that
// counts the same text afresh finds.
TEST(EditModelTest, BreaksAndLinesFollowEveryEditAsACountAfreshFindsThem) {
    ui::EditModel m = Memo(u"ab\r\ncd\r\n");
    m.Breaks();
    m.LineCount();
    EXPECT_EQ(m.ListLineCount(), 2);
    EXPECT_EQ(Memo(u"a\rb\nc\r\n\r\nd").ListLineCount(), 5);
    const char16_t* pieces[] = {u"\r\n", u"\r", u"\n", u"x", u"x\r\ny", u"", u"\r\n\r\n"};
    unsigned seed = 7;
    for (int i = 0; i < 400; ++i) {
        seed = seed * 1103515245u + 12345u;
        const int len = m.Text().Length();
        const int start = static_cast<int>((seed >> 8) % static_cast<unsigned>(len + 1));
        const int end = std::min(len, start + static_cast<int>((seed >> 4) % 3));
        const String piece(pieces[(seed >> 16) % std::size(pieces)]);
        m.Replace(start, end, piece, false);
        if (m.Text().Length() > 200) m.Replace(0, 100, String(), false);
        ui::EditModel fresh = Memo(m.Text().c_str());
        ASSERT_EQ(m.Breaks(), fresh.Breaks()) << i;
        ASSERT_EQ(m.LineCount(), fresh.LineCount()) << i;
        ASSERT_EQ(m.ListLineCount(), fresh.ListLineCount()) << i;
    }
}
