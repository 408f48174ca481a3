// Drag and drop of text, driven through the generic classes: the format enumerator, the data
// object, the reader of dropped data, the drop target's answers and the drop source.
#include "controls/styled/AdvEddd.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <vector>

#include "platform/ole/OleData.h"
#include "platform/ole/testing/TestSupport.h"
#include "platform/rtl/Diagnostics.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

// A data object offering fixed bytes per format; it can lack its enumerator or fail to give.
class FixedData final : public TInterfacedObject<IDataObject> {
public:
    std::map<CLIPFORMAT, std::vector<uint8_t>> Formats;
    bool NoEnumerator = false;
    bool FailGet = false;

    HRESULT GetData(const FORMATETC* f, STGMEDIUM* m) override {
        auto it = Formats.find(f->cfFormat);
        if (FailGet || it == Formats.end()) return DV_E_FORMATETC;
        m->tymed = TYMED_HGLOBAL;
        m->hGlobal = ole::detail::BlockOf(it->second.data(), it->second.size());
        m->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT GetDataHere(const FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT QueryGetData(const FORMATETC* f) override { return Formats.count(f->cfFormat) ? S_OK : DV_E_FORMATETC; }
    HRESULT GetCanonicalFormatEtc(const FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT SetData(const FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(DWORD, IEnumFORMATETC** out) override {
        *out = nullptr;
        if (NoEnumerator) return E_FAIL;
        std::vector<FORMATETC> list;
        for (auto& [cf, bytes] : Formats) {
            FORMATETC f;
            f.cfFormat = cf;
            f.tymed = TYMED_HGLOBAL;
            list.push_back(f);
        }
        *out = ole::detail::NewFormatEnumerator(list).Detach();
        return S_OK;
    }
    HRESULT DAdvise(const FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

    void Text(const std::string& s) { Formats[CF_TEXT].assign(s.begin(), s.end() + 1); }
    // A CF_HDROP block with the names, wide or ANSI, and the empty name at the end unless left off.
    void Files(const std::vector<std::u16string>& names, bool wide, bool terminated = true) {
        DROPFILES head;
        head.fWide = wide ? 1 : 0;
        std::vector<uint8_t> b(sizeof head);
        std::memcpy(b.data(), &head, sizeof head);
        auto put = [&](const std::u16string& n) {
            if (wide) {
                for (char16_t c : n) b.insert(b.end(), {static_cast<uint8_t>(c & 0xFF), static_cast<uint8_t>(c >> 8)});
                b.insert(b.end(), {0, 0});
            } else {
                std::string u = String(n).ToUtf8();
                b.insert(b.end(), u.begin(), u.end());
                b.push_back(0);
            }
        };
        for (auto& n : names) put(n);
        if (terminated) put(u"");
        else b.pop_back(), wide ? b.pop_back() : void();  // the last name's zero gone too
        Formats[CF_HDROP] = b;
    }
};

// Records what reaches the hooks.
class RecordingTarget final : public TAEDropTarget {
public:
    std::vector<String> Texts;
    std::vector<String> Files;
    bool Allow = true;
    void DropText(TPoint, const String& s) override { Texts.push_back(s); }
    void DropFiles(TPoint, TStrings* f) override {
        for (int i = 0; i < f->Count(); ++i) Files.push_back(f->Strings(i));
    }
    void DragMouseMove(TPoint, bool& allow) override { allow = Allow; }
};

TEST(AdvEdddTest, TheSourceEnumeratorListsThreeFormats) {
    ComPtr<TSourceEnumFormatEtc> e(new TSourceEnumFormatEtc());
    FORMATETC f[4];
    ULONG fetched = 0;
    EXPECT_EQ(e->Next(3, f, &fetched), S_OK);
    EXPECT_EQ(fetched, 3u);
    const UINT want[] = {CF_TEXT, CF_UNICODETEXT, CF_RTF};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(f[i].cfFormat, want[i]);
        EXPECT_EQ(f[i].dwAspect, DVASPECT_CONTENT);
        EXPECT_EQ(f[i].lindex, -1);
        EXPECT_EQ(f[i].tymed, TYMED_HGLOBAL);
        EXPECT_EQ(f[i].ptd, nullptr);
    }
    EXPECT_EQ(e->Reset(), S_OK);
    EXPECT_EQ(e->Next(4, f, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 3u);
    EXPECT_EQ(e->Reset(), S_OK);
    EXPECT_EQ(e->Skip(1), S_OK);
    ComPtr<IEnumFORMATETC> copy;
    EXPECT_EQ(e->Clone(copy.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(copy->Next(1, f, nullptr), S_OK);
    EXPECT_EQ(f[0].cfFormat, CF_UNICODETEXT);  // at the same position
    EXPECT_EQ(e->Skip(5), S_FALSE);
    EXPECT_EQ(e->Index(), 3);
}

TEST(AdvEdddTest, TheSourceDataObjectServesTextOnly) {
    ui::test::AppScope scope;
    ComPtr<TSourceDataObject> d(new TSourceDataObject(u"ab", u"{\\rtf1}"));
    FORMATETC f;
    f.tymed = TYMED_HGLOBAL;
    f.cfFormat = static_cast<CLIPFORMAT>(CF_UNICODETEXT);
    STGMEDIUM m;
    ASSERT_EQ(d->GetData(&f, &m), S_OK);
    EXPECT_EQ(GlobalSize(m.hGlobal), 6u);
    ReleaseStgMedium(&m);
    f.cfFormat = static_cast<CLIPFORMAT>(CF_TEXT);
    ASSERT_EQ(d->GetData(&f, &m), S_OK);
    EXPECT_EQ(GlobalSize(m.hGlobal), 3u);
    ReleaseStgMedium(&m);

    TEnumFormats reader(nullptr);  // registers the RTF format
    ASSERT_NE(CF_RTF, 0u);
    FORMATETC rtf = f;
    rtf.cfFormat = static_cast<CLIPFORMAT>(CF_RTF);
    EXPECT_EQ(d->QueryGetData(&rtf), DV_E_FORMATETC);  // the switch is off
    FORMATETC icon = f;
    icon.dwAspect = DVASPECT_ICON;
    EXPECT_EQ(d->QueryGetData(&icon), DV_E_FORMATETC);
    FORMATETC wider = f;
    wider.tymed = TYMED_HGLOBAL | TYMED_ISTREAM;
    EXPECT_EQ(d->QueryGetData(&wider), DV_E_FORMATETC);
    EXPECT_EQ(d->GetData(&wider, &m), DV_E_FORMATETC);
    EXPECT_EQ(m.tymed, TYMED_NULL);

    EXPECT_EQ(d->GetDataHere(&f, &m), DV_E_FORMATETC);
    EXPECT_EQ(d->SetData(&f, &m, TRUE_), DV_E_FORMATETC);
    FORMATETC canonical;
    EXPECT_EQ(d->GetCanonicalFormatEtc(&f, &canonical), E_NOTIMPL);
    DWORD connection = 0;
    EXPECT_EQ(d->DAdvise(&f, 0, nullptr, &connection), OLE_E_ADVISENOTSUPPORTED);
    EXPECT_EQ(d->DUnadvise(0), OLE_E_ADVISENOTSUPPORTED);
    IEnumSTATDATA* advises = nullptr;
    EXPECT_EQ(d->EnumDAdvise(&advises), OLE_E_ADVISENOTSUPPORTED);
    IEnumFORMATETC* formats = reinterpret_cast<IEnumFORMATETC*>(&f);
    EXPECT_EQ(d->EnumFormatEtc(DATADIR_SET, &formats), E_NOTIMPL);
    EXPECT_EQ(formats, nullptr);
}

TEST(AdvEdddTest, TheReaderReadsTextAndFileLists) {
    ui::test::AppScope scope;
    ComPtr<FixedData> d(new FixedData());
    d->Text("日本 text");
    {
        TEnumFormats r(d.Get());
        EXPECT_TRUE(r.HasText());
        EXPECT_FALSE(r.HasFile());
        EXPECT_EQ(r.Text(), String("日本 text"));
        EXPECT_FALSE(r.ReadFiles());
    }
    for (bool wide : {true, false}) {
        d->Files({u"/tmp/a.txt", u"/tmp/ｱﾝﾃﾅ.csv"}, wide);
        TEnumFormats r(d.Get());
        EXPECT_TRUE(r.HasFile());
        ASSERT_TRUE(r.ReadFiles()) << wide;
        ASSERT_EQ(r.Files()->Count(), 2);
        EXPECT_EQ(r.Files()->Strings(1), String(u"/tmp/ｱﾝﾃﾅ.csv"));
    }
    // A list without its empty terminator ends at the block's end.
    d->Files({u"/tmp/a.txt"}, true, false);
    {
        TEnumFormats r(d.Get());
        ASSERT_TRUE(r.ReadFiles());
        EXPECT_EQ(r.Files()->Strings(0), String(u"/tmp/a.txt"));
    }
    d->FailGet = true;
    {
        TEnumFormats r(d.Get());
        EXPECT_EQ(r.Text(), String());
        EXPECT_FALSE(r.ReadFiles());
    }
    d->NoEnumerator = true;
    try {
        TEnumFormats r(d.Get());
        FAIL() << "no assertion";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message(), String(u"Cannot get the format enumerator (adveddd, line 244)"));
    }
}

TEST(AdvEdddTest, TheTargetAnswersByWhatIsOfferedAndTheKeys) {
    ui::test::AppScope scope;
    ComPtr<RecordingTarget> t(new RecordingTarget());
    ComPtr<FixedData> text(new FixedData());
    text->Text("abc");
    ComPtr<FixedData> files(new FixedData());
    files->Files({u"/tmp/f"}, true);
    ComPtr<FixedData> other(new FixedData());
    other->Formats[CF_BITMAP] = {1, 2};
    ComPtr<FixedData> broken(new FixedData());
    broken->NoEnumerator = true;

    const struct {
        FixedData* data;
        DWORD keys;
        DWORD effect;
    } rows[] = {{text.Get(), MK_LBUTTON, DROPEFFECT_MOVE},
                {text.Get(), MK_LBUTTON | MK_CONTROL, DROPEFFECT_COPY},
                {files.Get(), MK_LBUTTON, DROPEFFECT_MOVE},
                {other.Get(), MK_LBUTTON, DROPEFFECT_NONE},
                {broken.Get(), MK_LBUTTON, DROPEFFECT_NONE}};
    for (const auto& r : rows) {
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(t->DragEnter(r.data, r.keys, TPoint(1, 1), &effect), S_OK);
        EXPECT_EQ(effect, r.effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(t->Drop(r.data, r.keys, TPoint(1, 1), &effect), S_OK);
        EXPECT_EQ(effect, r.effect);
    }
    EXPECT_EQ(t->Texts, (std::vector<String>{u"abc", u"abc"}));  // moved, then copied
    EXPECT_EQ(t->Files, std::vector<String>{u"/tmp/f"});

    DWORD effect = 0;
    t->DragEnter(text.Get(), MK_LBUTTON, TPoint(), &effect);
    t->Allow = false;
    effect = DROPEFFECT_MOVE;
    t->DragOver(MK_LBUTTON, TPoint(), &effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
}

TEST(AdvEdddTest, TheSourceAnswersTheLoop) {
    ComPtr<TAEDropSource> s(new TAEDropSource());
    EXPECT_EQ(s->QueryContinueDrag(TRUE_, MK_LBUTTON), DRAGDROP_S_CANCEL);
    EXPECT_EQ(s->QueryContinueDrag(FALSE_, MK_LBUTTON), S_OK);
    EXPECT_EQ(s->QueryContinueDrag(FALSE_, 0), DRAGDROP_S_DROP);
    EXPECT_EQ(s->GiveFeedback(DROPEFFECT_NONE), DRAGDROP_S_USEDEFAULTCURSORS);
    EXPECT_TRUE(s->NoAccept());
    s->GiveFeedback(DROPEFFECT_MOVE);
    EXPECT_FALSE(s->NoAccept());
}

class AdvEdddDragTest : public ui::test::FormTest {};

TEST_F(AdvEdddDragTest, ADragNoTargetTookEndsCancelled) {
    OleInitialize(nullptr);
    form->Show();
    ui::test::Pump();
    const TPoint at = form->ClientToScreen(TPoint(50, 50));
    ole::test::ScriptedDrag drag({{at, MK_LBUTTON}, {TPoint(at.X + 5, at.Y), MK_LBUTTON}, {TPoint(at.X + 5, at.Y), 0}});
    DWORD effect = 99;
    EXPECT_EQ(StartTextDrag(u"abc", String(), DROPEFFECT_COPY | DROPEFFECT_MOVE, effect), DRAGDROP_S_CANCEL);
    OleUninitialize();
}

}  // namespace
