// HtmlRenderText: layout, drawing and hit-testing of HTML-formatted text. Each line is taken from
// the text by a measuring pass and then, unless only measuring, processed again by a pass that
// paints or hit-tests it in its placed rectangle.
//
// The text between two tags is one run: measured once (word by word only where it does not fit
// whole) and drawn with one text call. Runs are measured with the backend's font faces, kept by
// their whole description from call to call, so measuring never touches the canvas's font;
// painting selects a font on the canvas only when more than its colour changes.
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/FrameControls.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/Themes.h"
#include "platform/ui/backend/Backend.h"
#include "platform/ui/backend/Fonts.h"
#include "render/ZivAVEZE.h"
#include "render/ZivAVEZEImpl.h"

using namespace html_impl;

namespace {

constexpr UINT kTextFormat = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING;
constexpr int kBulletStep = 12;

// Sizes, indents and positions from the markup are held to the canvas's range; what adds them up
// works in 64 bits.
int Held(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -kCanvasCoordLimit, kCanvasCoordLimit)); }

// The caller's pen, brush, font and text colour, put back however the call ends.
class CanvasKeeper {
public:
    explicit CanvasKeeper(TCanvas* c)
        : FCanvas(c), FPenColor(c->Pen()->Color()), FPenWidth(c->Pen()->Width()), FBrushColor(c->Brush()->Color()),
          FBrushStyle(c->Brush()->Style()), FTextColor(GetTextColor(c->Handle())) {
        FFont.Assign(c->Font());
    }
    ~CanvasKeeper() {
        FCanvas->Pen()->SetColor(FPenColor);
        FCanvas->Pen()->SetWidth(FPenWidth);
        FCanvas->Brush()->SetColor(FBrushColor);
        FCanvas->Brush()->SetStyle(FBrushStyle);
        FCanvas->Font()->Assign(&FFont);
        SetTextColor(FCanvas->Handle(), FTextColor);
    }
    CanvasKeeper(const CanvasKeeper&) = delete;
    CanvasKeeper& operator=(const CanvasKeeper&) = delete;

private:
    TCanvas* FCanvas;
    TColor FPenColor;
    int FPenWidth;
    TColor FBrushColor;
    TBrushStyle FBrushStyle;
    COLORREF FTextColor;
    TFont FFont;
};

// A font as the layout measures it.
struct Face {
    THtmlFont font;  // its colour is left out
    bool antialias = false;
    std::unique_ptr<ui::FontFace> face;
    int height = 0;      // ascent and descent: the text height of every run in it
    int lineHeight = 0;  // with the external leading: where DrawText puts a line's top
    int average = 0;
    int space = -1;  // the width of a blank, once asked
};

bool SameFace(const THtmlFont& a, const THtmlFont& b) {
    return a.Height == b.Height && a.Style == b.Style && a.Orientation == b.Orientation && a.Charset == b.Charset &&
           a.Pitch == b.Pitch && a.Name == b.Name;
}

// The faces of the fonts the calls met, by their whole description, kept from call to call (a grid
// draws its cells in a few fonts). Trimmed only as a call starts, so a face found stays for the
// call; dropped with the backend that made them.
class FaceCache {
public:
    Face& Get(const THtmlFont& font, bool antialias) {
        for (const auto& f : FFaces)
            if (f->antialias == antialias && SameFace(f->font, font)) return *f;
        auto f = std::make_unique<Face>();
        f->font = font;
        f->font.Color = 0;
        f->antialias = antialias;
        TFont described;
        f->font.ApplyTo(&described);
        f->face = ui::GetBackend().CreateFontFace(described, antialias);
        const ui::FontMetrics& m = f->face->Metrics();
        f->height = m.ascent + m.descent;
        f->lineHeight = f->height + std::max(0, m.leading);
        f->average = m.averageWidth;
        FFaces.push_back(std::move(f));
        return *FFaces.back();
    }
    void Trim() {
        ui::Backend* backend = &ui::GetBackend();
        if (backend != FBackend || FFaces.size() > kKept) FFaces.clear();
        FBackend = backend;
    }

private:
    static constexpr size_t kKept = 64;
    std::vector<std::unique_ptr<Face>> FFaces;
    ui::Backend* FBackend = nullptr;
};

// Never freed: the backend's fonts may not outlive the toolkit at exit.
FaceCache& Faces() {
    static FaceCache* cache = new FaceCache;
    return *cache;
}

int AttrInt(const THtmlTag& tag, const char16_t* name) {
    int32_t v = 0;
    return TryStrToInt(tag.Attr(name), v) ? Held(v) : 0;
}

bool StartsWith(const String& s, const char16_t* head) { return s.rfind(head, 0) == 0; }

// The values a line gathers in its measuring pass and keeps for its second pass.
struct LineValues {
    int height = 0;  // grows with runs, pictures and controls
    int above = 0;   // extra height of superscripts
    int below = 0;   // and of subscripts
    enum { AlignNone, AlignTop, AlignMiddle } pictureAlign = AlignNone;
    int alignOffset = 0;
    int gh = 0;  // the text height of "gh" as the line began
    int Total() const { return height + above + below; }
};

// One pass over a line.
struct Pass {
    Pass(THtmlPass k, THtmlDrawState* s, const TRect& r) : kind(k), st(s), rect(r) {}
    THtmlPass kind;
    THtmlDrawState* st;
    TRect rect;          // left: the line's left edge; top: the line's top; bottom once placed
    int64_t width = 0;   // the line's width so far
    bool hasText = false;  // the line holds text; the last character laid out
    char16_t last = 0;
    int trailing = 0;  // width of a blank ending the last run
    int bullets = 0;
    bool ended = false;  // a tag ended the line
    bool full = false;   // something did not fit and waits for the next line
    bool anchorHit = false, imageHit = false, controlHit = false;
    bool Measuring() const { return kind == THtmlPass::Measure; }
    bool HitTesting() const { return kind == THtmlPass::HitTest; }
    bool Painting() const { return kind == THtmlPass::Paint; }
    // Whether the second pass decides the result and writes what was hit.
    bool Counts() const { return kind != THtmlPass::Measure; }
    // A line whose text does not end with a blank has no break point before what comes next.
    bool NoBreakPoint() const { return hasText && last != u' '; }
};

