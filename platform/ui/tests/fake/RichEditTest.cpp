// The rich edit's rules on the fake backend (no view): lines and streams, character formats
// through the messages, notifications through the parent, resize requests and EM_FORMATRANGE
// on bitmaps, a logging canvas and the metafile recorder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/Streams.h"
#include "platform/ui/backend/Backend.h"
#include "platform/ui/backend/Canvas.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Metafile.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/ui/WinUser.h"
#include "platform/win/Window.h"

namespace {

// A parent that writes down the notifications it gets.
class NotifyHost : public TCustomControl {
public:
    explicit NotifyHost(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 300, 200); }
    std::vector<std::string>* Log = nullptr;

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == WM_NOTIFY && Log) Log->push_back("parent " + std::to_string(reinterpret_cast<const NMHDR*>(m.LParam)->code));
        TCustomControl::Dispatch(m);
    }
};

// Hands every drawing to the raster canvas and writes down each text call.
class TextLog : public ui::CanvasForwarder {
public:
    explicit TextLog(TCanvas& front) : FInner(ui::GetBackend().CreateRasterCanvas(front)) {}
    struct Call {
        TPoint At;
        String Text;
    };
    std::vector<Call> Calls;
    bool Text(TPoint at, const String& text, int width, const TRect* clip, const TRect* opaque) override {
        Calls.push_back({at, text});
        return FInner->Text(at, text, width, clip, opaque);
    }

protected:
    ui::CanvasImpl& Inner() override { return *FInner; }

private:
    std::unique_ptr<ui::CanvasImpl> FInner;
};

class RichEditTest : public ui::test::FormTest {
protected:
    NotifyHost* host = nullptr;
    TRichEdit* edit = nullptr;
    std::vector<std::string> log;

    void SetUp() override {
        FormTest::SetUp();
        host = Add<NotifyHost>(0, 0);
        host->Log = &log;
        edit = NewComponent<TRichEdit>(form);
        edit->SetBounds(10, 10, 200, 100);
        edit->SetParent(host);
        form->Show();
    }
    std::string Save(TextEncoding encoding) {
        TMemoryStream s;
        edit->Lines()->SaveToStream(&s, encoding);
        return std::string(static_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
    }
    void Load(const std::string& bytes) {
        TMemoryStream s;
        if (!bytes.empty()) s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        s.SetPosition(0);
        edit->Lines()->LoadFromStream(&s);
    }
    int LineHeight() {
        TBitmap b;
        b.SetSize(1, 1);
        ui::SelectRichFont(*b.Canvas(), edit->Document().DefaultFormat(), 96);
        TEXTMETRIC tm;
        GetTextMetrics(b.Canvas()->Handle(), &tm);
        return tm.tmAscent + tm.tmDescent;
    }
    LRESULT Format(TCanvas* canvas, TRect twips, int from, int to, bool render) {
        FORMATRANGE fr;
        fr.hdc = fr.hdcTarget = canvas ? canvas->Handle() : nullptr;
        fr.rc = fr.rcPage = twips;
        fr.chrg.cpMin = from;
        fr.chrg.cpMax = to;
        return edit->Perform(EM_FORMATRANGE, render ? 1 : 0, reinterpret_cast<LPARAM>(&fr));
    }
};

TEST_F(RichEditTest, LinesLoadRtfOrPlainTextAndSaveRtfWhateverTheEncoding) {
    Load("hello");
    EXPECT_EQ(edit->Text(), String(u"hello"));
    Load("{\\rtf1\\ansi {\\b bold} plain\\par second}");
    EXPECT_EQ(edit->Text(), String(u"bold plain\r\nsecond"));
    EXPECT_EQ(edit->Lines()->Count(), 2);
    EXPECT_TRUE(edit->Document().CharFormat(0).Style.Contains(fsBold));
    EXPECT_FALSE(edit->Document().CharFormat(5).Style.Contains(fsBold));
    std::string utf8 = Save(TextEncoding::Utf8);
    EXPECT_EQ(Save(TextEncoding::Utf16LE), utf8);
    EXPECT_TRUE(ui::LooksLikeRtf(utf8));
    // What was saved loads back with its formats.
    edit->Clear();
    Load(utf8);
    EXPECT_EQ(edit->Text(), String(u"bold plain\r\nsecond"));
    EXPECT_TRUE(edit->Document().CharFormat(0).Style.Contains(fsBold));
    // PlainText reads RTF bytes as text.
    edit->SetPlainText(true);
    Load("{\\rtf1 x}");
    EXPECT_EQ(edit->Text(), String(u"{\\rtf1 x}"));
    Load("");
    EXPECT_EQ(edit->Text(), String());
}

TEST_F(RichEditTest, CharFormat2OffsetOnTheSelection) {
    edit->SetText(u"a raised b");
    edit->SetSelStart(2);
    edit->SetSelLength(6);
    for (int offset : {40, -40, 0}) {
        CHARFORMAT2 cf;
        cf.dwMask = CFM_OFFSET;
        cf.yOffset = offset;
        EXPECT_EQ(edit->Perform(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf)), 1);
        CHARFORMAT2 got;
        edit->Perform(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&got));
        EXPECT_EQ(got.yOffset, offset);
        EXPECT_TRUE(got.dwMask & CFM_OFFSET);
        EXPECT_EQ(edit->Document().CharFormat(0).Offset, 0) << "outside the selection";
    }
    // The narrow record has no offset; other sizes are refused.
    CHARFORMAT narrow;
    narrow.dwMask = CFM_OFFSET | CFM_BOLD;
    narrow.dwEffects = CFE_BOLD;
    narrow.yOffset = 40;
    EXPECT_EQ(edit->Perform(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&narrow)), 1);
    EXPECT_EQ(edit->Document().CharFormat(3).Offset, 0);
    EXPECT_TRUE(edit->Document().CharFormat(3).Style.Contains(fsBold));
    CHARFORMAT2 odd;
    odd.cbSize = 84;
    odd.dwMask = CFM_OFFSET | CFM_ITALIC;
    odd.dwEffects = CFE_ITALIC;
    odd.yOffset = 40;
    EXPECT_EQ(edit->Perform(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&odd)), 0);
    EXPECT_EQ(edit->Perform(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&odd)), 0);
    EXPECT_FALSE(edit->Document().CharFormat(3).Style.Contains(fsItalic));
    EXPECT_EQ(edit->Document().CharFormat(3).Offset, 0);
}

