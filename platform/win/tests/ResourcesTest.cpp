// The program's resource table: lookups by name and id, the handle calls and resource streams,
// over the resources the build embeds from tests/resources.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/rtl/Handles.h"
#include "platform/win/Resources.h"

namespace {

std::string FixtureBytes(const char* name) {
    std::ifstream in(std::string(RWB_TEST_DATA_DIR) + "/../resources/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadAll(TStream& s) {
    std::string out(static_cast<size_t>(s.Size()), '\0');
    s.ReadBuffer(out.data(), s.Size());
    return out;
}

TEST(ResourcesTest, ResourceStreamReadsTheEmbeddedFileByNameAndById) {
    std::string logo = FixtureBytes("logo.bin");
    ASSERT_FALSE(logo.empty());
    TResourceStream byName(HInstance, "LOGO", RT_RCDATA);
    EXPECT_EQ(ReadAll(byName), logo);
    TResourceStream byId(HInstance, 100, RT_RCDATA);
    EXPECT_EQ(ReadAll(byId), logo);
    TResourceStream lowerCase(HInstance, "logo", RT_RCDATA);
    EXPECT_EQ(lowerCase.Size(), static_cast<int64_t>(logo.size()));

    TResourceStream numbered(HInstance, 200, RT_RCDATA);
    EXPECT_EQ(ReadAll(numbered), FixtureBytes("numbered.bin"));
    TResourceStream hashForm(HInstance, "#200", RT_RCDATA);
    EXPECT_EQ(hashForm.Size(), numbered.Size());
    TResourceStream ownType(HInstance, "NOTES", "text");
    EXPECT_EQ(ReadAll(ownType), FixtureBytes("notes.txt"));
    TResourceStream empty(HInstance, "EMPTY", RT_RCDATA);
    EXPECT_EQ(empty.Size(), 0);

    // Read-only, and seeking works as on any stream.
    byName.Seek(int64_t{2}, soBeginning);
    char c = 0;
    EXPECT_EQ(byName.Read(&c, 1), 1);
    EXPECT_EQ(c, logo[2]);
    EXPECT_THROW(byName.Write("x", 1), EStreamError);
}

TEST(ResourcesTest, MissingResourcesRaiseWithThePlatformsMessage) {
    struct Case {
        std::function<void()> open;
        const char* message;
    } cases[] = {
        {[] { TResourceStream s(HInstance, 999, RT_RCDATA); }, "Resource 999 not found"},
        {[] { TResourceStream s(HInstance, "NOPE", RT_RCDATA); }, "Resource NOPE not found"},
        {[] { TResourceStream s(HInstance, "LOGO", RT_BITMAP); }, "Resource LOGO not found"},
        {[] { TResourceStream s(HInstance, 7, RT_RCDATA); }, "Resource 7 not found"},  // 7 is a TEXT
    };
    for (const Case& c : cases) {
        try {
            c.open();
            ADD_FAILURE() << c.message;
        } catch (const EResNotFound& e) {
            EXPECT_EQ(e.Message(), String(c.message));
        }
    }
}

TEST(ResourcesTest, FindLoadLockAndSize) {
    HRSRC found = FindResource(HInstance, "LOGO", RT_RCDATA);
    ASSERT_NE(found, nullptr);
    std::string logo = FixtureBytes("logo.bin");
    EXPECT_EQ(SizeofResource(HInstance, found), logo.size());
    HGLOBAL loaded = LoadResource(HInstance, found);
    ASSERT_NE(loaded, nullptr);
    const void* p = LockResource(loaded);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::string(static_cast<const char*>(p), logo.size()), logo);
    EXPECT_EQ(FindResource(HInstance, MAKEINTRESOURCE(100), MAKEINTRESOURCE(RT_RCDATA)), found);

    // What is missing answers 0, saying what was missing.
    EXPECT_EQ(FindResource(HInstance, "MISSING", RT_RCDATA), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(FindResource(HInstance, "LOGO", "NO_SUCH_TYPE"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
    EXPECT_EQ(FindResource(HMODULE{1}, "LOGO", RT_RCDATA), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_DATA_NOT_FOUND);
    EXPECT_EQ(FindResource(HInstance, 0, RT_RCDATA), nullptr);

    // Handles of one kind do not pass for the other, nor for global memory.
    EXPECT_EQ(LockResource(reinterpret_cast<HGLOBAL>(found)), nullptr);
    EXPECT_EQ(LoadResource(HInstance, reinterpret_cast<HRSRC>(loaded)), nullptr);
    EXPECT_EQ(SizeofResource(HInstance, reinterpret_cast<HRSRC>(0x7fff1)), 0u);
    EXPECT_EQ(GlobalSize(loaded), 0u);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
    EXPECT_EQ(LockResource(block), nullptr);
    GlobalFree(block);
}

TEST(ResourcesTest, RegisteringAgainReplacesTheBytesInPlace) {
    const uint8_t first[] = {1, 2, 3}, second[] = {9, 8};
    win::RegisterResource(RT_RCDATA, "REPLACED", 300, first, sizeof first);
    const std::vector<uint8_t>* bytes = win::FindResourceByName("replaced");
    ASSERT_NE(bytes, nullptr);
    win::RegisterResource("RCDATA", "", 300, second, sizeof second);
    EXPECT_EQ(*bytes, std::vector<uint8_t>({9, 8}));
    HRSRC byName = FindResource(HInstance, "REPLACED", RT_RCDATA);
    EXPECT_EQ(FindResource(HInstance, 300, RT_RCDATA), byName);
    EXPECT_EQ(SizeofResource(HInstance, byName), 2u);
    EXPECT_THROW(win::RegisterResource(RT_RCDATA, "", 0, first, 1), EInvalidArgument);
}

}  // namespace
