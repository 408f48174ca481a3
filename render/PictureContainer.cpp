// The picture container and cache: encoded pictures decoded through the OLE picture loader, with
// the frames of animated GIF files.
#include "render/PictureContainer.h"

#include <cstring>
#include <istream>
#include <iterator>
#include <memory>
#include <ostream>

#include "platform/ole/Stream.h"
#include "platform/rtl/Filer.h"
#include "platform/rtl/SysUtils.h"

namespace {

constexpr int kHimetricPerInch = 2540;

// A byte of the data, 0 beyond its end: a marker near the end of a cut file never reads past it.
uint8_t At(const std::vector<uint8_t>& d, size_t i) { return i < d.size() ? d[i] : 0; }
uint16_t WordAt(const std::vector<uint8_t>& d, size_t i) { return static_cast<uint16_t>(At(d, i) | At(d, i + 1) << 8); }

// A graphic control extension of block size 4 directly followed by an image descriptor.
bool IsFrameMarker(const std::vector<uint8_t>& d, size_t j) {
    return j + 9 < d.size() && d[j] == 0x21 && d[j + 1] == 0xF9 && d[j + 2] == 0x04 && d[j + 8] == 0x2C;
}

// Calls fn(j, number) for every frame marker, numbered from 1, until fn answers false.
template <class Fn>
void EachFrameMarker(const std::vector<uint8_t>& d, Fn fn) {
    int number = 0;
    for (size_t j = 0; j + 9 < d.size(); ++j)
        if (IsFrameMarker(d, j) && !fn(j, ++number)) return;
}

// A path that does not exist as given is looked for folder by folder without regard to case: the
// renderer upper-cases the picture names it is given. The first match in name order wins; the
// path as given when nothing matches.
String ExistingPathIgnoringCase(const String& path) {
    if (path.IsEmpty() || FileExists(path)) return path;
    String resolved;
    size_t start = 0;
    if (path[0] == u'/') {
        resolved = u"/";
        start = 1;
    }
    while (start <= path.size()) {
        size_t slash = path.find(u'/', start);
        String part = path.substr(start, slash == String::npos ? String::npos : slash - start);
        start = slash == String::npos ? path.size() + 1 : slash + 1;
        if (part.IsEmpty()) continue;
        String given = resolved + part;
        bool wild = part.find_first_of(u"*?") != String::npos;
        if (!wild && !FileExists(given) && !DirectoryExists(given)) {
            TSearchRec rec;
            if (FindFirst(given, faAnyFile, rec) != 0) return path;
            part = rec.Name;
        }
        resolved += part;
        if (slash != String::npos) resolved += u"/";
    }
    return resolved;
}

std::vector<uint8_t> RestOfStream(TStream* stream) {
    std::vector<uint8_t> bytes;
    int64_t left = stream->Size() - stream->Position();
    if (left <= 0) return bytes;
    bytes.resize(static_cast<size_t>(left));
    bytes.resize(static_cast<size_t>(stream->Read(bytes.data(), static_cast<int32_t>(left))));
    return bytes;
}

}  // namespace

// ---- THTMLPicture ------------------------------------------------------------------------------

THTMLPicture::THTMLPicture() = default;
THTMLPicture::~THTMLPicture() = default;

namespace {

// The parts of data a frame is decoded from: the bytes before the first frame marker and those
// from the marker of that frame on (the second part empty when there is no such frame); the whole
// data for anything but a GIF with frames.
struct FrameParts {
    size_t headEnd;
    size_t tailStart;
};

FrameParts FramePartsOf(const std::vector<uint8_t>& data, int frame) {
    bool gif = data.size() >= 5 && std::memcmp(data.data(), "GIF8", 4) == 0;
    FrameParts parts{data.size(), data.size()};
    if (!gif) return parts;
    bool any = false;
    EachFrameMarker(data, [&](size_t j, int number) {
        if (number == 1) {
            any = true;
            parts.headEnd = j;
        }
        if (number < frame) return true;
        parts.tailStart = j;
        return false;
    });
    if (!any) parts.headEnd = data.size();
    return parts;
}

}  // namespace

