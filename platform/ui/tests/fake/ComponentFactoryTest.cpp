// The factory's form case (OnCreate once, with CreateForm's reference and main form set) and the
// debug check at the first message of a control made without its second phase.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/testing/Fixtures.h"

namespace {

std::vector<std::string> gLog;

class CountedForm : public TForm {
public:
    explicit CountedForm(TComponent* owner) : TForm(owner) {
        OnCreate = [this](TObject*) {
            ++Creates;
            MainFormAtCreate = Application->MainForm();
        };
    }
    int Creates = 0;
    TCustomForm* MainFormAtCreate = nullptr;
};

// Its second phase fails after OnCreate ran.
class FailingForm : public TForm {
public:
    explicit FailingForm(TComponent* owner) : TForm(owner) {
        OnCreate = [](TObject*) { gLog.push_back("create"); };
        OnDestroy = [](TObject*) { gLog.push_back("destroy"); };
    }
    ~FailingForm() override { gLog.push_back("destructor"); }

protected:
    void AfterConstruction() override {
        TForm::AfterConstruction();
        throw EComponentError(String("no layout"));
    }
};

// Chooses its inner control in the second phase.
class Framed : public TCustomControl {
public:
    explicit Framed(TComponent* owner) : TCustomControl(owner) { RequireAfterConstruction(); }
    TControl* Inner = nullptr;

protected:
    void AfterConstruction() override {
        TCustomControl::AfterConstruction();
        Inner = new TCustomControl(this);
    }
};

class ComponentFactoryUi : public ui::test::AppTest {
protected:
    void TearDown() override {
        Application->DestroyComponents();
        gLog.clear();
    }
};

}  // namespace

TEST_F(ComponentFactoryUi, FormsRunOnCreateOnceWithTheReferenceAndMainFormSet) {
    CountedForm* main = nullptr;
    Application->CreateForm(main);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->Creates, 1);
    EXPECT_EQ(main->MainFormAtCreate, main);
    CountedForm* made = NewForm<CountedForm>(nullptr);
    EXPECT_EQ(made->Creates, 1);
    EXPECT_EQ(Application->MainForm(), main);
    made->Free();
}

TEST_F(ComponentFactoryUi, AFormWhoseSecondPhaseFailsIsFreedAndCreateFormRaises) {
    FailingForm* form = nullptr;
    EXPECT_THROW(Application->CreateForm(form), EComponentError);
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(Application->MainForm(), nullptr);
    EXPECT_EQ(Application->ComponentCount(), 0);
    EXPECT_EQ(gLog, (std::vector<std::string>{"create", "destroy", "destructor"}));
}

#ifndef NDEBUG
TEST_F(ComponentFactoryUi, AControlMadeWithPlainNewIsReportedAtItsFirstMessageInDebugBuilds) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH((new Framed(nullptr))->Perform(WM_SETTEXT, 0, 0),
                 "reached a message without its second phase: make it with NewComponent");
    auto* made = NewComponent<Framed>(nullptr);
    EXPECT_NE(made->Inner, nullptr);
    made->Perform(WM_SETTEXT, 0, 0);
    made->Free();
}
#endif
