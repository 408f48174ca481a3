#include "platform/ui/Cursors.h"

#include <fstream>
#include <map>
#include <iterator>

#include "platform/rtl/Handles.h"
#include "platform/ui/Forms.h"
#include "platform/ui/backend/Backend.h"

namespace {

class CursorObject final : public rtl::KernelObject {
public:
    TCursor Shape = crArrow;
    std::unique_ptr<TBitmap> Image;
    TPoint HotSpot;
};

constexpr TCursor kNoShape = 0x7FFF;
HCURSOR gShown = nullptr;        // what SetCursor showed last
HWND gCursorWindow = nullptr;    // where it shows
std::map<TCursor, HCURSOR> gShapeHandles;
TCursor ShapeOfIdOr(uintptr_t id);

uint16_t Word(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

// The built-in shape of a cursor id; false for an id the platform does not have.
bool ShapeOfId(uintptr_t id, TCursor& shape) {
    shape = ShapeOfIdOr(id);
    return shape != kNoShape;
}

TCursor ShapeOfIdOr(uintptr_t id) {
    switch (id) {
        case IDC_ARROW: return crArrow;
        case IDC_IBEAM: return crIBeam;
        case IDC_WAIT: return crHourGlass;
        case IDC_CROSS: return crCross;
        case IDC_UPARROW: return crUpArrow;
        case IDC_SIZENWSE: return crSizeNWSE;
        case IDC_SIZENESW: return crSizeNESW;
        case IDC_SIZEWE: return crSizeWE;
        case IDC_SIZENS: return crSizeNS;
        case IDC_SIZEALL: return crSizeAll;
        case IDC_NO: return crNo;
        case IDC_HAND: return crHandPoint;
        case IDC_APPSTARTING: return crAppStart;
        case IDC_HELP: return crHelp;
        default: return kNoShape;
    }
}

}  // namespace

namespace ui {

HCURSOR CreateCursorFromBytes(const std::vector<uint8_t>& bytes) {
    // A cursor file is an icon file whose directory says type 2 and keeps the hot spot where an
    // icon keeps planes and bit count.
    if (bytes.size() < 22 || Word(bytes, 0) != 0) return nullptr;
    uint16_t type = Word(bytes, 2);
    if ((type != 1 && type != 2) || Word(bytes, 4) == 0) return nullptr;
    auto cursor = std::make_shared<CursorObject>();
    std::vector<uint8_t> icon = bytes;
    if (type == 2) {
        cursor->HotSpot = Point(Word(bytes, 10), Word(bytes, 12));
        icon[2] = 1;
        for (size_t e = 6; e + 16 <= icon.size() && e < 6 + 16 * static_cast<size_t>(Word(bytes, 4)); e += 16) {
            icon[e + 4] = 1;  // planes
            icon[e + 5] = 0;
            icon[e + 6] = 0;  // bit count: from the image itself
            icon[e + 7] = 0;
        }
    }
    try {
        TIcon loaded;
        loaded.LoadFromBytes(icon);
        if (loaded.Empty() || !loaded.Bitmap()) return nullptr;
        cursor->Image = std::make_unique<TBitmap>();
        cursor->Image->Assign(loaded.Bitmap());
    } catch (const Exception&) {
        return nullptr;
    }
    return rtl::RegisterHandle(cursor);
}

bool GetCursorInfo(HCURSOR cursor, CursorInfo& info) {
    auto c = rtl::LookupHandleAs<CursorObject>(cursor);
    if (!c) return false;
    info.Shape = c->Shape;
    info.Image = c->Image.get();
    info.HotSpot = c->HotSpot;
    return true;
}

CursorInfo ResolveCursor(TCursor cursor) {
    CursorInfo info;
    info.Shape = cursor > 0 ? crArrow : cursor;
    // The program's own cursors are the slots of Screen->Cursors; an empty slot is the arrow.
    if (cursor > 0) GetCursorInfo(Screen->Cursors(cursor), info);
    return info;
}

HCURSOR CursorHandle(TCursor cursor) {
    if (cursor > 0) {
        HCURSOR own = Screen->Cursors(cursor);
        if (own && rtl::LookupHandleAs<CursorObject>(own)) return own;
        cursor = crArrow;
    }
    HCURSOR& handle = gShapeHandles[cursor];
    if (!handle || !rtl::LookupHandleAs<CursorObject>(handle)) {  // made again if a program freed it
        auto shape = std::make_shared<CursorObject>();
        shape->Shape = cursor;
        handle = rtl::RegisterHandle(shape);
    }
    return handle;
}

void detail::SetCursorWindow(HWND window) { gCursorWindow = window; }

void OverrideCursor(TCursor cursor) {
    CursorInfo info = ResolveCursor(cursor);
    GetBackend().SetOverrideCursor(cursor == crDefault ? nullptr : &info);
}

}  // namespace ui

HCURSOR LoadCursor(HINSTANCE, uintptr_t id) {
    TCursor shape = crArrow;
    if (!ShapeOfId(id, shape)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    auto cursor = std::make_shared<CursorObject>();
    cursor->Shape = shape;
    return rtl::RegisterHandle(cursor);
}

HCURSOR LoadCursor(HINSTANCE, const String& name) {
    const std::vector<uint8_t>* data = FindResource(name);
    HCURSOR c = data ? ui::CreateCursorFromBytes(*data) : nullptr;
    if (!c) SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return c;
}

HCURSOR LoadCursorFromFile(const String& fileName) {
    std::ifstream in(fileName.ToUtf8(), std::ios::binary);
    if (!in) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    HCURSOR c = ui::CreateCursorFromBytes(bytes);
    if (!c) SetLastError(ERROR_INVALID_PARAMETER);
    return c;
}

BOOL DestroyCursor(HCURSOR cursor) {
    if (!rtl::LookupHandleAs<CursorObject>(cursor)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return CloseHandle(cursor);
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR previous = gShown;
    ui::CursorInfo info;
    if (!cursor || !ui::GetCursorInfo(cursor, info)) {
        info = ui::CursorInfo();
        info.Shape = crNone;
        cursor = nullptr;
    }
    gShown = cursor;
    if (TWinControl* w = FindControl(gCursorWindow); w && w->Peer()) w->Peer()->SetCursorShape(info);
    return previous;
}

HCURSOR GetCursor() { return gShown; }
