#include "app/ImageView1.h"

#include "app/Main.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Clipbrd.h"

TImageViewForm1* ImageViewForm1 = nullptr;

TImageViewForm1::TImageViewForm1(TComponent* AOwner) : TForm(AOwner) {
    SetName(String("ImageViewForm1"));
    SetCaption(String("Air monitor image viewer"));
    SetBorderStyle(bsSizeToolWin);
    SetFormStyle(fsStayOnTop);
    SetPosition(poOwnerFormCenter);
    TSizeConstraints limits;
    limits.MinWidth = 446;
    limits.MinHeight = 262;
    SetConstraints(limits);
    SetClientWidth(884);
    SetClientHeight(500);
    SetShowHint(true);

    ToolBar1 = new TToolBar(this);
    ToolBar1->SetName(String("ToolBar1"));
    ToolBar1->SetParent(this);
    ToolBar1->SetAlign(alTop);
    ToolBar1->SetShowCaptions(true);
    ToolBar1->SetFlat(true);
    ToolBar1->SetButtonWidth(150);
    ToolBar1->SetHeight(26);
    auto button = [this](const char* name, const char* caption) {
        auto* b = new TToolButton(this);
        b->SetName(String(name));
        b->SetParent(ToolBar1);
        b->SetCaption(String(caption));
        return b;
    };
    ToolButton3 = button("ToolButton3", "Exit");
    ToolButton1 = button("ToolButton1", "Open folder");
    ToolButton2 = button("ToolButton2", "Copy to clipboard  Ctrl+C");
    ToolBar1->ArrangeButtons();

    Image1 = new TImage(this);
    Image1->SetName(String("Image1"));
    Image1->SetParent(this);
    Image1->SetAlign(alClient);
    Image1->SetCenter(true);
    Image1->SetStretch(true);
    Image1->SetProportional(true);
    Image1->SetHint(String("Click screen for select image"));

    PopupMenu1 = new TPopupMenu(this);
    PopupMenu1->SetName(String("PopupMenu1"));
    CopytoclipBoard1 = NewItem(this, String("ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ"), ShortCut('C', {ssCtrl}));
    CopytoclipBoard1->SetName(String("CopytoclipBoard1"));
    PopupMenu1->Items()->Add(CopytoclipBoard1);
    SetPopupMenu(PopupMenu1);

    ToolButton1->OnClick = [this](TObject* s) { ToolButton1Click(s); };
    Image1->OnClick = [this](TObject* s) { ToolButton1Click(s); };
    ToolButton2->OnClick = [this](TObject* s) { CopytoclipBoard1Click(s); };
    CopytoclipBoard1->OnClick = [this](TObject* s) { CopytoclipBoard1Click(s); };
    ToolButton3->OnClick = [this](TObject* s) { ToolButton3Click(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
}

TImageViewForm1::~TImageViewForm1() {
    if (ImageViewForm1 == this) ImageViewForm1 = nullptr;
}

void TImageViewForm1::ToolButton1Click(TObject* Sender) {
    TOpenPictureDialog* dialog = MainForm->OpenPictureDialog1;
    dialog->SetFileName(String());
    dialog->SetFilter(String("Imagefiles (*.emf, *.wmf, *.bmp, *.jpg)|*.emf;*.wmf;*.bmp;*.jpg"));
    dialog->SetInitialDir(MainForm->DialogFolder(MainForm->PictureFolder));
    if (!dialog->Execute()) return;
    TMainForm::NoteFolder(MainForm->PictureFolder, dialog->FileName());
    Show();
    SetCaption(ExtractFileName(dialog->FileName()));
    // A file that cannot be read leaves the viewer empty; its error reaches the exception event.
    Image1->Picture()->SetGraphic(nullptr);
    Image1->Picture()->LoadFromFile(dialog->FileName());
}

void TImageViewForm1::CopytoclipBoard1Click(TObject* Sender) {
    // Nothing shown, nothing to copy.
    if (!Image1->Picture()->Graphic() || Image1->Picture()->Graphic()->Empty()) return;
    Clipboard()->Assign(Image1->Picture());
}

void TImageViewForm1::ToolButton3Click(TObject* Sender) { Close(); }

void TImageViewForm1::FormClose(TObject* Sender, TCloseAction& Action) { Image1->Picture()->SetGraphic(nullptr); }
