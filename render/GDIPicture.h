#pragma once
// Unit GDIPicture: TGDIPPicture, a graphic that keeps an image file's encoded bytes (any format
// the GDI+ layer reads: BMP, JPEG, PNG, GIF, TIFF, icons, EMF, WMF) and decodes and draws them
// through the GDI+ wrappers on every draw. It never holds a decoded image between calls.
#include <istream>
#include <memory>
#include <ostream>

#include "platform/ole/Stream.h"
#include "platform/rtl/Objects.h"
#include "platform/rtl/Streams.h"
#include "platform/ui/Graphics.h"
#include "platform/win/Resources.h"
#include "render/AdvGDIP.h"

// A stream on a movable global block holding a copy of the size bytes at data, from the block's
// start; the stream owns the block, which goes with its last reference. A block or stream that
// cannot be made raises Exception "Could not allocate memory for image".
ComPtr<IStream> StreamOnGlobalCopy(const void* data, size_t size);

class TGDIPPicture : public TGraphic {
public:
    TGDIPPicture();
    ~TGDIPPicture() override;
    const char* ClassName() const override { return "TGDIPPicture"; }

    // nil clears the bytes and raises OnChange, then OnClear. Another GDI+ picture's bytes are
    // copied; a bitmap, or a picture's graphic, is stored as the file it saves (OnChange). Any
    // other source leaves the bytes and marks the picture empty, without an event. The size is
    // updated after all but nil.
    void Assign(const TPersistent* Source) override;

    // Empty while no image bytes are held.
    bool Empty() const override { return FIsEmpty; }
    // The image's size, known once a size update ran (a load, an assignment, a draw); 0 before.
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    // The size comes from the image: these do nothing.
    void SetWidth(int) override {}
    void SetHeight(int) override {}

    // The form-stream data: the bytes as they are (no size update, no event). nil does nothing.
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) override;

    // The whole file. A file that cannot be read leaves the picture empty and raises nothing,
    // as does an event handler that raises. On success: OnClear, the size, OnChange.
    void LoadFromFile(const String& FileName) override;
    // The whole of Stream, from its beginning wherever its position stands; nil does nothing.
    // Then the size and OnChange.
    void LoadFromStream(TStream* Stream);
    // Every byte held, at Stream's position; nil does nothing.
    void SaveToStream(TStream* Stream);
    void LoadFromStream(std::istream& stream) override;
    void SaveToStream(std::ostream& stream) override;

    // The image at its own size, its top-left corner at (X, Y).
    void DrawImage(TGPGraphics* Graphics, int X, int Y);
    // The image scaled into (X, Y, W, H).
    void DrawImageRect(TGPGraphics* Graphics, int X, int Y, int W, int H);
    // The RCDATA resource of that name of the module, when there is one.
    void LoadFromResourceName(HINSTANCE Instance, const String& ResName);
    // The RCDATA resource of that id; EResNotFound when there is none.
    void LoadFromResourceID(HINSTANCE Instance, int ResID);
    // "RES://name" (any case) loads the program's RCDATA resource, "FILE://path" the file; any
    // other text, or nothing after the prefix, does nothing.
    void LoadFromURL(const String& URL);
    // Decodes to learn the size; false, sizes unchanged, when no bytes are held.
    bool GetImageSizes();
    // The file of the last successful LoadFromFile.
    String GetFileName() const { return FFileName; }

    // Kept for the owner; the picture does not use them.
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool value) { FDoubleBuffered = value; }
    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor value) { FBackgroundColor = value; }

    TNotifyEvent OnClear;

protected:
    // A BMP through the platform's bitmap, stretched and transparent at its bottom-left pixel's
    // colour; any other image scaled into Rect through GDI+, which also updates the size.
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
    // The whole of source becomes the bytes; the picture is empty exactly when there are none.
    void TakeFrom(TStream* source);
    // Runs work on the image decoded from the bytes; nothing while no bytes are held.
    template <class Work>
    void Decoded(Work work);

    String FFileName;
    std::unique_ptr<TMemoryStream> FDatastream;
    bool FIsEmpty = true;
    int FWidth = 0;
    int FHeight = 0;
    bool FDoubleBuffered = false;
    TColor FBackgroundColor = clBlack;
};
