// The month calendar, drawn by the library with its canvas, so that it looks and measures the
// same headless and on a desktop.
#include <algorithm>
#include <cmath>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/ComCtrlsDateTime.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Modules.h"
#include "platform/ui/WinUser.h"

namespace {

constexpr int kRows = 6;

// The ISO week of the row that starts with `first`: the week of its Thursday.
int WeekOfRow(TDateTime first) {
    TDateTime thursday = first + ((4 - DayOfTheWeek(first)) % 7 + 7) % 7;
    int year = YearOf(thursday);
    return static_cast<int>(std::floor(thursday - EncodeDate(year, 1, 1))) / 7 + 1;
}

}  // namespace

TMonthCalendar::TMonthCalendar(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle = TControlStyle() << csCaptureMouse << csClickEvents << csOpaque << csDoubleClicks;
    SetColor(clWindow);
    SetTabStop(true);
    FDate = ::DateOf(::Date());
    TSize size = MinRequiredSize();
    SetBounds(0, 0, size.cx, size.cy);
}

void TMonthCalendar::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style |= FStyleBits;
}

bool TMonthCalendar::HasStyle(DWORD bit) const { return ((HandleAllocated() ? WindowStyle() : FStyleBits) & bit) != 0; }

void TMonthCalendar::SetStyle(DWORD bit, bool on) {
    FStyleBits = on ? (FStyleBits | bit) : (FStyleBits & ~bit);
    if (HandleAllocated()) SetWindowLong(Handle(), GWL_STYLE, static_cast<LONG>(on ? (WindowStyle() | bit) : (WindowStyle() & ~bit)));
    Invalidate();
}

int TMonthCalendar::FirstDayOfWeek() const {
    // The locale answers 0 for Monday .. 6 for Sunday; here 0 is Sunday, as DayOfWeek - 1.
    char16_t buf[4] = {};
    if (GetLocaleInfoEx(nullptr, LOCALE_IFIRSTDAYOFWEEK, buf, 4) < 2 || buf[0] < u'0' || buf[0] > u'6') return 0;
    return (buf[0] - u'0' + 1) % 7;
}

TDateTime TMonthCalendar::Held(TDateTime day) const {
    day = ::DateOf(day);
    if (FMinDate != 0 && day < ::DateOf(FMinDate)) day = ::DateOf(FMinDate);
    if (FMaxDate != 0 && day > ::DateOf(FMaxDate)) day = ::DateOf(FMaxDate);
    return day;
}

void TMonthCalendar::SetDate(TDateTime value) {
    FDate = Held(value);
    Invalidate();
}

void TMonthCalendar::SetMinDate(TDateTime value) {
    if (value != 0 && FMaxDate != 0 && ::DateOf(value) > ::DateOf(FMaxDate))
        throw EDateTimeError(String("MinDate ") + DateToStr(value) + String(" is later than MaxDate ") + DateToStr(FMaxDate));
    FMinDate = value;
    SetDate(FDate);
}

void TMonthCalendar::SetMaxDate(TDateTime value) {
    if (value != 0 && FMinDate != 0 && ::DateOf(value) < ::DateOf(FMinDate))
        throw EDateTimeError(String("MinDate ") + DateToStr(FMinDate) + String(" is later than MaxDate ") + DateToStr(value));
    FMaxDate = value;
    SetDate(FDate);
}

void TMonthCalendar::Move(TDateTime day) { SetDate(day); }

TMonthCalendar::Metrics TMonthCalendar::Measure() {
    TBitmap scratch(1, 1);
    TCanvas* c = scratch.Canvas();
    c->Font()->Assign(Font());
    Metrics m;
    int text = c->TextHeight(String(u"0"));
    int widest = c->TextWidth(String(u"00"));
    for (const String& name : FormatSettings.ShortDayNames) widest = std::max(widest, c->TextWidth(name));
    m.Cell = widest + 6;
    m.Row = text + 4;
    m.Title = m.Row + 8;
    m.Names = m.Row + 2;
    m.Weeks = WeekNumbers() ? m.Cell : 0;
    m.Today = ShowToday() ? m.Row + 4 : 0;
    int width = 2 * m.Margin + m.Weeks + 7 * m.Cell;
    // Room for the title between its buttons and for today's line.
    int titleWidth = 0;
    for (const String& month : FormatSettings.LongMonthNames) titleWidth = std::max(titleWidth, c->TextWidth(month + String(u" 0000")));
    width = std::max(width, titleWidth + 2 * (m.Row + 2 * m.Margin));
    if (ShowToday()) width = std::max(width, c->TextWidth(String(u"Today: ") + DateToStr(::Date())) + 2 * m.Margin + m.Row + 8);
    m.Size = TSize{width, m.Margin + m.Title + m.Names + kRows * m.Row + m.Today + m.Margin};
    return m;
}

