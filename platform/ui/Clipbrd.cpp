#include "platform/ui/Clipbrd.h"

#include <map>
#include <sstream>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/backend/Backend.h"
#include "platform/ui/Metafile.h"
#include "platform/win/Window.h"

namespace {

ui::ClipboardContent gPrivate;
ui::clipboard::StoreMode gMode = ui::clipboard::StoreMode::Automatic;
// Made on first use: units register their formats during static initialisation.
std::map<UINT, String>& Names() {
    static std::map<UINT, String> names;
    return names;
}

bool UsePrivate() {
    switch (gMode) {
        case ui::clipboard::StoreMode::Private: return true;
        case ui::clipboard::StoreMode::System: return false;
        default: {
            ui::Backend& backend = ui::GetBackend();
            return backend.Headless() || !backend.Supports(ui::Capability::Clipboard);
        }
    }
}

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }


String AnsiTextOf(const std::vector<uint8_t>& b) {
    std::string s(b.begin(), b.end());
    size_t nul = s.find('\0');
    if (nul != std::string::npos) s.resize(nul);
    return String(s);
}

constexpr size_t kBmpFileHeader = 14;

}  // namespace

UINT RegisterClipboardFormat(const String& name) {
    if (name.IsEmpty()) return 0;
    UINT id = RegisterWindowMessage(name);
    if (id != 0 && !Names().count(id)) Names()[id] = name;
    return id;
}

String GetClipboardFormatName(UINT format) {
    auto it = Names().find(format);
    return it == Names().end() ? String() : it->second;
}

// ---------------------------------------------------------------------------------------------
TClipboard::Content TClipboard::Read() {
    if (FOpenCount > 0) return FPending;
    return UsePrivate() ? gPrivate : ui::GetBackend().Clipboard().Read();
}

void TClipboard::Open() {
    if (FOpenCount == 0) {
        // What is there now: the raw API adds to it; TClipboard's writes replace it.
        FPending = UsePrivate() ? gPrivate : ui::GetBackend().Clipboard().Read();
        FEmptied = false;
        FDirty = false;
    }
    ++FOpenCount;
}

void TClipboard::Close() {
    if (FOpenCount == 0) return;
    if (--FOpenCount > 0) return;
    if (FDirty) {
        if (UsePrivate()) gPrivate = FPending;
        else ui::GetBackend().Clipboard().Write(FPending);
    }
    FEmptied = false;
    FDirty = false;
    FPending.clear();
}

void TClipboard::Clear() {
    Open();
    Empty();
    Close();
}

void TClipboard::Empty() {
    FPending.clear();
    FEmptied = true;
    FDirty = true;
}

void TClipboard::Put(UINT format, std::vector<uint8_t> bytes) {
    Open();
    if (!FEmptied) Empty();
    FPending[format] = std::move(bytes);
    FDirty = true;
    Close();
}

bool TClipboard::Add(UINT format, std::vector<uint8_t> bytes) {
    if (FOpenCount == 0 || format == 0) return false;
    FPending[format] = std::move(bytes);
    FDirty = true;
    return true;
}

const std::vector<uint8_t>* TClipboard::Find(const Content& c, UINT format) const {
    auto it = c.find(format);
    return it == c.end() ? nullptr : &it->second;
}

String TClipboard::AsText() {
    Content c = Read();
    if (auto* b = Find(c, CF_UNICODETEXT)) return ui::ClipboardText(*b);
    if (auto* b = Find(c, CF_TEXT)) return AnsiTextOf(*b);
    return String();
}

void TClipboard::SetAsText(const String& value) { Put(CF_UNICODETEXT, ui::ClipboardTextBytes(value)); }

void TClipboard::Assign(const TPersistent* Source) {
    if (auto* pic = dynamic_cast<const TPicture*>(Source)) {
        if (!pic->Graphic()) throw EClipboardException(String("Cannot assign an empty picture to the clipboard"));
        Assign(pic->Graphic());
        return;
    }
    if (auto* mf = dynamic_cast<const TMetafile*>(Source)) {
        if (mf->Enhanced()) Put(CF_ENHMETAFILE, mf->EmfBytes());
        else Put(CF_METAFILEPICT, mf->WmfBytes());
        return;
    }
    if (auto* bmp = dynamic_cast<const TBitmap*>(Source)) {
        std::ostringstream out;
        const_cast<TBitmap*>(bmp)->SaveToStream(out);
        Put(CF_BITMAP, Bytes(out.str()));
        return;
    }
    if (auto* g = dynamic_cast<const TGraphic*>(Source); g && !g->Empty()) {
        // Other pictures (JPEG, icons) go as the bitmap they draw.
        TBitmap b;
        b.SetSize(g->Width(), g->Height());
        b.Canvas()->Brush()->SetColor(clWhite);
        b.Canvas()->FillRect(Rect(0, 0, b.Width(), b.Height()));
        b.Canvas()->Draw(0, 0, const_cast<TGraphic*>(g));
        Assign(&b);
        return;
    }
    throw EClipboardException(String("Cannot assign a ") + String(Source ? Source->ClassName() : "nil") + " to the clipboard");
}

