// What crosses the program's edge, against another program of the desktop (the peer) on the same
// X server: the clipboard both ways, drags out of the program onto the peer's window and the
// peer's drags onto a window of ours, with HTML, rich text, URLs, files and text, byte for byte.
#include <gtest/gtest.h>

#include <cstring>

#include "display/desktop/DesktopPeer.h"
#include "platform/ole/DragDrop.h"
#include "platform/ole/OleData.h"
#include "platform/qt/display/RealDisplay.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"
#include "platform/ui/backend/DesktopFormats.h"

using desktop::Peer;
using desktop::PeerPart;
using display::OnUi;
using display::User;
using display::WaitFor;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }
std::string S(const Bytes& b) { return std::string(b.begin(), b.end()); }
UINT Html() { return RegisterClipboardFormat("HTML Format"); }
UINT Rtf() { return RegisterClipboardFormat("Rich Text Format"); }
UINT Url() { return RegisterClipboardFormat("UniformResourceLocator"); }

const std::string kE = "\xC3\xA9";  // é

// The four offsets of an "HTML Format" block.
size_t OffsetOf(const std::string& block, const std::string& name) {
    size_t at = block.find(name + ":");
    if (at == std::string::npos) return std::string::npos;
    return static_cast<size_t>(std::stoul(block.substr(at + name.size() + 1, 8)));
}

Bytes Read(UINT format) {
    return OnUi([&] { return Clipboard()->GetBuffer(format); });
}

// Keeps what was dropped; takes a copy.
class KeepingTarget final : public TInterfacedObject<IDropTarget> {
public:
    HRESULT DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
        *effect &= DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect &= DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT DragLeave() override { return S_OK; }
    HRESULT Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        Dropped = data;
        *effect &= DROPEFFECT_COPY;
        return S_OK;
    }
    bool Offers(UINT format) {
        FORMATETC f;
        f.cfFormat = static_cast<CLIPFORMAT>(format);
        f.tymed = TYMED_HGLOBAL;
        return Dropped && Dropped->QueryGetData(&f) == S_OK;
    }
    Bytes Get(UINT format) {
        FORMATETC f;
        f.cfFormat = static_cast<CLIPFORMAT>(format);
        f.tymed = TYMED_HGLOBAL;
        STGMEDIUM m;
        if (!Dropped || Dropped->GetData(&f, &m) != S_OK) return {};
        const auto* p = static_cast<const uint8_t*>(GlobalLock(m.hGlobal));
        Bytes bytes(p, p + GlobalSize(m.hGlobal));
        GlobalUnlock(m.hGlobal);
        ReleaseStgMedium(&m);
        return bytes;
    }
    ComPtr<IDataObject> Dropped;
};

// Drops when the left button is up, cancels on Escape.
class ButtonSource final : public TInterfacedObject<IDropSource> {
public:
    HRESULT QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape) return DRAGDROP_S_CANCEL;
        return keys & MK_LBUTTON ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

class DesktopExchange : public ::testing::Test {
protected:
    ui::test::AppScope scope;
    TForm* form = nullptr;
    // A drag of ours, started by a press on the form: what it offers, and how it ended.
    ui::ClipboardContent dragged;
    bool dragDone = false;
    HRESULT dragResult = E_FAIL;
    DWORD dragEffect = 99;

    static constexpr int kPeerX = 600, kPeerY = 120;

    void SetUp() override {
        OleInitialize(nullptr);
        form = new TForm(nullptr);
        form->SetBounds(60, 100, 320, 220);
        form->SetCaption(String(u"exchange"));
        form->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
            ComPtr<IDataObject> data = ole::detail::NewDesktopDataObject(ui::DesktopDragData{dragged});
            ComPtr<ButtonSource> source{new ButtonSource};
            dragResult = DoDragDrop(data.Get(), source.Get(), DROPEFFECT_COPY | DROPEFFECT_MOVE, &dragEffect);
            dragDone = true;
        };
        form->Show();
        ASSERT_TRUE(ui::test::PumpUntil([&] { return form->Showing(); }));
    }
    void TearDown() override {
        form->Free();
        OleUninitialize();
    }

    // The pointer pressed at from and carried to to in steps, then released.
    static void Carry(TPoint from, TPoint to, bool release = true) {
        ASSERT_TRUE(desktop::PointerTo(from.X, from.Y));
        ASSERT_TRUE(desktop::PointerButton(true));
        for (int i = 1; i <= 12; ++i) {
            ASSERT_TRUE(desktop::PointerTo(from.X + (to.X - from.X) * i / 12, from.Y + (to.Y - from.Y) * i / 12));
            display::Settle();
        }
        if (release) {
            ASSERT_TRUE(desktop::PointerButton(false));
        }
    }
    TPoint FormPoint() { return display::ScreenPoint(form, 40, 40); }
    static TPoint PeerPoint(const std::string& shown) {
        int x = 0, y = 0, w = 0, h = 0;
        std::sscanf(shown.c_str(), "shown %d %d %d %d", &x, &y, &w, &h);
        return Point(x + w / 2, y + h / 2);
    }
};

