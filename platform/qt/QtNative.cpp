// Native views: the Qt widget of an edit, memo, list, combo box, button, slider, label or group
// box, placed inside the control's own widget. The view only shows the control's state; input on it is
// turned into the control's messages (as the control's own widget does), except where Qt must
// run the interaction itself (an open drop-down list, a slider's thumb).
#include <algorithm>
#include <functional>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QStylePainter>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QResizeEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTextBlock>
#include <QTextDocument>

#include "platform/qt/QtEmbedded.h"
#include "platform/qt/QtGraphicsAccess.h"
#include "platform/qt/QtInput.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/QtWindow.h"
#include "platform/ui/StdCtrls.h"
#include "platform/win/Window.h"

namespace qtb {

namespace {

QString Q(const String& s) { return QString::fromStdU16String(s); }

QColor ColorOf(int32_t color) { return qtb::QColorOf(color); }

// Notes that a widget may look otherwise: any event but a paint (input, focus, a caret's or an
// animation's timer, a change of palette, font, size or state) outside the view's own rendering.
class ChangeWatch final : public QObject {
public:
    ChangeWatch(bool& changed, const bool& rendering) : FChanged(changed), FRendering(rendering) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (!FRendering && e->type() != QEvent::Paint) FChanged = true;
        return false;
    }

private:
    bool& FChanged;
    const bool& FRendering;
};

// Calls back when the control's widget is resized, so the native widget keeps filling its
// client area.
class Filler final : public QObject {
public:
    explicit Filler(std::function<void()> place) : FPlace(std::move(place)) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Resize) FPlace();
        return false;
    }

private:
    std::function<void()> FPlace;
};

[[noreturn]] void Unsupported(const char* call, const char* kind) { throw ui::ENativeViewUnsupported(call, kind); }

// What every view does with its widget: placed inside the control's own widget and filling it,
// its input taken by the control's input road, drawn for the control, and overlaid with what
// the control paints over it.
class Embedded {
public:
    Embedded(QWidget* inner, ui::WidgetPeer& host, TWinControl* control, bool forwardMouse)
        : Inner(inner), Host(static_cast<WidgetPeer&>(host).Widget()) {
        // Input on the native widget and its inner widgets takes the same road as input on the
        // control's own widget, and Qt does not act on it.
        FInput = new InputTranslator(control, Host, forwardMouse);
        FInput->setParent(inner);
        inner->setParent(Host);
        inner->setGeometry(Host->rect());
        // The filler goes with the inner widget, which goes no later than this object.
        auto* filler = new Filler([this] { Place(); });
        filler->setParent(inner);
        Host->installEventFilter(filler);
        Host->setFocusProxy(inner);
        inner->lower();  // the control's child windows show above it
        inner->show();
        FWatch = new ChangeWatch(FChanged, FRendering);
        FWatch->setParent(inner);
        WatchChildren();
    }
    ~Embedded() {
        if (FInput) FInput->Detach();
        if (Host) Host->setFocusProxy(nullptr);
        delete FOverlay.data();
        delete Inner.data();
    }
    Embedded(const Embedded&) = delete;
    Embedded& operator=(const Embedded&) = delete;
    // Inner widgets (a combo box's line edit, a text view's viewport) send their input too. A
    // window of the widget's own (a combo box's drop-down list) is Qt's to run: its clicks
    // choose, its pointer highlights, its keys move and close it.
    void WatchChildren() {
        if (!Inner) return;
        FChanged = true;
        Inner->installEventFilter(FInput);
        Inner->installEventFilter(FWatch);
        for (QWidget* w : Inner->findChildren<QWidget*>()) {
            if (w->window() != Inner->window()) {
                w->removeEventFilter(FInput);
                continue;
            }
            w->installEventFilter(FInput);
            w->installEventFilter(FWatch);
            if (w->focusPolicy() != Qt::NoFocus) w->setFocusProxy(nullptr);
        }
    }
    void SetFont(const TFont& font) {
        if (Inner) Inner->setFont(qtb::QFontOf(font));
    }
    // The widget and what is drawn over it fill the client area: the control's widget less the
    // window's frame.
    void SetFrameInsets(const TRect& insets) {
        FInsets = insets;
        Place();
    }
    void Place() {
        if (!Inner || !Host) return;
        QRect area = Host->rect().adjusted(FInsets.Left, FInsets.Top, -FInsets.Right, -FInsets.Bottom);
        if (area.width() < 0) area.setWidth(0);
        if (area.height() < 0) area.setHeight(0);
        Inner->setGeometry(area);
        if (FOverlay) FOverlay->setGeometry(area);
    }
    void SetOwnerPainted(bool value) {
        if (!Inner) return;
        // Hidden, the widget keeps its geometry and state and can still be rendered.
        Inner->setVisible(!value);
        if (Host) Host->setFocusProxy(value ? nullptr : Inner.data());
    }
    // On the screen the widget is drawn over the control's window, which shows where the widget
    // paints nothing; the picture is made the same way, over what the target holds.
    void Render(TBitmap& target) {
        if (!Inner || target.Width() <= 0 || target.Height() <= 0) return;
        QImage img = qtb::ToRgb32(target);
        FRendering = true;
        Inner->render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
        FRendering = false;
        FChanged = false;
        qtb::SetImage(target, img);
    }
    // A change the view makes in a widget of its own drawing, which posts no event of its own.
    void MarkChanged() { FChanged = true; }
    // A background that lets what lies under the widget show may change with it.
    bool PictureChanged() const {
        return FChanged || !Inner || Inner->palette().color(QPalette::Base).alpha() < 255;
    }
    // The base and text colours of a widget's palette (and of the widgets that share it); no
    // background (clNone) lets the window under the widget show through.
    static void SetColors(QWidget* w, int32_t background, int32_t text) {
        if (!w) return;
        QPalette pal = w->palette();
        pal.setColor(QPalette::Base, background == clNone ? QColor(Qt::transparent) : ColorOf(background));
        pal.setColor(QPalette::Text, ColorOf(text));
        if (pal == w->palette()) return;
        w->setPalette(pal);
    }
    // The input method's composition, shown by target (a widget of this view that shows text).
    void SetComposition(QWidget* target, const String& text, int cursor) {
        if (FInput && target) FInput->ShowComposition(target, Q(text), cursor);
    }
    void SetOverlay(const TBitmap& painted, const TBitmap& native, const TRect& part) {
        if (!Host) return;
        int w = std::min(painted.Width(), native.Width()), h = std::min(painted.Height(), native.Height());
        QRect r = QRect(part.Left, part.Top, part.Width(), part.Height()) & QRect(0, 0, w, h);
        if (FPicture.size() != QSize(w, h)) {
            FPicture = QImage(std::max(1, w), std::max(1, h), QImage::Format_ARGB32_Premultiplied);
            FPicture.fill(Qt::transparent);
            FShown = 0;
            r = QRect(0, 0, w, h) & QRect(part.Left, part.Top, part.Width(), part.Height());
        }
        if (r.isEmpty()) return;
        FShown -= Opaque(r);
        if (&painted == &native) {
            for (int y = r.top(); y <= r.bottom(); ++y)
                std::fill_n(reinterpret_cast<QRgb*>(FPicture.scanLine(y)) + r.left(), r.width(), QRgb(0));
        } else {
            FShown += Differences(qtb::ToRgb32(painted), qtb::ToRgb32(native), r);
        }
        if (FShown == 0) {
            if (FOverlay) FOverlay->hide();
            return;
        }
        if (!FOverlay) FOverlay = new Overlay(Host);
        FOverlay->Picture = &FPicture;
        FOverlay->setGeometry(Inner ? Inner->geometry() : Host->rect());
        FOverlay->raise();
        FOverlay->show();
        FOverlay->update(r);
    }

