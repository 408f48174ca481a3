// Input through the road real input takes: keys at the window's focus widget, clicks at the
// widget under the pointer, a native control's inner widget included.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>

#include "platform/ui/backend/Backend.h"
#include "platform/ui/NativePeers.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/Driver.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/win/Window.h"

namespace {

enum class Kind { Edit, Memo, Combo, List };

const char* NameOf(Kind k) {
    switch (k) {
        case Kind::Edit: return "edit";
        case Kind::Memo: return "memo";
        case Kind::Combo: return "combo";
        case Kind::List: return "list";
    }
    return "?";
}

std::string State(TWinControl* c, TForm* form) {
    std::ostringstream s;
    if (auto* e = dynamic_cast<TCustomEdit*>(c)) s << e->Text().ToUtf8() << " sel " << e->SelStart() << "+" << e->SelLength();
    if (auto* cb = dynamic_cast<TCustomComboBox*>(c))
        s << cb->Text().ToUtf8() << " sel " << cb->SelStart() << "+" << cb->SelLength() << " item " << cb->ItemIndex();
    if (auto* lb = dynamic_cast<TCustomListBox*>(c)) s << "item " << lb->ItemIndex() << " selected " << lb->SelCount();
    s << " clip " << ui::NativeClipboardText().ToUtf8();
    s << (form->ActiveControl() == c ? "" : " (focus left)");
    return s.str();
}

TPoint CharPoint(TWinControl* c, int index) {
    LRESULT r = c->Perform(EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
    return Point(static_cast<int16_t>(LOWORD(static_cast<DWORD>(r))) + 1, static_cast<int16_t>(HIWORD(static_cast<DWORD>(r))) + 3);
}

void Drag(TWinControl* c, TPoint from, TPoint to) {
    ui::test::MouseMove(c, from.X, from.Y);
    ui::test::MouseDown(c, from.X, from.Y);
    ui::test::MouseMove(c, (from.X + to.X) / 2, to.Y, MK_LBUTTON);
    ui::test::MouseMove(c, to.X, to.Y, MK_LBUTTON);
    ui::test::MouseUp(c, to.X, to.Y);
}

struct RunResult {
    std::vector<std::string> Log;
    uint64_t Filtered = 0;
};

// The same keys and clicks on a fresh form, through the real road or the host widget's.
RunResult RunScript(Kind kind, bool viaHost) {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 320, 240);
    TWinControl* c = nullptr;
    switch (kind) {
        case Kind::Edit: c = new TEdit(form); c->SetBounds(10, 10, 200, 24); break;
        case Kind::Memo: c = new TMemo(form); c->SetBounds(10, 10, 200, 90); break;
        case Kind::Combo: {
            auto* cb = new TComboBox(form);
            cb->SetBounds(10, 10, 200, 24);
            for (const char* s : {"alpha", "beta", "gamma"}) cb->Items()->Add(String(s));
            c = cb;
            break;
        }
        case Kind::List: {
            auto* lb = new TListBox(form);
            lb->SetBounds(10, 10, 150, 120);
            lb->SetMultiSelect(true);
            for (const char* s : {"alpha", "beta", "gamma", "delta", "epsilon"}) lb->Items()->Add(String(s));
            c = lb;
            break;
        }
    }
    c->SetParent(form);
    auto* next = new TEdit(form);
    next->SetBounds(10, 160, 100, 24);
    next->SetParent(form);
    form->Show();
    c->SetFocus();
    ui::test::Pump();
    ui::SetNativeClipboardText(String());

    RunResult out;
    uint64_t before = ui::test::NativeFilterEvents();
    std::optional<ui::test::ViaHostWidget> via;
    if (viaHost) via.emplace();
    auto step = [&] {
        ui::test::Pump();
        out.Log.push_back(State(c, form));
    };
    auto shiftLeft = [&](int n) {
        for (int i = 0; i < n; ++i) ui::test::Key(c, VK_LEFT, String(), {ssShift});
    };
    auto ctrl = [&](WORD letter) { ui::test::Key(c, letter, String(), {ssCtrl}); };

    switch (kind) {
        case Kind::Edit:
        case Kind::Combo:
            ui::test::TypeText(c, String("hello world"));
            step();
            shiftLeft(5);
            step();
            ctrl('C');
            ui::test::Key(c, VK_HOME);
            ctrl('V');
            step();
            ctrl('A');
            step();
            if (kind == Kind::Edit) Drag(c, CharPoint(c, 0), CharPoint(c, 5));
            else ui::test::Click(c, 3, 12);  // puts the caret at the start
            step();
            ui::test::Key(c, VK_RETURN);
            ui::test::Key(c, VK_ESCAPE);
            step();
            ui::test::Key(c, VK_TAB);
            step();
            break;
        case Kind::Memo:
            ui::test::TypeText(c, String("one"));
            ui::test::Key(c, VK_RETURN);
            ui::test::TypeText(c, String("two"));
            step();
            ui::test::Key(c, VK_UP, String(), {ssShift});
            step();
            ctrl('C');
            ctrl('A');
            step();
            Drag(c, CharPoint(c, 5), CharPoint(c, 8));
            step();
            ui::test::Key(c, VK_RIGHT);
            ctrl('V');
            step();
            ui::test::Key(c, VK_ESCAPE);
            ui::test::Key(c, VK_TAB);
            step();
            break;
        case Kind::List: {
            ui::test::Key(c, VK_DOWN);
            ui::test::Key(c, VK_DOWN);
            step();
            ui::test::Key(c, VK_DOWN, String(), {ssShift});
            ui::test::Key(c, VK_DOWN, String(), {ssShift});
            step();
            ui::test::TypeText(c, String("a"));
            step();
            TRect second, fourth;
            c->Perform(LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
            c->Perform(LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&fourth));
            Drag(c, Point(second.Left + 5, second.Top + 2), Point(fourth.Left + 5, fourth.Top + 2));
            step();
            ui::test::Key(c, VK_RETURN);
            ui::test::Key(c, VK_ESCAPE);
            ctrl('C');
            step();
            ui::test::Key(c, VK_TAB);
            step();
            break;
        }
    }
    out.Filtered = ui::test::NativeFilterEvents() - before;
    via.reset();
    form->Free();
    return out;
}

using InputRoadTest = ui::test::AppTest;

}  // namespace

