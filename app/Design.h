#pragma once
// What the workbench's forms are built with: a control of the design, owned by its form, named
// and placed on its parent, and the small captions and number displays of the pages.
#include "controls/instrument/MvNumEdit.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/StdCtrlsDrawn.h"

template <class T>
T* Place(TComponent* owner, TWinControl* parent, const char* name, int left, int top, int width, int height) {
    auto* c = NewComponent<T>(owner);
    if (name && *name) c->SetName(String(name));
    c->SetParent(parent);
    c->SetBounds(left, top, width, height);
    return c;
}

inline TLabel* Legend(TComponent* owner, TWinControl* parent, const char* text, int left, int top) {
    auto* l = Place<TLabel>(owner, parent, nullptr, left, top, 80, 16);
    l->SetCaption(String(text));
    return l;
}

inline TMvNumEdit* NumberDisplay(TComponent* owner, TWinControl* parent, const char* name, int left, int top,
                                 int width, TEditBase base) {
    auto* e = Place<TMvNumEdit>(owner, parent, name, left, top, width, 22);
    e->SetEditBase(base);
    e->SetReadOnly(true);
    return e;
}

inline TTabSheet* Sheet(TComponent* owner, TPageControl* pages, const char* name, const char* caption) {
    auto* s = new TTabSheet(owner);
    s->SetName(String(name));
    s->SetPageControl(pages);
    s->SetCaption(String(caption));
    return s;
}

inline TComboBox* ChoiceList(TComponent* owner, TWinControl* parent, const char* name, int left, int top, int width) {
    auto* c = Place<TComboBox>(owner, parent, name, left, top, width, 22);
    c->SetStyle(csDropDown);
    c->SetDropDownCount(16);
    return c;
}
