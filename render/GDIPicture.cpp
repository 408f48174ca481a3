// Unit GDIPicture: a graphic of encoded image bytes, decoded through the GDI+ wrappers on every
// draw.
#include "render/GDIPicture.h"

#include <cstring>
#include <iterator>
#include <optional>
#include <vector>

#include "platform/ole/Stream.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

TGDIPPicture::TGDIPPicture() : FDatastream(std::make_unique<TMemoryStream>()) {}

TGDIPPicture::~TGDIPPicture() = default;

void TGDIPPicture::TakeFrom(TStream* source) {
    FDatastream->LoadFromStream(source);
    FIsEmpty = FDatastream->Size() == 0;
}

ComPtr<IStream> StreamOnGlobalCopy(const void* data, size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) throw Exception(String("Could not allocate memory for image"));
    if (size) std::memcpy(GlobalLock(block), data, size);
    GlobalUnlock(block);
    // The stream owns the block from here on: releasing it frees the block, once.
    ComPtr<IStream> stream;
    if (CreateStreamOnHGlobal(block, 1, stream.ReleaseAndGetAddressOf()) != S_OK) {
        GlobalFree(block);
        throw Exception(String("Could not allocate memory for image"));
    }
    return stream;
}

template <class Work>
void TGDIPPicture::Decoded(Work work) {
    if (FIsEmpty || FDatastream->Size() == 0) return;
    ComPtr<IStream> stream = StreamOnGlobalCopy(FDatastream->Memory(), static_cast<size_t>(FDatastream->Size()));
    std::unique_ptr<TGPImage> image(new TGPImage(stream.Get(), false));
    work(*image);
}

bool TGDIPPicture::GetImageSizes() {
    if (FIsEmpty || FDatastream->Size() == 0) return false;
    Decoded([&](TGPImage& image) {
        FWidth = static_cast<int>(image.GetWidth());
        FHeight = static_cast<int>(image.GetHeight());
    });
    return true;
}

void TGDIPPicture::Draw(TCanvas* ACanvas, const TRect& Rect) {
    Decoded([&](TGPImage& image) {
        TGPGraphics graphics(ACanvas->Handle());
        if (image.GetFormat() == ifBMP) {
            // A bitmap file keeps the classic look: transparent at its bottom-left pixel's colour.
            TBitmap bitmap;
            FDatastream->SetPosition(0);
            bitmap.LoadFromStream(FDatastream.get());
            bitmap.SetTransparentMode(tmAuto);
            bitmap.SetTransparent(true);
            ACanvas->StretchDraw(Rect, &bitmap);
        } else {
            FWidth = static_cast<int>(image.GetWidth());
            FHeight = static_cast<int>(image.GetHeight());
            graphics.DrawImageRect(&image, Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
        }
    });
}

void TGDIPPicture::DrawImage(TGPGraphics* Graphics, int X, int Y) {
    if (!Graphics) return;
    Decoded([&](TGPImage& image) { Graphics->DrawImage(&image, X, Y); });
}

void TGDIPPicture::DrawImageRect(TGPGraphics* Graphics, int X, int Y, int W, int H) {
    if (!Graphics) return;
    Decoded([&](TGPImage& image) { Graphics->DrawImageRect(&image, X, Y, W, H); });
}

void TGDIPPicture::LoadFromFile(const String& FileName) {
    try {
        TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
        TakeFrom(&file);
        FFileName = FileName;
        if (OnClear) OnClear(this);
        GetImageSizes();
        Changed();
    } catch (const std::exception&) {
        // A file that cannot be read, or a handler that raised, leaves the picture empty.
        FIsEmpty = true;
    }
}

void TGDIPPicture::LoadFromStream(TStream* Stream) {
    if (!Stream) return;
    TakeFrom(Stream);
    GetImageSizes();
    Changed();
}

void TGDIPPicture::LoadFromStream(std::istream& stream) {
    // From the beginning, as the class library's form does.
    stream.clear();
    stream.seekg(0);
    if (!stream) stream.clear();
    std::vector<char> bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    TMemoryStream read;
    if (!bytes.empty()) read.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    TakeFrom(&read);
    GetImageSizes();
    Changed();
}

void TGDIPPicture::SaveToStream(TStream* Stream) {
    if (Stream) FDatastream->SaveToStream(Stream);
}

void TGDIPPicture::SaveToStream(std::ostream& stream) {
    if (FDatastream->Size() > 0) stream.write(static_cast<const char*>(FDatastream->Memory()), static_cast<std::streamsize>(FDatastream->Size()));
}

void TGDIPPicture::ReadData(TStream* Stream) {
    if (Stream) TakeFrom(Stream);
}

void TGDIPPicture::WriteData(TStream* Stream) {
    if (Stream) FDatastream->SaveToStream(Stream);
}

void TGDIPPicture::LoadFromResourceName(HINSTANCE Instance, const String& ResName) {
    if (!FindResource(Instance, TResName(ResName), RT_RCDATA)) return;
    TResourceStream resource(Instance, ResName, RT_RCDATA);
    LoadFromStream(&resource);
}

void TGDIPPicture::LoadFromResourceID(HINSTANCE Instance, int ResID) {
    TResourceStream resource(Instance, ResID, RT_RCDATA);
    LoadFromStream(&resource);
}

void TGDIPPicture::LoadFromURL(const String& URL) {
    auto after = [&](const char* prefix) -> std::optional<String> {
        String p(prefix);
        if (URL.size() < p.size() || !SameText(String(URL.substr(0, p.size())), p)) return std::nullopt;
        return String(URL.substr(p.size()));
    };
    if (std::optional<String> name = after("RES://")) {
        if (!name->empty()) LoadFromResourceName(HInstance, *name);
    } else if (std::optional<String> file = after("FILE://")) {
        if (!file->empty()) LoadFromFile(*file);
    }
}

void TGDIPPicture::Assign(const TPersistent* Source) {
    FIsEmpty = true;
    if (!Source) {
        FDatastream->Clear();
        FIsEmpty = true;
        Changed();
        if (OnClear) OnClear(this);
        return;
    }
    if (auto* picture = dynamic_cast<const TGDIPPicture*>(Source)) {
        if (picture != this) TakeFrom(picture->FDatastream.get());
        FIsEmpty = FDatastream->Size() == 0;
        Changed();
    } else if (auto* bitmap = dynamic_cast<const TBitmap*>(Source)) {
        TMemoryStream saved;
        const_cast<TBitmap*>(bitmap)->SaveToStream(&saved);
        TakeFrom(&saved);
        Changed();
    } else if (auto* platformPicture = dynamic_cast<const TPicture*>(Source)) {
        // A picture holding no graphic gives no bytes.
        TMemoryStream saved;
        if (TGraphic* graphic = platformPicture->Graphic()) graphic->SaveToStream(&saved);
        TakeFrom(&saved);
        Changed();
    }
    GetImageSizes();
}
