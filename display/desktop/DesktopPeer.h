#pragma once
// The desktop peer (another program, made with the tests) run beside the test program: its
// standard output read line by line with a time limit, its standard input to tell it to stop.
#include <chrono>
#include <string>
#include <vector>

namespace desktop {

struct PeerPart {
    std::string Type;
    std::string Bytes;
};

class Peer {
public:
    explicit Peer(const std::vector<std::string>& args);
    ~Peer();
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;

    // The next line of its output; empty when none came in time or it ended.
    std::string Line(std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // Lines until one that starts with prefix (which is answered); empty when none came in time.
    std::string LineStarting(const std::string& prefix, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // Data lines ("type<TAB>base64") until "end"; false when "end" did not come in time.
    bool Data(std::vector<PeerPart>& parts, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    void Stop();
    void Kill();

private:
    int FPid = -1;
    int FIn = -1, FOut = -1;
    std::string FBuffer;
};

// The pointer of the X server, moved and pressed through its test extension by xdotool (found at
// configure time); false when xdotool failed or did not end in time.
bool PointerTo(int x, int y);
bool PointerButton(bool down);

std::string Base64(const std::string& bytes);
std::string FromBase64(const std::string& text);
// The part of the type, or nullptr.
const PeerPart* Find(const std::vector<PeerPart>& parts, const std::string& type);

}  // namespace desktop
