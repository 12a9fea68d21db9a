// Shared main of every test program: the success line is printed only when
// every test passed, and the test runner requires it (a process killed from
// outside under Wine still reports exit code 0).
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    if (result == 0) {
        std::printf("ALL TESTS PASSED\n");
    }
    std::fflush(stdout);
    return result;
}
