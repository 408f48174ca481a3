#include "app/Workbench.h"

#include <exception>

#include "app/AssignForm.h"
#include "app/Caution1.h"
#include "app/Caution2.h"
#include "app/Caution3.h"
#include "app/ComSetDialog.h"
#include "app/Conversion.h"
#include "app/HexKeyForm.h"
#include "app/IPSetting1.h"
#include "app/ImageSel1.h"
#include "app/ImageView1.h"
#include "app/KeyForm.h"
#include "app/Main.h"
#include "app/OptionBox.h"
#include "app/VerBox.h"
#include "platform/rtl/Threads.h"
#include "serial/CPort.h"

void CreateWorkbenchForms() {
    Application->Initialize();
    // An exception of a port handler on the port's event thread reaches the application's
    // exception event on the main thread, as any other would.
    SetComApplicationExceptionHandler([](TPersistent*, std::exception_ptr e) {
        TThread::Queue(nullptr, [e] {
            try {
                std::rethrow_exception(e);
            } catch (...) {
                Application->HandleException(nullptr);
            }
        });
    });
    Application->SetTitle(String("TQW-560R - Evaluation software program"));
    Application->CreateForm(MainForm);
    Application->CreateForm(Caution1Form);
    Application->CreateForm(VerBoxForm);
    Application->CreateForm(ImageSelectForm1);
    Application->CreateForm(OptionBoxForm);
    Application->CreateForm(IPSettingForm1);
    Application->CreateForm(Caution2Form);
    Application->CreateForm(AssignForm1);
    Application->CreateForm(OKBottomDlg1);
    Application->CreateForm(ComSetDlg);
    Application->CreateForm(ConversionForm1);
    Application->CreateForm(ImageViewForm1);
    Application->CreateForm(KeyForm1);
    Application->CreateForm(HexKeyForm1);
}
