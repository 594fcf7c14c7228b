// Division of 64-bit integers by shift and subtract, for a 32-bit program
// that links no C runtime: the compiler calls helpers for it
// (long_division.cpp), and this is what they do.
#pragma once

typedef unsigned long long Unsigned64;
typedef long long Signed64;

// The quotient of n / d, and in *remainder the rest. A zero divisor ends
// the program, as the processor's own divide instruction does.
inline Unsigned64 DivideUnsigned64(Unsigned64 n, Unsigned64 d, Unsigned64* remainder) {
    if (d == 0) __builtin_trap();
    Unsigned64 quotient = 0;
    Unsigned64 rest = 0;
    for (int bit = 63; bit >= 0; --bit) {
        // The bit shifted out of `rest` counts: with it, rest is at least d.
        const bool carry = (rest >> 63) != 0;
        rest = (rest << 1) | ((n >> bit) & 1);
        if (carry || rest >= d) {
            rest -= d;
            quotient |= static_cast<Unsigned64>(1) << bit;
        }
    }
    if (remainder != 0) *remainder = rest;
    return quotient;
}

// Signed division as C++ defines it: the quotient rounds toward zero and
// the remainder takes the sign of n. The one overflow, the most negative
// number divided by -1, gives that number back, as the hardware would wrap.
inline Signed64 DivideSigned64(Signed64 n, Signed64 d, Signed64* remainder) {
    const bool negativeN = n < 0;
    const bool negativeD = d < 0;
    const Unsigned64 un = negativeN ? 0 - static_cast<Unsigned64>(n) : static_cast<Unsigned64>(n);
    const Unsigned64 ud = negativeD ? 0 - static_cast<Unsigned64>(d) : static_cast<Unsigned64>(d);
    Unsigned64 rest;
    const Unsigned64 quotient = DivideUnsigned64(un, ud, &rest);
    if (remainder != 0) *remainder = static_cast<Signed64>(negativeN ? 0 - rest : rest);
    return static_cast<Signed64>(negativeN != negativeD ? 0 - quotient : quotient);
}