    QPointer<QWidget> Inner;
    QPointer<QWidget> Host;

private:
    // Shows what the control drew over the widget, above it; the pointer goes through it.
    class Overlay final : public QWidget {
    public:
        explicit Overlay(QWidget* host) : QWidget(host) {
            setAttribute(Qt::WA_TransparentForMouseEvents);
            setAttribute(Qt::WA_NoSystemBackground);
            setFocusPolicy(Qt::NoFocus);
        }
        const QImage* Picture = nullptr;  // the view's, which outlives its overlay

    protected:
        void paintEvent(QPaintEvent* e) override {
            if (!Picture) return;
            QPainter p(this);
            p.drawImage(e->rect(), *Picture, e->rect());
        }
    };
    // Inside r: the pixels of painted that differ from native, opaque, the rest transparent;
    // answers how many show.
    int Differences(const QImage& painted, const QImage& native, const QRect& r) {
        int shown = 0;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto* a = reinterpret_cast<const QRgb*>(painted.constScanLine(y));
            auto* b = reinterpret_cast<const QRgb*>(native.constScanLine(y));
            auto* o = reinterpret_cast<QRgb*>(FPicture.scanLine(y));
            for (int x = r.left(); x <= r.right(); ++x) {
                bool differs = (a[x] & 0xFFFFFF) != (b[x] & 0xFFFFFF);
                o[x] = differs ? a[x] | 0xFF000000u : 0;
                shown += differs;
            }
        }
        return shown;
    }
    int Opaque(const QRect& r) const {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto* o = reinterpret_cast<const QRgb*>(FPicture.constScanLine(y));
            for (int x = r.left(); x <= r.right(); ++x) n += o[x] != 0;
        }
        return n;
    }

    // What shows over the widget, and how many of its pixels do.
    QImage FPicture;
    int FShown = 0;
    QPointer<Overlay> FOverlay;
    QPointer<ChangeWatch> FWatch;
    bool FChanged = true;
    bool FRendering = false;
    QPointer<InputTranslator> FInput;
    TRect FInsets;
};

// A view of one family (ui::TextView, ui::ListView...) over its embedded widget W.
template <class Family, class W>
class ViewBase : public Family {
public:
    ViewBase(W* inner, ui::WidgetPeer& host, TWinControl* control, bool forwardMouse)
        : FWidget(inner, host, control, forwardMouse) {}
    void SetFont(const TFont& font) override { FWidget.SetFont(font); }
    void SetColors(int32_t background, int32_t text) override { Embedded::SetColors(FWidget.Inner, background, text); }
    void SetFrameInsets(const TRect& insets) override { FWidget.SetFrameInsets(insets); }
    void SetOwnerPainted(bool value) override { FWidget.SetOwnerPainted(value); }
    void Render(TBitmap& target) override { FWidget.Render(target); }
    bool PictureChanged() override { return FWidget.PictureChanged(); }
    void SetComposition(const String& text, int cursor) override { FWidget.SetComposition(CompositionTarget(), text, cursor); }
    void SetOverlay(const TBitmap& painted, const TBitmap& native, const TRect& part) override {
        FWidget.SetOverlay(painted, native, part);
    }

protected:
    // The widget that shows an input method's composition; nullptr: the view has no text.
    virtual QWidget* CompositionTarget() { return nullptr; }
    W* Widget() const { return static_cast<W*>(FWidget.Inner.data()); }
    QWidget* Host() const { return FWidget.Host.data(); }
    Embedded FWidget;
};

