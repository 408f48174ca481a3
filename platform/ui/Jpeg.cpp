// TJPEGImage over libjpeg. Errors inside libjpeg return through longjmp to the calling function,
// which then raises EJPEG; no C++ object with a destructor lives between setjmp and the library.
#include "platform/ui/Jpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <iterator>
#include <ostream>

extern "C" {
#include <jpeglib.h>
}

namespace {

struct ErrorMgr {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info) {
    auto* e = reinterpret_cast<ErrorMgr*>(info->err);
    e->pub.format_message(info, e->message);
    longjmp(e->jump, 1);
}

void OnMessage(j_common_ptr, int) {}  // warnings are not shown

struct Decoded {
    int width = 0, height = 0, components = 0;
    J_COLOR_SPACE space = JCS_RGB;
    std::vector<uint8_t> pixels;  // rows of width * components
};

// Returns an error message, or an empty string on success. headerOnly stops after the header.
std::string Decode(const std::vector<uint8_t>& data, bool gray, int scaleDenom, bool fast, bool headerOnly,
                   Decoded& out) {
    jpeg_decompress_struct info;
    ErrorMgr err;
    std::memset(&info, 0, sizeof info);
    info.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    err.message[0] = 0;
    uint8_t* buffer = nullptr;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        std::free(buffer);
        return err.message[0] ? std::string(err.message) : std::string("JPEG error");
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, const_cast<unsigned char*>(data.data()), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    if (gray) info.out_color_space = JCS_GRAYSCALE;
    else if (info.jpeg_color_space != JCS_CMYK && info.jpeg_color_space != JCS_YCCK) info.out_color_space = JCS_RGB;
    info.scale_num = 1;
    info.scale_denom = static_cast<unsigned>(scaleDenom);
    if (fast) {
        info.dct_method = JDCT_IFAST;
        info.do_fancy_upsampling = FALSE;
    }
    jpeg_calc_output_dimensions(&info);
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    out.components = info.output_components;
    out.space = info.out_color_space;
    // A forged header of a few bytes can claim 65500 by 65500 pixels: refuse it before the buffer
    // is taken, as .bmp files are refused.
    if (static_cast<uint64_t>(out.width) * static_cast<uint64_t>(out.height) > (1u << 28)) {
        jpeg_destroy_decompress(&info);
        return "Image is too large";
    }
    if (headerOnly) {
        jpeg_destroy_decompress(&info);
        return "";
    }
    size_t stride = static_cast<size_t>(out.width) * out.components;
    buffer = static_cast<uint8_t*>(std::malloc(stride * out.height));
    if (!buffer) {
        jpeg_destroy_decompress(&info);
        return "Out of memory";
    }
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = buffer + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    out.pixels.assign(buffer, buffer + stride * out.height);
    std::free(buffer);
    return "";
}

std::string Encode(const uint8_t* rgb, int width, int height, int quality, bool gray, bool progressive,
                   std::vector<uint8_t>& out) {
    jpeg_compress_struct info;
    ErrorMgr err;
    std::memset(&info, 0, sizeof info);
    info.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    err.message[0] = 0;
    unsigned char* mem = nullptr;
    unsigned long memSize = 0;
    uint8_t* grayRow = nullptr;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&info);
        std::free(mem);
        std::free(grayRow);
        return err.message[0] ? std::string(err.message) : std::string("JPEG error");
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &mem, &memSize);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = gray ? 1 : 3;
    info.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (quality >= 100 && !gray) {
        // Full chroma resolution: at the highest quality the picture should come back as it went in.
        for (int i = 0; i < info.num_components; ++i) {
            info.comp_info[i].h_samp_factor = 1;
            info.comp_info[i].v_samp_factor = 1;
        }
    }
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    if (gray) grayRow = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(width)));
    while (info.next_scanline < info.image_height) {
        const uint8_t* src = rgb + static_cast<size_t>(info.next_scanline) * width * 3;
        JSAMPROW row;
        if (gray) {
            for (int x = 0; x < width; ++x)
                grayRow[x] = static_cast<uint8_t>((src[3 * x] * 299 + src[3 * x + 1] * 587 + src[3 * x + 2] * 114 + 500) / 1000);
            row = grayRow;
        } else {
            row = const_cast<JSAMPROW>(src);
        }
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    out.assign(mem, mem + memSize);
    std::free(mem);
    std::free(grayRow);
    return "";
}

int ScaleDenom(TJPEGScale s) { return 1 << static_cast<int>(s); }

}  // namespace

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::Assign(const TPersistent* Source) {
    if (!Source) {
        FData.clear();
        FBitmap.reset();
        FHeaderRead = false;
        Changed();
        return;
    }
    if (auto* j = dynamic_cast<const TJPEGImage*>(Source)) {
        if (j == this) return;
        FData = j->FData;
        FBitmap.reset();
        if (j->FBitmap) {
            FBitmap = std::make_unique<TBitmap>();
            FBitmap->Assign(j->FBitmap.get());
        }
        FQuality = j->FQuality;
        FGrayscale = j->FGrayscale;
        FProgressive = j->FProgressive;
        FScale = j->FScale;
        FPerformance = j->FPerformance;
        FHeaderRead = false;
        Changed();
        return;
    }
    if (auto* g = dynamic_cast<const TGraphic*>(Source)) {
        auto bmp = std::make_unique<TBitmap>();
        bmp->Assign(const_cast<TGraphic*>(g));
        bmp->SetPixelFormat(pf24bit);
        FBitmap = std::move(bmp);
        FData.clear();
        FHeaderRead = false;
        Changed();
        return;
    }
    TGraphic::Assign(Source);
}

