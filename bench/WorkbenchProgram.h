#pragma once
// The workbench's forms for a benchmark: made as the program makes them, in a folder of their
// own with a settings file naming the port, and one idle pass as the loop runs it.
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/Main.h"
#include "app/Workbench.h"
#include "platform/rtl/Threads.h"

namespace benchwb {

class Program {
public:
    explicit Program(const std::string& port) {
        char tmpl[] = "/tmp/rwb-bench-XXXXXX";
        if (!mkdtemp(tmpl)) std::abort();
        FDir = tmpl;
        std::ofstream(FDir + "/workbench.ini") << "[Information]\r\ndestination=Japan\r\n[ComPort1]\r\nPort=" << port
                                               << "\r\n";
        SetProgramPathForTests(String(FDir + "/workbench"));
        CreateWorkbenchForms();  // stops at the missing icon: the link stands by then
        MainForm->CommandOut(0);
    }
    ~Program() {
        Application->DestroyComponents();
        std::filesystem::remove_all(FDir);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    TMainForm* Form() const { return MainForm; }

private:
    std::string FDir;
};

// One idle pass as the loop runs it: the main thread's queued work, then the idle event.
inline int Pass() {
    CheckSynchronize(0);
    bool done = false;
    MainForm->ApplicationEvents1Idle(MainForm, done);
    return 1;
}

}  // namespace benchwb