// ---- text: single-line edit ----

class LineEdit final : public QLineEdit {
public:
    using QLineEdit::cursorRect;
    using QLineEdit::QLineEdit;
};

Qt::Alignment AlignmentOf(TAlignment a) {
    return a == taRightJustify ? Qt::AlignRight : a == taCenter ? Qt::AlignHCenter : Qt::AlignLeft;
}

constexpr const char* kSingleLine = "single-line text";
constexpr const char* kMultiLine = "multi-line text";

class EditView final : public ViewBase<ui::TextView, LineEdit> {
public:
    // The frame is the window's, outside the widget.
    EditView(ui::WidgetPeer& host, TWinControl* control) : ViewBase(new LineEdit, host, control, true) { Widget()->setFrame(false); }
    void SetText(const String& text) override {
        QSignalBlocker b(Widget());
        Widget()->setText(Q(text));
    }
    void Replace(int start, int count, const String& text) override {
        QString t = Widget()->text();
        t.replace(start, count, Q(text));
        QSignalBlocker b(Widget());
        Widget()->setText(t);
    }
    void SetSelection(int anchor, int caret) override {
        QSignalBlocker b(Widget());
        if (anchor == caret) {
            Widget()->deselect();
            Widget()->setCursorPosition(caret);
        } else {
            Widget()->setSelection(anchor, caret - anchor);
        }
    }
    void SetReadOnly(bool value) override { Widget()->setReadOnly(value); }
    void SetAlignment(TAlignment value) override { Widget()->setAlignment(AlignmentOf(value) | Qt::AlignVCenter); }
    void SetTextMargins(const TRect& m) override { Widget()->setTextMargins(m.Left, m.Top, m.Right, m.Bottom); }
    int CharFromPos(int x, int y) override {
        (void)y;
        return Widget()->cursorPositionAt(QPoint(x, Widget()->height() / 2));
    }
    TPoint PosFromChar(int index) override {
        LineEdit* w = Widget();
        QSignalBlocker b(w);
        int oldPos = w->cursorPosition();
        bool had = w->hasSelectedText();
        int selStart = w->selectionStart(), selLen = static_cast<int>(w->selectedText().size());
        w->setCursorPosition(index);
        QRect r = w->cursorRect();
        if (had) {
            if (oldPos == selStart) w->setSelection(selStart + selLen, -selLen);
            else w->setSelection(selStart, selLen);
        } else {
            w->setCursorPosition(oldPos);
        }
        return TPoint(r.left() + r.width() / 2, r.top());
    }
    // A line edit scrolls its text to keep the cursor in view on every move.
    void EnsureCaretVisible() override {}
    void SetPasswordChar(char16_t ch) override { Widget()->setEchoMode(ch ? QLineEdit::Password : QLineEdit::Normal); }
    void SetWordWrap(bool) override { Unsupported("TextView::SetWordWrap", kSingleLine); }
    void SetScrollBars(TScrollStyle) override { Unsupported("TextView::SetScrollBars", kSingleLine); }

protected:
    QWidget* CompositionTarget() override { return Widget(); }
};

// ---- text: multi-line edit ----

QString Collapse(const String& s) {
    QString t = Q(s);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

class MemoView final : public ViewBase<ui::TextView, QPlainTextEdit> {
public:
    MemoView(ui::WidgetPeer& host, TWinControl* control) : ViewBase(MakeEdit(), host, control, true) {}
    static QPlainTextEdit* MakeEdit() {
        auto* e = new QPlainTextEdit;
        e->setUndoRedoEnabled(false);  // the control keeps its own undo
        e->setFrameShape(QFrame::NoFrame);  // the frame is the window's
        return e;
    }
    void SetText(const String& text) override {
        QSignalBlocker b(Widget());
        Widget()->setPlainText(Collapse(text));
    }
    void Replace(int start, int count, const String& text) override {
        QSignalBlocker b(Widget());
        QTextCursor c(Widget()->document());
        c.setPosition(start);
        c.setPosition(start + count, QTextCursor::KeepAnchor);
        c.insertText(Collapse(text));
    }
    void SetSelection(int anchor, int caret) override {
        QSignalBlocker b(Widget());
        QTextCursor c(Widget()->document());
        c.setPosition(anchor);
        c.setPosition(caret, QTextCursor::KeepAnchor);
        Widget()->setTextCursor(c);
    }
    void EnsureCaretVisible() override { Widget()->ensureCursorVisible(); }
    void SetAlignment(TAlignment value) override {
        QTextOption option = Widget()->document()->defaultTextOption();
        option.setAlignment(AlignmentOf(value));
        Widget()->document()->setDefaultTextOption(option);
    }
    void SetReadOnly(bool value) override {
        Widget()->setReadOnly(value);
        Widget()->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard | (value ? Qt::NoTextInteraction : Qt::TextEditable));
    }
    void SetWordWrap(bool value) override { Widget()->setLineWrapMode(value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap); }
    void SetScrollBars(TScrollStyle bars) override {
        bool horizontal = bars == ssHorizontal || bars == ssBoth, vertical = bars == ssVertical || bars == ssBoth;
        Widget()->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        Widget()->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    }
    void SetTextMargins(const TRect& m) override {
        constexpr int kOwnMargin = 4;  // the document's margin as Qt makes it
        Widget()->document()->setDocumentMargin(m == TRect() ? kOwnMargin : std::max(0, m.Left));
    }
    void SetColors(int32_t background, int32_t text) override {
        // The viewport paints the text area with a palette of its own.
        Embedded::SetColors(Widget(), background, text);
        Embedded::SetColors(Widget()->viewport(), background, text);
    }
    int CharFromPos(int x, int y) override {
        QPoint p = Widget()->viewport()->mapFrom(Host(), QPoint(x, y));
        return Widget()->cursorForPosition(p).position();
    }
    TPoint PosFromChar(int index) override {
        QTextCursor c(Widget()->document());
        c.setPosition(std::clamp(index, 0, Widget()->document()->characterCount() - 1));
        QRect r = Widget()->cursorRect(c);
        QPoint p = Widget()->viewport()->mapTo(Host(), r.topLeft());
        return TPoint(p.x(), p.y());
    }
    // The platform's memo shows its text as it is.
    void SetPasswordChar(char16_t) override { Unsupported("TextView::SetPasswordChar", kMultiLine); }

protected:
    QWidget* CompositionTarget() override { return Widget(); }
};

