// The rich edit's view: a Qt rich text widget that only shows the control's document. Qt's
// editing is not used: keys and clicks go to the control as window messages, and the control
// shows every change again. Where Qt breaks a line one character otherwise, what the control
// reports is still its own layout.
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "platform/qt/QtEmbedded.h"
#include "platform/qt/QtGraphicsAccess.h"
#include "platform/qt/QtServices.h"
#include "platform/ui/RichText.h"

namespace qtb {

namespace {

Qt::Alignment AlignOf(ui::RichAlign a) {
    switch (a) {
        case ui::RichAlign::Right: return Qt::AlignRight;
        case ui::RichAlign::Center: return Qt::AlignHCenter;
        case ui::RichAlign::Justify: return Qt::AlignJustify;
        default: return Qt::AlignLeft;
    }
}

QTextCharFormat CharFormatOf(const ui::RichCharFormat& f) {
    QTextCharFormat c;
    c.setFontFamilies({QString::fromStdU16String(f.Name)});
    c.setFontPointSize(f.Height / 20.0);
    c.setFontWeight(f.Style.Contains(fsBold) ? QFont::Bold : QFont::Normal);
    c.setFontItalic(f.Style.Contains(fsItalic));
    c.setFontUnderline(f.Style.Contains(fsUnderline));
    c.setFontStrikeOut(f.Style.Contains(fsStrikeOut));
    if (f.Color != clWindowText) c.setForeground(QColorOf(f.Color));
    if (f.BackColor != clNone) c.setBackground(QColorOf(f.BackColor));
    // Raised and lowered runs show as Qt's super- and subscript.
    if (f.Offset != 0) c.setVerticalAlignment(f.Offset > 0 ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignSubScript);
    return c;
}

// The text's margins inside the widget are the viewport's.
class RichEdit final : public QTextEdit {
public:
    using QAbstractScrollArea::setViewportMargins;
};

class RichTextView final : public ui::RichTextView {
public:
    RichTextView(ui::WidgetPeer& host, TWinControl* control) : FWidget(MakeEdit(), host, control, true) {}
    static QTextEdit* MakeEdit() {
        auto* e = new RichEdit;
        e->setUndoRedoEnabled(false);  // the control keeps its own undo
        e->setFrameShape(QFrame::NoFrame);  // the frame is the window's
        e->setAcceptRichText(false);
        return e;
    }
    void SetFont(const TFont& font) override {
        FWidget.SetFont(font);
        Update();
    }
    void SetColors(int32_t background, int32_t text) override {
        FWidget.SetColors(background, text);
        ShowInactiveSelection();
        // The viewport paints the text area with a palette of its own; clNone: no background.
        QWidget* vp = Widget()->viewport();
        QPalette pal = vp->palette();
        pal.setColor(QPalette::Base, background == clNone ? QColor(Qt::transparent) : QColorOf(static_cast<TColor>(background)));
        pal.setColor(QPalette::Text, QColorOf(static_cast<TColor>(text)));
        vp->setPalette(pal);
        vp->setAutoFillBackground(background != clNone);
        Update();
    }
    void SetFrameInsets(const TRect& insets) override { FWidget.SetFrameInsets(insets); }
    void SetOwnerPainted(bool value) override { FWidget.SetOwnerPainted(value); }
    void Render(TBitmap& target) override { FWidget.Render(target); }
    bool PictureChanged() override { return FWidget.PictureChanged(); }
    void SetComposition(const String&, int) override {}
    void SetOverlay(const TBitmap& painted, const TBitmap& native, const TRect& part) override {
        FWidget.SetOverlay(painted, native, part);
    }

    void SetContent(const ui::RichContent& content) override {
        QTextEdit* e = Widget();
        QSignalBlocker b(e);
        QTextDocument* doc = e->document();
        doc->clear();
        QTextCursor c(doc);
        size_t para = 0;
        auto block = [&]() {
            QTextBlockFormat bf;
            ui::RichParaFormat p = para < content.Paras.size() ? content.Paras[para] : ui::RichParaFormat();
            bf.setAlignment(AlignOf(p.Align));
            bf.setLeftMargin(p.LeftIndent / 15.0);
            bf.setRightMargin(p.RightIndent / 15.0);
            bf.setTextIndent(p.FirstIndent / 15.0);
            c.setBlockFormat(bf);
        };
        block();
        const String& t = content.Text;
        for (const ui::RichRun& r : content.Runs) {
            QTextCharFormat f = CharFormatOf(r.Format);
            int s = r.Start, end = std::min(r.Start + r.Length, t.Length());
            for (int i = s; i < end; ++i) {
                char16_t ch = t[static_cast<size_t>(i)];
                if (ch == u'\r' || ch == u'\n') {
                    if (i > s) c.insertText(QString::fromUtf16(t.data() + s, i - s), f);
                    if (ch == u'\r') {
                        ++para;
                        c.insertBlock();
                        block();
                    }
                    s = i + 1;
                } else if (ch == 0x000B) {
                    if (i > s) c.insertText(QString::fromUtf16(t.data() + s, i - s), f);
                    c.insertText(QString(QChar(0x2028)), f);
                    s = i + 1;
                }
            }
            if (end > s) c.insertText(QString::fromUtf16(t.data() + s, end - s), f);
        }
        Update();
    }
    void SetSelection(int anchor, int caret) override {
        QTextEdit* e = Widget();
        QSignalBlocker b(e);
        int last = e->document()->characterCount() - 1;
        QTextCursor c(e->document());
        c.setPosition(std::clamp(anchor, 0, last));
        c.setPosition(std::clamp(caret, 0, last), QTextCursor::KeepAnchor);
        e->setTextCursor(c);
        Update();
    }
    void SetReadOnly(bool value) override {
        Widget()->setReadOnly(value);
        Update();
    }
    void SetWordWrap(bool value) override {
        Widget()->setLineWrapMode(value ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
        Update();
    }
    void SetScrollBars(TScrollStyle bars) override {
        bool horizontal = bars == ssHorizontal || bars == ssBoth, vertical = bars == ssVertical || bars == ssBoth;
        Widget()->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        Widget()->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        Update();
    }
    void SetTextMargins(const TRect& m) override {
        Widget()->document()->setDocumentMargin(0);
        Widget()->setViewportMargins(m.Left, m.Top, m.Right, m.Bottom);
        Update();
    }
    void SetHideSelection(bool value) override {
        FHideSelection = value;
        ShowInactiveSelection();
        Update();
    }

private:
    // The edit paints its selection with the palette's inactive group while it has no focus:
    // hiding it there is a highlight of nothing and the text's own colour.
    void ShowInactiveSelection() {
        QTextEdit* e = Widget();
        QPalette pal = e->palette();
        pal.setColor(QPalette::Inactive, QPalette::Highlight,
                     FHideSelection ? QColor(Qt::transparent) : pal.color(QPalette::Active, QPalette::Highlight));
        pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     FHideSelection ? pal.color(QPalette::Inactive, QPalette::Text) : pal.color(QPalette::Active, QPalette::HighlightedText));
        if (pal != e->palette()) e->setPalette(pal);
    }
    RichEdit* Widget() const { return static_cast<RichEdit*>(FWidget.Inner()); }
    void Update() {
        FWidget.MarkChanged();
        if (auto* w = Widget()) w->viewport()->update();
    }
    EmbeddedWidget FWidget;
    bool FHideSelection = true;
};

}  // namespace

std::unique_ptr<ui::RichTextView> MakeRichTextView(ui::WidgetPeer& host, TWinControl* control) {
    return std::make_unique<RichTextView>(host, control);
}

}  // namespace qtb