TEST_F(DesktopExchange, OurClipboardReachesThePeerUnderTheDesktopsTypes) {
    const std::string doc = "<!DOCTYPE html><html><body><!--StartFragment--><b>" + kE + "</b><!--EndFragment--></body></html>";
    const UINT own = RegisterClipboardFormat("Exchange test rows");
    OnUi([&] {
        TClipboard* c = Clipboard();
        c->Open();
        c->Add(Html(), ui::HtmlFormatOf(doc));
        c->Add(CF_UNICODETEXT, ui::ClipboardTextBytes(String(kE)));
        c->Add(Rtf(), B(std::string("{\\rtf1 x}") + '\0'));
        c->Add(own, B(std::string("a\0b", 3)));
        c->Close();
    });
    display::RunAsUser([&](User&) {
        Peer peer({"read"});
        std::vector<PeerPart> parts;
        ASSERT_TRUE(peer.Data(parts));
        const PeerPart* html = desktop::Find(parts, "text/html");
        ASSERT_NE(html, nullptr);
        EXPECT_EQ(html->Bytes, doc);
        const PeerPart* text = desktop::Find(parts, "text/plain");
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->Bytes, kE);
        const PeerPart* rtf = desktop::Find(parts, "text/rtf");
        ASSERT_NE(rtf, nullptr);
        EXPECT_EQ(rtf->Bytes, "{\\rtf1 x}");
        const PeerPart* rows = desktop::Find(parts, ui::RegisteredFormatType("Exchange test rows"));
        ASSERT_NE(rows, nullptr);
        EXPECT_EQ(rows->Bytes, std::string("a\0b", 3));
    });
}

