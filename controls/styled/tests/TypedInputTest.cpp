// The typed input engine on a host that is no edit: a string with a selection, whose native
// handling types, deletes and moves as an edit would. A few rules of each kind run through the
// host interface alone: characters, keys, pastes, copy and cut, Escape, the swallowed change
// notice and the dialect's answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "controls/styled/TypedInput.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/NativeCtrls.h"
#include "platform/ui/testing/Fixtures.h"
#include "platform/win/Window.h"

namespace {

class StringHost : public styled::TTypedInputHost {
public:
    styled::TTypedSettings settings;
    styled::TTypedDialect dialect;
    String whole;
    int anchor = 0, caret = 0;
    bool modified = false, nativeModified = false;
    int changes = 0, keyPresses = 0, returnsAsTab = 0, backspacesAtPrefix = 0;
    std::vector<std::pair<UINT, WORD>> posted;
    std::vector<std::pair<styled::TClipboardAction, String>> clipboardEvents;
    bool allowClipboard = true;
    styled::TTypedInput engine{*this};

    // The whole text Prefix + value + Suffix with the caret at the value's end (or at).
    void Set(const String& value, int at = -1) {
        whole = settings.Prefix + value + settings.Suffix;
        anchor = caret = at < 0 ? settings.Prefix.Length() + value.Length() : at;
    }
    LRESULT Char(char16_t ch) {
        TMessage m{WM_CHAR, ch, 1, 0};
        engine.TypedChar(m);
        return m.Result;
    }
    void Type(const String& text) {
        for (char16_t c : text) Char(c);
    }
    bool Key(WORD key) {
        TMessage m{WM_KEYDOWN, key, 1, 0};
        return engine.KeyDown(m);
    }

    String WholeText() const override { return whole; }
    int SelStart() const override { return std::min(anchor, caret); }
    int SelLength() const override { return std::abs(caret - anchor); }
    void Select(int a, int c) override {
        anchor = std::clamp(a, 0, whole.Length());
        caret = std::clamp(c, 0, whole.Length());
    }
    void ReplaceRange(int start, int end, const String& text) override {
        whole.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), text);
        anchor = caret = start + text.Length();
        Changed();
    }
    void SetWholeText(const String& text) override {
        whole = text;
        anchor = caret = whole.Length();
        Changed();
    }
    bool NativeModified() override { return nativeModified; }
    String Value() const override {
        return String(whole.substr(static_cast<size_t>(settings.Prefix.Length()),
                                   static_cast<size_t>(whole.Length() - settings.Prefix.Length() - settings.Suffix.Length())));
    }
    void SetValue(const String& value) override {
        SetWholeText(settings.Prefix + value + settings.Suffix);
        modified = false;
    }
    double FloatValue() override { return advedit::TypedFloatValue(settings.EditType, Value()); }
    void SetFloatValue(double value) override {
        String text;
        if (advedit::FloatValueText(settings.EditType, engine.PrecisionOff() ? 0 : settings.Precision, value, text)) SetValue(text);
        if (settings.EditType == etMoney) engine.RegroupMoney();
        modified = true;
    }
    void SelectValue() override { Select(settings.Prefix.Length(), settings.Prefix.Length() + Value().Length()); }
    bool Modified() const override { return modified; }
    void SetModified(bool value) override { modified = value; }
    String MixedCase(const String& value) override { return AnsiUpperCase(value); }
    styled::TTypedSettings Settings() const override { return settings; }
    styled::TTypedDialect Dialect() const override { return dialect; }

    // Typing replaces the selection; Backspace takes the selection or the character before.
    void PassChar(TMessage& Message) override {
        const char16_t ch = static_cast<char16_t>(Message.WParam);
        int s = SelStart(), e = s + SelLength();
        if (ch == u'\b') {
            if (s == e && s == 0) return;
            if (s == e) --s;
            whole.erase(static_cast<size_t>(s), static_cast<size_t>(e - s));
            anchor = caret = s;
        } else {
            whole.replace(static_cast<size_t>(s), static_cast<size_t>(e - s), String(1, ch));
            anchor = caret = s + 1;
        }
        nativeModified = true;
        Changed();
    }
    void DefaultChar(TMessage&) override {}
    void PassKeyDown(TMessage& Message) override {
        switch (Message.WParam) {
            case VK_LEFT: Select(caret - 1, caret - 1); break;
            case VK_RIGHT: Select(caret + 1, caret + 1); break;
            case VK_DELETE:
                if (SelLength() > 0) ReplaceRange(SelStart(), SelStart() + SelLength(), String());
                else if (caret < whole.Length()) ReplaceRange(caret, caret + 1, String());
                break;
            default: break;
        }
    }
    void PassClipboard(TMessage& Message) override {
        const String sel(whole.substr(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength())));
        Clipboard()->SetAsText(sel);
        if (Message.Msg == WM_CUT) ReplaceRange(SelStart(), SelStart() + SelLength(), String());
    }
    void PassSpecialKey(TMessage&) override {}
    bool HasParent() const override { return true; }
    void PostToParent(UINT msg, WORD key) override { posted.emplace_back(msg, key); }
    int FormKeyPreview() const override { return 0; }
    bool ParentFocused() const override { return false; }
    void NextControl(bool) override {}
    void RaiseChange() override { Changed(); }
    void KeyPressEvent(char16_t) override { ++keyPresses; }
    bool ClipboardEvent(styled::TClipboardAction action, const String& value) override {
        clipboardEvents.emplace_back(action, value);
        return allowClipboard;
    }
    void ReturnAsTab() override { ++returnsAsTab; }
    void BackspaceAtPrefix() override { ++backspacesAtPrefix; }

