#include "display/desktop/DesktopPeer.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

extern char** environ;

namespace desktop {

Peer::Peer(const std::vector<std::string>& args) {
    // A peer that has ended must not end the test program when it is told to stop.
    signal(SIGPIPE, SIG_IGN);
    std::vector<char*> argv;
    std::string exe = DESKTOP_PEER_EXE;
    argv.push_back(exe.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    for (int fd : {in[0], in[1], out[0], out[1]}) posix_spawn_file_actions_addclose(&actions, fd);
    int failed = posix_spawn(&FPid, exe.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    FIn = in[1];
    FOut = out[0];
    if (failed) {
        FPid = -1;
        throw std::runtime_error("cannot start " + exe);
    }
}

Peer::~Peer() {
    Stop();
    if (FOut >= 0) close(FOut);
}

std::string Peer::Line(std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        size_t nl = FBuffer.find('\n');
        if (nl != std::string::npos) {
            std::string line = FBuffer.substr(0, nl);
            FBuffer.erase(0, nl + 1);
            return line;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || FOut < 0) return std::string();
        pollfd p{FOut, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        char buf[4096];
        ssize_t n = read(FOut, buf, sizeof buf);
        if (n <= 0) {
            close(FOut);
            FOut = -1;
            continue;
        }
        FBuffer.append(buf, static_cast<size_t>(n));
    }
}

std::string Peer::LineStarting(const std::string& prefix, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return std::string();
        std::string line = Line(left);
        if (line.rfind(prefix, 0) == 0) return line;
        if (line.empty() && FOut < 0) return std::string();
    }
}

bool Peer::Data(std::vector<PeerPart>& parts, std::chrono::milliseconds timeout) {
    parts.clear();
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        std::string line = Line(left);
        if (line == "end") return true;
        if (line.empty() && FOut < 0) return false;
        size_t tab = line.find('\t');
        if (tab != std::string::npos) parts.push_back({line.substr(0, tab), FromBase64(line.substr(tab + 1))});
    }
}

void Peer::Stop() {
    if (FIn >= 0) {
        (void)!write(FIn, "stop\n", 5);
        close(FIn);
        FIn = -1;
    }
    if (FPid <= 0) return;
    for (int i = 0; i < 100; ++i) {
        if (waitpid(FPid, nullptr, WNOHANG) == FPid) {
            FPid = -1;
            return;
        }
        usleep(20000);
    }
    Kill();
}

void Peer::Kill() {
    if (FIn >= 0) {
        close(FIn);
        FIn = -1;
    }
    if (FPid <= 0) return;
    kill(FPid, SIGKILL);
    waitpid(FPid, nullptr, 0);
    FPid = -1;
}

namespace {

bool Xdotool(std::vector<std::string> args) {
    std::string exe = DESKTOP_XDOTOOL_EXE;
    std::vector<char*> argv{exe.data()};
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return false;
    for (int i = 0; i < 500; ++i) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return false;
}

}  // namespace

bool PointerTo(int x, int y) { return Xdotool({"mousemove", std::to_string(x), std::to_string(y)}); }
bool PointerButton(bool down) { return Xdotool({down ? "mousedown" : "mouseup", "1"}); }

namespace {
const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
}

std::string Base64(const std::string& bytes) {
    std::string out;
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) | (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                     static_cast<unsigned char>(bytes[i + 2]);
        for (int k = 18; k >= 0; k -= 6) out.push_back(kAlphabet[(v >> k) & 63]);
    }
    if (i < bytes.size()) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out.push_back(kAlphabet[(v >> 18) & 63]);
        out.push_back(kAlphabet[(v >> 12) & 63]);
        out.push_back(i + 1 < bytes.size() ? kAlphabet[(v >> 6) & 63] : '=');
        out.push_back('=');
    }
    return out;
}

std::string FromBase64(const std::string& text) {
    std::string out;
    unsigned v = 0;
    int bits = 0;
    for (char c : text) {
        const char* p = c ? std::char_traits<char>::find(kAlphabet, 64, c) : nullptr;
        if (!p) continue;
        v = (v << 6) | static_cast<unsigned>(p - kAlphabet);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<char>((v >> bits) & 0xFF));
        }
    }
    return out;
}

const PeerPart* Find(const std::vector<PeerPart>& parts, const std::string& type) {
    for (const PeerPart& p : parts)
        if (p.Type == type) return &p;
    return nullptr;
}

}  // namespace desktop
