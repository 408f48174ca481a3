// The shell's system icons in HTML-formatted text.
#include "render/ZivAVEZE.h"

#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/ShellIcons.h"

void DrawSystemIcon(TCanvas* canvas, int x, int y, TSize& size, double resFactor, bool printing, bool draw, bool large,
                    const String& name) {
    size = TSize(0, 0);
    SHFILEINFO info;
    UINT flags = SHGFI_SYSICONINDEX | (large ? SHGFI_LARGEICON : SHGFI_SMALLICON);
    int32_t index = 0;
    HIMAGELIST list = nullptr;
    if (TryStrToInt(name, index)) {
        // Any type gives the list; the index is the one named.
        list = reinterpret_cast<HIMAGELIST>(SHGetFileInfo(u".txt", FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                                                          flags | SHGFI_USEFILEATTRIBUTES));
    } else {
        const bool exists = FileExists(name) || DirectoryExists(name);
        list = reinterpret_cast<HIMAGELIST>(SHGetFileInfo(name.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                                                          flags | (exists ? 0 : SHGFI_USEFILEATTRIBUTES)));
        index = info.iIcon;
    }
    int cx = 0, cy = 0;
    if (!list || !ImageList_GetIconSize(list, &cx, &cy)) return;
    size = TSize(cx, cy);
    if (!draw || !canvas) return;
    if (!printing) {
        ImageList_Draw(list, index, canvas->Handle(), x, y, ILD_TRANSPARENT);
        return;
    }
    TBitmap icon(cx, cy, pf24bit);
    icon.Canvas()->Brush()->SetColor(clWhite);
    icon.Canvas()->FillRect(TRect(0, 0, cx, cy));
    ImageList_Draw(list, index, icon.Canvas()->Handle(), 0, 0, ILD_TRANSPARENT);
    StretchDrawBitmap(canvas, TRect(x, y, x + static_cast<int>(Round(cx * resFactor)), y + static_cast<int>(Round(cy * resFactor))),
                      &icon);
}
