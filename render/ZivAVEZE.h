#pragma once
// HTML-formatted text: the small HTML dialect of the grid family's cells, hints and captions and of
// the drop-down editors. Every paint, size and mouse move parses the text afresh and draws,
// measures or hit-tests it in one call (HtmlRenderText); only pictures live between calls.
//
// The dialect is kept apart from the canvas: HtmlPrepareText and HtmlRunEntities give the text as
// it is laid out, THtmlScanner splits it into runs and tags, and HtmlApplyTag turns a tag into the
// change of the drawing state (THtmlDrawState) that it makes in one pass. The renderer sets the
// canvas from that state before each run and does what a tag draws or lays out itself.
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/rtl/String.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"
#include "platform/win/WinTypes.h"
#include "render/PictureContainer.h"

class TCustomImageList;

// The reading order of the control that renders.
using THtmlBiDiMode = TBiDiMode;

// ---- Colours and the unit's settings -----------------------------------------------------------

// A colour name of the dialect, in lower case ("clred", "clbtnface"); 0 (black) for any other.
// The basic names are tried first, the system names only when they gave 0.
TColor HtmlColorByName(const String& name);
// "#RRGGBB" with upper-case hexadecimal digits: R + G x 256 + B x 65536; a pair beyond the end of
// the text reads 0. Other characters read as their code less 48 (below "A") or 55.
TColor HtmlColorByHex(const String& text);
// The colours of HI: background and text (clHighlight and clHighlightText at the start).
void HtmlSetHighlightColors(TColor color, TColor textColor);
TColor HtmlHighlightColor();
TColor HtmlHighlightTextColor();
// Whether the system is version 5.1 or later; asked at the unit's start and kept. Only then does
// the renderer ask whether visual styles are active.
bool DetectWinXP();
bool HtmlIsWinXP();

// One pair of the named-character table: a character and its entity ("&eacute;").
struct THtmlNamedChar {
    char16_t Char;
    const char16_t* Entity;
};
// The 55 pairs, in the order encoding and decoding use them.
const std::vector<THtmlNamedChar>& HtmlNamedChars();

// ---- Text preparation --------------------------------------------------------------------------

// Once per render: the named replacements ("&amp;" becomes "&&", drawn as one "&"; "&quot;",
// "&sect;", "&permil;", "&reg;", "&copy;", "&para;", "&trade;", "&euro;"; any case), "<#name>"
// shown as "#name", every CR a "<BR>" and every LF dropped.
String HtmlPrepareText(const String& text);
// In a run: "&nbsp;" a blank, "&lt;" "<", "&gt;" ">" (lower case only).
String HtmlRunEntities(const String& run);

// ---- Tags --------------------------------------------------------------------------------------

enum class THtmlTagKind {
    Unknown,  // consumed without effect
    A, B, BR, Blink, Body, Control, E, Font, HI, HR, I, Ind, Img, LI, P, R, S, Shad, Sub, Sup, U, UL, Z,
};

// A tag at the front of the text: its kind, whether it closes, its text between "<" and ">" and
// the number of characters it takes (">" included).
struct THtmlTag {
    THtmlTagKind Kind = THtmlTagKind::Unknown;
    bool Closer = false;
    // The letter after the tag's letter, a-z folded ("R" of "BR"); for B, S and U closers it
    // tells the closers apart ("</B>" from "</BODY>").
    char16_t Variant = 0;
    String Text;
    size_t Length = 0;

    // An attribute's value: the text between the first double quote after the name and the next
    // one, the name searched in the upper-cased tag after its name (an unquoted value reads
    // empty). Upper-cased unless keepCase.
    String Attr(const char16_t* name, bool keepCase = false) const;
    bool HasAttr(const char16_t* name) const;
    // "SIZE": the integer after the first "=" that follows it (after a double quote when there
    // is one); 0 when none.
    int SizeAttr() const;
    // IND x="20" and R a="90": the integer in quotes after the first letter (any case) and the
    // "=" behind it; false when it does not read.
    bool LetterValue(char16_t letter, int& value) const;
};

