#pragma once
// The workbench in a test: a folder of its own that holds the program's settings file (and icon),
// the forms made as the program makes them, and helpers to feed the link and read what it shows.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <atomic>
#include <chrono>
#include <functional>

#include "app/Caution1.h"
#include "app/Main.h"
#include "app/Workbench.h"
#include "controls/instrument/MvFlashT.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/tests/TempDir.h"
#include "platform/ui/testing/TestSupport.h"
#include "platform/win/CommSim.h"
#include "platform/win/Window.h"
#include "serial/tests/PortTestUtil.h"

namespace wbtest {

// The shipped settings file with a port of the test's choice.
inline std::string SettingsWithPort(const std::string& port) {
    std::ifstream in(std::string(RWB_SHIPPED_DIR) + "/workbench.ini", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    const std::string key = "Port=ttyS0";
    size_t at = text.find(key);
    if (at != std::string::npos) text.replace(at, key.size(), "Port=" + port);
    return text;
}

inline std::string Utf8(const String& s) { return s.ToUtf8(); }

class Workbench : public ::testing::Test {
protected:
    ui::test::AppScope scope;
    rtl_test::TempDir dir{"rwb-workbench"};
    std::optional<rtl::ScopedManualClock> clock;

    // The folder's settings file; no call leaves the program without one.
    void WriteSettings(const std::string& text) {
        std::ofstream out(dir.File("workbench.ini"), std::ios::binary);
        out << text;
    }
    void CopyIcon() {
        std::filesystem::copy_file(std::string(RWB_SHIPPED_DIR) + "/Workbench.ico", dir.File("Workbench.ico"),
                                   std::filesystem::copy_options::overwrite_existing);
    }
    std::string ReadSettings() { return rtl_test::ReadAll(dir.File("workbench.ini")); }

    // Makes the forms as the program does, with the program in the test's folder.
    void Start() {
        // The version box's picture is beside the program whatever a test leaves out; a test of a
        // missing picture names another file.
        std::filesystem::copy_file(std::string(RWB_SHIPPED_DIR) + "/VersionBox.png", dir.File("VersionBox.png"),
                                   std::filesystem::copy_options::skip_existing);
        win::ResetMessageBeeps();
        ui::ClearMessageBoxLog();
        SetProgramPathForTests(String(dir.File("workbench")));
        CreateWorkbenchForms();
        ASSERT_NE(MainForm, nullptr);
    }
    // The shipped settings with a simulated port, the icon, the forms, and the model chosen.
    void StartWithModel(const String& port) {
        WriteSettings(SettingsWithPort(Utf8(port)));
        CopyIcon();
        Start();
        ChooseModel();
    }
    void ChooseModel() {
        MainForm->ComboBox5->SetEnabled(true);
        MainForm->ComboBox5->SetItemIndex(0);
        MainForm->ComboBox5Change(MainForm->ComboBox5);
    }

    void TearDown() override {
        // The forms go as the program's end frees them; their windows close their port first.
        Application->DestroyComponents();
        StopFlashTimer();
        SetProgramPathForTests(String());
        clock.reset();
    }

    // Idle passes as the loop runs them, one at a time.
    void Passes(int n) {
        bool done = false;
        for (int i = 0; i < n; ++i) MainForm->ApplicationEvents1Idle(MainForm, done);
    }
    // Puts characters into the ring as the receive event does.
    void Feed(const std::string& bytes) {
        std::u16string chars;
        for (unsigned char c : bytes) chars.push_back(c);
        MainForm->RxRing.Push(chars.data(), chars.size());
    }
    // Passes until the ring is empty. A parser state that takes no character runs only while one
    // waits, so a frame ends with the character after it (the modem's CR LF).
    void Drain(int limit = 100000) {
        for (int i = 0; i < limit && MainForm->RingCount() > 0; ++i) Passes(1);
    }

    std::string Memo1() { return Utf8(MainForm->Memo1->Text()); }
    std::string Panel(int i) { return Utf8(MainForm->StatusBar1->Panels()->Items(i)->Text()); }
    std::vector<std::string> Messages() {
        std::vector<std::string> r;
        for (const auto& m : ui::MessageBoxLog()) r.push_back(Utf8(m.Text));
        return r;
    }
};

using porttest::Eventually;

// Runs act inside the form's modal loop, once the form shows.
inline void WhenModal(TCustomForm* form, std::function<void()> act) {
    form->OnShow = [form, act](TObject*) {
        TThread::Queue(nullptr, act);
        form->OnShow = nullptr;  // frees this handler: nothing of it is used after
    };
}

inline String UniqueDevice() {
    static std::atomic<int> n{0};
    return String("SIMWB" + std::to_string(getpid()) + "_" + std::to_string(++n));
}

// The workbench on a simulated serial device, on the manual clock, with the model chosen.
class LinkTest : public Workbench {
protected:
    String device = UniqueDevice();
    std::shared_ptr<win::SimDevice> sim = win::SimDevice::Register(device);
    std::string sent;  // everything the port wrote so far

    void SetUp() override {
        clock.emplace(1000);
        StartWithModel(device);
    }
    void TearDown() override {
        Workbench::TearDown();
        sim.reset();
    }
    // The port button, as the user presses it.
    void PortButton() { MainForm->VrDemoButton3Click(MainForm->VrDemoButton3); }
    // What the port wrote since the last call.
    std::string Sent() {
        std::string now = sim->TakeWritten();
        sent += now;
        return now;
    }
    // Runs the main thread's queued work and idle passes until cond holds.
    bool Settle(const std::function<bool()>& cond, int ms = 5000) {
        return Eventually([&] {
            CheckSynchronize(0);
            Passes(1);
            return cond();
        }, ms);
    }
    // The modem answers: the bytes arrive through the port's receive event; the passes run until
    // the parser has taken them all.
    void Reply(const std::string& bytes) {
        const int before = MainForm->RingCount();
        sim->Send(bytes);
        ASSERT_TRUE(Eventually([&] { return MainForm->RingCount() >= before + static_cast<int>(bytes.size()); }));
        CheckSynchronize(0);
        Drain();
    }
    // Opens the port, lets the first command out and answers it; nothing else queued, the line
    // free again, what was sent forgotten.
    void OpenQuietly() {
        OpenAndSendFirst();
        MainForm->CommandOut(0);
        Reply("*CH=1B\r\n");
        ASSERT_TRUE(Eventually([&] { return MainForm->TxReady == 1; }));
        Sent();
        sent.clear();
    }
    // Opens the port and lets the first command out.
    void OpenAndSendFirst() {
        PortButton();
        ASSERT_TRUE(MainForm->ComPort1->Connected());
        ASSERT_TRUE(Settle([&] { Sent(); return sent.find("@CH\r\n") != std::string::npos; }));
    }
};

}  // namespace wbtest
