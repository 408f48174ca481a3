#pragma once
// The GDI+ flat API: one function per operation on graphics surfaces, paths, regions, matrices,
// pens, brushes, font families, fonts, string formats, images and image attributes. Every
// function answers a Status; a nil or stale handle where one is required, or a nil out pointer,
// answers InvalidParameter, and every call but the start-up ones answers GdiplusNotInitialized
// while GDI+ is not started. Drawing goes through the backend's GDI+ engine (Engine.h); what a
// backend lacks answers NotImplemented. Calls may come from any thread: they are taken one at a
// time.
#include "platform/gdiplus/GdiPlusTypes.h"
#include "platform/ole/Stream.h"
#include "platform/ui/Gdi.h"

namespace gdiplus {

// Process.
Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, GdiplusStartupOutput* output);
void GdiplusShutdown(ULONG_PTR token);
// Memory of GDI+'s heap: nullptr while GDI+ is not started.
void* GdipAlloc(size_t size);
void GdipFree(void* block);
// The layer's own: the objects whose handles are live, the three generic font families left out
// (tests check that a handle went with its owner).
size_t GdipLiveObjects();

// Graphics.
Status GdipCreateFromHDC(HDC hdc, GpGraphics** graphics);
Status GdipGetImageGraphicsContext(GpImage* image, GpGraphics** graphics);
Status GdipDeleteGraphics(GpGraphics* graphics);
Status GdipFlush(GpGraphics* graphics, FlushIntention intention);
Status GdipGraphicsClear(GpGraphics* graphics, ARGB color);
Status GdipSetWorldTransform(GpGraphics* graphics, GpMatrix* matrix);
Status GdipResetWorldTransform(GpGraphics* graphics);
Status GdipGetWorldTransform(GpGraphics* graphics, GpMatrix* matrix);
Status GdipMultiplyWorldTransform(GpGraphics* graphics, const GpMatrix* matrix, MatrixOrder order);
Status GdipTranslateWorldTransform(GpGraphics* graphics, REAL dx, REAL dy, MatrixOrder order);
Status GdipScaleWorldTransform(GpGraphics* graphics, REAL sx, REAL sy, MatrixOrder order);
Status GdipRotateWorldTransform(GpGraphics* graphics, REAL angle, MatrixOrder order);
Status GdipGetDC(GpGraphics* graphics, HDC* hdc);
Status GdipReleaseDC(GpGraphics* graphics, HDC hdc);
Status GdipSetCompositingQuality(GpGraphics* graphics, CompositingQuality quality);
Status GdipGetCompositingQuality(GpGraphics* graphics, CompositingQuality* quality);
Status GdipSetTextRenderingHint(GpGraphics* graphics, TextRenderingHint mode);
Status GdipGetTextRenderingHint(GpGraphics* graphics, TextRenderingHint* mode);
Status GdipSetSmoothingMode(GpGraphics* graphics, SmoothingMode mode);
Status GdipGetSmoothingMode(GpGraphics* graphics, SmoothingMode* mode);
Status GdipSetClipRect(GpGraphics* graphics, REAL x, REAL y, REAL width, REAL height, CombineMode mode);
Status GdipSetClipRectI(GpGraphics* graphics, INT x, INT y, INT width, INT height, CombineMode mode);
Status GdipSetClipRegion(GpGraphics* graphics, GpRegion* region, CombineMode mode);
Status GdipSetClipPath(GpGraphics* graphics, GpPath* path, CombineMode mode);
Status GdipResetClip(GpGraphics* graphics);

Status GdipDrawLine(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2);
Status GdipDrawLineI(GpGraphics* graphics, GpPen* pen, INT x1, INT y1, INT x2, INT y2);
Status GdipDrawRectangle(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height);
Status GdipDrawRectangleI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height);
Status GdipFillRectangle(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height);
Status GdipFillRectangleI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height);
// Angles in degrees, clockwise from the positive x axis.
Status GdipDrawArc(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
Status GdipDrawArcI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height, REAL startAngle, REAL sweepAngle);
Status GdipDrawEllipse(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height);
Status GdipDrawEllipseI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height);
Status GdipFillEllipse(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height);
Status GdipFillEllipseI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height);
Status GdipDrawPolygon(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count);
Status GdipDrawPolygonI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count);
Status GdipFillPolygon(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count, FillMode fillMode);
Status GdipFillPolygonI(GpGraphics* graphics, GpBrush* brush, const GpPoint* points, INT count, FillMode fillMode);
Status GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path);
Status GdipFillPath(GpGraphics* graphics, GpBrush* brush, GpPath* path);
// At the image's size in pixels.
Status GdipDrawImage(GpGraphics* graphics, GpImage* image, REAL x, REAL y);
Status GdipDrawImageI(GpGraphics* graphics, GpImage* image, INT x, INT y);
Status GdipDrawImageRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL width, REAL height);
Status GdipDrawImageRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT width, INT height);
Status GdipDrawImageRectRect(GpGraphics* graphics, GpImage* image, REAL dstx, REAL dsty, REAL dstwidth, REAL dstheight,
                             REAL srcx, REAL srcy, REAL srcwidth, REAL srcheight, Unit srcUnit,
                             const GpImageAttributes* imageAttributes, DrawImageAbort callback, void* callbackData);
