#pragma once
// What the two notices share: a borderless window that stays on top in the middle of the screen,
// filled by a framed panel that holds its lines.
#include "platform/ui/ExtCtrlsDrawn.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrlsDrawn.h"

class TNoticeForm : public TForm {
public:
    TNoticeForm(TComponent* AOwner, int clientWidth, int clientHeight);
    const char* ClassName() const override { return "TNoticeForm"; }

    TPanel* Panel1;

protected:
    // A line of text on the panel.
    TLabel* Line(const char* text, int left, int top, int width);
};