class Renderer {
public:
    TCanvas* C = nullptr;
    TRect R;
    TCustomImageList* Images = nullptr;
    int XPos = -1, YPos = -1, FocusLink = -1, ShadowOffset = 0;
    bool HitTestOnly = false, MeasureOnly = false, Printing = false, WordWrap = true, MouseDown = false;
    double ResFactor = 1.0;
    TColor ShadowColor = clGray;
    THtmlTagOptions Options;
    THTMLPictureCache* Cache = nullptr;
    TPictureContainer* Container = nullptr;
    HWND Window = nullptr;
    THtmlBiDiMode BiDi = THtmlBiDiMode::bdLeftToRight;

    String* AnchorVal = nullptr;
    String* StripVal = nullptr;
    String* FocusAnchor = nullptr;
    String* TitleVal = nullptr;
    int* XSize = nullptr;
    int* YSize = nullptr;
    int* HyperLinks = nullptr;
    int* MouseLink = nullptr;
    TRect* HoverRect = nullptr;
    TRect* ControlRect = nullptr;
    String* ControlID = nullptr;
    String* ControlValue = nullptr;
    String* ControlType = nullptr;

    bool Run(const String& text);

private:
    Face& FaceOf(const THtmlFont& font) { return Faces().Get(font, C->AntiAlias()); }
    int SpaceWidth(Face& face);
    int Width(const Face& face, const String& text);
    void UseFont(const THtmlFont& font);
    void UseBrush(const THtmlDrawState& st);
    void DrawRunText(const String& text, const TRect& r, int w, const Face& face);
    TRect Shown();
    TRect ShownPart(const TRect& r);
    int Ppi() { return GetDeviceCaps(C->Handle(), LOGPIXELSX); }
    bool Themed();
    void Fill(const TRect& r, TColor colour);
    // Where an item of width w starts: left to right from the line's left edge, or mirrored.
    int ItemLeft(const Pass& p, int64_t w) const {
        return Held(FRtl ? p.rect.Right - p.width - w : p.rect.Left + p.width);
    }
    // The test point's distance into the line, in the direction the line fills.
    int64_t PointInLine(const Pass& p) const { return FRtl ? int64_t{p.rect.Right} - XPos : int64_t{XPos} - p.rect.Left; }
    int TextBottom(const Pass& p) const { return p.rect.Top + FLine.Total() - FLine.below; }
    // A picture, control or bullet narrower than a line that does not fit where the line has got
    // to waits for the next line; the second pass takes the line as it was measured.
    bool LineFits(const Pass& p, int64_t w) const { return !(p.Measuring() && p.width + w > FAvail && w < FAvail); }

    void Line(Pass& p, THtmlScanner& src, String* lineSource);
    void MeasureRun(Pass& p, THtmlScanner& src, size_t n, String* lineSource);
    void PlaceRun(Pass& p, THtmlScanner& src, size_t n);
    bool Tag(Pass& p, const THtmlTag& tag);
    bool Image(Pass& p, const THtmlTag& tag);
    bool Control(Pass& p, const THtmlTag& tag);
    bool Bullet(Pass& p, const THtmlTag& tag);
    void AnchorOpened(Pass& p);
    void AnchorClosing(Pass& p);
    void DrawFocus(const Pass& p);
    THTMLPicture* FindPicture(const String& source);
    void DrawZigZag(int left, int right, int y);

    UINT FFormat = kTextFormat;
    bool FRtl = false;
    int FAvail = 0;          // the width a line may take
    TRect FLineRect;         // Rect with its left edge 1 pixel in
    int FLineNo = 0;
    LineValues FLine;
    std::vector<int> FRunWidths;  // the widths of the line's runs, in order
    size_t FRunWidth = 0;         // the next one the second pass takes
    int FHoverImage = -1;
    int FThemed = -1;        // asked once per call
    String FIncomingID;
    // The font selected on the canvas, its colour the text colour set (valid once set).
    THtmlFont FCanvasFont;
    bool FCanvasFontSet = false;
    // What the canvas shows of itself, once asked.
    TRect FShown;
    bool FShownKnown = false;
    // The anchor under the test point, until its closer records its rectangle.
    bool FLinkHit = false;
    int FLinkNumber = 0;
    int64_t FAnchorStartWidth = 0;
    int FAnchorStartTop = 0, FAnchorStartLine = -1;
    // The focused anchor's rectangle on the current line.
    bool FFocusOpen = false;
    int FFocusLeft = 0, FFocusTop = 0;
    bool FFocusContinues = false;
};

int Renderer::SpaceWidth(Face& face) {
    if (face.space < 0) face.space = face.face->TextWidth(u" ");
    return face.space;
}

// As DrawText measures a run: prefixes and tabs as drawn, so measured and drawn widths agree. Text
// without them is measured by the face alone.
int Renderer::Width(const Face& face, const String& text) {
    if (text.empty()) return 0;
    static constexpr char16_t kDrawnApart[] = {u'&', u'\t', u'\0'};
    if (text.find_first_of(kDrawnApart, 0, 3) == String::npos) return face.face->TextWidth(text);
    THtmlFont font = face.font;
    font.Color = FCanvasFontSet ? FCanvasFont.Color : font.Color;  // only the face matters here
    UseFont(font);
    TRect r(0, 0, 0, 0);
    DrawText(C->Handle(), text, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING);
    return r.Right;
}

// A change of colour alone is the text colour's; the canvas's font changes only with its face.
void Renderer::UseFont(const THtmlFont& font) {
    if (FCanvasFontSet && SameFace(font, FCanvasFont) && font.Color == FCanvasFont.Color) return;
    if (!FCanvasFontSet || !SameFace(font, FCanvasFont)) font.ApplyTo(C->Font());
    SetTextColor(C->Handle(), static_cast<COLORREF>(ColorToRGB(font.Color)) & 0xFFFFFF);
    FCanvasFont = font;
    FCanvasFontSet = true;
}

