#pragma once
// The ImgList unit: lists of equally sized images, and the flat calls the components make on an
// image list's handle (ImageList_Draw, ImageList_GetIconSize).
#include <memory>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/rtl/Objects.h"
#include "platform/ui/Graphics.h"

// A list of equally sized images. A bitmap added to it keeps one colour as transparent (by
// default its bottom-left pixel's); an icon keeps its alpha channel.
class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* AOwner);
    ~TCustomImageList() override;
    const char* ClassName() const override { return "TCustomImageList"; }
    int Width() const { return FWidth; }
    void SetWidth(int value);
    int Height() const { return FHeight; }
    void SetHeight(int value);
    int Count() const { return static_cast<int>(FImages.size()); }
    // Adds the image (cut into Width-wide pieces when wider); the mask is not used: the
    // bottom-left pixel's colour is transparent. Returns the index of the first image added.
    int Add(TBitmap* Image, TBitmap* Mask = nullptr);
    int AddMasked(TBitmap* Image, TColor MaskColor);
    // Adds an icon of the list's size with its alpha channel; -1 for an empty icon or one of
    // another size.
    int AddIcon(TIcon* Image);
    void Delete(int Index);
    void Clear();
    bool GetBitmap(int Index, TBitmap* Image) const;
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true) const;
    // The list's handle, for the flat calls below; valid while the list lives.
    HIMAGELIST Handle() const { return FHandle; }
    // The live list behind a handle, nullptr for anything else.
    static TCustomImageList* FromHandle(HIMAGELIST handle);
    TNotifyEvent OnChange;

private:
    struct Item {
        std::unique_ptr<TBitmap> bitmap;  // colour-keyed images
        TColor transparent = clNone;
        std::unique_ptr<TIcon> icon;      // images with alpha
    };
    void Changed();
    int FWidth = 16;
    int FHeight = 16;
    std::vector<Item> FImages;
    HIMAGELIST FHandle = nullptr;
};

class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
    const char* ClassName() const override { return "TImageList"; }
};

// Drawing styles of ImageList_Draw. The lists have no background colour of their own, so
// ILD_NORMAL draws through the mask, as ILD_TRANSPARENT does.
constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;

// Draws image index of the list at (x, y) on the DC. FALSE for a handle that names no list or
// no canvas, an index outside the list, or a style other than the two above.
BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle);
// The size of the list's images; FALSE for a handle that names no list.
BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);
