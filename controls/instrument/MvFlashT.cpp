#include "controls/instrument/MvFlashT.h"

#include <cstdlib>

#include "platform/rtl/Clock.h"
#include "platform/ui/Forms.h"

std::vector<TFlashClient*> FlashClients;
TMvFlashTimer* FlashTimer = nullptr;
uint32_t FlashCounter = 0;
uint64_t NextSecond = 0;

namespace {

int16_t gInstanceCount = 0;

bool AppDestroying() { return Application->ComponentState().Contains(csDestroying); }

// The library's finalisation: the timer goes, then every remaining record. Defined after the
// list, so it runs before the list is destroyed.
struct FlashFinalizer {
    ~FlashFinalizer() {
        StopFlashTimer();
        for (TFlashClient* c : FlashClients) delete c;
        FlashClients.clear();
    }
} gFinalizer;

}  // namespace

int16_t FlashTimerInstances() { return gInstanceCount; }

TMvFlashTimer::TMvFlashTimer(TComponent* AOwner) : TMvFlash(AOwner) {
    ++gInstanceCount;
    if (gInstanceCount == 1) {
        SetOnTimer([this](TObject* Sender) { FlashTick(Sender); });
    } else {
        Application->MessageBox(String("Only one TMvFlashTimer per Application!") + u'\r' + "Remove it...",
                                "Error Message", MB_OK);
    }
}

TMvFlashTimer::~TMvFlashTimer() { --gInstanceCount; }

void TMvFlashTimer::FlashTick(TObject*) {
    ++FlashCounter;  // unsigned: 4294967295 goes to 0
    const uint64_t t = GetTickCount64();
    bool second = false;
    if (t >= NextSecond) {
        // Added to the old due time: after a stall the next ticks catch up one second each.
        NextSecond += OneSecond;
        second = true;
    }
    const size_t n = FlashClients.size();
    for (size_t i = 0; i < n; ++i) {
        if (AppDestroying() || i >= FlashClients.size()) break;
        try {
            TFlashClient* c = FlashClients[i];
            const int32_t kind = static_cast<int32_t>(c->Mode);
            if (kind >= 2 && kind <= 6) {
                const bool state = ((FlashCounter >> kind) & 1u) != 0;
                if (state != c->LastState) {
                    c->LastState = state;
                    c->Control->Perform(WM_FLASHTICK, FlashCounter, state ? 1 : 0);
                }
            } else if (kind == 32) {
                if (second) c->Control->Perform(WM_FLASHTICK, FlashCounter, 0);
            } else if (static_cast<int64_t>(t) >= c->Due) {
                // The 64-bit count keeps the period across the wrap of the 32-bit tick count.
                const int64_t d = static_cast<int64_t>(t) - c->Due;
                int64_t l = std::llabs(d);
                if (l > 1000) l = 0;
                c->Due = d >= 0 ? static_cast<int64_t>(t) + c->Mode - l : static_cast<int64_t>(t) + c->Mode + l;
                c->Control->Perform(WM_FLASHTICK, FlashCounter, static_cast<LPARAM>(l));
            }
        } catch (...) {
            // One failing client must not starve the others.
        }
    }
}

void StartFlashTimer() {
    if (FlashTimer) return;
    NextSecond = GetTickCount64() + OneSecond;
    FlashTimer = new TMvFlashTimer(nullptr);
}

void StopFlashTimer() {
    if (!FlashTimer) return;
    TMvFlashTimer* timer = FlashTimer;
    FlashTimer = nullptr;
    timer->Free();
}

void RegisterFlashClient(TControl* Control, int64_t Mode) {
    if (!Control) return;
    const int64_t t = static_cast<int64_t>(GetTickCount64());
    bool found = false;
    for (TFlashClient* c : FlashClients) {
        if (c->Control != Control) continue;
        c->Mode = Mode;
        c->Due = t + Mode;
        found = true;
    }
    if (!found) FlashClients.push_back(new TFlashClient{Control, Mode, t + Mode, false});
    if (FlashClients.capacity() - FlashClients.size() < 2) FlashClients.reserve(FlashClients.size() + 10);
    if (!FlashClients.empty()) StartFlashTimer();
}

void UnregisterFlashClient(TControl* Control) {
    for (auto it = FlashClients.begin(); it != FlashClients.end(); ++it) {
        if ((*it)->Control != Control) continue;
        delete *it;
        FlashClients.erase(it);
        break;
    }
    if (AppDestroying() && FlashClients.empty()) StopFlashTimer();
}
