// Entry of the Windows test program: the tests run on a thread with COM initialised, as the program's
// user-interface thread is.
#include "system/handles_win.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    orvane::ComApartment apartment;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
