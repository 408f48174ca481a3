#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "platform/ui/testing/TestSupport.h"

namespace {

class FailingForm : public TForm {
public:
    explicit FailingForm(TComponent* owner) : TForm(owner) {
        OnCreate = [this](TObject*) {
            Step = 1;
            throw Exception(u"no icon");
        };
    }
    int Step = 0;
};

}  // namespace

// An exception of OnCreate goes to the application's exception handling; the form is made.
TEST(FormCreate, AnExceptionOfOnCreateIsReportedAndTheFormStands) {
    ui::test::AppScope scope;
    std::string reported;
    TObject* sender = nullptr;
    Application->OnException = [&](TObject* s, Exception& e) {
        sender = s;
        reported = e.Message().ToUtf8();
    };
    FailingForm* form = nullptr;
    Application->CreateForm(form);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Step, 1);
    EXPECT_EQ(reported, "no icon");
    EXPECT_EQ(sender, form);
    Application->DestroyComponents();
}
