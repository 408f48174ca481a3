// TMetafile: the recorded operations, their size and frame, and loading and saving by format.
#include "platform/ui/Metafile.h"

#include <istream>
#include <iterator>
#include <ostream>

#include "platform/ui/MetafileFormat.h"

using namespace metafile;

bool IsEnhancedMetafile(const uint8_t* data, size_t size) {
    return size >= 88 && Get32(data) == EMR_HEADER && Get32(data + 40) == kEmfSignature;
}

bool IsMetafile(const uint8_t* data, size_t size) {
    if (IsEnhancedMetafile(data, size)) return true;
    // The older format, with its placeable header or starting with its own (type, 9 words).
    return size >= 18 && (Get32(data) == kPlaceableKey || (Get16(data) <= 2 && Get16(data + 2) == 9));
}

// TMetafile --------------------------------------------------------------------------------------

TMetafile::TMetafile() = default;
TMetafile::~TMetafile() = default;

void TMetafile::Clear() {
    FOps.clear();
    FBounds = TRect();
    FFrame = TRect();
    FWidth = FHeight = 0;
    FDescription.clear();
    Changed();
}

void TMetafile::Assign(const TPersistent* Source) {
    if (!Source) {
        Clear();
        return;
    }
    if (auto* m = dynamic_cast<const TMetafile*>(Source)) {
        if (m == this) return;
        FOps = m->FOps;
        FBounds = m->FBounds;
        FFrame = m->FFrame;
        FWidth = m->FWidth;
        FHeight = m->FHeight;
        FEnhanced = m->FEnhanced;
        FInch = m->FInch;
        FDescription = m->FDescription;
        Changed();
        return;
    }
    if (auto* g = dynamic_cast<const TGraphic*>(Source)) {
        auto* graphic = const_cast<TGraphic*>(g);
        FOps.clear();
        FWidth = graphic->Width();
        FHeight = graphic->Height();
        {
            TMetafileCanvas c(this);
            c.Draw(0, 0, graphic);
        }
        Changed();
        return;
    }
    TGraphic::Assign(Source);
}

TRect TMetafile::ShownFrame() const {
    TRect frame = FFrame.IsEmpty() ? FBounds : FFrame;
    return frame.IsEmpty() ? TRect() : frame;
}

// The size of what playback shows: an inverted frame in a file is not a negative size.
int TMetafile::Width() const { return FWidth ? FWidth : ShownFrame().Width(); }
int TMetafile::Height() const { return FHeight ? FHeight : ShownFrame().Height(); }
void TMetafile::SetWidth(int value) {
    FWidth = std::max(0, value);
    FFrame.Right = FFrame.Left + FWidth;
    Changed();
}
void TMetafile::SetHeight(int value) {
    FHeight = std::max(0, value);
    FFrame.Bottom = FFrame.Top + FHeight;
    Changed();
}
int TMetafile::MMWidth() const { return PxToHmm(Width()); }
int TMetafile::MMHeight() const { return PxToHmm(Height()); }
void TMetafile::SetMMWidth(int value) { SetWidth(HmmToPx(value)); }
void TMetafile::SetMMHeight(int value) { SetHeight(HmmToPx(value)); }

void TMetafile::SaveToFile(const String& fileName) {
    std::string s = fileName.ToUtf8();
    std::string ext = s.size() >= 4 ? s.substr(s.size() - 4) : "";
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    FEnhanced = ext != ".wmf";
    TGraphic::SaveToFile(fileName);
}

void TMetafile::SaveToStream(std::ostream& stream) {
    std::vector<uint8_t> b = FEnhanced ? EmfBytes() : WmfBytes();
    stream.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    if (!stream) throw EWriteError(String("Stream write error"));
}

void TMetafile::LoadFromStream(std::istream& stream) {
    std::vector<uint8_t> b((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    FOps.clear();
    FBounds = FFrame = TRect();
    FWidth = FHeight = 0;
    if (IsEnhancedMetafile(b.data(), b.size())) {
        FEnhanced = true;
        ParseEmf(b);
    } else if (IsMetafile(b.data(), b.size())) {
        FEnhanced = false;
        ParseWmf(b);
    } else {
        throw EInvalidGraphic(String("Metafile is not valid"));
    }
    Changed();
}
