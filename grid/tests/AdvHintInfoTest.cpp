// The office hint's content: emptiness, copying, and the notes kept as the hint's own list.
#include <gtest/gtest.h>

#include "grid/AdvHintInfo.h"
#include "platform/ui/Graphics.h"

namespace {

TEST(AdvHintInfoTest, OnlyTheTitleAndTheNotesMakeItNonEmpty) {
    TAdvHintInfo info;
    EXPECT_TRUE(info.IsEmpty());
    TBitmap bmp;
    bmp.SetPixelFormat(pf24bit);
    bmp.SetSize(4, 4);
    bmp.Canvas()->FillRect(Rect(0, 0, 4, 4));
    info.Picture()->Assign(&bmp);
    ASSERT_FALSE(info.Picture()->Empty());
    info.SetShowHelp(true);
    info.SetWideTitle(u"wide");
    info.SetWideNotes(u"wide notes");
    EXPECT_TRUE(info.IsEmpty());
    info.SetTitle(u"Title");
    EXPECT_FALSE(info.IsEmpty());
    info.SetTitle(String());
    info.Notes()->Add(u"a note");
    EXPECT_FALSE(info.IsEmpty());
}

TEST(AdvHintInfoTest, AssignCopiesFromAnotherHintInfoOnly) {
    TAdvHintInfo src, dst;
    src.SetTitle(u"T");
    src.Notes()->Add(u"n1");
    src.Notes()->Add(u"n2");
    src.SetShowHelp(true);
    src.SetWideTitle(u"WT");
    src.SetWideNotes(u"WN");
    TBitmap bmp;
    bmp.SetPixelFormat(pf24bit);
    bmp.SetSize(3, 2);
    bmp.Canvas()->FillRect(Rect(0, 0, 3, 2));
    src.Picture()->Assign(&bmp);
    dst.Assign(&src);
    EXPECT_EQ(dst.Title(), u"T");
    EXPECT_EQ(dst.Notes()->Text(), src.Notes()->Text());
    EXPECT_TRUE(dst.ShowHelp());
    EXPECT_EQ(dst.WideTitle(), u"WT");
    EXPECT_EQ(dst.WideNotes(), u"WN");
    EXPECT_FALSE(dst.Picture()->Empty());
    // From another class: nothing changes.
    TStringList other;
    other.Add(u"x");
    dst.Assign(&other);
    EXPECT_EQ(dst.Title(), u"T");
    EXPECT_EQ(dst.Notes()->Count(), 2);
}

TEST(AdvHintInfoTest, AssigningNotesCopiesTheLinesIntoItsOwnList) {
    TAdvHintInfo info;
    TStrings* own = info.Notes();
    TStringList lines;
    lines.Add(u"one");
    lines.Add(u"two");
    info.SetNotes(&lines);
    EXPECT_EQ(info.Notes(), own);
    ASSERT_EQ(own->Count(), 2);
    EXPECT_EQ(own->Strings(1), u"two");
    lines.Clear();
    EXPECT_EQ(own->Count(), 2);
}

}  // namespace
