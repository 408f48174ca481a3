#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/rtl/Objects.h"

namespace {

// A non-UI library names the root object and the plain event with the run-time library alone, and
// a handler written for TNotifyEvent also fits an event whose sender is declared as TPersistent*.
static_assert(std::is_same_v<TObject, TPersistent>);

class Notifier : public TComponent {
public:
    using TComponent::TComponent;
    TNotifyEvent OnChange;
    std::function<void(TPersistent* Sender)> OnLegacy;
    void Fire() {
        if (OnChange) OnChange(this);
        if (OnLegacy) OnLegacy(this);
    }
};

TEST(Objects, NotifyEventCarriesTheSender) {
    Notifier n(nullptr);
    std::vector<TObject*> senders;
    TNotifyEvent handler = [&](TObject* Sender) { senders.push_back(Sender); };
    n.OnChange = handler;
    n.OnLegacy = handler;
    n.Fire();
    ASSERT_EQ(senders.size(), 2u);
    EXPECT_EQ(senders[0], static_cast<TObject*>(&n));
    EXPECT_EQ(senders[1], static_cast<TObject*>(&n));
    EXPECT_EQ(dynamic_cast<Notifier*>(senders[0]), &n);
}

}  // namespace