TEST_F(InputRoadTest, NativeControlsGiveTheSameResultsThroughTheirOwnWidgetAsThroughTheHost) {
    struct Case {
        Kind kind;
        std::vector<std::string> expected;
    } cases[] = {
        {Kind::Edit,
         {"hello world sel 11+0 clip ", "hello world sel 6+5 clip ", "worldhello world sel 5+0 clip world",
          "worldhello world sel 0+16 clip world", "worldhello world sel 0+5 clip world",
          "worldhello world sel 0+5 clip world", "worldhello world sel 0+5 clip world (focus left)"}},
        {Kind::Combo,
         {"hello world sel 11+0 item -1 clip ", "hello world sel 6+5 item -1 clip ",
          "worldhello world sel 5+0 item -1 clip world", "worldhello world sel 0+16 item -1 clip world",
          "worldhello world sel 0+0 item -1 clip world", "worldhello world sel 0+0 item -1 clip world",
          "worldhello world sel 0+0 item -1 clip world (focus left)"}},
        {Kind::Memo,
         {"one\r\ntwo sel 8+0 clip ", "one\r\ntwo sel 3+5 clip ", "one\r\ntwo sel 0+8 clip \r\ntwo",
          "one\r\ntwo sel 5+3 clip \r\ntwo", "one\r\ntwo\r\ntwo sel 13+0 clip \r\ntwo",
          "one\r\ntwo\r\ntwo sel 13+0 clip \r\ntwo (focus left)"}},
        {Kind::List,
         {"item 1 selected 1 clip ", "item 3 selected 3 clip ", "item 0 selected 4 clip ", "item 3 selected 3 clip ",
          "item 3 selected 3 clip ", "item 3 selected 3 clip  (focus left)"}},
    };
    for (const auto& c : cases) {
        RunResult real = RunScript(c.kind, false);
        RunResult host = RunScript(c.kind, true);
        EXPECT_EQ(real.Log, c.expected) << NameOf(c.kind);
        EXPECT_EQ(host.Log, c.expected) << NameOf(c.kind) << " through the host widget";
        // The real road runs through the native widget's filter; the other never touches it.
        EXPECT_GT(real.Filtered, 10u) << NameOf(c.kind);
        EXPECT_EQ(host.Filtered, 0u) << NameOf(c.kind);
    }
}

