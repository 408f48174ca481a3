// Filter expressions: conditions joined by "&", "|", ";" and "^", grouped by parentheses, each a
// comparison or a pattern with "*" and "?".
#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"
#include "render/VarAvir.h"
#include "render/VarAvirImpl.h"

using namespace varavir;

namespace {

using View = std::u16string_view;
constexpr size_t npos = View::npos;

size_t FirstOfSet(const TCharSet& set, View text) {
    int quotes = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'"') ++quotes;
        if (quotes % 2 == 0 && std::find(set.begin(), set.end(), text[i]) != set.end()) return i;
    }
    return npos;
}

size_t MatchingParen(View text) {
    int open = 0, close = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'(') ++open;
        if (text[i] == u')' && ++close == open) return i;
    }
    return npos;
}

// ---- One condition ------------------------------------------------------------------------------

// The operand of the comparison that starts at op: after an optional "=" and blanks, up to a
// blank, "&" or "|" outside double quotes, without enclosing quotes.
View Operand(View cond, size_t op, bool& orEqual) {
    size_t i = op + 1;
    orEqual = i < cond.size() && cond[i] == u'=';
    if (orEqual) ++i;
    while (i < cond.size() && cond[i] == u' ') ++i;
    const size_t start = i;
    bool quoted = false;
    for (; i < cond.size(); ++i) {
        const char16_t c = cond[i];
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u' ' || c == u'&' || c == u'|'))
            break;
    }
    View operand = cond.substr(start, i - start);
    if (operand.size() >= 2 && operand.front() == u'"' && operand.back() == u'"') operand = operand.substr(1, operand.size() - 2);
    return operand;
}

// -1, 0 or 1 as value is below, equal to or above operand: as numbers when both are numbers and
// neither is a date, as dates when both are, else as texts of up to 255 characters.
int CompareValues(View value, View operand) {
    static const TFormatSettings dot = [] {
        TFormatSettings s;
        s.DecimalSeparator = u'.';
        return s;
    }();
    const String valueText(value), operandText(operand);
    double x = 0, y = 0;
    const bool numbers = TryStrToFloat(NumberTextWithDot(valueText), x, dot) && TryStrToFloat(NumberTextWithDot(operandText), y, dot);
    TDateTime dx = 0, dy = 0;
    const bool valueDate = ParseDateTimeLocale(valueText, dx);
    const bool operandDate = ParseDateTimeLocale(operandText, dy);
    if (!numbers || valueDate || operandDate) {
        if (valueDate && operandDate) {
            x = dx;
            y = dy;
        } else {
            const int c = value.substr(0, 255).compare(operand.substr(0, 255));
            return c < 0 ? -1 : c > 0 ? 1 : 0;
        }
    }
    return x < y ? -1 : x > y ? 1 : 0;
}

// A condition and a value, both already in the case they are compared in. Patterns with "*" are
// matched by working out, for each run of stars from the last to the first, at which places of
// the value the rest of the condition matches; each place is worked out once, so a pattern such
// as "*a*a*a*a*a*b" takes time in proportion to the product of the lengths instead of growing
// exponentially with the number of stars.
class ConditionMatcher {
public:
    ConditionMatcher(View cond, View value) : FCond(cond), FValue(value) {
        for (size_t i = 0; i < cond.size(); ++i)
            if (cond[i] == u'*' && (i == 0 || cond[i - 1] != u'*')) FRuns.push_back(i);
    }

    bool Match() {
        if (FRuns.empty()) return Condition(0, 0, nullptr);
        for (size_t r = FRuns.size(); r-- > 0;) {
            // A run is reached no earlier in the value than the characters before it consume.
            size_t from = 0;
            for (size_t i = 0; i < FRuns[r]; ++i)
                if (FCond[i] != u'*' && FCond[i] != u'!' && FCond[i] != u'"') ++from;
            std::vector<char> any(FValue.size() + 2, 0);
            const size_t after = RunEnd(FRuns[r]);
            for (size_t l = FValue.size() + 1; l-- > from;)
                any[l] = any[l + 1] || Condition(after, l, FNext.empty() ? nullptr : &FNext);
            FNext = std::move(any);
        }
        return Condition(0, 0, &FNext);
    }

private:
    size_t RunEnd(size_t i) const {
        while (i < FCond.size() && FCond[i] == u'*') ++i;
        return i;
    }

