// GoogleTest entry for the tests that run under Wine: one process runs every case
// of its executable, so Wine starts once per executable, not once per case.
#include "tests/windows/probe/Probe.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    probe::ParseArguments(argc, argv);
    return RUN_ALL_TESTS();
}
