#pragma once
// Unit DevAzo: the support classes of the grid family: the integer list that tells its owner
// which cell it belongs to (TIntList), a picture kept by file name (TFilePicture), a string list
// used as a line-oriented text file (TFileStringList), and the list of controls placed in cells
// (TControlList of TControlItem), which the grid keeps in step with its cells' Control property
// and lays out over the cells shown.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Lists.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"

using TImageChangeEvent = std::function<void(TObject* Sender, int Acol, int Arow)>;

// A list of 32-bit integers kept in the entries of a pointer list, tagged with the column and
// row it belongs to (a cell's image list, the grid's index lists). Add, Delete and SetInteger
// fire OnChange (Sender, Col, Row); Insert and Clear fire nothing. Index errors are the pointer
// list's.
class TIntList : public TList, public TPersistent {
public:
    TIntList(int Col, int Row) : FCol(Col), FRow(Row) {}
    const char* ClassName() const override { return "TIntList"; }
    int Col() const { return FCol; }
    int Row() const { return FRow; }

    int Add(int Value);
    void Insert(int Index, int Value);
    void Delete(int Index);
    int GetInteger(int Index) const { return static_cast<int32_t>(reinterpret_cast<intptr_t>(Items(Index))); }
    void SetInteger(int Index, int Value);
    int operator[](int Index) const { return GetInteger(Index); }
    bool HasValue(int Value) const { return IndexOfValue(Value) >= 0; }
    int IndexOfValue(int Value) const;
    // Deletes the first entry equal to Value (OnChange fires); nothing when there is none.
    void DeleteValue(int Value);
    // The entries in decimal joined by "," ("" for none).
    String StrValue() const;
    // Comma text: the list is cleared without an event and each item added through Add. An item
    // that is not an integer raises EConvertError; the entries added before it stay.
    void SetStrValue(const String& Value);

    TImageChangeEvent OnChange;

private:
    void Changed() {
        if (OnChange) OnChange(this, FCol, FRow);
    }
    int32_t FCol;
    int32_t FRow;
};

// A picture kept by its file name and read from the file whenever it is drawn; Width and Height
// are measured when the name is set. The loader's errors (a missing file, an unknown format)
// reach the caller, and Width and Height keep their values then.
class TFilePicture : public TPersistent {
public:
    const char* ClassName() const override { return "TFilePicture"; }
    const String& Filename() const { return FFilename; }
    void SetFilename(const String& Value);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Loads the file and draws it stretched into r; nothing without a file name.
    void DrawPicture(TCanvas* Canvas, const TRect& r);
    // From another TFilePicture: the name and the size, without loading.
    void Assign(const TPersistent* Source) override;

private:
    String FFilename;
    int32_t FWidth = 0;
    int32_t FHeight = 0;
};

// A string list used as a text file: Write gathers text, WriteLn ends the line; ReadLn reads
// the lines in order from Reset on (past the end: the list's index error; test Eof first).
class TFileStringList : public TStringList {
public:
    const char* ClassName() const override { return "TFileStringList"; }
    void Reset() {
        fp = 0;
        cache.clear();
    }
    bool Eof() const { return fp >= Count(); }
    void ReadLn(String& s);
    void Write(const String& s) { cache += s; }
    void WriteLn(const String& s);

private:
    int32_t fp = 0;
    String cache;
};

// One control placed in a cell: its column X (storage) and row Y (real), and the control (not
// owned).
class TControlItem : public TPersistent {
public:
    TControlItem(int AX, int AY, TControl* AObject) : FX(AX), FY(AY), FObject(AObject) {}
    const char* ClassName() const override { return "TControlItem"; }
    int X() const { return FX; }
    void SetX(int Value) { FX = Value; }
    int Y() const { return FY; }
    void SetY(int Value) { FY = Value; }
    TControl* Control() const { return FObject; }

private:
    int FX;
    int FY;
    TControl* FObject;
};

// The items are owned by the list; the controls are not.
class TControlList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    void AddControl(int X, int Y, TControl* AObject);
    // The first item of that column and row; -1 when none.
    int ControlIndex(int X, int Y) const;
    TControlItem* GetControl(int i) const { return FItems.at(static_cast<size_t>(i)).get(); }
    void RemoveControl(int i);
    // Whether some item's control is a windowed control with that window handle.
    bool HasHandle(HWND Handle) const;
    void Clear() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<TControlItem>> FItems;
};
