// A test program that ends in the middle with exit code 0, for the check that the test driver
// (run_gtest.py) fails such a program. Each ending is its own test, chosen with --gtest_filter;
// the test after it never runs.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdlib>

TEST(EarlyExit, A_Completes) { SUCCEED(); }
TEST(EarlyExit, B_ExitProcess) { ExitProcess(0); }
TEST(EarlyExit, C_Exit) { std::exit(0); }
TEST(EarlyExit, D_NeverReached) { SUCCEED(); }