// ---- owner-drawn items ----

// Asks the control to draw each item (and, for variable heights, to measure it).
class OwnerDrawDelegate final : public QStyledItemDelegate {
public:
    OwnerDrawDelegate(ui::ListSink& sink, QWidget* viewport, bool variable, QObject* parent)
        : QStyledItemDelegate(parent), FSink(sink), FViewport(viewport), FVariable(variable) {}
    int FixedHeight = 0;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QWidget* area = FViewport ? FViewport.data() : nullptr;
        QSize size = area ? area->size() : option.rect.size();
        TBitmap target(std::max(1, size.width()), std::max(1, std::max(size.height(), option.rect.bottom() + 1)));
        TOwnerDrawState state;
        if (option.state & QStyle::State_Selected) state << odSelected;
        if (!(option.state & QStyle::State_Enabled)) state << odDisabled;
        if (option.state & QStyle::State_HasFocus) state << odFocused;
        QRect r = option.rect;
        TRect rect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
        if (!FSink.DrawListItem(index.row(), rect, state, target)) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const QImage& img = qtb::ImageOf(target);
        painter->drawImage(r, img, r);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize base = QStyledItemDelegate::sizeHint(option, index);
        if (FVariable) {
            int h = FSink.MeasureListItem(index.row());
            if (h > 0) return QSize(base.width(), h);
        }
        if (FixedHeight > 0) return QSize(base.width(), FixedHeight);
        return base;
    }

private:
    ui::ListSink& FSink;
    QPointer<QWidget> FViewport;
    bool FVariable;
};

// ---- list: combo box ----

constexpr const char* kComboBox = "combo box";

// The release of the press that opened a combo box's list. Qt's list closes at a release outside
// it; when Qt opens the list on its own press it ignores that first release, but here the control
// opens it on its message, so the release outside the list is taken here and the list stays open.
// A release over the list goes on to it: press, drag to an item and release chooses the item.
class OpeningRelease final : public QObject {
public:
    explicit OpeningRelease(QAbstractItemView* view) : QObject(view->window()), FView(view) { view->window()->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Hide) {
            deleteLater();
            return false;
        }
        if (e->type() != QEvent::MouseButtonRelease || FDone) return false;
        FDone = true;
        deleteLater();
        auto* m = static_cast<QMouseEvent*>(e);
        if (!FView) return false;
        QRect list(FView->viewport()->mapToGlobal(QPoint(0, 0)), FView->viewport()->size());
        return !list.contains(m->globalPosition().toPoint());
    }

private:
    QPointer<QAbstractItemView> FView;
    bool FDone = false;
};

class Combo final : public QComboBox {
public:
    explicit Combo(ui::ListSink& sink) : Sink(sink) {}
    ui::ListSink& Sink;
    bool Programmatic = false;
    void hidePopup() override {
        bool wasShown = view() && view()->isVisible();
        QComboBox::hidePopup();
        if (wasShown && !Programmatic) Sink.ListClosedUp();
    }
    // The simple style shows the edit field over the whole widget and no button.
    bool Simple = false;
    void FitSimple() {
        if (Simple && lineEdit()) lineEdit()->setGeometry(rect());
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        if (Simple) {
            QPainter p(this);
            p.fillRect(rect(), palette().brush(QPalette::Base));
            return;
        }
        if (isEditable()) {
            QComboBox::paintEvent(e);
            return;
        }
        // A drop-down list shows its item in a field of the control's colours beside the button,
        // as the platform's does, not on a push button's face: its colours (a disabled box's
        // grey text on the button face) are the ones the control gives.
        QStylePainter p(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.editable = true;
        option.currentText.clear();
        p.drawComplexControl(QStyle::CC_ComboBox, option);
        QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
        bool selected = hasFocus() && !(view() && view()->isVisible());
        p.fillRect(field, palette().brush(selected ? QPalette::Highlight : QPalette::Base));
        p.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
        QRect text = field.adjusted(2, 0, -2, 0);
        p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, fontMetrics().elidedText(currentText(), Qt::ElideRight, text.width()));
    }
    void resizeEvent(QResizeEvent* e) override {
        QComboBox::resizeEvent(e);
        FitSimple();
    }
};