private:
    void Changed() {
        if (engine.ChangeNotice()) ++changes;
    }
};

// The clipboard needs the platform's UI.
class TypedInputTest : public ui::test::FormTest {
protected:
    StringHost host;
    void SetUp() override {
        FormTest::SetUp();
        FormatSettings.DecimalSeparator = u'.';
        FormatSettings.ThousandSeparator = u',';
    }
    void TearDown() override {
        FormatSettings.DecimalSeparator = TFormatSettings::Default().DecimalSeparator;
        FormatSettings.ThousandSeparator = TFormatSettings::Default().ThousandSeparator;
        win::ClearKeyState();
        FormTest::TearDown();
    }
};

TEST_F(TypedInputTest, CharactersByKind) {
    host.settings.EditType = etNumeric;
    host.Set(u"12");
    host.Type(u"3a");
    EXPECT_EQ(host.Value(), String(u"123"));
    host.Char(u'-');
    EXPECT_EQ(host.Value(), String(u"123"));  // unsigned
    host.settings.Signed = true;
    host.Char(u'-');
    EXPECT_EQ(host.Value(), String(u"-123"));
    EXPECT_EQ(host.caret, 4);

    host.settings.EditType = etFloat;
    host.settings.Precision = 2;
    host.Set(u"");
    host.Type(u".5");
    EXPECT_EQ(host.Value(), String(u"0.5"));
    host.Char(u'7');
    host.Char(u'8');  // the fraction is full
    EXPECT_EQ(host.Value(), String(u"0.57"));
    host.Char(u'.');  // not typed: the caret goes after the separator
    EXPECT_EQ(host.caret, 2);
    host.Char(u'9');  // over the next digit
    EXPECT_EQ(host.Value(), String(u"0.97"));

    host.settings.EditType = etMoney;
    host.Set(u"");
    host.Type(u"1234");
    EXPECT_EQ(host.Value(), String(u"1,234"));
    EXPECT_EQ(host.caret, 5);

    // The host's own re-casing.
    host.settings.EditType = etMixedCase;
    host.Set(u"ab", 1);
    host.Char(u'x');
    EXPECT_EQ(host.Value(), String(u"AXB"));
    EXPECT_EQ(host.caret, 2);

    host.settings.EditType = etString;
    host.Set(u"ab");
    host.Char(u'\r');
    EXPECT_EQ(host.keyPresses, 1);
    EXPECT_EQ(host.Value(), String(u"ab"));
}