void Renderer::UseBrush(const THtmlDrawState& st) {
    if (st.Background == clNone)
        C->Brush()->SetStyle(bsClear);
    else
        C->Brush()->SetColor(st.Background);
}

// A run drawn as DrawText draws it in r, its bottom at r's: text with no prefix, tab or ellipsis
// to draw, read left to right, goes out in one text call, clipped to r only where it passes it
// (rotated text may pass it anywhere).
void Renderer::DrawRunText(const String& text, const TRect& r, int w, const Face& face) {
    const int y = r.Bottom - face.lineHeight;
    const bool passes = int64_t{r.Left} + w > r.Right || y < r.Top || face.font.Orientation != 0;
    static constexpr char16_t kDrawnApart[] = {u'&', u'\t', u'\0'};
    const bool apart = (FFormat & (DT_RTLREADING | DT_RIGHT | DT_CENTER)) || (passes && !WordWrap) ||
                       text.find_first_of(std::u16string_view(kDrawnApart, 3)) != String::npos;
    if (apart) {
        TRect box = r;
        DrawText(C->Handle(), text, -1, &box, FFormat);
        return;
    }
    C->ExtTextOutImpl(r.Left, y, text, passes ? &r : nullptr, nullptr);
}

// The canvas's clip box (the rectangle drawn in when there is none), with a margin, so that edges
// outside it stay outside.
TRect Renderer::Shown() {
    if (!FShownKnown) {
        TRect clip;
        if (GetClipBox(C->Handle(), &clip) == NULLREGION || clip.IsEmpty()) clip = R;
        FShown = TRect(Held(int64_t{clip.Left} - 4), Held(int64_t{clip.Top} - 4), Held(int64_t{clip.Right} + 4),
                       Held(int64_t{clip.Bottom} + 4));
        FShownKnown = true;
    }
    return FShown;
}

// A part of a control cut to what can be seen: a box taller or wider than the clip takes no more
// than the clip, and what is cut off lies outside it.
TRect Renderer::ShownPart(const TRect& r) {
    const TRect s = Shown();
    return TRect(std::max(r.Left, s.Left), std::max(r.Top, s.Top), std::min(r.Right, s.Right), std::min(r.Bottom, s.Bottom));
}

bool Renderer::Themed() {
    if (FThemed < 0) FThemed = HtmlIsWinXP() && IsThemeActive() ? 1 : 0;
    return FThemed == 1;
}

void Renderer::Fill(const TRect& r, TColor colour) {
    if (colour == clNone || r.IsEmpty()) return;
    C->Brush()->SetColor(colour);
    C->FillRect(r);
}

bool Renderer::Run(const String& text) {
    CanvasKeeper keep(C);
    Faces().Trim();
    Options.InitialBackground = C->Brush()->Color();
    const THtmlFont base = THtmlFont::Of(C->Font());

    StripVal->clear();
    FocusAnchor->clear();
    TitleVal->clear();
    ControlValue->clear();
    ControlType->clear();
    FIncomingID = HitTestOnly ? *ControlID : String();
    if (!HitTestOnly) ControlID->clear();
    *XSize = *YSize = *HyperLinks = 0;
    *MouseLink = -1;
    *ControlRect = TRect(0, 0, 0, 0);

    SetBkMode(C->Handle(), TRANSPARENT);
    FFormat = DrawTextBiDiFlags(kTextFormat | (WordWrap ? 0 : DT_END_ELLIPSIS), BiDi);
    FRtl = (FFormat & DT_RTLREADING) && (FFormat & DT_RIGHT);
    FLineRect = R;
    FLineRect.Left += 1;
    FAvail = FLineRect.Width();

    THtmlScanner remaining(HtmlPrepareText(text));
    THtmlDrawState measure(base);
    THtmlDrawState paint(base);
    bool result = false;
    int64_t top = R.Top, total = 0;
    for (FLineNo = 0; !remaining.AtEnd(); ++FLineNo) {
        measure.Sub = measure.Sup = paint.Sub = paint.Sup = false;
        FLine = LineValues();
        FRunWidths.clear();
        FRunWidth = 0;
        FLine.gh = FaceOf(measure.Font).height;
        FLine.height = FLine.gh;

        Pass m{THtmlPass::Measure, &measure, TRect(FLineRect.Left, Held(top), FLineRect.Right, Held(top))};
        String lineSource;  // what the second pass takes again
        Line(m, remaining, MeasureOnly ? nullptr : &lineSource);
        if (FLine.pictureAlign == LineValues::AlignTop) FLine.alignOffset = FLine.height - FLine.gh;
        if (FLine.pictureAlign == LineValues::AlignMiddle) FLine.alignOffset = (FLine.height - FLine.gh) / 2;

        if (!MeasureOnly) {
            TRect placed(FLineRect.Left, Held(top), FLineRect.Right, Held(top + FLine.Total()));
            int64_t left = placed.Left;
            if (measure.Align == THtmlAlign::Right && placed.Right - m.width > left) left = placed.Right - m.width;
            if (measure.Align == THtmlAlign::Center && (placed.Width() - m.width) / 2 > 0)
                left += (placed.Width() - m.width) / 2;
            placed.Left = Held(left + measure.Indent);
            Pass second{HitTestOnly ? THtmlPass::HitTest : THtmlPass::Paint, &paint, placed};
            THtmlScanner again(lineSource);
            Line(second, again, nullptr);
            if (second.anchorHit || second.imageHit || second.controlHit) result = true;
        }
        top += FLine.Total();
        total += FLine.Total();
        if (!MeasureOnly && R.Bottom < top + FLine.gh) break;
    }
    *HyperLinks = measure.AnchorCount;
    *YSize = total == 0 ? FaceOf(measure.Font).height : Held(total);
    return result;
}

