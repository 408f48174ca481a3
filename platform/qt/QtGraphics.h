#pragma once
// The graphics the Qt backend makes (see the graphics block of ui::Backend): pixel stores, the
// raster canvas, font faces, the PNG codec, and the pixels of curved regions.
#include <memory>
#include <vector>

#include "platform/ui/Graphics.h"
#include "platform/ui/backend/Canvas.h"
#include "platform/ui/backend/Fonts.h"
#include "platform/ui/backend/Pixels.h"

namespace qtb {

std::unique_ptr<ui::PixelStore> CreatePixelStore(TPixelFormat format);
std::unique_ptr<ui::CanvasImpl> CreateRasterCanvas(TCanvas& front);
std::unique_ptr<ui::FontFace> CreateFontFace(const TFont& font, bool antialias);
ui::ImageCodec& PngCodec();
std::vector<TRect> RegionRects(const ui::RegionShape& shape);

}  // namespace qtb
