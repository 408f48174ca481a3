#pragma once
// The class-less drawing, text and filter routines the grid family and its drop-down editors paint
// and read their cells with. Drawing routines draw on the caller's canvas and leave its pen, brush
// and font as they last set them. Text positions are 1-based; the locale values are those of
// FormatSettings at the time of the call.
#include <cstdint>
#include <vector>

#include "controls/styled/VizIrovaRE.h"
#include "platform/rtl/Geometry.h"
#include "platform/rtl/String.h"
#include "platform/rtl/Types.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/LayeredWindows.h"
#include "platform/win/WinTypes.h"

class TStrings;
class TWinControl;
struct TGridRect;

// ---- Drawing ----------------------------------------------------------------------------------

enum TCellShape {
    csRectangle, csCircle, csTriangleLeft, csTriangleRight, csTriangleUp, csTriangleDown, csDiamond,
    csLineVert, csLineHorz, csRoundRect, csEllips, csSquare, csRoundSquare, csStar, csArrowUp,
    csArrowDown, csArrowLeft, csArrowRight, csHalfStar
};

// The look of a levelled progress bar, filled by the caller from its progress appearance.
struct TProgressLook {
    TColor Level0Color = 0;
    TColor Level0ColorTo = 0;
    TColor Level1Color = 0;
    TColor Level1ColorTo = 0;
    TColor Level2Color = 0;
    TColor Level2ColorTo = 0;
    TColor Level3Color = 0;
    TColor Level3ColorTo = 0;
    int32_t Level1Perc = 0;
    int32_t Level2Perc = 0;
    TColor BorderColor = 0;
    bool ShowBorder = false;
    bool Stacked = false;
    bool ShowPercentage = false;
    TFont* Font = nullptr;  // not owned; nil keeps the canvas's font
    TColor CompleteFontColor = 0;
    bool CompletionSmooth = false;
    bool ShowGradient = false;
    int32_t Steps = 0;
    int32_t Reserved = 0;  // carried for the caller; the drawing does not read it
    TColor UnCompleteColor = 0;
    bool Vertical = false;
};

// Colour arithmetic; system colours are resolved to their current values first.
// from + round(step x (to - from) / (hi - lo)) per channel; `from` when to is clNone or hi = lo.
TColor InterpolateColor(TColor from, TColor to, int lo, int hi, int step);
TColor HalveColor(TColor color);
// Each channel c becomes round(c + percent x c / 100) cut to its low 8 bits (no clamping).
TColor AdjustColorPercent(TColor color, int percent);
// "RRGGBB", upper case, without "#".
String ColorToHtmlHex(TColor color);

void DrawStepGradient(TCanvas* canvas, TColor fromColor, TColor toColor, int steps, TRect rect, bool horizontal);
void DrawMirrorGradient(TCanvas* canvas, TRect rect, TColor color, TColor colorTo, TColor mirrorColor,
                        TColor mirrorColorTo, bool vertical, TColor borderColor, bool sidesOnly, bool fill);
// style 0: rounded on both sides, 1: left side only, 2: right side only, 3: neither.
void DrawButtonFace(TCanvas* canvas, TColor color, TColor colorTo, TColor mirrorColor, TColor mirrorColorTo,
                    TColor upperColor, TColor lowerColor, TColor borderColor, TColor cornerColor, TColor backColor,
                    TRect rect, int style);
void FillRectColor(TCanvas* canvas, const TRect& rect, TColor color);
// The bitmap at rect's top-left corner at its own size, the colour of its pixel (0, 0) shown as
// backColor.
void DrawBitmapTransparent(TCanvas* canvas, TBitmap* bitmap, TColor backColor, const TRect& rect);
// The same for a bitmap resource of the program; EResNotFound when there is none of that name.
void DrawResBitmapTransparent(TCanvas* canvas, TColor backColor, const TRect& rect, const String& resName);

void DrawShape(TCanvas* canvas, int x, int y, int width, int height, TCellShape shape, TColor brushColor,
               TColor penColor);
void DrawDownTriangle(TCanvas* canvas, int x, int y, TColor color);
// The ellipse is outlined over the canvas's brush as the caller left it (the cell's background);
// the slice of percent (0..100) clockwise from the top is filled in fillColor.
void DrawPieChart(TCanvas* canvas, const TRect& rect, TColor fillColor, int percent, bool flag);
void DrawPosNegBar(TCanvas* canvas, const TRect& rect, int value, int max, bool showValue, TColor negColor,
                   TColor posColor);
void DrawProgressBar(TCanvas* canvas, TRect rect, TColor color, TColor fontColor, TColor colorTo, TColor fontColorTo,
                     double position, int marginX, int marginY, int min, int max, const String& format,
                     TColor borderColor, bool textLow);
void DrawLevelProgress(TCanvas* canvas, const TRect& rect, int percent, const TProgressLook& look);
// A red zig-zag under characters start .. start + length - 1 (0-based) of text laid out as an
// edit on owner at rect lays it out.
void DrawErrorUnderline(TWinControl* owner, TCanvas* canvas, const String& text, const TRect& rect, int yOffset,
                        int start, int length);