void Renderer::Line(Pass& p, THtmlScanner& src, String* lineSource) {
    THtmlDrawState& st = *p.st;
    if (p.Painting()) {
        if (FFocusContinues) {
            FFocusLeft = p.rect.Left;
            FFocusTop = p.rect.Top;
            FFocusContinues = false;
        }
        if (st.ParaBackground) Fill(TRect(R.Left, p.rect.Top, R.Right, p.rect.Bottom), st.ParaColor);
    }
    while (!src.AtEnd() && !p.ended && !p.full) {
        if (size_t n = src.RunLength(false)) {
            if (p.Measuring())
                MeasureRun(p, src, n, lineSource);
            else
                PlaceRun(p, src, n);
            continue;
        }
        THtmlTag tag = src.PeekTag();
        if (!Tag(p, tag)) break;  // the line is full; the tag waits for the next one
        if (lineSource) lineSource->append(src.Peek(tag.Length));
        src.Skip(tag.Length);
    }
    p.width -= p.trailing;
    if (p.Measuring()) *XSize = std::max(*XSize, Held(p.width));
    if (p.Painting() && FFocusOpen && st.InAnchor) {
        DrawFocus(p);
        FFocusContinues = true;
    }
}

// The measuring pass takes what stays on the line of the text up to the next tag: all of it when
// it fits; with word wrap otherwise word by word (each up to and including a blank), as many
// words at a time as fit before the line's end.
void Renderer::MeasureRun(Pass& p, THtmlScanner& src, size_t n, String* lineSource) {
    THtmlDrawState& st = *p.st;
    const std::u16string_view raw = src.Peek(n);
    auto consume = [&](size_t k) {
        if (lineSource) lineSource->append(raw.substr(0, k));
        src.Skip(k);
    };
    // The run as shown, piece by piece: a long run is not looked through for each line.
    auto shown = [&](size_t from, size_t to) {
        String text(raw.substr(from, to - from));
        return text.find(u'&') != String::npos ? HtmlRunEntities(text) : text;
    };
    if (st.Hidden) {  // not measured, not drawn, but part of the plain text
        *StripVal += shown(0, n);
        consume(n);
        return;
    }
    Face& face = FaceOf(st.Font);
    size_t taken = 0;   // of raw, what stays on the line
    int64_t width = 0;  // and its width
    auto place = [&](size_t to, const String& text, int w) {
        p.width += w;
        width += w;
        p.hasText = true;
        p.last = text.back();
        *StripVal += text;
        taken = to;
    };
    bool dropRest = false;
    // A run that likely fits is measured whole first.
    const int64_t room = FAvail - p.width;
    const bool likely = !WordWrap || int64_t(n) * std::max(1, face.average) / 2 < room;
    const String whole = likely ? shown(0, n) : String();
    const int wholeWidth = likely ? Width(face, whole) : 0;
    if (!WordWrap) {
        const bool fits = wholeWidth < room || wholeWidth >= FAvail || p.NoBreakPoint();
        // Without word wrap a run that overflows after others ends the text; it is drawn cut.
        dropRest = !fits && p.hasText;
        place(n, whole, wholeWidth);
    } else if (likely && wholeWidth < room) {
        place(n, whole, wholeWidth);
    } else {
        // Where each word ends, found as far as the layout looks.
        std::vector<size_t> ends;
        auto haveWord = [&](size_t i) {
            while (ends.size() <= i && (ends.empty() || ends.back() < n)) {
                const size_t blank = raw.find(u' ', ends.empty() ? 0 : ends.back());
                ends.push_back(blank == std::u16string_view::npos ? n : blank + 1);
            }
            return i < ends.size();
        };
        constexpr size_t kUnknown = SIZE_MAX;
        size_t next = 0;  // the first word not laid out
        while (haveWord(next)) {
            // The most words from next on that end before the line's end: as many as known to fit
            // (good) and the fewest known not to (bad), the count doubling from 1 and then halved
            // between them, so a long text is measured about as far as the line reaches.
            size_t good = 0, bad = kUnknown;
            if (next == 0 && likely) {  // all of them did not fit
                while (haveWord(ends.size())) {
                }
                bad = ends.size();
            }
            String goodText;
            int goodWidth = 0;
            auto probe = [&](size_t k) {
                String text = shown(taken, ends[next + k - 1]);
                const int w = Width(face, text);
                if (p.width + w < FAvail) {
                    good = k;
                    goodWidth = w;
                    goodText = std::move(text);
                    return true;
                }
                bad = k;
                return false;
            };
            for (size_t k = 1; k < bad && probe(k);) {
                size_t more = k * 2;
                if (!haveWord(next + more - 1)) {
                    more = ends.size() - next;  // the words that are left
                    if (more == k) break;       // and all of them fit
                }
                k = more;
            }
            while (bad != kUnknown && bad - good > 1) probe(good + (bad - good) / 2);
            if (good > 0) {
                place(ends[next + good - 1], goodText, goodWidth);
                next += good;
            }
            if (!haveWord(next)) break;
            // The next word does not fit where the line has got to: it stays only when it is as
            // wide as the line or wider, or when there is no break point before it.
            const String word = shown(taken, ends[next]);
            const int w = Width(face, word);
            if (w < FAvail && !p.NoBreakPoint()) {
                p.full = true;
                break;
            }
            place(ends[next], word, w);
            ++next;
        }
    }
    if (taken == 0) return;
    // Only what stays on the line raises it and reaches the plain text.
    const int h = face.height;
    FLine.height = std::max(FLine.height, h);
    if (st.Sub) FLine.below = std::max(FLine.below, h / 4);
    if (st.Sup) FLine.above = std::max(FLine.above, h / 4);
    FRunWidths.push_back(Held(width));
    p.trailing = p.last == u' ' ? SpaceWidth(face) : 0;
    consume(taken);
    if (dropRest) src.DropRest();
}