// Splits a prepared text into runs and tags, from the front.
class THtmlScanner {
public:
    explicit THtmlScanner(String text) : FText(std::move(text)), FTagAt(FText.find(u'<')) {}
    bool AtEnd() const { return FPos >= FText.size(); }
    // The run at the front: with word wrap up to and including the first blank that comes before
    // the next "<", else up to the next "<" or the end. 0 when a tag is at the front.
    size_t RunLength(bool wordWrap) const;
    // Takes n characters; the text taken.
    String Take(size_t n);
    void Skip(size_t n) { FPos = std::min(FText.size(), FPos + n); }
    // The tag at the front (a "<" is there). A remainder of one or two characters starting with
    // "<", and a tag with no ">", take the rest of the text as Unknown.
    THtmlTag PeekTag() const;
    // The next n characters, not taken yet.
    std::u16string_view Peek(size_t n) const { return std::u16string_view(FText).substr(FPos, n); }
    // The text not taken yet; drops it all.
    String Rest() const { return FText.substr(FPos); }
    void DropRest() { FPos = FText.size(); }

private:
    String FText;
    size_t FPos = 0;
    mutable size_t FTagAt;  // the first "<" at or after a place not after FPos (npos: none)
};

// ---- The drawing state -------------------------------------------------------------------------

// The font a tag changes: what a canvas font holds, as a value.
struct THtmlFont {
    String Name;
    int Height = -11;
    TFontStyles Style;
    TColor Color = clWindowText;
    int Orientation = 0;
    TFontCharset Charset = DEFAULT_CHARSET;
    TFontPitch Pitch = fpDefault;

    static THtmlFont Of(const TFont* font);
    void ApplyTo(TFont* font) const;
    int Size() const;
    void SetSize(int points);
    bool operator==(const THtmlFont&) const = default;
};

enum class THtmlAlign { Left, Right, Center };

// The one pass over a line a tag is processed in: measuring, hit-testing and painting. Colour
// changes of anchors, FONT backgrounds, HI, E, BODY and P backgrounds are made only when painting.
enum class THtmlPass { Measure, HitTest, Paint };

// What a render call gives the tags.
struct THtmlTagOptions {
    bool KeepFontColor = false;
    bool HoverOnly = false;
    bool BlinkOn = true;
    int HoverLink = 0;
    TColor URLColor = clBlue;
    TColor HoverColor = clNone;
    TColor HoverFontColor = clNone;
    // The canvas brush colour as the render started.
    TColor InitialBackground = clWhite;
};

// The drawing state of one render call. Closers keep no stack: a closer takes back what the last
// opener of its kind saved, or the base font's value.
struct THtmlDrawState {
    THtmlFont Font;
    THtmlFont BaseFont;
    // R holds the font it rotated; its closer takes it back.
    THtmlFont HeldFont;
    bool Rotated = false;
    // The brush colour; clNone is the clear brush (transparent text).
    TColor Background = clNone;
    bool InAnchor = false;
    String Href;
    String Title;
    int AnchorCount = 0;
    bool Sub = false, Sup = false, Shadow = false, Error = false, Hidden = false;
    bool ParaBackground = false;
    TColor ParaColor = clNone;
    int ListLevel = 0;
    THtmlAlign Align = THtmlAlign::Left;
    int Indent = 0;
    TColor SavedAnchorBackground = clNone;
    TColor SavedAnchorFontColor = clNone;
    TColor SavedHiFontColor = clNone;
    TColor SavedHiBackground = clNone;
    TColor SavedFontBackground = clNone;
    TColor SavedParaBackground = clNone;
    int ImageCount = 0;
    // The layout size of the last image or control, which a CONTROL without WIDTH takes.
    int BoxWidth = 0, BoxHeight = 0;

    explicit THtmlDrawState(const THtmlFont& base = THtmlFont()) : Font(base), BaseFont(base), HeldFont(base) {}
};

// Applies what the tag changes in the state in that pass; true when it ends the line (BR, HR,
// UL, the P and LI closers). What a tag draws or lays out (images, controls, bullets, fills,
// lines, indents, anchor rectangles) is the renderer's.
bool HtmlApplyTag(THtmlDrawState& state, const THtmlTag& tag, THtmlPass pass, const THtmlTagOptions& options);

// A colour value of FONT and P: "#" through HtmlColorByHex, else by name lower-cased; clNone for
// an empty value.
TColor HtmlAttrColor(const String& value);

// ---- Text utilities ----------------------------------------------------------------------------

