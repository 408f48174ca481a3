#pragma once
// Rich text apart from any window: a document of paragraphs of character runs, its RTF reader
// and writer, and its layout on a canvas. The rich edit keeps one document and shows it on its
// view; what it reports (lines, positions, the size the content needs, what a page holds) is
// this layout's.
//
// The text, selection and undo rules are the edit model's: a paragraph break is CR LF, two
// positions. A line break inside a paragraph is U+000B, a tab U+0009. Every character has a
// format (its paragraph break too) and every paragraph one paragraph format.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/String.h"
#include "platform/ui/EditModel.h"
#include "platform/ui/Graphics.h"

namespace ui {

struct RichCharFormat {
    String Name = u"MS Sans Serif";
    int Height = 160;                // twips (1/20 point)
    TFontStyles Style;
    TColor Color = clWindowText;     // clWindowText: automatic
    TColor BackColor = clNone;       // clNone: none
    TFontCharset Charset = DEFAULT_CHARSET;
    int Offset = 0;                  // twips; positive raises the baseline
    bool operator==(const RichCharFormat&) const = default;
};

// Which fields of a character format a change sets or a selection has alike. The bits are the
// character-format mask of the edit messages, so the control hands its mask through.
enum RichField : uint32_t {
    rfBold = 0x1,
    rfItalic = 0x2,
    rfUnderline = 0x4,
    rfStrikeOut = 0x8,
    rfBackColor = 0x04000000,
    rfCharset = 0x08000000,
    rfOffset = 0x10000000,
    rfFace = 0x20000000,
    rfColor = 0x40000000,
    rfSize = 0x80000000,
    rfAll = 0xFC00000F
};
// Copies the fields of `from` named in mask into `into`.
void MergeCharFormat(RichCharFormat& into, const RichCharFormat& from, uint32_t mask);

enum class RichAlign { Left, Right, Center, Justify };

struct RichParaFormat {
    RichAlign Align = RichAlign::Left;
    int FirstIndent = 0;  // twips, from the left indent
    int LeftIndent = 0;
    int RightIndent = 0;
    bool operator==(const RichParaFormat&) const = default;
};

struct RichRun {
    int Start = 0;
    int Length = 0;
    RichCharFormat Format;
    bool operator==(const RichRun&) const = default;
};

// A document as the reader makes it and the writer takes it: runs cover the text in order,
// one paragraph format per paragraph (the breaks + 1).
struct RichContent {
    String Text;
    std::vector<RichRun> Runs;
    std::vector<RichParaFormat> Paras;
};

class RichDocument {
public:
    RichDocument();

    // The text and its rules (read-only, limit, selection, undo): change it only through the
    // document, so that the formats follow.
    const EditModel& Edit() const { return FEdit; }
    const String& Text() const { return FEdit.Text(); }
    void SetReadOnly(bool value) { FEdit.SetReadOnly(value); }
    void SetModified(bool value) { FEdit.SetModified(value); }
    void SetMaxLength(int value) { FEdit.SetMaxLength(value); }

    // The program's text in the default format, one paragraph format for all.
    void SetText(const String& text);
    void SetContent(const RichContent& content);
    RichContent Content() const { return Content(0, Text().Length()); }
    RichContent Content(int start, int end) const;

    // Edits, as the edit model makes them; inserted characters take the insertion format,
    // inserted breaks the paragraph's format. Lone CR and LF become CR LF.
    EditModel::Change Replace(int start, int end, const String& text, bool user);
    EditModel::Change Type(char16_t ch);
    EditModel::Change DeleteBack();
    EditModel::Change DeleteForward();
    bool Undo();
    void ClearUndo() { FEdit.ClearUndo(); }
    void SetSelection(int anchor, int caret);

    // The format new text takes at the caret: one set on an empty selection, else the
    // character's before the caret (after it at the start of a paragraph, the default in an
    // empty document).
    RichCharFormat InsertFormat() const;
    const RichCharFormat& DefaultFormat() const { return FDefault; }
    // The default format; an empty document takes it at once.
    void SetDefaultFormat(const RichCharFormat& format, uint32_t mask);
    const RichCharFormat& CharFormat(int pos) const { return FFormats[FChars[static_cast<size_t>(pos)]]; }
    // The fields of [start, end) (empty: the insertion format) and the mask of those alike
    // over the whole range.
    RichCharFormat RangeFormat(int start, int end, uint32_t* alike) const;
    // Sets the masked fields on [start, end); an empty range sets the insertion format.
    void ApplyCharFormat(int start, int end, const RichCharFormat& format, uint32_t mask);

