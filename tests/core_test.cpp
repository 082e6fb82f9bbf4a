#include <gtest/gtest.h>
TEST(Core, Placeholder) { EXPECT_TRUE(true); }