// The second pass takes a run as its line's measuring pass left it, with the width measured there.
void Renderer::PlaceRun(Pass& p, THtmlScanner& src, size_t n) {
    THtmlDrawState& st = *p.st;
    if (st.Hidden) {
        src.Skip(n);
        return;
    }
    String run(src.Peek(n));
    if (run.find(u'&') != String::npos) run = HtmlRunEntities(run);
    src.Skip(n);
    Face& face = FaceOf(st.Font);
    const int w = FRunWidth < FRunWidths.size() ? FRunWidths[FRunWidth++] : Width(face, run);
    if (p.HitTesting() && st.InAnchor) {
        // Over the run and within the line's text, as the result counts it.
        const int64_t at = PointInLine(p);
        const int textBottom = p.rect.Bottom - FLine.alignOffset;
        if (at >= p.width && at <= p.width + w && YPos > textBottom - FLine.gh && YPos < textBottom) {
            p.anchorHit = true;
            *AnchorVal = st.Href;
            *TitleVal = st.Title;
            FLinkHit = true;
            FLinkNumber = st.AnchorCount;
        }
    }
    if (p.Painting()) {
        UseBrush(st);
        const int left = ItemLeft(p, w);
        int bottom = p.rect.Bottom - FLine.below;
        if (st.Sup) bottom -= FLine.above;
        if (st.Sub) bottom += FLine.below;
        bottom -= FLine.alignOffset;
        const TRect r = FRtl ? TRect(p.rect.Left, p.rect.Top, ItemLeft(p, 0), bottom)
                             : TRect(left, p.rect.Top, p.rect.Right, bottom);
        if (st.Shadow) {
            TRect shadow = r;
            OffsetRect(shadow, ShadowOffset, ShadowOffset);
            THtmlFont shade = st.Font;
            shade.Color = ShadowColor;
            UseFont(shade);
            DrawRunText(run, shadow, w, face);
        }
        UseFont(st.Font);
        DrawRunText(run, r, w, face);
        if (st.InAnchor && FocusLink + 1 == st.AnchorCount) *FocusAnchor = st.Href;
        if (st.Error) DrawZigZag(left, Held(int64_t{left} + w), bottom);
    }
    p.width += w;
    p.hasText = true;
    p.last = run.back();
    p.trailing = p.last == u' ' ? SpaceWidth(face) : 0;
}

// Only where the canvas shows it: a long run's mark costs what the clip holds.
void Renderer::DrawZigZag(int left, int right, int y) {
    const TRect shown = Shown();
    left = std::max(left, shown.Left);
    right = std::min(right, shown.Right);
    if (left >= right) return;
    int x = left - (((left % 2) + 2) % 2);  // down to even
    C->Pen()->SetColor(clRed);
    C->Pen()->SetWidth(1);
    // The phase follows x, so neighbouring runs join: below the line at multiples of 4.
    bool below = ((x % 4) + 4) % 4 == 0;
    C->MoveTo(x, below ? y + 1 : y - 1);
    while (x < right) {
        x += 2;
        below = !below;
        C->LineTo(x, below ? y + 1 : y - 1);
    }
}

bool Renderer::Tag(Pass& p, const THtmlTag& tag) {
    THtmlDrawState& st = *p.st;
    using K = THtmlTagKind;
    switch (tag.Kind) {
        case K::Img: return Image(p, tag);
        case K::Control: return Control(p, tag);
        case K::LI:
            if (!tag.Closer) return Bullet(p, tag);
            break;
        case K::A:
            if (tag.Closer) AnchorClosing(p);
            break;
        default: break;
    }
    if (HtmlApplyTag(st, tag, p.kind, Options)) p.ended = true;
    switch (tag.Kind) {
        case K::A:
            if (!tag.Closer) AnchorOpened(p);
            break;
        case K::BR:
            if (p.Measuring()) *StripVal += u"\r";
            break;
        case K::HR:
            if (p.Painting()) {
                const int y = TextBottom(p) + 1;
                C->Pen()->SetColor(clBlack);
                C->Pen()->SetWidth(1);
                C->MoveTo(FLineRect.Left, y);
                C->LineTo(FLineRect.Right, y);
            }
            break;
        case K::Body:
            if (p.Painting() && !tag.Closer) {
                if (tag.HasAttr(u"BACKGROUND")) {
                    THTMLPicture* pic = FindPicture(tag.Attr(u"BACKGROUND"));
                    if (pic && !pic->Empty() && pic->Width() > 0 && pic->Height() > 0) {
                        // Tiled from the rectangle's corner, only over the part the canvas shows.
                        const TRect shown = ShownPart(R);
                        const int64_t pw = pic->Width(), ph = pic->Height();
                        HDC dc = C->Handle();
                        int saved = SaveDC(dc);
                        IntersectClipRect(dc, R.Left, R.Top, R.Right, R.Bottom);
                        for (int64_t y = R.Top + std::max<int64_t>(0, shown.Top - R.Top) / ph * ph; y < shown.Bottom; y += ph)
                            for (int64_t x = R.Left + std::max<int64_t>(0, shown.Left - R.Left) / pw * pw; x < shown.Right; x += pw)
                                C->Draw(static_cast<int>(x), static_cast<int>(y), pic);
                        RestoreDC(dc, saved);
                    }
                }
                if (tag.HasAttr(u"BGCOLOR")) Fill(R, st.Background);
            }
            break;
        case K::P:
            if (p.Painting() && !tag.Closer && tag.HasAttr(u"BGCOLOR"))
                Fill(TRect(R.Left, p.rect.Top, R.Right, p.rect.Bottom), st.ParaColor);
            break;
        case K::Ind: {
            int n = 0;
            if (tag.LetterValue(u'x', n) && p.width < Held(n)) p.width = Held(n);
            break;
        }
        default: break;
    }
    return true;
}

void Renderer::AnchorOpened(Pass& p) {
    const THtmlDrawState& st = *p.st;
    FAnchorStartWidth = p.width;
    FAnchorStartTop = p.rect.Top;
    FAnchorStartLine = FLineNo;
    if (p.Painting() && st.InAnchor && st.AnchorCount == FocusLink + 1) {
        FFocusOpen = true;
        FFocusLeft = ItemLeft(p, 0);
        FFocusTop = p.rect.Top;
    }
}