// Button glyphs. style: 0 visual styles (classic when they are off), 1 classic frame controls,
// 2 flat frame controls, 3 the colours of tones. state: 0 normal, 1 hot, 2 down, 3 disabled.
// hwnd is the window whose visual-style data is used.
void DrawComboButton(TCanvas* canvas, HWND hwnd, const TRect& rect, const TColorTones& tones, int state, int style);
void DrawPushButton(TCanvas* canvas, HWND hwnd, const TRect& rect, const TColorTones& tones, int state, int style);
void DrawSpinButtons(TCanvas* canvas, HWND hwnd, const TRect& rect, const TColorTones& tones, int state, int style);

// The layered-window functions of "user32", looked up at each call; true without a call while
// the module does not export them.
bool DynUpdateLayeredWindow(HWND hwnd, HDC dstDc, TPoint* dstPoint, TSize* size, HDC srcDc, TPoint* srcPoint,
                            COLORREF colorKey, BLENDFUNCTION* blend, DWORD flags);
bool DynSetLayeredWindowAttributes(HWND hwnd, COLORREF colorKey, BYTE alpha, DWORD flags);

int IntMax(int a, int b);
int IntMin(int a, int b);

// ---- Text and values --------------------------------------------------------------------------

// 0 plain, 1 HTML, 2 rich text, 3 formula, 5 pair-encoded Unicode (3 when it encodes a formula).
int CellTextKind(const String& text, bool allowHtml);
bool ContainsUrl(const String& text);
bool LooksLikeDate(const String& text);
bool IsNumberChar(char16_t ch);
bool CellInGridRect(const TGridRect& rect, int col, int row);
int ClampToLimits(int value, int min, int max);
// "R<row>C<col>" in any case: X = col, Y = row.
bool ParseRowColRef(const String& text, TPoint& point);

int FindSubstring(const String& sub, const String& text, int& pos);
// sub is given in upper case.
int PosInUpperText(const String& sub, const String& text);
int FindChar(char16_t ch, const String& text, int& pos);
int CharPos(char16_t ch, const String& text);
int WidePos(const String& sub, const String& text);
String ExtractToken(String& text, const String& separator);
String ExtractFirstLine(String& text, bool keepRest);
int CountTextLines(const String& text, bool multiLine);
String ConcatStrings(TStrings* strings);
int CountChar(char16_t ch, const String& text);
void FillWithChar(String& text, char16_t ch);

// Codecs that keep multi-line texts on one line.
String EncodeLineBreaks(const String& text);
String DecodeLineBreaks(const String& text, bool wholeText);
String UnescapeLineBreaks(const String& text);
String EscapeLineBreaks(const String& text);
void QuoteMultiLineText(String& text);
void LineTabsToCrLf(String& text);
void CrLfToLf(String& text);
void LineBreaksToTilde(String& text);
void TildeToLineBreaks(String& text);
String RemoveCR(const String& text);
String CrToLf(const String& text);
String CrToHtmlBreaks(const String& text);

String DoubleQuoteChars(const String& text);
String UndoubleChar(char16_t ch, const String& text);
int FindClosingQuote(char16_t quote, const String& text, int& pos);
int CountClosingQuotes(char16_t quote, const String& text);
// The OEM code page is CP932: one character per byte of the converted text.
void StringToOem(String& text);
void OemToString(String& text);

String NormalizeNumberText(const String& text);
// 0 integer, 1 decimal, 5 with exponent, 2 anything else.
int ClassifyNumberText(const String& text);
// 0 when the text is no date of that order; EConvertError when its numbers form no date.
TDateTime ParseDateMDY(const String& text);
TDateTime ParseDateDMY(const String& text);
TDateTime IncDateParts(int years, int months, int days, TDateTime date, TDateTime delta);
String CapitalizeWords(const String& text);
void StripUrlPrefix(String& text);
// prefix is given in upper case ("HTTP://"); false, html untouched, when the text has none.
bool InsertUrlAnchor(const String& text, const String& prefix, String& html);
// The clipboard's HTML format around the fragment in html.
void BuildHtmlClipboardText(String& html);
String EncodeUnicodeText(const String& text);
String DecodeUnicodeText(const String& text);

// ---- Filters ----------------------------------------------------------------------------------

using TCharSet = std::vector<char16_t>;

bool MatchFilterExpression(const String& expression, const String& value, bool caseSensitive);
bool MatchCondition(const String& condition, const String& value, bool caseSensitive);
// The first character of text in set outside double quotes, pos its position; 0 and pos -1 when
// there is none.
char16_t FindFirstOfSet(const TCharSet& set, const String& text, int& pos);
// A date (and optional time) in the order of the locale's short date format.
bool ParseDateTimeLocale(const String& text, TDateTime& dateTime);
String NumberTextWithDot(const String& text);
String RemoveBlanksOutsideQuotes(const String& text);
// The ")" closing the first "(", 0 when there is none.
int FindMatchingParen(const String& text);
