// The graphic data forms of the component stream (the property "Data"), the registration of the
// graphic classes in the class registry and colour properties.
#include <cstring>
#include <memory>

#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/Filer.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Jpeg.h"
#include "platform/ui/Metafile.h"

namespace {

template <class T>
TPersistentClass GraphicClass(const char* name) {
    // Named here rather than through a throw-away instance: this runs during static
    // initialisation, before the drawing layer may make objects.
    static const TPersistentClassInfo info{name, &rtl::detail::MakeInstance<T>};
    return &info;
}

void RegisterGraphicClasses() {
    static const bool done = [] {
        RegisterClasses({GraphicClass<TBitmap>("TBitmap"), GraphicClass<TIcon>("TIcon"),
                         GraphicClass<TJPEGImage>("TJPEGImage"), GraphicClass<TMetafile>("TMetafile"),
                         GraphicClass<TPngImage>("TPngImage")});
        return true;
    }();
    (void)done;
}

// Registered as the layer starts, so GetClass("TBitmap") answers from the first moment.
[[maybe_unused]] const bool kRegistered = (RegisterGraphicClasses(), true);

void WriteSized(TStream* stream, const std::vector<uint8_t>& bytes) {
    if (bytes.size() > 0x7FFFFFFF) throw EWriteError(String("Picture too large for the component stream"));
    uint8_t size[4];
    for (int i = 0; i < 4; ++i) size[i] = static_cast<uint8_t>(bytes.size() >> (8 * i));
    stream->WriteBuffer(size, 4);
    if (!bytes.empty()) stream->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

// The bytes of a 4-byte size and that many bytes; a size beyond the stream raises EReadError.
std::vector<uint8_t> ReadSized(TStream* stream) {
    uint8_t size[4];
    stream->ReadBuffer(size, 4);
    uint32_t n = static_cast<uint32_t>(size[0] | size[1] << 8 | size[2] << 16) | static_cast<uint32_t>(size[3]) << 24;
    if (static_cast<int64_t>(n) > stream->Size() - stream->Position()) throw EReadError(String("Stream read error"));
    std::vector<uint8_t> bytes(n);
    if (n > 0) stream->ReadBuffer(bytes.data(), n);
    return bytes;
}

}  // namespace

void TGraphic::ReadData(TStream* Stream) { LoadFromStream(Stream); }

void TGraphic::WriteData(TStream* Stream) { SaveToStream(Stream); }

void TGraphic::DefineProperties(TFiler* Filer) {
    TPersistent::DefineProperties(Filer);
    Filer->DefineBinaryProperty("Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); },
                                !Empty());
}

void TBitmap::ReadData(TStream* Stream) {
    std::vector<uint8_t> bytes = ReadSized(Stream);
    if (bytes.empty())
        SetSize(0, 0);
    else
        LoadFromBytes(bytes);
}

void TBitmap::WriteData(TStream* Stream) { WriteSized(Stream, Empty() ? std::vector<uint8_t>() : SaveToBytes()); }

void TJPEGImage::ReadData(TStream* Stream) { LoadFromBytes(ReadSized(Stream)); }

void TJPEGImage::WriteData(TStream* Stream) { WriteSized(Stream, SaveToBytes()); }

void TPicture::DefineProperties(TFiler* Filer) {
    TPersistent::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        "Data",
        [this](TStream* s) {
            uint8_t n;
            s->ReadBuffer(&n, 1);
            std::string name(n, '\0');
            if (n > 0) s->ReadBuffer(name.data(), n);
            if (name.empty()) {
                Adopt(nullptr);
                return;
            }
            RegisterGraphicClasses();
            TPersistentClass cls = GetClass(String(name));
            if (!cls) throw EReadError(String("Unknown picture class ") + String(name));
            std::unique_ptr<TPersistent> made(cls->Create(nullptr));
            auto* graphic = dynamic_cast<TGraphic*>(made.get());
            if (!graphic) throw EReadError(String("Class ") + String(name) + " is not a graphic");
            made.release();
            std::unique_ptr<TGraphic> owned(graphic);
            owned->ReadData(s);
            Adopt(std::move(owned));
        },
        [this](TStream* s) {
            std::string name = FGraphic->ClassName();
            if (name.size() > 255) throw EWriteError(String("Graphic class name too long: ") + String(name));
            uint8_t n = static_cast<uint8_t>(name.size());
            s->WriteBuffer(&n, 1);
            s->WriteBuffer(name.data(), n);
            FGraphic->WriteData(s);
        },
        FGraphic != nullptr);
}

bool ColorProperty(TFiler* filer, std::string_view name, TColor& color) {
    bool read = false;
    filer->DefineProperty(
        name,
        [&](TReader* r) {
            if (r->NextValue() == vaIdent) {
                String ident(r->ReadIdent());
                if (!IdentToColor(ident, color)) throw EConvertError(String("Invalid property value (") + ident + ")");
            } else {
                color = r->ReadInteger();
            }
            read = true;
        },
        [&](TWriter* w) {
            String ident;
            if (ColorToIdent(color, ident))
                w->WriteIdent(ident.ToUtf8());
            else
                w->WriteInteger(color);
        },
        true);
    return read;
}
