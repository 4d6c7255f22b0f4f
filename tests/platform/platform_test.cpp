#include "platform/rounding.h"

#include <gtest/gtest.h>
#include <limits>

namespace tilemond {
namespace {

TEST(Rounding, TiesGoToTheEvenNeighbour)
{
    EXPECT_EQ(roundToEven(101.5), 102);
    EXPECT_EQ(roundToEven(-2.5), -2);
    EXPECT_EQ(roundToEven(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(roundToEven(-1e300), std::numeric_limits<int>::min());
}

} // namespace
} // namespace tilemond