    int ParagraphCount() const { return static_cast<int>(FParas.size()); }
    int ParagraphOf(int pos) const;
    int ParagraphStart(int para) const;
    // The paragraph's end, before its break.
    int ParagraphEnd(int para) const;
    const RichParaFormat& ParaFormat(int para) const { return FParas[static_cast<size_t>(para)]; }
    // Every paragraph [start, end) touches.
    void ApplyParaFormat(int start, int end, const RichParaFormat& format);

    // The runs of [start, end): consecutive characters of one format.
    std::vector<RichRun> Runs(int start, int end) const;
    // The format index of each character (into Formats()), for the layout.
    const std::vector<uint16_t>& CharIndexes() const { return FChars; }
    const std::vector<RichCharFormat>& Formats() const { return FFormats; }

private:
    uint16_t Intern(const RichCharFormat& format);
    // Follows a change of the edit model's text from `before`: the formats of the unchanged
    // head and tail stay, what came in takes `fill`, paragraphs joined or split follow.
    void Follow(const String& before, uint16_t fill);
    EditModel::Change Track(uint16_t fill, const EditModel::Change& change, const String& before);

    EditModel FEdit;
    RichCharFormat FDefault;
    std::vector<RichCharFormat> FFormats;
    std::vector<uint16_t> FChars;
    std::vector<RichParaFormat> FParas;
    int FPending = -1;  // an insertion format set on an empty selection
    // The formats before the last user change, for its undo.
    std::vector<uint16_t> FUndoChars;
    std::vector<RichParaFormat> FUndoParas;
    String FUndoText;
};

// ---- RTF ----

// Reads an RTF document; what cannot be read ends the reading with the text so far. Complete
// is false when it stopped early (malformed, truncated or nested beyond 1,000 groups).
RichContent ReadRtf(std::string_view bytes, const RichCharFormat& defaults, bool* complete = nullptr);
// A complete RTF document in 7-bit ASCII.
std::string WriteRtf(const RichContent& content);
// Whether bytes start as an RTF document does ("{\rtf").
bool LooksLikeRtf(std::string_view bytes);

// ---- layout ----

struct RichPiece {
    int Start = 0, End = 0;  // characters shown by one text call
    int X = 0;               // from the layout's left
    int Width = 0;
    uint16_t Format = 0;
};

struct RichLine {
    int Start = 0, End = 0;   // characters, the line's break included
    int Top = 0, Height = 0;  // from the layout's top
    int Baseline = 0;         // from the layout's top
    int Left = 0, Width = 0;  // the shown characters, trailing blanks aside
    std::vector<RichPiece> Pieces;
};

// Lines of a document laid out with a canvas's font measures, in its pixels at dpiX × dpiY.
class RichLayout {
public:
    struct Options {
        int Width = 0;       // pixels; ignored without wrap
        bool Wrap = true;
        int DpiX = 96, DpiY = 96;
        int From = 0, To = -1;  // characters; -1: the end
        int MaxHeight = -1;     // stop once a line would end below it; -1: all
    };
    void Build(const RichDocument& doc, TCanvas& canvas, const Options& options);
    const std::vector<RichLine>& Lines() const { return FLines; }
    // The first character not laid out (the range's end when everything was).
    int End() const { return FEnd; }
    int Height() const { return FLines.empty() ? 0 : FLines.back().Top + FLines.back().Height; }
    int WidestLine() const;
    // Draws the lines at (x, y) with the canvas's calls, each piece's reference point at its
    // baseline; the canvas's text alignment and font are restored.
    void Draw(const RichDocument& doc, TCanvas& canvas, int x, int y, int lineCount = -1) const;
    int LineOf(int pos) const;
    // Top-left of a character; the nearest character to a point.
    TPoint PosOf(const RichDocument& doc, TCanvas& canvas, int pos) const;
    int CharAt(const RichDocument& doc, TCanvas& canvas, int x, int y) const;

private:
    std::vector<RichLine> FLines;
    int FEnd = 0;
    int FDpiX = 96, FDpiY = 96;
};

// Puts a character format on a canvas's font at dpiY.
void SelectRichFont(TCanvas& canvas, const RichCharFormat& format, int dpiY);

}  // namespace ui
