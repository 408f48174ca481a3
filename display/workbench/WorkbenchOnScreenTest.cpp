// The workbench as a newcomer meets it, under a real X server: the README's steps by pointer and
// keys through the server, against the modem simulator on a pseudo-terminal, the port dialog's
// drop-down lists, the command page's channel list, the version box's place, the notice's
// centred lines and the packet generator's track bar thumb.
#include <algorithm>
#include <filesystem>
#include <memory>
#include <ostream>

#include "app/AssignForm.h"
#include "app/ComSetDialog.h"
#include "app/Caution2.h"
#include "app/VerBox.h"
#include "app/tests/WorkbenchTestSupport.h"
#include "platform/qt/display/RealDisplay.h"
#include "platform/ui/InputGrab.h"
#include "platform/rtl/testing/TestSupport.h"
#include "platform/rtl/tests/ParamNames.h"
#include "platform/ui/Forms.h"
#include "tools/modem-sim/ModemSim.h"

using display::CentreOf;
using display::OnUi;
using display::ScreenPoint;
using display::User;
using display::WaitFor;
using wbtest::Utf8;

namespace {

TPoint Middle(const TRect& r) { return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }

class WorkbenchOnScreen : public wbtest::Workbench {
protected:
    std::unique_ptr<modemsim::ModemSim> modem;

    void SetUp() override {
        if (std::getenv("RWB_DISPLAY_WM")) {
            ASSERT_TRUE(display::WaitForWindowManager()) << "no window manager came up";
        }
        modemsim::SimOptions options;
        options.baud = 19200;
        modem = std::make_unique<modemsim::ModemSim>(options);
        const std::string path = modem->OpenPty();
        modem->Start();
        WriteSettings(wbtest::SettingsWithPort(path));
        CopyIcon();
        // As the program starts: the main window, the notice over it, and the loop.
        Start();
        MainForm->Show();
        Caution1Form->Show();
    }
    void TearDown() override {
        Workbench::TearDown();
        modem->Stop();
    }
    std::vector<std::string> Lines() {
        std::vector<std::string> r;
        for (const auto& c : modem->Log()) r.push_back(c.line);
        return r;
    }
    bool Sent(const std::string& line) {
        return rtl::test::Eventually([&] {
            auto l = Lines();
            return std::find(l.begin(), l.end(), line) != l.end();
        }, 10000);
    }

