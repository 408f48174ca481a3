#pragma once
// The pictures of HTML-formatted text: THTMLPicture keeps the encoded bytes of a picture file and
// draws them through the OLE picture loader, stepping through the frames of an animated GIF;
// THTMLPictureCache keeps pictures named by URL; TPictureContainer holds named pictures for IMG
// sources. Only the HTML renderer looks pictures up; everything runs on the main thread.
#include <cstdint>
#include <functional>
#include <iosfwd>

#include "platform/ole/Picture.h"
#include "platform/rtl/Collections.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/Objects.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Threads.h"
#include "platform/ui/Graphics.h"
#include "platform/win/Resources.h"

// No download ever runs, so the download events are never raised; they are kept for the callers
// that set them.
using TDownloadProgressEvent = std::function<void(TObject* Sender, DWORD dwSize, DWORD dwTotSize)>;
using TDownloadCancelEvent = std::function<void(TObject* Sender, bool& Cancel)>;
using TDownloadCompleteEvent = std::function<void(TObject* Sender)>;
using TDownloadErrorEvent = std::function<void(TObject* Sender, const String& err)>;

class THTMLPicture : public TGraphic {
public:
    THTMLPicture();
    ~THTMLPicture() override;
    const char* ClassName() const override { return "THTMLPicture"; }

    // Marks the picture empty and starts again at frame 1; then nil clears the data, another
    // THTMLPicture gives its Stretch, Frame, ID and data (decoded unless that picture is empty,
    // OnChange raised), and any other source nothing more.
    void Assign(const TPersistent* Source) override;
    bool Empty() const override { return FIsEmpty; }
    // The decoded picture's size at 96 pixels per inch; 0 when nothing is decoded.
    int Width() const override;
    int Height() const override;
    // The size is the picture's own.
    void SetWidth(int) override {}
    void SetHeight(int) override {}

    // Copies the whole stream, marks the picture not empty, decodes it and raises OnChange;
    // decoding errors reach the caller (the picture then stays not empty, 0 x 0).
    void LoadFromStream(TStream* Stream);
    void LoadFromStream(std::istream& stream) override;
    // As LoadFromStream from the file; any error leaves the picture empty and is not raised.
    void LoadFromFile(const String& FileName) override;
    // The raw-data resource of that name, when the module has one; nothing otherwise.
    void LoadFromResourceName(HINSTANCE Instance, const String& ResName);
    // The raw-data resource with that id; EResNotFound when there is none.
    void LoadFromResourceID(HINSTANCE Instance, int ResID);
    // "RES://name" loads the program's resource, "FILE://path" the file (the prefixes in any
    // case); any other address loads nothing: without Asynch it becomes the ID, with Asynch a
    // download thread is started once (Busy).
    void LoadFromURL(const String& url);
    // The stored encoded bytes.
    void SaveToStream(TStream* Stream);
    void SaveToStream(std::ostream& stream) override;
    // The form stream's "Data": the encoded bytes. ReadData raises no OnChange.
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) override;
    void PublishedProperties(TFiler* Filer) override;
    // The clipboard has no picture format of this class.
    void LoadFromClipboardFormat(WORD, HANDLE, HANDLE) {}
    void SaveToClipboardFormat(WORD&, HANDLE&, HANDLE&) {}

    bool Stretch() const { return FStretched; }
    void SetStretch(bool value) { FStretched = value; }
    bool Busy() const { return FThreadBusy; }
    bool Asynch() const { return FAsynch; }
    void SetAsynch(bool value) { FAsynch = value; }
    const String& ID() const { return FID; }
    void SetID(const String& value) { FID = value; }
    bool IsDB() const { return FIsDB; }
    void SetIsDB(bool value) { FIsDB = value; }
    const String& URL() const { return FURL; }

    // At least 5 bytes starting with "GIF8".
    bool IsGIF() const;
    // -1 for anything but a GIF, else the number of frame markers (counted once).
    int FrameCount();
    int Frame() const { return FFrame; }
    // Stores the frame; with data present decodes again and raises OnFrameChange.
    void SetFrame(int value);
    void FrameNext();
    void FramePrev();
    // Delay of frame i in hundredths of a second, -1 when there is no such frame or no GIF; keeps
    // that frame's transparency and disposal bits.
    int GetFrameTime(int i);
    // One animation tick of a tenth of a second: true when the frame changed.
    bool Step();
    // The logical screen of a GIF, else the picture's own size.
    int MaxWidth() const;
    int MaxHeight() const;
    // The current frame's place on the logical screen.
    int FrameXPos() const { return FFrameXPos; }
    int FrameYPos() const { return FFrameYPos; }
    bool FrameTransp() const { return FFrameTransp; }
    int FrameDisposal() const { return FFrameDisposal; }
    // The stored encoded bytes.
    const std::vector<uint8_t>& Data() const { return FData; }
    // What decoding hands the picture loader for a frame of data: a GIF's bytes before its first
    // frame marker followed by everything from the marker of that frame on (so its first image
    // is that frame); any other data whole.
    static std::vector<uint8_t> FrameData(const std::vector<uint8_t>& data, int frame);

    TNotifyEvent OnFrameChange;
    TDownloadProgressEvent OnDownLoadProgress;
    TDownloadCancelEvent OnDownLoadCancel;
    TDownloadCompleteEvent OnDownLoadComplete;
    TDownloadErrorEvent OnDownLoadError;

