#pragma once
// The class-less toolbox the instrument controls draw with: number and text conversions, scale
// label lists, colour arithmetic, aligned and multi-line text, geometry, the slider knob, the
// lamp shapes and a gradient fill with fourteen styles.
#include <cstdint>

#include "platform/rtl/Geometry.h"
#include "platform/rtl/String.h"
#include "platform/ui/Graphics.h"

enum TGradientStyle {
    gsHorizontal1, gsHorizontal2, gsHorizontal3, gsVertical1, gsVertical2, gsVertical3, gsElliptic1,
    gsElliptic2, gsElliptic3, gsRectangle, gsDiamond1, gsDiamond2, gsTopLeft, gsTopRight
};

enum TLEDShape { sRound, sArrowLeft, sArrowRight, sArrowUp, sArrowDown, sRectangle, sDiamondLeft, sDiamondRight };

// Caption lines are separated by this character, the items of a label list by ';'.
constexpr char16_t CaptionSeparator = u'|';

// The folder of the running executable, with its trailing delimiter.
const String& ExeFolder();

String IntToBinStr(int32_t Value, int Digits);
int32_t BinStrToInt(const String& Text);
String StripChar(const String& Text, char16_t Ch);
long double Log10Of(long double X);
long double PowerOf(long double Exponent, long double Base);
String LogLabelList(int FromExp, int ToExp, int Steps, bool Descending, const String& Format);
double Decade(double X, int& Exponent);
TColor ColorBrightness(TColor Color, float Percent);
TColor ColorStep(TColor Color1, TColor Color2, int Steps, int Index);

void TextSizeHalf(TCanvas* Canvas, int& W, int& H, const String& Text, TPoint& Half);
void MaxItemWidth(TCanvas* Canvas, int& W, int& H, const String& List);
void MeasureTextLines(TCanvas* Canvas, int& W, int& H, char16_t Separator, const String& Text);
int CharCount(const String& Text, char16_t Ch);
// Align: 0 top-left, 1 top-centre, 2 top-right, 3 middle-left, 4 centre, 5 middle-right,
// 6 bottom-left, 7 bottom-centre, 8 bottom-right: the part of the text's box that lies at (X, Y).
void TextOutAligned(TCanvas* Canvas, int X, int Y, int Align, const String& Text);
void DrawTextLines(TCanvas* Canvas, int X, int Y, int Align, const String& Text, int LineGap);
void DrawTextLines3D(TCanvas* Canvas, int X, int Y, bool Engraved, int Align, const String& Text, TColor LightColor,
                     TColor DarkColor, TColor Color, int LineGap);
void SplitFirst(String& Text, char16_t Ch, String& Part);
void LinearLabelList(int Steps, const String& Format, String& List, float First, float Last);

int LargerInt(int A, int B);
bool PointInRect(int X, int Y, const TRect& Rect);
void ShrinkRect(TRect& Rect, int D);
void ShrinkRect4(TRect& Rect, int DLeft, int DTop, int DRight, int DBottom);
TPoint RectCenter(const TRect& Rect);
TPoint RotatePoint(TPoint P, TPoint Center, bool Clockwise, float Degrees);
bool PointInCircle(int X, int Y, const TRect& Rect);
int SpanOf(int From, int To);

void DrawKnob(TCanvas* Canvas, TPoint Center, int Size, TColor Color, bool Horizontal);
void GradientFill(TCanvas* Canvas, const TRect& Rect, TColor ColorFrom, TGradientStyle Style, TColor ColorTo);
void DrawLEDShape(TCanvas* Canvas, const TRect& Rect, TLEDShape Shape, TColor FillColor, TColor PenColor);
