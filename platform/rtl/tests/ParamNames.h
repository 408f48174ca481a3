#pragma once
// Cases of a parameterised test read as what they test: CTest lists each case by its name and
// by its printed parameter, so a case type has one PrintTo (beside the type, where gtest looks
// for it) and INSTANTIATE_TEST_SUITE_P names the cases by that same print with PrintedName.
// Without it gtest prints a case as a hex dump of its bytes, pointers included.
#include <gtest/gtest.h>

#include <string>

namespace rtl_test {

struct PrintedName {
    template <class Param>
    std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
        return ::testing::PrintToString(info.param);
    }
};

}  // namespace rtl_test