    // The whole of the condition from k, as a condition of its own, against the value from l;
    // `any` tells for the next run of stars whether the rest after it matches some ending of the
    // value from a place on.
    bool Condition(size_t k, size_t l, const std::vector<char>* any) const {
        const View cond = FCond.substr(k), value = FValue.substr(l);
        const size_t gtAt = cond.find(u'>'), ltAt = cond.find(u'<');
        const bool hasGt = gtAt != npos, hasLt = ltAt != npos;
        const bool negated = cond.find(u'!') != npos;
        const bool either = cond.find(u'^') != npos, both = cond.find(u'&') != npos;
        bool greater = false, less = false, orEqual = false;
        if (hasGt) {
            const int c = CompareValues(value, Operand(cond, gtAt, orEqual));
            greater = c > 0 || (orEqual && c == 0);
        }
        if (hasLt) {
            const int c = CompareValues(value, Operand(cond, ltAt, orEqual));
            less = c < 0 || (orEqual && c == 0);
        }
        if (negated && (hasGt || hasLt)) {
            // A negated comparison passes exactly the values the comparison refuses.
            bool result;
            if (either)
                result = greater || less;
            else if (both && hasGt && hasLt)
                result = greater && less;
            else
                result = (hasGt && greater) || (hasLt && less);
            return !result;
        }
        const bool greaterPresent = hasGt || negated, lessPresent = hasLt || negated;
        if (negated) greater = less = true;
        if (either && (greaterPresent || lessPresent)) return greater || less;
        if (both && greaterPresent && lessPresent) return greater && less;
        if (hasGt && greater) return true;
        if (hasLt && less) return true;
        const bool match = Pattern(k, l, any);
        return negated ? !match : match;
    }

    bool Pattern(size_t k, size_t t, const std::vector<char>* any) const {
        const size_t n = FValue.size();
        for (size_t i = k; i < FCond.size(); ++i) {
            const char16_t c = FCond[i];
            if (c == u'!' || c == u'"') continue;
            if (c == u'*') return any && (*any)[t];
            if (t >= n || (c != u'?' && FValue[t] != c)) return false;
            ++t;
        }
        return t == n;
    }

    View FCond, FValue;
    std::vector<size_t> FRuns;
    std::vector<char> FNext;
};

// ---- Expressions --------------------------------------------------------------------------------

// Groups nest no deeper than this; a deeper expression matches nothing rather than exhausting
// the stack.
constexpr int kMaxNesting = 1000;

bool Evaluate(View expr, const String& value, bool caseSensitive, int depth) {
    static const TCharSet operators = {u'(', u';', u'^', u'&', u'|'};
    bool result = false, first = true;
    char16_t last = 0;
    auto combine = [&](bool r) {
        if (first) {
            result = r;
            first = false;
        } else if (last == u'&') {
            result = result && r;
        } else if (last == u';' || last == u'^' || last == u'|') {
            result = result || r;
        }
        // After a group nothing is combined: the empty condition between ")" and the next
        // operator drops out this way.
    };
    for (;;) {
        const size_t at = FirstOfSet(operators, expr);
        if (at == npos) break;
        if (expr.front() == u'(') {
            if (depth >= kMaxNesting) return false;
            const size_t close = MatchingParen(expr);
            // A group that is never closed ends the expression: it matches nothing.
            if (close == npos) return false;
            combine(Evaluate(expr.substr(1, close - 1), value, caseSensitive, depth + 1));
            last = u'(';
            expr = expr.substr(close + 1);
        } else {
            combine(MatchCondition(String(expr.substr(0, at)), value, caseSensitive));
            last = expr[at];
            expr = expr.substr(at + 1);
        }
    }
    combine(MatchCondition(String(expr), value, caseSensitive));
    return result;
}

}  // namespace