TEST_F(RichEditTest, SelAttributesApplyToTheSelectionOnly) {
    edit->SetText(u"one two three");
    edit->SetSelStart(4);
    edit->SetSelLength(3);
    TFontStyles bold;
    bold << fsBold;
    edit->SelAttributes()->SetStyle(bold);
    edit->SelAttributes()->SetColor(clRed);
    edit->SelAttributes()->SetSize(14);
    for (int i = 0; i < edit->Text().Length(); ++i) {
        bool inside = i >= 4 && i < 7;
        EXPECT_EQ(edit->Document().CharFormat(i).Style.Contains(fsBold), inside) << i;
        EXPECT_EQ(edit->Document().CharFormat(i).Color == clRed, inside) << i;
    }
    EXPECT_EQ(edit->SelAttributes()->Size(), 14);
    EXPECT_TRUE(edit->SelAttributes()->Style().Contains(fsBold));
    edit->SetSelStart(0);
    edit->SetSelLength(2);
    EXPECT_FALSE(edit->SelAttributes()->Style().Contains(fsBold));
    // The paragraph's alignment and indents.
    edit->Paragraph()->SetAlignment(taCenter);
    edit->Paragraph()->SetLeftIndent(10);
    EXPECT_EQ(edit->Paragraph()->Alignment(), taCenter);
    EXPECT_EQ(edit->Document().ParaFormat(0).LeftIndent, 200);
}

TEST_F(RichEditTest, SelectionChangeAndResizeRequestsGoThroughTheParent) {
    int selChanges = 0;
    edit->OnSelectionChange = [&](TObject*) { ++selChanges; };
    edit->OnResizeRequest = [&](TObject*, const TRect& r) { log.push_back("event " + std::to_string(r.Height())); };
    edit->SetText(u"abc");
    edit->SetSelStart(1);
    EXPECT_EQ(selChanges, 1);
    edit->SetSelStart(1);
    EXPECT_EQ(selChanges, 1) << "no change, no event";
    log.clear();
    edit->Perform(EM_REQUESTRESIZE, 0, 0);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "parent " + std::to_string(EN_REQUESTRESIZE));
    EXPECT_EQ(log[1].rfind("event ", 0), 0u);
}

