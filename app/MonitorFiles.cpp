// Graph data files: the levels of the frequency page (".AMF": levels and peaks of the model's
// channels with the sweep range) and the samples of the time page (".AMT": samples 0..N with the
// count and the channel), ini files of two-digit hexadecimal level codes.
#include "app/Main.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Dialogs.h"
#include "platform/win/Window.h"

namespace {

const char* const kFreqFilter = "AirMonitor files (*.AMF)|*.AMF";
const char* const kTimeFilter = "AirMonitor files (*.AMT)|*.AMT";

// The negated level as two uppercase hexadecimal digits; a level below -255 is written "FF" and
// one above 0 "00", the nearest codes there are.
String LevelCodes(const int* levels, int first, int last) {
    String codes;
    for (int i = first; i <= last; ++i) codes += IntToHex(std::clamp(-levels[i], 0, 255), 2);
    return codes;
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

// The level of the code at position n of a value (two characters per code).
int CodeLevel(const String& codes, int n) {
    const size_t at = static_cast<size_t>(n) * 2;
    const int high = HexDigit(codes[at]), low = HexDigit(codes[at + 1]);
    if (high < 0 || low < 0)
        throw EConvertError(String("'") + String(codes.substr(at, 2)) + String("' is not a valid integer value"));
    return -(high * 16 + low);
}

// A file the loader refuses, before it has changed anything.
[[noreturn]] void Refuse(const String& file, const char* why) {
    throw EConvertError(String("Graph data file ") + ExtractFileName(file) + ": " + why);
}

}  // namespace

String TMainForm::DialogFolder(const String& last) const {
    return last.empty() ? IncludeTrailingPathDelimiter(ExtractFilePath(ExpandFileName(IniPath))) : last;
}

void TMainForm::NoteFolder(String& last, const String& file) {
    last = IncludeTrailingPathDelimiter(ExtractFilePath(ExpandFileName(file)));
}

String TMainForm::ProposedName(const String& extension) const {
    // ".AMF" alone would be offered as a hidden file.
    const String name = Trim(Edit5->Text());
    return name.empty() ? String() : name + extension;
}

bool TMainForm::SaveFile(const String& file, const std::function<void()>& write) {
    try {
        write();
        return true;
    } catch (const Exception& e) {
        MessageBeep(MB_ICONEXCLAMATION);
        // The platform's errors of a file name it and give the system's reason; others get the name.
        const String why = e.Message();
        ShowMessage(String("ﾌｧｲﾙを保存出来ません。") + "\r\n" + (why.find(file) == String::npos ? file + "\r\n" : String()) + why);
        return false;
    }
}

void TMainForm::Savegraphdata2Click(TObject* Sender) {
    const bool freq = MeasureMode == 4;
    if (!freq && MeasureMode != 5) return;
    SaveDialog1->SetFilter(String(freq ? kFreqFilter : kTimeFilter));
    SaveDialog1->SetFileName(ProposedName(String(freq ? ".AMF" : ".AMT")));
    SaveDialog1->SetInitialDir(DialogFolder(GraphFolder));
    SaveDialog1->SetTitle(String());  // the platform's own title
    SaveDialog1->SetDefaultExt(String());
    if (!SaveDialog1->Execute()) return;
    const String file = SaveDialog1->FileName();
    NoteFolder(GraphFolder, file);
    SaveFile(file, [&] {
        // Keys this save does not write keep their lines; the file is replaced whole or not at all.
        TMemIniFile ini(file);
        ini.WriteString(u"Model Name", u"Name", ComboBox5->Text());
        ini.WriteInteger(u"Model Name", u"Number", ComboBox5->ItemIndex());
        ini.WriteString(u"User Text", u"Text1", Edit3->Text());
        ini.WriteString(u"User Text", u"Text2", Edit4->Text());
        if (freq) {
            ini.WriteString(u"Status", u"Mode", u"FreqMode");
            ini.WriteInteger(u"Status", u"MinCh", CurMinCh);
            ini.WriteInteger(u"Status", u"MaxCh", CurMaxCh);
            ini.WriteString(u"Status", u"StartCh", ComboBox2->Text());
            ini.WriteString(u"Status", u"EndCh", ComboBox3->Text());
            ini.WriteString(u"RSSI Level", u"Value", LevelCodes(LevelTable.data(), CurMinCh, CurMaxCh));
            ini.WriteString(u"RSSI Level", u"PeakValue", LevelCodes(PeakTable.data(), CurMinCh, CurMaxCh));
        } else {
            const int n = static_cast<int>(MvNumSpin3->Value());
            ini.WriteString(u"Status", u"Mode", u"TimeMode");
            ini.WriteInteger(u"Status", u"MinTm", CurMinTm);
            ini.WriteInteger(u"Status", u"MaxTm", n);
            ini.WriteString(u"Status", u"Channel", ComboBox4->Text());
            ini.WriteString(u"RSSI Level", u"Value", LevelCodes(SampleTable.data(), 0, n));
        }
        ini.UpdateFile();
    });
}

void TMainForm::Loadgraphdata2Click(TObject* Sender) {
    OpenDialog1->SetFileName(String());
    OpenDialog1->SetFilter(String(MeasureMode == 5 ? kTimeFilter : kFreqFilter));
    OpenDialog1->SetInitialDir(DialogFolder(GraphFolder));
    if (!OpenDialog1->Execute()) return;
    const String file = OpenDialog1->FileName();
    NoteFolder(GraphFolder, file);

    // Everything the load takes is read and checked first: a file the tables cannot hold
    // changes nothing.
    TMemIniFile ini(file);
    const String numberText = ini.ReadString(u"Model Name", u"Number", String());
    const int number = numberText.empty() ? -1 : StrToInt(numberText);
    if (number < -1 || number >= ComboBox5->Items()->Count()) Refuse(file, "no such model entry");
    const String mode = ini.ReadString(u"Status", u"Mode", String());
    const String values = ini.ReadString(u"RSSI Level", u"Value", String());
    const String peaks = ini.ReadString(u"RSSI Level", u"PeakValue", String());
    const bool freqFile = mode == u"FreqMode", timeFile = mode == u"TimeMode";
    const int newMode = freqFile ? 4 : timeFile ? 5 : MeasureMode.load();
    int minCh = CurMinCh, maxCh = CurMaxCh, minTm = CurMinTm, maxTm = CurMaxTm;
    String startText, endText, channelText;
    int startCh = 0, endCh = 0, channel = 0;
    if (freqFile) {
        minCh = StrToInt(ini.ReadString(u"Status", u"MinCh", String()));
        maxCh = StrToInt(ini.ReadString(u"Status", u"MaxCh", String()));
        if (minCh < 0 || maxCh > 127 || minCh > maxCh) Refuse(file, "channel range outside 0..127");
        startText = ini.ReadString(u"Status", u"StartCh", String());
        endText = ini.ReadString(u"Status", u"EndCh", String());
        startCh = StrToInt(startText);
        endCh = StrToInt(endText);
    } else if (timeFile) {
        minTm = StrToInt(ini.ReadString(u"Status", u"MinTm", String()));
        maxTm = StrToInt(ini.ReadString(u"Status", u"MaxTm", String()));
        if (minTm != 0 || maxTm < 1 || maxTm > 5000) Refuse(file, "sample range outside 0..5000");
        channelText = ini.ReadString(u"Status", u"Channel", String());
        channel = StrToInt(channelText);
    }
    if (newMode == 4 &&
        (values.size() < static_cast<size_t>(maxCh - minCh + 1) * 2 || peaks.size() < static_cast<size_t>(maxCh - minCh + 1) * 2))
        Refuse(file, "level values too short");
    if (newMode == 5 && values.size() < static_cast<size_t>(maxTm - minTm + 1) * 2) Refuse(file, "sample values too short");

    Edit5->SetText(ChangeFileExt(ExtractFileName(file), String()));
    Edit3->SetText(ini.ReadString(u"User Text", u"Text1", String()));
    Edit4->SetText(ini.ReadString(u"User Text", u"Text2", String()));
    ComboBox5->SetItemIndex(number);
    MvColBitBtn15->SetEnabled(false);
    MvColBitBtn1->SetEnabled(false);
    const String line0 = String("< Air monitor >   Model name: ") + ComboBox5->Text() + "    Filename: " + Edit5->Text() +
                         "    Date: " + Edit4->Text();
    if (freqFile) {
        MeasureMode = 4;
        PageControl2->SetActivePage(TabSheet5);
        SetupFreqGraph();
        MvColBitBtn15->SetChecked(false);
        Chart1->BottomAxis()->SetMaximum(1000);
        CurMinCh = minCh;
        CurMaxCh = maxCh;
        Chart1->BottomAxis()->SetMinMax(CurMinCh, CurMaxCh);
        for (int c = 0; c <= CurMaxCh; ++c) {
            Series1->SetYValue(c, -140.0);
            Series3->SetYValue(c, -140.0);
        }
        ComboBox2->SetText(startText);
        ComboBox3->SetText(endText);
        ScanStartCh = startCh;
        ScanEndCh = endCh;
        MvBar1->SetValue(0);
        Chart1->Title()->SetStrings(0, line0);
        Chart1->Title()->SetStrings(1, String("User Memo: ") + Edit3->Text());
        Chart1->Title()->SetStrings(2, String("Channel:   ch  /  Freq.:      MHz  /  Level:   dBm"));
    } else if (timeFile) {
        MeasureMode = 5;
        PageControl2->SetActivePage(TabSheet6);
        SetupTimeGraph();
        MvColBitBtn1->SetChecked(false);
        for (int i = 0; i <= 5000; ++i) AreaSeries1->SetYValue(i, -140.0);
        CurMinTm = minTm;
        CurMaxTm = maxTm;
        Chart2->BottomAxis()->SetMinMax(CurMinTm + 1, CurMaxTm);
        MvNumSpin3->SetValue(CurMaxTm);
        ComboBox4->SetText(channelText);
        MvBar2->SetValue(0);
        String freq;
        ChannelFreqText(channel, freq);
        Chart2->Title()->SetStrings(0, line0);
        Chart2->Title()->SetStrings(1, String("User Memo: ") + Edit3->Text());
        Chart2->Title()->SetStrings(2, String("Channel: ") + channelText + "ch  /  Freq.: " + freq +
                                           "MHz  /  Level:  dBm");
    }
    // The codes, for the page now in force; a pair that is not hexadecimal stops here.
    if (MeasureMode == 4) {
        for (int c = CurMinCh; c <= CurMaxCh; ++c) {
            const int level = CodeLevel(values, c - CurMinCh);
            LevelTable[static_cast<size_t>(c)] = level;
            Series1->SetYValue(c, level);
            Series1->SetValueColor(c, level >= MvVSlider1->Value() ? c1Over : c1Main);
        }
        for (int c = CurMinCh; c <= CurMaxCh; ++c) {
            const int level = CodeLevel(peaks, c - CurMinCh);
            PeakTable[static_cast<size_t>(c)] = level;
            Series3->SetYValue(c, level);
        }
    } else if (MeasureMode == 5) {
        for (int i = CurMinTm; i <= CurMaxTm; ++i) {
            const int level = CodeLevel(values, i - CurMinTm);
            SampleTable[static_cast<size_t>(i)] = level;
            AreaSeries1->SetYValue(i, level);
            AreaSeries1->SetValueColor(i, level >= MvVSlider3->Value() ? c2Over : c2Main);
        }
    }
}
