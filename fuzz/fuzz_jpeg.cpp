// Any bytes as a JPEG file, loaded and drawn, at full size and at a quarter in grey. A picture
// that loads saves as the file it was loaded from; its pixels saved as a bitmap load back the
// same, and encoded again at the highest quality load back within the format's loss.
#include <cstdlib>

#include "fuzz/GraphicsFuzz.h"
#include "platform/ui/Jpeg.h"

namespace {

// The largest difference of any channel and the mean difference, in levels.
void Compare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int& largest, double& mean) {
    largest = 0;
    uint64_t sum = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const int d = std::abs(int{a[i]} - int{b[i]});
        largest = std::max(largest, d);
        sum += static_cast<uint64_t>(d);
    }
    mean = a.empty() ? 0 : static_cast<double>(sum) / static_cast<double>(a.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::Target();
    TJPEGImage jpeg;
    if (!fuzzing::LoadAndDraw(jpeg, data, size) || jpeg.Empty()) return 0;
    // Saved as held: the same file.
    if (jpeg.SaveToBytes() != std::vector<uint8_t>(data, data + size)) std::abort();
    TBitmap* decoded = jpeg.Bitmap();
    if (!decoded || decoded->Width() != jpeg.Width() || decoded->Height() != jpeg.Height()) std::abort();
    fuzzing::CheckBitmapRoundTrip(*decoded);
    // Encoded again at quality 100 (no chroma subsampling): the same size, every channel within 16
    // levels and on average within 1 (rounding in the transform and the colour conversion; the
    // seeds stay within 4 and 0.33).
    TJPEGImage again;
    again.Assign(decoded);
    again.SetCompressionQuality(100);
    TJPEGImage back;
    try {
        back.LoadFromBytes(again.SaveToBytes());
    } catch (const Exception&) {
        std::abort();
    }
    TBitmap* reread = back.Bitmap();
    if (!reread || reread->Width() != decoded->Width() || reread->Height() != decoded->Height()) std::abort();
    int largest;
    double mean;
    Compare(fuzzing::Rgb(*decoded), fuzzing::Rgb(*reread), largest, mean);
    if (largest > 16 || mean > 1) std::abort();

    try {
        jpeg.SetScale(jsQuarter);
        jpeg.SetGrayscale(true);
        fuzzing::DrawAll(jpeg);
    } catch (const EInvalidGraphic&) {
    }
    return 0;
}