std::vector<uint8_t> THTMLPicture::FrameData(const std::vector<uint8_t>& data, int frame) {
    const FrameParts parts = FramePartsOf(data, frame);
    std::vector<uint8_t> out(data.begin(), data.begin() + static_cast<long>(parts.headEnd));
    out.insert(out.end(), data.begin() + static_cast<long>(parts.tailStart), data.end());
    return out;
}

void THTMLPicture::LoadPicture() {
    gpPicture = nullptr;
    FFrameXPos = FFrameYPos = FFrameXSize = FFrameYSize = 0;
    FAnimMaxX = FAnimMaxY = 0;
    if (IsGIF()) {
        EachFrameMarker(FData, [&](size_t j, int number) {
            if (number == 1) {
                FAnimMaxX = WordAt(FData, 6);
                FAnimMaxY = WordAt(FData, 8);
            }
            if (number != FFrame) return true;
            FFrameXPos = WordAt(FData, j + 9);
            FFrameYPos = WordAt(FData, j + 11);
            FFrameXSize = WordAt(FData, j + 13);
            FFrameYSize = WordAt(FData, j + 15);
            return false;
        });
    }
    // The frame's bytes go straight into the block the loader reads (no copy in between: an
    // animation decodes its file again at every step).
    const FrameParts parts = FramePartsOf(FData, FFrame);
    const size_t size = parts.headEnd + (FData.size() - parts.tailStart);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) throw Exception(u"Could not allocate memory for image");
    if (size > 0) {
        auto* p = static_cast<uint8_t*>(GlobalLock(block));
        std::memcpy(p, FData.data(), parts.headEnd);
        std::memcpy(p + parts.headEnd, FData.data() + parts.tailStart, FData.size() - parts.tailStart);
        GlobalUnlock(block);
    }
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE_, &stream))) {
        GlobalFree(block);
        throw Exception(u"Could not create image stream");
    }
    if (!stream) throw Exception(u"Empty image stream created");
    void* picture = nullptr;
    HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(size), FALSE_, IID_IPicture, &picture);
    stream->Release();
    if (FAILED(hr)) throw Exception(u"Could not load image. Invalid format");
    if (!picture) throw Exception(u"Could not load image");
    gpPicture = ComPtr<IPicture>::Attach(static_cast<IPicture*>(picture));
}

void THTMLPicture::ClearTiming() {
    FFrameCount = -1;
    FNextCount = -1;
    FTimerCount = -1;
}

void THTMLPicture::LoadBytes(std::vector<uint8_t> bytes, bool notify) {
    FData = std::move(bytes);
    FIsEmpty = false;
    // Counts belong to the bytes they were taken from.
    ClearTiming();
    LoadPicture();
    if (notify) Changed();
}

void THTMLPicture::LoadFromStream(TStream* Stream) {
    if (!Stream) return;
    LoadBytes(RestOfStream(Stream), true);
}

void THTMLPicture::LoadFromStream(std::istream& stream) {
    LoadBytes(std::vector<uint8_t>(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()), true);
}

void THTMLPicture::LoadFromFile(const String& FileName) {
    try {
        TFileStream file(ExistingPathIgnoringCase(FileName), fmOpenRead | fmShareDenyWrite);
        LoadFromStream(&file);
    } catch (const std::exception&) {
        FIsEmpty = true;
        gpPicture = nullptr;
    }
}

void THTMLPicture::LoadFromResourceName(HINSTANCE Instance, const String& ResName) {
    if (!FindResource(Instance, TResName(ResName), TResName(RT_RCDATA))) return;
    TResourceStream stream(Instance, ResName, TResName(RT_RCDATA));
    LoadFromStream(&stream);
}

void THTMLPicture::LoadFromResourceID(HINSTANCE Instance, int ResID) {
    TResourceStream stream(Instance, ResID, TResName(RT_RCDATA));
    LoadFromStream(&stream);
}

void THTMLPicture::LoadFromURL(const String& url) {
    String upper = AnsiUpperCase(url);
    if (upper.rfind(u"RES://", 0) == 0) {
        FID = url;
        LoadFromResourceName(HInstance, url.substr(6));
    } else if (upper.rfind(u"FILE://", 0) == 0) {
        FID = url;
        LoadFromFile(url.substr(7));
    } else if (!FAsynch) {
        FURL = url;
        FID = url;
    } else if (!FThreadBusy) {
        FURL = url;
        FThreadBusy = true;
        new TDownLoadThread(this);
    }
}

