#pragma once
// The model table: each modem model the workbench evaluates, its channel range, what it can do
// (transmit, receive or both), the frequency of every channel and the bar width of the level
// chart; the list of models a destination offers; and the current model, as the last choice
// left it.
#include <array>
#include <cstdint>
#include <vector>

#include "platform/rtl/String.h"

class TStrings;

enum ModelType : uint8_t { TxRx, Tx, Rx };

struct TModel {
    String Name;
    int MinCh;
    int MaxCh;
    ModelType UnitKind;
    // Entry 0 of the model's frequency list (entry n is channel n, MaxCh + 1 entries).
    const String* Hint;
    int GWidth;
    int Rate;
};

extern const std::array<TModel, 6> ModelTable;

// The frequency list of a band: MaxCh + 1 entries, channel n at firstMHz + 0.0125 MHz x n from
// firstChannel on, "000" below it. Kept in whole 0.0001 MHz, so every text has four decimals.
String ChannelFrequencyText(int tenThousandthsMHz);

// The model list of a destination and the current model. The main window holds one.
struct TModelPlan {
    // Row of the model table of each entry of the model list.
    std::vector<int> ModelRows;
    int CurMinCh = 0;
    int CurMaxCh = 127;
    ModelType CurUnitKind = TxRx;
    int CurGWidth = 100;

    // Lists the models of a destination in Items (after the ones there): "Japan" (exactly) the
    // first row, any other destination none.
    void FillModelList(const String& destination, TStrings* Items);
    // The current model := the row of list entry `entry`; false (nothing changed) when there is
    // no such entry.
    bool SelectModel(int entry);
    // The frequency text of a channel of the model of list entry `entry`; false and an empty text
    // when the entry or the channel does not exist.
    bool ChannelFreq(int entry, int channel, String& text) const;
};
