#pragma once
// The binary code sender: up to 255 bytes composed in a grid (row 2 the byte's hexadecimal
// value, row 1 its character) with a hexadecimal/decimal keypad, an ASCII table and eight
// character memories, sent as one command line. Shown not modally; it lives with the program.
#include <array>

#include "controls/instrument/MvCBitBt.h"
#include "controls/instrument/MvNumEdit.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"
#include "platform/ui/ValEdit.h"

class THexKeyForm1 : public TForm {
public:
    explicit THexKeyForm1(TComponent* AOwner);
    ~THexKeyForm1() override;
    const char* ClassName() const override { return "THexKeyForm1"; }

    TStringGrid* StringGrid1;
    TRadioGroup* RadioGroup1;                 // input mode: "Hex", "Decimal"
    std::array<TMvColBitBtn*, 16> Digits{};   // "0".."9", "A".."F"
    TMvNumEdit* MvNumEdit1;                   // the entry, hexadecimal
    TMvNumEdit* MvNumEdit2;                   // the entry, decimal
    TMvNumEdit* MvNumEdit3;                   // data size
    TMvColBitBtn* MvColBitBtn18;  // clear the entry
    TMvColBitBtn* MvColBitBtn19;  // set
    TMvColBitBtn* MvColBitBtn25;  // set 00
    TMvColBitBtn* MvColBitBtn21;  // right
    TMvColBitBtn* MvColBitBtn22;  // left
    TMvColBitBtn* MvColBitBtn23;  // clear the cell
    TMvColBitBtn* MvColBitBtn20;  // clear every cell
    TMvColBitBtn* MvColBitBtn24;  // send
    TMvColBitBtn* MvColBitBtn1;   // close
    std::array<TEdit*, 8> Memories{};  // Edit1..Edit8
    TValueListEditor* ValueListEditor1;

    // The digits typed since the last set or clear.
    String Entry;
    // The ASCII table's row last selected (0: none yet).
    int TableRow = 0;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void RadioGroup1Click(TObject* Sender);
    void MvColBitBtn5Click(TObject* Sender);  // every digit button
    void MvColBitBtn18Click(TObject* Sender);
    void MvColBitBtn19Click(TObject* Sender);
    void MvColBitBtn25Click(TObject* Sender);
    void MvColBitBtn21Click(TObject* Sender);
    void MvColBitBtn22Click(TObject* Sender);
    void MvColBitBtn23Click(TObject* Sender);
    void MvColBitBtn20Click(TObject* Sender);
    void MvColBitBtn24Click(TObject* Sender);
    void MvColBitBtn1Click(TObject* Sender);
    void Edit1Click(TObject* Sender);  // every character memory
    void ValueListEditor1SelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);
    void ValueListEditor1DblClick(TObject* Sender);
    void StringGrid1SelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);

private:
    // Stores a byte's text and, when given, its character in the current column; then the entry
    // is emptied and the current column moves right.
    void Store(const String& hex, const String* character);
    void ClearEntry();
    void Recount();
};

extern THexKeyForm1* HexKeyForm1;
