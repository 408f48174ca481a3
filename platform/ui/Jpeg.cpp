// TJPEGImage over libjpeg. Errors inside libjpeg return through longjmp to Guarded, which then
// reports the library's message; whatever a decode owns (the library's state, the bitmap it fills)
// lives outside the jump, in the caller, so every error path frees it.
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
#include <jerror.h>
}

namespace {

// The most memory one decode may hold: the bitmap it fills (three bytes a pixel) and the
// library's working memory, which for a progressive file holds the whole image's coefficients.
// A header that needs more is refused when it is read.
constexpr uint64_t kDecodeBudget = uint64_t{512} << 20;

// What a decode may take on the header's word alone; beyond it the file must hold the coded data
// of its whole first scan, or the header claims more than its bytes can make.
constexpr uint64_t kUnbackedAllowance = uint64_t{16} << 20;

// The fewest bits the first scan's coded data can take, from the scan header that reading the
// header stopped at. A Huffman code is at least one bit: a block of a sequential scan takes two
// (its DC difference and the end of its AC run), a first DC scan one; an AC scan can end 32767
// blocks with one code. Arithmetic coding can make a plain image almost nothing: no lower bound.
uint64_t LeastScanBits(const jpeg_decompress_struct& info) {
    if (info.arith_code || info.comps_in_scan < 1) return 0;
    uint64_t blocks = 0;
    if (info.comps_in_scan == 1) {
        const jpeg_component_info* c = info.cur_comp_info[0];
        blocks = uint64_t{c->width_in_blocks} * c->height_in_blocks;
    } else {
        const uint64_t mcuW = uint64_t{static_cast<unsigned>(info.max_h_samp_factor)} * DCTSIZE;
        const uint64_t mcuH = uint64_t{static_cast<unsigned>(info.max_v_samp_factor)} * DCTSIZE;
        uint64_t perMcu = 0;
        for (int i = 0; i < info.comps_in_scan; ++i)
            perMcu += uint64_t{static_cast<unsigned>(info.cur_comp_info[i]->h_samp_factor)} *
                      static_cast<unsigned>(info.cur_comp_info[i]->v_samp_factor);
        blocks = (info.image_width + mcuW - 1) / mcuW * ((info.image_height + mcuH - 1) / mcuH) * perMcu;
    }
    if (!info.progressive_mode) return 2 * blocks;
    return info.Ss == 0 ? blocks : blocks / 32767;
}

struct ErrorMgr {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    // The coded data ran out: the file ended, or a marker came where data should. Where it
    // happened: the scan (from 1) and the row of blocks being read.
    bool dry = false;
    int dryScan = 0;
    unsigned dryRow = 0;
};

void OnError(j_common_ptr info) {
    auto* e = reinterpret_cast<ErrorMgr*>(info->err);
    e->pub.format_message(info, e->message);
    longjmp(e->jump, 1);
}

// Warnings are not shown; the first end of the data is remembered.
void OnMessage(j_common_ptr info, int level) {
    auto* e = reinterpret_cast<ErrorMgr*>(info->err);
    int code = info->err->msg_code;
    if (level >= 0 || e->dry || (code != JWRN_JPEG_EOF && code != JWRN_HIT_MARKER) || !info->is_decompressor) return;
    auto* d = reinterpret_cast<j_decompress_ptr>(info);
    e->dry = true;
    e->dryScan = d->input_scan_number;
    e->dryRow = d->input_iMCU_row;
}

// Runs step with the library's errors caught: returns the library's message, or an empty string.
// No object with a destructor may live inside step, as the error jump passes over it.
template <class Step>
std::string Guarded(ErrorMgr& err, Step&& step) {
    if (setjmp(err.jump)) return err.message[0] ? std::string(err.message) : std::string("JPEG error");
    step();
    return std::string();
}

// One decode: the library's state, freed with the object whatever happened.
struct Decoder {
    jpeg_decompress_struct info;
    ErrorMgr err;
    int width = 0, height = 0, components = 0;
    uint64_t bitmapBytes = 0, workingBytes = 0;
    Decoder() {
        std::memset(&info, 0, sizeof info);
        info.err = jpeg_std_error(&err.pub);
        err.pub.error_exit = OnError;
        err.pub.emit_message = OnMessage;
        err.message[0] = 0;
    }
    ~Decoder() { jpeg_destroy_decompress(&info); }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
};

// Reads the header with the output settings and weighs the decode against the budget. Returns an
// error message, or an empty string.
std::string ReadHeader(Decoder& d, const std::vector<uint8_t>& data, bool gray, int scaleDenom, bool fast) {
    std::string e = Guarded(d.err, [&] {
        jpeg_decompress_struct& info = d.info;
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
        d.width = static_cast<int>(info.output_width);
        d.height = static_cast<int>(info.output_height);
        d.components = info.output_components;
        d.bitmapBytes = ((static_cast<uint64_t>(d.width) * 3 + 3) & ~uint64_t{3}) * d.height;
        if (jpeg_has_multiple_scans(&info)) {
            // The coefficients of the whole image, kept while the scans arrive.
            for (int i = 0; i < info.num_components; ++i) {
                const jpeg_component_info& c = info.comp_info[i];
                uint64_t w = (c.width_in_blocks + c.h_samp_factor - 1) / c.h_samp_factor * c.h_samp_factor;
                uint64_t h = (c.height_in_blocks + c.v_samp_factor - 1) / c.v_samp_factor * c.v_samp_factor;
                d.workingBytes += w * h * sizeof(JBLOCK);
            }
        }
    });
    if (e.empty() && d.bitmapBytes + d.workingBytes > kDecodeBudget) e = "Image is too large";
    if (e.empty() && d.bitmapBytes + d.workingBytes > kUnbackedAllowance &&
        LeastScanBits(d.info) > uint64_t{d.info.src->bytes_in_buffer} * 8)
        e = "Image is larger than the file's data can hold";
    return e;
}

// One row of the decoder's output (grey, RGB or inverted CMYK) as the bitmap's blue, green, red.
void ToBgr(const uint8_t* src, int width, int components, uint8_t* dst) {
    for (int x = 0; x < width; ++x) {
        uint8_t r, g, b;
        if (components == 1) {
            r = g = b = src[x];
        } else if (components == 4) {
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

// Decodes into bmp (pf24bit, the output size, white). Where the file's data ends the decode stops:
// the rows decoded so far are kept and the rest stay white, rather than the decoder making up grey
// rows for the whole remaining height. Returns an error message, or an empty string.
std::string DecodeInto(Decoder& d, TBitmap& bmp) {
    return Guarded(d.err, [&] {
        jpeg_decompress_struct& info = d.info;
        info.mem->max_memory_to_use = static_cast<long>(kDecodeBudget - d.bitmapBytes);
        jpeg_start_decompress(&info);
        // A file of several scans is read whole before the first row comes out: when its first
        // scan ran out, the rows below the blocks it reached hold nothing and are not made; when
        // a later one did, every row holds what the earlier scans gave.
        JDIMENSION rows = info.output_height;
        bool dryBefore = d.err.dry;
        if (dryBefore && d.err.dryScan <= 1) {
            uint64_t perRow = static_cast<uint64_t>(info.max_v_samp_factor) * info.min_DCT_scaled_size;
            rows = static_cast<JDIMENSION>(std::min<uint64_t>(rows, (uint64_t{d.err.dryRow} + 1) * perRow));
        }
        JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                   static_cast<JDIMENSION>(d.width * d.components), 1);
        while (info.output_scanline < rows) {
            int y = static_cast<int>(info.output_scanline);
            if (jpeg_read_scanlines(&info, row, 1) != 1) break;
            ToBgr(row[0], d.width, d.components, static_cast<uint8_t*>(bmp.ScanLine(y)));
            if (d.err.dry && !dryBefore) break;
        }
        if (info.output_scanline == info.output_height) jpeg_finish_decompress(&info);
    });
}

// One encode: the library's state, its output buffer and the grey row, freed with the object.
struct Encoder {
    jpeg_compress_struct info;
    ErrorMgr err;
    unsigned char* mem = nullptr;
    unsigned long memSize = 0;
    std::vector<uint8_t> grayRow;
    Encoder() {
        std::memset(&info, 0, sizeof info);
        info.err = jpeg_std_error(&err.pub);
        err.pub.error_exit = OnError;
        err.pub.emit_message = OnMessage;
        err.message[0] = 0;
    }
    ~Encoder() {
        jpeg_destroy_compress(&info);
        std::free(mem);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;
};

std::string Encode(const uint8_t* rgb, int width, int height, int quality, bool gray, bool progressive,
                   std::vector<uint8_t>& out) {
    Encoder c;
    if (gray) c.grayRow.resize(static_cast<size_t>(width));
    std::string e = Guarded(c.err, [&] {
        jpeg_compress_struct& info = c.info;
        jpeg_create_compress(&info);
        jpeg_mem_dest(&info, &c.mem, &c.memSize);
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
        while (info.next_scanline < info.image_height) {
            const uint8_t* src = rgb + static_cast<size_t>(info.next_scanline) * width * 3;
            JSAMPROW row;
            if (gray) {
                for (int x = 0; x < width; ++x)
                    c.grayRow[x] = static_cast<uint8_t>((src[3 * x] * 299 + src[3 * x + 1] * 587 + src[3 * x + 2] * 114 + 500) / 1000);
                row = c.grayRow.data();
            } else {
                row = const_cast<JSAMPROW>(src);
            }
            jpeg_write_scanlines(&info, &row, 1);
        }
        jpeg_finish_compress(&info);
    });
    if (e.empty()) out.assign(c.mem, c.mem + c.memSize);
    return e;
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
        Decoder d;
        std::string e = ::ReadHeader(d, FData, FGrayscale, ScaleDenom(FScale), false);
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
    Decoder d;
    std::string e = ::ReadHeader(d, FData, FGrayscale, ScaleDenom(FScale), FPerformance == jpBestSpeed);
    if (!e.empty()) throw EJPEG(String("JPEG error: ") + String(e));
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(pf24bit);
    bmp->SetSize(d.width, d.height);
    e = DecodeInto(d, *bmp);
    if (!e.empty()) throw EJPEG(String("JPEG error: ") + String(e));
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
    try {
        ReadHeader();  // refuses a damaged header now rather than at the first paint
    } catch (...) {
        // Refused data is not kept: a smaller scale must not decode what the full size refused.
        FData.clear();
        FHeaderRead = false;
        Changed();
        throw;
    }
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
