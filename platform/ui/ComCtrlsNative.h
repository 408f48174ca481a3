#pragma once
// Native common controls: the track bar (a slider with tick marks) and the up-down arrows that
// step a number, optionally shown in an associated edit.
#include <algorithm>

#include "platform/ui/NativeCtrls.h"

enum TTrackBarOrientation { trHorizontal, trVertical };

class TTrackBar : public TNativeControlOf<ui::RangeView>, protected ui::RangeSink {
public:
    explicit TTrackBar(TComponent* AOwner);
    const char* ClassName() const override { return "TTrackBar"; }
    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int Position() const { return FPosition; }
    // Kept within Min..Max; a change fires OnChange.
    void SetPosition(int value);
    // Every Frequency-th position has a tick mark.
    int Frequency() const { return FFrequency; }
    void SetFrequency(int value) { FFrequency = std::max(1, value); }
    int LineSize() const { return FLineSize; }
    void SetLineSize(int value);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int value);
    TTrackBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation value);

    TNotifyEvent OnChange;

protected:
    virtual void Changed();
    std::unique_ptr<ui::RangeView> CreateView(ui::Backend& backend, ui::WidgetPeer& host) override;
    void InitView() override;
    void RangeAction(TScrollCode) override {}  // the position it reaches is all a track bar needs
    void RangeMoved(int position) override;
    void DefaultHandler(TMessage& Message) override;
    void WMGetDlgCode(TMessage& Message) override { Message.Result = DLGC_WANTARROWS; }

private:
    int FMin = 0, FMax = 10, FPosition = 0;
    int FFrequency = 1, FLineSize = 1, FPageSize = 2;
    TTrackBarOrientation FOrientation = trHorizontal;
};

enum TUDBtnType { btNext, btPrev };
enum TUDOrientation { udHorizontal, udVertical };
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TUpDown : public TNativeControlOf<ui::RangeView>, protected ui::RangeSink {
public:
    explicit TUpDown(TComponent* AOwner);
    ~TUpDown() override;
    const char* ClassName() const override { return "TUpDown"; }
    int Min() const { return FMin; }
    void SetMin(int value) { FMin = value; SetPosition(FPosition); }
    int Max() const { return FMax; }
    void SetMax(int value) { FMax = value; SetPosition(FPosition); }
    int Position() const { return FPosition; }
    // Kept within the range; the associated control shows it.
    void SetPosition(int value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int value) { FIncrement = value; }
    bool Wrap() const { return FWrap; }
    void SetWrap(bool value) { FWrap = value; }
    bool Thousands() const { return FThousands; }
    void SetThousands(bool value);
    TUDOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TUDOrientation value);
    // The control whose text shows the position; the up-down sits at its right edge.
    TWinControl* Associate() const { return FAssociate; }
    void SetAssociate(TWinControl* value);
    // A press of one of the arrows, as the user's.
    void Press(TUDBtnType button);

    TUDClickEvent OnClick;
    // Before the position moves; AllowChange false keeps it.
    TUDChangingEvent OnChanging;

protected:
    virtual bool CanChange();
    virtual void DoClick(TUDBtnType button);
    std::unique_ptr<ui::RangeView> CreateView(ui::Backend& backend, ui::WidgetPeer& host) override;
    void InitView() override;
    // A press of an arrow is an action; the view's own position only rests between them.
    void RangeAction(TScrollCode code) override;
    void RangeMoved(int position) override;
    void DefaultHandler(TMessage& Message) override;
    void WMGetDlgCode(TMessage& Message) override { Message.Result = DLGC_WANTARROWS; }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void ShowInAssociate();
    int FMin = 0, FMax = 100, FPosition = 0, FIncrement = 1;
    bool FWrap = false;
    bool FThousands = true;
    TUDOrientation FOrientation = udVertical;
    TWinControl* FAssociate = nullptr;
};
