#include "slicing/sort_cuts.h"

#include <gtest/gtest.h>

namespace tilemond {
namespace {

// Ties to even, any order and cuts on one pixel: the split tests. Beyond the counted range: a cut
// below a picture 32767 pixels high, or left of it.
TEST(SortCuts, KeepsCutsBeyondThePictureInOrder)
{
    EXPECT_EQ(SortCuts({32773.f, 5.f, -2.5f, 40000.6f, 32767.f}),
              (std::vector<int>{-2, 5, 32767, 32773, 40001}));
}

} // namespace
} // namespace tilemond
