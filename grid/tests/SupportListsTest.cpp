// The grid's support classes: the tagged integer list, the picture read from its file and the
// string list used as a text file.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "grid/DevAzo.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

struct ChangeLog {
    struct Call {
        TObject* Sender;
        int Col, Row;
    };
    std::vector<Call> Calls;
    void Attach(TIntList& l) {
        l.OnChange = [this](TObject* s, int c, int r) { Calls.push_back({s, c, r}); };
    }
};

TEST(IntList, AddDeleteAndSetFireTheTaggedChangeInsertDoesNot) {
    TIntList l(2, 5);
    ChangeLog log;
    log.Attach(l);
    l.Add(7);
    ASSERT_EQ(log.Calls.size(), 1u);
    EXPECT_EQ(log.Calls[0].Sender, static_cast<TObject*>(&l));
    EXPECT_EQ(log.Calls[0].Col, 2);
    EXPECT_EQ(log.Calls[0].Row, 5);
    l.Insert(0, 3);
    EXPECT_EQ(log.Calls.size(), 1u);
    EXPECT_EQ(l.StrValue(), u"3,7");
    l.SetInteger(1, 9);
    EXPECT_EQ(log.Calls.size(), 2u);
    EXPECT_EQ(l.GetInteger(1), 9);
    EXPECT_TRUE(l.HasValue(3));
    l.DeleteValue(42);  // absent: nothing
    EXPECT_EQ(log.Calls.size(), 2u);
    EXPECT_EQ(l.Count(), 2);
    l.DeleteValue(3);
    EXPECT_EQ(log.Calls.size(), 3u);
    EXPECT_EQ(l.StrValue(), u"9");
    l.Delete(0);
    EXPECT_EQ(log.Calls.size(), 4u);
    EXPECT_THROW(l.Delete(0), EListError);
}

TEST(IntList, StrValueReadsAndWritesCommaText) {
    TIntList l(0, 0);
    EXPECT_EQ(l.StrValue(), u"");
    l.Add(1);
    l.Add(-2);
    l.Add(30);
    EXPECT_EQ(l.StrValue(), u"1,-2,30");

    ChangeLog log;
    log.Attach(l);
    l.SetStrValue(u"4, 5");
    EXPECT_EQ(l.StrValue(), u"4,5");
    EXPECT_EQ(log.Calls.size(), 2u);  // one per item, none for the clearing

    EXPECT_THROW(l.SetStrValue(u"1,x"), EConvertError);
    EXPECT_EQ(l.StrValue(), u"1");
}

class FilePicture : public ui::test::AppTest {
protected:
    String WriteBitmap(const char* name, int w, int h, TColor color) {
        TBitmap b;
        b.SetSize(w, h);
        b.Canvas()->Brush()->SetColor(color);
        b.Canvas()->FillRect(TRect(0, 0, w, h));
        String file = String(std::string(::testing::TempDir()) + name);
        b.SaveToFile(file);
        return file;
    }
};

TEST_F(FilePicture, MeasuresOnNamingAndReadsTheFileOnEveryDraw) {
    String file = WriteBitmap("filepicture.bmp", 16, 8, clRed);
    TFilePicture p;
    p.SetFilename(file);
    EXPECT_EQ(p.Width(), 16);
    EXPECT_EQ(p.Height(), 8);

    TBitmap target;
    target.SetSize(40, 20);
    p.DrawPicture(target.Canvas(), TRect(0, 0, 32, 16));
    EXPECT_EQ(target.Canvas()->Pixels(30, 14), clRed);  // stretched to the rectangle
    EXPECT_NE(target.Canvas()->Pixels(35, 18), clRed);

    WriteBitmap("filepicture.bmp", 16, 8, clBlue);  // the next draw reads the file again
    p.DrawPicture(target.Canvas(), TRect(0, 0, 32, 16));
    EXPECT_EQ(target.Canvas()->Pixels(30, 14), clBlue);

    TFilePicture copy;
    copy.Assign(&p);
    EXPECT_EQ(copy.Filename(), file);
    EXPECT_EQ(copy.Width(), 16);
}

TEST_F(FilePicture, AMissingFileRaisesAndKeepsTheSize) {
    TFilePicture p;
    p.SetFilename(WriteBitmap("filepicture2.bmp", 16, 8, clRed));
    String missing = String(std::string(::testing::TempDir()) + "no-such-picture.bmp");
    std::filesystem::remove(std::string(::testing::TempDir()) + "no-such-picture.bmp");
    EXPECT_ANY_THROW(p.SetFilename(missing));
    EXPECT_EQ(p.Width(), 16);
    EXPECT_EQ(p.Height(), 8);
    TBitmap target;
    target.SetSize(4, 4);
    EXPECT_ANY_THROW(p.DrawPicture(target.Canvas(), TRect(0, 0, 4, 4)));
}

TEST(FileStringList, WritesGatherALineAndReadLnWalksToEof) {
    TFileStringList f;
    f.Write(u"a");
    f.Write(u"b");
    EXPECT_EQ(f.Count(), 0);
    f.WriteLn(u"c");
    ASSERT_EQ(f.Count(), 1);
    EXPECT_EQ(f[0], u"abc");
    f.WriteLn(u"d");
    EXPECT_EQ(f[1], u"d");  // the pending text was emptied

    f.Reset();
    String s;
    EXPECT_FALSE(f.Eof());
    f.ReadLn(s);
    EXPECT_EQ(s, u"abc");
    EXPECT_FALSE(f.Eof());
    f.ReadLn(s);
    EXPECT_EQ(s, u"d");
    EXPECT_TRUE(f.Eof());
    EXPECT_ANY_THROW(f.ReadLn(s));
}

}  // namespace
