#pragma once
// The clipboard: text, pictures (bitmaps, enhanced and older metafiles) and formats registered by
// name, each kept as bytes.
//
// The content lives in a store: the desktop's clipboard (the backend's clipboard service), or a
// private in-process store, which is used on the headless platform so that tests never touch a
// real clipboard.
// On the desktop, formats go under MIME types as platform/ui/backend/DesktopFormats.h maps them
// (text, "HTML Format", "Rich Text Format", files, URLs, pictures), and every registered format
// also under a MIME type that carries its name.
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/ui/Graphics.h"
#include "platform/win/WinTypes.h"

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_METAFILEPICT = 3;
constexpr UINT CF_DIB = 8;
constexpr UINT CF_UNICODETEXT = 13;
constexpr UINT CF_ENHMETAFILE = 14;
constexpr UINT CF_HDROP = 15;  // a list of files, in drag and drop (platform/ole)
constexpr UINT CF_PICTURE = 0xC0FF0000u;  // any of the picture formats, for HasFormat

// The layout of a CF_HDROP block: this header, then at pFiles the zero-terminated names, one after
// the other, ended by an empty one; UTF-16 when fWide is non-zero, else ANSI (UTF-8 here).
struct DROPFILES {
    DWORD pFiles = sizeof(DROPFILES);
    TPoint pt;        // the drop point, in the client coordinates of the window
    BOOL fNC = FALSE_;  // the point is in the window's frame
    BOOL fWide = FALSE_;
};
static_assert(sizeof(DROPFILES) == 20, "the platform's layout");

// A format number for a name, from 0xC000 up; the same name (case-insensitive) gives the same
// number. Clipboard formats and window messages share one table of names, as on the platform.
UINT RegisterClipboardFormat(const String& name);
// The name of a registered format; empty for the standard ones and unknown numbers.
String GetClipboardFormatName(UINT format);

RTL_DECLARE_EXCEPTION(EClipboardException, Exception);

class TClipboard : public TPersistent {
public:
    TClipboard() = default;
    const char* ClassName() const override { return "TClipboard"; }

    // Open and Close nest; writes between the outermost Open and Close become one content,
    // replacing the old one at the first write. Outside Open each write replaces the content.
    void Open();
    void Close();
    // Empties the clipboard.
    void Clear();
    bool IsOpen() const { return FOpenCount > 0; }
    // While open: empties the content being built (the raw API's EmptyClipboard).
    void Empty();
    // While open: adds or replaces one format and keeps the others (the raw API's
    // SetClipboardData). False when the clipboard is not open.
    bool Add(UINT format, std::vector<uint8_t> bytes);

    String AsText();
    void SetAsText(const String& value);

    // TBitmap (CF_BITMAP), TMetafile (CF_ENHMETAFILE, or CF_METAFILEPICT when not Enhanced),
    // another picture (JPEG, icon: drawn into a CF_BITMAP) or a TPicture holding one. Anything
    // else, or an empty picture, raises EClipboardException.
    void Assign(const TPersistent* Source) override;
    // Reads a picture from the clipboard into Dest (TBitmap, TMetafile or TPicture); false when
    // the clipboard holds no picture of a kind Dest can take.
    bool GetPicture(TPersistent* Dest);

    // CF_PICTURE: any picture. CF_TEXT and CF_UNICODETEXT stand for each other, and CF_DIB for
    // CF_BITMAP, as the platform converts between them.
    bool HasFormat(UINT format);
    int FormatCount();
    UINT Formats(int index);

    // Raw bytes under a format (a registered one usually).
    void SetBuffer(UINT format, const void* buffer, size_t size);
    void SetBuffer(UINT format, const std::vector<uint8_t>& bytes) { SetBuffer(format, bytes.data(), bytes.size()); }
    std::vector<uint8_t> GetBuffer(UINT format);

protected:
    // TPicture::Assign(Clipboard()) and the like take the clipboard's picture.
    void AssignTo(TPersistent* Dest) const override;

private:
    using Content = std::map<UINT, std::vector<uint8_t>>;
    Content Read();
    void Put(UINT format, std::vector<uint8_t> bytes);
    const std::vector<uint8_t>* Find(const Content& c, UINT format) const;

    int FOpenCount = 0;
    bool FEmptied = false;  // a TClipboard write has replaced the content in this Open
    bool FDirty = false;    // something changed in this Open: Close stores it
    Content FPending;
};

// The clipboard API for code that adds a format to what is on the clipboard: between Open and
// Close, SetClipboardBytes adds without emptying unless EmptyClipboard was called. Data goes as
// bytes: the platform has no movable global memory.
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
BOOL IsClipboardFormatAvailable(UINT format);
BOOL SetClipboardBytes(UINT format, const void* data, size_t size);
std::vector<uint8_t> GetClipboardBytes(UINT format);

// The process's clipboard, made on first use.
TClipboard* Clipboard();
TClipboard* SetClipboard(TClipboard* NewClipboard);

namespace ui::clipboard {
// Which store the clipboard uses: automatic (private on the headless platform, or with a backend
// that has no clipboard), always the private one, or always the backend's one.
enum class StoreMode { Automatic, Private, System };
void SetStoreMode(StoreMode mode);
}  // namespace ui::clipboard
