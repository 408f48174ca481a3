#include <gtest/gtest.h>

#include "platform/ui/StdCtrls.h"
#include "platform/ui/testing/Fixtures.h"

namespace {

using MemoView = ui::test::FormTest;

// A memo's window shows its lines one under the other; a one-line edit keeps them on one line.
TEST_F(MemoView, AMemoShowsItsLinesOnRowsOfTheirOwn) {
    auto* memo = Add<TMemo>();
    memo->SetBounds(10, 10, 200, 120);
    memo->SetText(String("A\r\nB"));
    auto* edit = Add<TEdit>(10, 150);
    edit->SetText(String("A\r\nB"));
    form->Show();
    ui::test::Pump();
    auto row = [](TCustomEdit* e, int index) {
        return static_cast<int>(static_cast<int16_t>(HIWORD(e->Perform(EM_POSFROMCHAR, static_cast<WPARAM>(index), 0))));
    };
    EXPECT_GT(row(memo, 3), row(memo, 0));
    EXPECT_EQ(row(edit, 3), row(edit, 0));
}

}  // namespace
