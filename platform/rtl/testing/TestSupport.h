#pragma once
// Helpers shared by the tests of every layer.
#include <functional>
#include <string>

namespace rtl::test {

// Real-time wait for something another thread (or the loop that `step` runs) brings about: checks
// the condition, runs step (by default a 1 ms sleep) and checks again until the condition holds or
// ms have passed. A generous bound, never the point of a test: every wait of a test has one, so
// a fault fails the test instead of hanging it.
bool Eventually(const std::function<bool()>& condition, int ms = 5000, const std::function<void()>& step = nullptr);

// For a wait the test cannot walk away from (a thread that depends on it is joined next): at the
// deadline it reports what it waited for and ends the program, so the test fails instead of
// hanging.
void Await(const std::function<bool()>& condition, const char* what, int ms = 10000, const std::function<void()>& step = nullptr);

// While it lives, the folder takes no new files from the thread that made it: its mode is 0555,
// and a thread running as root (whom modes do not stop) writes as an unprivileged user meanwhile
// (a thread's own filesystem user, which also drops its file capabilities). The thread must
// destroy it.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    std::string FPath;
    unsigned FMode = 0;
    int FFsUid = -1;
};

// IsLibrary() answers true for the life of the scope (one test), as in a library module.
class LibraryModuleScope {
public:
    LibraryModuleScope();
    ~LibraryModuleScope();
    LibraryModuleScope(const LibraryModuleScope&) = delete;
    LibraryModuleScope& operator=(const LibraryModuleScope&) = delete;
};

}  // namespace rtl::test