// Qt chooses the first item added to an empty combo box and changes the edit field with the
// chosen item; the control decides both, so they are put back. Only what Qt changed is put back:
// setting the field's text again would move its caret and end a composition in it.
class KeepChoice {
public:
    explicit KeepChoice(QComboBox* w) : FWidget(w), FBlock(w), FNone(w->currentIndex() < 0) {
        if (QLineEdit* e = w->lineEdit()) {
            FText = e->text();
            FCursor = e->cursorPosition();
        }
    }
    ~KeepChoice() {
        if (FNone && FWidget->currentIndex() >= 0) FWidget->setCurrentIndex(-1);
        QLineEdit* e = FWidget->lineEdit();
        if (!e || e->text() == FText) return;
        e->setText(FText);
        e->setCursorPosition(FCursor);
    }
    KeepChoice(const KeepChoice&) = delete;
    KeepChoice& operator=(const KeepChoice&) = delete;

private:
    QComboBox* FWidget;
    QSignalBlocker FBlock;
    bool FNone;
    QString FText;
    int FCursor = 0;
};

class ComboView final : public ViewBase<ui::ListView, Combo> {
public:
    ComboView(ui::WidgetPeer& host, TWinControl* control, ui::ListSink& sink)
        : ViewBase(new Combo(sink), host, control, true), FControl(control) {
        Widget()->setInsertPolicy(QComboBox::NoInsert);
        Widget()->setFrame(false);  // the frame is the window's
        QObject::connect(Widget(), &QComboBox::activated, Widget(), [this](int index) {
            if (!Widget()->Programmatic) Widget()->Sink.ListItemPicked(index);
        });
    }
    void SetItems(const std::vector<String>& items) override {
        Combo* w = Widget();
        QSignalBlocker b(w);
        QString text = w->isEditable() ? w->lineEdit()->text() : QString();
        w->clear();
        for (const String& s : items) w->addItem(Q(s));
        w->setCurrentIndex(-1);
        if (w->isEditable()) w->lineEdit()->setText(text);
    }
    // One item changes; the chosen item and the edit field's text are the control's to set.
    void InsertItem(int index, const String& text) override {
        KeepChoice keep(Widget());
        Widget()->insertItem(index, Q(text));
    }
    void DeleteItem(int index) override {
        KeepChoice keep(Widget());
        Widget()->removeItem(index);
    }
    void SetItemText(int index, const String& text) override {
        KeepChoice keep(Widget());
        Widget()->setItemText(index, Q(text));
    }
    void SetItemIndex(int index) override {
        Combo* w = Widget();
        QSignalBlocker b(w);
        QString text = w->isEditable() ? w->lineEdit()->text() : QString();
        w->setCurrentIndex(index);
        if (w->isEditable()) w->lineEdit()->setText(text);  // the control sets the text itself
    }
    void SetOwnerDrawItems(bool ownerDraw, bool variable) override {
        if (ownerDraw == FOwnerDraw && variable == FVariable) return;
        FOwnerDraw = ownerDraw;
        FVariable = variable;
        Combo* w = Widget();
        if (ownerDraw) w->setItemDelegate(new OwnerDrawDelegate(w->Sink, w->view()->viewport(), variable, w));
        else w->setItemDelegate(new QStyledItemDelegate(w));
    }
    // Set whenever the control shows its state again, after a change of style too.
    void SetEditable(bool value) override {
        if (Widget()->isEditable() != value) {
            Widget()->setEditable(value);
            FWidget.WatchChildren();
        }
        auto* combo = dynamic_cast<TCustomComboBox*>(FControl);
        SetSimple(combo && combo->Style() == csSimple);
    }
    // The edit field's text and selection; a drop-down list without one shows its item.
    void SetText(const String& text) override {
        if (!Widget()->isEditable()) return;
        QSignalBlocker b(Widget());
        Widget()->lineEdit()->setText(Q(text));
    }
    void SetSelection(int anchor, int caret) override {
        if (!Widget()->isEditable()) return;
        QLineEdit* e = Widget()->lineEdit();
        QSignalBlocker b(e);
        if (anchor == caret) {
            e->deselect();
            e->setCursorPosition(caret);
        } else {
            e->setSelection(anchor, caret - anchor);
        }
    }
    int CharFromPos(int x, int y) override {
        if (!Widget()->isEditable()) return -1;
        QPoint p = Widget()->lineEdit()->mapFrom(Host(), QPoint(x, y));
        return Widget()->lineEdit()->cursorPositionAt(p);
    }
    void SetDroppedDown(bool value) override {
        Combo* w = Widget();
        w->Programmatic = true;
        if (value) {
            w->showPopup();
            if ((QGuiApplication::mouseButtons() & Qt::LeftButton) && w->view()->isVisible()) new OpeningRelease(w->view());
        } else {
            w->hidePopup();
        }
        w->Programmatic = false;
    }
    void SetDropDownCount(int value) override { Widget()->setMaxVisibleItems(std::max(1, value)); }
    void SetDroppedWidth(int value) override { Widget()->view()->setMinimumWidth(value); }
    void SetSimple(bool value) {
        Combo* w = Widget();
        if (w->Simple == value) return;
        w->Simple = value;
        if (value) {
            w->FitSimple();
        } else {
            QResizeEvent again(w->size(), w->size());  // the combo places its field again
            QCoreApplication::sendEvent(w, &again);
        }
        w->update();
    }
    // A combo box chooses one item and has no rows of its own to scroll, measure or check.
    void SetItemSelected(int, bool) override { Unsupported("ListView::SetItemSelected", kComboBox); }
    void SetTopIndex(int) override { Unsupported("ListView::SetTopIndex", kComboBox); }
    int ItemAtPos(int, int) override { Unsupported("ListView::ItemAtPos", kComboBox); }
    int ItemHeight() override { Unsupported("ListView::ItemHeight", kComboBox); }
    void SetItemHeight(int) override { Unsupported("ListView::SetItemHeight", kComboBox); }
    void SetItemChecked(int, TCheckBoxState) override { Unsupported("ListView::SetItemChecked", kComboBox); }

protected:
    QWidget* CompositionTarget() override { return Widget()->isEditable() ? Widget()->lineEdit() : nullptr; }

private:
    TWinControl* FControl;
    bool FOwnerDraw = false, FVariable = false;
};

