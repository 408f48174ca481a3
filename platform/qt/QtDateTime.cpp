// The date-time picker's view: a widget of its own that paints the fields, the current field
// selected, the check box and the drop button or the up-down as the control lays them out.
// Qt's date-time editing is not used: keys and clicks go to the control as window messages.
#include <QPainter>
#include <QPaintEvent>
#include <QWidget>

#include "platform/qt/QtEmbedded.h"
#include "platform/qt/QtGraphicsAccess.h"
#include "platform/qt/QtServices.h"
#include "platform/ui/Graphics.h"

namespace qtb {

namespace {

QRect QRectOf(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

// One pixel of a classic edge: the top and left lines in one colour, the bottom and right in another.
void Frame(QPainter& p, const QRect& box, TColor topLeft, TColor bottomRight) {
    p.setPen(QColorOf(topLeft));
    p.drawLine(box.left(), box.bottom() - 1, box.left(), box.top());
    p.drawLine(box.left(), box.top(), box.right() - 1, box.top());
    p.setPen(QColorOf(bottomRight));
    p.drawLine(box.left(), box.bottom(), box.right(), box.bottom());
    p.drawLine(box.right(), box.bottom(), box.right(), box.top());
}

// The classic raised edge round a button (sunken while pressed), its face filled.
void DrawButton(QPainter& p, const QRect& r, bool pressed) {
    if (r.width() < 2 || r.height() < 2) return;
    p.fillRect(r, QColorOf(clBtnFace));
    if (pressed) {
        p.setPen(QColorOf(clBtnShadow));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        return;
    }
    Frame(p, r, cl3DLight, cl3DDkShadow);
    Frame(p, r.adjusted(1, 1, -1, -1), clBtnHighlight, clBtnShadow);
}

// A filled arrow head pointing down (or up) round a centre, shifted a pixel while pressed.
void DrawArrow(QPainter& p, const QRect& r, bool up, bool pressed, bool enabled) {
    int cx = r.center().x() + (pressed ? 1 : 0), cy = r.center().y() + (pressed ? 1 : 0);
    int half = std::max(1, std::min(r.width() / 5, r.height() - 5));
    int top = up ? cy + half / 2 : cy - half / 2;
    QColor c = QColorOf(enabled ? clBtnText : clGrayText);
    p.setPen(c);
    for (int row = 0; row <= half; ++row) {
        int y = up ? top - row : top + row;
        p.drawLine(cx - half + row, y, cx + half - row, y);
    }
}

class DateTimeWidget final : public QWidget {
public:
    explicit DateTimeWidget(ui::DateTimeKind kind) : Kind(kind) {
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    ui::DateTimeKind Kind;
    QString Text;
    int SelStart = 0, SelCount = 0;
    QRect Box, Button;
    int TextLeft = 2;
    bool Checked = true, Greyed = false;
    ui::DateTimePart Pressed = ui::DateTimePart::None;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QColor base = palette().color(QPalette::Base);
        if (base.alpha() > 0) p.fillRect(rect(), base);
        if (!Box.isEmpty()) PaintCheckBox(p);
        PaintText(p);
        if (!Button.isEmpty()) PaintButton(p);
    }

private:
    void PaintCheckBox(QPainter& p) {
        QRect r = Box;
        p.fillRect(r.adjusted(2, 2, -2, -2), QColorOf(isEnabled() ? clWindow : clBtnFace));
        Frame(p, r, clBtnShadow, clBtnHighlight);
        Frame(p, r.adjusted(1, 1, -1, -1), cl3DDkShadow, cl3DLight);
        if (!Checked) return;
        // The tick: three pixels thick, from the left middle down and up to the right.
        p.setPen(QColorOf(isEnabled() ? clWindowText : clGrayText));
        int x = r.left() + 3, y = r.top() + 5;
        for (int i = 0; i < 3; ++i) {
            p.drawLine(x, y + i, x + 2, y + 2 + i);
            p.drawLine(x + 2, y + 2 + i, x + 6, y - 2 + i);
        }
    }
    void PaintText(QPainter& p) {
        QFontMetrics fm(font());
        int right = Button.isEmpty() ? width() : Button.left();
        QRect area(TextLeft, 0, std::max(0, right - TextLeft), height());
        p.save();
        p.setClipRect(area);
        p.setFont(font());
        int y = (height() - fm.height()) / 2 + fm.ascent();
        QColor text = Greyed ? QColorOf(clGrayText) : palette().color(QPalette::Text);
        p.setPen(text);
        p.drawText(TextLeft, y, Text);
        if (SelCount > 0 && SelStart >= 0 && SelStart + SelCount <= Text.size()) {
            int left = TextLeft + fm.horizontalAdvance(Text.left(SelStart));
            QString field = Text.mid(SelStart, SelCount);
            QRect band(left, (height() - fm.height()) / 2, fm.horizontalAdvance(field), fm.height());
            p.fillRect(band, QColorOf(clHighlight));
            p.setPen(QColorOf(clHighlightText));
            p.drawText(left, y, field);
        }
        p.restore();
    }
    void PaintButton(QPainter& p) {
        bool enabled = isEnabled();
        if (Kind == ui::DateTimeKind::DropDown) {
            bool down = Pressed == ui::DateTimePart::Button;
            DrawButton(p, Button, down);
            DrawArrow(p, Button, false, down, enabled);
            return;
        }
        QRect upper(Button.left(), Button.top(), Button.width(), Button.height() / 2);
        QRect lower(Button.left(), upper.bottom() + 1, Button.width(), Button.height() - upper.height());
        bool upDown = Pressed == ui::DateTimePart::UpArrow, downDown = Pressed == ui::DateTimePart::DownArrow;
        DrawButton(p, upper, upDown);
        DrawArrow(p, upper, true, upDown, enabled);
        DrawButton(p, lower, downDown);
        DrawArrow(p, lower, false, downDown, enabled);
    }
};

class DateTimeView final : public ui::DateTimeView {
public:
    DateTimeView(ui::DateTimeKind kind, ui::WidgetPeer& host, TWinControl* control)
        : FWidget(new DateTimeWidget(kind), host, control, true) {}
    void SetFont(const TFont& font) override {
        FWidget.SetFont(font);
        Update();
    }
    void SetColors(int32_t background, int32_t text) override {
        FWidget.SetColors(background, text);
        Update();
    }
    void SetFrameInsets(const TRect& insets) override { FWidget.SetFrameInsets(insets); }
    void SetOwnerPainted(bool value) override { FWidget.SetOwnerPainted(value); }
    void Render(TBitmap& target) override { FWidget.Render(target); }
    bool PictureChanged() override { return FWidget.PictureChanged(); }
    // The fields take digits and letters one key at a time: there is no free text to compose in.
    void SetComposition(const String&, int) override {}
    void SetOverlay(const TBitmap& painted, const TBitmap& native, const TRect& part) override {
        FWidget.SetOverlay(painted, native, part);
    }

    void SetText(const String& text) override {
        if (auto* w = Widget()) w->Text = QString::fromStdU16String(text);
        Update();
    }
    void SetSelection(int start, int count) override {
        if (auto* w = Widget()) {
            w->SelStart = start;
            w->SelCount = count;
        }
        Update();
    }
    void SetLayout(const TRect& checkBox, int textLeft, const TRect& button) override {
        if (auto* w = Widget()) {
            w->Box = checkBox.IsEmpty() ? QRect() : QRectOf(checkBox);
            w->TextLeft = textLeft;
            w->Button = button.IsEmpty() ? QRect() : QRectOf(button);
        }
        Update();
    }
    void SetChecked(bool value) override {
        if (auto* w = Widget()) w->Checked = value;
        Update();
    }
    void SetGreyed(bool value) override {
        if (auto* w = Widget()) w->Greyed = value;
        Update();
    }
    void SetPressed(ui::DateTimePart part) override {
        if (auto* w = Widget()) w->Pressed = part;
        Update();
    }

private:
    DateTimeWidget* Widget() const { return static_cast<DateTimeWidget*>(FWidget.Inner()); }
    void Update() {
        FWidget.MarkChanged();
        if (auto* w = Widget()) w->update();
    }
    EmbeddedWidget FWidget;
};

}  // namespace

std::unique_ptr<ui::DateTimeView> MakeDateTimeView(ui::DateTimeKind kind, ui::WidgetPeer& host, TWinControl* control) {
    return std::make_unique<DateTimeView>(kind, host, control);
}

}  // namespace qtb
