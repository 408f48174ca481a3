// The print dialog works on the printer, which needs the desktop's print system.
#include <gtest/gtest.h>

#include "platform/ui/Dialogs.h"
#include "platform/ui/Printers.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

class DialogsTest : public ui::test::AppTest {
protected:
    void TearDown() override { ui::SetCommonDialogHook(nullptr); }
};

}  // namespace

TEST_F(DialogsTest, PrintDialogAnswerSelectsThePrinter) {
    TPrintDialog dlg(nullptr);
    ui::SetCommonDialogHook([](TCommonDialog& d) {
        EXPECT_EQ(d.Kind(), TDialogKind::Print);
        Printer()->SetPrinterIndex(Printer()->PdfPrinterIndex());
        Printer()->SetOrientation(poLandscape);
        dynamic_cast<TPrintDialog&>(d).SetCopies(2);
        return true;
    });
    ASSERT_TRUE(dlg.Execute());
    EXPECT_EQ(dlg.Copies(), 2);
    EXPECT_EQ(Printer()->PrinterIndex(), Printer()->PdfPrinterIndex());
    EXPECT_EQ(Printer()->Orientation(), poLandscape);
    Printer()->SetOrientation(poPortrait);
    Printer()->SetPrinterIndex(-1);
}