Status GdipDrawImageRectRectI(GpGraphics* graphics, GpImage* image, INT dstx, INT dsty, INT dstwidth, INT dstheight,
                              INT srcx, INT srcy, INT srcwidth, INT srcheight, Unit srcUnit,
                              const GpImageAttributes* imageAttributes, DrawImageAbort callback, void* callbackData);
// length -1: up to the terminating NUL.
Status GdipDrawString(GpGraphics* graphics, const WCHAR* string, INT length, const GpFont* font, const GpRectF* layoutRect,
                      const GpStringFormat* format, const GpBrush* brush);
// codepointsFitted and linesFilled may be nullptr.
Status GdipMeasureString(GpGraphics* graphics, const WCHAR* string, INT length, const GpFont* font, const GpRectF* layoutRect,
                         const GpStringFormat* format, GpRectF* boundingBox, INT* codepointsFitted, INT* linesFilled);

// Paths.
Status GdipCreatePath(FillMode fillMode, GpPath** path);
Status GdipDeletePath(GpPath* path);
Status GdipResetPath(GpPath* path);
Status GdipGetPointCount(GpPath* path, INT* count);
Status GdipGetPathPoints(GpPath* path, GpPointF* points, INT count);
Status GdipGetPathTypes(GpPath* path, BYTE* types, INT count);
Status GdipGetPathFillMode(GpPath* path, FillMode* fillMode);
Status GdipSetPathFillMode(GpPath* path, FillMode fillMode);
Status GdipClosePathFigure(GpPath* path);
Status GdipAddPathLine(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2);
Status GdipAddPathLineI(GpPath* path, INT x1, INT y1, INT x2, INT y2);
Status GdipAddPathLine2(GpPath* path, const GpPointF* points, INT count);
Status GdipAddPathLine2I(GpPath* path, const GpPoint* points, INT count);
Status GdipAddPathRectangle(GpPath* path, REAL x, REAL y, REAL width, REAL height);
Status GdipAddPathRectangleI(GpPath* path, INT x, INT y, INT width, INT height);
Status GdipAddPathArc(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
Status GdipAddPathArcI(GpPath* path, INT x, INT y, INT width, INT height, REAL startAngle, REAL sweepAngle);
Status GdipAddPathEllipse(GpPath* path, REAL x, REAL y, REAL width, REAL height);
Status GdipAddPathEllipseI(GpPath* path, INT x, INT y, INT width, INT height);
Status GdipAddPathPie(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
Status GdipAddPathPieI(GpPath* path, INT x, INT y, INT width, INT height, REAL startAngle, REAL sweepAngle);
Status GdipAddPathPolygon(GpPath* path, const GpPointF* points, INT count);
Status GdipAddPathPolygonI(GpPath* path, const GpPoint* points, INT count);
// A cardinal spline through the points; tension 0.5 when not given.
Status GdipAddPathCurve(GpPath* path, const GpPointF* points, INT count);
Status GdipAddPathCurveI(GpPath* path, const GpPoint* points, INT count);
Status GdipAddPathCurve2(GpPath* path, const GpPointF* points, INT count, REAL tension);
Status GdipAddPathCurve2I(GpPath* path, const GpPoint* points, INT count, REAL tension);
Status GdipAddPathBezier(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4, REAL y4);
Status GdipAddPathBezierI(GpPath* path, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4, INT y4);
// The outlines of the text laid out in the rectangle; emSize in world units.
Status GdipAddPathString(GpPath* path, const WCHAR* string, INT length, const GpFontFamily* family, INT style, REAL emSize,
                         const GpRectF* layoutRect, const GpStringFormat* format);
Status GdipAddPathStringI(GpPath* path, const WCHAR* string, INT length, const GpFontFamily* family, INT style, REAL emSize,
                          const GpRect* layoutRect, const GpStringFormat* format);

// Regions.
Status GdipCreateRegion(GpRegion** region);
Status GdipCreateRegionRect(const GpRectF* rect, GpRegion** region);
Status GdipCreateRegionRectI(const GpRect* rect, GpRegion** region);
Status GdipCreateRegionPath(GpPath* path, GpRegion** region);
Status GdipDeleteRegion(GpRegion* region);
Status GdipCombineRegionRect(GpRegion* region, const GpRectF* rect, CombineMode mode);
Status GdipCombineRegionRectI(GpRegion* region, const GpRect* rect, CombineMode mode);
Status GdipCombineRegionPath(GpRegion* region, GpPath* path, CombineMode mode);
Status GdipCombineRegionRegion(GpRegion* region, GpRegion* other, CombineMode mode);

// Matrices: (x, y) maps to (m11 x + m21 y + dx, m12 x + m22 y + dy).
Status GdipCreateMatrix(GpMatrix** matrix);
Status GdipCreateMatrix2(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy, GpMatrix** matrix);
// Maps the rectangle onto the parallelogram of its top-left, top-right and bottom-left corners.
Status GdipCreateMatrix3(const GpRectF* rect, const GpPointF* dstplg, GpMatrix** matrix);
Status GdipCreateMatrix3I(const GpRect* rect, const GpPoint* dstplg, GpMatrix** matrix);
Status GdipCloneMatrix(GpMatrix* matrix, GpMatrix** clone);
Status GdipDeleteMatrix(GpMatrix* matrix);
Status GdipSetMatrixElements(GpMatrix* matrix, REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy);
// Six values: m11, m12, m21, m22, dx, dy.
Status GdipGetMatrixElements(const GpMatrix* matrix, REAL* elements);
Status GdipMultiplyMatrix(GpMatrix* matrix, GpMatrix* other, MatrixOrder order);
Status GdipTranslateMatrix(GpMatrix* matrix, REAL offsetX, REAL offsetY, MatrixOrder order);
Status GdipScaleMatrix(GpMatrix* matrix, REAL scaleX, REAL scaleY, MatrixOrder order);
// Degrees, clockwise on a surface whose y axis points down.
Status GdipRotateMatrix(GpMatrix* matrix, REAL angle, MatrixOrder order);
Status GdipShearMatrix(GpMatrix* matrix, REAL shearX, REAL shearY, MatrixOrder order);
// A singular matrix refuses with InvalidParameter and stays as it was.
Status GdipInvertMatrix(GpMatrix* matrix);
Status GdipTransformMatrixPoints(GpMatrix* matrix, GpPointF* points, INT count);
Status GdipTransformMatrixPointsI(GpMatrix* matrix, GpPoint* points, INT count);
Status GdipVectorTransformMatrixPoints(GpMatrix* matrix, GpPointF* points, INT count);
Status GdipVectorTransformMatrixPointsI(GpMatrix* matrix, GpPoint* points, INT count);
Status GdipIsMatrixInvertible(const GpMatrix* matrix, BOOL* result);
Status GdipIsMatrixIdentity(const GpMatrix* matrix, BOOL* result);

// Pens.
Status GdipCreatePen1(ARGB color, REAL width, Unit unit, GpPen** pen);
Status GdipCreatePen2(GpBrush* brush, REAL width, Unit unit, GpPen** pen);
Status GdipDeletePen(GpPen* pen);
Status GdipSetPenWidth(GpPen* pen, REAL width);
Status GdipGetPenWidth(GpPen* pen, REAL* width);
Status GdipSetPenUnit(GpPen* pen, Unit unit);
Status GdipGetPenUnit(GpPen* pen, Unit* unit);
Status GdipSetPenColor(GpPen* pen, ARGB color);
Status GdipGetPenColor(GpPen* pen, ARGB* color);
Status GdipSetPenBrushFill(GpPen* pen, GpBrush* brush);
// A new brush, a copy of the pen's; the caller deletes it.
Status GdipGetPenBrushFill(GpPen* pen, GpBrush** brush);
Status GdipGetPenFillType(GpPen* pen, PenType* type);
Status GdipSetPenDashStyle(GpPen* pen, DashStyle style);
Status GdipGetPenDashStyle(GpPen* pen, DashStyle* style);
Status GdipSetPenEndCap(GpPen* pen, LineCap cap);
Status GdipGetPenEndCap(GpPen* pen, LineCap* cap);

// Brushes.
Status GdipCloneBrush(GpBrush* brush, GpBrush** clone);
Status GdipDeleteBrush(GpBrush* brush);
Status GdipGetBrushType(GpBrush* brush, BrushType* type);
Status GdipCreateSolidFill(ARGB color, GpSolidFill** brush);
Status GdipSetSolidFillColor(GpSolidFill* brush, ARGB color);
Status GdipGetSolidFillColor(GpSolidFill* brush, ARGB* color);
Status GdipCreateHatchBrush(HatchStyle style, ARGB foreColor, ARGB backColor, GpHatch** brush);
Status GdipGetHatchStyle(GpHatch* brush, HatchStyle* style);
Status GdipGetHatchForegroundColor(GpHatch* brush, ARGB* color);
Status GdipGetHatchBackgroundColor(GpHatch* brush, ARGB* color);
// A texture keeps a copy of the image (of the part given, in pixels).
Status GdipCreateTexture(GpImage* image, WrapMode wrapMode, GpTexture** texture);
Status GdipCreateTexture2(GpImage* image, WrapMode wrapMode, REAL x, REAL y, REAL width, REAL height, GpTexture** texture);
Status GdipCreateTexture2I(GpImage* image, WrapMode wrapMode, INT x, INT y, INT width, INT height, GpTexture** texture);
// The image as the attributes adjust it for brushes, wrapped by their wrap mode.
Status GdipCreateTextureIA(GpImage* image, const GpImageAttributes* imageAttributes, REAL x, REAL y, REAL width, REAL height,
                           GpTexture** texture);
Status GdipCreateTextureIAI(GpImage* image, const GpImageAttributes* imageAttributes, INT x, INT y, INT width, INT height,
                            GpTexture** texture);
Status GdipSetTextureTransform(GpTexture* brush, const GpMatrix* matrix);
Status GdipGetTextureTransform(GpTexture* brush, GpMatrix* matrix);
Status GdipResetTextureTransform(GpTexture* brush);
Status GdipTranslateTextureTransform(GpTexture* brush, REAL dx, REAL dy, MatrixOrder order);
Status GdipScaleTextureTransform(GpTexture* brush, REAL sx, REAL sy, MatrixOrder order);
Status GdipRotateTextureTransform(GpTexture* brush, REAL angle, MatrixOrder order);
Status GdipSetTextureWrapMode(GpTexture* brush, WrapMode wrapMode);
Status GdipGetTextureWrapMode(GpTexture* brush, WrapMode* wrapMode);
// A new image, a copy of the texture's; the caller disposes of it.
Status GdipGetTextureImage(GpTexture* brush, GpImage** image);
Status GdipCreateLineBrush(const GpPointF* point1, const GpPointF* point2, ARGB color1, ARGB color2, WrapMode wrapMode,
                           GpLineGradient** brush);
Status GdipCreateLineBrushI(const GpPoint* point1, const GpPoint* point2, ARGB color1, ARGB color2, WrapMode wrapMode,
                            GpLineGradient** brush);
Status GdipCreateLineBrushFromRect(const GpRectF* rect, ARGB color1, ARGB color2, LinearGradientMode mode, WrapMode wrapMode,
                                   GpLineGradient** brush);
Status GdipCreateLineBrushFromRectI(const GpRect* rect, ARGB color1, ARGB color2, LinearGradientMode mode, WrapMode wrapMode,
                                    GpLineGradient** brush);
Status GdipCreateLineBrushFromRectWithAngle(const GpRectF* rect, ARGB color1, ARGB color2, REAL angle, BOOL isAngleScalable,
                                            WrapMode wrapMode, GpLineGradient** brush);
Status GdipCreateLineBrushFromRectWithAngleI(const GpRect* rect, ARGB color1, ARGB color2, REAL angle, BOOL isAngleScalable,
                                             WrapMode wrapMode, GpLineGradient** brush);
Status GdipGetLineColors(GpLineGradient* brush, ARGB* colors);
Status GdipSetLineGammaCorrection(GpLineGradient* brush, BOOL useGammaCorrection);
Status GdipGetLineGammaCorrection(GpLineGradient* brush, BOOL* useGammaCorrection);
// Colours at positions from 0 to 1, the first at 0 and the last at 1; count at least 2.
Status GdipSetLinePresetBlend(GpLineGradient* brush, const ARGB* colors, const REAL* positions, INT count);
Status GdipCreatePathGradientFromPath(const GpPath* path, GpPathGradient** brush);
Status GdipGetPathGradientCenterColor(GpPathGradient* brush, ARGB* color);
Status GdipSetPathGradientCenterColor(GpPathGradient* brush, ARGB color);
Status GdipGetPathGradientPointCount(GpPathGradient* brush, INT* count);
Status GdipGetPathGradientSurroundColorCount(GpPathGradient* brush, INT* count);
// count in: the room; out: the colours delivered (one per point of the path).
Status GdipGetPathGradientSurroundColorsWithCount(GpPathGradient* brush, ARGB* colors, INT* count);
// Colours of the path's points in order, the last one repeated for the points after it.
Status GdipSetPathGradientSurroundColorsWithCount(GpPathGradient* brush, const ARGB* colors, INT* count);
Status GdipGetPathGradientCenterPoint(GpPathGradient* brush, GpPointF* point);
Status GdipGetPathGradientCenterPointI(GpPathGradient* brush, GpPoint* point);
Status GdipSetPathGradientCenterPoint(GpPathGradient* brush, const GpPointF* point);
Status GdipSetPathGradientCenterPointI(GpPathGradient* brush, const GpPoint* point);
Status GdipSetPathGradientWrapMode(GpPathGradient* brush, WrapMode wrapMode);
Status GdipGetPathGradientWrapMode(GpPathGradient* brush, WrapMode* wrapMode);
Status GdipSetPathGradientGammaCorrection(GpPathGradient* brush, BOOL useGammaCorrection);
Status GdipGetPathGradientGammaCorrection(GpPathGradient* brush, BOOL* useGammaCorrection);
// Positions from 0 (the boundary) to 1 (the centre).
Status GdipSetPathGradientPresetBlend(GpPathGradient* brush, const ARGB* colors, const REAL* positions, INT count);

// Font families and fonts. A family is found among the installed fonts and through the layer's
// map of font names; any other name answers FontFamilyNotFound.
Status GdipCreateFontFamilyFromName(const WCHAR* name, GpFontCollection* fontCollection, GpFontFamily** family);
Status GdipDeleteFontFamily(GpFontFamily* family);
Status GdipCloneFontFamily(GpFontFamily* family, GpFontFamily** clone);
// One family object each for the process; deleting them does nothing.
Status GdipGetGenericFontFamilySansSerif(GpFontFamily** family);
Status GdipGetGenericFontFamilySerif(GpFontFamily** family);
Status GdipGetGenericFontFamilyMonospace(GpFontFamily** family);
// name: room for LF_FACESIZE (32) characters.
Status GdipGetFamilyName(const GpFontFamily* family, WCHAR* name, WORD language);
Status GdipCreateFont(const GpFontFamily* family, REAL emSize, INT style, Unit unit, GpFont** font);
Status GdipDeleteFont(GpFont* font);
Status GdipGetFamily(GpFont* font, GpFontFamily** family);
Status GdipGetFontSize(GpFont* font, REAL* size);
Status GdipGetFontStyle(GpFont* font, INT* style);
Status GdipGetFontUnit(GpFont* font, Unit* unit);

// String formats.
Status GdipCreateStringFormat(INT formatAttributes, WORD language, GpStringFormat** format);
Status GdipCloneStringFormat(const GpStringFormat* format, GpStringFormat** clone);
Status GdipDeleteStringFormat(GpStringFormat* format);
Status GdipSetStringFormatFlags(GpStringFormat* format, INT flags);
Status GdipGetStringFormatFlags(const GpStringFormat* format, INT* flags);
Status GdipSetStringFormatAlign(GpStringFormat* format, StringAlignment align);
Status GdipGetStringFormatAlign(const GpStringFormat* format, StringAlignment* align);
Status GdipSetStringFormatLineAlign(GpStringFormat* format, StringAlignment align);
Status GdipGetStringFormatLineAlign(const GpStringFormat* format, StringAlignment* align);
Status GdipSetStringFormatTrimming(GpStringFormat* format, StringTrimming trimming);
Status GdipGetStringFormatTrimming(const GpStringFormat* format, StringTrimming* trimming);
Status GdipSetStringFormatHotkeyPrefix(GpStringFormat* format, INT hotkeyPrefix);
Status GdipGetStringFormatHotkeyPrefix(const GpStringFormat* format, INT* hotkeyPrefix);

// Images. Loading reads the file or the stream from its position to its end; BMP, JPEG, PNG,
// GIF (its first frame), TIFF (its first page), icons, EMF and WMF are read.
Status GdipLoadImageFromFile(const WCHAR* filename, GpImage** image);
Status GdipLoadImageFromFileICM(const WCHAR* filename, GpImage** image);
Status GdipLoadImageFromStream(IStream* stream, GpImage** image);
Status GdipLoadImageFromStreamICM(IStream* stream, GpImage** image);
Status GdipCreateBitmapFromStream(IStream* stream, GpBitmap** bitmap);
Status GdipCreateBitmapFromStreamICM(IStream* stream, GpBitmap** bitmap);
// A new bitmap of the format, its pixels zero; the layer keeps the pixels itself, so scan0 must
// be nullptr and stride 0.
Status GdipCreateBitmapFromScan0(INT width, INT height, INT stride, PixelFormat format, BYTE* scan0, GpBitmap** bitmap);
Status GdipCloneImage(GpImage* image, GpImage** clone);
Status GdipDisposeImage(GpImage* image);
Status GdipGetImageRawFormat(GpImage* image, GUID* format);
Status GdipGetImagePixelFormat(GpImage* image, PixelFormat* format);
Status GdipGetImageWidth(GpImage* image, UINT* width);
Status GdipGetImageHeight(GpImage* image, UINT* height);
// 0 by 0 asks for 120 by 120.
Status GdipGetImageThumbnail(GpImage* image, UINT thumbWidth, UINT thumbHeight, GpImage** thumbImage,
                             GetThumbnailImageAbort callback, void* callbackData);
Status GdipImageRotateFlip(GpImage* image, RotateFlipType type);
Status GdipBitmapGetPixel(GpBitmap* bitmap, INT x, INT y, ARGB* color);
Status GdipBitmapSetPixel(GpBitmap* bitmap, INT x, INT y, ARGB color);
// A bitmap of the GDI table (DeleteObject frees it), the pixels laid over the background.
Status GdipCreateHBITMAPFromBitmap(GpBitmap* bitmap, HBITMAP* hbmReturn, ARGB background);
// With EncoderSaveFlag EncoderValueMultiFrame (TIFF only) the save stays open for
// GdipSaveAddImage, each frame a new page, until GdipSaveAdd with EncoderValueFlush.
Status GdipSaveImageToFile(GpImage* image, const WCHAR* filename, const CLSID* clsidEncoder,
                           const EncoderParameters* encoderParams);
Status GdipSaveImageToStream(GpImage* image, IStream* stream, const CLSID* clsidEncoder,
                             const EncoderParameters* encoderParams);
Status GdipSaveAdd(GpImage* image, const EncoderParameters* encoderParams);
Status GdipSaveAddImage(GpImage* image, GpImage* newImage, const EncoderParameters* encoderParams);

// Image attributes: each adjustment is kept per kind of use (ColorAdjustType); a kind with no
// adjustment of its own takes those of the default kind.
Status GdipCreateImageAttributes(GpImageAttributes** imageattr);
Status GdipCloneImageAttributes(const GpImageAttributes* imageattr, GpImageAttributes** clone);
Status GdipDisposeImageAttributes(GpImageAttributes* imageattr);
Status GdipSetImageAttributesToIdentity(GpImageAttributes* imageattr, ColorAdjustType type);
Status GdipResetImageAttributes(GpImageAttributes* imageattr, ColorAdjustType type);
Status GdipSetImageAttributesColorMatrix(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                         const ColorMatrix* colorMatrix, const ColorMatrix* grayMatrix, ColorMatrixFlags flags);
Status GdipSetImageAttributesThreshold(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag, REAL threshold);
Status GdipSetImageAttributesGamma(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag, REAL gamma);
Status GdipSetImageAttributesNoOp(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag);
// Colours whose red, green and blue each lie between those of colorLow and colorHigh.
Status GdipSetImageAttributesColorKeys(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag, ARGB colorLow,
                                       ARGB colorHigh);
Status GdipSetImageAttributesOutputChannel(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                           ColorChannelFlags channelFlags);
Status GdipSetImageAttributesOutputChannelColorProfile(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                                       const WCHAR* colorProfileFilename);
Status GdipSetImageAttributesRemapTable(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag, UINT mapSize,
                                        const ColorMap* map);
Status GdipSetImageAttributesWrapMode(GpImageAttributes* imageAttr, WrapMode wrap, ARGB argb, BOOL clamp);
Status GdipGetImageAttributesAdjustedPalette(GpImageAttributes* imageAttr, ColorPalette* colorPalette,
                                             ColorAdjustType colorAdjustType);

}  // namespace gdiplus
