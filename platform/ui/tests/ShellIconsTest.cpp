// The shell's file icons: indexes into the system image lists, drawn through ImageList_Draw. The
// tests run headless, where every type has the built-in icons.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/ui/ShellApi.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

constexpr TColor kMarker = static_cast<TColor>(0x00FF00FF);

class ShellIconsTest : public ::testing::Test {
protected:
    ui::test::AppScope scope;

    // The index of a name's icon, by its attributes only; -1 when the call fails.
    static int Index(const char* name, DWORD attributes = FILE_ATTRIBUTE_NORMAL, UINT size = SHGFI_SMALLICON,
                     HIMAGELIST* list = nullptr) {
        SHFILEINFO info;
        String path(name);
        DWORD_PTR handle = SHGetFileInfo(path.c_str(), attributes, &info, sizeof(info),
                                         SHGFI_SYSICONINDEX | size | SHGFI_USEFILEATTRIBUTES);
        if (list) *list = reinterpret_cast<HIMAGELIST>(handle);
        return handle ? info.iIcon : -1;
    }

    // Draws an icon at (10, 10) on a marker-filled bitmap and gives the box of what changed.
    static TRect DrawnBox(HIMAGELIST list, int index, int extent) {
        TBitmap target(extent, extent);
        target.Canvas()->Brush()->SetColor(kMarker);
        target.Canvas()->FillRect(Rect(0, 0, extent, extent));
        EXPECT_TRUE(ImageList_Draw(list, index, target.Canvas()->Handle(), 10, 10, ILD_TRANSPARENT));
        TRect box(extent, extent, 0, 0);
        for (int y = 0; y < extent; ++y)
            for (int x = 0; x < extent; ++x)
                if (target.Canvas()->Pixels(x, y) != kMarker) {
                    box.Left = std::min(box.Left, x), box.Top = std::min(box.Top, y);
                    box.Right = std::max(box.Right, x + 1), box.Bottom = std::max(box.Bottom, y + 1);
                }
        return box;
    }
};

TEST_F(ShellIconsTest, FileTypeIconDrawsInsideItsSize) {
    HIMAGELIST small = nullptr, large = nullptr;
    int txt = Index("x.txt", FILE_ATTRIBUTE_NORMAL, SHGFI_SMALLICON, &small);
    ASSERT_GE(txt, 0);
    ASSERT_NE(small, nullptr);
    TRect box = DrawnBox(small, txt, 40);
    EXPECT_FALSE(box.IsEmpty());
    EXPECT_GE(box.Left, 10);
    EXPECT_GE(box.Top, 10);
    EXPECT_LE(box.Right, 26);
    EXPECT_LE(box.Bottom, 26);

    // The large list has the same indexes at 32 x 32.
    EXPECT_EQ(Index("x.txt", FILE_ATTRIBUTE_NORMAL, SHGFI_LARGEICON, &large), txt);
    ASSERT_NE(large, small);
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(large, &cx, &cy));
    EXPECT_EQ(cx, 32);
    EXPECT_EQ(cy, 32);
    box = DrawnBox(large, txt, 60);
    EXPECT_GT(box.Width(), 16);
    EXPECT_LE(box.Right, 42);
    EXPECT_LE(box.Bottom, 42);
}

TEST_F(ShellIconsTest, OneIndexPerType) {
    int txt = Index("x.txt");
    EXPECT_EQ(Index("other.txt"), txt);
    EXPECT_EQ(Index("/some/folder/UPPER.TXT"), txt);
    // An unknown extension, or none, gets the generic file icon.
    int generic = Index("README");
    EXPECT_EQ(Index("x.qz7unknown"), generic);
    EXPECT_EQ(Index("y.qz8unknown"), generic);
    // A folder is a type of its own, with an icon of its own.
    HIMAGELIST small = nullptr;
    int folder = Index("anything", FILE_ATTRIBUTE_DIRECTORY, SHGFI_SMALLICON, &small);
    EXPECT_EQ(Index("x.txt", FILE_ATTRIBUTE_DIRECTORY), folder);
    EXPECT_NE(folder, generic);
    EXPECT_FALSE(DrawnBox(small, folder, 40) == DrawnBox(small, generic, 40));
}

TEST_F(ShellIconsTest, ExistingPathsAndRefusals) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("rwb_shellicons_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "notes.txt") << "x";
    String folderPath(dir.string().c_str());
    String filePath((dir / "notes.txt").string().c_str());
    String missing((dir / "missing.txt").string().c_str());
    SHFILEINFO info;
    constexpr UINT kFlags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON;

    ASSERT_NE(SHGetFileInfo(folderPath.c_str(), 0, &info, sizeof(info), kFlags), 0u);
    EXPECT_EQ(info.iIcon, Index("x", FILE_ATTRIBUTE_DIRECTORY));
    ASSERT_NE(SHGetFileInfo(filePath.c_str(), 0, &info, sizeof(info), kFlags), 0u);
    EXPECT_EQ(info.iIcon, Index("x.txt"));
    // Without the attributes flag the path must exist.
    EXPECT_EQ(SHGetFileInfo(missing.c_str(), 0, &info, sizeof(info), kFlags), 0u);
    // What the layer does not hand out is refused, not faked.
    EXPECT_EQ(SHGetFileInfo(filePath.c_str(), 0, &info, sizeof(info), SHGFI_SMALLICON), 0u);
    EXPECT_EQ(SHGetFileInfo(filePath.c_str(), 0, &info, sizeof(info), kFlags | SHGFI_ICON), 0u);
    EXPECT_EQ(SHGetFileInfo(filePath.c_str(), 0, &info, sizeof(info) - 1, kFlags), 0u);
    EXPECT_EQ(SHGetFileInfo(filePath.c_str(), 0, nullptr, sizeof(info), kFlags), 0u);
    fs::remove_all(dir);
}

}  // namespace
