// End to end on a pseudo-terminal: a peer thread on the master side echoes everything back.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

#include "serial/tests/PortTestUtil.h"

using namespace porttest;

namespace {

class EchoPeer {
public:
    EchoPeer() {
        FMaster = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (FMaster < 0 || grantpt(FMaster) != 0 || unlockpt(FMaster) != 0) return;
        FSlave = ptsname(FMaster);
        FThread = std::thread([this] { Run(); });
    }
    ~EchoPeer() {
        FStop = true;
        if (FThread.joinable()) FThread.join();
        if (FMaster >= 0) ::close(FMaster);
    }
    const std::string& Slave() const { return FSlave; }

private:
    void Run() {
        char buf[4096];
        while (!FStop) {
            pollfd p{FMaster, POLLIN, 0};
            if (::poll(&p, 1, 10) <= 0 || !(p.revents & POLLIN)) continue;
            ssize_t n = ::read(FMaster, buf, sizeof buf);
            for (ssize_t done = 0; n > 0 && done < n && !FStop;) {
                ssize_t w = ::write(FMaster, buf + done, static_cast<size_t>(n - done));
                if (w > 0) done += w;
            }
        }
    }
    int FMaster = -1;
    std::string FSlave;
    std::thread FThread;
    std::atomic<bool> FStop{false};
};

// The workbench's settings, as its form holds them, in every delivery mode. Where the handlers
// run on the main thread, it keeps its loop going and keeps fewer lines in flight than the small
// queues hold: a blocking write on the thread that must also read would otherwise wait for itself.
TEST(PortPty, TenThousandEchoedLinesArriveCompleteAndInOrder) {
    for (TSyncMethod method : {smNone, smThreadSync, smWindowSync}) {
        SCOPED_TRACE(testing::Message() << "mode " << static_cast<int>(method));
        EchoPeer peer;
        ASSERT_FALSE(peer.Slave().empty());
        TComPort port(nullptr);
        port.SetPort(String(peer.Slave()));
        port.SetBaudRate(br19200);
        port.SetEvents({evRxChar, evTxEmpty, evCTS, evDSR, evError});
        port.Buffer()->SetInputSize(512);
        port.Buffer()->SetOutputSize(512);
        port.FlowControl()->SetOutCTSFlow(true);
        port.FlowControl()->SetControlDTR(dtrEnable);
        port.FlowControl()->SetControlRTS(rtsHandshake);
        port.Timeouts()->SetReadTotalConstant(3000);
        port.Timeouts()->SetWriteTotalMultiplier(0);
        port.Timeouts()->SetWriteTotalConstant(3000);
        port.SetSyncMethod(method);

        std::mutex mutex;
        std::string received;
        std::atomic<int> errors{0};
        port.OnRxChar = [&](TPersistent*, int count) {
            String s;
            int n = port.ReadStr(s, count);
            std::lock_guard<std::mutex> g(mutex);
            for (int i = 0; i < n; ++i) received.push_back(static_cast<char>(s[static_cast<size_t>(i)]));
        };
        port.OnError = [&](TPersistent*, TComErrors) { ++errors; };
        port.Open();

        auto receivedSize = [&] {
            std::lock_guard<std::mutex> g(mutex);
            return received.size();
        };
        auto serve = [&] {
            if (method == smNone) return;
            CheckSynchronize(1);
            win::ProcessSentMessages();
        };
        std::string sent;
        char line[32];
        for (int i = 0; i < 10000; ++i) {
            std::snprintf(line, sizeof line, "line %05d\r\n", i);
            sent += line;
            if (method != smNone) {
                auto start = std::chrono::steady_clock::now();
                while (sent.size() - receivedSize() > 256 && std::chrono::steady_clock::now() - start < std::chrono::seconds(10))
                    serve();
            }
            ASSERT_EQ(port.WriteStr(String(line)), 12) << i;
        }
        EXPECT_TRUE(Eventually([&] {
            serve();
            return receivedSize() >= sent.size();
        }, 60000));
        port.Close();
        EXPECT_EQ(received.size(), sent.size());
        EXPECT_TRUE(received == sent);
        EXPECT_EQ(errors.load(), 0);
    }
}

// The peer hangs up while a batch waits for the main thread: the port still reports the I/O
// error, every time, whatever the delivery mode. The receive step of the waiting batch asks the
// device for its queue count, which takes the error word with it.
TEST(PortPty, AHangUpIsReportedEveryTimeInEveryDeliveryMode) {
    for (TSyncMethod method : {smThreadSync, smWindowSync, smNone}) {
        for (int run = 0; run < 20; ++run) {
            SCOPED_TRACE(testing::Message() << "mode " << static_cast<int>(method) << " run " << run);
            int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
            ASSERT_GE(master, 0);
            ASSERT_EQ(grantpt(master), 0);
            ASSERT_EQ(unlockpt(master), 0);
            TComPort port(nullptr);
            port.SetPort(String(std::string(ptsname(master))));
            port.SetEvents({evRxChar, evError});
            port.SetSyncMethod(method);
            BatchHold hold(method);
            std::atomic<int> ioErrors{0};
            port.OnRxChar = [&](TPersistent*, int) { hold.InHandler(); };
            port.OnError = [&](TPersistent*, TComErrors e) {
                if (e.Contains(ceIO)) ++ioErrors;
            };
            port.Open();
            ASSERT_EQ(::write(master, "x", 1), 1);
            ASSERT_TRUE(Eventually([&] { return hold.Waiting(); }));
            ::close(master);
            // The port has seen the hang-up once it refuses writes.
            ASSERT_TRUE(Eventually([&] {
                DWORD n = 0;
                return !WriteFile(port.Handle(), "", 0, &n, nullptr) && GetLastError() == ERROR_DEVICE_NOT_CONNECTED;
            }));
            hold.Release();
            ASSERT_TRUE(Eventually([&] {
                BatchHold::Serve();
                return ioErrors.load() > 0;
            }, 2000));
            port.Close();
        }
    }
}

}  // namespace
