#pragma once
// The operating-hour counter: hours, minutes and seconds counted up or down on the flash timer's
// one-second tick, shown as text in a double bevel, with zero and limit events and the counted
// time kept in an ini file when asked.
#include <cstdint>
#include <memory>

#include "controls/instrument/_GClass.h"

class TIniFile;

// A time of hours, minutes and seconds; writing a part normalises the whole.
class TTimeSetting : public TPersistent {
public:
    const char* ClassName() const override { return "TTimeSetting"; }
    int32_t Hour() const { return FHour; }
    void SetHour(int32_t V);
    int32_t Min() const { return FMin; }
    void SetMin(int32_t V);
    int32_t Sec() const { return FSec; }
    void SetSec(int32_t V);

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    int32_t FHour = 0, FMin = 0, FSec = 0;
};

// Carries 60 seconds into a minute and 60 minutes into an hour; hours have no bound and negative
// parts stay as they are.
void NormaliseTime(int32_t& Hour, int32_t& Min, int32_t& Sec);

enum TOpHrOption { opResetOnLimit, opStopOnLimit, opPresetOnZero };
using TOpHrOptions = rtl::SmallSet<TOpHrOption>;
enum TOpHrIndicate { oiHour, oiHourMin, oiHourMinSec };

class TMvOpHourCounter : public TMvGraphicControl {
public:
    explicit TMvOpHourCounter(TComponent* AOwner);
    ~TMvOpHourCounter() override;
    const char* ClassName() const override { return "TMvOpHourCounter"; }
    void Loaded() override;

    TMvSBevel* BevelOuter() const { return FBevelOuter.get(); }
    TMvSBevel* BevelInner() const { return FBevelInner.get(); }
    TTimeSetting* Limit() const { return FLimit.get(); }
    TTimeSetting* PresetValue() const { return FPresetValue.get(); }
    TIniSettings* IniSettings() const { return FIniSettings.get(); }
    const String& SeparatorHour() const { return FSeparatorHour; }
    void SetSeparatorHour(const String& V) { SetLook(FSeparatorHour, V); }
    const String& SeparatorMin() const { return FSeparatorMin; }
    void SetSeparatorMin(const String& V) { SetLook(FSeparatorMin, V); }
    const String& SeparatorSec() const { return FSeparatorSec; }
    void SetSeparatorSec(const String& V) { SetLook(FSeparatorSec, V); }
    const String& SeparatorChar() const { return FSeparatorChar; }
    void SetSeparatorChar(const String& V) { SetLook(FSeparatorChar, V); }
    int32_t HourDigits() const { return FHourDigits; }
    void SetHourDigits(int32_t V) { SetLook(FHourDigits, V); }
    // Counting runs while the counter is registered with the flash timer; an automatic stop
    // leaves Count true.
    bool Count() const { return FCount; }
    void SetCount(bool V);
    bool CountDown() const { return FCountDown; }
    void SetCountDown(bool V);
    TOpHrOptions Options() const { return FOptions; }
    void SetOptions(TOpHrOptions V) { FOptions = V; }
    TOpHrIndicate Indicate() const { return FIndicate; }
    void SetIndicate(TOpHrIndicate V);

    TNotifyEvent OnZero;
    TNotifyEvent OnLimit;

    // Normalises, checks zero and limit, and draws the time.
    void SetTime(int32_t Hour, int32_t Min, int32_t Sec);
    // The time as shown: hours with at least HourDigits digits, then the groups of Indicate.
    String TimeText() const;

    // The layout of the last paint.
    TRect rClock;
    int16_t min_h = 0, min_w = 0;
    TSize sTime;
    bool ComponentInit = true;

    bool isZero = false, isLimit = false;
    int32_t hr = 0, mi = 0, se = 0;

    void ParamChange(TObject* Sender) override;

protected:
    void AfterConstruction() override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;

private:
    template <class T>
    void SetLook(T& field, const T& value) {
        if (field == value) return;
        field = value;
        DoParamChange();
    }
    bool Designing() const { return ComponentState().Contains(csDesigning); }
    void Tick();
    void Check();
    void DrawTime();
    void HandleIni(TIniFile* Ini, bool Read);

    std::unique_ptr<TMvSBevel> FBevelOuter, FBevelInner;
    std::unique_ptr<TTimeSetting> FLimit, FPresetValue;
    String FSeparatorHour = u"h", FSeparatorMin = u"m", FSeparatorSec = u"s", FSeparatorChar = u":";
    std::unique_ptr<TIniSettings> FIniSettings;
    int32_t FHourDigits = 4;
    bool FCountDown = false;
    bool FCount = false;
    TOpHrOptions FOptions;
    TOpHrIndicate FIndicate = oiHourMinSec;
};