    // Opens a combo box's list by a click on its button and clicks the entry with this text,
    // scrolling the list with the wheel until the entry shows.
    void ChooseByClick(User& user, TCustomComboBox* combo, const String& text) {
        int index = OnUi([&] { return combo->Items()->IndexOf(text); });
        ASSERT_GE(index, 0) << text.ToUtf8() << " is not in the list";
        OpenList(user, combo);
        // Scrolled out of sight, the entry comes into view under the wheel, turned over the list.
        auto entryRect = [&] { return OnUi([&] { return display::ListItemRect(combo, index); }); };
        auto shownEntry = [&] {
            return OnUi([&] {
                for (int i = 0; i < combo->Items()->Count(); ++i)
                    if (!display::ListItemRect(combo, i).IsEmpty()) return display::ListItemRect(combo, i);
                return TRect();
            });
        };
        TRect entry = entryRect();
        for (int turn = 0; turn < 40 && entry.IsEmpty(); ++turn) {
            user.Click(Middle(shownEntry()), 5);
            entry = entryRect();
        }
        ASSERT_FALSE(entry.IsEmpty()) << "the entry never showed";
        user.MoveTo(Middle(entry));
        user.Click(Middle(entry));
        ASSERT_TRUE(WaitFor([&] { return combo->ItemIndex() == index && !display::ListShown(combo); })) << "the click chose nothing";
        EXPECT_TRUE(WaitFor([&] { return display::ShownText(combo) == text; }))
            << "the box shows \"" << OnUi([&] { return display::ShownText(combo).ToUtf8(); }) << "\"";
    }
    void OpenList(User& user, TCustomComboBox* combo) {
        user.Click(ScreenPoint(combo, OnUi([&] { return combo->ClientWidth(); }) - 6, OnUi([&] { return combo->ClientHeight(); }) / 2));
        if (!WaitFor([&] { return display::ListShown(combo); }))
            FAIL() << "the list did not open; the screen: " << display::SaveShot(user.Grab(user.ScreenSize()), "list_not_open")
                   << "; under the pointer: " << OnUi([&] {
                          TWinControl* c = display::ControlAt(ScreenPoint(combo, combo->ClientWidth() - 6, combo->ClientHeight() / 2));
                          return c ? c->Name().ToUtf8() + " " + c->ClassName() : std::string("nothing");
                      })
                   << "; dropped down " << OnUi([&] { return combo->DroppedDown(); }) << ", focused " << OnUi([&] { return combo->Focused(); })
                   << "; an input grab: " << OnUi([] { return ui::CurrentInputGrab() != nullptr; })
                   << "; the mouse is captured by "
                   << OnUi([] { return GetCaptureControl() ? GetCaptureControl()->Name().ToUtf8() + " " + GetCaptureControl()->ClassName() : std::string("none"); });
    }
    // The README's first steps: the notice confirmed and the model chosen, by click.
    void ConfirmAndChooseTheModel(User& user) {
        user.Click(CentreOf(Caution1Form->BitBtn1));
        ASSERT_TRUE(WaitFor([] { return !Caution1Form->Visible() && MainForm->ComboBox5->Enabled(); }));
        ASSERT_NO_FATAL_FAILURE(ChooseByClick(user, MainForm->ComboBox5, String(u"TQW-560R    429MHz")));
        ASSERT_TRUE(WaitFor([] { return MainForm->VrDemoButton3->Enabled(); })) << "the port button stays disabled";
    }
    void OpenThePort(User& user) {
        user.Click(CentreOf(MainForm->VrDemoButton3));
        ASSERT_TRUE(WaitFor([] { return MainForm->ComPort1->Connected(); }, 10000)) << "the port button did not open the port";
        // The port is open before the button's handler has done: it waits 500 ms, running the
        // loop, and shows the pages only then. A user clicks at what shows; a click before that
        // lands on the bare window.
        ASSERT_TRUE(WaitFor([] { return MainForm->PageControl1->Showing(); }, 10000)) << "the pages did not show";
    }
};

TEST_F(WorkbenchOnScreen, TheReadmePathByPointer) {
    display::RunAsUser([&](User& user) {
        ASSERT_NO_FATAL_FAILURE(ConfirmAndChooseTheModel(user));
        display::SaveShot(user.Grab(display::ScreenRect(MainForm)), "workbench_model_chosen");
        ASSERT_NO_FATAL_FAILURE(OpenThePort(user));
        ASSERT_TRUE(Sent("@CH"));
        ASSERT_TRUE(Sent("@MO"));
        // The terminal shows both commands and the replies.
        EXPECT_TRUE(WaitFor([] {
            std::string t = Utf8(MainForm->Memo1->Text());
            return t.find("@CH") != std::string::npos && t.find("@MO") != std::string::npos &&
                   t.find(">LoRa ｺﾏﾝﾄﾞ ﾓｰﾄﾞ") != std::string::npos;
        }, 10000)) << OnUi([] { return Utf8(MainForm->Memo1->Text()); });
        display::SaveShot(user.Grab(display::ScreenRect(MainForm)), "workbench_port_open");
    });
}

struct ListClose {
    const char* name;
    bool byEscape;
};
void PrintTo(const ListClose& c, std::ostream* os) { *os << c.name; }

class PortDialogOnScreen : public WorkbenchOnScreen, public ::testing::WithParamInterface<ListClose> {};

TEST_P(PortDialogOnScreen, TheDialogsListsLeaveItAndTheMainWindowAnsweringClicks) {
    const bool byEscape = GetParam().byEscape;
    display::RunAsUser([&](User& user) {
        ASSERT_NO_FATAL_FAILURE(ConfirmAndChooseTheModel(user));
        // "COMｾｯﾃｨﾝｸﾞ" opens the modal dialog; the user goes on inside it.
        user.Click(CentreOf(MainForm->VrDemoButton2));
        ASSERT_TRUE(WaitFor([] { return ComSetDlg->Visible(); }));
        const String port = OnUi([] { return ComSetDlg->ComComboBox1->Text(); });
        if (byEscape) {
            ASSERT_NO_FATAL_FAILURE(OpenList(user, ComSetDlg->ComComboBox1));
            user.Key("Escape");
            ASSERT_TRUE(WaitFor([] { return !display::ListShown(ComSetDlg->ComComboBox1) && ComSetDlg->Visible(); }));
        } else {
            ASSERT_NO_FATAL_FAILURE(ChooseByClick(user, ComSetDlg->ComComboBox1, port));
        }
        user.Click(ScreenPoint(ComSetDlg->CheckBox1, 7, 10));
        ASSERT_TRUE(WaitFor([] { return ComSetDlg->CheckBox1->Checked(); })) << "\"Edit enable\" did not take the click";
        if (byEscape) {
            ASSERT_NO_FATAL_FAILURE(OpenList(user, ComSetDlg->ComComboBox2));
            user.Key("Escape");
            ASSERT_TRUE(WaitFor([] { return !display::ListShown(ComSetDlg->ComComboBox2) && ComSetDlg->Visible(); }));
        } else {
            ASSERT_NO_FATAL_FAILURE(ChooseByClick(user, ComSetDlg->ComComboBox2, String(u"9600")));
        }
        // The other lists' buttons still answer.
        ASSERT_NO_FATAL_FAILURE(OpenList(user, ComSetDlg->ComComboBox3));
        user.Key("Escape");
        ASSERT_TRUE(WaitFor([] { return !display::ListShown(ComSetDlg->ComComboBox3); }));
        display::SaveShot(user.Grab(display::ScreenRect(ComSetDlg)), std::string("port_dialog_") + GetParam().name);
        user.Click(CentreOf(ComSetDlg->CancelBtn));
        ASSERT_TRUE(WaitFor([] { return !ComSetDlg->Visible(); })) << "\"Cancel\" did not close the dialog";
        // The main window answers the next click: the port button opens the port.
        ASSERT_NO_FATAL_FAILURE(OpenThePort(user));
        EXPECT_TRUE(Sent("@CH"));
    });
}

const ListClose kCloses[] = {{"ChosenByClick", false}, {"ClosedByEscape", true}};
INSTANTIATE_TEST_SUITE_P(Lists, PortDialogOnScreen, ::testing::ValuesIn(kCloses), rtl_test::PrintedName());

TEST_F(WorkbenchOnScreen, TheChannelListChosenByClickShowsItsEntryAndIsSent) {
    display::RunAsUser([&](User& user) {
        ASSERT_NO_FATAL_FAILURE(ConfirmAndChooseTheModel(user));
        ASSERT_NO_FATAL_FAILURE(OpenThePort(user));
        ASSERT_TRUE(WaitFor([] { return MainForm->RespReady == 1 && MainForm->PendingCount == 0; }, 10000));
        // The command page, by a click on its tab.
        int page = OnUi([] { return MainForm->TabSheet3->PageIndex(); });
        TRect tab = OnUi([&] { return MainForm->PageControl5->TabRect(page); });
        user.Click(ScreenPoint(MainForm->PageControl5, (tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2));
        ASSERT_TRUE(WaitFor([] { return MainForm->PageControl5->ActivePage() == MainForm->TabSheet3; }));
        ASSERT_TRUE(WaitFor([] { return MainForm->RespReady == 1 && MainForm->PendingCount == 0; }, 10000));
        ASSERT_NO_FATAL_FAILURE(ChooseByClick(user, MainForm->ComboBox1, String(u"0C  12")));
        display::SaveShot(user.Grab(display::ScreenRect(MainForm->GroupBox1)), "channel_chosen");
        user.Click(CentreOf(MainForm->VrDemoButton1));
        EXPECT_TRUE(Sent("@CH0C")) << "sent: " << [&] {
            std::string all;
            for (const auto& l : Lines()) all += l + " ";
            return all;
        }();
    });
}

// Graph files as a user saves them: the dialog starts in the settings file's folder, then in the
// folder last used; a bare name is written there; a save the folder refuses says which file and
// why, and the file already there stays as it was.
TEST_F(WorkbenchOnScreen, GraphFilesAreSavedWhereTheDialogPoints) {
    const std::string folder = dir.Path.string();
    auto dialog = [] { return OnUi([] { return display::ShownForeignDialog(); }); };
    auto saveByKeys = [&](User& user) {
        user.Key("Control_L+s");
        EXPECT_TRUE(WaitFor([] { return display::ShownForeignDialog().Shown; })) << "no save dialog";
        display::Settle();
    };
    display::RunAsUser([&](User& user) {
        ASSERT_NO_FATAL_FAILURE(ConfirmAndChooseTheModel(user));
        ASSERT_NO_FATAL_FAILURE(OpenThePort(user));
        // The air monitor, by a click on its tab; the memo panel names the file.
        int page = OnUi([] { return MainForm->TabSheet1->PageIndex(); });
        TRect tab = OnUi([&] { return MainForm->PageControl1->TabRect(page); });
        user.Click(ScreenPoint(MainForm->PageControl1, (tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2));
        ASSERT_TRUE(WaitFor([] { return MainForm->MeasureMode == 4; }));
        user.Click(CentreOf(MainForm->Edit5));
        user.Key("Control_L+a");
        user.Type("first");
        ASSERT_TRUE(WaitFor([] { return MainForm->Edit5->Text() == String(u"first"); }));

        // The first save: the settings file's folder and the proposed name, as they stand.
        saveByKeys(user);
        display::ForeignDialog shown = dialog();
        EXPECT_EQ(shown.Folder, folder);
        EXPECT_EQ(shown.FileName, "first.AMF");
        EXPECT_EQ(shown.Filters, std::vector<std::string>{"AirMonitor files (*.AMF)"});
        display::SaveShot(user.Grab(user.ScreenSize()), "graph_save_dialog");
        user.Key("Return");
        ASSERT_TRUE(WaitFor([] { return !display::ShownForeignDialog().Shown; })) << "the dialog stays";
        EXPECT_TRUE(rtl::test::Eventually([&] { return std::filesystem::exists(dir.File("first.AMF")); }));

        // The second: the folder of the first, and a bare name typed over the proposed one.
        saveByKeys(user);
        EXPECT_EQ(dialog().Folder, folder);
        user.Key("Control_L+a");
        user.Type("second");
        user.Key("Return");
        ASSERT_TRUE(WaitFor([] { return !display::ShownForeignDialog().Shown; })) << "the dialog stays";
        EXPECT_TRUE(rtl::test::Eventually([&] { return std::filesystem::exists(dir.File("second")); })) << "no file \"second\" in " << folder;
        EXPECT_EQ(OnUi([] { return ui::MessageBoxLog().size(); }), 0u);

        // The folder refuses new files: a save over the first file says so and keeps it.
        const std::string before = rtl_test::ReadAll(dir.File("first.AMF"));
        OnUi([] { MainForm->Edit3->SetText(String(u"changed")); });
        std::unique_ptr<rtl::test::ReadOnlyFolder> readOnly;
        OnUi([&] { readOnly = std::make_unique<rtl::test::ReadOnlyFolder>(folder); });  // the UI thread writes
        saveByKeys(user);
        user.Key("Return");  // the proposed name, "first.AMF"
        // Asked whether to replace it: yes.
        ASSERT_TRUE(WaitFor([] { return display::ShownForeignDialog().Text.find("already exists") != std::string::npos; }))
            << "no question about replacing the file";
        user.Key("y");
        ASSERT_TRUE(WaitFor([] { return ui::MessageBoxLog().size() == 1 && display::ShownForeignDialog().Shown; }))
            << "no message about the failed save";
        const std::string message = dialog().Text;
        display::SaveShot(user.Grab(user.ScreenSize()), "graph_save_failed");
        EXPECT_NE(message.find(dir.File("first.AMF")), std::string::npos) << message;
        EXPECT_NE(message.find("Permission denied"), std::string::npos) << message;
        user.Key("Return");
        ASSERT_TRUE(WaitFor([] { return !display::ShownForeignDialog().Shown; }));
        OnUi([&] { readOnly.reset(); });
        EXPECT_TRUE(rtl_test::ReadAll(dir.File("first.AMF")) == before) << "the earlier file changed";
    });
}

TEST_F(WorkbenchOnScreen, TheVersionBoxOpensCentredOnTheMainWindow) {
    display::RunAsUser([&](User& user) {
        user.Click(CentreOf(Caution1Form->BitBtn1));
        ASSERT_TRUE(WaitFor([] { return !Caution1Form->Visible(); }));
        OnUi([] { MainForm->Version1Click(MainForm); });
        ASSERT_TRUE(WaitFor([] { return VerBoxForm->Visible(); }));
        TRect box, main;
        ASSERT_TRUE(rtl::test::Eventually([&] {
            box = user.ShownRect(VerBoxForm);
            main = user.ShownRect(MainForm);
            return !box.IsEmpty() && !main.IsEmpty();
        }));
        display::Settle();
        box = user.ShownRect(VerBoxForm);
        display::SaveShot(user.Grab(user.ScreenSize()), std::string("version_box") + (display::WindowManagerRunning() ? "_wm" : ""));
        EXPECT_NEAR(Middle(box).X, Middle(main).X, 2) << "box at " << box.Left << "," << box.Top << ", main at " << main.Left << "," << main.Top;
        EXPECT_NEAR(Middle(box).Y, Middle(main).Y, 2) << "box at " << box.Left << "," << box.Top << ", main at " << main.Left << "," << main.Top;
        OnUi([] { VerBoxForm->Close(); });
    });
}

// The connection notice's two lines stand centred in it: the middle of their ink is the middle
// of the notice.
TEST_F(WorkbenchOnScreen, TheNoticeDrawsItsLinesCentred) {
    display::RunAsUser([&](User& user) {
        user.Click(CentreOf(Caution1Form->BitBtn1));
        ASSERT_TRUE(WaitFor([] { return !Caution1Form->Visible(); }));
        OnUi([] {
            Caution2Form->Label1->SetCaption(String(u" Just moment "));
            Caution2Form->Label2->SetCaption(String(u" Try connect now "));
            Caution2Form->Show();
        });
        ASSERT_TRUE(WaitFor([] { return Caution2Form->Showing(); }));
        display::Settle();
        TRect notice = user.ShownRect(Caution2Form);
        ASSERT_FALSE(notice.IsEmpty());
        ui::test::Picture shot = user.Grab(notice);
        display::SaveShot(shot, "connection_notice");
        for (TLabel* label : {Caution2Form->Label1, Caution2Form->Label2}) {
            TRect r = OnUi([&] {
                TPoint o = label->ClientToScreen(Point(0, 0));
                return TRect(o.X - notice.Left, o.Y - notice.Top, o.X - notice.Left + label->Width(), o.Y - notice.Top + label->Height());
            });
            int left = shot.Width, right = -1;
            for (int y = r.Top; y < r.Bottom; ++y)
                for (int x = 0; x < shot.Width; ++x) {
                    int32_t c = shot.At(x, y);
                    if ((c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && ((c >> 16) & 0xFF) < 0x60) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                    }
                }
            ASSERT_GE(right, left) << "no text in " << label->Name().ToUtf8();
            EXPECT_NEAR((left + right + 1) / 2, shot.Width / 2, 3) << label->Name().ToUtf8() << " ink from " << left << " to " << right;
        }
        OnUi([] { Caution2Form->Hide(); });
    });
}

}  // namespace

// The packet generator's track bar, its thumb moved from one end to the other, shows no thumb
// where it was: the thumb's near-white face shows nowhere else on the bar (not on the groove,
// the ticks or the background), in whatever colours focus gives them.
TEST_F(WorkbenchOnScreen, TheTrackBarLeavesNoThumbWhereItWas) {
    auto thumbPixels = [](const ui::test::Picture& p, int from, int to) {
        int n = 0;
        for (int y = 0; y < p.Height; ++y)
            for (int x = from; x < to; ++x) {
                int32_t c = p.At(x, y);
                n += (c & 0xFF) >= 0xF0 && ((c >> 8) & 0xFF) >= 0xF0 && ((c >> 16) & 0xFF) >= 0xF0;
            }
        return n;
    };
    display::RunAsUser([&](User& user) {
        user.Click(CentreOf(Caution1Form->BitBtn1));
        ASSERT_TRUE(WaitFor([] { return !Caution1Form->Visible(); }));
        TTrackBar* bar = OnUi([] { return AssignForm1->TrackBar1; });
        OnUi([&] {
            bar->SetPosition(bar->Max());
            AssignForm1->Show();
            bar->SetFocus();
        });
        ASSERT_TRUE(WaitFor([] { return AssignForm1->Showing(); }));
        display::Settle();
        // Moved by the program, then by a key.
        OnUi([&] { bar->SetPosition(bar->Min()); });
        display::Settle();
        ui::test::Picture atStart = user.Grab(display::ScreenRect(bar));
        display::SaveShot(atStart, "track_bar_moved_to_start");
        user.Key("End");
        ASSERT_TRUE(WaitFor([&] { return OnUi([&] { return bar->Position() == bar->Max(); }); }));
        display::Settle();
        ui::test::Picture atEnd = user.Grab(display::ScreenRect(bar));
        display::SaveShot(atEnd, "track_bar_moved_to_end");
        display::SaveShot(user.Grab(display::ScreenRect(AssignForm1)), "packet_generator");
        const int third = atStart.Width / 3;
        EXPECT_GT(thumbPixels(atStart, 0, third), 20) << "no thumb at the start";
        EXPECT_EQ(thumbPixels(atStart, atStart.Width - third, atStart.Width), 0) << "the thumb stays drawn at the end";
        EXPECT_GT(thumbPixels(atEnd, atEnd.Width - third, atEnd.Width), 20) << "no thumb at the end";
        EXPECT_EQ(thumbPixels(atEnd, 0, third), 0) << "the thumb stays drawn at the start";
        OnUi([] { AssignForm1->Hide(); });
    });
}