// ---- list: list box and check list ----

class ListBoxView final : public ViewBase<ui::ListView, QListWidget> {
public:
    ListBoxView(ui::WidgetPeer& host, TWinControl* control, ui::ListSink& sink, bool checks)
        : ViewBase(new QListWidget, host, control, true), FSink(sink), FChecks(checks) {
        Widget()->setSelectionMode(QAbstractItemView::ExtendedSelection);
    }
    const char* Kind() const { return FChecks ? "check list box" : "list box"; }
    void SetOwnerDrawItems(bool ownerDraw, bool variable) override {
        if (ownerDraw == FOwnerDraw && variable == FVariable) return;
        FOwnerDraw = ownerDraw;
        FVariable = variable;
        QListWidget* w = Widget();
        QAbstractItemDelegate* old = w->itemDelegate();
        if (ownerDraw) {
            auto* d = new OwnerDrawDelegate(FSink, w->viewport(), variable, w);
            d->FixedHeight = FItemHeight;
            w->setItemDelegate(d);
        } else {
            w->setItemDelegate(new QStyledItemDelegate(w));
        }
        if (old && old->parent() == w) old->deleteLater();
        w->doItemsLayout();
    }
    void SetItems(const std::vector<String>& items) override {
        QListWidget* w = Widget();
        QSignalBlocker b(w);
        w->clear();
        for (const String& s : items) w->addItem(MakeItem(s));
    }
    QListWidgetItem* MakeItem(const String& text) const {
        auto* it = new QListWidgetItem(Q(text));
        if (FItemHeight > 0) it->setSizeHint(QSize(0, FItemHeight));
        // A check list's items show their boxes from the start, unchecked until told.
        if (FChecks) {
            it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
            it->setCheckState(Qt::Unchecked);
        }
        return it;
    }
    void InsertItem(int index, const String& text) override {
        QSignalBlocker b(Widget());
        Widget()->insertItem(index, MakeItem(text));
    }
    void DeleteItem(int index) override {
        QSignalBlocker b(Widget());
        delete Widget()->takeItem(index);
    }
    void SetItemText(int index, const String& text) override {
        QListWidgetItem* it = Widget()->item(index);
        if (!it) return;
        it->setText(Q(text));
        // Qt keeps the heights it measured; the owner measures the new text afresh.
        if (FOwnerDraw && FVariable) Widget()->doItemsLayout();
    }
    void SetItemHeight(int height) override {
        FItemHeight = height;
        if (auto* d = dynamic_cast<OwnerDrawDelegate*>(Widget()->itemDelegate())) d->FixedHeight = height;
        for (int i = 0; i < Widget()->count(); ++i) Widget()->item(i)->setSizeHint(QSize(0, height));
    }
    void SetItemIndex(int index) override {
        QSignalBlocker b(Widget());
        Widget()->setCurrentRow(index, QItemSelectionModel::NoUpdate);
    }
    void SetItemSelected(int index, bool selected) override {
        if (QListWidgetItem* it = Widget()->item(index)) it->setSelected(selected);
    }
    void SetItemChecked(int index, TCheckBoxState state) override {
        if (!FChecks) Unsupported("ListView::SetItemChecked", Kind());
        QListWidgetItem* it = Widget()->item(index);
        if (!it) return;
        it->setCheckState(state == cbChecked ? Qt::Checked : state == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
    }
    void SetTopIndex(int index) override {
        if (QListWidgetItem* it = Widget()->item(index)) Widget()->scrollToItem(it, QAbstractItemView::PositionAtTop);
    }
    int ItemHeight() override {
        int h = Widget()->count() > 0 ? Widget()->sizeHintForRow(0) : 0;
        return h > 0 ? h : Widget()->fontMetrics().height();
    }
    int ItemAtPos(int x, int y) override {
        QPoint p = Widget()->viewport()->mapFrom(Host(), QPoint(x, y));
        QListWidgetItem* it = Widget()->itemAt(p);
        return it ? Widget()->row(it) : -1;
    }
    // A list box has no edit field and no drop-down list.
    void SetEditable(bool) override { Unsupported("ListView::SetEditable", Kind()); }
    void SetText(const String&) override { Unsupported("ListView::SetText", Kind()); }
    void SetSelection(int, int) override { Unsupported("ListView::SetSelection", Kind()); }
    int CharFromPos(int, int) override { Unsupported("ListView::CharFromPos", Kind()); }
    void SetDroppedDown(bool) override { Unsupported("ListView::SetDroppedDown", Kind()); }
    void SetDropDownCount(int) override { Unsupported("ListView::SetDropDownCount", Kind()); }
    void SetDroppedWidth(int) override { Unsupported("ListView::SetDroppedWidth", Kind()); }

private:
    ui::ListSink& FSink;
    bool FChecks;
    int FItemHeight = 0;
    bool FOwnerDraw = false, FVariable = false;
};

// ---- static: label and group box ----

class LabelView final : public ViewBase<ui::StaticView, QLabel> {
public:
    LabelView(ui::WidgetPeer& host, TWinControl* control) : ViewBase(new QLabel, host, control, true) {}
    void SetCaption(const String& caption) override { Widget()->setText(Q(caption)); }
    TSize PreferredSize() override {
        QSize s = Widget()->sizeHint();
        return TSize{s.width(), s.height()};
    }
};

class GroupView final : public ViewBase<ui::StaticView, QGroupBox> {
public:
    GroupView(ui::WidgetPeer& host, TWinControl* control) : ViewBase(new QGroupBox, host, control, true) {}
    void SetCaption(const String& caption) override { Widget()->setTitle(Q(caption)); }
    TSize PreferredSize() override {
        QSize s = Widget()->sizeHint();
        return TSize{s.width(), s.height()};
    }
};

// ---- button: push button, check box, radio button ----

template <class W>
class ButtonView final : public ViewBase<ui::ButtonView, W> {
    using Base = ViewBase<ui::ButtonView, W>;
    static constexpr bool kPush = std::is_same_v<W, QPushButton>;
    static constexpr const char* kKind = kPush ? "push button" : std::is_same_v<W, QCheckBox> ? "check box" : "radio button";

public:
    ButtonView(ui::WidgetPeer& host, TWinControl* control) : Base(new W, host, control, true) {
        if constexpr (std::is_same_v<W, QRadioButton>) Btn()->setAutoExclusive(false);  // the control keeps its group
        if constexpr (std::is_same_v<W, QCheckBox>) Btn()->setTristate(true);
    }
    W* Btn() const { return Base::Widget(); }
    void SetCaption(const String& caption) override { Btn()->setText(Q(caption)); }
    void SetDown(bool value) override { Btn()->setDown(value); }
    void SetCheckState(TCheckBoxState state) override {
        if constexpr (kPush) Unsupported("ButtonView::SetCheckState", kKind);
        else if constexpr (std::is_same_v<W, QCheckBox>) Btn()->setCheckState(state == cbChecked ? Qt::Checked : state == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
        else Btn()->setChecked(state == cbChecked);
    }
    void SetDefault(bool value) override {
        if constexpr (kPush) Btn()->setDefault(value);
        else Unsupported("ButtonView::SetDefault", kKind);
    }
    void SetGlyph(const TBitmap* glyph, int index, int count, TButtonLayout layout, int spacing, int margin) override {
        if constexpr (!kPush) Unsupported("ButtonView::SetGlyph", kKind);
        (void)spacing;
        (void)margin;
        if (!glyph) {
            Btn()->setIcon(QIcon());
            return;
        }
        QImage all = qtb::ToRgb32(*glyph);
        int w = all.width() / std::max(1, count);
        QImage frame = all.copy(w * index, 0, w, all.height()).convertToFormat(QImage::Format_ARGB32);
        // The bottom-left pixel's colour is the background of the picture.
        QRgb key = frame.pixel(0, frame.height() - 1);
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x)
                if ((frame.pixel(x, y) & 0xFFFFFF) == (key & 0xFFFFFF)) frame.setPixel(x, y, 0);
        Btn()->setIcon(QIcon(QPixmap::fromImage(frame)));
        Btn()->setIconSize(frame.size());
        // Qt's push button puts the picture before the caption; right means mirrored.
        Btn()->setLayoutDirection(layout == blGlyphRight ? Qt::RightToLeft : Qt::LeftToRight);
    }
};

// ---- range: scroll bar, track bar, up-down; Qt runs the mouse interaction ----

// Reports the mouse let go of a slider, once its last button is up.
class ReleaseWatch final : public QObject {
public:
    ReleaseWatch(QObject* parent, ui::RangeSink& sink) : QObject(parent), FSink(sink) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(e)->buttons() == Qt::NoButton) FSink.RangeReleased();
        return false;
    }

