#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Lists.h"

namespace {

// Entries are small integers kept in the pointer-sized slots, as the integer lists keep them.
void* P(intptr_t v) { return reinterpret_cast<void*>(v); }

std::vector<intptr_t> Entries(const TList& list) {
    std::vector<intptr_t> out;
    for (int i = 0; i < list.Count(); ++i) out.push_back(reinterpret_cast<intptr_t>(list.Items(i)));
    return out;
}

}  // namespace

TEST(TList, OperationsKeepTheEntriesInOrder) {
    struct Step {
        const char* what;
        std::function<void(TList&)> run;
        std::vector<intptr_t> after;
    };
    TList list;
    const Step steps[] = {
        {"Add 1, 2, 3", [](TList& l) { l.Add(P(1)); l.Add(P(2)); l.Add(P(3)); }, {1, 2, 3}},
        {"Insert at 0", [](TList& l) { l.Insert(0, P(9)); }, {9, 1, 2, 3}},
        {"Insert at Count", [](TList& l) { l.Insert(4, P(8)); }, {9, 1, 2, 3, 8}},
        {"Delete 1", [](TList& l) { l.Delete(1); }, {9, 2, 3, 8}},
        {"Exchange 0 and 3", [](TList& l) { l.Exchange(0, 3); }, {8, 2, 3, 9}},
        {"Move 0 to 2", [](TList& l) { l.Move(0, 2); }, {2, 3, 8, 9}},
        {"Move 3 to 0", [](TList& l) { l.Move(3, 0); }, {9, 2, 3, 8}},
        {"Remove 3", [](TList& l) { EXPECT_EQ(l.Remove(P(3)), 2); }, {9, 2, 8}},
        {"Remove absent", [](TList& l) { EXPECT_EQ(l.Remove(P(77)), -1); }, {9, 2, 8}},
        {"SetItems 1", [](TList& l) { l.SetItems(1, P(5)); }, {9, 5, 8}},
    };
    for (const Step& s : steps) {
        s.run(list);
        EXPECT_EQ(Entries(list), s.after) << s.what;
    }
    EXPECT_EQ(list.IndexOf(P(8)), 2);
    EXPECT_EQ(list.IndexOf(P(4)), -1);
    EXPECT_EQ(list.First(), P(9));
    EXPECT_EQ(list.Last(), P(8));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(TList, AnIndexOutsideTheListRaisesListError) {
    TList list;
    list.Add(P(1));
    list.Add(P(2));
    list.Add(P(3));
    struct Case {
        const char* what;
        std::function<void()> run;
        const char* message;
    };
    const Case cases[] = {
        {"Items[3]", [&] { list.Items(3); }, "List index out of bounds (3)"},
        {"Items[-1]", [&] { list.Items(-1); }, "List index out of bounds (-1)"},
        {"Delete(3)", [&] { list.Delete(3); }, "List index out of bounds (3)"},
        {"Insert(4)", [&] { list.Insert(4, nullptr); }, "List index out of bounds (4)"},
        {"Exchange(0, 5)", [&] { list.Exchange(0, 5); }, "List index out of bounds (5)"},
        {"Move(-1, 0)", [&] { list.Move(-1, 0); }, "List index out of bounds (-1)"},
        {"SetItems(3)", [&] { list.SetItems(3, nullptr); }, "List index out of bounds (3)"},
    };
    for (const Case& c : cases) {
        try {
            c.run();
            ADD_FAILURE() << c.what << " did not raise";
        } catch (const EListError& e) {
            EXPECT_STREQ(e.what(), c.message) << c.what;
        }
    }
    EXPECT_EQ(Entries(list), (std::vector<intptr_t>{1, 2, 3}));  // nothing moved
    TList empty;
    EXPECT_THROW(empty.First(), EListError);
    EXPECT_THROW(empty.Last(), EListError);
}
