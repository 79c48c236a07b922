#include <gtest/gtest.h>

TEST(Hwp5Placeholder, Builds) { SUCCEED(); }
