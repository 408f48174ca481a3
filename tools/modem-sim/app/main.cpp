// modem-sim: the modem simulator as a program, for running the workbench without a modem.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <thread>

#include "tools/modem-sim/CommandLine.h"

namespace {

// Control characters of a logged line as \r, \n or \xHH, so one command stays one log line.
std::string Printable(const std::string& s) {
    std::string r;
    for (unsigned char c : s) {
        if (c == '\r') r += "\\r";
        else if (c == '\n') r += "\\n";
        else if (c < 0x20 || c >= 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            r += buf;
        } else r += static_cast<char>(c);
    }
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace modemsim;
    ProgramOptions options;
    try {
        options = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "modem-sim: %s\n(modem-sim --help lists the options)\n", e.what());
        return 2;
    }
    if (options.help) {
        std::fputs(Usage().c_str(), stdout);
        return 0;
    }

    // Block the stop signals before any thread starts, so all of them inherit the mask and the
    // main thread alone takes the signal in sigwait.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    if (!options.writePort.empty()) {
        try {
            WritePortSetting(options.iniFile, options.writePort);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "modem-sim: %s\n", e.what());
            return 1;
        }
        std::printf("%s\n", options.writePort.c_str());
        return 0;
    }

    try {
        ModemSim sim(options.sim);
        std::string path;
        if (options.device.empty()) {
            path = sim.OpenPty();
        } else {
            sim.OpenDevice(options.device);
            path = options.device;
        }
        if (options.verbose) {
            auto start = SteadyClock::now();
            sim.SetCommandObserver([start](const LoggedCommand& c) {
                double ms = std::chrono::duration<double, std::milli>(c.time - start).count();
                std::fprintf(stderr, "%10.1f ms  %s -> %s\n", ms, Printable(c.line).c_str(),
                             c.reply.empty() ? "(no reply)" : Printable(c.reply).c_str());
            });
        }
        if (!options.iniFile.empty()) WritePortSetting(options.iniFile, path);
        sim.Start();
        std::printf("%s\n", path.c_str());
        std::fflush(stdout);

        if (options.exitOnEof) {
            // Detached: it may sit in read() when a signal ends the program.
            std::thread([] {
                char buf[256];
                while (read(STDIN_FILENO, buf, sizeof buf) > 0) {
                }
                kill(getpid(), SIGTERM);
            }).detach();
        }
        int signal = 0;
        sigwait(&stopSignals, &signal);
        sim.Stop();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "modem-sim: %s\n", e.what());
        return 1;
    }
    return 0;
}