// "&lt;", "&gt;", "&quot;", the named characters and, last, "&amp;" back into characters, so that
// decoding gives back what HtmlEncodeEntities was given.
String HtmlDecodeEntities(const String& text);
// "&", double quotes, "<", ">" and the named characters into entities.
String HtmlEncodeEntities(const String& text);
// Every blank as "&nbsp;".
String HtmlEncodeSpaces(const String& text);
// "<BR>" and "<HR>" (any case) as CR LF, then every tag removed; a "<" with no ">" after it is
// kept with what follows.
String HtmlToPlainText(const String& html);
// The text outside tags.
String HtmlStripTags(const String& html);
// The 1-based position in html after which n - 1 characters outside tags lie (tags before the
// n-th such character lie after it); the length + 1 when html has exactly n - 1 of them, 0 when
// fewer.
int HtmlVisiblePos(const String& html, int n);
// Every match of find in the text outside tags enclosed in <tag> and </tag>.
String HtmlMarkText(const String& html, const String& find, const String& tag, bool caseSensitive);
// Every <tag> and </tag> (any case) removed, "&lt;" and "&gt;" back into "<" and ">".
String HtmlUnmarkText(const String& html, const String& tag);

// The attributes of one control tag, all outputs cleared first; TYPE upper-cased, VALUE and PROP
// decoded. Names are found only outside quoted values.
void ParseControlTag(const String& tag, String& type, String& id, String& value, String& width, String& height,
                     String& prop, String& maxlen);
bool HtmlHasControls(const String& html);
// The VALUE of the control with that ID (IDs compare with case); false, value untouched, when
// there is none.
bool HtmlGetControlValue(const String& html, const String& id, String& value);
String HtmlGetControlProp(const String& html, const String& id);
int HtmlGetControlMaxLen(const String& html, const String& id);
// The ID of the first control after the one with that ID (after the start for an empty id) that
// is no BUTTON, CHECK or RADIO; empty when none.
String HtmlNextEditControlID(const String& html, const String& id);
String HtmlClearRadioControls(const String& html);
// Rewrites the control with that ID with the new value; false, html untouched, when there is none.
bool HtmlSetControlValue(String& html, const String& id, const String& value);
String PasswordMask(const String& text);

// ---- Layout, drawing and hit-testing -----------------------------------------------------------

// Lays the text out in Rect and, in one call, draws it, or only measures it (MeasureOnly), or finds
// what lies under (XPos, YPos) (HitTestOnly): an anchor's text, an image inside an anchor, or an
// embedded control, which the result tells. The canvas's font is the base font and its brush
// colour the initial background; pen, brush and font are as they were when the call returns.
// The outputs are cleared at the start, except AnchorVal and HoverRect, which are written only on
// a hit, and ControlID, which HitTestOnly keeps to report the control with that ID.
bool HtmlRenderText(TCanvas* Canvas, const String& Text, const TRect& Rect, TCustomImageList* Images, int XPos, int YPos,
                    int FocusLink, int HoverLink, int ShadowOffset, bool HitTestOnly, bool MeasureOnly, bool Printing,
                    bool KeepFontColor, bool BlinkOn, bool HoverOnly, bool WordWrap, bool MouseDown, double ResFactor,
                    TColor URLColor, TColor HoverColor, TColor HoverFontColor, TColor ShadowColor, String& AnchorVal,
                    String& StripVal, String& FocusAnchor, String& TitleVal, int& XSize, int& YSize, int& HyperLinks,
                    int& MouseLink, TRect& HoverRect, TRect& ControlRect, String& ControlID, String& ControlValue,
                    String& ControlType, THTMLPictureCache* ImageCache, TPictureContainer* Container, HWND WinHandle,
                    THtmlBiDiMode BiDiMode);

// Only on a right-to-left locale: bdRightToLeft takes DT_RIGHT away, or adds it when neither
// DT_RIGHT nor DT_CENTER is set, and every mode but bdLeftToRight adds DT_RTLREADING.
UINT DrawTextBiDiFlags(UINT format, THtmlBiDiMode bidiMode);
// The shell's system icons of IMG "SSYS:" (small) and "LSYS:" (large). They come with the shell's
// file icons of the layer (platform/ui/ShellIcons.h).
// name is an icon index when it reads as an integer, else a path whose icon is the file's or
// folder's when it exists and that of its file type (by extension) when it does not. size gets the
// list's icon size (0 x 0 when there is no list). With draw the icon is drawn at (x, y), or for
// printing drawn on a bitmap stretched to round(size x resFactor).
void DrawSystemIcon(TCanvas* canvas, int x, int y, TSize& size, double resFactor, bool printing, bool draw, bool large,
                    const String& name);
// A bitmap stretched into a rectangle through a device-independent copy (for printing).
void StretchDrawBitmap(TCanvas* canvas, const TRect& rect, TBitmap* bitmap);
// The R tag's font change on a canvas: its font rotated by degrees (escapement and orientation in
// tenths of a degree), the font before it held until RestoreRotatedFont selects it again.
void SelectRotatedFont(TCanvas* canvas, int degrees);
void RestoreRotatedFont(TCanvas* canvas);