TEST_F(RichEditTest, ResizeRequestsFollowTheContent) {
    TRect last;
    int requests = 0;
    edit->OnResizeRequest = [&](TObject*, const TRect& r) {
        last = r;
        ++requests;
    };
    edit->SetText(u"one");
    int h1 = last.Height();
    EXPECT_GT(h1, 0);
    edit->Lines()->Add(u"two");
    EXPECT_EQ(last.Height() - h1, LineHeight());
    // WordWrap sends a request even when nothing changed.
    int before = requests;
    edit->SetWordWrap(true);
    EXPECT_EQ(requests, before + 1);
    EXPECT_EQ(last.Width(), edit->FormatRect().Width());
    // Without word wrap: the widest line plus the margins.
    TRect fr(3, 2, 150, 90);
    edit->Perform(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&fr));
    edit->SetWordWrap(false);
    edit->SetText(u"short\r\nthe widest line");
    TRect client = edit->ClientRect();
    int margins = fr.Left + (client.Right - fr.Right);
    EXPECT_EQ(last.Width(), edit->Layout().WidestLine() + margins);
    EXPECT_EQ(last.Height(), 2 * LineHeight() + fr.Top + (client.Bottom - fr.Bottom));
}

TEST_F(RichEditTest, ZeroSizedHiddenControlAnswersTheContentSize) {
    auto* hidden = NewComponent<TRichEdit>(form);
    hidden->SetVisible(false);
    hidden->SetBounds(0, 0, 0, 0);
    hidden->SetParent(form);
    TRect got;
    hidden->OnResizeRequest = [&](TObject*, const TRect& r) { got = r; };
    hidden->SetWordWrap(false);
    hidden->SetText(u"two\r\nlines");
    hidden->Perform(EM_REQUESTRESIZE, 0, 0);
    EXPECT_EQ(got.Height(), 2 * LineHeight());
    EXPECT_EQ(got.Width(), hidden->Layout().WidestLine());
    EXPECT_GT(got.Width(), 0);
}

TEST_F(RichEditTest, SetRectNarrowsAndWrapsOnlyWithWordWrap) {
    edit->SetText(u"several words that wrap");
    EXPECT_EQ(edit->Perform(EM_GETLINECOUNT, 0, 0), 1);
    TRect fr(2, 2, 60, 98);
    edit->Perform(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&fr));
    TRect back;
    edit->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&back));
    EXPECT_EQ(back, fr);
    EXPECT_GT(edit->Perform(EM_GETLINECOUNT, 0, 0), 2);
    for (const ui::RichLine& l : edit->Layout().Lines()) EXPECT_LE(l.Left + l.Width, fr.Width());
    edit->SetWordWrap(false);
    EXPECT_EQ(edit->Perform(EM_GETLINECOUNT, 0, 0), 1);
    // Positions come from the same layout: the second line starts at the rectangle's left.
    edit->SetWordWrap(true);
    int second = static_cast<int>(edit->Perform(EM_LINEINDEX, 1, 0));
    LRESULT p = edit->Perform(EM_POSFROMCHAR, static_cast<WPARAM>(second), 0);
    EXPECT_EQ(LOWORD(static_cast<DWORD>(p)), 2);
    EXPECT_EQ(HIWORD(static_cast<DWORD>(p)), 2 + LineHeight());
    LRESULT c = edit->Perform(EM_CHARFROMPOS, 0, static_cast<LPARAM>(3 | ((3 + LineHeight()) << 16)));
    EXPECT_EQ(LOWORD(static_cast<DWORD>(c)), second);
}

