// The workbench: the start-up notice over the main window, then the message loop until the
// window closes.
#include "app/Caution1.h"
#include "app/Main.h"
#include "app/Workbench.h"

int main() {
    CreateWorkbenchForms();
    MainForm->Show();
    Caution1Form->Show();
    Application->Run();
    return 0;
}
