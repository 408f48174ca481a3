// The shell's file icons from the desktop's icon theme: a small theme of the test's own, so the
// result does not depend on the themes a machine has.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QIcon>
#include <QImage>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/ui/backend/Backend.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

namespace fs = std::filesystem;

class ShellIconThemeTest : public ::testing::Test {
protected:
    ui::test::AppScope scope;
    fs::path root = fs::temp_directory_path() / ("rwb_icontheme_" + std::to_string(::getpid()));
    QStringList savedPaths;
    QString savedName;

    // One icon of one colour, 16 pixels square, as the theme's only size.
    void AddIcon(const char* context, const char* name, QRgb color) {
        fs::path dir = root / "rwbtest" / "16x16" / context;
        fs::create_directories(dir);
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        for (int y = 2; y < 14; ++y)
            for (int x = 4; x < 12; ++x) image.setPixel(x, y, color);
        ASSERT_TRUE(image.save(QString::fromStdString((dir / (std::string(name) + ".png")).string())));
    }

    void SetUp() override {
        savedPaths = QIcon::themeSearchPaths();
        savedName = QIcon::themeName();
        AddIcon("mimetypes", "text-plain", qRgb(0, 160, 0));
        AddIcon("places", "folder", qRgb(0, 0, 200));
        std::ofstream(root / "rwbtest" / "index.theme")
            << "[Icon Theme]\nName=rwbtest\nDirectories=16x16/mimetypes,16x16/places\n\n"
               "[16x16/mimetypes]\nSize=16\nContext=MimeTypes\nType=Fixed\n\n"
               "[16x16/places]\nSize=16\nContext=Places\nType=Fixed\n";
        QIcon::setThemeSearchPaths({QString::fromStdString(root.string())});
        QIcon::setThemeName("rwbtest");
    }
    void TearDown() override {
        QIcon::setThemeSearchPaths(savedPaths);
        QIcon::setThemeName(savedName);
        fs::remove_all(root);
    }
};

TEST_F(ShellIconThemeTest, TypesByExtensionAndFolders) {
    ui::Backend& backend = ui::GetBackend();
    TBitmap icon;
    ASSERT_TRUE(backend.FileTypeIcon(false, String("notes.TXT"), 32, icon));
    EXPECT_EQ(icon.PixelFormat(), pf32bit);
    ASSERT_EQ(icon.Width(), 32);
    ASSERT_EQ(icon.Height(), 32);
    // The theme's 16-pixel icon scaled to the size asked for: green inside, clear at the corner.
    auto pixel = [&](int x, int y) {
        const auto* p = static_cast<const uint8_t*>(icon.ScanLine(y)) + x * 4;
        return std::vector<int>{p[2], p[1], p[0], p[3]};  // R, G, B, A
    };
    EXPECT_EQ(pixel(16, 16), (std::vector<int>{0, 160, 0, 255}));
    EXPECT_EQ(pixel(1, 1)[3], 0);

    ASSERT_TRUE(backend.FileTypeIcon(true, String("anything"), 16, icon));
    EXPECT_EQ(pixel(8, 8), (std::vector<int>{0, 0, 200, 255}));

    // A type the theme has no icon for, and an extension no type has, get none: the layer then
    // uses its generic icon.
    EXPECT_FALSE(backend.FileTypeIcon(false, String("page.html"), 16, icon));
    EXPECT_FALSE(backend.FileTypeIcon(false, String("x.qz7unknown"), 16, icon));
    EXPECT_FALSE(backend.FileTypeIcon(false, String("README"), 16, icon));
}

}  // namespace
