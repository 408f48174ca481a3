// Streams on global memory and the adapter over the run-time library's streams.
#include <gtest/gtest.h>

#include <cstring>
#include <numeric>

#include "platform/ole/Stream.h"
#include "platform/win/Resources.h"

namespace {

std::vector<uint8_t> Counting(size_t n) {
    std::vector<uint8_t> b(n);
    std::iota(b.begin(), b.end(), uint8_t{0});
    return b;
}

HGLOBAL BlockWith(const std::vector<uint8_t>& bytes) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
    GlobalUnlock(h);
    return h;
}

ULARGE_INTEGER SizeOf(IStream* s) {
    STATSTG st;
    EXPECT_EQ(s->Stat(&st, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(st.type, STGTY_STREAM);
    return st.cbSize;
}

TEST(StreamTest, StreamOnABlockReadsSeeksAndGrowsTheBlock) {
    std::vector<uint8_t> bytes = Counting(100);
    HGLOBAL h = BlockWith(bytes);
    IStream* raw = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(h, FALSE_, &raw), S_OK);
    ComPtr<IStream> s = ComPtr<IStream>::Attach(raw);
    EXPECT_EQ(SizeOf(s.Get()), 100u);

    ULARGE_INTEGER pos = 0;
    ASSERT_EQ(s->Seek(40, STREAM_SEEK_SET, &pos), S_OK);
    EXPECT_EQ(pos, 40u);
    uint8_t buf[10] = {};
    ULONG n = 0;
    ASSERT_EQ(s->Read(buf, 10, &n), S_OK);
    EXPECT_EQ(n, 10u);
    EXPECT_EQ(std::vector<uint8_t>(buf, buf + 10), std::vector<uint8_t>(bytes.begin() + 40, bytes.begin() + 50));
    ASSERT_EQ(s->Seek(-5, STREAM_SEEK_END, &pos), S_OK);
    EXPECT_EQ(s->Read(buf, 10, &n), S_OK);  // the end reads short, still S_OK
    EXPECT_EQ(n, 5u);
    EXPECT_EQ(buf[0], 95);
    EXPECT_EQ(s->Seek(-1, STREAM_SEEK_SET, &pos), STG_E_INVALIDFUNCTION);

    // Writing past the end grows the stream and its block; the gap reads as zeros.
    ASSERT_EQ(s->Seek(110, STREAM_SEEK_SET, nullptr), S_OK);
    ASSERT_EQ(s->Write("END", 3, &n), S_OK);
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(SizeOf(s.Get()), 113u);
    EXPECT_EQ(GlobalSize(h), 113u);
    const auto* p = static_cast<const uint8_t*>(GlobalLock(h));
    EXPECT_EQ(p[99], 99);
    EXPECT_EQ(p[100], 0);
    EXPECT_EQ(std::memcmp(p + 110, "END", 3), 0);
    GlobalUnlock(h);

    // SetSize cuts; the block outlives a stream without delete-on-release.
    ASSERT_EQ(s->SetSize(50), S_OK);
    EXPECT_EQ(SizeOf(s.Get()), 50u);
    HGLOBAL under = nullptr;
    EXPECT_EQ(GetHGlobalFromStream(s.Get(), &under), S_OK);
    EXPECT_EQ(under, h);
    s.Reset();
    EXPECT_EQ(GlobalSize(h), 50u);
    GlobalFree(h);
}

TEST(StreamTest, DeleteOnReleaseFreesTheBlockWithTheLastOfTheStreamAndItsClones) {
    size_t live = win::LiveGlobalBlocks();
    HGLOBAL h = BlockWith(Counting(100));
    IStream* raw = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(h, TRUE_, &raw), S_OK);
    ComPtr<IStream> s = ComPtr<IStream>::Attach(raw);
    s->Seek(10, STREAM_SEEK_SET, nullptr);
    IStream* cloneRaw = nullptr;
    ASSERT_EQ(s->Clone(&cloneRaw), S_OK);
    ComPtr<IStream> clone = ComPtr<IStream>::Attach(cloneRaw);

    // Same bytes, own position.
    uint8_t b = 0;
    s->Seek(0, STREAM_SEEK_SET, nullptr);
    clone->Read(&b, 1, nullptr);
    EXPECT_EQ(b, 10);
    clone->Write("\xAA", 1, nullptr);
    s->Seek(11, STREAM_SEEK_SET, nullptr);
    s->Read(&b, 1, nullptr);
    EXPECT_EQ(b, 0xAA);

    s.Reset();
    EXPECT_EQ(GlobalSize(h), 100u);
    clone.Reset();
    EXPECT_EQ(GlobalSize(h), 0u);  // freed: the handle is refused now
    EXPECT_EQ(win::LiveGlobalBlocks(), live);

    // A stream of its own block, grown by writing, frees it too.
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE_, &raw), S_OK);
    std::vector<uint8_t> big = Counting(200);
    raw->Write(big.data(), 200, nullptr);
    EXPECT_EQ(SizeOf(raw), 200u);
    raw->Release();
    EXPECT_EQ(win::LiveGlobalBlocks(), live);
}

