#include "platform/ui/ShellIcons.h"

#include <map>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/backend/Backend.h"

namespace {

constexpr TColor kOutline = static_cast<TColor>(0x00404040);
constexpr TColor kPage = static_cast<TColor>(0x00FFFFFF);
constexpr TColor kFold = static_cast<TColor>(0x00C0C0C0);
constexpr TColor kFolderLine = static_cast<TColor>(0x00147EA0);
constexpr TColor kFolder = static_cast<TColor>(0x003CC8F0);

// A size x size icon, every pixel clear.
std::unique_ptr<TIcon> ClearIcon(int size) {
    auto icon = std::make_unique<TIcon>();
    TBitmap* b = icon->Bitmap();
    b->SetSize(size, size);
    for (int y = 0; y < size; ++y) {
        auto* row = static_cast<uint8_t*>(b->ScanLine(y));
        std::fill(row, row + size * 4, uint8_t{0});
    }
    return icon;
}

void Put(TBitmap& b, int x, int y, TColor c) {
    uint8_t* p = static_cast<uint8_t*>(b.ScanLine(y)) + x * 4;
    p[0] = static_cast<uint8_t>(c >> 16);
    p[1] = static_cast<uint8_t>(c >> 8);
    p[2] = static_cast<uint8_t>(c);
    p[3] = 255;
}

// A sheet of paper with its top-right corner folded over.
std::unique_ptr<TIcon> GenericFileIcon(int size) {
    auto icon = ClearIcon(size);
    TBitmap& b = *icon->Bitmap();
    int k = size / 16;
    int left = 3 * k, right = 13 * k - 1, top = k, bottom = 15 * k - 1, fold = 4 * k;
    int corner = right - fold;  // where the fold begins along the top
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            int intoCorner = x - corner, down = y - top;
            if (intoCorner > down) continue;  // cut off by the fold
            bool inFold = intoCorner > 0 && down <= fold;
            bool edge = x == left || x == right || y == top || y == bottom || intoCorner == down ||
                        (inFold && (x == corner || y == top + fold));
            Put(b, x, y, edge ? kOutline : inFold ? kFold : kPage);
        }
    return icon;
}

// A folder with a tab on its top-left.
std::unique_ptr<TIcon> FolderIcon(int size) {
    auto icon = ClearIcon(size);
    TBitmap& b = *icon->Bitmap();
    int k = size / 16;
    int left = k, right = 15 * k - 1, tabTop = 3 * k, bodyTop = 5 * k, bottom = 13 * k, tabRight = left + 6 * k;
    for (int y = tabTop; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            bool tab = y < bodyTop;
            if (tab && x > tabRight) continue;
            bool edge = x == left || y == bottom || y == tabTop || (tab ? x == tabRight : x == right || (y == bodyTop && x >= tabRight));
            Put(b, x, y, edge ? kFolderLine : kFolder);
        }
    return icon;
}

// The two system image lists and the index each type has in both. They live as long as the
// process: their handles may be kept anywhere.
struct SystemImages {
    TCustomImageList* Small = new TImageList(nullptr);
    TCustomImageList* Large = new TImageList(nullptr);
    std::map<String, int> Index;  // type key -> index in both lists
    int GenericFile = -1;
    int Folder = -1;

    SystemImages() {
        Large->SetWidth(32);
        Large->SetHeight(32);
        GenericFile = AddPair(*GenericFileIcon(16), *GenericFileIcon(32));
        Folder = AddPair(*FolderIcon(16), *FolderIcon(32));
    }

    int AddPair(TIcon& small, TIcon& large) {
        Small->AddIcon(&small);
        Large->AddIcon(&large);
        return Small->Count() - 1;
    }

    // The theme's icon of the type at both sizes, or -1.
    int ThemeIcon(bool folder, const String& name) {
        ui::Backend& backend = ui::GetBackend();
        if (backend.Headless()) return -1;
        TIcon small, large;
        if (!backend.FileTypeIcon(folder, name, 16, *small.Bitmap()) || !backend.FileTypeIcon(folder, name, 32, *large.Bitmap()))
            return -1;
        if (small.Width() != 16 || small.Height() != 16 || large.Width() != 32 || large.Height() != 32) return -1;
        return AddPair(small, large);
    }

    int IndexOf(bool folder, const String& name) {
        // A folder is a type of its own; a file's type is its extension (none is a type too).
        String key = folder ? String("/") : LowerCase(ExtractFileExt(ExtractFileName(name)));
        if (auto it = Index.find(key); it != Index.end()) return it->second;
        int index = ThemeIcon(folder, name);
        if (index < 0) index = folder ? Folder : GenericFile;
        Index[key] = index;
        return index;
    }
};

SystemImages& Images() {
    static SystemImages* images = new SystemImages();
    return *images;
}

}  // namespace

DWORD_PTR SHGetFileInfo(const char16_t* pszPath, DWORD dwFileAttributes, SHFILEINFO* psfi, UINT cbFileInfo, UINT uFlags) {
    constexpr UINT served = SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES;
    if (!pszPath || !psfi || cbFileInfo < sizeof(SHFILEINFO) || !(uFlags & SHGFI_SYSICONINDEX) || (uFlags & ~served))
        return 0;
    String path(pszPath);
    bool folder = false;
    if (uFlags & SHGFI_USEFILEATTRIBUTES) {
        folder = (dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    } else {
        folder = DirectoryExists(path);
        if (!folder && !FileExists(path)) return 0;
    }
    SystemImages& images = Images();
    psfi->iIcon = images.IndexOf(folder, path);
    TCustomImageList* list = (uFlags & SHGFI_SMALLICON) ? images.Small : images.Large;
    return reinterpret_cast<DWORD_PTR>(list->Handle());
}
