#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "platform/rtl/Streams.h"
#include "platform/rtl/tests/TempDir.h"

namespace fs = std::filesystem;

namespace {

using rtl_test::ReadAll;
using rtl_test::TempDir;

}  // namespace

// The same read/write/seek contract for each in-memory stream kind.
class MemoryLikeStreamTest : public ::testing::TestWithParam<int> {
protected:
    std::unique_ptr<TStream> Make() {
        if (GetParam() == 0) return std::make_unique<TMemoryStream>();
        return std::make_unique<TStringStream>();
    }
};

TEST_P(MemoryLikeStreamTest, WritesReadsAndSeeks) {
    auto s = Make();
    EXPECT_EQ(s->Write("hello world", 11), 11);
    EXPECT_EQ(s->Position(), 11);
    EXPECT_EQ(s->Size(), 11);

    EXPECT_EQ(s->Seek(-5, soEnd), 6);
    char buf[16] = {};
    EXPECT_EQ(s->Read(buf, 16), 5);  // short read at the end
    EXPECT_EQ(std::string(buf, 5), "world");
    EXPECT_EQ(s->Read(buf, 1), 0);

    EXPECT_EQ(s->Seek(0, soFromBeginning), 0);
    EXPECT_EQ(s->Seek(2, soFromCurrent), 2);
    s->Write("LL", 2);  // overwrite in the middle
    s->SetPosition(0);
    s->ReadBuffer(buf, 11);
    EXPECT_EQ(std::string(buf, 11), "heLLo world");

    // Writing past the end grows the stream; shrinking moves the position back.
    s->Seek(0, soEnd);
    s->WriteBuffer("!", 1);
    EXPECT_EQ(s->Size(), 12);
    s->SetSize(5);
    EXPECT_EQ(s->Size(), 5);
    EXPECT_EQ(s->Position(), 5);

    EXPECT_THROW(s->Seek(-1, soBeginning), EStreamError);

    // Offsets near the ends of the 64-bit range are refused, never wrapped.
    EXPECT_THROW(s->Seek(INT64_MAX, soEnd), EStreamError);
    EXPECT_THROW(s->Seek(INT64_MIN, soCurrent), EStreamError);
    EXPECT_EQ(s->Seek(INT64_MAX, soBeginning), INT64_MAX);
    EXPECT_EQ(s->Write("x", 1), 0);
    EXPECT_THROW(s->WriteBuffer("x", 1), EWriteError);
    EXPECT_EQ(s->Seek(0, soBeginning), 0);
    EXPECT_EQ(s->Size(), 5);
}

TEST_P(MemoryLikeStreamTest, ShortReadBufferRaisesReadError) {
    auto s = Make();
    s->WriteBuffer("abc", 3);
    s->SetPosition(1);
    char buf[8];
    try {
        s->ReadBuffer(buf, 3);
        FAIL() << "no exception";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, MemoryLikeStreamTest, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param == 0 ? "Memory" : "String"; });

TEST(StreamsTest, CopyFromCopiesCountOrWholeStream) {
    TStringStream src("0123456789");
    src.SetPosition(3);
    TMemoryStream dst;
    EXPECT_EQ(dst.CopyFrom(&src, 4), 4);
    EXPECT_EQ(std::string(static_cast<const char*>(dst.Memory()), 4), "3456");
    EXPECT_EQ(src.Position(), 7);

    // Count 0: the whole source from its start, whatever its position.
    TMemoryStream all;
    EXPECT_EQ(all.CopyFrom(&src, 0), 10);
    EXPECT_EQ(std::string(static_cast<const char*>(all.Memory()), 10), "0123456789");

    // Asking for more than the source holds fails as a read error.
    src.SetPosition(8);
    EXPECT_THROW(dst.CopyFrom(&src, 5), EReadError);
}