TEST_F(DesktopExchange, ThePeersClipboardArrivesInOurFormats) {
    const std::string marked = "<html><body><!--StartFragment--><i>" + kE + "</i><!--EndFragment--></body></html>";
    std::string utf16 = "\xFF\xFE";
    for (char16_t c : String(marked)) {
        utf16.push_back(static_cast<char>(c & 0xFF));
        utf16.push_back(static_cast<char>(c >> 8));
    }
    struct Row {
        const char* Name;
        std::string Type, Bytes, Document, Fragment;
    };
    const Row htmlRows[] = {
        {"markers", "text/html", marked, marked, "<i>" + kE + "</i>"},
        {"no markers", "text/html", "<html><body><p>x</p></body></html>", "<html><body><p>x</p></body></html>", "<p>x</p>"},
        {"UTF-16 with its mark", "text/html", utf16, marked, "<i>" + kE + "</i>"},
    };
    display::RunAsUser([&](User&) {
        for (const Row& row : htmlRows) {
            SCOPED_TRACE(row.Name);
            Peer peer({"own", row.Type, desktop::Base64(row.Bytes)});
            ASSERT_EQ(peer.Line(), "owned");
            ASSERT_TRUE(WaitFor([&] { return Clipboard()->HasFormat(Html()); }, 10000));
            std::string block = S(Read(Html()));
            size_t start = OffsetOf(block, "StartHTML"), end = OffsetOf(block, "EndHTML");
            size_t fs = OffsetOf(block, "StartFragment"), fe = OffsetOf(block, "EndFragment");
            ASSERT_LE(end, block.size());
            EXPECT_EQ(block.substr(start, end - start), row.Document);
            EXPECT_EQ(block.substr(fs, fe - fs), row.Fragment);
            EXPECT_EQ(block.substr(start, 6), row.Document.substr(0, 6));
            peer.Stop();
            ASSERT_TRUE(WaitFor([&] { return !Clipboard()->HasFormat(Html()); }, 10000));
        }
        {
            Peer peer({"own", "text/rtf", desktop::Base64("{\\rtf1 y}")});
            ASSERT_EQ(peer.Line(), "owned");
            ASSERT_TRUE(WaitFor([&] { return Clipboard()->HasFormat(Rtf()); }, 10000));
            EXPECT_EQ(Read(Rtf()), B(std::string("{\\rtf1 y}") + '\0'));
        }
        {
            Peer peer({"own", "text/uri-list", desktop::Base64("https://example.org/x\r\n")});
            ASSERT_EQ(peer.Line(), "owned");
            ASSERT_TRUE(WaitFor([&] { return Clipboard()->HasFormat(Url()); }, 10000));
            EXPECT_EQ(Read(Url()), B(std::string("https://example.org/x") + '\0'));
            EXPECT_EQ(OnUi([] { return Clipboard()->AsText(); }), String("https://example.org/x"));
        }
        {
            Peer peer({"own", "text/uri-list", desktop::Base64("file:///data/a%20b.txt\r\n")});
            ASSERT_EQ(peer.Line(), "owned");
            ASSERT_TRUE(WaitFor([&] { return Clipboard()->HasFormat(CF_HDROP); }, 10000));
            EXPECT_EQ(ui::DroppedFiles(Read(CF_HDROP)), (std::vector<String>{String("/data/a b.txt")}));
        }
        // A peer that dies while it owns the clipboard leaves ours empty, without a wait for ever.
        {
            Peer peer({"own", "text/rtf", desktop::Base64("{\\rtf1 z}")});
            ASSERT_EQ(peer.Line(), "owned");
            ASSERT_TRUE(WaitFor([&] { return Clipboard()->HasFormat(Rtf()); }, 10000));
            peer.Kill();
            EXPECT_TRUE(WaitFor([&] { return !Clipboard()->HasFormat(Rtf()) && Clipboard()->GetBuffer(Rtf()).empty(); }, 15000));
        }
    });
}

TEST_F(DesktopExchange, ADragOfOursDropsOnThePeerWithItsBytesAndEffect) {
    dragged[CF_UNICODETEXT] = ui::ClipboardTextBytes(String("abc"));
    dragged[Rtf()] = B(std::string("{\\rtf1 abc}") + '\0');
    display::RunAsUser([&](User&) {
        Peer peer({"drop", std::to_string(kPeerX), std::to_string(kPeerY), "copy"});
        std::string shown = peer.LineStarting("shown");
        ASSERT_FALSE(shown.empty());
        ASSERT_NO_FATAL_FAILURE(Carry(FormPoint(), PeerPoint(shown)));
        ASSERT_EQ(peer.LineStarting("drop"), "drop copy");
        std::vector<PeerPart> parts;
        ASSERT_TRUE(peer.Data(parts));
        ASSERT_NE(desktop::Find(parts, "text/plain"), nullptr);
        EXPECT_EQ(desktop::Find(parts, "text/plain")->Bytes, "abc");
        ASSERT_NE(desktop::Find(parts, "text/rtf"), nullptr);
        EXPECT_EQ(desktop::Find(parts, "text/rtf")->Bytes, "{\\rtf1 abc}");
        ASSERT_TRUE(WaitFor([&] { return dragDone; }, 10000));
        EXPECT_EQ(OnUi([&] { return dragResult; }), DRAGDROP_S_DROP);
        EXPECT_EQ(OnUi([&] { return dragEffect; }), static_cast<DWORD>(DROPEFFECT_COPY));
    });
}

TEST_F(DesktopExchange, DataWithNothingTheDesktopTakesStaysInside) {
    dragged[RegisterClipboardFormat("Exchange private rows")] = B("rows");
    display::RunAsUser([&](User&) {
        Peer peer({"drop", std::to_string(kPeerX), std::to_string(kPeerY), "copy"});
        std::string shown = peer.LineStarting("shown");
        ASSERT_FALSE(shown.empty());
        ASSERT_NO_FATAL_FAILURE(Carry(FormPoint(), PeerPoint(shown)));
        ASSERT_TRUE(WaitFor([&] { return dragDone; }, 10000));
        EXPECT_EQ(OnUi([&] { return dragResult; }), DRAGDROP_S_DROP);
        EXPECT_EQ(OnUi([&] { return dragEffect; }), static_cast<DWORD>(DROPEFFECT_NONE));
        EXPECT_EQ(peer.LineStarting("drop", std::chrono::milliseconds(1500)), "");
    });
}

