#pragma once
// The application-wide flash timer: one tick every 16 ms on the main thread, serving a list of
// client controls with WM_FLASHTICK (flash phases, a one-second tick, interval ticks).
#include <cstdint>
#include <vector>

#include "controls/instrument/_MvFlash.h"
#include "platform/ui/Controls.h"

// WParam: the tick counter after this tick's increment; LParam: 1/0 phase (flash clients), 0
// (one-second clients) or the lateness in ms (interval clients).
constexpr UINT WM_FLASHTICK = WM_USER + 100;

struct TFlashClient {
    TControl* Control = nullptr;
    int64_t Mode = 0;
    int64_t Due = 0;
    bool LastState = false;
};

class TMvFlashTimer : public TMvFlash {
public:
    explicit TMvFlashTimer(TComponent* AOwner);
    ~TMvFlashTimer() override;
    const char* ClassName() const override { return "TMvFlashTimer"; }
    void FlashTick(TObject* Sender);
};

// Unit state. The clients are kept in registration order.
extern std::vector<TFlashClient*> FlashClients;
extern TMvFlashTimer* FlashTimer;
extern uint32_t FlashCounter;
// Monotonic millisecond count at which the next one-second tick is due. Timed on the monotonic
// clock, so a change of the wall clock neither stalls nor races the one-second clients.
extern uint64_t NextSecond;
constexpr uint64_t OneSecond = 1000;
// Number of TMvFlashTimer objects alive.
int16_t FlashTimerInstances();

void RegisterFlashClient(TControl* Control, int64_t Mode);
void UnregisterFlashClient(TControl* Control);
void StartFlashTimer();
void StopFlashTimer();
