// Runs the built modem-sim program as a user or the run script would.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

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

}  // namespace
}  // namespace modemsim
