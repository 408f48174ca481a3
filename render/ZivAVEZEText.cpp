// Text utilities of HTML-formatted text: entity codecs, plain text, marking search matches, and
// the values of embedded controls kept in the text.
#include <functional>

#include "platform/rtl/SysUtils.h"
#include "render/ZivAVEZE.h"
#include "render/ZivAVEZEImpl.h"

using namespace html_impl;

// ---- Entities and plain text -------------------------------------------------------------------

String HtmlDecodeEntities(const String& text) {
    if (text.find(u'&') == String::npos) return text;
    String s = ReplaceAll(ReplaceAll(ReplaceAll(text, u"&lt;", u"<"), u"&gt;", u">"), u"&quot;", u"\"");
    for (const THtmlNamedChar& n : HtmlNamedChars()) s = ReplaceAll(s, n.Entity, std::u16string_view(&n.Char, 1));
    // Last, so that an escaped entity ("&amp;eacute;") comes back as written.
    return ReplaceAll(s, u"&amp;", u"&");
}

String HtmlEncodeEntities(const String& text) {
    String s = ReplaceAll(text, u"&", u"&amp;");
    s = ReplaceAll(ReplaceAll(ReplaceAll(s, u"\"", u"&quot;"), u"<", u"&lt;"), u">", u"&gt;");
    for (const THtmlNamedChar& n : HtmlNamedChars()) s = ReplaceAll(s, std::u16string_view(&n.Char, 1), n.Entity);
    return s;
}

String HtmlEncodeSpaces(const String& text) { return ReplaceAll(text, u" ", u"&nbsp;"); }

String HtmlToPlainText(const String& html) {
    String s = ReplaceAllIgnoringCase(ReplaceAllIgnoringCase(html, u"<BR>", u"\r\n"), u"<HR>", u"\r\n");
    String out;
    size_t at = 0;
    for (size_t lt; (lt = s.find(u'<', at)) != String::npos;) {
        size_t gt = s.find(u'>', lt);
        if (gt == String::npos) break;
        out.append(s, at, lt - at);
        at = gt + 1;
    }
    out.append(s, at);
    return out;
}

String HtmlStripTags(const String& html) {
    String out;
    size_t at = 0;
    for (;;) {
        size_t lt = html.find(u'<', at), gt = html.find(u'>', at);
        if (lt == String::npos || gt == String::npos || gt < lt) break;
        out.append(html, at, lt - at);
        at = gt + 1;
    }
    out.append(html, at);
    return out;
}

int HtmlVisiblePos(const String& html, int n) {
    int passed = 0;
    bool inTag = false;
    size_t i = 0;
    for (; i < html.size() && passed != n - 1; ++i) {
        if (html[i] == u'<')
            inTag = true;
        else if (html[i] == u'>')
            inTag = false;
        else if (!inTag)
            ++passed;
    }
    if (passed != n - 1) return 0;
    // Past the last visible character is the end of the text, after any tag there.
    for (size_t j = i; j < html.size(); ++j) {
        if (html[j] == u'<')
            inTag = true;
        else if (html[j] == u'>')
            inTag = false;
        else if (!inTag)
            return static_cast<int>(i) + 1;
    }
    return static_cast<int>(html.size()) + 1;
}

namespace {

// The 1-based position of the n-th character outside tags (the tags before it stay before it);
// the length + 1 when there is none.
int VisibleCharPos(const String& html, int n) {
    int seen = 0;
    bool inTag = false;
    for (size_t i = 0; i < html.size(); ++i) {
        if (html[i] == u'<')
            inTag = true;
        else if (html[i] == u'>')
            inTag = false;
        else if (!inTag && ++seen == n)
            return static_cast<int>(i) + 1;
    }
    return static_cast<int>(html.size()) + 1;
}

String EscapeBrackets(const String& s) { return ReplaceAll(ReplaceAll(s, u"<", u"&lt;"), u">", u"&gt;"); }

}  // namespace

String HtmlMarkText(const String& html, const String& find, const String& tag, bool caseSensitive) {
    if (find.IsEmpty()) return html;
    String result = html;
    String what = find;
    String plain = HtmlStripTags(html);
    if (html.find(find) != String::npos && plain.find_first_of(u"<>") != String::npos) {
        plain = EscapeBrackets(plain);
        result = plain;
        what = EscapeBrackets(what);
    }
    const String open = u"<" + tag + u">", close = u"</" + tag + u">";
    const String haystack = caseSensitive ? plain : AnsiUpperCase(plain);
    const String needle = caseSensitive ? what : AnsiUpperCase(what);
    for (size_t at = 0; (at = haystack.find(needle, at)) != String::npos; at += needle.size()) {
        const int p = static_cast<int>(at) + 1;
        // The opener goes right before the match's first character, after any tag before it: a
        // match that follows another directly must not open inside the previous one's closer.
        result.insert(static_cast<size_t>(VisibleCharPos(result, p) - 1), open);
        int end = HtmlVisiblePos(result, p + static_cast<int>(needle.size()));
        if (end > 0) result.insert(static_cast<size_t>(end - 1), close);
    }
    return result;
}

String HtmlUnmarkText(const String& html, const String& tag) {
    String s = ReplaceAllIgnoringCase(html, u"<" + tag + u">", u"");
    s = ReplaceAllIgnoringCase(s, u"</" + tag + u">", u"");
    return ReplaceAll(ReplaceAll(s, u"&lt;", u"<"), u"&gt;", u">");
}

// ---- Embedded controls -------------------------------------------------------------------------

