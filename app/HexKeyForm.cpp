#include "app/HexKeyForm.h"

#include "app/Design.h"
#include "app/Main.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Window.h"

THexKeyForm1* HexKeyForm1 = nullptr;

namespace {

constexpr int kDataRow = 2;
constexpr int kCharRow = 1;
constexpr int kLastColumn = 255;
// Enough digits for the largest byte in either base; the number edits hold at most 255.
constexpr int kEntryDigits = 3;

// A byte of the message from its cell: hexadecimal, 00..FF, or the platform's conversion error.
char16_t ByteOf(const String& cell) {
    const int value = StrToInt(String("$") + cell);
    if (value < 0 || value > 255) throw EConvertError(String("'") + cell + "' is not a byte");
    return static_cast<char16_t>(value);
}

}  // namespace

THexKeyForm1::THexKeyForm1(TComponent* AOwner) : TForm(AOwner) {
    SetName(String("HexKeyForm1"));
    SetCaption(String("バイナリーコード送信フォーム"));
    SetBorderStyle(bsSingle);
    SetClientWidth(640);
    SetClientHeight(420);
    SetShowHint(true);

    StringGrid1 = Place<TStringGrid>(this, this, "StringGrid1", 8, 8, 624, 92);
    StringGrid1->SetColCount(256);
    StringGrid1->SetRowCount(3);
    StringGrid1->SetFixedCols(1);
    StringGrid1->SetFixedRows(2);
    StringGrid1->SetDefaultColWidth(30);
    StringGrid1->SetDefaultRowHeight(22);
    StringGrid1->SetColWidths(0, 44);
    StringGrid1->SetScrollBars(ssHorizontal);
    StringGrid1->SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goEditing});

    auto button = [this](const char* name, const char* text, int left, int top, int width) {
        auto* b = Place<TMvColBitBtn>(this, this, name, left, top, width, 30);
        b->SetMode(mButton);
        b->SetTextOff(String(text));
        b->SetTextOn(String(text));
        b->SetTextColOn(clBlack);
        return b;
    };

    RadioGroup1 = Place<TRadioGroup>(this, this, "RadioGroup1", 8, 110, 150, 64);
    RadioGroup1->SetCaption(String(" 入力モード"));
    RadioGroup1->Items()->Add(String("Hex"));
    RadioGroup1->Items()->Add(String("Decimal"));
    RadioGroup1->SetItemIndex(0);

    const char* const kDigitTexts[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E", "F"};
    for (int i = 0; i < 16; ++i) {
        // Laid out as a keypad: 0..3 on the bottom row, C..F on the top one.
        const int row = 3 - i / 4, col = i % 4;
        Digits[static_cast<size_t>(i)] = button(nullptr, kDigitTexts[i], 8 + col * 38, 184 + row * 34, 36);
        Digits[static_cast<size_t>(i)]->SetName(String("Digit") + kDigitTexts[i]);
    }

    Legend(this, this, "HEX", 170, 112);
    MvNumEdit1 = NumberDisplay(this, this, "MvNumEdit1", 170, 130, 60, ebHex);
    Legend(this, this, "DEC", 240, 112);
    MvNumEdit2 = NumberDisplay(this, this, "MvNumEdit2", 240, 130, 60, ebInt);
    for (TMvNumEdit* e : {MvNumEdit1, MvNumEdit2}) {
        e->SetMinValue(0);
        e->SetMaxValue(255);
        e->SetOptions({eoLimitMin, eoLimitMax});
    }
    MvNumEdit1->SetDigitsHex(2);
    MvColBitBtn18 = button("MvColBitBtn18", "クリア", 170, 184, 130);
    MvColBitBtn19 = button("MvColBitBtn19", "セット", 170, 218, 130);
    MvColBitBtn19->SetHint(String("10進または16進で指定して下さい｡"));
    MvColBitBtn25 = button("MvColBitBtn25", "00セット", 170, 252, 130);
    MvColBitBtn22 = button("MvColBitBtn22", "←", 170, 286, 63);
    MvColBitBtn21 = button("MvColBitBtn21", "→", 237, 286, 63);

    Legend(this, this, "Data size", 316, 112);
    MvNumEdit3 = NumberDisplay(this, this, "MvNumEdit3", 316, 130, 60, ebInt);
    MvNumEdit3->SetMinValue(0);
    MvNumEdit3->SetMaxValue(255);
    MvNumEdit3->SetOptions({eoLimitMin, eoLimitMax});
    MvColBitBtn23 = button("MvColBitBtn23", "セルブクリア", 316, 184, 120);
    MvColBitBtn20 = button("MvColBitBtn20", "全セルクリア", 316, 218, 120);
    MvColBitBtn24 = button("MvColBitBtn24", "データ送信", 316, 252, 120);
    MvColBitBtn24->SetHint(String("設定したﾃﾞｰﾀを送信します。"));
    MvColBitBtn1 = button("MvColBitBtn1", "閉じる", 316, 378, 120);

    Legend(this, this, "文字記憶", 8, 326);
    const char* const kMemories[] = {"@", "D", "T", "/", "%", "C", "R", "A"};
    for (int i = 0; i < 8; ++i) {
        const String name = String("Edit") + IntToStr(i + 1);
        auto* e = Place<TEdit>(this, this, nullptr, 8 + (i % 4) * 38, 344 + (i / 4) * 28, 34, 22);
        e->SetName(name);
        e->SetText(String(kMemories[i]));
        e->OnClick = [this](TObject* s) { Edit1Click(s); };
        Memories[static_cast<size_t>(i)] = e;
    }

    ValueListEditor1 = Place<TValueListEditor>(this, this, "ValueListEditor1", 448, 110, 184, 302);
    ValueListEditor1->SetHint(String("ASCIIコード表"));
    ValueListEditor1->TitleCaptions()->Clear();
    ValueListEditor1->TitleCaptions()->Add(String("ASCII文字"));
    ValueListEditor1->TitleCaptions()->Add(String("16進コード"));
    ValueListEditor1->SetScrollBars(ssVertical);
    ValueListEditor1->SetColWidths(0, 92);
    // A table to pick from, not to edit.
    ValueListEditor1->SetOptions(ValueListEditor1->Options() - TGridOptions{goEditing, goAlwaysShowEditor});

    RadioGroup1->OnClick = [this](TObject* s) { RadioGroup1Click(s); };
    for (TMvColBitBtn* d : Digits) d->OnClick = [this](TObject* s) { MvColBitBtn5Click(s); };
    MvColBitBtn18->OnClick = [this](TObject* s) { MvColBitBtn18Click(s); };
    MvColBitBtn19->OnClick = [this](TObject* s) { MvColBitBtn19Click(s); };
    MvColBitBtn25->OnClick = [this](TObject* s) { MvColBitBtn25Click(s); };
    MvColBitBtn21->OnClick = [this](TObject* s) { MvColBitBtn21Click(s); };
    MvColBitBtn22->OnClick = [this](TObject* s) { MvColBitBtn22Click(s); };
    MvColBitBtn23->OnClick = [this](TObject* s) { MvColBitBtn23Click(s); };
    MvColBitBtn20->OnClick = [this](TObject* s) { MvColBitBtn20Click(s); };
    MvColBitBtn24->OnClick = [this](TObject* s) { MvColBitBtn24Click(s); };
    MvColBitBtn1->OnClick = [this](TObject* s) { MvColBitBtn1Click(s); };
    ValueListEditor1->OnSelectCell = [this](TObject* s, int c, int r, bool& can) { ValueListEditor1SelectCell(s, c, r, can); };
    ValueListEditor1->OnDblClick = [this](TObject* s) { ValueListEditor1DblClick(s); };
    StringGrid1->OnSelectCell = [this](TObject* s, int c, int r, bool& can) { StringGrid1SelectCell(s, c, r, can); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };

    for (int i = 0; i < ComponentCount(); ++i) Components(i)->Loaded();
}