TEST_F(RichEditTest, FormatRangeFillsARectangleAndAnswersTheFirstCharacterLeft) {
    edit->SetText(u"line one\r\nline two\r\nline three");
    TBitmap bmp;
    bmp.SetSize(300, 200);
    TCanvas canvas(&bmp);
    auto logger = std::make_unique<TextLog>(canvas);
    TextLog* calls = logger.get();
    canvas.SetImplementation(std::move(logger));
    EXPECT_EQ(GetDeviceCaps(canvas.Handle(), LOGPIXELSY), 96);
    int h = LineHeight();
    int third = 20;  // "line three"
    // 1440 twips are 96 pixels: a rectangle two and a half lines high from (10, 20).
    auto twips = [](int px) { return px * 15; };
    TRect rc(twips(10), twips(20), twips(290), twips(20 + 2 * h + h / 2));
    struct Case {
        bool render;
        int from;
        LRESULT answer;
        std::vector<String> drawn;
    };
    const Case cases[] = {
        {true, 0, third, {u"line one", u"line two"}},
        {false, 0, third, {}},
        {true, third, 30, {u"line three"}},
    };
    for (const Case& c : cases) {
        calls->Calls.clear();
        EXPECT_EQ(Format(&canvas, rc, c.from, -1, c.render), c.answer);
        ASSERT_EQ(calls->Calls.size(), c.drawn.size());
        TEXTMETRIC tm;
        ui::SelectRichFont(canvas, edit->Document().DefaultFormat(), 96);
        GetTextMetrics(canvas.Handle(), &tm);
        for (size_t i = 0; i < c.drawn.size(); ++i) {
            EXPECT_EQ(calls->Calls[i].Text, c.drawn[i]);
            // One call per line, at its baseline; the first line at the rectangle's top.
            EXPECT_EQ(calls->Calls[i].At, TPoint(10, 20 + tm.tmAscent + static_cast<int>(i) * h));
        }
    }
    Format(nullptr, TRect(), 0, 0, false);  // nil: frees, answers 0
    EXPECT_EQ(edit->Perform(EM_FORMATRANGE, 0, 0), 0);
    // Bad input answers the range's start and draws nothing.
    calls->Calls.clear();
    EXPECT_EQ(Format(nullptr, rc, 5, -1, true), 5);
    EXPECT_EQ(Format(&canvas, rc, 99, -1, true), 99);
    EXPECT_EQ(Format(&canvas, TRect(100, 100, 100, 400), 3, -1, true), 3);
    EXPECT_TRUE(calls->Calls.empty());
}

TEST_F(RichEditTest, FormatRangeDrawsJustifiedLinesToTheRightEdgeButTheLast) {
    Load("{\\rtf1\\ansi\\qj aa bbbb c dd eee f gggg hh i jjj\\par\\ql aa bbbb c dd eee f gggg hh i jjj}");
    TBitmap bmp;
    bmp.SetSize(300, 400);
    TCanvas canvas(&bmp);
    auto logger = std::make_unique<TextLog>(canvas);
    TextLog* calls = logger.get();
    canvas.SetImplementation(std::move(logger));
    const int right = 10 + 98;  // not a whole number of words wide
    EXPECT_EQ(Format(&canvas, TRect(150, 0, 15 * right, 6000), 0, -1, true), edit->Text().Length());
    ui::SelectRichFont(canvas, edit->Document().DefaultFormat(), 96);
    const int space = canvas.TextWidth(u" ");
    // The words of each line, by baseline, with where each one ends.
    struct Word {
        int x, end;
    };
    std::vector<std::pair<int, std::vector<Word>>> lines;
    for (const TextLog::Call& c : calls->Calls) {
        if (c.Text.find_first_not_of(u' ') == String::npos) continue;
        if (lines.empty() || lines.back().first != c.At.Y) lines.push_back({c.At.Y, {}});
        lines.back().second.push_back({c.At.X, c.At.X + canvas.TextWidth(c.Text)});
    }
    // Each paragraph wraps to the same lines; the justified one's words sit apart by more
    // than a space but its last line, which stays flush left like the other paragraph's.
    ASSERT_GE(lines.size(), 4u);
    ASSERT_EQ(lines.size() % 2, 0u);
    size_t perPara = lines.size() / 2;
    for (size_t li = 0; li < lines.size(); ++li) {
        const auto& words = lines[li].second;
        bool justified = li < perPara - 1;
        EXPECT_EQ(words.front().x, 10) << li;
        if (justified) {
            ASSERT_GE(words.size(), 2u) << li;
            EXPECT_EQ(words.back().end, right) << li;
        }
        for (size_t k = 1; k < words.size(); ++k) {
            int gap = words[k].x - words[k - 1].end;
            if (justified) EXPECT_GE(gap, space) << li;
            else EXPECT_EQ(gap, space) << li;
        }
        if (li == perPara - 1) {
            EXPECT_LT(words.back().end, right);
            EXPECT_EQ(words.back().end, lines[lines.size() - 1].second.back().end);
        }
    }
}

TEST_F(RichEditTest, FormatRangeOnAMetafileRecordsTheSameTextCalls) {
    edit->SetText(u"alpha\r\nbeta\r\ngamma");
    TBitmap bmp;
    bmp.SetSize(300, 200);
    TCanvas canvas(&bmp);
    auto logger = std::make_unique<TextLog>(canvas);
    TextLog* calls = logger.get();
    canvas.SetImplementation(std::move(logger));
    TRect rc(0, 0, 3000, 3000);
    Format(&canvas, rc, 0, -1, true);
    TMetafile meta;
    {
        TMetafileCanvas mc(&meta);
        Format(&mc, rc, 0, -1, true);
    }
    std::vector<TextLog::Call> recorded;
    for (const TMetafileOp& op : meta.Ops())
        if (op.kind == TMetafileOp::Text) recorded.push_back({op.p1, op.text});
    ASSERT_EQ(recorded.size(), calls->Calls.size());
    ASSERT_EQ(recorded.size(), 3u);
    for (size_t i = 0; i < recorded.size(); ++i) {
        EXPECT_EQ(recorded[i].Text, calls->Calls[i].Text);
        EXPECT_EQ(recorded[i].At, calls->Calls[i].At);
    }
}

