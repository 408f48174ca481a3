// The terminal of the control-and-test page: one echo line inserted into the monitor as it fills
// toward its 300000-character limit, and the 200-character code display.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/Main.h"
#include "app/Workbench.h"

namespace {

class Program {
public:
    Program() {
        char tmpl[] = "/tmp/rwb-bench-XXXXXX";
        if (!mkdtemp(tmpl)) std::abort();
        FDir = tmpl;
        std::ofstream(FDir + "/workbench.ini") << "[Information]\r\ndestination=Japan\r\n";
        SetProgramPathForTests(String(FDir + "/workbench"));
        CreateWorkbenchForms();
    }
    ~Program() {
        Application->DestroyComponents();
        std::filesystem::remove_all(FDir);
    }

private:
    std::string FDir;
};

// A line as the sender echoes it ("@DT0APPPPPPPPPP" and CR LF), into a monitor already holding
// state.range(0) characters of such lines, as a terminal fills line by line: each echo is
// taken out again untimed, so the monitor stays at its size. The cost per line should not grow
// with the text.
void EchoLine(benchmark::State& state) {
    Program program;
    TMemo* memo = MainForm->Memo1;
    const String line(u"@DT0APPPPPPPPPP\r\n");
    String filled;
    while (filled.Length() + line.Length() <= state.range(0)) filled += line;
    memo->SetText(filled);
    MainForm->MemoInsert(memo, line);  // the first echo after the program's write
    memo->SetSelStart(filled.Length());
    memo->SetSelLength(line.Length());
    memo->SetSelText(String());
    for (auto _ : state) {
        memo->SetSelStart(filled.Length());
        MainForm->MemoInsert(memo, line);
        state.PauseTiming();
        memo->SetSelStart(filled.Length());
        memo->SetSelLength(line.Length());
        memo->SetSelText(String());
        state.ResumeTiming();
    }
    state.counters["chars"] = filled.Length();
}
BENCHMARK(EchoLine)->Arg(1000)->Arg(100000)->Arg(299000)->Unit(benchmark::kMicrosecond);

void CodeDisplay(benchmark::State& state) {
    Program program;
    MainForm->Memo1->SetText(String(std::string(5000, 'A')));
    for (auto _ : state) MainForm->VrDemoButton48Click(MainForm->VrDemoButton48);
}
BENCHMARK(CodeDisplay)->Unit(benchmark::kMicrosecond);

}  // namespace
