// The date-time notification reaches a parent's WM_NOTIFY handler as it was sent; this file
// includes CommNotify.h first, so the header stands alone.
#include "platform/ui/CommNotify.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/testing/Fixtures.h"
#include "platform/win/Window.h"

namespace {

// Keeps what its WM_NOTIFY handler read of a date-time change.
class NotifyTaker : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int Changes = 0;
    DWORD Flags = GDT_ERROR;
    SYSTEMTIME Time;
    HWND From = nullptr;

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == WM_NOTIFY) {
            const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
            if (header->code == DTN_DATETIMECHANGE) {
                const auto* change = reinterpret_cast<const NMDATETIMECHANGE*>(header);
                ++Changes;
                Flags = change->dwFlags;
                Time = change->st;
                From = header->hwndFrom;
                m.Result = 0;
                return;
            }
        }
        TCustomControl::Dispatch(m);
    }
};

class CommNotifyTest : public ui::test::FormTest {};

TEST_F(CommNotifyTest, AHandMadeDateTimeChangeReachesTheHandlerIntact) {
    auto* taker = Add<NotifyTaker>();
    auto* sender = Add<NotifyTaker>(100, 10);
    NMDATETIMECHANGE change;
    change.nmhdr.hwndFrom = sender->Handle();
    change.nmhdr.idFrom = 7;
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.dwFlags = GDT_NONE;
    change.st = SYSTEMTIME{2024, 2, 4, 29, 23, 59, 58, 999};
    SendMessage(taker->Handle(), WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&change));
    ASSERT_EQ(taker->Changes, 1);
    EXPECT_EQ(taker->Flags, 1u);
    EXPECT_EQ(taker->From, sender->Handle());
    const SYSTEMTIME& t = taker->Time;
    EXPECT_EQ((std::vector<int>{t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds}),
              (std::vector<int>{2024, 2, 4, 29, 23, 59, 58, 999}));
    // Other notifications pass by it.
    NMHDR other;
    other.code = static_cast<UINT>(-520);
    SendMessage(taker->Handle(), WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&other));
    EXPECT_EQ(taker->Changes, 1);
}

}  // namespace