bool TClipboard::GetPicture(TPersistent* Dest) {
    Content c = Read();
    auto load = [](TGraphic& g, const std::vector<uint8_t>& b) {
        std::istringstream in(std::string(b.begin(), b.end()));
        g.LoadFromStream(in);
    };
    const std::vector<uint8_t>* bmp = Find(c, CF_BITMAP);
    const std::vector<uint8_t>* emf = Find(c, CF_ENHMETAFILE);
    const std::vector<uint8_t>* wmf = Find(c, CF_METAFILEPICT);
    if (auto* pic = dynamic_cast<TPicture*>(Dest)) {
        if (bmp) {
            TBitmap b;
            load(b, *bmp);
            pic->SetGraphic(&b);
            return true;
        }
        if (emf || wmf) {
            TMetafile m;
            load(m, emf ? *emf : *wmf);
            m.SetEnhanced(emf != nullptr);
            pic->SetGraphic(&m);
            return true;
        }
        return false;
    }
    if (auto* b = dynamic_cast<TBitmap*>(Dest)) {
        if (bmp) {
            load(*b, *bmp);
            return true;
        }
        if (emf || wmf) {  // a metafile is drawn into the bitmap at its own size
            TMetafile m;
            load(m, emf ? *emf : *wmf);
            b->SetSize(std::max(1, m.Width()), std::max(1, m.Height()));
            b->Canvas()->Brush()->SetColor(clWhite);
            b->Canvas()->FillRect(Rect(0, 0, b->Width(), b->Height()));
            b->Canvas()->Draw(0, 0, &m);
            return true;
        }
        return false;
    }
    if (auto* m = dynamic_cast<TMetafile*>(Dest)) {
        if (!emf && !wmf) return false;
        load(*m, emf ? *emf : *wmf);
        m->SetEnhanced(emf != nullptr);
        return true;
    }
    return false;
}

void TClipboard::AssignTo(TPersistent* Dest) const {
    if (const_cast<TClipboard*>(this)->GetPicture(Dest)) return;
    TPersistent::AssignTo(Dest);
}

bool TClipboard::HasFormat(UINT format) {
    Content c = Read();
    switch (format) {
        case CF_TEXT: case CF_UNICODETEXT: return c.count(CF_TEXT) || c.count(CF_UNICODETEXT);
        case CF_BITMAP: case CF_DIB: return c.count(CF_BITMAP) > 0;
        case CF_PICTURE: return c.count(CF_BITMAP) || c.count(CF_ENHMETAFILE) || c.count(CF_METAFILEPICT);
        default: return c.count(format) > 0;
    }
}

int TClipboard::FormatCount() { return static_cast<int>(Read().size()); }

UINT TClipboard::Formats(int index) {
    Content c = Read();
    if (index < 0 || index >= static_cast<int>(c.size())) throw EListError(String("List index out of bounds"));
    auto it = c.begin();
    std::advance(it, index);
    return it->first;
}

void TClipboard::SetBuffer(UINT format, const void* buffer, size_t size) {
    if (format == 0) throw EClipboardException(String("Invalid clipboard format"));
    const auto* p = static_cast<const uint8_t*>(buffer);
    Put(format, std::vector<uint8_t>(p, p + (p ? size : 0)));
}

std::vector<uint8_t> TClipboard::GetBuffer(UINT format) {
    Content c = Read();
    if (auto* b = Find(c, format)) return *b;
    // The conversions the platform offers.
    if (format == CF_UNICODETEXT || format == CF_TEXT) {
        String text = AsText();
        if (!HasFormat(CF_TEXT)) return {};
        if (format == CF_UNICODETEXT) return ui::ClipboardTextBytes(text);
        std::string u = text.ToUtf8();
        std::vector<uint8_t> b(u.begin(), u.end());
        b.push_back(0);
        return b;
    }
    if (format == CF_DIB) {
        if (auto* bmp = Find(c, CF_BITMAP); bmp && bmp->size() > kBmpFileHeader)
            return std::vector<uint8_t>(bmp->begin() + kBmpFileHeader, bmp->end());
    }
    return {};
}

namespace {
std::unique_ptr<TClipboard>& GlobalClipboard() {
    static std::unique_ptr<TClipboard> clip;
    return clip;
}
}  // namespace

TClipboard* Clipboard() {
    auto& clip = GlobalClipboard();
    if (!clip) clip = std::make_unique<TClipboard>();
    return clip.get();
}

TClipboard* SetClipboard(TClipboard* NewClipboard) {
    auto& clip = GlobalClipboard();
    TClipboard* old = clip.release();
    clip.reset(NewClipboard);
    return old;
}

BOOL OpenClipboard(HWND) {
    Clipboard()->Open();
    return TRUE_;
}

BOOL CloseClipboard() {
    if (!Clipboard()->IsOpen()) return FALSE_;
    Clipboard()->Close();
    return TRUE_;
}

BOOL EmptyClipboard() {
    if (!Clipboard()->IsOpen()) return FALSE_;
    Clipboard()->Empty();
    return TRUE_;
}

BOOL IsClipboardFormatAvailable(UINT format) { return Clipboard()->HasFormat(format) ? TRUE_ : FALSE_; }

BOOL SetClipboardBytes(UINT format, const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    return Clipboard()->Add(format, std::vector<uint8_t>(p, p + (p ? size : 0))) ? TRUE_ : FALSE_;
}

std::vector<uint8_t> GetClipboardBytes(UINT format) { return Clipboard()->GetBuffer(format); }

namespace ui::clipboard {
void SetStoreMode(StoreMode mode) { gMode = mode; }
}  // namespace ui::clipboard

namespace ui {

std::vector<uint8_t> ClipboardTextBytes(const String& text) {
    std::vector<uint8_t> b;
    b.reserve((text.size() + 1) * 2);
    for (char16_t c : text) {
        b.push_back(static_cast<uint8_t>(c & 0xFF));
        b.push_back(static_cast<uint8_t>(c >> 8));
    }
    b.push_back(0);
    b.push_back(0);
    return b;
}

String ClipboardText(const std::vector<uint8_t>& bytes) {
    String s;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char16_t c = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (c == 0) break;
        s.push_back(c);
    }
    return s;
}

}  // namespace ui