TEST(StreamTest, RefusedBlocksAndABlockThatCannotGrow) {
    IStream* raw = reinterpret_cast<IStream*>(1);
    EXPECT_EQ(CreateStreamOnHGlobal(reinterpret_cast<HGLOBAL>(0x4444), FALSE_, &raw), E_INVALIDARG);
    EXPECT_EQ(raw, nullptr);
    EXPECT_EQ(CreateStreamOnHGlobal(nullptr, FALSE_, nullptr), E_INVALIDARG);

    // Someone else holds the block locked: it cannot move, so the stream cannot grow.
    HGLOBAL h = BlockWith(Counting(4));
    ASSERT_EQ(CreateStreamOnHGlobal(h, TRUE_, &raw), S_OK);
    GlobalLock(h);
    raw->Seek(0, STREAM_SEEK_END, nullptr);
    ULONG n = 7;
    EXPECT_EQ(raw->Write("more", 4, &n), STG_E_MEDIUMFULL);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(SizeOf(raw), 4u);
    GlobalUnlock(h);
    raw->Release();
}

TEST(StreamTest, CopyToCopiesFromThePosition) {
    IStream* from = nullptr;
    IStream* to = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE_, &from), S_OK);
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE_, &to), S_OK);
    std::vector<uint8_t> bytes = Counting(200);
    from->Write(bytes.data(), 200, nullptr);
    from->Seek(150, STREAM_SEEK_SET, nullptr);
    ULARGE_INTEGER read = 0, written = 0;
    EXPECT_EQ(from->CopyTo(to, 1000, &read, &written), S_OK);
    EXPECT_EQ(read, 50u);
    EXPECT_EQ(written, 50u);
    EXPECT_EQ(SizeOf(to), 50u);
    uint8_t first = 0;
    to->Seek(0, STREAM_SEEK_SET, nullptr);
    to->Read(&first, 1, nullptr);
    EXPECT_EQ(first, 150);
    from->Release();
    to->Release();
}

TEST(StreamTest, AdapterReadsAndWritesTheSameBytesAsItsStream) {
    TMemoryStream memory;
    ComPtr<IStream> s(new TStreamAdapter(&memory));
    ULONG n = 0;
    ASSERT_EQ(s->Write("hello world", 11, &n), S_OK);
    EXPECT_EQ(n, 11u);
    EXPECT_EQ(memory.Size(), 11);
    EXPECT_EQ(std::memcmp(memory.Memory(), "hello world", 11), 0);
    EXPECT_EQ(SizeOf(s.Get()), 11u);

    ULARGE_INTEGER pos = 0;
    ASSERT_EQ(s->Seek(6, STREAM_SEEK_SET, &pos), S_OK);
    EXPECT_EQ(memory.Position(), 6);
    char buf[8] = {};
    ASSERT_EQ(s->Read(buf, 8, &n), S_OK);
    EXPECT_EQ(std::string(buf, n), "world");
    memory.SetPosition(0);
    memory.Write("J", 1);
    s->Seek(0, STREAM_SEEK_SET, nullptr);
    s->Read(buf, 5, &n);
    EXPECT_EQ(std::string(buf, n), "Jello");
    ASSERT_EQ(s->SetSize(3), S_OK);
    EXPECT_EQ(memory.Size(), 3);
    IStream* clone = nullptr;
    EXPECT_EQ(s->Clone(&clone), E_NOTIMPL);

    // An owned stream goes with the adapter; the stream's errors come back as results.
    auto* resource = new TResourceStream(HInstance, "LOGO", RT_RCDATA);
    ComPtr<IStream> ro(new TStreamAdapter(resource, soOwned));
    EXPECT_EQ(ro->Write("x", 1, &n), STG_E_CANTSAVE);
    EXPECT_EQ(ro->Seek(-1, STREAM_SEEK_SET, nullptr), STG_E_INVALIDFUNCTION);
    EXPECT_EQ(SizeOf(ro.Get()), static_cast<ULARGE_INTEGER>(resource->Size()));
}

}  // namespace
