#pragma once
// The common dialogs of the desktop. Each call shows one dialog modally: the library hands over
// what the dialog starts with and applies the answer itself, so a cancelled dialog changes
// nothing and the dialog classes keep every rule.
#include <array>
#include <vector>

#include "platform/ui/Dialogs.h"
#include "platform/ui/backend/Printing.h"
#include "platform/ui/backend/Sinks.h"

namespace ui {

struct FileDialogRequest {
    String Title;
    bool Save = false;
    bool MultiSelect = false;
    bool MustExist = false;
    bool OverwritePrompt = false;
    std::vector<TFileFilter> Filters;
    int FilterIndex = 1;  // 1-based, the filter shown first
    String DefaultExt;    // without its dot
    String InitialDir;
    String FileName;
};

struct FileDialogAnswer {
    std::vector<String> Files;  // at least one when confirmed; the first is the file name
    int FilterIndex = 0;        // 1-based, the filter chosen; 0: unknown
};

struct FontChoice {
    String Name;
    int Size = 0;  // points; 0: the dialog did not say
    TFontStyles Style;
};

struct FontDialogRequest {
    const TFont* Font = nullptr;
    bool FixedPitchOnly = false;
    bool ApplyButton = false;  // its presses go to the DialogSink
};

// Colours as the platform's RGB values; a custom slot the user never set is clNone.
struct ColorDialogState {
    TColor Color = clBlack;
    std::array<TColor, 16> Custom{};
};

struct PrintDialogRequest {
    PrinterSettings Printer;
    int Copies = 1;
    bool Collate = false;
    int FromPage = 0, ToPage = 0, MinPage = 0, MaxPage = 0;
    bool PageNums = false;
    bool Selection = false;
    bool PrintToFile = true;  // the choice is offered
};

// A printer as the user left it in a print or printer setup dialog.
struct PrinterChoice {
    String Printer;       // the desktop printer shown (may be empty)
    bool ToFile = false;  // the output is a PDF file
    String FileName;
    bool Landscape = false;
    int Copies = 1;
    bool Collate = false;
    TPrintRange Range = prAllPages;
    int FromPage = 0, ToPage = 0;
};

class DialogService {
public:
    virtual ~DialogService() = default;
    virtual bool RunFileDialog(const FileDialogRequest& request, FileDialogAnswer& answer) = 0;
    virtual bool RunFontDialog(const FontDialogRequest& request, FontChoice& answer, DialogSink& sink) = 0;
    // state holds the start and, whether or not the dialog was confirmed, the custom colours the
    // user left; its Color only counts when it was.
    virtual bool RunColorDialog(ColorDialogState& state) = 0;
    virtual bool RunPrintDialog(const PrintDialogRequest& request, PrinterChoice& answer) = 0;
    virtual bool RunPrinterSetupDialog(const PrinterSettings& printer, PrinterChoice& answer) = 0;
};

}  // namespace ui
