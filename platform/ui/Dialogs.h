#pragma once
// Message dialogs and the common dialogs (files, pictures, fonts, colours, printing).
//
// Message dialogs go through Application->MessageBox, so its hook and log serve them too.
// Each common dialog is a real dialog of the backend, which answers what the user chose; the
// dialog applies the answer. A process-wide hook can answer instead (tests script the answers).
// Without a hook, on the headless platform (or a backend without dialogs) a common dialog is
// cancelled at once: nothing may wait for a user who is not there.
#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/StringList.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"

// ---------------------------------------------------------------------------------------------
// Message dialogs

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp, mbClose };
using TMsgDlgButtons = rtl::SmallSet<TMsgDlgBtn>;
inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline const TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// Shows the message with a caption for its type ("Warning", "Error", "Information", "Confirm";
// mtCustom: the application's title) and returns the modal result of the button pressed
// (mrYes, mrNo, mrOk, mrCancel, ...). Button sets the message box cannot show (mbAll,
// mbYesToAll, mbNoToAll, mbHelp, mbClose) are shown as the nearest set it can.
int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
int MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y);
// The message with the application's title and an OK button.
void ShowMessage(const String& Msg);

namespace ui {
// Every MessageDlg, with what the message box log cannot keep.
struct MessageDlgCall {
    String Text;
    String Caption;
    TMsgDlgType Type = mtCustom;
    TMsgDlgButtons Buttons;
    int Result = mrNone;
};
const std::vector<MessageDlgCall>& MessageDlgLog();
void ClearMessageDlgLog();
}  // namespace ui

// ---------------------------------------------------------------------------------------------
// Common dialogs

enum class TDialogKind { Open, Save, OpenPicture, SavePicture, Font, Color, Print, PrinterSetup };

class TCommonDialog : public TComponent {
public:
    explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
    const char* ClassName() const override { return "TCommonDialog"; }
    virtual TDialogKind Kind() const = 0;
    // Shows the dialog modally; true when the user confirmed it. The dialog's properties hold
    // the answer afterwards and are unchanged after a cancel.
    bool Execute();
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int value) { FHelpContext = value; }
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    // The real dialog of the backend.
    virtual bool ExecuteNative() = 0;
    // Called when the answer was accepted (fills in defaults such as the extension).
    virtual void Accepted() {}

private:
    int FHelpContext = 0;
};

enum TOpenOption {
    ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
    ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt,
    ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames,
    ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing,
    ofDontAddToRecent, ofForceShowHidden
};
using TOpenOptions = rtl::SmallSet<TOpenOption>;

// A filter entry of "Text files (*.txt)|*.txt|All|*.*": description and patterns.
struct TFileFilter {
    String Description;
    std::vector<String> Patterns;  // "*.txt"
};
std::vector<TFileFilter> ParseFileFilter(const String& filter);

class TOpenDialog : public TCommonDialog {
public:
    explicit TOpenDialog(TComponent* AOwner);
    const char* ClassName() const override { return "TOpenDialog"; }
    TDialogKind Kind() const override { return TDialogKind::Open; }

    const String& FileName() const { return FFileName; }
    void SetFileName(const String& value) { FFileName = value; }
    // All chosen files (with ofAllowMultiSelect); the first is FileName.
    TStrings* Files() const { return FFiles.get(); }
    // "Description|pattern;pattern|Description|pattern".
    const String& Filter() const { return FFilter; }
    void SetFilter(const String& value) { FFilter = value; }
    // 1-based index of the filter shown first and, after Execute, of the one the user chose.
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int value) { FFilterIndex = value; }
    // Added (without its dot) to a chosen name that has no extension.
    const String& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const String& value);
    const String& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const String& value) { FInitialDir = value; }
    const String& Title() const { return FTitle; }
    void SetTitle(const String& value) { FTitle = value; }
    TOpenOptions Options() const { return FOptions; }
    void SetOptions(TOpenOptions value) { FOptions = value; }
    TNotifyEvent OnTypeChange;

protected:
    bool ExecuteNative() override;
    void Accepted() override;

private:
    String FFileName;
    std::unique_ptr<TStringList> FFiles;
    String FFilter;
    int FFilterIndex = 1;
    String FDefaultExt;
    String FInitialDir;
    String FTitle;
    TOpenOptions FOptions{ofHideReadOnly, ofEnableSizing};
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}
    const char* ClassName() const override { return "TSaveDialog"; }
    TDialogKind Kind() const override { return TDialogKind::Save; }
};

// The picture dialogs start with a filter of the picture formats the library reads and writes.
class TOpenPictureDialog : public TOpenDialog {
public:
    explicit TOpenPictureDialog(TComponent* AOwner);
    const char* ClassName() const override { return "TOpenPictureDialog"; }
    TDialogKind Kind() const override { return TDialogKind::OpenPicture; }
};

class TSavePictureDialog : public TOpenDialog {
public:
    explicit TSavePictureDialog(TComponent* AOwner);
    const char* ClassName() const override { return "TSavePictureDialog"; }
    TDialogKind Kind() const override { return TDialogKind::SavePicture; }
};

enum TFontDialogOption {
    fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist, fdNoFaceSel,
    fdNoOEMFonts, fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp,
    fdWysiwyg, fdLimitSize, fdScalableOnly, fdApplyButton
};
using TFontDialogOptions = rtl::SmallSet<TFontDialogOption>;
using TFDApplyEvent = std::function<void(TObject* Sender, HWND Wnd)>;

