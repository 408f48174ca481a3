#pragma once
// The air monitor in a test: the workbench on a simulated port, opened, with the model chosen,
// and helpers that read the commands it sends one line at a time and answer them.
#include <cstdio>

#include "app/tests/WorkbenchTestSupport.h"

namespace wbtest {

inline std::string Hex2(int v) {
    char b[4];
    std::snprintf(b, sizeof b, "%02X", v & 0xFF);
    return b;
}

class MonitorTest : public LinkTest {
protected:
    size_t readPos = 0;

    void SetUp() override {
        LinkTest::SetUp();
        OpenQuietly();
        readPos = 0;
    }
    // The next line the port wrote, without its CR LF; empty when none came.
    std::string NextLine() {
        size_t end = std::string::npos;
        if (!Settle([&] {
                Sent();
                end = sent.find("\r\n", readPos);
                return end != std::string::npos;
            }, 3000))
            return std::string();
        std::string line = sent.substr(readPos, end - readPos);
        readPos = end + 2;
        return line;
    }
    // No further line within a few passes.
    bool NothingSent() {
        for (int i = 0; i < 20; ++i) {
            CheckSynchronize(0);
            Passes(1);
        }
        Sent();
        return sent.size() == readPos;
    }
    // The air monitor tab shown on its page (0 frequency, 1 time), the "@CH" of the change answered.
    void EnterAirMonitor(int page) {
        MainForm->PageControl2->SetActivePage(page == 0 ? MainForm->TabSheet5 : MainForm->TabSheet6);
        bool allow = true;
        MainForm->PageControl1Changing(MainForm->PageControl1, allow);
        MainForm->PageControl1->SetActivePage(MainForm->TabSheet1);
        MainForm->PageControl1Change(MainForm->PageControl1);
        ASSERT_EQ(NextLine(), "@CH");
        Reply("*CH=1B\r\n");
    }
    // An "RA" reply of a level.
    static std::string Ra(int level) { return "*RA=" + std::to_string(level) + "dBm\r\n"; }
    std::string Log2() { return Utf8(MainForm->Memo2->Text()); }
};

}  // namespace wbtest