bool MatchFilterExpression(const String& expression, const String& value, bool caseSensitive) {
    String expr = RemoveBlanksOutsideQuotes(Trim(expression));
    if (!expr.empty() && expr[0] == u'=') expr.erase(0, 1);
    return Evaluate(expr, value, caseSensitive, 0);
}

bool MatchCondition(const String& condition, const String& value, bool caseSensitive) {
    if (caseSensitive) return ConditionMatcher(condition, value).Match();
    const String cond = AnsiUpperCase(condition), val = AnsiUpperCase(value);
    return ConditionMatcher(cond, val).Match();
}

char16_t FindFirstOfSet(const TCharSet& set, const String& text, int& pos) {
    const size_t at = FirstOfSet(set, text);
    if (at == npos) {
        pos = -1;
        return 0;
    }
    pos = static_cast<int>(at) + 1;
    return text[at];
}

bool ParseDateTimeLocale(const String& text, TDateTime& dateTime) {
    // Most values a filter meets are no dates: they go before anything is copied.
    const char16_t separator = FormatSettings.DateSeparator;
    const size_t firstSeparator = text.find(separator);
    if (firstSeparator == npos || text.find(separator, firstSeparator + 1) == npos) return false;
    const String format = AnsiUpperCase(FormatSettings.ShortDateFormat);
    const size_t dayAt = format.find(u'D'), monthAt = format.find(u'M'), yearAt = format.find(u'Y');
    if (dayAt == npos || monthAt == npos || yearAt == npos) return false;
    const String s = Trim(text);
    const size_t first = s.find(separator);
    const size_t second = s.find(separator, first + 1);
    const View all(s);
    const View rest = all.substr(second + 1);
    const size_t blank = rest.find(u' ');
    int fields[3];
    if (!ReadDigits(all.substr(0, first), fields[0]) || !ReadDigits(all.substr(first + 1, second - first - 1), fields[1]) ||
        !ReadDigits(rest.substr(0, blank), fields[2]))
        return false;
    // The fields stand in the order their letters first appear in the short date format.
    auto field = [&](size_t at) {
        return fields[(at > dayAt) + (at > monthAt) + (at > yearAt)];
    };
    const int day = field(dayAt), month = field(monthAt), year = field(yearAt);
    TDateTime date = 0;
    if (day >= 32 || month > 12 || !TryEncodeDate(year, month, day, date)) return false;
    TDateTime time = 0;
    if (blank != npos) {
        const String timeText = Trim(String(rest.substr(blank + 1)));
        const char16_t timeSeparator = FormatSettings.TimeSeparator;
        const size_t a = timeText.find(timeSeparator);
        if (a == npos) return false;
        const size_t b = timeText.find(timeSeparator, a + 1);
        const View t(timeText);
        int hour = 0, minute = 0, second = 0;
        if (!ReadDigits(t.substr(0, a), hour) || !ReadDigits(t.substr(a + 1, b == npos ? npos : b - a - 1), minute) ||
            (b != npos && !ReadDigits(t.substr(b + 1), second)))
            return false;
        if (hour > 23 || minute > 59 || second > 60) return false;
        // A leap second (60) is the first moment of the next minute.
        time = (hour * 3600.0 + minute * 60.0 + second) / SecsPerDay;
    }
    dateTime = ComposeDateTime(date, time);
    return true;
}

String NumberTextWithDot(const String& text) {
    const char16_t decimal = FormatSettings.DecimalSeparator, thousand = FormatSettings.ThousandSeparator;
    String out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c == thousand) continue;
        out.push_back(c == decimal ? u'.' : c);
    }
    return out;
}

String RemoveBlanksOutsideQuotes(const String& text) {
    String out;
    out.reserve(text.size());
    bool quoted = false;
    for (char16_t c : text) {
        if (c == u'"') quoted = !quoted;
        if (c != u' ' || quoted) out.push_back(c);
    }
    return out;
}

int FindMatchingParen(const String& text) {
    const size_t at = MatchingParen(text);
    return at == npos ? 0 : static_cast<int>(at) + 1;
}