class TFontDialog : public TCommonDialog {
public:
    explicit TFontDialog(TComponent* AOwner);
    const char* ClassName() const override { return "TFontDialog"; }
    TDialogKind Kind() const override { return TDialogKind::Font; }
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value) { FFont->Assign(value); }
    TFontDialogOptions Options() const { return FOptions; }
    void SetOptions(TFontDialogOptions value) { FOptions = value; }
    int MinFontSize() const { return FMinFontSize; }
    void SetMinFontSize(int value) { FMinFontSize = value; }
    int MaxFontSize() const { return FMaxFontSize; }
    void SetMaxFontSize(int value) { FMaxFontSize = value; }
    // The Apply button (shown with fdApplyButton) was pressed: Font holds the font shown in the
    // dialog and OnApply runs. Scripted answers call it to press the button.
    void Apply(HWND wnd = nullptr);
    TFDApplyEvent OnApply;

protected:
    bool ExecuteNative() override;

private:
    std::unique_ptr<TFont> FFont;
    TFontDialogOptions FOptions{fdEffects};
    int FMinFontSize = 0;
    int FMaxFontSize = 0;
};

enum TColorDialogOption { cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor };
using TColorDialogOptions = rtl::SmallSet<TColorDialogOption>;

class TColorDialog : public TCommonDialog {
public:
    explicit TColorDialog(TComponent* AOwner);
    const char* ClassName() const override { return "TColorDialog"; }
    TDialogKind Kind() const override { return TDialogKind::Color; }
    TColor Color() const { return FColor; }
    void SetColor(TColor value) { FColor = value; }
    // Up to sixteen lines "ColorA=FFFFFF" .. "ColorP=...", the value a platform colour in
    // hexadecimal (blue in the high byte); the dialog writes back what the user set.
    TStrings* CustomColors() const { return FCustomColors.get(); }
    // The custom colour of slot 0..15 (clNone when the slot is not set or unreadable).
    TColor CustomColor(int slot) const;
    void SetCustomColor(int slot, TColor color);
    TColorDialogOptions Options() const { return FOptions; }
    void SetOptions(TColorDialogOptions value) { FOptions = value; }

protected:
    bool ExecuteNative() override;

private:
    TColor FColor = clBlack;
    std::unique_ptr<TStringList> FCustomColors;
    TColorDialogOptions FOptions;
};

enum TPrintRange { prAllPages, prSelection, prPageNums };
enum TPrintDialogOption { poPrintToFile, poPageNums, poSelection, poWarning, poHelp, poDisablePrintToFile };
using TPrintDialogOptions = rtl::SmallSet<TPrintDialogOption>;

// The print dialog works on Printer(): confirming it selects the printer, orientation, copies
// and (print to file) output file the user chose.
class TPrintDialog : public TCommonDialog {
public:
    explicit TPrintDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
    const char* ClassName() const override { return "TPrintDialog"; }
    TDialogKind Kind() const override { return TDialogKind::Print; }
    int Copies() const { return FCopies; }
    void SetCopies(int value) { FCopies = value < 1 ? 1 : value; }
    bool Collate() const { return FCollate; }
    void SetCollate(bool value) { FCollate = value; }
    int FromPage() const { return FFromPage; }
    void SetFromPage(int value) { FFromPage = value; }
    int ToPage() const { return FToPage; }
    void SetToPage(int value) { FToPage = value; }
    int MinPage() const { return FMinPage; }
    void SetMinPage(int value) { FMinPage = value; }
    int MaxPage() const { return FMaxPage; }
    void SetMaxPage(int value) { FMaxPage = value; }
    TPrintRange PrintRange() const { return FPrintRange; }
    void SetPrintRange(TPrintRange value) { FPrintRange = value; }
    bool PrintToFile() const { return FPrintToFile; }
    void SetPrintToFile(bool value) { FPrintToFile = value; }
    TPrintDialogOptions Options() const { return FOptions; }
    void SetOptions(TPrintDialogOptions value) { FOptions = value; }

protected:
    bool ExecuteNative() override;

private:
    int FCopies = 1;
    bool FCollate = false;
    int FFromPage = 0, FToPage = 0, FMinPage = 0, FMaxPage = 0;
    TPrintRange FPrintRange = prAllPages;
    bool FPrintToFile = false;
    TPrintDialogOptions FOptions;
};

// Printer, paper and orientation of Printer().
class TPrinterSetupDialog : public TCommonDialog {
public:
    explicit TPrinterSetupDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
    const char* ClassName() const override { return "TPrinterSetupDialog"; }
    TDialogKind Kind() const override { return TDialogKind::PrinterSetup; }

protected:
    bool ExecuteNative() override;
};

namespace ui {
// Answers common dialogs instead of showing them: the hook reads the dialog's settings, sets its
// answer through the dialog's setters (file name, filter index, font, colour, Printer()...) and
// returns whether the dialog was confirmed. Every Execute is logged.
using CommonDialogHook = std::function<bool(TCommonDialog& dialog)>;
void SetCommonDialogHook(CommonDialogHook hook);
struct CommonDialogCall {
    TDialogKind Kind = TDialogKind::Open;
    String Title;    // file dialogs
    bool Result = false;
};
const std::vector<CommonDialogCall>& CommonDialogLog();
void ClearCommonDialogLog();
}  // namespace ui
