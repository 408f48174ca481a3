// What crosses the program's edge in Qt's drag and drop: the data both ways, and drops of other
// programs on a window, its native widgets included, handed to the sink.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include "platform/qt/QtDragDrop.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/QtWindow.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"
#include "platform/ui/backend/DesktopFormats.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

struct Seen {
    std::string What;
    HWND Window = nullptr;
    TPoint Screen;
    DWORD Keys = 0;
    DWORD Allowed = 0;
    ui::DesktopDragData Data;
};

class RecordingSink final : public ui::DesktopDropSink {
public:
    DWORD DragEnter(HWND window, const ui::DesktopDragData& data, TPoint screen, DWORD keys, DWORD allowed) override {
        Calls.push_back({"enter", window, screen, keys, allowed, data});
        return Answer;
    }
    DWORD DragOver(HWND window, TPoint screen, DWORD keys, DWORD allowed) override {
        Calls.push_back({"over", window, screen, keys, allowed, {}});
        return Answer;
    }
    void DragLeave(HWND window) override { Calls.push_back({"leave", window, {}, 0, 0, {}}); }
    DWORD Drop(HWND window, const ui::DesktopDragData& data, TPoint screen, DWORD keys, DWORD allowed) override {
        Calls.push_back({"drop", window, screen, keys, allowed, data});
        return Answer;
    }
    std::vector<Seen> Calls;
    DWORD Answer = 1;  // copy
};

TEST(QtDragDropTest, TextLeavesAsTextPlainAndDropsBringTextFilesAndUrls) {
    std::unique_ptr<QMimeData> mime(qtb::MimeDataOf(ui::DesktopDragData::OfText(String("日本 abc")).Content));
    EXPECT_EQ(mime->formats(), QStringList{"text/plain"});
    EXPECT_EQ(mime->text(), QString::fromUtf8("日本 abc"));

    QMimeData in;
    in.setText(QString::fromUtf8("日本 abc"));
    in.setUrls({QUrl::fromLocalFile("/tmp/one.txt"), QUrl("https://example.org/x"), QUrl::fromLocalFile("/tmp/二.txt")});
    ui::ClipboardContent got = qtb::ContentOf(&in);
    EXPECT_EQ(ui::ClipboardText(got.at(CF_UNICODETEXT)), String("日本 abc"));
    EXPECT_EQ(ui::DroppedFiles(got.at(CF_HDROP)), (std::vector<String>{String("/tmp/one.txt"), String("/tmp/二.txt")}));
    std::vector<uint8_t> url = got.at(RegisterClipboardFormat("UniformResourceLocator"));
    EXPECT_EQ(std::string(url.begin(), url.end()), std::string("https://example.org/x", 22));

    QMimeData filesOnly;
    filesOnly.setUrls({QUrl::fromLocalFile("/tmp/one.txt")});
    EXPECT_FALSE(qtb::ContentOf(&filesOnly).count(CF_UNICODETEXT));

    EXPECT_EQ(qtb::EffectsOf(Qt::CopyAction | Qt::MoveAction), 3u);
    EXPECT_EQ(qtb::ActionsOf(2), Qt::DropActions(Qt::MoveAction));
}

TEST(QtDragDropTest, DropsOnAWindowAndOnItsNativeWidgetReachTheSinkUntilRefused) {
    ui::test::AppScope scope;
    auto* form = new TForm(nullptr);
    form->SetBounds(40, 30, 240, 160);
    auto* window = new TCustomControl(form);
    window->SetParent(form);
    window->SetBounds(10, 10, 120, 24);
    form->Show();
    ui::test::Pump();
    // A native line edit inside the window, as a native edit control has one: Qt's line edit
    // takes text drops by itself.
    QWidget* host = static_cast<qtb::WidgetPeer*>(window->Peer())->Widget();
    auto* lineEdit = new QLineEdit(QString("keep"), host);
    lineEdit->setGeometry(host->rect());
    lineEdit->show();
    ASSERT_TRUE(lineEdit->acceptDrops());
    RecordingSink sink;
    ui::DesktopDragDrop& dnd = qtb::DesktopDragDropService();
    dnd.SetSink(&sink);
    dnd.AcceptDrops(*window->Peer(), true);
    QMimeData mime;
    mime.setText("dropped");
    QPoint at(7, 5);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::ControlModifier);
    QCoreApplication::sendEvent(lineEdit, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::ControlModifier);
    QCoreApplication::sendEvent(lineEdit, &move);
    EXPECT_TRUE(move.isAccepted());
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(lineEdit, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);

    ASSERT_EQ(sink.Calls.size(), 3u);
    QPoint inWindow = lineEdit->mapTo(host, at);
    TRect area = window->ClientArea();
    TPoint screen = window->ClientToScreen(Point(inWindow.x() - area.Left, inWindow.y() - area.Top));
    EXPECT_EQ(sink.Calls[0].What, "enter");
    EXPECT_EQ(sink.Calls[0].Window, window->Handle());
    EXPECT_EQ(sink.Calls[0].Screen, screen);
    EXPECT_EQ(sink.Calls[0].Keys, static_cast<DWORD>(MK_LBUTTON | MK_CONTROL));
    EXPECT_EQ(sink.Calls[0].Allowed, 3u);
    EXPECT_EQ(ui::ClipboardText(sink.Calls[0].Data.Content.at(CF_UNICODETEXT)), String("dropped"));
    EXPECT_EQ(sink.Calls[1].What, "over");
    EXPECT_EQ(sink.Calls[2].What, "drop");
    EXPECT_EQ(sink.Calls[2].Keys, 0u);
    // The native widget did not take the text itself: the window's target decides.
    EXPECT_EQ(lineEdit->text(), QString("keep"));

    // A target that takes nothing here: the move is refused.
    sink.Answer = 0;
    QDragMoveEvent refused(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(lineEdit, &refused);
    EXPECT_FALSE(refused.isAccepted());

    // Once the window takes no drops, nothing reaches the sink.
    dnd.AcceptDrops(*window->Peer(), false);
    sink.Calls.clear();
    QDragEnterEvent again(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(host, &again);
    EXPECT_TRUE(sink.Calls.empty());
    dnd.SetSink(nullptr);
    form->Free();
}

}  // namespace