TEST_F(TypedInputTest, KeysRoundPrefixAndSuffix) {
    host.settings.Prefix = u"$";
    host.settings.Suffix = u" kg";
    host.Set(u"12");
    EXPECT_FALSE(host.Key(VK_RIGHT));  // at the value's end
    EXPECT_EQ(host.caret, 3);
    EXPECT_FALSE(host.Key(VK_DELETE));
    EXPECT_EQ(host.Value(), String(u"12"));
    host.Key(VK_HOME);
    EXPECT_EQ(host.caret, 1);
    EXPECT_FALSE(host.Key(VK_LEFT));
    EXPECT_EQ(host.caret, 1);
    host.Select(2, 2);
    EXPECT_FALSE(host.Key(VK_BACK));  // one after the prefix: the host's hook, no deletion
    EXPECT_EQ(host.backspacesAtPrefix, 1);
    EXPECT_TRUE(host.Key(VK_DELETE));
    EXPECT_EQ(host.Value(), String(u"1"));
    host.settings.ReturnIsTab = true;
    TMessage enter{WM_KEYDOWN, VK_RETURN, 1, 0};
    host.engine.KeyDown(enter);
    EXPECT_EQ(host.returnsAsTab, 1);
    EXPECT_EQ(enter.WParam, static_cast<WPARAM>(VK_TAB));
}

TEST_F(TypedInputTest, PastesByKindAndDialect) {
    auto paste = [&](const String& clip) {
        Clipboard()->SetAsText(clip);
        host.engine.Paste();
    };
    host.settings.EditType = etNumeric;
    host.Set(u"");
    paste(u"1.5");
    EXPECT_EQ(host.Value(), String());
    paste(u"12");
    EXPECT_EQ(host.Value(), String(u"12"));
    EXPECT_TRUE(host.modified);

    host.settings.EditType = etHex;
    host.Set(u"");
    paste(u"ff");
    EXPECT_EQ(host.Value(), String(u"ff"));
    host.dialect.PastesHex = false;
    host.Set(u"");
    paste(u"ff");
    EXPECT_EQ(host.Value(), String());

    host.settings.EditType = etString;
    host.allowClipboard = false;
    paste(u"no");
    EXPECT_EQ(host.Value(), String());
    ASSERT_FALSE(host.clipboardEvents.empty());
    EXPECT_EQ(host.clipboardEvents.back().first, styled::TClipboardAction::Paste);
    EXPECT_EQ(host.clipboardEvents.back().second, String(u"no"));
}

TEST_F(TypedInputTest, CutOffersNoCopy) {
    host.settings.Prefix = u"#";
    host.Set(u"abcd");
    host.Select(2, 4);
    TMessage cut{WM_CUT, 0, 0, 0};
    host.engine.Cut(cut);
    ASSERT_EQ(host.clipboardEvents.size(), 1u);
    EXPECT_EQ(host.clipboardEvents[0].first, styled::TClipboardAction::Cut);
    EXPECT_EQ(host.clipboardEvents[0].second, String(u"bc"));
    EXPECT_EQ(host.Value(), String(u"ad"));
    EXPECT_EQ(Clipboard()->AsText(), String(u"bc"));
}

TEST_F(TypedInputTest, EscapeSelectsTheValueAndReportsToTheParent) {
    host.settings.Prefix = u"$";
    host.Set(u"12");
    host.modified = true;
    TMessage esc{CM_WANTSPECIALKEY, VK_ESCAPE, 0, 0};
    host.engine.SpecialKey(esc);
    EXPECT_EQ(esc.Result, 1);
    EXPECT_FALSE(host.modified);
    EXPECT_EQ(host.SelStart(), 1);
    EXPECT_EQ(host.SelLength(), 2);
    ASSERT_EQ(host.posted.size(), 2u);
    EXPECT_EQ(host.posted[0], std::make_pair(UINT(WM_KEYDOWN), WORD(VK_ESCAPE)));
    EXPECT_EQ(host.posted[1], std::make_pair(UINT(WM_KEYUP), WORD(VK_ESCAPE)));
}

TEST_F(TypedInputTest, TheChangeOverTheWholeValueIsSwallowedOnce) {
    host.Set(u"abc");
    host.Select(0, 3);
    host.Char(u'x');
    EXPECT_EQ(host.Value(), String(u"x"));
    EXPECT_EQ(host.changes, 0);
    host.Char(u'y');
    EXPECT_EQ(host.changes, 1);

    // The dialect's password and Backspace: swallowed, then reported once as emptied.
    host.settings.EditType = etPassword;
    host.dialect.SwallowOverPassword = true;
    host.dialect.PlainBackspace = true;
    host.Set(u"abc");
    host.Select(0, 3);
    host.changes = 0;
    host.Char(u'\b');
    EXPECT_EQ(host.Value(), String());
    EXPECT_EQ(host.changes, 1);
    EXPECT_FALSE(host.engine.SwallowingChange());
}

}  // namespace
