// HtmlRenderText: layout, drawing and hit-testing of HTML-formatted text. Each line is taken from
// the text by a measuring pass and then, unless only measuring, processed again by a pass that
// paints or hit-tests it in its placed rectangle.
#include <algorithm>
#include <functional>
#include <map>
#include <vector>

#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/FrameControls.h"
#include "platform/ui/SystemInfo.h"
#include "platform/ui/Themes.h"
#include "render/ZivAVEZE.h"
#include "render/ZivAVEZEImpl.h"

using namespace html_impl;

namespace {

constexpr UINT kTextFormat = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING;
constexpr int kBulletStep = 12;

// The caller's pen, brush and font, put back however the call ends.
class CanvasKeeper {
public:
    explicit CanvasKeeper(TCanvas* c)
        : FCanvas(c), FPenColor(c->Pen()->Color()), FPenWidth(c->Pen()->Width()), FBrushColor(c->Brush()->Color()),
          FBrushStyle(c->Brush()->Style()) {
        FFont.Assign(c->Font());
    }
    ~CanvasKeeper() {
        FCanvas->Pen()->SetColor(FPenColor);
        FCanvas->Pen()->SetWidth(FPenWidth);
        FCanvas->Brush()->SetColor(FBrushColor);
        FCanvas->Brush()->SetStyle(FBrushStyle);
        FCanvas->Font()->Assign(&FFont);
    }
    CanvasKeeper(const CanvasKeeper&) = delete;
    CanvasKeeper& operator=(const CanvasKeeper&) = delete;

private:
    TCanvas* FCanvas;
    TColor FPenColor;
    int FPenWidth;
    TColor FBrushColor;
    TBrushStyle FBrushStyle;
    TFont FFont;
};

int AttrInt(const THtmlTag& tag, const char16_t* name) {
    int32_t v = 0;
    return TryStrToInt(tag.Attr(name), v) ? v : 0;
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
    TRect rect;         // left: the line's left edge; top: the line's top; bottom once placed
    int width = 0;      // the line's width so far
    String lineText;    // the runs laid out so far, for the break test
    int trailing = 0;   // width of a blank ending the last run
    int bullets = 0;
    bool ended = false;  // a tag ended the line
    bool full = false;   // something did not fit and waits for the next line
    bool anchorHit = false, imageHit = false, controlHit = false;
    bool Measuring() const { return kind == THtmlPass::Measure; }
    bool HitTesting() const { return kind != THtmlPass::Paint; }
    bool Painting() const { return kind == THtmlPass::Paint; }
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
    void Sync(const THtmlDrawState& st);
    int RunWidth(const String& run);
    int Ppi() { return GetDeviceCaps(C->Handle(), LOGPIXELSX); }
    bool Themed();
    void Fill(const TRect& r, TColor colour);
    // Where an item of width w starts: left to right from the line's left edge, or mirrored.
    int ItemLeft(const Pass& p, int w) const { return FRtl ? p.rect.Right - p.width - w : p.rect.Left + p.width; }
    // The test point's distance into the line, in the direction the line fills.
    int PointInLine(const Pass& p) const { return FRtl ? p.rect.Right - XPos : XPos - p.rect.Left; }
    int TextBottom(const Pass& p) const { return p.rect.Top + FLine.Total() - FLine.below; }
    // A picture, control or bullet narrower than a line that does not fit where the line has got
    // to waits for the next line; the second pass takes the line as it was measured.
    bool LineFits(const Pass& p, int w) const { return !(p.Measuring() && p.width + w > FAvail && w < FAvail); }

    void Line(Pass& p, THtmlScanner& src, String* lineSource);
    void TextRun(Pass& p, THtmlScanner& src, size_t n, String* lineSource);
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
    // The anchor under the test point, until its closer records its rectangle.
    bool FLinkHit = false;
    int FLinkNumber = 0;
    int FAnchorStartWidth = 0, FAnchorStartTop = 0, FAnchorStartLine = -1;
    // The focused anchor's rectangle on the current line.
    bool FFocusOpen = false;
    int FFocusLeft = 0, FFocusTop = 0;
    bool FFocusContinues = false;
};

void Renderer::Sync(const THtmlDrawState& st) {
    st.Font.ApplyTo(C->Font());
    if (st.Background == clNone)
        C->Brush()->SetStyle(bsClear);
    else
        C->Brush()->SetColor(st.Background);
}

// Prefixes and tabs as the run is drawn, so measuring and drawing agree.
int Renderer::RunWidth(const String& run) {
    TRect r(0, 0, 0, 0);
    DrawText(C->Handle(), run, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING);
    return r.Right;
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
    int top = R.Top;
    for (FLineNo = 0; !remaining.AtEnd(); ++FLineNo) {
        measure.Sub = measure.Sup = paint.Sub = paint.Sup = false;
        FLine = LineValues();
        FRunWidths.clear();
        FRunWidth = 0;
        Sync(measure);
        FLine.gh = C->TextHeight(u"gh");
        FLine.height = FLine.gh;

        Pass m{THtmlPass::Measure, &measure, TRect(FLineRect.Left, top, FLineRect.Right, top)};
        String lineSource;
        Line(m, remaining, &lineSource);
        if (FLine.pictureAlign == LineValues::AlignTop) FLine.alignOffset = FLine.height - FLine.gh;
        if (FLine.pictureAlign == LineValues::AlignMiddle) FLine.alignOffset = (FLine.height - FLine.gh) / 2;

        if (!MeasureOnly) {
            TRect placed(FLineRect.Left, top, FLineRect.Right, top + FLine.Total());
            if (measure.Align == THtmlAlign::Right && placed.Right - m.width > placed.Left) placed.Left = placed.Right - m.width;
            if (measure.Align == THtmlAlign::Center && (placed.Width() - m.width) / 2 > 0)
                placed.Left += (placed.Width() - m.width) / 2;
            placed.Left += measure.Indent;
            Pass second{HitTestOnly ? THtmlPass::HitTest : THtmlPass::Paint, &paint, placed};
            THtmlScanner again(lineSource);
            Line(second, again, nullptr);
            const int bottom = placed.Bottom - FLine.alignOffset;
            if (second.anchorHit && YPos > bottom - FLine.gh && YPos < bottom) result = true;
            if (second.imageHit || second.controlHit) result = true;
        }
        top += FLine.Total();
        *YSize += FLine.Total();
        if (!MeasureOnly && R.Bottom < top + FLine.gh) break;
    }
    *HyperLinks = measure.AnchorCount;
    if (*YSize == 0) {
        Sync(measure);
        *YSize = C->TextHeight(u"gh");
    }
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
        if (size_t n = src.RunLength(WordWrap)) {
            TextRun(p, src, n, lineSource);
            continue;
        }
        THtmlTag tag = src.PeekTag();
        if (!Tag(p, tag)) break;  // the line is full; the tag waits for the next one
        String taken = src.Take(tag.Length);
        if (lineSource) *lineSource += taken;
    }
    p.width -= p.trailing;
    if (p.Measuring()) *XSize = std::max(*XSize, p.width);
    if (p.Painting() && FFocusOpen && st.InAnchor) {
        DrawFocus(p);
        FFocusContinues = true;
    }
}

