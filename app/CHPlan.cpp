#include "app/CHPlan.h"

#include "platform/rtl/StringList.h"
#include "platform/rtl/SysUtils.h"

namespace {

// Frequencies in 0.0001 MHz: one channel step is 0.0125 MHz.
constexpr int kStep = 125;

template <size_t N>
std::array<String, N> Band(int firstChannel, int firstFrequency) {
    std::array<String, N> list;
    for (size_t ch = 0; ch < N; ++ch) {
        int n = static_cast<int>(ch);
        list[ch] = n < firstChannel ? String("000") : ChannelFrequencyText(firstFrequency + kStep * (n - firstChannel));
    }
    return list;
}

// The rows of a band share one list: the lists are constant and equal.
const std::array<String, 47> kBandA = Band<47>(7, 4292500);   // 429.2500 MHz at channel 7
const std::array<String, 128> kBandB = Band<128>(0, 4331875);  // 433.1875 MHz at channel 0

}  // namespace

String ChannelFrequencyText(int tenThousandthsMHz) {
    String fraction = IntToStr(tenThousandthsMHz % 10000);
    return IntToStr(tenThousandthsMHz / 10000) + "." + String(4 - fraction.size(), u'0') + fraction;
}

const std::array<TModel, 6> ModelTable{{
    {String("TQW-560R    429MHz"), 7, 46, TxRx, kBandA.data(), 100, 4800},
    {String("TQW-560R-RS2    429MHz"), 7, 46, TxRx, kBandA.data(), 100, 4800},
    {String("TQW-560R_USB   429MHz"), 7, 46, Rx, kBandA.data(), 100, 4800},
    {String("TQW-565R    434MHz"), 0, 127, TxRx, kBandB.data(), 90, 4800},
    {String("TQW-565R-RS2   434MHz"), 0, 127, Rx, kBandB.data(), 90, 4800},
    {String("TQW-565R_USB   434MHz"), 0, 127, Rx, kBandB.data(), 90, 4800},
}};

void TModelPlan::FillModelList(const String& destination, TStrings* Items) {
    ModelRows.clear();
    if (destination != "Japan") return;
    ModelRows.push_back(0);
    Items->Add(ModelTable[0].Name);
}

bool TModelPlan::SelectModel(int entry) {
    if (entry < 0 || static_cast<size_t>(entry) >= ModelRows.size()) return false;
    const TModel& m = ModelTable[static_cast<size_t>(ModelRows[static_cast<size_t>(entry)])];
    CurMinCh = m.MinCh;
    CurMaxCh = m.MaxCh;
    CurUnitKind = m.UnitKind;
    CurGWidth = m.GWidth;
    return true;
}

bool TModelPlan::ChannelFreq(int entry, int channel, String& text) const {
    text.clear();
    if (entry < 0 || static_cast<size_t>(entry) >= ModelRows.size()) return false;
    const TModel& m = ModelTable[static_cast<size_t>(ModelRows[static_cast<size_t>(entry)])];
    if (channel < 0 || channel > m.MaxCh) return false;
    text = m.Hint[channel];
    return true;
}
