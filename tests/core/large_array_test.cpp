#include "core/large_array.h"

#include <gtest/gtest.h>

#include <cstdint>

using korbisto::LargeArray;

TEST(LargeArray, GrowsFromSmallToHugeAndKeepsEveryValue) {
    // Past 2 MB the memory comes from the other allocation, and each
    // reallocation hands the old block back to the one it came from.
    LargeArray<std::uint32_t> values;
    const std::uint32_t n = 3'000'000;
    for (std::uint32_t i = 0; i < n; ++i) values.push_back(i * 2654435761u);
    for (std::uint32_t i = 0; i < n; i += 9973) ASSERT_EQ(values[i], i * 2654435761u) << i;
#if defined(__linux__)
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(values.data()) % (std::uintptr_t{2} << 20), 0u);
#endif
    values.resize(10);
    values.shrink_to_fit();
    EXPECT_EQ(values.back(), 9u * 2654435761u);

    LargeArray<std::int8_t> small(100, 7);
    EXPECT_EQ(small[99], 7);
}