void Renderer::TextRun(Pass& p, THtmlScanner& src, size_t n, String* lineSource) {
    THtmlDrawState& st = *p.st;
    const String raw = src.Rest().substr(0, n);
    const String run = HtmlRunEntities(raw);
    auto consume = [&] {
        src.Take(n);
        if (lineSource) *lineSource += raw;
    };
    if (st.Hidden) {  // not measured, not drawn, but part of the plain text
        if (p.Measuring()) *StripVal += run;
        consume();
        return;
    }
    Sync(st);
    // The second pass takes the widths its line's runs measured: the same runs in the same fonts.
    int w = 0;
    if (p.Measuring()) {
        w = RunWidth(run);
    } else if (FRunWidth < FRunWidths.size()) {
        w = FRunWidths[FRunWidth++];
    } else {
        w = RunWidth(run);
    }
    bool dropRest = false;
    if (p.Measuring()) {
        const bool fits = p.width + w < FAvail || w >= FAvail || (!p.lineText.empty() && p.lineText.back() != u' ');
        if (!fits && WordWrap) {
            p.full = true;
            return;
        }
        // Without word wrap a run that overflows after others ends the text; it is drawn cut.
        dropRest = !fits && !p.lineText.empty();
    }
    // Only what stays on the line raises it and reaches the plain text.
    if (p.Measuring()) {
        const int h = C->TextHeight(run);
        FLine.height = std::max(FLine.height, h);
        if (st.Sub) FLine.below = std::max(FLine.below, h / 4);
        if (st.Sup) FLine.above = std::max(FLine.above, h / 4);
        *StripVal += run;
        FRunWidths.push_back(w);
    }

    if (p.HitTesting()) {
        const int at = PointInLine(p);
        const int lineBottom = p.rect.Top + FLine.Total();
        if (at >= p.width && at <= p.width + w && st.InAnchor && p.rect.Top < YPos && YPos < lineBottom) {
            p.anchorHit = true;
            *AnchorVal = st.Href;
            *TitleVal = st.Title;
            FLinkHit = true;
            FLinkNumber = st.AnchorCount;
        }
    }
    if (p.Painting()) {
        const int left = ItemLeft(p, w);
        int bottom = p.rect.Bottom - FLine.below;
        if (st.Sup) bottom -= FLine.above;
        if (st.Sub) bottom += FLine.below;
        bottom -= FLine.alignOffset;
        TRect r = FRtl ? TRect(p.rect.Left, p.rect.Top, p.rect.Right - p.width, bottom)
                       : TRect(left, p.rect.Top, p.rect.Right, bottom);
        if (st.Shadow) {
            TRect shadow = r;
            OffsetRect(shadow, ShadowOffset, ShadowOffset);
            C->Font()->SetColor(ShadowColor);
            DrawText(C->Handle(), run, -1, &shadow, FFormat);
            C->Font()->SetColor(st.Font.Color);
        }
        DrawText(C->Handle(), run, -1, &r, FFormat);
        if (st.InAnchor && FocusLink + 1 == st.AnchorCount) *FocusAnchor = st.Href;
        if (st.Error) DrawZigZag(left, left + w, bottom);
    }
    p.width += w;
    p.lineText += run;
    p.trailing = !run.empty() && run.back() == u' ' ? RunWidth(u" ") : 0;
    consume();
    if (dropRest) src.DropRest();
}

