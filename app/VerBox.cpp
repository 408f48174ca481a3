#include "app/VerBox.h"

#include "app/GetVersion2.h"
#include "app/Main.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/ShellApi.h"

TVerBoxForm* VerBoxForm = nullptr;

namespace {
constexpr TColor kLinkColour = 0xFF0000;       // blue
constexpr TColor kLinkHoverColour = 0xFF00FF;  // magenta
}  // namespace

TVerBoxForm::TVerBoxForm(TComponent* AOwner) : TForm(AOwner) {
    SetName(String("VerBoxForm"));
    SetCaption(String(" Version Box"));
    SetBorderStyle(bsDialog);
    SetFormStyle(fsStayOnTop);
    SetPosition(poOwnerFormCenter);
    SetKeyPreview(true);
    SetClientWidth(420);
    SetClientHeight(250);

    HelpImage1 = new TImage(this);
    HelpImage1->SetName(String("HelpImage1"));
    HelpImage1->SetParent(this);
    HelpImage1->SetBounds(16, 16, 96, 96);
    HelpImage1->SetStretch(true);
    HelpImage1->SetProportional(true);
    HelpImage1->SetCenter(true);

    // Title lines on top, the version (7) and a last line (8) below them.
    const int tops[9] = {0, 16, 40, 60, 80, 100, 120, 146, 166};
    for (int i = 1; i <= 8; ++i) {
        auto* l = new TLabel(this);
        l->SetName(String("HelpLabel") + IntToStr(i));
        l->SetParent(this);
        l->SetBounds(128, tops[i], 280, 18);
        HelpLabel[static_cast<size_t>(i)] = l;
    }
    HelpLabel[1]->Font()->SetSize(11);
    HelpLabel[1]->Font()->SetStyle(TFontStyles() << fsBold);

    HelpURL = new TLabel(this);
    HelpURL->SetName(String("HelpURL"));
    HelpURL->SetParent(this);
    HelpURL->SetBounds(128, 190, 280, 18);
    HelpURL->SetCursor(crHandPoint);
    HelpURL->SetHint(String("弊社ﾎｰﾑﾍﾟｰｼﾞにｼﾞｬﾝﾌﾟします。"));
    HelpURL->SetShowHint(true);
    HelpURL->Font()->SetColor(kLinkColour);
    HelpURL->Font()->SetStyle(TFontStyles() << fsUnderline);
    HelpURL->OnMouseEnter = [this](TObject* s) { HelpURLMouseEnter(s); };
    HelpURL->OnMouseLeave = [this](TObject* s) { HelpURLMouseLeave(s); };
    HelpURL->OnClick = [this](TObject* s) { HelpURLClick(s); };

    MvColBitBtn1 = new TMvColBitBtn(this);
    MvColBitBtn1->SetName(String("MvColBitBtn1"));
    MvColBitBtn1->SetParent(this);
    MvColBitBtn1->SetBounds(316, 214, 90, 28);
    MvColBitBtn1->SetMode(mButton);
    MvColBitBtn1->SetTextOff(String("OK"));
    MvColBitBtn1->SetTextOn(String("OK"));
    // A plain button face, as the dialog's own.
    MvColBitBtn1->GradBtnFace()->SetVisible(false);
    MvColBitBtn1->SetColorOff(clBtnFace);
    MvColBitBtn1->SetColorOn(clBtnFace);
    MvColBitBtn1->SetTextColOff(clBlack);
    MvColBitBtn1->SetTextColOn(clBlack);
    MvColBitBtn1->OnClick = [this](TObject* s) { MvColBitBtn1Click(s); };

    for (int i = 0; i < ComponentCount(); ++i) Components(i)->Loaded();
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnKeyDown = [this](TObject* s, WORD& key, TShiftState shift) { FormKeyDown(s, key, shift); };
}

TVerBoxForm::~TVerBoxForm() {
    if (VerBoxForm == this) VerBoxForm = nullptr;
}

void TVerBoxForm::FormCreate(TObject* Sender) {
    String picture;
    std::array<String, 9> texts;
    {
        // Read, then written back whole, as every reader of the settings file does.
        TMemIniFile ini(MainForm->IniPath);
        URL = ini.ReadString(u"HelpResource", u"URL", u"ini file error");
        picture = ini.ReadString(u"HelpResource", u"HelpImage1", u"Error !!");
        for (int i : {1, 2, 3, 4, 5, 6, 8})
            texts[static_cast<size_t>(i)] = ini.ReadString(u"HelpResource", String("HelpLabel") + IntToStr(i), u"Error !!");
        ini.UpdateFile();
    }
    HelpURL->SetCaption(URL);
    for (int i : {1, 2, 3, 4, 5, 6, 8}) HelpLabel[static_cast<size_t>(i)]->SetCaption(texts[static_cast<size_t>(i)]);
    TEXEVersionData version;
    GetEXEVersionData(ParamStr(0), version);
    HelpLabel[7]->SetCaption(String("Ver. ") + version.FileVersion);
    // Last: a missing picture costs only the picture (the exception reaches the application).
    HelpImage1->Picture()->LoadFromFile(MainForm->ExeDir + picture);
}

void TVerBoxForm::MvColBitBtn1Click(TObject* Sender) { Close(); }

void TVerBoxForm::FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) {
    if (Key == 27) Close();
}

void TVerBoxForm::HelpURLMouseEnter(TObject* Sender) { HelpURL->Font()->SetColor(kLinkHoverColour); }

void TVerBoxForm::HelpURLMouseLeave(TObject* Sender) { HelpURL->Font()->SetColor(kLinkColour); }

void TVerBoxForm::HelpURLClick(TObject* Sender) {
    ShellExecute(Handle(), u"open", URL.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