namespace {

// Records the key messages that reach it; can swallow characters by zeroing them.
class KeyLog : public TEdit {
public:
    using TEdit::TEdit;
    struct Entry {
        UINT msg;
        WPARAM key;
        LPARAM data;
    };
    std::vector<Entry> Entries;
    bool ZeroChars = false;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_KEYDOWN || m.Msg == WM_KEYUP || m.Msg == WM_CHAR) Entries.push_back({m.Msg, m.WParam, m.LParam});
        if (m.Msg == WM_CHAR && ZeroChars) m.WParam = 0;
        TEdit::WndProc(m);
    }
};

class HostKeyLog : public TCustomControl {
public:
    explicit HostKeyLog(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
    std::vector<KeyLog::Entry> Entries;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_GETDLGCODE) {
            m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
            return;
        }
        if (m.Msg == WM_KEYDOWN || m.Msg == WM_KEYUP || m.Msg == WM_CHAR) Entries.push_back({m.Msg, m.WParam, m.LParam});
        TCustomControl::WndProc(m);
    }
};

int ScanOf(LPARAM data) { return static_cast<int>((static_cast<uint32_t>(data) >> 16) & 0xFF); }
bool Extended(LPARAM data) { return (static_cast<uint32_t>(data) >> 24) & 1; }

}  // namespace

TEST_F(InputRoadTest, KeyMessagesCarryTheScanCodeAndFlagsOfTheKey) {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 320, 240);
    auto* edit = new KeyLog(form);
    edit->SetBounds(10, 10, 200, 24);
    edit->SetParent(form);
    auto* plain = new HostKeyLog(form);
    plain->SetBounds(10, 50, 100, 40);
    plain->SetParent(form);
    form->Show();

    struct Case {
        WORD vk;
        const char16_t* text;
        int scan;
        bool extended;
    } cases[] = {
        {VK_DECIMAL, u".", 0x53, false},     // the keypad's decimal key
        {VK_OEM_PERIOD, u".", 0x34, false},  // the main "." key
        {'Q', u"q", 0x10, false},
        {VK_LEFT, u"", 0x4B, true},          // the arrow beside the keypad
        {VK_NUMPAD0 + 4, u"4", 0x4B, false}, // the keypad's 4, on the same key as its left arrow
        {VK_RETURN, u"\r", 0x1C, false},
    };
    for (int road = 0; road < 2; ++road) {
        TWinControl* target = road == 0 ? static_cast<TWinControl*>(edit) : plain;
        target->SetFocus();
        ui::test::Pump();
        std::vector<KeyLog::Entry>& log = road == 0 ? edit->Entries : plain->Entries;
        for (const auto& c : cases) {
            log.clear();
            ui::test::Key(target, c.vk, String(c.text));
            ASSERT_GE(log.size(), 2u) << c.vk;
            const auto& down = log.front();
            const auto& up = log.back();
            EXPECT_EQ(down.msg, static_cast<UINT>(WM_KEYDOWN));
            EXPECT_EQ(down.key, c.vk);
            EXPECT_EQ(down.data & 0xFFFF, 1) << "repeat count";
            EXPECT_EQ(ScanOf(down.data), c.scan) << c.vk;
            EXPECT_EQ(Extended(down.data), c.extended) << c.vk;
            EXPECT_EQ(static_cast<uint32_t>(down.data) >> 30, 0u) << "a first press";
            EXPECT_EQ(up.msg, static_cast<UINT>(WM_KEYUP));
            EXPECT_EQ(ScanOf(up.data), c.scan);
            EXPECT_EQ(static_cast<uint32_t>(up.data) >> 30, 3u) << "key was down, now released";
            if (*c.text && c.vk != VK_RETURN) {
                ASSERT_EQ(log.size(), 3u) << c.vk;
                EXPECT_EQ(log[1].msg, static_cast<UINT>(WM_CHAR));
                EXPECT_EQ(log[1].key, static_cast<WPARAM>(c.text[0]));
                EXPECT_EQ(log[1].data, down.data) << "the character carries the key's data";
            }
        }
    }
    EXPECT_EQ(edit->Text(), String(u"..4q"));

    // A handler that zeroes the character leaves the text as it was, on either road.
    edit->SetFocus();
    edit->ZeroChars = true;
    ui::test::TypeText(edit, String("abc"));
    {
        ui::test::ViaHostWidget via;
        ui::test::TypeText(edit, String("abc"));
    }
    EXPECT_EQ(edit->Text(), String(u"..4q"));
    form->Free();
}

