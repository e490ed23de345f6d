// GoogleTest entry for the tests that run under Wine: one process runs every case
// of its executable, so Wine starts once per executable, not once per case.
#include "support/Com.h"
#include "tests/windows/probe/Probe.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    probe::ParseArguments(argc, argv);
    // As the program runs its main thread: the folder dialog and the picture
    // loader must work inside an apartment.
    ComApartment com;
    if (!com.initialised()) return 2;
    return RUN_ALL_TESTS();
}
