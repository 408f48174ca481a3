// Drops from other programs: what reaches a registered target, and in which formats.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/ole/testing/TestSupport.h"
#include "platform/ui/Forms.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/ui/WinUser.h"

namespace {

// Keeps what was dropped and takes a copy.
class KeepingTarget final : public TInterfacedObject<IDropTarget> {
public:
    HRESULT DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
        ++Entered;
        *effect &= DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect &= DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT DragLeave() override { return S_OK; }
    HRESULT Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override {
        Dropped = data;
        Point = pt;
        Keys = keys;
        *effect &= DROPEFFECT_COPY;
        return S_OK;
    }
    int Entered = 0;
    ComPtr<IDataObject> Dropped;
    TPoint Point;
    DWORD Keys = 0;
};

std::vector<CLIPFORMAT> Formats(IDataObject* data) {
    IEnumFORMATETC* raw = nullptr;
    EXPECT_EQ(data->EnumFormatEtc(DATADIR_GET, &raw), S_OK);
    ComPtr<IEnumFORMATETC> e = ComPtr<IEnumFORMATETC>::Attach(raw);
    std::vector<CLIPFORMAT> out;
    FORMATETC f;
    while (e && e->Next(1, &f, nullptr) == S_OK) {
        EXPECT_EQ(f.tymed, TYMED_HGLOBAL);
        EXPECT_EQ(f.dwAspect, DVASPECT_CONTENT);
        out.push_back(f.cfFormat);
    }
    return out;
}

std::vector<uint8_t> Get(IDataObject* data, CLIPFORMAT format) {
    FORMATETC f;
    f.cfFormat = format;
    f.tymed = TYMED_HGLOBAL;
    STGMEDIUM m;
    if (data->GetData(&f, &m) != S_OK) return {};
    EXPECT_EQ(m.tymed, TYMED_HGLOBAL);
    const auto* p = static_cast<const uint8_t*>(GlobalLock(m.hGlobal));
    std::vector<uint8_t> bytes(p, p + GlobalSize(m.hGlobal));
    GlobalUnlock(m.hGlobal);
    ReleaseStgMedium(&m);
    return bytes;
}

class DesktopDropTest : public ::testing::Test {
protected:
    ui::test::AppScope scope;
    TForm* form = nullptr;
    ComPtr<KeepingTarget> target{new KeepingTarget};

    void SetUp() override {
        OleInitialize(nullptr);
        form = new TForm(nullptr);
        form->SetBounds(40, 30, 200, 150);
        form->Show();
        ui::test::Pump();
        ASSERT_EQ(RegisterDragDrop(form->Handle(), target.Get()), S_OK);
    }
    void TearDown() override {
        RevokeDragDrop(form->Handle());
        form->Free();
        OleUninitialize();
    }
};

TEST_F(DesktopDropTest, TextArrivesAsUnicodeTextAndAsUtf8Text) {
    ui::DesktopDragData data = ui::DesktopDragData::OfText(String("日本 abc"));
    TPoint at = form->ClientToScreen(Point(15, 25));
    EXPECT_EQ(ole::test::DropFromOutside(form->Handle(), data, at, MK_CONTROL), DROPEFFECT_COPY);
    ASSERT_TRUE(target->Dropped);
    EXPECT_EQ(target->Point, at);
    EXPECT_EQ(target->Keys, static_cast<DWORD>(MK_CONTROL));
    IDataObject* d = target->Dropped.Get();
    EXPECT_EQ(Formats(d), (std::vector<CLIPFORMAT>{CF_UNICODETEXT, CF_TEXT}));

    std::vector<uint8_t> wide = Get(d, CF_UNICODETEXT);
    ASSERT_EQ(wide.size() % 2, 0u);
    EXPECT_EQ(String(reinterpret_cast<const char16_t*>(wide.data())), String("日本 abc"));
    EXPECT_EQ(wide.size(), (String("日本 abc").size() + 1) * 2);
    std::vector<uint8_t> narrow = Get(d, CF_TEXT);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(narrow.data())), std::string("日本 abc"));
    EXPECT_EQ(narrow.back(), 0);

    // It offers nothing else, and nothing in another medium or aspect.
    FORMATETC f;
    f.cfFormat = CF_HDROP;
    f.tymed = TYMED_HGLOBAL;
    EXPECT_EQ(d->QueryGetData(&f), DV_E_FORMATETC);
    f.cfFormat = CF_TEXT;
    f.tymed = TYMED_ISTREAM;
    EXPECT_EQ(d->QueryGetData(&f), DV_E_TYMED);
    f.tymed = TYMED_HGLOBAL;
    f.dwAspect = DVASPECT_ICON;
    EXPECT_EQ(d->QueryGetData(&f), DV_E_DVASPECT);
    EXPECT_EQ(d->DAdvise(&f, 0, nullptr, nullptr), OLE_E_ADVISENOTSUPPORTED);
}

TEST_F(DesktopDropTest, LocalFilesArriveAsADropFilesBlockWithWideNames) {
    const std::vector<String> files = {String("/tmp/ａ.txt"), String("/home/user/b c.bin")};
    ui::DesktopDragData data = ui::DesktopDragData::OfFiles(files);
    TPoint client(15, 25);
    EXPECT_EQ(ole::test::DropFromOutside(form->Handle(), data, form->ClientToScreen(client)), DROPEFFECT_COPY);
    ASSERT_TRUE(target->Dropped);
    EXPECT_EQ(Formats(target->Dropped.Get()), (std::vector<CLIPFORMAT>{CF_HDROP}));

    std::vector<uint8_t> block = Get(target->Dropped.Get(), CF_HDROP);
    ASSERT_GE(block.size(), sizeof(DROPFILES));
    uint32_t offset = 0, wide = 0;
    std::memcpy(&offset, block.data(), 4);
    std::memcpy(&wide, block.data() + 16, 4);
    EXPECT_EQ(offset, 20u);
    EXPECT_NE(wide, 0u);
    DROPFILES header;
    std::memcpy(&header, block.data(), sizeof header);
    EXPECT_EQ(header.pt, client);
    // The names follow each other, each ended by a zero, and an empty one ends the list.
    std::vector<String> names;
    const auto* p = reinterpret_cast<const char16_t*>(block.data() + offset);
    const auto* end = reinterpret_cast<const char16_t*>(block.data() + block.size());
    while (p < end && *p) {
        String name(p);
        p += name.size() + 1;
        names.push_back(name);
    }
    EXPECT_EQ(names, files);
    ASSERT_LT(p, end);
    EXPECT_EQ(*p, u'\0');
    EXPECT_EQ(p + 1, end);
}

TEST_F(DesktopDropTest, AWindowWithoutATargetTakesNothing) {
    RevokeDragDrop(form->Handle());
    ui::DesktopDragData data = ui::DesktopDragData::OfText(String("x"));
    EXPECT_EQ(ole::test::DropFromOutside(form->Handle(), data, form->ClientToScreen(Point(5, 5))), DROPEFFECT_NONE);
    EXPECT_EQ(target->Entered, 0);
    EXPECT_FALSE(target->Dropped);
}

}  // namespace
