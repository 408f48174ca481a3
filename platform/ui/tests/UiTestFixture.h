#pragma once
// A fixture shared by the control tests: a 320 x 240 form, freed after each test, and a way to put
// a control on it.
#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "platform/ui/TestSupport.h"

namespace ui_test {

class FormTest : public ::testing::Test {
protected:
    ui::test::AppScope scope;
    TForm* form = nullptr;

    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBounds(0, 0, 320, 240);
    }
    void TearDown() override { form->Free(); }

    // A new control of type T, owned by the form and placed on it at (left, top).
    template <class T>
    T* Add(int left = 10, int top = 10) {
        auto* c = new T(form);
        c->SetLeft(left);
        c->SetTop(top);
        c->SetParent(form);
        return c;
    }
};

}  // namespace ui_test
