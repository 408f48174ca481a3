// Native views: the Qt widget of an edit, memo, combo box, list box, button or slider, placed
// inside the control's own widget. The view only shows the control's state; input on it is
// turned into the control's messages (as the control's own widget does), except where Qt must
// run the interaction itself (an open drop-down list, a slider's thumb).
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTextBlock>

#include "platform/qt/QtGraphicsAccess.h"
#include "platform/qt/QtInput.h"
#include "platform/qt/QtWindow.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/NativePeers.h"
#include "platform/win/Window.h"

namespace qtb {

namespace {

QString Q(const String& s) { return QString::fromStdU16String(s); }

QColor ColorOf(int32_t color) { return qtb::QColorOf(color); }

// Keeps the native widget the size of the control's widget.
class Filler final : public QObject {
public:
    Filler(QWidget* inner) : FInner(inner) {}

protected:
    bool eventFilter(QObject* obj, QEvent* e) override {
        if (e->type() == QEvent::Resize && FInner) FInner->setGeometry(static_cast<QWidget*>(obj)->rect());
        return false;
    }

private:
    QPointer<QWidget> FInner;
};

class ViewBase : public ui::NativeView {
public:
    ViewBase(QWidget* inner, ui::WidgetPeer& host, TWinControl* control, bool forwardMouse)
        : FInner(inner), FHost(static_cast<WidgetPeer&>(host).Widget()) {
        // Input on the native widget and its inner widgets takes the same road as input on the
        // control's own widget, and Qt does not act on it.
        FInput = new InputTranslator(control, FHost, forwardMouse);
        FInput->setParent(inner);
        inner->setParent(FHost);
        inner->setGeometry(FHost->rect());
        auto* filler = new Filler(inner);
        filler->setParent(inner);
        FHost->installEventFilter(filler);
        FHost->setFocusProxy(inner);
        inner->lower();  // the control's child windows show above it
        inner->show();
        WatchChildren();
    }
    ~ViewBase() override {
        if (FInput) FInput->Detach();
        if (FHost) FHost->setFocusProxy(nullptr);
        delete FOverlay.data();
        delete FInner.data();
    }
    // Inner widgets (a combo box's line edit, a text view's viewport) send their input too.
    void WatchChildren() {
        if (!FInner) return;
        FInner->installEventFilter(FInput);
        for (QWidget* w : FInner->findChildren<QWidget*>()) {
            w->installEventFilter(FInput);
            if (w->focusPolicy() != Qt::NoFocus && w->window() == FInner->window()) w->setFocusProxy(nullptr);
        }
    }
    void SetFont(const TFont& font) override {
        if (FInner) FInner->setFont(qtb::QFontOf(font));
    }
    void SetOwnerPainted(bool value) override {
        if (!FInner) return;
        // Hidden, the widget keeps its geometry and state and can still be rendered.
        FInner->setVisible(!value);
        if (FHost) FHost->setFocusProxy(value ? nullptr : FInner.data());
    }
    void Render(TBitmap& target) override {
        if (!FInner) return;
        QImage img(std::max(1, target.Width()), std::max(1, target.Height()), QImage::Format_RGB32);
        img.fill(FInner->palette().color(QPalette::Window));
        FInner->render(&img, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
        qtb::SetImage(target, img);
    }
    void SetColors(int32_t background, int32_t text) override {
        if (!FInner) return;
        QPalette pal = FInner->palette();
        pal.setColor(QPalette::Base, ColorOf(background));
        pal.setColor(QPalette::Text, ColorOf(text));
        FInner->setPalette(pal);
    }
    void SetOverlay(const TBitmap& painted, const TBitmap& native) override {
        if (!FHost) return;
        QImage over = OverlayOf(qtb::ToRgb32(painted), qtb::ToRgb32(native));
        if (over.isNull()) {
            if (FOverlay) FOverlay->hide();
            return;
        }
        if (!FOverlay) FOverlay = new Overlay(FHost);
        FOverlay->Picture = std::move(over);
        FOverlay->setGeometry(FHost->rect());
        FOverlay->raise();
        FOverlay->show();
        FOverlay->update();
    }

protected:
    // Shows what the control drew over the widget, above it; the pointer goes through it.
    class Overlay final : public QWidget {
    public:
        explicit Overlay(QWidget* host) : QWidget(host) {
            setAttribute(Qt::WA_TransparentForMouseEvents);
            setAttribute(Qt::WA_NoSystemBackground);
            setFocusPolicy(Qt::NoFocus);
        }
        QImage Picture;

    protected:
        void paintEvent(QPaintEvent* e) override {
            QPainter p(this);
            p.drawImage(e->rect(), Picture, e->rect());
        }
    };
    // The pixels of painted that differ from native, opaque; the rest transparent. A null image
    // when none differ.
    static QImage OverlayOf(const QImage& painted, const QImage& native) {
        int w = std::min(painted.width(), native.width()), h = std::min(painted.height(), native.height());
        QImage over(std::max(1, w), std::max(1, h), QImage::Format_ARGB32_Premultiplied);
        over.fill(Qt::transparent);
        bool any = false;
        for (int y = 0; y < h; ++y) {
            auto* a = reinterpret_cast<const QRgb*>(painted.constScanLine(y));
            auto* b = reinterpret_cast<const QRgb*>(native.constScanLine(y));
            auto* o = reinterpret_cast<QRgb*>(over.scanLine(y));
            for (int x = 0; x < w; ++x) {
                if ((a[x] & 0xFFFFFF) == (b[x] & 0xFFFFFF)) continue;
                o[x] = a[x] | 0xFF000000u;
                any = true;
            }
        }
        return any ? over : QImage();
    }

    QPointer<QWidget> FInner;
    QPointer<QWidget> FHost;
    QPointer<Overlay> FOverlay;
    QPointer<InputTranslator> FInput;
};

// ---- single-line edit ----

class LineEdit final : public QLineEdit {
public:
    using QLineEdit::cursorRect;
    using QLineEdit::QLineEdit;
};

class EditView final : public ViewBase {
public:
    EditView(ui::WidgetPeer& host, TWinControl* control) : ViewBase(new LineEdit, host, control, true) {}
    LineEdit* W() const { return static_cast<LineEdit*>(FInner.data()); }
    void SetText(const String& text) override {
        QSignalBlocker b(W());
        W()->setText(Q(text));
    }
    void Replace(int start, int count, const String& text) override {
        QString t = W()->text();
        t.replace(start, count, Q(text));
        QSignalBlocker b(W());
        W()->setText(t);
    }
    void SetSelection(int anchor, int caret) override {
        QSignalBlocker b(W());
        if (anchor == caret) {
            W()->deselect();
            W()->setCursorPosition(caret);
        } else {
            W()->setSelection(anchor, caret - anchor);
        }
    }
    void SetReadOnly(bool value) override { W()->setReadOnly(value); }
    void SetFramed(bool value) override { W()->setFrame(value); }
    void SetPasswordChar(char16_t ch) override { W()->setEchoMode(ch ? QLineEdit::Password : QLineEdit::Normal); }
    void SetTextMargins(const TRect& m) override { W()->setTextMargins(m.Left, m.Top, m.Right, m.Bottom); }
    int CharFromPos(int x, int y) override {
        (void)y;
        return W()->cursorPositionAt(QPoint(x, W()->height() / 2));
    }
    TPoint PosFromChar(int index) override {
        QSignalBlocker b(W());
        int oldPos = W()->cursorPosition();
        bool had = W()->hasSelectedText();
        int selStart = W()->selectionStart(), selLen = static_cast<int>(W()->selectedText().size());
        W()->setCursorPosition(index);
        QRect r = W()->cursorRect();
        if (had) {
            if (oldPos == selStart) W()->setSelection(selStart + selLen, -selLen);
            else W()->setSelection(selStart, selLen);
        } else {
            W()->setCursorPosition(oldPos);
        }
        return TPoint(r.left() + r.width() / 2, r.top());
    }
};

// ---- multi-line edit ----

QString Collapse(const String& s) {
    QString t = Q(s);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

class MemoView final : public ViewBase {
public:
    MemoView(ui::WidgetPeer& host, TWinControl* control) : ViewBase(MakeEdit(), host, control, true) {}
    static QPlainTextEdit* MakeEdit() {
        auto* e = new QPlainTextEdit;
        e->setUndoRedoEnabled(false);  // the control keeps its own undo
        return e;
    }
    QPlainTextEdit* W() const { return static_cast<QPlainTextEdit*>(FInner.data()); }
    void SetText(const String& text) override {
        QSignalBlocker b(W());
        W()->setPlainText(Collapse(text));
    }
    void Replace(int start, int count, const String& text) override {
        QSignalBlocker b(W());
        QTextCursor c(W()->document());
        c.setPosition(start);
        c.setPosition(start + count, QTextCursor::KeepAnchor);
        c.insertText(Collapse(text));
    }
    void SetSelection(int anchor, int caret) override {
        QSignalBlocker b(W());
        QTextCursor c(W()->document());
        c.setPosition(anchor);
        c.setPosition(caret, QTextCursor::KeepAnchor);
        W()->setTextCursor(c);
    }
    void EnsureCaretVisible() override { W()->ensureCursorVisible(); }
    void SetFramed(bool value) override { W()->setFrameShape(value ? QFrame::StyledPanel : QFrame::NoFrame); }
    void SetReadOnly(bool value) override {
        W()->setReadOnly(value);
        W()->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard | (value ? Qt::NoTextInteraction : Qt::TextEditable));
    }
    void SetWordWrap(bool value) override { W()->setLineWrapMode(value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap); }
    void SetScrollBars(int bars) override {
        W()->setHorizontalScrollBarPolicy((bars & 1) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        W()->setVerticalScrollBarPolicy((bars & 2) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    }
    void SetTextMargins(const TRect& m) override { W()->document()->setDocumentMargin(std::max(0, m.Left)); }
    void SetColors(int32_t background, int32_t text) override {
        QPalette pal = W()->palette();
        pal.setColor(QPalette::Base, ColorOf(background));
        pal.setColor(QPalette::Text, ColorOf(text));
        W()->setPalette(pal);
        W()->viewport()->setPalette(pal);
    }
    int CharFromPos(int x, int y) override {
        QPoint p = W()->viewport()->mapFrom(FHost, QPoint(x, y));
        return W()->cursorForPosition(p).position();
    }
    TPoint PosFromChar(int index) override {
        QTextCursor c(W()->document());
        c.setPosition(std::clamp(index, 0, W()->document()->characterCount() - 1));
        QRect r = W()->cursorRect(c);
        QPoint p = W()->viewport()->mapTo(FHost, r.topLeft());
        return TPoint(p.x(), p.y());
    }
};

// ---- owner-drawn items ----

// Asks the control to draw each item (and, for variable heights, to measure it).
class OwnerDrawDelegate final : public QStyledItemDelegate {
public:
    OwnerDrawDelegate(ui::NativeSink* sink, QWidget* viewport, bool variable, QObject* parent)
        : QStyledItemDelegate(parent), FSink(sink), FViewport(viewport), FVariable(variable) {}
    int FixedHeight = 0;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QWidget* area = FViewport ? FViewport.data() : nullptr;
        QSize size = area ? area->size() : option.rect.size();
        TBitmap target(std::max(1, size.width()), std::max(1, std::max(size.height(), option.rect.bottom() + 1)));
        unsigned state = 0;
        if (option.state & QStyle::State_Selected) state |= 1u << 0;   // odSelected
        if (!(option.state & QStyle::State_Enabled)) state |= 1u << 2;  // odDisabled
        if (option.state & QStyle::State_HasFocus) state |= 1u << 4;    // odFocused
        QRect r = option.rect;
        TRect rect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
        if (!FSink || !FSink->NativeDrawItem(index.row(), rect, state, target)) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const QImage& img = qtb::ImageOf(target);
        painter->drawImage(r, img, r);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize base = QStyledItemDelegate::sizeHint(option, index);
        if (FVariable && FSink) {
            int h = FSink->NativeMeasureItem(index.row());
            if (h > 0) return QSize(base.width(), h);
        }
        if (FixedHeight > 0) return QSize(base.width(), FixedHeight);
        return base;
    }

private:
    ui::NativeSink* FSink;
    QPointer<QWidget> FViewport;
    bool FVariable;
};

// ---- combo box ----

class Combo final : public QComboBox {
public:
    ui::NativeSink* Sink = nullptr;
    bool Programmatic = false;
    void showPopup() override { QComboBox::showPopup(); }
    void hidePopup() override {
        bool wasShown = view() && view()->isVisible();
        QComboBox::hidePopup();
        if (wasShown && Sink && !Programmatic) Sink->NativeNotification(ui::NativeNotify::CloseUp, 0);
    }
};

class ComboView final : public ViewBase {
public:
    ComboView(ui::WidgetPeer& host, TWinControl* control, ui::NativeSink* sink) : ViewBase(new Combo, host, control, true) {
        W()->Sink = sink;
        W()->setInsertPolicy(QComboBox::NoInsert);
        QObject::connect(W(), &QComboBox::activated, W(), [this, sink](int index) {
            if (sink && !W()->Programmatic) sink->NativeNotification(ui::NativeNotify::ItemPicked, index);
        });
    }
    Combo* W() const { return static_cast<Combo*>(FInner.data()); }
    void SetEditable(bool value) override {
        if (W()->isEditable() == value) return;
        W()->setEditable(value);
        WatchChildren();
    }
    void SetItems(const std::vector<String>& items) override {
        QSignalBlocker b(W());
        QString text = W()->isEditable() ? W()->lineEdit()->text() : QString();
        W()->clear();
        for (const String& s : items) W()->addItem(Q(s));
        W()->setCurrentIndex(-1);
        if (W()->isEditable()) W()->lineEdit()->setText(text);
    }
    void SetItemIndex(int index) override {
        QSignalBlocker b(W());
        QString text = W()->isEditable() ? W()->lineEdit()->text() : QString();
        W()->setCurrentIndex(index);
        if (W()->isEditable()) W()->lineEdit()->setText(text);  // the control sets the text itself
    }
    void SetText(const String& text) override {
        if (!W()->isEditable()) return;
        QSignalBlocker b(W());
        W()->lineEdit()->setText(Q(text));
    }
    void Replace(int start, int count, const String& text) override {
        if (!W()->isEditable()) return;
        QString t = W()->lineEdit()->text();
        t.replace(start, count, Q(text));
        SetText(String(t.toStdU16String()));
    }
    void SetSelection(int anchor, int caret) override {
        if (!W()->isEditable()) return;
        QSignalBlocker b(W()->lineEdit());
        if (anchor == caret) {
            W()->lineEdit()->deselect();
            W()->lineEdit()->setCursorPosition(caret);
        } else {
            W()->lineEdit()->setSelection(anchor, caret - anchor);
        }
    }
    int CharFromPos(int x, int y) override {
        if (!W()->isEditable()) return -1;
        QPoint p = W()->lineEdit()->mapFrom(FHost, QPoint(x, y));
        return W()->lineEdit()->cursorPositionAt(p);
    }
    void SetDroppedDown(bool value) override {
        W()->Programmatic = true;
        if (value) W()->showPopup();
        else W()->hidePopup();
        W()->Programmatic = false;
    }
    void SetDropDownCount(int value) override { W()->setMaxVisibleItems(std::max(1, value)); }
    void SetDroppedWidth(int value) override { W()->view()->setMinimumWidth(value); }
    void SetOwnerDrawItems(bool ownerDraw, bool variable) override {
        if (ownerDraw == FOwnerDraw && variable == FVariable) return;
        FOwnerDraw = ownerDraw;
        FVariable = variable;
        if (ownerDraw) W()->setItemDelegate(new OwnerDrawDelegate(W()->Sink, W()->view()->viewport(), variable, W()));
        else W()->setItemDelegate(new QStyledItemDelegate(W()));
    }

private:
    bool FOwnerDraw = false, FVariable = false;
};

// ---- list box ----

class ListView final : public ViewBase {
public:
    ListView(ui::WidgetPeer& host, TWinControl* control, ui::NativeSink* sink) : ViewBase(new QListWidget, host, control, true), FSink(sink) {
        W()->setSelectionMode(QAbstractItemView::ExtendedSelection);
    }
    void SetOwnerDrawItems(bool ownerDraw, bool variable) override {
        if (ownerDraw == FOwnerDraw && variable == FVariable) return;
        FOwnerDraw = ownerDraw;
        FVariable = variable;
        QAbstractItemDelegate* old = W()->itemDelegate();
        if (ownerDraw) {
            auto* d = new OwnerDrawDelegate(FSink, W()->viewport(), variable, W());
            d->FixedHeight = FItemHeight;
            W()->setItemDelegate(d);
        } else {
            W()->setItemDelegate(new QStyledItemDelegate(W()));
        }
        if (old && old->parent() == W()) old->deleteLater();
        W()->doItemsLayout();
    }
    QListWidget* W() const { return static_cast<QListWidget*>(FInner.data()); }
    void SetItems(const std::vector<String>& items) override {
        QSignalBlocker b(W());
        W()->clear();
        for (const String& s : items) {
            W()->addItem(Q(s));
            if (FItemHeight > 0) W()->item(W()->count() - 1)->setSizeHint(QSize(0, FItemHeight));
        }
    }
    void SetItemHeight(int height) override {
        FItemHeight = height;
        if (auto* d = dynamic_cast<OwnerDrawDelegate*>(W()->itemDelegate())) d->FixedHeight = height;
        for (int i = 0; i < W()->count(); ++i) W()->item(i)->setSizeHint(QSize(0, height));
    }
    void SetItemIndex(int index) override {
        QSignalBlocker b(W());
        W()->setCurrentRow(index, QItemSelectionModel::NoUpdate);
    }
    void SetItemSelected(int index, bool selected) override {
        if (QListWidgetItem* it = W()->item(index)) it->setSelected(selected);
    }
    void SetItemChecked(int index, int state) override {
        QListWidgetItem* it = W()->item(index);
        if (!it) return;
        it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
        it->setCheckState(state == 1 ? Qt::Checked : state == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    }
    void SetTopIndex(int index) override {
        if (QListWidgetItem* it = W()->item(index)) W()->scrollToItem(it, QAbstractItemView::PositionAtTop);
    }
    int ItemHeight() override {
        int h = W()->count() > 0 ? W()->sizeHintForRow(0) : 0;
        return h > 0 ? h : W()->fontMetrics().height();
    }
    int ItemAtPos(int x, int y) override {
        QPoint p = W()->viewport()->mapFrom(FHost, QPoint(x, y));
        QListWidgetItem* it = W()->itemAt(p);
        return it ? W()->row(it) : -1;
    }

private:
    ui::NativeSink* FSink;
    int FItemHeight = 0;
    bool FOwnerDraw = false, FVariable = false;
};

// ---- label ----

class LabelView final : public ViewBase {
public:
    LabelView(ui::WidgetPeer& host, TWinControl* control) : ViewBase(new QLabel, host, control, true) {}
    QLabel* W() const { return static_cast<QLabel*>(FInner.data()); }
    void SetCaption(const String& caption) override { W()->setText(Q(caption)); }
    TSize PreferredSize() override {
        QSize s = W()->sizeHint();
        return TSize{s.width(), s.height()};
    }
};

// ---- buttons ----

template <class W>
class ButtonView final : public ViewBase {
public:
    ButtonView(ui::WidgetPeer& host, TWinControl* control) : ViewBase(new W, host, control, true) {
        if constexpr (std::is_same_v<W, QRadioButton>) Btn()->setAutoExclusive(false);  // the control keeps its group
        if constexpr (std::is_same_v<W, QCheckBox>) Btn()->setTristate(true);
    }
    W* Btn() const { return static_cast<W*>(FInner.data()); }
    void SetCaption(const String& caption) override { Btn()->setText(Q(caption)); }
    void SetCheckState(int state) override {
        if constexpr (std::is_same_v<W, QCheckBox>) Btn()->setCheckState(state == 1 ? Qt::Checked : state == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
        else Btn()->setChecked(state == 1);
    }
    void SetDefault(bool value) override {
        if constexpr (std::is_same_v<W, QPushButton>) Btn()->setDefault(value);
        else (void)value;
    }
    void SetDown(bool value) override { Btn()->setDown(value); }
    void SetGlyph(TBitmap* glyph, int index, int count, int layout, int spacing, int margin) override {
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
        Btn()->setLayoutDirection(layout == 1 ? Qt::RightToLeft : Qt::LeftToRight);
    }
};

class GroupView final : public ViewBase {
public:
    GroupView(ui::WidgetPeer& host, TWinControl* control) : ViewBase(new QGroupBox, host, control, true) {}
    void SetCaption(const String& caption) override { static_cast<QGroupBox*>(FInner.data())->setTitle(Q(caption)); }
};

// ---- ranges: Qt runs the mouse interaction ----

class SliderView final : public ViewBase {
public:
    SliderView(QAbstractSlider* s, ui::WidgetPeer& host, TWinControl* control, ui::NativeSink* sink) : ViewBase(s, host, control, false) {
        QObject::connect(s, &QAbstractSlider::actionTriggered, s, [this, sink](int action) {
            if (!sink || FSetting) return;
            int code = -1;
            switch (action) {
                case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
                case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
                case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
                case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
                case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
                case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
                case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
                default: break;
            }
            if (code >= 0) sink->NativeNotification(ui::NativeNotify::ScrollCode, code);
        });
        QObject::connect(s, &QAbstractSlider::valueChanged, s, [this, sink](int value) {
            if (sink && !FSetting) sink->NativeNotification(ui::NativeNotify::ValueChanged, value);
        });
    }
    QAbstractSlider* S() const { return static_cast<QAbstractSlider*>(FInner.data()); }
    void SetRange(int min, int max, int page) override {
        FSetting = true;
        S()->setRange(min, std::max(min, max - std::max(0, page - 1)));
        if (page > 0) S()->setPageStep(page);
        FSetting = false;
    }
    void SetPosition(int value) override {
        FSetting = true;
        S()->setValue(value);
        FSetting = false;
    }
    void SetSteps(int small, int large) override {
        FSetting = true;
        S()->setSingleStep(small);
        S()->setPageStep(large);
        FSetting = false;
    }
    void SetVertical(bool value) override { S()->setOrientation(value ? Qt::Vertical : Qt::Horizontal); }

private:
    bool FSetting = false;
};

}  // namespace

}  // namespace qtb

namespace ui {

std::unique_ptr<NativeView> CreateNativeView(NativeKind kind, WidgetPeer& host, TWinControl* control, NativeSink* sink) {
    using namespace qtb;
    switch (kind) {
        case NativeKind::Label: return std::make_unique<LabelView>(host, control);
        case NativeKind::Edit: return std::make_unique<EditView>(host, control);
        case NativeKind::Memo: return std::make_unique<MemoView>(host, control);
        case NativeKind::ComboBox: return std::make_unique<ComboView>(host, control, sink);
        case NativeKind::ListBox: return std::make_unique<ListView>(host, control, sink);
        case NativeKind::Button: return std::make_unique<ButtonView<QPushButton>>(host, control);
        case NativeKind::CheckBox: return std::make_unique<ButtonView<QCheckBox>>(host, control);
        case NativeKind::RadioButton: return std::make_unique<ButtonView<QRadioButton>>(host, control);
        case NativeKind::GroupBox: return std::make_unique<GroupView>(host, control);
        case NativeKind::ScrollBar: return std::make_unique<SliderView>(new QScrollBar, host, control, sink);
        case NativeKind::TrackBar: {
            auto* s = new QSlider;
            s->setTickPosition(QSlider::TicksBelow);
            return std::make_unique<SliderView>(s, host, control, sink);
        }
        case NativeKind::UpDown: return std::make_unique<SliderView>(new QScrollBar(Qt::Vertical), host, control, sink);
    }
    return nullptr;
}

// The edit controls share the application's clipboard, so what they copy pastes elsewhere and
// headless runs keep to the private store.
String NativeClipboardText() { return Clipboard()->AsText(); }

void SetNativeClipboardText(const String& text) { Clipboard()->SetAsText(text); }

}  // namespace ui