THexKeyForm1::~THexKeyForm1() {
    if (HexKeyForm1 == this) HexKeyForm1 = nullptr;
}

void THexKeyForm1::FormCreate(TObject* Sender) {
    for (int c = 1; c <= kLastColumn; ++c) StringGrid1->SetCells(c, 0, IntToStr(c));
    StringGrid1->SetCells(0, kCharRow, String("文字"));
    StringGrid1->SetCells(0, kDataRow, String("HEX"));
    const char* const kStart = "@DT01!";
    for (int c = 1; c <= 6; ++c) {
        const auto ch = static_cast<char16_t>(kStart[c - 1]);
        StringGrid1->SetCells(c, kCharRow, String(ch));
        StringGrid1->SetCells(c, kDataRow, IntToHex(static_cast<int>(ch), 2));
    }
    MvNumEdit3->SetValue(6);
    for (int n = 0; n <= 255; ++n)
        ValueListEditor1->Strings()->Add(IntToStr(n) + ": " + static_cast<char16_t>(n) + "=" + IntToHex(n, 2));
    TableRow = 0;
}

void THexKeyForm1::FormShow(TObject* Sender) { ClearEntry(); }

void THexKeyForm1::ClearEntry() {
    Entry.clear();
    MvNumEdit1->SetValue(0);
    MvNumEdit2->SetValue(0);
}

