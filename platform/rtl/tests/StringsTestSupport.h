#pragma once
// Helpers shared by the string list and ini file tests: a list's items, and expected items
// written as UTF-8 literals, as vectors that compare and print whole.
#include <initializer_list>
#include <vector>

#include "platform/rtl/Classes.h"

namespace rtl_test {

inline std::vector<String> Items(const TStrings& list) {
    std::vector<String> r;
    for (int i = 0; i < list.Count(); ++i) r.push_back(list[i]);
    return r;
}

inline std::vector<String> V(std::initializer_list<const char*> items) {
    std::vector<String> r;
    for (const char* s : items) r.emplace_back(s);
    return r;
}

}  // namespace rtl_test