protected:
    // Nothing when empty or not decoded; with Stretch into Rect, otherwise at Rect's top-left at
    // the natural size for the canvas's pixels per inch.
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
    void LoadBytes(std::vector<uint8_t> bytes, bool notify);
    void LoadPicture();
    void ClearTiming();

    std::vector<uint8_t> FData;  // the encoded picture file as loaded
    bool FIsEmpty = true;
    bool FStretched = false;
    ComPtr<IPicture> gpPicture;
    int32_t FLogPixX = 96;
    int32_t FLogPixY = 96;
    String FURL;
    String FID;
    bool FIsDB = false;
    bool FAsynch = true;
    bool FThreadBusy = false;
    int32_t FFrame = 1;
    int32_t FFrameCount = -1;
    uint16_t FFrameXPos = 0, FFrameYPos = 0, FFrameXSize = 0, FFrameYSize = 0;
    bool FFrameTransp = false;
    uint16_t FFrameDisposal = 0;
    uint16_t FAnimMaxX = 0, FAnimMaxY = 0;
    int32_t FNextCount = -1;
    int32_t FTimerCount = -1;
};

// The thread a web address would be loaded on. Created running and freed when done; its body
// does nothing and touches nothing.
class TDownLoadThread : public TThread {
public:
    explicit TDownLoadThread(THTMLPicture* HTMLPicture);

protected:
    void Execute() override {}

private:
    [[maybe_unused]] THTMLPicture* FHTMLPicture;  // not owned
};

// Pictures given by URL, keyed by their ID. Owns its pictures.
class THTMLPictureCache : public TList {
public:
    THTMLPictureCache() = default;
    ~THTMLPictureCache() override;

    THTMLPicture* GetPicture(int Index) const { return static_cast<THTMLPicture*>(Items(Index)); }
    // Puts Value in the place of the picture at Index, which is freed.
    void SetPicture(int Index, THTMLPicture* Value);
    // A new empty picture at the end.
    THTMLPicture* AddPicture();
    // The first picture whose ID is exactly ID (case counts); nullptr when none.
    THTMLPicture* FindPicture(const String& ID) const;
    void ClearPictures();
    // Steps every picture; true when any changed its frame.
    bool Animate();
};

class TPictureItem : public TCollectionItem {
public:
    explicit TPictureItem(TCollection* Collection);
    ~TPictureItem() override;
    const char* ClassName() const override { return "TPictureItem"; }
    void Assign(const TPersistent* Source) override;

    THTMLPicture* Picture() const { return FPicture; }
    // Assigns into the item's own picture.
    void SetPicture(THTMLPicture* Value) { FPicture->Assign(Value); }
    const String& Name() const { return FName; }
    void SetName(const String& Value) { FName = Value; }
    int32_t Tag() const { return FTag; }
    void SetTag(int32_t Value) { FTag = Value; }

private:
    THTMLPicture* FPicture;  // owned
    int32_t FTag = 0;
    String FName;
};

class TPictureCollection : public TCollection {
public:
    explicit TPictureCollection(TComponent* AOwner);
    const char* ClassName() const override { return "TPictureCollection"; }
    TPictureItem* Add() { return static_cast<TPictureItem*>(TCollection::Add()); }
    TPictureItem* Insert(int Index) { return static_cast<TPictureItem*>(TCollection::Insert(Index)); }
    TPictureItem* Items(int Index) const { return static_cast<TPictureItem*>(TCollection::Items(Index)); }
    TPersistent* GetOwner() const override { return FOwner; }
    // Steps every item's picture; true when any changed its frame.
    bool Animate();

private:
    TComponent* FOwner;  // not owned
};

class TPictureContainer : public TComponent {
public:
    explicit TPictureContainer(TComponent* AOwner);
    ~TPictureContainer() override;
    const char* ClassName() const override { return "TPictureContainer"; }

    TPictureCollection* Items() const { return FItems; }
    void SetItems(TPictureCollection* Value) { FItems->Assign(Value); }
    // "1.0.0.0": one byte of the version number per part, major first. Writes are ignored.
    String Version() const;
    void SetVersion(const String&) {}
    // The picture of the first item whose Name equals s, a-z compared without regard to case.
    virtual THTMLPicture* FindPicture(const String& s) const;

private:
    TPictureCollection* FItems;  // owned
};