void Renderer::AnchorClosing(Pass& p) {
    const THtmlDrawState& st = *p.st;
    if (p.Painting() && FFocusOpen && st.AnchorCount == FocusLink + 1) {
        DrawFocus(p);
        FFocusOpen = false;
    }
    if (p.HitTesting() && FLinkHit && FLinkNumber == st.AnchorCount) {
        const bool sameLine = FAnchorStartLine == FLineNo;
        *HoverRect = TRect(Held(p.rect.Left + (sameLine ? FAnchorStartWidth : 0)), sameLine ? FAnchorStartTop : p.rect.Top,
                           Held(p.rect.Left + p.width), p.rect.Top + FLine.Total());
        *MouseLink = st.AnchorCount;
        FLinkHit = false;
    }
}

void Renderer::DrawFocus(const Pass& p) {
    const int bottom = TextBottom(p) - FLine.alignOffset;
    TRect r(std::min(FFocusLeft, ItemLeft(p, 0)), bottom - FLine.gh, std::max(FFocusLeft, ItemLeft(p, 0)), bottom);
    r.Left -= 1;
    r.Right += 1;
    C->DrawFocusRect(r);
}

THTMLPicture* Renderer::FindPicture(const String& source) {
    if (source.find(u':') == String::npos) return Container ? Container->FindPicture(source) : nullptr;
    if (source.find(u"://") == String::npos || !Cache) return nullptr;
    if (THTMLPicture* cached = Cache->FindPicture(source)) return cached;
    THTMLPicture* added = Cache->AddPicture();
    added->SetAsynch(false);
    try {
        added->LoadFromURL(source);
    } catch (const std::exception&) {
        // A picture that cannot be loaded is skipped; it stays in the cache as it is.
    }
    return Cache->FindPicture(source);
}

bool Renderer::Image(Pass& p, const THtmlTag& tag) {
    THtmlDrawState& st = *p.st;
    const int number = st.ImageCount + 1;
    // The hovered image shows its ALT picture; one without ALT stays as it is.
    const String alt = number == FHoverImage ? tag.Attr(u"ALT") : String();
    const String source = alt.empty() ? tag.Attr(u"SRC") : alt;
    const int wantW = AttrInt(tag, u"WIDTH"), wantH = AttrInt(tag, u"HEIGHT");
    const int ppi = Ppi();
    auto scaled = [ppi](int v) {  // as MulDiv rounds, without its overflow
        const int64_t p = int64_t{v} * ppi;
        return Held(p >= 0 ? (p + 48) / 96 : -((48 - p) / 96));
    };
    auto stretched = [](double v) { return Held(Round(v)); };
    int w = 0, h = 0;
    std::function<void(int x, int y)> draw;

    if (StartsWith(source, u"IDX:")) {
        int32_t index = -1;
        if (Images && TryStrToInt(source.substr(4), index) && index >= 0 && index < Images->Count()) {
            w = MulDiv(Images->Width(), ppi, 96);
            h = MulDiv(Images->Height(), ppi, 96);
            draw = [this, index, stretched](int x, int y) {
                if (!Printing) {
                    Images->Draw(C, x, y, index);
                    return;
                }
                TBitmap bitmap;
                if (!Images->GetBitmap(index, &bitmap)) return;
                StretchDrawBitmap(C, TRect(x, y, Held(int64_t{x} + stretched(Images->Width() * ResFactor)),
                                           Held(int64_t{y} + stretched(Images->Height() * ResFactor))),
                                  &bitmap);
            };
        }
    } else if (StartsWith(source, u"SSYS:") || StartsWith(source, u"LSYS:")) {
        const bool large = source[0] == u'L';
        const String name = source.substr(5);
        TSize icon;
        DrawSystemIcon(C, 0, 0, icon, ResFactor, Printing, false, large, name);
        if (icon.cx > 0 && icon.cy > 0) {
            w = MulDiv(icon.cx, ppi, 96);
            h = MulDiv(icon.cy, ppi, 96);
            draw = [this, large, name](int x, int y) {
                TSize drawn;
                DrawSystemIcon(C, x, y, drawn, ResFactor, Printing, true, large, name);
            };
        }
    } else if (THTMLPicture* pic = FindPicture(source); pic && !pic->Empty() && pic->Width() > 0 && pic->Height() > 0) {
        const int pw = pic->Width(), ph = pic->Height();
        const bool sized = wantW > 0 || wantH > 0;
        int dw = wantW, dh = wantH;
        if (wantW > 0 && wantH <= 0) dh = stretched(double(ph) * wantW / pw);
        if (wantH > 0 && wantW <= 0) dw = stretched(double(pw) * wantH / ph);
        w = scaled(sized ? dw : pic->MaxWidth());
        h = scaled(sized ? dh : pic->MaxHeight());
        draw = [this, pic, sized, w, h](int x, int y) {
            if (sized) {
                const bool stretch = pic->Stretch();
                pic->SetStretch(true);
                C->StretchDraw(TRect(x, y, Held(int64_t{x} + w), Held(int64_t{y} + h)), pic);
                pic->SetStretch(stretch);
            } else if (pic->FrameCount() > 1) {
                // An animation: its screen in the initial background, the current frame at its place.
                C->Pen()->SetColor(Options.InitialBackground);
                C->Brush()->SetColor(Options.InitialBackground);
                C->Rectangle(x, y, x + pic->MaxWidth(), y + pic->MaxHeight());
                C->Draw(x + pic->FrameXPos(), y + pic->FrameYPos(), pic);
            } else {
                C->Draw(x, y, pic);
            }
        };
    }
    if (!draw) {  // nothing to show takes no room
        st.ImageCount = number;
        return true;
    }
    if (!LineFits(p, w)) {
        p.full = true;
        return false;
    }
    st.ImageCount = number;
    if (p.Painting()) draw(ItemLeft(p, w), p.rect.Top);
    const int64_t at = PointInLine(p);
    if (at > p.width && at < p.width + w && YPos > p.rect.Top && YPos < int64_t{p.rect.Top} + h && st.InAnchor) {
        // Every pass hit-tests images, so the second draws the hovered one's ALT picture; only the
        // second pass's hit is the call's.
        FHoverImage = number;
        if (p.Counts()) {
            p.imageHit = true;
            *AnchorVal = st.Href;
            *TitleVal = st.Title;
        }
    }
    p.width += w;
    p.trailing = 0;
    FLine.height = std::max(FLine.height, h);
    st.BoxWidth = w;
    st.BoxHeight = h;
    const String upper = UpperAscii(tag.Text);
    if (upper.find(u"ALIGN") != String::npos) {
        if (upper.find(u"\"TOP") != String::npos) FLine.pictureAlign = LineValues::AlignTop;
        if (upper.find(u"\"MIDDLE") != String::npos) FLine.pictureAlign = LineValues::AlignMiddle;
    }
    return true;
}