void Renderer::DrawZigZag(int left, int right, int y) {
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
                        HDC dc = C->Handle();
                        int saved = SaveDC(dc);
                        IntersectClipRect(dc, R.Left, R.Top, R.Right, R.Bottom);
                        for (int y = R.Top; y < R.Bottom; y += pic->Height())
                            for (int x = R.Left; x < R.Right; x += pic->Width()) C->Draw(x, y, pic);
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
            if (tag.LetterValue(u'x', n) && p.width < n) p.width = n;
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
        *HoverRect = TRect(p.rect.Left + (sameLine ? FAnchorStartWidth : 0), sameLine ? FAnchorStartTop : p.rect.Top,
                           p.rect.Left + p.width, p.rect.Top + FLine.Total());
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
    const String source = number == FHoverImage ? tag.Attr(u"ALT") : tag.Attr(u"SRC");
    const int wantW = AttrInt(tag, u"WIDTH"), wantH = AttrInt(tag, u"HEIGHT");
    const int ppi = Ppi();
    int w = 0, h = 0;
    std::function<void(int x, int y)> draw;

    if (StartsWith(source, u"IDX:")) {
        int32_t index = -1;
        if (Images && TryStrToInt(source.substr(4), index) && index >= 0 && index < Images->Count()) {
            w = MulDiv(Images->Width(), ppi, 96);
            h = MulDiv(Images->Height(), ppi, 96);
            draw = [this, index](int x, int y) {
                if (!Printing) {
                    Images->Draw(C, x, y, index);
                    return;
                }
                TBitmap bitmap;
                if (!Images->GetBitmap(index, &bitmap)) return;
                StretchDrawBitmap(C, TRect(x, y, x + static_cast<int>(Round(Images->Width() * ResFactor)),
                                           y + static_cast<int>(Round(Images->Height() * ResFactor))),
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
        if (wantW > 0 && wantH <= 0) dh = static_cast<int>(Round(double(ph) * wantW / pw));
        if (wantH > 0 && wantW <= 0) dw = static_cast<int>(Round(double(pw) * wantH / ph));
        w = MulDiv(sized ? dw : pic->MaxWidth(), ppi, 96);
        h = MulDiv(sized ? dh : pic->MaxHeight(), ppi, 96);
        draw = [this, pic, sized, w, h](int x, int y) {
            if (sized) {
                const bool stretch = pic->Stretch();
                pic->SetStretch(true);
                C->StretchDraw(TRect(x, y, x + w, y + h), pic);
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
    const int at = PointInLine(p);
    if (at > p.width && at < p.width + w && YPos > p.rect.Top && YPos < p.rect.Top + h && st.InAnchor) {
        p.imageHit = true;
        *AnchorVal = st.Href;
        *TitleVal = st.Title;
        FHoverImage = number;
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
    if (!TryStrToInt(height, h)) h = 25;
    int32_t w = 0;
    const bool hasWidth = TryStrToInt(width, w);
    if (!hasWidth) w = 0;
    Sync(st);
    // The size of the previous image or control stays without a WIDTH (none before: 0 x 0).
    int boxW = hasWidth ? w : st.BoxWidth;
    int boxH = hasWidth ? C->TextHeight(u"gh") + 10 : st.BoxHeight;
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
        auto themedPart = [&](const char16_t* cls, int part, int state, const TRect& r) {
            if (!themed) return false;
            HTHEME theme = OpenThemeData(Window, cls);
            if (!theme) return false;
            DrawThemeBackground(theme, dc, part, state, &r, nullptr);
            CloseThemeData(theme);
            return true;
        };
        auto text = [&](const String& t, TRect r, UINT format) {
            Sync(st);
            C->Brush()->SetStyle(bsClear);
            DrawText(dc, t, -1, &r, format | DT_SINGLELINE | DT_NOPREFIX);
        };
        auto box = [&] {
            C->Pen()->SetColor(border);
            C->Pen()->SetWidth(1);
            C->Brush()->SetColor(clWhite);
            C->Rectangle(x, b - s + 4, x + w, b + 2);
        };
        const bool checked = UpperAscii(value) == u"TRUE";
        const bool overX = XPos > x - 2 && XPos < x + boxW - 2;
        if (type == u"EDIT" || type == u"PASSWORD" || type == u"MASK") {
            box();
            text(type == u"PASSWORD" ? PasswordMask(value) : value, TRect(x + 2, b - s + 4, x + w, b), DT_VCENTER);
        } else if (type == u"COMBO") {
            box();
            text(value, TRect(x + 4, b - s + 4, x + w - 18, b), DT_VCENTER);
            TRect button(x + w - 18, b - s + 5, x + w - 1, b + 1);
            const bool hot = overX && YPos > b - boxH - 2 && YPos < b - 2;
            if (!themedPart(u"combobox", CP_DROPDOWNBUTTON, hot ? CBXS_HOT : CBXS_NORMAL, button))
                DrawFrameControl(dc, &button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
        } else if (type == u"CHECK") {
            TRect r(x + 2, b - 15, x + 15, b);
            if (!themedPart(u"button", BP_CHECKBOX, checked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL, r))
                DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
        } else if (type == u"RADIO") {
            TRect r(x + 2, b - 14, x + 14, b);
            if (!themedPart(u"button", BP_RADIOBUTTON, checked ? RBS_CHECKEDNORMAL : RBS_UNCHECKEDNORMAL, r))
                DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
        } else if (type == u"BUTTON") {
            TRect r(x + 2, b - h, x + w - 2, b);
            const bool hot = overX && YPos > b - 24 - 2 && YPos < b - 2;
            const bool pressed = hot && MouseDown;
            if (!themedPart(u"button", BP_PUSHBUTTON, pressed ? PBS_PRESSED : hot ? PBS_HOT : PBS_NORMAL, r))
                DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
            TRect inner = r;
            InflateRect(inner, -2, -2);
            text(value, inner, DT_CENTER | DT_VCENTER);
        }
    }
    const int at = PointInLine(p);
    const bool under = at > p.width && at < p.width + layoutW && YPos > p.rect.Top && YPos < p.rect.Top + layoutH;
    if (under || (HitTestOnly && !FIncomingID.empty() && id == FIncomingID)) {
        p.controlHit = true;
        *AnchorVal = u"ctrl";
        const int left = ItemLeft(p, layoutW);
        *ControlRect = TRect(left, p.rect.Top, left + layoutW, p.rect.Top + layoutH);
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
    const int level = st.ListLevel;
    if (p.Painting()) {
        // The bullet takes the last step of the level's indent; the text starts after it.
        const int x = FRtl ? ItemLeft(p, kBulletStep * level) : ItemLeft(p, 0) + kBulletStep * level - kBulletStep;
        Sync(st);
        C->Font()->SetName(u"Symbol");
        C->Brush()->SetStyle(bsClear);
        TRect r(x, p.rect.Top, x + kBulletStep, p.rect.Bottom);
        DrawText(C->Handle(), level % 2 ? String(u"\u00B7") : String(u"o"), -1, &r,
                 DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
        C->Font()->SetName(st.Font.Name);
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