namespace {

// The value of an attribute ("ID=") of a control tag: the first occurrence of the name outside
// quoted values, then the text in the double quotes that follow it; empty when unquoted.
String ControlAttr(const String& tag, const String& upper, const char16_t* name) {
    const size_t len = std::char_traits<char16_t>::length(name);
    bool quoted = false;
    size_t at = String::npos;
    for (size_t i = 0; i < upper.size() && at == String::npos; ++i) {
        if (upper[i] == u'"')
            quoted = !quoted;
        else if (!quoted && upper.compare(i, len, name) == 0)
            at = i;
    }
    if (at == String::npos) return String();
    size_t open = at + len;
    while (open < tag.size() && tag[open] == u' ') ++open;
    if (open >= tag.size() || tag[open] != u'"') return String();
    size_t close = tag.find(u'"', open + 1);
    return tag.substr(open + 1, close == String::npos ? String::npos : close - open - 1);
}

struct ControlTag {
    size_t lt = 0;             // the "<"
    size_t end = String::npos; // the ">", npos when the tag runs to the end
    String type, id, value, width, height, prop, maxlen;
};

// Every "<CONTROL " tag of html in order, until fn answers false.
void EachControl(const String& html, const std::function<bool(const ControlTag&)>& fn) {
    const String upper = UpperAscii(html);
    for (size_t at = 0; (at = upper.find(u"<CONTROL ", at)) != String::npos; ++at) {
        ControlTag c;
        c.lt = at;
        c.end = html.find(u'>', at);
        ParseControlTag(html.substr(at, c.end == String::npos ? String::npos : c.end - at), c.type, c.id, c.value,
                        c.width, c.height, c.prop, c.maxlen);
        if (!fn(c)) return;
    }
}

// The control rewritten with value (not yet encoded): ID, VALUE, WIDTH and TYPE, then PROP,
// MAXLEN and HEIGHT when they are set.
void RewriteControl(String& html, const ControlTag& c, const String& value) {
    auto attr = [](const char16_t* name, const String& v) { return String(name) + u"=\"" + v + u"\""; };
    String tag = u"CONTROL " + attr(u"ID", c.id) + u" " + attr(u"VALUE", HtmlEncodeEntities(value)) + u" " +
                 attr(u"WIDTH", c.width) + u" " + attr(u"TYPE", c.type);
    if (!c.prop.IsEmpty()) tag += u" " + attr(u"PROP", HtmlEncodeEntities(c.prop));
    if (!c.maxlen.IsEmpty()) tag += u" " + attr(u"MAXLEN", c.maxlen);
    if (!c.height.IsEmpty()) tag += u" " + attr(u"HEIGHT", c.height);
    tag += u">";
    String rewritten(html.substr(0, c.lt + 1));
    rewritten += tag;
    if (c.end != String::npos) rewritten.append(html, c.end + 1);
    html = rewritten;
}

// The control with that ID, if any.
bool FindControl(const String& html, const String& id, ControlTag& found) {
    bool hit = false;
    EachControl(html, [&](const ControlTag& c) {
        if (c.id != id) return true;
        found = c;
        hit = true;
        return false;
    });
    return hit;
}

}  // namespace

void ParseControlTag(const String& tag, String& type, String& id, String& value, String& width, String& height,
                     String& prop, String& maxlen) {
    const String upper = UpperAscii(tag);
    type = UpperAscii(ControlAttr(tag, upper, u"TYPE="));
    width = ControlAttr(tag, upper, u"WIDTH=");
    height = ControlAttr(tag, upper, u"HEIGHT=");
    id = ControlAttr(tag, upper, u"ID=");
    value = HtmlDecodeEntities(ControlAttr(tag, upper, u"VALUE="));
    prop = HtmlDecodeEntities(ControlAttr(tag, upper, u"PROP="));
    maxlen = ControlAttr(tag, upper, u"MAXLEN=");
}

bool HtmlHasControls(const String& html) { return UpperAscii(html).find(u"<CONTROL") != String::npos; }

bool HtmlGetControlValue(const String& html, const String& id, String& value) {
    ControlTag c;
    if (!FindControl(html, id, c)) return false;
    value = c.value;
    return true;
}

String HtmlGetControlProp(const String& html, const String& id) {
    ControlTag c;
    return FindControl(html, id, c) ? c.prop : String();
}

int HtmlGetControlMaxLen(const String& html, const String& id) {
    ControlTag c;
    return FindControl(html, id, c) ? LeadingInt(c.maxlen) : 0;
}

String HtmlNextEditControlID(const String& html, const String& id) {
    bool passed = id.IsEmpty();
    String next;
    EachControl(html, [&](const ControlTag& c) {
        if (!passed) {
            passed = c.id == id;
            return true;
        }
        if (c.type == u"BUTTON" || c.type == u"CHECK" || c.type == u"RADIO") return true;
        next = c.id;
        return false;
    });
    return next;
}

String HtmlClearRadioControls(const String& html) {
    // Each radio control is rewritten where it stands, so radios without an ID or sharing one are
    // all cleared, each once.
    String result = html;
    for (size_t from = 0;;) {
        bool found = false;
        ControlTag radio;
        EachControl(result, [&](const ControlTag& c) {
            if (c.lt < from || c.type != u"RADIO") return true;
            radio = c;
            found = true;
            return false;
        });
        if (!found) return result;
        RewriteControl(result, radio, u"FALSE");
        from = radio.lt + 1;
    }
}

bool HtmlSetControlValue(String& html, const String& id, const String& value) {
    ControlTag c;
    if (!FindControl(html, id, c)) return false;
    RewriteControl(html, c, value);
    return true;
}

String PasswordMask(const String& text) { return String(text.size(), u'*'); }