bool Renderer::Control(Pass& p, const THtmlTag& tag) {
    THtmlDrawState& st = *p.st;
    String type, id, value, width, height, prop, maxlen;
    ParseControlTag(tag.Text, type, id, value, width, height, prop, maxlen);
    int32_t h = 0;
    h = TryStrToInt(height, h) ? Held(h) : 25;
    int32_t w = 0;
    const bool hasWidth = TryStrToInt(width, w);
    w = hasWidth ? Held(w) : 0;
    // The size of the previous image or control stays without a WIDTH (none before: 0 x 0).
    int boxW = hasWidth ? w : st.BoxWidth;
    int boxH = hasWidth ? FaceOf(st.Font).height + 10 : st.BoxHeight;
    const bool tick = type == u"CHECK" || type == u"RADIO";
    const int lineHeight = h > 25 ? h - 2 : tick ? 16 : 23;
    int layoutW = boxW, layoutH = boxH;
    if (type == u"BUTTON" || type == u"COMBO") layoutH = 25;
    if (tick) layoutW = layoutH = 16;
    if (!LineFits(p, layoutW)) {
        p.full = true;
        return false;
    }
    // Raised to the control's line height, never lowered below what the line already holds.
    FLine.height = std::max(FLine.height, lineHeight);

    if (p.Painting()) {
        const int x = ItemLeft(p, layoutW);
        const int b = TextBottom(p);
        const int s = lineHeight;
        const bool themed = Themed();
        const TColor border = themed ? TColor(0xB99D7F) : TColor(0x808080);
        HDC dc = C->Handle();
        // Parts are drawn only as far as the canvas shows them: a themed part takes a bitmap of
        // its size.
        auto part = [&](const char16_t* cls, int themePart, int state, const TRect& whole, UINT type, UINT classic) {
            TRect r = ShownPart(whole);
            if (r.IsEmpty()) return;
            if (themed) {
                if (HTHEME theme = OpenThemeData(Window, cls)) {
                    DrawThemeBackground(theme, dc, themePart, state, &r, nullptr);
                    CloseThemeData(theme);
                    return;
                }
            }
            DrawFrameControl(dc, &r, type, classic);
        };
        auto text = [&](const String& t, TRect r, UINT format) {
            UseFont(st.Font);
            C->Brush()->SetStyle(bsClear);
            DrawText(dc, t, -1, &r, format | DT_SINGLELINE | DT_NOPREFIX);
        };
        auto box = [&] {
            const TRect r = ShownPart(TRect(x, b - s + 4, Held(int64_t{x} + w), b + 2));
            if (r.IsEmpty()) return;
            C->Pen()->SetColor(border);
            C->Pen()->SetWidth(1);
            C->Brush()->SetColor(clWhite);
            C->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
        };
        const bool checked = UpperAscii(value) == u"TRUE";
        const bool overX = XPos > x - 2 && XPos < int64_t{x} + boxW - 2;
        if (type == u"EDIT" || type == u"PASSWORD" || type == u"MASK") {
            box();
            text(type == u"PASSWORD" ? PasswordMask(value) : value, TRect(x + 2, b - s + 4, Held(int64_t{x} + w), b),
                 DT_VCENTER);
        } else if (type == u"COMBO") {
            box();
            text(value, TRect(x + 4, b - s + 4, Held(int64_t{x} + w - 18), b), DT_VCENTER);
            TRect button(Held(int64_t{x} + w - 18), b - s + 5, Held(int64_t{x} + w - 1), b + 1);
            const bool hot = overX && YPos > int64_t{b} - boxH - 2 && YPos < b - 2;
            part(u"combobox", CP_DROPDOWNBUTTON, hot ? CBXS_HOT : CBXS_NORMAL, button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
        } else if (type == u"CHECK") {
            part(u"button", BP_CHECKBOX, checked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL, TRect(x + 2, b - 15, x + 15, b),
                 DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
        } else if (type == u"RADIO") {
            part(u"button", BP_RADIOBUTTON, checked ? RBS_CHECKEDNORMAL : RBS_UNCHECKEDNORMAL, TRect(x + 2, b - 14, x + 14, b),
                 DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
        } else if (type == u"BUTTON") {
            TRect r(x + 2, b - h, Held(int64_t{x} + w - 2), b);
            const bool hot = overX && YPos > b - 24 - 2 && YPos < b - 2;
            const bool pressed = hot && MouseDown;
            part(u"button", BP_PUSHBUTTON, pressed ? PBS_PRESSED : hot ? PBS_HOT : PBS_NORMAL, r, DFC_BUTTON,
                 DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
            TRect inner = r;
            InflateRect(inner, -2, -2);
            text(value, inner, DT_CENTER | DT_VCENTER);
        }
    }
    const int64_t at = PointInLine(p);
    const bool under = at > p.width && at < p.width + layoutW && YPos > p.rect.Top && YPos < int64_t{p.rect.Top} + layoutH;
    if (p.Counts() && (under || (HitTestOnly && !FIncomingID.empty() && id == FIncomingID))) {
        p.controlHit = true;
        *AnchorVal = u"ctrl";
        const int left = ItemLeft(p, layoutW);
        *ControlRect = TRect(left, p.rect.Top, Held(int64_t{left} + layoutW), Held(int64_t{p.rect.Top} + layoutH));
        *ControlValue = value;
        *ControlID = id;
        *ControlType = type;
    }
    p.width += layoutW;
    p.trailing = 0;
    FLine.height = std::max(FLine.height, layoutH);
    st.BoxWidth = layoutW;
    st.BoxHeight = layoutH;
    return true;
}

bool Renderer::Bullet(Pass& p, const THtmlTag& tag) {
    THtmlDrawState& st = *p.st;
    if (p.bullets > 0) {  // a second bullet starts a line of its own
        p.full = true;
        return false;
    }
    ++p.bullets;
    HtmlApplyTag(st, tag, p.kind, Options);
    const int64_t level = st.ListLevel;
    if (p.Painting()) {
        // The bullet takes the last step of the level's indent; the text starts after it.
        const int x = FRtl ? ItemLeft(p, kBulletStep * level) : Held(ItemLeft(p, 0) + kBulletStep * level - kBulletStep);
        THtmlFont symbol = st.Font;
        symbol.Name = u"Symbol";
        UseFont(symbol);
        UseBrush(st);
        C->Brush()->SetStyle(bsClear);
        TRect r(x, p.rect.Top, x + kBulletStep, p.rect.Bottom);
        DrawText(C->Handle(), level % 2 ? String(u"\u00B7") : String(u"o"), -1, &r,
                 DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    }
    p.width += kBulletStep * level;
    p.trailing = 0;
    return true;
}

}  // namespace

bool HtmlRenderText(TCanvas* Canvas, const String& Text, const TRect& Rect, TCustomImageList* Images, int XPos, int YPos,
                    int FocusLink, int HoverLink, int ShadowOffset, bool HitTestOnly, bool MeasureOnly, bool Printing,
                    bool KeepFontColor, bool BlinkOn, bool HoverOnly, bool WordWrap, bool MouseDown, double ResFactor,
                    TColor URLColor, TColor HoverColor, TColor HoverFontColor, TColor ShadowColor, String& AnchorVal,
                    String& StripVal, String& FocusAnchor, String& TitleVal, int& XSize, int& YSize, int& HyperLinks,
                    int& MouseLink, TRect& HoverRect, TRect& ControlRect, String& ControlID, String& ControlValue,
                    String& ControlType, THTMLPictureCache* ImageCache, TPictureContainer* Container, HWND WinHandle,
                    THtmlBiDiMode BiDiMode) {
    Renderer r;
    r.C = Canvas;
    r.R = Rect;
    r.Images = Images;
    r.XPos = XPos;
    r.YPos = YPos;
    r.FocusLink = FocusLink;
    r.ShadowOffset = ShadowOffset;
    r.HitTestOnly = HitTestOnly;
    r.MeasureOnly = MeasureOnly;
    r.Printing = Printing;
    r.WordWrap = WordWrap;
    r.MouseDown = MouseDown;
    r.ResFactor = ResFactor;
    r.ShadowColor = ShadowColor;
    r.Options.KeepFontColor = KeepFontColor;
    r.Options.BlinkOn = BlinkOn;
    r.Options.HoverOnly = HoverOnly;
    r.Options.HoverLink = HoverLink;
    r.Options.URLColor = URLColor;
    r.Options.HoverColor = HoverColor;
    r.Options.HoverFontColor = HoverFontColor;
    r.Cache = ImageCache;
    r.Container = Container;
    r.Window = WinHandle;
    r.BiDi = BiDiMode;
    r.AnchorVal = &AnchorVal;
    r.StripVal = &StripVal;
    r.FocusAnchor = &FocusAnchor;
    r.TitleVal = &TitleVal;
    r.XSize = &XSize;
    r.YSize = &YSize;
    r.HyperLinks = &HyperLinks;
    r.MouseLink = &MouseLink;
    r.HoverRect = &HoverRect;
    r.ControlRect = &ControlRect;
    r.ControlID = &ControlID;
    r.ControlValue = &ControlValue;
    r.ControlType = &ControlType;
    return r.Run(Text);
}

UINT DrawTextBiDiFlags(UINT format, THtmlBiDiMode bidiMode) {
    if (!SysLocale.MiddleEast) return format;
    if (bidiMode == THtmlBiDiMode::bdRightToLeft) {
        if (format & DT_RIGHT)
            format &= ~DT_RIGHT;
        else if (!(format & DT_CENTER))
            format |= DT_RIGHT;
    }
    if (bidiMode != THtmlBiDiMode::bdLeftToRight) format |= DT_RTLREADING;
    return format;
}

void StretchDrawBitmap(TCanvas* canvas, const TRect& rect, TBitmap* bitmap) {
    if (!canvas || !bitmap || bitmap->Empty()) return;
    TBitmap copy;
    copy.Assign(bitmap);
    copy.SetHandleType(bmDIB);
    copy.SetPixelFormat(pf24bit);
    canvas->StretchDraw(rect, &copy);
}

namespace {
struct HeldFont {
    HGDIOBJ previous;
    HFONT rotated;
};
std::map<TCanvas*, HeldFont>& HeldFonts() {
    static std::map<TCanvas*, HeldFont> held;
    return held;
}
}  // namespace

void SelectRotatedFont(TCanvas* canvas, int degrees) {
    if (!canvas) return;
    RestoreRotatedFont(canvas);
    LOGFONT lf;
    GetObject(canvas->Font()->Handle(), sizeof(lf), &lf);
    lf.lfEscapement = lf.lfOrientation = degrees * 10;
    HFONT rotated = CreateFontIndirect(&lf);
    HGDIOBJ previous = SelectObject(canvas->Handle(), rotated);
    HeldFonts()[canvas] = {previous, rotated};
}

void RestoreRotatedFont(TCanvas* canvas) {
    auto it = HeldFonts().find(canvas);
    if (it == HeldFonts().end()) return;
    SelectObject(canvas->Handle(), it->second.previous);
    DeleteObject(it->second.rotated);
    HeldFonts().erase(it);
}
