#pragma once
// Fixtures shared by the tests built on the UI library: the application reset around each test,
// and a 320 x 240 form, freed after each test, with a way to put a control on it.
#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "platform/ui/testing/TestSupport.h"

namespace ui::test {

// Each test starts from an application without the handlers, main form or quit request an
// earlier test left.
class AppTest : public ::testing::Test {
protected:
    AppScope scope;
};

class FormTest : public ::testing::Test {
protected:
    AppScope scope;
    TForm* form = nullptr;

    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBounds(0, 0, 320, 240);
    }
    void TearDown() override { form->Free(); }

    // A new control of type T, owned by the form and placed on it at (left, top).
    template <class T>
    T* Add(int left = 10, int top = 10) {
        auto* c = NewComponent<T>(form);
        c->SetLeft(left);
        c->SetTop(top);
        c->SetParent(form);
        return c;
    }
};

// A focusable windowed control that wants the characters typed at it, as an edit does: the
// dialog keys go by it.
class CharTaker : public TCustomControl {
public:
    explicit CharTaker(TComponent* owner, int width = 80) : TCustomControl(owner) {
        SetTabStop(true);
        SetBounds(0, 0, width, 20);
    }

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == WM_GETDLGCODE) {
            m.Result = DLGC_WANTCHARS;
            return;
        }
        TCustomControl::Dispatch(m);
    }
};

}  // namespace ui::test