TSize TMonthCalendar::MinRequiredSize() { return Measure().Size; }

TDateTime TMonthCalendar::FirstShown() const {
    WORD y = 0, m = 0, d = 0;
    DecodeDate(FDate, y, m, d);
    TDateTime first = EncodeDate(y, m, 1);
    int offset = ((DayOfWeek(first) - 1) - FirstDayOfWeek() + 7) % 7;
    return first - offset;
}

TRect TMonthCalendar::PrevButtonRect() {
    Metrics m = Measure();
    int side = m.Row;
    int top = m.Margin + (m.Title - side) / 2;
    return Bounds(m.Margin, top, side, side);
}

TRect TMonthCalendar::NextButtonRect() {
    Metrics m = Measure();
    int side = m.Row;
    int top = m.Margin + (m.Title - side) / 2;
    return Bounds(ClientWidth() - m.Margin - side, top, side, side);
}

TRect TMonthCalendar::DayRect(TDateTime day) {
    Metrics m = Measure();
    int index = static_cast<int>(std::floor(::DateOf(day) - FirstShown()));
    if (index < 0 || index >= 7 * kRows) return TRect();
    int left = m.Margin + m.Weeks + (index % 7) * m.Cell;
    int top = m.Margin + m.Title + m.Names + (index / 7) * m.Row;
    return Bounds(left, top, m.Cell, m.Row);
}

TDateTime TMonthCalendar::DayAtPos(int x, int y) {
    Metrics m = Measure();
    int left = m.Margin + m.Weeks, top = m.Margin + m.Title + m.Names;
    if (x < left || y < top || x >= left + 7 * m.Cell || y >= top + kRows * m.Row) return 0;
    int index = (y - top) / m.Row * 7 + (x - left) / m.Cell;
    return FirstShown() + index;
}