TEST_F(DesktopExchange, APeerThatDiesDuringADragEndsItCancelled) {
    dragged[CF_UNICODETEXT] = ui::ClipboardTextBytes(String("abc"));
    display::RunAsUser([&](User&) {
        Peer peer({"drop", std::to_string(kPeerX), std::to_string(kPeerY), "copy"});
        std::string shown = peer.LineStarting("shown");
        ASSERT_FALSE(shown.empty());
        TPoint over = PeerPoint(shown);
        ASSERT_NO_FATAL_FAILURE(Carry(FormPoint(), over, false));
        peer.Kill();
        ASSERT_TRUE(desktop::PointerTo(over.X + 5, over.Y + 5));
        ASSERT_TRUE(desktop::PointerButton(false));
        ASSERT_TRUE(WaitFor([&] { return dragDone; }, 15000)) << "the drag loop did not end";
        EXPECT_EQ(OnUi([&] { return dragResult; }), DRAGDROP_S_CANCEL);
        EXPECT_EQ(OnUi([&] { return dragEffect; }), static_cast<DWORD>(DROPEFFECT_NONE));
    });
}

TEST_F(DesktopExchange, ThePeersDragsArriveAtOurTargetInOurFormats) {
    ComPtr<KeepingTarget> target{new KeepingTarget};
    ASSERT_EQ(RegisterDragDrop(form->Handle(), target.Get()), S_OK);
    const std::string html = "<html><body><!--StartFragment--><u>" + kE + "</u><!--EndFragment--></body></html>";
    display::RunAsUser([&](User&) {
        // The peer drags its data onto the form; it learns the effect our target answered.
        auto dragFromPeer = [&](const std::vector<std::string>& data) {
            std::vector<std::string> args = {"drag", std::to_string(kPeerX), std::to_string(kPeerY)};
            args.insert(args.end(), data.begin(), data.end());
            Peer peer(args);
            std::string shown = peer.LineStarting("shown");
            ASSERT_FALSE(shown.empty());
            ASSERT_NO_FATAL_FAILURE(Carry(PeerPoint(shown), FormPoint()));
            EXPECT_EQ(peer.LineStarting("dragged"), "dragged copy");
            ASSERT_TRUE(WaitFor([&] { return bool(target->Dropped); }, 10000));
        };
        {
            ASSERT_NO_FATAL_FAILURE(dragFromPeer({"text/html", desktop::Base64(html), "text/rtf", desktop::Base64("{\\rtf1 d}"),
                                                  "text/plain", desktop::Base64("d" + kE)}));
            OnUi([&] {
                for (UINT f : {Html(), Rtf(), CF_UNICODETEXT, CF_TEXT}) EXPECT_TRUE(target->Offers(f)) << f;
                std::string block = S(target->Get(Html()));
                size_t fs = OffsetOf(block, "StartFragment"), fe = OffsetOf(block, "EndFragment");
                EXPECT_EQ(block.substr(fs, fe - fs), "<u>" + kE + "</u>");
                EXPECT_EQ(target->Get(Rtf()), B(std::string("{\\rtf1 d}") + '\0'));
                EXPECT_EQ(ui::ClipboardText(target->Get(CF_UNICODETEXT)), String("d" + kE));
                EXPECT_EQ(target->Get(CF_TEXT), B("d" + kE + std::string(1, '\0')));
            });
            OnUi([&] { target->Dropped.Reset(); });
        }
        {
            ASSERT_NO_FATAL_FAILURE(dragFromPeer({"text/uri-list", desktop::Base64("https://example.org/x\r\n")}));
            OnUi([&] {
                EXPECT_EQ(target->Get(Url()), B(std::string("https://example.org/x") + '\0'));
                EXPECT_EQ(ui::ClipboardText(target->Get(CF_UNICODETEXT)), String("https://example.org/x"));
            });
        }
    });
    RevokeDragDrop(form->Handle());
}

}  // namespace
