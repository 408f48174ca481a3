#pragma once
// Shared by the tests of the analog controls: a control made as a form's loader makes it.
#include "platform/ui/Forms.h"

namespace analog_test {

// A new control on the form, loaded as a form loads it: the loading state, its properties (set
// by props), then Loaded, which is where the analog bases hook their settings.
template <class T, class Props>
T* LoadOn(TForm* form, int left, int top, Props props) {
    auto* c = NewComponent<T>(form);
    c->BeginLoading();
    c->SetLeft(left);
    c->SetTop(top);
    c->SetParent(form);
    props(c);
    c->Loaded();
    return c;
}

template <class T>
T* LoadOn(TForm* form, int left = 10, int top = 10) {
    return LoadOn<T>(form, left, top, [](T*) {});
}

}  // namespace analog_test