void TMonthCalendar::Paint() {
    Metrics m = Measure();
    TCanvas* c = Canvas();
    TRect client = ClientRect();
    c->Font()->Assign(Font());
    c->Brush()->SetColor(Color());
    c->FillRect(client);
    c->Brush()->SetStyle(bsClear);

    // The title band: month and year between the previous and next buttons.
    TRect band(0, 0, client.Right, m.Margin + m.Title);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clActiveCaption);
    c->FillRect(band);
    WORD y = 0, mo = 0, d = 0;
    DecodeDate(FDate, y, mo, d);
    String title = FormatSettings.LongMonthNames[static_cast<size_t>(mo - 1)] + String(u" ") + IntToStr(y);
    c->Font()->SetColor(clCaptionText);
    c->Font()->SetStyle(TFontStyles() << fsBold);
    TRect titleRect = band;
    DrawText(c->Handle(), title, -1, &titleRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    c->Font()->Assign(Font());
    for (int side = 0; side < 2; ++side) {
        TRect r = side == 0 ? PrevButtonRect() : NextButtonRect();
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(r);
        TRect edge = r;
        DrawEdge(c->Handle(), &edge, EDGE_RAISED, BF_RECT);
        int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2, h = std::max(2, r.Height() / 4);
        c->Pen()->SetColor(clBtnText);
        c->Brush()->SetColor(clBtnText);
        if (side == 0) c->Polygon({TPoint(cx - h / 2 - 1, cy), TPoint(cx + h / 2, cy - h), TPoint(cx + h / 2, cy + h)});
        else c->Polygon({TPoint(cx + h / 2 + 1, cy), TPoint(cx - h / 2, cy - h), TPoint(cx - h / 2, cy + h)});
    }

    // Weekday names from the locale's first day, a line under them.
    c->Brush()->SetStyle(bsClear);
    int namesTop = m.Margin + m.Title, daysLeft = m.Margin + m.Weeks;
    c->Font()->SetColor(clHighlight);
    int first = FirstDayOfWeek();
    for (int i = 0; i < 7; ++i) {
        TRect r = Bounds(daysLeft + i * m.Cell, namesTop, m.Cell, m.Row);
        DrawText(c->Handle(), FormatSettings.ShortDayNames[static_cast<size_t>((first + i) % 7)], -1, &r,
                 DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    c->Pen()->SetColor(clGrayText);
    int lineY = namesTop + m.Row;
    c->MoveTo(daysLeft, lineY);
    c->LineTo(daysLeft + 7 * m.Cell, lineY);

    // The days: the neighbouring months' and those out of range grey, the selected one
    // highlighted, today circled.
    TDateTime start = FirstShown(), today = ::DateOf(::Date());
    for (int i = 0; i < 7 * kRows; ++i) {
        TDateTime day = start + i;
        TRect r = DayRect(day);
        bool inMonth = MonthOf(day) == mo;
        bool inRange = Held(day) == day;
        bool selected = day == FDate;
        if (selected) {
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(clHighlight);
            c->FillRect(r);
            c->Brush()->SetStyle(bsClear);
        }
        c->Font()->SetColor(selected ? clHighlightText : inMonth && inRange ? Font()->Color() : clGrayText);
        TRect text = r;
        DrawText(c->Handle(), IntToStr(DayOf(day)), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (day == today && ShowTodayCircle()) {
            c->Pen()->SetColor(clRed);
            c->Brush()->SetStyle(bsClear);
            c->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
        }
    }
    if (m.Weeks > 0) {
        c->Font()->SetColor(clGrayText);
        for (int row = 0; row < kRows; ++row) {
            TRect r = Bounds(m.Margin, namesTop + m.Names + row * m.Row, m.Weeks, m.Row);
            DrawText(c->Handle(), IntToStr(WeekOfRow(start + row * 7)), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
        c->Pen()->SetColor(clGrayText);
        c->MoveTo(m.Margin + m.Weeks - 1, namesTop + m.Names);
        c->LineTo(m.Margin + m.Weeks - 1, namesTop + m.Names + kRows * m.Row);
    }
    if (ShowToday()) {
        int top = namesTop + m.Names + kRows * m.Row + 2;
        TRect mark = Bounds(m.Margin + 2, top + 2, m.Row + 4, m.Row);
        if (ShowTodayCircle()) {
            c->Pen()->SetColor(clRed);
            c->Rectangle(mark.Left, mark.Top, mark.Right, mark.Bottom);
        }
        c->Font()->SetColor(Font()->Color());
        c->Font()->SetStyle(TFontStyles() << fsBold);
        TRect r(mark.Right + 4, top, client.Right - m.Margin, top + m.Row + 2);
        DrawText(c->Handle(), String(u"Today: ") + DateToStr(today), -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        c->Font()->Assign(Font());
    }
}

void TMonthCalendar::DayPicked(TDateTime day) {
    SetDate(day);
    if (OnClick) OnClick(this);
}

void TMonthCalendar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    if (!FDroppedBy && !Focused() && CanFocus()) SetFocus();
    Press(X, Y);
}

void TMonthCalendar::Press(int X, int Y) {
    TPoint p(X, Y);
    if (PrevButtonRect().Contains(p)) {
        Move(IncMonth(FDate, -1));
        return;
    }
    if (NextButtonRect().Contains(p)) {
        Move(IncMonth(FDate, 1));
        return;
    }
    Metrics m = Measure();
    if (ShowToday() && Y >= m.Margin + m.Title + m.Names + kRows * m.Row && Y < m.Size.cy) {
        TDateTime today = ::DateOf(::Date());
        if (Held(today) == today) DayPicked(today);
        return;
    }
    TDateTime day = DayAtPos(X, Y);
    if (day != 0 && Held(day) == day) DayPicked(day);
}

void TMonthCalendar::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case MCM_GETCURSEL: case MCM_SETCURSEL: case MCM_GETMINREQRECT: DefaultHandler(Message); break;
        default: TCustomControl::Dispatch(Message); break;
    }
}

void TMonthCalendar::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
        case MCM_GETCURSEL: {
            auto* st = reinterpret_cast<SYSTEMTIME*>(Message.LParam);
            if (!st) {
                Message.Result = 0;
                return;
            }
            *st = ui::datetime::SystemTimeOf(FDate);
            Message.Result = 1;
            return;
        }
        case MCM_SETCURSEL: {
            const auto* st = reinterpret_cast<const SYSTEMTIME*>(Message.LParam);
            TDateTime day = 0;
            if (!st || !TryEncodeDate(st->wYear, st->wMonth, st->wDay, day) || Held(day) != day) {
                Message.Result = 0;
                return;
            }
            SetDate(day);
            Message.Result = 1;
            return;
        }
        case MCM_GETMINREQRECT: {
            auto* r = reinterpret_cast<TRect*>(Message.LParam);
            if (!r) {
                Message.Result = 0;
                return;
            }
            TSize size = MinRequiredSize();
            *r = TRect(0, 0, size.cx, size.cy);
            Message.Result = 1;
            return;
        }
        case WM_KEYDOWN: {
            switch (Message.WParam) {
                case VK_LEFT: Move(FDate - 1); return;
                case VK_RIGHT: Move(FDate + 1); return;
                case VK_UP: Move(FDate - 7); return;
                case VK_DOWN: Move(FDate + 7); return;
                case VK_PRIOR: Move(IncMonth(FDate, -1)); return;
                case VK_NEXT: Move(IncMonth(FDate, 1)); return;
                case VK_HOME: Move(FDate - (DayOf(FDate) - 1)); return;
                case VK_END: Move(FDate + (DaysInMonth(FDate) - DayOf(FDate))); return;
                default: break;
            }
            break;
        }
        default: break;
    }
    TCustomControl::DefaultHandler(Message);
}
