#pragma once
// The picture viewer of the air monitor: opens a saved chart picture (EMF, WMF, BMP, JPEG), shows
// it scaled to the window and copies it to the clipboard in its own format. It opens empty after
// each close.
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"

class TImageViewForm1 : public TForm {
public:
    explicit TImageViewForm1(TComponent* AOwner);
    ~TImageViewForm1() override;
    const char* ClassName() const override { return "TImageViewForm1"; }

    TToolBar* ToolBar1;
    TToolButton* ToolButton3;  // "Exit"
    TToolButton* ToolButton1;  // "Open folder"
    TToolButton* ToolButton2;  // "Copy to clipboard  Ctrl+C"
    TImage* Image1;
    TPopupMenu* PopupMenu1;
    TMenuItem* CopytoclipBoard1;

    void ToolButton1Click(TObject* Sender);
    void CopytoclipBoard1Click(TObject* Sender);
    void ToolButton3Click(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
};

extern TImageViewForm1* ImageViewForm1;
