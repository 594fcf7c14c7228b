// The 64-bit division that Install.EXE brings for itself (it links no
// runtime library), against the host's own division.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "win32/long_division.h"

namespace {

// Values around the places where shift-and-subtract goes wrong: 32-bit
// boundaries, the top bit, all ones.
std::vector<Unsigned64> EdgeValues() {
    std::vector<Unsigned64> values = {0, 1, 2, 3, 7, 10, 100, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    const Unsigned64 wide[] = {0x100000000ull, 0x100000001ull, 0x123456789ABCDEFull, 0x7FFFFFFFFFFFFFFFull,
                               0x8000000000000000ull, 0x8000000000000001ull, 0xFFFFFFFFFFFFFFFEull,
                               0xFFFFFFFFFFFFFFFFull};
    values.insert(values.end(), std::begin(wide), std::end(wide));
    // And a spread of others from a fixed sequence.
    Unsigned64 x = 0x9E3779B97F4A7C15ull;
    for (int i = 0; i < 40; ++i) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        values.push_back(x >> (i % 64));
    }
    return values;
}

TEST(LongDivisionTest, UnsignedQuotientAndRemainderMatchTheHost) {
    const std::vector<Unsigned64> values = EdgeValues();
    for (Unsigned64 n : values) {
        for (Unsigned64 d : values) {
            if (d == 0) continue;
            Unsigned64 remainder = 0;
            EXPECT_EQ(DivideUnsigned64(n, d, &remainder), n / d) << n << " / " << d;
            EXPECT_EQ(remainder, n % d) << n << " % " << d;
        }
    }
}

TEST(LongDivisionTest, SignedRoundsTowardZeroAndTheRemainderFollowsTheDividend) {
    const std::vector<Unsigned64> values = EdgeValues();
    for (Unsigned64 a : values) {
        for (Unsigned64 b : values) {
            const Signed64 n = static_cast<Signed64>(a);
            const Signed64 d = static_cast<Signed64>(b);
            if (d == 0 || (n == INT64_MIN && d == -1)) continue;
            Signed64 remainder = 0;
            EXPECT_EQ(DivideSigned64(n, d, &remainder), n / d) << n << " / " << d;
            EXPECT_EQ(remainder, n % d) << n << " % " << d;
        }
    }
    struct Case {
        Signed64 n, d, quotient, remainder;
    } cases[] = {{7, 2, 3, 1}, {-7, 2, -3, -1}, {7, -2, -3, 1}, {-7, -2, 3, -1}, {-250, 100, -2, -50}};
    for (const Case& c : cases) {
        Signed64 remainder = 0;
        EXPECT_EQ(DivideSigned64(c.n, c.d, &remainder), c.quotient) << c.n << " / " << c.d;
        EXPECT_EQ(remainder, c.remainder) << c.n << " % " << c.d;
    }
    // The one overflow wraps, as the hardware's would.
    Signed64 remainder = 1;
    EXPECT_EQ(DivideSigned64(INT64_MIN, -1, &remainder), INT64_MIN);
    EXPECT_EQ(remainder, 0);
}

TEST(LongDivisionDeathTest, ADivisionByZeroEndsTheProgram) {
    EXPECT_DEATH(DivideUnsigned64(1, 0, nullptr), "");
    EXPECT_DEATH(DivideSigned64(-1, 0, nullptr), "");
}

}  // namespace