private:
    ui::RangeSink& FSink;
};

class SliderView final : public ViewBase<ui::RangeView, QAbstractSlider> {
public:
    SliderView(QAbstractSlider* s, ui::WidgetPeer& host, TWinControl* control, ui::RangeSink& sink) : ViewBase(s, host, control, false) {
        QObject::connect(s, &QAbstractSlider::actionTriggered, s, [this, &sink](int action) {
            if (FSetting) return;
            switch (action) {
                case QAbstractSlider::SliderSingleStepSub: sink.RangeAction(scLineUp); break;
                case QAbstractSlider::SliderSingleStepAdd: sink.RangeAction(scLineDown); break;
                case QAbstractSlider::SliderPageStepSub: sink.RangeAction(scPageUp); break;
                case QAbstractSlider::SliderPageStepAdd: sink.RangeAction(scPageDown); break;
                case QAbstractSlider::SliderToMinimum: sink.RangeAction(scTop); break;
                case QAbstractSlider::SliderToMaximum: sink.RangeAction(scBottom); break;
                case QAbstractSlider::SliderMove: sink.RangeAction(scTrack); break;
                default: break;
            }
        });
        QObject::connect(s, &QAbstractSlider::valueChanged, s, [this, &sink](int value) {
            if (!FSetting) sink.RangeMoved(value);
        });
        // Qt tells no end of an arrow's or the track's action: the release of the mouse is it.
        s->installEventFilter(new ReleaseWatch(s, sink));
    }
    void SetRange(int min, int max, int page) override {
        FSetting = true;
        Widget()->setRange(min, std::max(min, max - std::max(0, page - 1)));
        if (page > 0) Widget()->setPageStep(page);
        FSetting = false;
    }
    void SetPosition(int value) override {
        FSetting = true;
        Widget()->setValue(value);
        FSetting = false;
    }
    void SetSteps(int small, int large) override {
        FSetting = true;
        Widget()->setSingleStep(small);
        Widget()->setPageStep(large);
        FSetting = false;
    }
    void SetVertical(bool value) override { Widget()->setOrientation(value ? Qt::Vertical : Qt::Horizontal); }
    // A slider draws no background of its own, and the window under it keeps the picture of its
    // last paint: a thumb moved away would stay drawn there. It fills itself with the control's
    // colour instead.
    void SetColors(int32_t background, int32_t text) override {
        ViewBase::SetColors(background, text);
        QAbstractSlider* s = Widget();
        QPalette pal = s->palette();
        pal.setColor(QPalette::Window, background == clNone ? QColor(Qt::transparent) : ColorOf(background));
        if (pal != s->palette()) s->setPalette(pal);
        s->setAutoFillBackground(background != clNone);
    }

private:
    bool FSetting = false;
};

}  // namespace

