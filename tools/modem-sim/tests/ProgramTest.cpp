// Runs the built modem-sim program as a user or the run script would.
#include <gtest/gtest.h>

#include <fstream>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/rtl/tests/TempDir.h"
#include "tools/modem-sim/tests/LineClient.h"

extern char** environ;

namespace modemsim {
namespace {

using namespace std::chrono_literals;
using test::LineClient;

// The program with pipes on its standard input, output and error.
class Program {
public:
    explicit Program(std::vector<std::string> args) {
        args.insert(args.begin(), MODEM_SIM_EXE);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        int in[2], out[2], err[2];
        if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) posix_spawn_file_actions_addclose(&actions, fd);
        if (posix_spawn(&FPid, MODEM_SIM_EXE, &actions, nullptr, argv.data(), environ) != 0)
            throw std::runtime_error("cannot start " MODEM_SIM_EXE);
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        close(err[1]);
        FIn = in[1];
        FOut = out[0];
        FErr = err[0];
    }
    ~Program() {
        if (FPid > 0) {
            kill(FPid, SIGKILL);
            Wait(3s);
        }
        for (int fd : {FIn, FOut, FErr})
            if (fd >= 0) close(fd);
    }

    // Standard output up to the first line end.
    std::string FirstLine(std::chrono::milliseconds timeout = 5s) { return ReadUntil(FOut, '\n', timeout); }
    std::string AllOutput(std::chrono::milliseconds timeout = 5s) { return ReadUntil(FOut, '\0', timeout); }
    std::string AllErrors(std::chrono::milliseconds timeout = 5s) { return ReadUntil(FErr, '\0', timeout); }
    void CloseInput() {
        close(FIn);
        FIn = -1;
    }
    void Signal(int sig) { kill(FPid, sig); }

    // Exit status, or -1 when the program did not end in time (or ended by a signal).
    int Wait(std::chrono::milliseconds timeout = 5s) {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            int status = 0;
            pid_t r = waitpid(FPid, &status, WNOHANG);
            if (r == FPid) {
                FPid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            if (std::chrono::steady_clock::now() > deadline) return -1;
            std::this_thread::sleep_for(2ms);
        }
    }

private:
    // Reads until `stop` (included) or end of file; '\0' reads to end of file.
    static std::string ReadUntil(int fd, char stop, std::chrono::milliseconds timeout) {
        std::string got;
        auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 50) != 1) continue;
            char c;
            if (read(fd, &c, 1) != 1) break;  // end of file
            got += c;
            if (stop != '\0' && c == stop) break;
        }
        return got;
    }

    pid_t FPid = -1;
    int FIn = -1, FOut = -1, FErr = -1;
};

TEST(ProgramTest, PrintsADevicePathAndAnswersATerminalClient) {
    Program program({"--level", "27=-77", "--baud", "19200"});
    std::string line = program.FirstLine();
    ASSERT_FALSE(line.empty()) << "no device path printed";
    ASSERT_EQ(line.back(), '\n');
    std::string path = line.substr(0, line.size() - 1);
    EXPECT_EQ(path.rfind("/dev/", 0), 0u) << path;
    {
        LineClient client(path);
        EXPECT_EQ(client.Exchange("@CH"), "*CH=1B\r\n");
        EXPECT_EQ(client.Exchange("@RA"), "*RA=-77dBm\r\n");
        EXPECT_EQ(client.Exchange("@CH07"), "*CH=07\r\n");
        EXPECT_EQ(client.Exchange("@MO"), "*MO=03\r\n");
    }
    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait(), 0);
}

TEST(ProgramTest, StopsOnInterruptAndOnEndOfInputWhenAsked) {
    Program interrupted({});
    ASSERT_FALSE(interrupted.FirstLine().empty());
    interrupted.Signal(SIGINT);
    EXPECT_EQ(interrupted.Wait(), 0);

    Program piped({"--exit-on-eof"});
    ASSERT_FALSE(piped.FirstLine().empty());
    piped.CloseInput();
    EXPECT_EQ(piped.Wait(), 0);
}

TEST(ProgramTest, HelpAndBadOptions) {
    Program help({"--help"});
    std::string usage = help.AllOutput();
    EXPECT_EQ(help.Wait(), 0);
    EXPECT_EQ(usage.rfind("Usage: modem-sim", 0), 0u) << usage;

    Program bad({"--latency", "soon"});
    std::string errors = bad.AllErrors();
    EXPECT_EQ(bad.Wait(), 2);
    EXPECT_NE(errors.find("--latency"), std::string::npos) << errors;

    Program missing({"--device", "/nonexistent/ttyS9"});
    errors = missing.AllErrors();
    EXPECT_EQ(missing.Wait(), 1);
    EXPECT_NE(errors.find("/nonexistent/ttyS9"), std::string::npos) << errors;
}

// The run script points the workbench at the simulator through its settings file: the port is
// written through the ini code, and every other key and comment stays.
TEST(ProgramTest, WritesThePortIntoTheWorkbenchSettings) {
    rtl_test::TempDir dir("modem-sim-ini");
    const std::string ini = dir.File("workbench.ini");
    {
        std::ofstream out(ini, std::ios::binary);
        out << "; mine\r\n[Information]\r\ndestination=Japan\r\n[ComPort1]\r\n; the port\r\nPort=ttyS0\r\nBaudRate=19200\r\n";
    }
    Program served({"--ini", ini});
    std::string line = served.FirstLine();
    ASSERT_FALSE(line.empty());
    const std::string path = line.substr(0, line.size() - 1);
    std::string text = rtl_test::ReadAll(ini);
    EXPECT_NE(text.find("Port=" + path + "\r\n"), std::string::npos) << text;
    for (const char* kept : {"; mine", "destination=Japan", "; the port", "BaudRate=19200"})
        EXPECT_NE(text.find(kept), std::string::npos) << kept;
    EXPECT_EQ(text.find("ttyS0"), std::string::npos);
    served.Signal(SIGTERM);
    EXPECT_EQ(served.Wait(), 0);

    Program named({"--ini", ini, "--write-port", "ttyUSB0"});
    EXPECT_EQ(named.AllOutput(), "ttyUSB0\n");
    EXPECT_EQ(named.Wait(), 0);
    text = rtl_test::ReadAll(ini);
    EXPECT_NE(text.find("Port=ttyUSB0\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("destination=Japan"), std::string::npos);

    // A fresh file is made; the port alone needs a file to go to.
    const std::string fresh = dir.File("fresh.ini");
    Program created({"--ini", fresh, "--write-port", "ttyACM0"});
    EXPECT_EQ(created.Wait(), 0);
    EXPECT_EQ(rtl_test::ReadAll(fresh), "[ComPort1]\r\nPort=ttyACM0\r\n");
    Program alone({"--write-port", "ttyUSB0"});
    EXPECT_NE(alone.AllErrors().find("--ini"), std::string::npos);
    EXPECT_EQ(alone.Wait(), 2);
}

}  // namespace
}  // namespace modemsim
