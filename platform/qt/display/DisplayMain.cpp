// The main of a real-display test program: where no X display with XTest can be had, the program
// says why and ends with the code CTest reports as skipped, never as passed.
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/qt/display/RealDisplay.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    std::string why = display::Unavailable();
    if (!why.empty()) {
        std::printf("display: skipped: %s\n", why.c_str());
        return display::kSkipped;
    }
    return RUN_ALL_TESTS();
}