void THexKeyForm1::RadioGroup1Click(TObject* Sender) {
    ClearEntry();
    const bool hex = RadioGroup1->ItemIndex() == 0;
    for (size_t i = 10; i < 16; ++i) Digits[i]->SetEnabled(hex);
    MvNumEdit1->SetColorDefault(hex ? clWhite : clBtnFace);
    MvNumEdit2->SetColorDefault(hex ? clBtnFace : clWhite);
}

void THexKeyForm1::MvColBitBtn5Click(TObject* Sender) {
    auto* digit = dynamic_cast<TMvColBitBtn*>(Sender);
    if (!digit) return;
    // A further digit could only pass the byte's limit (or the conversion's range): refused.
    if (Entry.Length() >= kEntryDigits) {
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    Entry += digit->TextOff();
    if (RadioGroup1->ItemIndex() == 0) {
        MvNumEdit1->SetValueAsHex(Entry);
        MvNumEdit2->SetValue(StrToInt(String("$") + Entry));
    } else {
        const int value = StrToInt(Entry);
        MvNumEdit2->SetValue(value);
        MvNumEdit1->SetValue(value);
    }
}

void THexKeyForm1::MvColBitBtn18Click(TObject* Sender) { ClearEntry(); }

void THexKeyForm1::Store(const String& hex, const String* character) {
    const int c = StringGrid1->Col();
    StringGrid1->SetCells(c, kDataRow, hex);
    if (character) StringGrid1->SetCells(c, kCharRow, *character);
    Entry.clear();
    MvColBitBtn21Click(this);
}

void THexKeyForm1::MvColBitBtn19Click(TObject* Sender) {
    const String character(static_cast<char16_t>(MvNumEdit1->ValueAsInt()));
    Store(MvNumEdit1->ValueAsHex(), &character);
}

void THexKeyForm1::MvColBitBtn25Click(TObject* Sender) { Store(String("00"), nullptr); }

void THexKeyForm1::Edit1Click(TObject* Sender) {
    auto* memory = dynamic_cast<TEdit*>(Sender);
    // An emptied memory has no character to store.
    if (!memory || memory->Text().IsEmpty()) return;
    const String text = memory->Text();
    Store(IntToHex(static_cast<int>(text[0]), 2), &text);
}

void THexKeyForm1::ValueListEditor1SelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect) { TableRow = ARow; }

void THexKeyForm1::ValueListEditor1DblClick(TObject* Sender) {
    // Row 0 is the title: no row has been picked yet.
    if (TableRow < 1) return;
    const int code = TableRow - 1;
    const String character(static_cast<char16_t>(code));
    Store(IntToHex(code, 2), &character);
}

void THexKeyForm1::MvColBitBtn21Click(TObject* Sender) {
    const int c = StringGrid1->Col();
    if (c > 0) StringGrid1->SetCol(std::min(c + 1, kLastColumn));
}

void THexKeyForm1::MvColBitBtn22Click(TObject* Sender) { StringGrid1->SetCol(std::max(StringGrid1->Col() - 1, 1)); }

void THexKeyForm1::MvColBitBtn23Click(TObject* Sender) {
    const int c = StringGrid1->Col();
    StringGrid1->SetCells(c, kDataRow, String());
    StringGrid1->SetCells(c, kCharRow, String());
    Recount();
}

void THexKeyForm1::MvColBitBtn20Click(TObject* Sender) {
    for (int c = 1; c <= kLastColumn; ++c) {
        StringGrid1->SetCells(c, kCharRow, String());
        StringGrid1->SetCells(c, kDataRow, String());
    }
    StringGrid1->SetCol(1);
    StringGrid1->SetRow(kDataRow);
    MvNumEdit3->SetValue(0);
}

void THexKeyForm1::Recount() {
    int size = 0;
    while (size < kLastColumn && !StringGrid1->Cells(size + 1, kDataRow).IsEmpty()) ++size;
    MvNumEdit3->SetValue(size);
}

void THexKeyForm1::StringGrid1SelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect) { Recount(); }

void THexKeyForm1::MvColBitBtn24Click(TObject* Sender) {
    String message;
    // Every cell is converted before anything is queued: a bad one sends nothing.
    for (int c = 1; c <= MvNumEdit3->ValueAsInt(); ++c) message += ByteOf(StringGrid1->Cells(c, kDataRow));
    if (!MainForm) return;
    MainForm->RespReady = 1;
    MainForm->CommandOut(1, message);
}

void THexKeyForm1::MvColBitBtn1Click(TObject* Sender) { Close(); }