void TJPEGImage::ReadHeader() const {
    if (FHeaderRead) return;
    FWidth = FHeight = 0;
    if (!FData.empty()) {
        Decoded d;
        std::string e = Decode(FData, FGrayscale, ScaleDenom(FScale), false, true, d);
        if (!e.empty()) throw EJPEG(String("JPEG error: ") + String(e));
        FWidth = d.width;
        FHeight = d.height;
    }
    FHeaderRead = true;
}

int TJPEGImage::Width() const {
    if (FBitmap) return FBitmap->Width();
    ReadHeader();
    return FWidth;
}
int TJPEGImage::Height() const {
    if (FBitmap) return FBitmap->Height();
    ReadHeader();
    return FHeight;
}
void TJPEGImage::SetWidth(int) { throw EInvalidGraphicOperation(String("Cannot change the size of a JPEG image")); }
void TJPEGImage::SetHeight(int) { throw EInvalidGraphicOperation(String("Cannot change the size of a JPEG image")); }

void TJPEGImage::SetCompressionQuality(int value) { FQuality = std::clamp(value, 1, 100); }

void TJPEGImage::SetGrayscale(bool value) {
    if (value == FGrayscale) return;
    FGrayscale = value;
    if (!FData.empty()) FBitmap.reset();  // decoded again in the new colour mode
    FHeaderRead = false;
    Changed();
}

void TJPEGImage::SetScale(TJPEGScale value) {
    if (value == FScale) return;
    FScale = value;
    if (!FData.empty()) FBitmap.reset();
    FHeaderRead = false;
    Changed();
}

void TJPEGImage::DIBNeeded() {
    if (FBitmap || FData.empty()) return;
    Decoded d;
    std::string e = Decode(FData, FGrayscale, ScaleDenom(FScale), FPerformance == jpBestSpeed, false, d);
    if (!e.empty()) throw EJPEG(String("JPEG error: ") + String(e));
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(pf24bit);
    bmp->SetSize(d.width, d.height);
    for (int y = 0; y < d.height; ++y) {
        const uint8_t* src = d.pixels.data() + static_cast<size_t>(y) * d.width * d.components;
        auto* dst = static_cast<uint8_t*>(bmp->ScanLine(y));
        for (int x = 0; x < d.width; ++x) {
            uint8_t r, g, b;
            if (d.components == 1) {
                r = g = b = src[x];
            } else if (d.components == 4) {
                // Adobe writes CMYK inverted.
                const uint8_t* p = src + 4 * x;
                r = static_cast<uint8_t>(p[0] * p[3] / 255);
                g = static_cast<uint8_t>(p[1] * p[3] / 255);
                b = static_cast<uint8_t>(p[2] * p[3] / 255);
            } else {
                r = src[3 * x];
                g = src[3 * x + 1];
                b = src[3 * x + 2];
            }
            dst[3 * x] = b;
            dst[3 * x + 1] = g;
            dst[3 * x + 2] = r;
        }
    }
    bmp->PixelsChanged();
    FBitmap = std::move(bmp);
}

void TJPEGImage::JPEGNeeded() {
    if (!FData.empty() || !FBitmap || FBitmap->Empty()) return;
    TBitmap rgb;
    rgb.Assign(FBitmap.get());
    rgb.SetPixelFormat(pf24bit);
    int w = rgb.Width(), h = rgb.Height();
    std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y) {
        const auto* src = static_cast<const uint8_t*>(rgb.ScanLine(y));
        uint8_t* dst = pixels.data() + static_cast<size_t>(y) * w * 3;
        for (int x = 0; x < w; ++x) {
            dst[3 * x] = src[3 * x + 2];
            dst[3 * x + 1] = src[3 * x + 1];
            dst[3 * x + 2] = src[3 * x];
        }
    }
    std::string e = Encode(pixels.data(), w, h, FQuality, FGrayscale, FProgressive, FData);
    if (!e.empty()) throw EJPEG(String("JPEG error: ") + String(e));
    FHeaderRead = false;
}

TBitmap* TJPEGImage::Bitmap() {
    DIBNeeded();
    return FBitmap.get();
}

void TJPEGImage::LoadFromStream(std::istream& stream) {
    std::vector<uint8_t> data((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    if (data.size() < 4 || data[0] != 0xFF || data[1] != 0xD8) throw EJPEG(String("Not a JPEG image"));
    FData = std::move(data);
    FBitmap.reset();
    FHeaderRead = false;
    ReadHeader();  // refuses a damaged header now rather than at the first paint
    Changed();
}

void TJPEGImage::SaveToStream(std::ostream& stream) {
    JPEGNeeded();
    if (FData.empty()) throw EInvalidGraphicOperation(String("Cannot save an empty JPEG image"));
    stream.write(reinterpret_cast<const char*>(FData.data()), static_cast<std::streamsize>(FData.size()));
    if (!stream) throw EWriteError(String("Stream write error"));
}

void TJPEGImage::Draw(TCanvas* canvas, const TRect& rect) {
    DIBNeeded();
    if (FBitmap) canvas->StretchDraw(rect, FBitmap.get());
}