void THTMLPicture::SaveToStream(TStream* Stream) {
    if (Stream && !FData.empty()) Stream->WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

void THTMLPicture::SaveToStream(std::ostream& stream) {
    stream.write(reinterpret_cast<const char*>(FData.data()), static_cast<std::streamsize>(FData.size()));
}

void THTMLPicture::ReadData(TStream* Stream) {
    if (!Stream) return;
    LoadBytes(RestOfStream(Stream), false);
}

void THTMLPicture::WriteData(TStream* Stream) { SaveToStream(Stream); }

void THTMLPicture::PublishedProperties(TFiler* Filer) {
    TGraphic::PublishedProperties(Filer);
    Filer->BooleanProperty("Stretch", FStretched);
    Filer->IntegerProperty("Frame", FFrame);
}

void THTMLPicture::Assign(const TPersistent* Source) {
    if (Source == this) return;
    FIsEmpty = true;
    gpPicture = nullptr;
    ClearTiming();
    // Frame 1 without decoding the old bytes again: they are replaced or cleared below, and bytes
    // that never decoded must not make the assignment fail.
    FFrame = 1;
    if (!Source) {
        FData.clear();
        return;
    }
    if (auto* p = dynamic_cast<const THTMLPicture*>(Source)) {
        FStretched = p->FStretched;
        FFrame = p->FFrame;
        FID = p->FID;
        if (p->FIsEmpty) {
            // An empty picture gives its bytes and stays empty: decoding them would raise.
            FData = p->FData;
            Changed();
            return;
        }
        LoadBytes(p->FData, true);
    }
}

int THTMLPicture::Width() const {
    OLE_XSIZE_HIMETRIC w = 0;
    if (!gpPicture || FAILED(gpPicture->get_Width(&w))) return 0;
    return MulDiv(w, FLogPixX, kHimetricPerInch);
}

int THTMLPicture::Height() const {
    OLE_YSIZE_HIMETRIC h = 0;
    if (!gpPicture || FAILED(gpPicture->get_Height(&h))) return 0;
    return MulDiv(h, FLogPixY, kHimetricPerInch);
}

int THTMLPicture::MaxWidth() const { return FAnimMaxX > 0 ? FAnimMaxX : Width(); }
int THTMLPicture::MaxHeight() const { return FAnimMaxY > 0 ? FAnimMaxY : Height(); }

void THTMLPicture::Draw(TCanvas* ACanvas, const TRect& Rect) {
    if (FIsEmpty || !gpPicture || !ACanvas) return;
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    gpPicture->get_Width(&w);
    gpPicture->get_Height(&h);
    HDC dc = ACanvas->Handle();
    if (FStretched) {
        gpPicture->Render(dc, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), 0, h, w, -h, &Rect);
        return;
    }
    int cx = MulDiv(w, GetDeviceCaps(dc, LOGPIXELSX), kHimetricPerInch);
    int cy = MulDiv(h, GetDeviceCaps(dc, LOGPIXELSY), kHimetricPerInch);
    gpPicture->Render(dc, Rect.Left, Rect.Top, cx, cy, 0, h, w, -h, &Rect);
}

bool THTMLPicture::IsGIF() const { return FData.size() >= 5 && std::memcmp(FData.data(), "GIF8", 4) == 0; }

int THTMLPicture::FrameCount() {
    if (!IsGIF()) return -1;
    if (FFrameCount < 0) {
        int n = 0;
        EachFrameMarker(FData, [&](size_t, int number) { return (n = number), true; });
        FFrameCount = n;
    }
    return FFrameCount;
}

void THTMLPicture::SetFrame(int value) {
    FFrame = value;
    if (FData.empty()) return;
    LoadPicture();
    if (OnFrameChange) OnFrameChange(this);
}

void THTMLPicture::FrameNext() {
    int next = FFrame + 1;
    SetFrame(next > FrameCount() ? 1 : next);
}