struct Source {
    std::string bytes;
    size_t at = 0;
    DWORD failWith = 0;
    size_t failAfter = 0;  // bytes handed before the error
};

DWORD CALLBACK_Read(uintptr_t cookie, uint8_t* buf, int32_t cb, int32_t* pcb) {
    auto* s = reinterpret_cast<Source*>(cookie);
    if (s->failWith && s->at >= s->failAfter) return s->failWith;
    size_t n = std::min<size_t>(static_cast<size_t>(cb), s->bytes.size() - s->at);
    if (s->failWith) n = std::min(n, s->failAfter - s->at);
    std::copy_n(s->bytes.data() + s->at, n, buf);
    s->at += n;
    *pcb = static_cast<int32_t>(n);
    return 0;
}

DWORD CALLBACK_Write(uintptr_t cookie, uint8_t* buf, int32_t cb, int32_t* pcb) {
    auto* s = reinterpret_cast<Source*>(cookie);
    if (s->failWith && s->bytes.size() >= s->failAfter) return s->failWith;
    int32_t n = s->failWith ? std::min<int32_t>(cb, static_cast<int32_t>(s->failAfter - s->bytes.size())) : cb;
    s->bytes.append(reinterpret_cast<const char*>(buf), static_cast<size_t>(n));
    *pcb = n;
    return 0;
}

TEST_F(RichEditTest, StreamsInAndOutThroughCallbacks) {
    Source in{"{\\rtf1 streamed {\\i in}}"};
    EDITSTREAM es;
    es.dwCookie = reinterpret_cast<uintptr_t>(&in);
    es.pfnCallback = CALLBACK_Read;
    EXPECT_EQ(edit->Perform(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es)), 11);
    EXPECT_EQ(edit->Text(), String(u"streamed in"));
    EXPECT_TRUE(edit->Document().CharFormat(9).Style.Contains(fsItalic));
    // A failing source keeps what was there.
    Source bad{"{\\rtf1 other}", 0, 7, 4};
    es.dwCookie = reinterpret_cast<uintptr_t>(&bad);
    edit->Perform(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
    EXPECT_EQ(es.dwError, 7u);
    EXPECT_EQ(edit->Text(), String(u"streamed in"));
    // Out: all of it, or what was written before the error.
    Source out;
    es.dwCookie = reinterpret_cast<uintptr_t>(&out);
    es.pfnCallback = CALLBACK_Write;
    LRESULT all = edit->Perform(EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&es));
    EXPECT_EQ(static_cast<size_t>(all), out.bytes.size());
    EXPECT_EQ(ui::ReadRtf(out.bytes, ui::RichCharFormat()).Text, String(u"streamed in"));
    Source failing{"", 0, 9, 10};
    es.dwCookie = reinterpret_cast<uintptr_t>(&failing);
    EXPECT_EQ(edit->Perform(EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&es)), 10);
    EXPECT_EQ(es.dwError, 9u);
    Source text;
    es.dwCookie = reinterpret_cast<uintptr_t>(&text);
    es.dwError = 0;
    edit->Perform(EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&es));
    EXPECT_EQ(text.bytes, "streamed in");
}

TEST_F(RichEditTest, TypingKeepsTheFormatAndFiresOnChange) {
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetText(u"ab");
    changes = 0;
    edit->SetSelStart(0);
    edit->SetSelLength(2);
    TFontStyles bold;
    bold << fsBold;
    edit->SelAttributes()->SetStyle(bold);
    edit->SetSelStart(2);
    edit->Perform(WM_CHAR, u'c', 0);
    edit->Perform(WM_CHAR, u'\r', 0);
    EXPECT_EQ(edit->Text(), String(u"abc\r\n"));
    EXPECT_TRUE(edit->Document().CharFormat(2).Style.Contains(fsBold));
    EXPECT_EQ(changes, 2);
    edit->Perform(WM_CHAR, u'\b', 0);
    EXPECT_EQ(edit->Text(), String(u"abc"));
}

}  // namespace
