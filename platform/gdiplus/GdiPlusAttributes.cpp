// Image attributes: the colour adjustments applied to an image as it is drawn or made a texture.
#include <algorithm>
#include <cmath>

#include "platform/gdiplus/GdiPlusObjects.h"

namespace gdiplus {

namespace detail {

const Adjustments& ImageAttributes::For(ColorAdjustType type) const {
    const Adjustments& own = kinds[type];
    return own.any ? own : kinds[ColorAdjustTypeDefault];
}

ARGB Adjust(const Adjustments& a, ARGB color) {
    if (!a.any || a.noOp) return color;
    int c[4] = {int((color >> 16) & 0xFF), int((color >> 8) & 0xFF), int(color & 0xFF), int(color >> 24)};  // r g b a
    // The key looks at the colour as it comes, each of red, green and blue within its range.
    if (a.colorKey) {
        ARGB lo = a.colorKey->first, hi = a.colorKey->second;
        bool inside = true;
        for (int shift : {16, 8, 0}) {
            int v = (color >> shift) & 0xFF;
            inside = inside && v >= int((lo >> shift) & 0xFF) && v <= int((hi >> shift) & 0xFF);
        }
        if (inside) return 0;
    }
    for (const ColorMap& m : a.remap) {
        if (m.oldColor == color) {
            ARGB n = m.newColor;
            c[0] = (n >> 16) & 0xFF, c[1] = (n >> 8) & 0xFF, c[2] = n & 0xFF, c[3] = n >> 24;
            break;
        }
    }
    if (a.matrix) {
        bool gray = c[0] == c[1] && c[1] == c[2];
        const ColorMatrix* m = &a.colorMatrix;
        if (gray && a.matrixFlags == ColorMatrixFlagsAltGray) m = &a.grayMatrix;
        if (!(gray && a.matrixFlags == ColorMatrixFlagsSkipGrays)) {
            double in[5] = {c[0] / 255.0, c[1] / 255.0, c[2] / 255.0, c[3] / 255.0, 1};
            for (int j = 0; j < 4; ++j) {
                double v = 0;
                for (int i = 0; i < 5; ++i) v += in[i] * m->m[i][j];
                c[j] = static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
            }
        }
    }
    if (a.gamma)
        for (int j = 0; j < 3; ++j) c[j] = static_cast<int>(std::lround(std::pow(c[j] / 255.0, *a.gamma) * 255));
    if (a.threshold)
        for (int j = 0; j < 3; ++j) c[j] = c[j] / 255.0 >= *a.threshold ? 255 : 0;
    if (a.channel) {
        // One channel of the colour's CMYK as a grey level: the more ink, the darker.
        int v = *a.channel == ColorChannelFlagsK ? std::max({c[0], c[1], c[2]}) : c[*a.channel];
        c[0] = c[1] = c[2] = v;
    }
    return (ARGB(c[3]) << 24) | (ARGB(c[0]) << 16) | (ARGB(c[1]) << 8) | ARGB(c[2]);
}

void AdjustRaster(const Adjustments& a, Raster& raster) {
    if (!a.any || a.noOp) return;
    for (uint32_t& p : raster.pixels) p = Adjust(a, p);
}

}  // namespace detail

using namespace detail;

namespace {

// Runs f on the adjustments of one kind (ColorAdjustTypeDefault to ColorAdjustTypeText) and
// marks the kind as having settings of its own.
template <class F>
Status WithKind(GpImageAttributes* handle, ColorAdjustType type, F f) {
    return Call([&] {
        ImageAttributes* ia = Find<ImageAttributes>(handle);
        if (!ia || type < ColorAdjustTypeDefault || type >= ColorAdjustTypeCount) return InvalidParameter;
        Adjustments& a = ia->kinds[type];
        Status s = f(a);
        if (s == Ok) a.any = true;
        return s;
    });
}

}  // namespace

Status GdipCreateImageAttributes(GpImageAttributes** imageattr) {
    return Call([&] { return imageattr ? Hand(std::make_unique<ImageAttributes>(), imageattr) : InvalidParameter; });
}

Status GdipCloneImageAttributes(const GpImageAttributes* imageattr, GpImageAttributes** clone) {
    return Call([&] {
        ImageAttributes* ia = Find<ImageAttributes>(imageattr);
        if (!ia || !clone) return InvalidParameter;
        return Hand(std::make_unique<ImageAttributes>(*ia), clone);
    });
}

Status GdipDisposeImageAttributes(GpImageAttributes* imageattr) {
    return Call([&] { return Unregister(imageattr, Kind::ImageAttributes) ? Ok : InvalidParameter; });
}

// Identity: the kind has settings of its own that change nothing.
Status GdipSetImageAttributesToIdentity(GpImageAttributes* imageattr, ColorAdjustType type) {
    return WithKind(imageattr, type, [](Adjustments& a) {
        a = Adjustments();
        return Ok;
    });
}

Status GdipResetImageAttributes(GpImageAttributes* imageattr, ColorAdjustType type) {
    Status s = WithKind(imageattr, type, [](Adjustments& a) {
        a = Adjustments();
        return Ok;
    });
    if (s != Ok) return s;
    // Reset leaves the kind to take the default kind's adjustments again.
    return Call([&] {
        Find<ImageAttributes>(imageattr)->kinds[type].any = false;
        return Ok;
    });
}

Status GdipSetImageAttributesColorMatrix(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                         const ColorMatrix* colorMatrix, const ColorMatrix* grayMatrix, ColorMatrixFlags flags) {
    return WithKind(imageattr, type, [&](Adjustments& a) {
        if (!enableFlag) {
            a.matrix = false;
            return Ok;
        }
        if (!colorMatrix || flags < ColorMatrixFlagsDefault || flags > ColorMatrixFlagsAltGray) return InvalidParameter;
        if (flags == ColorMatrixFlagsAltGray && !grayMatrix) return InvalidParameter;
        a.matrix = true;
        a.colorMatrix = *colorMatrix;
        a.grayMatrix = grayMatrix ? *grayMatrix : ColorMatrix();
        a.matrixFlags = flags;
        return Ok;
    });
}

Status GdipSetImageAttributesThreshold(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag, REAL threshold) {
    return WithKind(imageattr, type, [&](Adjustments& a) {
        if (enableFlag && !std::isfinite(threshold)) return InvalidParameter;
        a.threshold = enableFlag ? std::optional<double>(threshold) : std::nullopt;
        return Ok;
    });
}

Status GdipSetImageAttributesGamma(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag, REAL gamma) {
    return WithKind(imageattr, type, [&](Adjustments& a) {
        if (enableFlag && (!(gamma > 0) || !std::isfinite(gamma))) return InvalidParameter;
        a.gamma = enableFlag ? std::optional<double>(gamma) : std::nullopt;
        return Ok;
    });
}

Status GdipSetImageAttributesNoOp(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag) {
    return WithKind(imageattr, type, [&](Adjustments& a) {
        a.noOp = enableFlag;
        return Ok;
    });
}

Status GdipSetImageAttributesColorKeys(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag, ARGB colorLow,
                                       ARGB colorHigh) {
    return WithKind(imageattr, type, [&](Adjustments& a) {
        a.colorKey = enableFlag ? std::optional(std::make_pair(colorLow, colorHigh)) : std::nullopt;
        return Ok;
    });
}

Status GdipSetImageAttributesOutputChannel(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                           ColorChannelFlags channelFlags) {
    return WithKind(imageattr, type, [&](Adjustments& a) {
        if (!enableFlag || channelFlags == ColorChannelFlagsLast) {
            a.channel.reset();
            return Ok;
        }
        if (channelFlags < ColorChannelFlagsC || channelFlags > ColorChannelFlagsK) return InvalidParameter;
        a.channel = channelFlags;
        return Ok;
    });
}

Status GdipSetImageAttributesOutputChannelColorProfile(GpImageAttributes* imageattr, ColorAdjustType type, BOOL,
                                                       const WCHAR*) {
    return Call([&] {
        // Colour profiles of output devices have no meaning here.
        if (!Find<ImageAttributes>(imageattr) || type < ColorAdjustTypeDefault || type >= ColorAdjustTypeCount) return InvalidParameter;
        return NotImplemented;
    });
}

Status GdipSetImageAttributesRemapTable(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag, UINT mapSize,
                                        const ColorMap* map) {
    return WithKind(imageattr, type, [&](Adjustments& a) {
        if (!enableFlag) {
            a.remap.clear();
            return Ok;
        }
        if (!map || mapSize == 0) return InvalidParameter;
        a.remap.assign(map, map + mapSize);
        return Ok;
    });
}

Status GdipSetImageAttributesWrapMode(GpImageAttributes* imageAttr, WrapMode wrap, ARGB argb, BOOL) {
    return Call([&] {
        ImageAttributes* ia = Find<ImageAttributes>(imageAttr);
        if (!ia || !ValidWrap(wrap)) return InvalidParameter;
        ia->wrap = wrap;
        ia->wrapColor = argb;
        return Ok;
    });
}

Status GdipGetImageAttributesAdjustedPalette(GpImageAttributes* imageAttr, ColorPalette* colorPalette,
                                             ColorAdjustType colorAdjustType) {
    return Call([&] {
        ImageAttributes* ia = Find<ImageAttributes>(imageAttr);
        if (!ia || !colorPalette || colorPalette->Count == 0 || colorAdjustType < ColorAdjustTypeDefault ||
            colorAdjustType >= ColorAdjustTypeCount)
            return InvalidParameter;
        const Adjustments& a = ia->For(colorAdjustType);
        // The entries run on past the one the record declares.
        ARGB* entries = colorPalette->Entries;
        for (UINT i = 0; i < colorPalette->Count; ++i) entries[i] = Adjust(a, entries[i]);
        return Ok;
    });
}

}  // namespace gdiplus