void THTMLPicture::FramePrev() {
    int prev = FFrame - 1;
    SetFrame(prev < 1 ? FrameCount() : prev);
}

int THTMLPicture::GetFrameTime(int i) {
    if (!IsGIF()) return -1;
    int delay = -1;
    EachFrameMarker(FData, [&](size_t j, int number) {
        if (number != i) return true;
        uint8_t packed = At(FData, j + 3);
        delay = WordAt(FData, j + 4);
        FFrameTransp = packed & 1;
        FFrameDisposal = static_cast<uint16_t>((packed >> 2) & 7);
        return false;
    });
    return delay;
}

bool THTMLPicture::Step() {
    if (FIsEmpty || FrameCount() < 2) return false;
    if (FNextCount == -1) FNextCount = GetFrameTime(FFrame);
    bool changed = false;
    if (static_cast<int64_t>(FTimerCount) * 10 >= FNextCount) {
        FrameNext();
        FNextCount += GetFrameTime(FFrame);
        changed = true;
    }
    ++FTimerCount;
    return changed;
}

// ---- TDownLoadThread ---------------------------------------------------------------------------

TDownLoadThread::TDownLoadThread(THTMLPicture* HTMLPicture) : TThread(true), FHTMLPicture(HTMLPicture) {
    SetFreeOnTerminate(true);
    Start();
}

// ---- THTMLPictureCache -------------------------------------------------------------------------

THTMLPictureCache::~THTMLPictureCache() { ClearPictures(); }

void THTMLPictureCache::SetPicture(int Index, THTMLPicture* Value) {
    THTMLPicture* old = GetPicture(Index);
    SetItems(Index, Value);
    if (old != Value) delete old;
}

THTMLPicture* THTMLPictureCache::AddPicture() {
    auto picture = std::make_unique<THTMLPicture>();
    Add(picture.get());
    return picture.release();
}

THTMLPicture* THTMLPictureCache::FindPicture(const String& ID) const {
    for (int i = 0; i < Count(); ++i)
        if (GetPicture(i)->ID() == ID) return GetPicture(i);
    return nullptr;
}

void THTMLPictureCache::ClearPictures() {
    for (int i = 0; i < Count(); ++i) delete GetPicture(i);
    Clear();
}

bool THTMLPictureCache::Animate() {
    bool changed = false;
    for (int i = 0; i < Count(); ++i)
        if (GetPicture(i)->Step()) changed = true;
    return changed;
}

// ---- The container -----------------------------------------------------------------------------

TPictureItem::TPictureItem(TCollection* Collection) : TCollectionItem(Collection), FPicture(new THTMLPicture) {}

TPictureItem::~TPictureItem() { delete FPicture; }

void TPictureItem::Assign(const TPersistent* Source) {
    if (auto* item = dynamic_cast<const TPictureItem*>(Source)) {
        FName = item->FName;
        FTag = item->FTag;
        FPicture->Assign(item->FPicture);
        return;
    }
    TCollectionItem::Assign(Source);
}

TPictureCollection::TPictureCollection(TComponent* AOwner)
    : TCollection(CollectionItemOf<TPictureItem>, AOwner), FOwner(AOwner) {}

bool TPictureCollection::Animate() {
    bool changed = false;
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Picture()->Step()) changed = true;
    return changed;
}

TPictureContainer::TPictureContainer(TComponent* AOwner) : TComponent(AOwner), FItems(new TPictureCollection(this)) {}

TPictureContainer::~TPictureContainer() { delete FItems; }

String TPictureContainer::Version() const {
    constexpr uint32_t kVersion = 0x01000000;
    return IntToStr(kVersion >> 24) + u"." + IntToStr((kVersion >> 16) & 0xFF) + u"." + IntToStr((kVersion >> 8) & 0xFF) +
           u"." + IntToStr(kVersion & 0xFF);
}

THTMLPicture* TPictureContainer::FindPicture(const String& s) const {
    String wanted = UpperCase(s);
    for (int i = 0; i < FItems->Count(); ++i)
        if (UpperCase(FItems->Items(i)->Name()) == wanted) return FItems->Items(i)->Picture();
    return nullptr;
}