TEST(StreamsTest, CopyFromMovesLargeStreamsAcrossBufferBoundaries) {
    TMemoryStream src;
    std::string data(200000, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
    src.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
    TMemoryStream dst;
    EXPECT_EQ(dst.CopyFrom(&src, 0), 200000);
    ASSERT_EQ(dst.Size(), 200000);
    EXPECT_EQ(std::string(static_cast<const char*>(dst.Memory()), data.size()), data);
}

TEST(StreamsTest, StringStreamHoldsUtf8AndReadsStrings) {
    TStringStream s(String("ｱﾝﾃﾅ"));
    EXPECT_EQ(s.DataString(), "ｱﾝﾃﾅ");
    EXPECT_EQ(s.Size(), 12);  // four 3-byte characters
    EXPECT_EQ(s.ReadString(3), "ｱ");
    s.Seek(0, soEnd);
    s.WriteString("-85dBm");
    s.WriteString(String("受信"));
    EXPECT_EQ(s.DataString(), "ｱﾝﾃﾅ-85dBm受信");
    s.SetPosition(12);
    EXPECT_EQ(s.ReadString(100), "-85dBm受信");
    EXPECT_EQ(s.ReadString(1), "");
}

TEST(StreamsTest, FileStreamCreatesWritesAndReopens) {
    TempDir dir("rtl-streams");
    std::string path = dir.File("data.bin");
    {
        TFileStream f(String(path), fmCreate);
        f.WriteBuffer("abcdef", 6);
        EXPECT_EQ(f.Size(), 6);
        f.SetSize(4);
        EXPECT_EQ(f.Position(), 4);
    }
    EXPECT_EQ(ReadAll(path), "abcd");
    {
        TFileStream f(String(path), fmOpenReadWrite | fmShareDenyNone);
        f.Seek(0, soEnd);
        f.WriteBuffer("XY", 2);
        f.SetPosition(1);
        char buf[3];
        f.ReadBuffer(buf, 3);
        EXPECT_EQ(std::string(buf, 3), "bcd");
    }
    TFileStream r(String(path), fmOpenRead);
    EXPECT_EQ(r.Size(), 6);
    EXPECT_THROW(r.WriteBuffer("z", 1), EWriteError);  // opened for reading only
}

TEST(StreamsTest, FileStreamFailuresNameTheFile) {
    TempDir dir("rtl-streams");
    std::string missing = dir.File("missing.bin");
    try {
        TFileStream f(String(missing), fmOpenRead);
        FAIL() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), String("Cannot open file \"") + String(missing) + "\". No such file or directory");
    }
    std::string inMissingDir = dir.File("no-such-dir/x.bin");
    try {
        TFileStream f(String(inMissingDir), fmCreate);
        FAIL() << "no exception";
    } catch (const EFCreateError& e) {
        EXPECT_NE(e.Message().find(String("Cannot create file \"") + String(inMissingDir) + "\". "), String::npos);
    }
    // A folder is not a file, even though Linux lets one open it for reading.
    EXPECT_THROW(TFileStream(String(dir.Path.string()), fmOpenRead), EFOpenError);
}

TEST(StreamsTest, MemoryStreamSavesAndLoadsFiles) {
    TempDir dir("rtl-streams");
    std::string path = dir.File("mem.bin");
    TMemoryStream m;
    m.WriteBuffer("\x00\x01\x02\xFF", 4);
    m.SetPosition(2);
    m.SaveToFile(String(path));  // the whole stream, not from the position
    EXPECT_EQ(ReadAll(path), std::string("\x00\x01\x02\xFF", 4));

    TMemoryStream back;
    back.LoadFromFile(String(path));
    ASSERT_EQ(back.Size(), 4);
    EXPECT_EQ(std::memcmp(back.Memory(), "\x00\x01\x02\xFF", 4), 0);
    back.Clear();
    EXPECT_EQ(back.Size(), 0);
    EXPECT_EQ(back.Memory(), nullptr);
    EXPECT_THROW(back.LoadFromFile(String(dir.File("none"))), EFOpenError);
}
