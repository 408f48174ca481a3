// TVerAdevovEdav: the stream form of the cells (the road AssignCells copies cells by), saved
// column widths and the text margins of a cell.
#include <algorithm>
#include <memory>
#include <string>

#include "grid/ZedUdid.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/RegistryIniFile.h"
#include "render/VarAvir.h"

namespace {

// Lines of UTF-16 units, each ending in CR LF, gathered and written in large pieces.
class LineWriter {
public:
    explicit LineWriter(TStream* Stream) : FStream(Stream) {}
    ~LineWriter() { Flush(); }
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;
    void Add(const std::u16string& text) {
        FBuffer += text;
        FBuffer += u"\r\n";
        if (FBuffer.size() >= 1 << 16) Flush();
    }
    void Flush() {
        if (FBuffer.empty()) return;
        FStream->WriteBuffer(FBuffer.data(), static_cast<int32_t>(FBuffer.size() * sizeof(char16_t)));
        FBuffer.clear();
    }

private:
    TStream* FStream;
    std::u16string FBuffer;
};

// Reads UTF-16 lines ahead in large pieces; knows where each line began in the stream, so a
// reader that stops can put the stream back at the start of the line it did not take.
class LineReader {
public:
    explicit LineReader(TStream* Stream) : FStream(Stream), FBase(Stream->Position()) {}
    // Whether a unit remains.
    bool AtEnd() {
        Fill();
        return FIndex >= FBuffer.size();
    }
    // Where the next line begins.
    int64_t Position() const { return FBase + static_cast<int64_t>(FIndex * sizeof(char16_t)); }
    // Units up to a CR (dropped with the unit after it) or the end of the stream.
    String ReadLine() {
        std::u16string line;
        while (!AtEnd()) {
            char16_t c = FBuffer[FIndex++];
            if (c == u'\r') {
                if (!AtEnd()) ++FIndex;
                break;
            }
            line.push_back(c);
        }
        return String(std::move(line));
    }
    // Leaves the stream where the next line begins.
    void Settle() { FStream->SetPosition(Position()); }

private:
    void Fill() {
        if (FIndex < FBuffer.size() || FDone) return;
        FBase = Position();
        FBuffer.assign(1 << 15, u'\0');
        int32_t got = FStream->Read(FBuffer.data(), static_cast<int32_t>(FBuffer.size() * sizeof(char16_t)));
        FBuffer.resize(static_cast<size_t>(std::max(got, 0)) / sizeof(char16_t));
        FIndex = 0;
        if (FBuffer.empty()) FDone = true;
    }
    TStream* FStream;
    int64_t FBase;
    std::u16string FBuffer;
    size_t FIndex = 0;
    bool FDone = false;
};

std::u16string Number(int v) {
    std::string s = std::to_string(v);
    return std::u16string(s.begin(), s.end());
}

}  // namespace

void TVerAdevovEdav::SaveToStream(TStream* Stream) {
    LineWriter out(Stream);
    out.Add(Number(SaveColCount()) + u"," + Number(SaveRowCount()));
    for (int i = 0; i < ColCount(); ++i) out.Add(u"cw " + Number(i) + u"," + Number(ColWidths(i)));
    int startCol = SaveStartCol(), startRow = SaveStartRow();
    ExportNotification(esExportStart, startRow);
    String text;
    for (int r = startRow; r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        for (int c = startCol; c <= SaveEndCol(); ++c) {
            SaveCellText(c, r, text);
            if (text.IsEmpty()) continue;
            std::u16string line = Number(c - startCol);
            line += u',';
            line += Number(r - startRow);
            line += u',';
            line += EncodeLineBreaks(text);
            out.Add(line);
        }
    }
    ExportNotification(esExportDone, -1);
}

void TVerAdevovEdav::LoadFromStream(TStream* Stream) {
    LineReader in(Stream);
    if (!in.AtEnd()) {
        String header = in.ReadLine();
        if (!header.IsEmpty()) {
            size_t comma = header.find(u',');
            String cols = comma == String::npos ? header : String(header.substr(0, comma));
            String rows = comma == String::npos ? String() : String(header.substr(comma + 1));
            SetColCount(StrToInt(cols) + SaveStartCol());
            SetRowCount(StrToInt(rows) + SaveStartRow());
        }
    }
    while (!in.AtEnd()) {
        int64_t lineStart = in.Position();
        String line = in.ReadLine();
        if (line.size() >= 2 && line[0] == u'c' && line[1] == u'w') {
            String rest = line.size() > 3 ? String(line.substr(3)) : String();
            size_t comma = rest.find(u',');
            int col = StrToInt(comma == String::npos ? rest : String(rest.substr(0, comma)));
            int width = StrToInt(comma == String::npos ? String() : String(rest.substr(comma + 1)));
            if (col < 0 || col >= ColCount()) {
                in.Settle();
                throw EInvalidGridOperation(String("Grid index out of range"));
            }
            SetColWidths(col, width);
            continue;
        }
        size_t first = line.find(u',');
        size_t second = first == String::npos ? String::npos : line.find(u',', first + 1);
        if (first == String::npos || first == 0 || second == String::npos || second == first + 1) {
            // Not a cell line: it belongs to whoever reads the stream next.
            Stream->SetPosition(lineStart);
            CellsChanged(TRect(0, 0, ColCount(), RowCount()));
            AllCellsChanged();
            return;
        }
        int col = StrToInt(String(line.substr(0, first))) + SaveStartCol();
        int row = StrToInt(String(line.substr(first + 1, second - first - 1))) + SaveStartRow();
        if (col >= 0 && col < ColCount() && row >= 0 && row < RowCount())
            LoadCellText(col, row, DecodeLineBreaks(String(line.substr(second + 1)), FMultilineCells));
    }
    in.Settle();
    CellsChanged(TRect(0, 0, ColCount(), RowCount()));
    AllCellsChanged();
}

// ---------------------------------------------------------------------------------------------
// Saved column widths

namespace {
std::unique_ptr<TCustomIniFile> OpenColumnStore(const TColumnSize* Settings) {
    if (Settings->Location == clIniFile) return std::make_unique<TIniFile>(Settings->Key);
    return std::make_unique<TRegistryIniFile>(Settings->Key);
}
String ColName(int i) { return u"Col" + Number(i); }
}  // namespace

void TVerAdevovEdav::SaveColSizes() {
    auto store = OpenColumnStore(FColumnSize.get());
    for (int i = 0; i < ColCount(); ++i) store->WriteInteger(FColumnSize->Section, ColName(i), ColWidths(i));
    store->UpdateFile();
}

void TVerAdevovEdav::LoadColSizes() {
    auto store = OpenColumnStore(FColumnSize.get());
    for (int i = 0; i < ColCount(); ++i) SetColWidths(i, store->ReadInteger(FColumnSize->Section, ColName(i), ColWidths(i)));
}

// ---------------------------------------------------------------------------------------------
// Text margins and lines

int TVerAdevovEdav::GetTotalXOffset() const { return FXYOffsetTopLeftOnly ? FXYOffset.X : 2 * FXYOffset.X; }
int TVerAdevovEdav::GetTotalYOffset() const { return FXYOffsetTopLeftOnly ? FXYOffset.Y : 2 * FXYOffset.Y; }

int TVerAdevovEdav::GetLinesInRow(int ARow) {
    if (!FMultilineCells) return 1;
    int lines = 1;
    for (int c = 0; c < ColCount(); ++c) lines = std::max(lines, CountTextLines(GetCellEx(DisplayToRealCol(c), ARow), true));
    return lines;
}
