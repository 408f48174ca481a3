#include "platform/ui/Dialogs.h"

#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Printers.h"
#include "platform/ui/backend/Backend.h"

namespace {

std::vector<ui::MessageDlgCall> gDlgLog;
ui::CommonDialogHook gDialogHook;
std::vector<ui::CommonDialogCall> gDialogLog;

UINT ButtonFlags(TMsgDlgButtons b) {
    if (b.Contains(mbAbort) || (b.Contains(mbRetry) && b.Contains(mbIgnore))) return MB_ABORTRETRYIGNORE;
    if (b.Contains(mbYes) || b.Contains(mbYesToAll) || b.Contains(mbNo) || b.Contains(mbNoToAll))
        return b.Contains(mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
    if (b.Contains(mbRetry)) return MB_RETRYCANCEL;
    if (b.Contains(mbCancel)) return MB_OKCANCEL;
    return MB_OK;
}

UINT IconFlags(TMsgDlgType t) {
    switch (t) {
        case mtWarning: return MB_ICONWARNING;
        case mtError: return MB_ICONERROR;
        case mtInformation: return MB_ICONINFORMATION;
        case mtConfirmation: return MB_ICONQUESTION;
        default: return 0;
    }
}

String CaptionOf(TMsgDlgType t) {
    switch (t) {
        case mtWarning: return String("Warning");
        case mtError: return String("Error");
        case mtInformation: return String("Information");
        case mtConfirmation: return String("Confirm");
        default: return Application->Title();
    }
}

String Extension(const String& fileName) {
    size_t slash = fileName.rfind(u'/');
    size_t dot = fileName.rfind(u'.');
    if (dot == String::npos || (slash != String::npos && dot < slash)) return String();
    return String(fileName.substr(dot));
}

String Hex6(TColor c) { return IntToHex(static_cast<int>(c) & 0xFFFFFF, 6); }

bool ParseHex(const String& s, TColor& out) {
    String t = Trim(s);
    if (t.IsEmpty() || t.Length() > 8) return false;
    uint32_t v = 0;
    for (char16_t c : t) {
        int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (d < 0) return false;
        v = v * 16 + static_cast<uint32_t>(d);
    }
    out = static_cast<TColor>(v);
    return true;
}

String SlotName(int slot) { return String("Color") + String(static_cast<char16_t>(u'A' + slot)); }

void TakeFont(TFont& font, const ui::FontChoice& choice) {
    font.SetName(choice.Name);
    if (choice.Size > 0) font.SetSize(choice.Size);
    font.SetStyle(choice.Style);
}

// A printer as the user left it in a dialog: print to file on a desktop printer keeps that
// printer; PDF output otherwise.
void TakePrinter(TPrinter& printer, const ui::PrinterChoice& choice) {
    int index = choice.Printer.IsEmpty() ? -1 : printer.Printers()->IndexOf(choice.Printer);
    if (choice.ToFile) {
        printer.SetPrinterIndex(index >= 0 ? index : printer.PdfPrinterIndex());
        printer.SetFileName(choice.FileName);
    } else {
        if (index >= 0) printer.SetPrinterIndex(index);
        printer.SetFileName(String());
    }
    printer.SetOrientation(choice.Landscape ? poLandscape : poPortrait);
    printer.SetCopies(choice.Copies);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
    return MessageDlgPos(Msg, DlgType, Buttons, HelpCtx, -1, -1);
}

int MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int, int, int) {
    if (Buttons.Empty()) Buttons = {mbOK};
    String caption = CaptionOf(DlgType);
    int answer = Application->MessageBox(Msg, caption, ButtonFlags(Buttons) | IconFlags(DlgType));
    // The box's IDxxx answers have the numbers of the modal results.
    gDlgLog.push_back(ui::MessageDlgCall{Msg, caption, DlgType, Buttons, answer});
    return answer;
}

void ShowMessage(const String& Msg) { Application->MessageBox(Msg, Application->Title(), MB_OK); }

namespace ui {
const std::vector<MessageDlgCall>& MessageDlgLog() { return gDlgLog; }
void ClearMessageDlgLog() { gDlgLog.clear(); }
void SetCommonDialogHook(CommonDialogHook hook) { gDialogHook = std::move(hook); }
const std::vector<CommonDialogCall>& CommonDialogLog() { return gDialogLog; }
void ClearCommonDialogLog() { gDialogLog.clear(); }
}  // namespace ui

// ---------------------------------------------------------------------------------------------
bool TCommonDialog::Execute() {
    ui::CommonDialogCall call;
    call.Kind = Kind();
    if (auto* fd = dynamic_cast<TOpenDialog*>(this)) call.Title = fd->Title();
    if (OnShow) OnShow(this);
    bool ok;
    if (gDialogHook) ok = gDialogHook(*this);
    else if (ui::Backend& backend = ui::GetBackend(); backend.Headless() || !backend.Supports(ui::Capability::CommonDialogs)) ok = false;
    else ok = ExecuteNative();
    if (ok) Accepted();
    if (OnClose) OnClose(this);
    call.Result = ok;
    gDialogLog.push_back(call);
    return ok;
}

std::vector<TFileFilter> ParseFileFilter(const String& filter) {
    std::vector<String> parts;
    size_t start = 0;
    for (;;) {
        size_t bar = filter.find(u'|', start);
        parts.emplace_back(filter.substr(start, bar == String::npos ? String::npos : bar - start));
        if (bar == String::npos) break;
        start = bar + 1;
    }
    std::vector<TFileFilter> out;
    if (filter.IsEmpty()) return out;
    for (size_t i = 0; i < parts.size(); i += 2) {
        TFileFilter f;
        f.Description = parts[i];
        // A description without patterns stands for its own pattern list.
        String pats = i + 1 < parts.size() ? parts[i + 1] : parts[i];
        size_t s = 0;
        for (;;) {
            size_t semi = pats.find(u';', s);
            String p = Trim(String(pats.substr(s, semi == String::npos ? String::npos : semi - s)));
            if (!p.IsEmpty()) f.Patterns.push_back(p);
            if (semi == String::npos) break;
            s = semi + 1;
        }
        out.push_back(f);
    }
    return out;
}

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFiles(std::make_unique<TStringList>()) {}

void TOpenDialog::SetDefaultExt(const String& value) {
    // Stored without a leading dot, as the platform does.
    FDefaultExt = !value.IsEmpty() && value[0] == u'.' ? String(value.substr(1)) : value;
}

bool TOpenDialog::ExecuteNative() {
    ui::FileDialogRequest r;
    r.Title = FTitle;
    r.Save = Kind() == TDialogKind::Save || Kind() == TDialogKind::SavePicture;
    r.MultiSelect = FOptions.Contains(ofAllowMultiSelect);
    r.MustExist = FOptions.Contains(ofFileMustExist);
    r.OverwritePrompt = FOptions.Contains(ofOverwritePrompt);
    r.Filters = ParseFileFilter(FFilter);
    r.FilterIndex = FFilterIndex;
    r.DefaultExt = FDefaultExt;
    r.InitialDir = FInitialDir;
    r.FileName = FFileName;
    ui::FileDialogAnswer a;
    ui::ForeignLoop loop;
    if (!ui::GetBackend().Dialogs().RunFileDialog(r, a) || a.Files.empty()) return false;
    FFileName = a.Files.front();
    FFiles->Clear();
    for (const String& f : a.Files) FFiles->Add(f);
    if (a.FilterIndex > 0) FFilterIndex = a.FilterIndex;
    return true;
}

void TOpenDialog::Accepted() {
    if (!FDefaultExt.IsEmpty() && !FFileName.IsEmpty() && Extension(FFileName).IsEmpty())
        FFileName = FFileName + "." + FDefaultExt;
    if (FFiles->Count() == 0 || (*FFiles)[0] != FFileName) {
        if (!(FOptions.Contains(ofAllowMultiSelect) && FFiles->Count() > 1)) {
            FFiles->Clear();
            if (!FFileName.IsEmpty()) FFiles->Add(FFileName);
        }
    }
}

TOpenPictureDialog::TOpenPictureDialog(TComponent* AOwner) : TOpenDialog(AOwner) {
    SetFilter(String("All (*.bmp;*.jpg;*.jpeg;*.png;*.emf;*.wmf;*.ico)|*.bmp;*.jpg;*.jpeg;*.png;*.emf;*.wmf;*.ico|"
                     "Bitmaps (*.bmp)|*.bmp|JPEG Image File (*.jpg;*.jpeg)|*.jpg;*.jpeg|PNG (*.png)|*.png|"
                     "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf|Icons (*.ico)|*.ico"));
}

TSavePictureDialog::TSavePictureDialog(TComponent* AOwner) : TOpenDialog(AOwner) {
    SetFilter(String("Bitmaps (*.bmp)|*.bmp|JPEG Image File (*.jpg;*.jpeg)|*.jpg;*.jpeg|PNG (*.png)|*.png|"
                     "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf"));
}

// ---------------------------------------------------------------------------------------------
TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFont(std::make_unique<TFont>()) {}

void TFontDialog::Apply(HWND wnd) {
    if (OnApply) OnApply(this, wnd);
}

namespace {
// The Apply button: the font shown goes into Font, and OnApply runs.
class FontApply final : public ui::DialogSink {
public:
    explicit FontApply(TFontDialog& dialog) : FDialog(dialog) {}
    void FontApplied(const ui::FontChoice& font) override {
        try {
            TakeFont(*FDialog.Font(), font);
            FDialog.Apply(nullptr);
        } catch (...) {
            Application->HandleException(&FDialog);
        }
    }

private:
    TFontDialog& FDialog;
};
}  // namespace

bool TFontDialog::ExecuteNative() {
    ui::FontDialogRequest r;
    r.Font = FFont.get();
    r.FixedPitchOnly = FOptions.Contains(fdFixedPitchOnly);
    r.ApplyButton = FOptions.Contains(fdApplyButton);
    ui::FontChoice chosen;
    FontApply apply(*this);
    ui::ForeignLoop loop;
    if (!ui::GetBackend().Dialogs().RunFontDialog(r, chosen, apply)) return false;
    TakeFont(*FFont, chosen);
    return true;
}

TColorDialog::TColorDialog(TComponent* AOwner) : TCommonDialog(AOwner), FCustomColors(std::make_unique<TStringList>()) {}

TColor TColorDialog::CustomColor(int slot) const {
    if (slot < 0 || slot > 15) return clNone;
    TColor c;
    String v = FCustomColors->Values(SlotName(slot));
    return ParseHex(v, c) ? c : clNone;
}

void TColorDialog::SetCustomColor(int slot, TColor color) {
    if (slot < 0 || slot > 15) return;
    FCustomColors->SetValues(SlotName(slot), Hex6(color));
}

bool TColorDialog::ExecuteNative() {
    ui::ColorDialogState state;
    state.Color = FColor;
    for (int i = 0; i < 16; ++i) state.Custom[static_cast<size_t>(i)] = CustomColor(i);
    ui::ColorDialogState before = state;
    ui::ForeignLoop loop;
    bool ok = ui::GetBackend().Dialogs().RunColorDialog(state);
    // The custom colours are kept whether or not the choice was confirmed, as the user set them.
    for (int i = 0; i < 16; ++i) {
        TColor c = state.Custom[static_cast<size_t>(i)];
        if (c != clNone && c != before.Custom[static_cast<size_t>(i)]) SetCustomColor(i, c);
    }
    if (ok) FColor = state.Color;
    return ok;
}

bool TPrintDialog::ExecuteNative() {
    ui::PrintDialogRequest r;
    r.Printer = Printer()->Settings();
    r.Copies = FCopies;
    r.Collate = FCollate;
    r.FromPage = FFromPage;
    r.ToPage = FToPage;
    r.MinPage = FMinPage;
    r.MaxPage = FMaxPage;
    r.PageNums = FOptions.Contains(poPageNums);
    r.Selection = FOptions.Contains(poSelection);
    r.PrintToFile = !FOptions.Contains(poDisablePrintToFile);
    ui::PrinterChoice c;
    ui::ForeignLoop loop;
    if (!ui::GetBackend().Dialogs().RunPrintDialog(r, c)) return false;
    TakePrinter(*Printer(), c);
    SetCopies(c.Copies);
    FCollate = c.Collate;
    FPrintToFile = !c.FileName.IsEmpty();
    FPrintRange = c.Range;
    if (c.Range == prPageNums) {
        FFromPage = c.FromPage;
        FToPage = c.ToPage;
    }
    return true;
}

bool TPrinterSetupDialog::ExecuteNative() {
    ui::PrinterChoice c;
    ui::ForeignLoop loop;
    if (!ui::GetBackend().Dialogs().RunPrinterSetupDialog(Printer()->Settings(), c)) return false;
    TakePrinter(*Printer(), c);
    return true;
}