std::unique_ptr<ui::TextView> MakeTextView(ui::TextKind kind, ui::WidgetPeer& host, TWinControl* control) {
    if (kind == ui::TextKind::MultiLine) return std::make_unique<MemoView>(host, control);
    return std::make_unique<EditView>(host, control);
}

std::unique_ptr<ui::ListView> MakeListView(ui::ListKind kind, ui::WidgetPeer& host, TWinControl* control, ui::ListSink& sink) {
    if (kind == ui::ListKind::ComboBox) return std::make_unique<ComboView>(host, control, sink);
    return std::make_unique<ListBoxView>(host, control, sink, kind == ui::ListKind::CheckListBox);
}

std::unique_ptr<ui::ButtonView> MakeButtonView(ui::ButtonKind kind, ui::WidgetPeer& host, TWinControl* control) {
    switch (kind) {
        case ui::ButtonKind::CheckBox: return std::make_unique<ButtonView<QCheckBox>>(host, control);
        case ui::ButtonKind::RadioButton: return std::make_unique<ButtonView<QRadioButton>>(host, control);
        case ui::ButtonKind::PushButton: break;
    }
    return std::make_unique<ButtonView<QPushButton>>(host, control);
}

std::unique_ptr<ui::RangeView> MakeRangeView(ui::RangeKind kind, ui::WidgetPeer& host, TWinControl* control, ui::RangeSink& sink) {
    switch (kind) {
        case ui::RangeKind::TrackBar: {
            auto* s = new QSlider;
            s->setTickPosition(QSlider::TicksBelow);
            return std::make_unique<SliderView>(s, host, control, sink);
        }
        case ui::RangeKind::UpDown: return std::make_unique<SliderView>(new QScrollBar(Qt::Vertical), host, control, sink);
        case ui::RangeKind::ScrollBar: break;
    }
    return std::make_unique<SliderView>(new QScrollBar, host, control, sink);
}

std::unique_ptr<ui::StaticView> MakeStaticView(ui::StaticKind kind, ui::WidgetPeer& host, TWinControl* control) {
    if (kind == ui::StaticKind::GroupBox) return std::make_unique<GroupView>(host, control);
    return std::make_unique<LabelView>(host, control);
}

// ---- the embedding, for views made in other files (QtEmbedded.h) ----

struct EmbeddedWidget::Impl : Embedded {
    using Embedded::Embedded;
};

EmbeddedWidget::EmbeddedWidget(QWidget* inner, ui::WidgetPeer& host, TWinControl* control, bool forwardMouse)
    : FImpl(std::make_unique<Impl>(inner, host, control, forwardMouse)) {}
EmbeddedWidget::~EmbeddedWidget() = default;
QWidget* EmbeddedWidget::Inner() const { return FImpl->Inner.data(); }
void EmbeddedWidget::SetFont(const TFont& font) { FImpl->SetFont(font); }
void EmbeddedWidget::SetColors(int32_t background, int32_t text) { Embedded::SetColors(FImpl->Inner, background, text); }
void EmbeddedWidget::SetFrameInsets(const TRect& insets) { FImpl->SetFrameInsets(insets); }
void EmbeddedWidget::SetOwnerPainted(bool value) { FImpl->SetOwnerPainted(value); }
void EmbeddedWidget::Render(TBitmap& target) { FImpl->Render(target); }
void EmbeddedWidget::MarkChanged() { FImpl->MarkChanged(); }
bool EmbeddedWidget::PictureChanged() const { return FImpl->PictureChanged(); }
void EmbeddedWidget::SetOverlay(const TBitmap& painted, const TBitmap& native, const TRect& part) {
    FImpl->SetOverlay(painted, native, part);
}

}  // namespace qtb
