#pragma once
// JPEG pictures, encoded and decoded with libjpeg (API 62) directly.
#include <memory>
#include <vector>

#include "platform/ui/Graphics.h"

RTL_DECLARE_EXCEPTION(EJPEG, EInvalidGraphic);

enum TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };
enum TJPEGPerformance { jpBestQuality, jpBestSpeed };

class TJPEGImage : public TGraphic {
public:
    TJPEGImage();
    ~TJPEGImage() override;
    const char* ClassName() const override { return "TJPEGImage"; }
    // From another JPEG image (the compressed data is shared) or from any graphic through a bitmap.
    void Assign(const TPersistent* Source) override;

    int Width() const override;
    int Height() const override;
    void SetWidth(int) override;
    void SetHeight(int) override;
    bool Empty() const override { return FData.empty() && !FBitmap; }

    // 1..100, used by the next compression.
    int CompressionQuality() const { return FQuality; }
    void SetCompressionQuality(int value);
    // Decodes (and encodes) in shades of grey.
    bool Grayscale() const { return FGrayscale; }
    void SetGrayscale(bool value);
    bool ProgressiveEncoding() const { return FProgressive; }
    void SetProgressiveEncoding(bool value) { FProgressive = value; }
    TJPEGScale Scale() const { return FScale; }
    void SetScale(TJPEGScale value);
    TJPEGPerformance Performance() const { return FPerformance; }
    void SetPerformance(TJPEGPerformance value) { FPerformance = value; }

    // Decodes the pixels if they are not there yet.
    void DIBNeeded();
    // Encodes the pixels if there is no compressed data yet (or the settings changed).
    void JPEGNeeded();
    void Compress() { FData.clear(); JPEGNeeded(); }
    // The decoded picture (pf24bit); nullptr while empty.
    TBitmap* Bitmap();

    void LoadFromStream(std::istream& stream) override;
    void SaveToStream(std::ostream& stream) override;
    using TGraphic::LoadFromStream;
    using TGraphic::SaveToStream;
    // A 4-byte size, then the JPEG file as it is held (never encoded again).
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) override;

protected:
    void Draw(TCanvas* canvas, const TRect& rect) override;

private:
    void ReadHeader() const;
    std::vector<uint8_t> FData;
    std::unique_ptr<TBitmap> FBitmap;
    mutable int FWidth = 0;
    mutable int FHeight = 0;
    mutable bool FHeaderRead = false;
    int FQuality = 90;
    bool FGrayscale = false;
    bool FProgressive = false;
    TJPEGScale FScale = jsFullSize;
    TJPEGPerformance FPerformance = jpBestQuality;
};