TEST_F(InputRoadTest, CtrlWithALetterTypesItsControlCharacterOnEveryRoad) {
    auto* form = new TForm(nullptr);
    auto* edit = new KeyLog(form);
    edit->SetParent(form);
    auto* plain = new HostKeyLog(form);
    plain->SetTop(40);
    plain->SetParent(form);
    form->Show();
    auto chars = [](const std::vector<KeyLog::Entry>& log) {
        std::u16string s;
        for (const auto& e : log)
            if (e.msg == WM_CHAR) s += static_cast<char16_t>(e.key);
        return s;
    };
    for (TWinControl* target : {static_cast<TWinControl*>(edit), static_cast<TWinControl*>(plain)}) {
        target->SetFocus();
        ui::test::Pump();
        // Whatever text Qt attaches to the key: none, the letter, or the control character.
        ui::test::Key(target, 'A', String(), {ssCtrl});
        ui::test::Key(target, 'B', String(u"b"), {ssCtrl, ssShift});
        ui::test::Key(target, 'D', String(u"\x04"), {ssCtrl});
        ui::test::Key(target, '1', String(u"1"), {ssCtrl});  // a digit types nothing with Ctrl
        std::u16string got = target == edit ? chars(edit->Entries) : chars(plain->Entries);
        EXPECT_EQ(got, std::u16string(u"\x01\x02\x04")) << target->ClassName();
    }
    form->Free();
}

TEST_F(InputRoadTest, GetKeyStateTellsTheLeftAndRightCtrlAndShiftKeysApart) {
    auto* form = new TForm(nullptr);
    auto* edit = new KeyLog(form);
    edit->SetParent(form);
    form->Show();
    edit->SetFocus();
    ui::test::Pump();
    ui::test::Driver& driver = ui::test::GetDriver();
    auto down = [](int vk) { return GetKeyState(vk) < 0; };
    struct Side {
        WORD key, generic, other;
        TShiftState shift;
    } sides[] = {
        {VK_RCONTROL, VK_CONTROL, VK_LCONTROL, {ssCtrl}},
        {VK_LCONTROL, VK_CONTROL, VK_RCONTROL, {ssCtrl}},
        {VK_RSHIFT, VK_SHIFT, VK_LSHIFT, {ssShift}},
        {VK_LSHIFT, VK_SHIFT, VK_RSHIFT, {ssShift}},
    };
    for (const Side& s : sides) {
        SCOPED_TRACE(s.key);
        edit->Entries.clear();
        driver.SendKey(*edit->Peer(), true, s.key, String(), s.shift, false);
        EXPECT_TRUE(down(s.key));
        EXPECT_FALSE(down(s.other));
        EXPECT_TRUE(down(s.generic));
        // Later input that only says the modifier is held changes nothing.
        driver.SendKey(*edit->Peer(), true, 'A', String(), s.shift, false);
        driver.SendKey(*edit->Peer(), false, 'A', String(), s.shift, false);
        EXPECT_FALSE(down(s.other));
        driver.SendKey(*edit->Peer(), false, s.key, String(), {}, false);
        EXPECT_FALSE(down(s.key));
        EXPECT_FALSE(down(s.generic));
        // The messages carry the key itself, as the platform's do.
        ASSERT_FALSE(edit->Entries.empty());
        EXPECT_EQ(edit->Entries.front().key, s.generic);
    }
    // A keyboard that does not tell the side: both sides follow the key.
    driver.SendKey(*edit->Peer(), true, VK_CONTROL, String(), {ssCtrl}, false);
    EXPECT_TRUE(down(VK_LCONTROL));
    EXPECT_TRUE(down(VK_RCONTROL));
    driver.SendKey(*edit->Peer(), false, VK_CONTROL, String(), {}, false);
    EXPECT_FALSE(down(VK_LCONTROL));
    EXPECT_FALSE(down(VK_RCONTROL));
    form->Free();
}
