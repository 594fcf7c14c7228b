// The helpers that the compiler calls for 64-bit division and remainder on
// a 32-bit processor, which would otherwise come from libgcc (and bring its
// unwinding tables along).
#include "long_division.h"

extern "C" {

Signed64 __divdi3(Signed64 n, Signed64 d) { return DivideSigned64(n, d, 0); }

Signed64 __moddi3(Signed64 n, Signed64 d) {
    Signed64 remainder;
    DivideSigned64(n, d, &remainder);
    return remainder;
}

Unsigned64 __udivdi3(Unsigned64 n, Unsigned64 d) { return DivideUnsigned64(n, d, 0); }

Unsigned64 __umoddi3(Unsigned64 n, Unsigned64 d) {
    Unsigned64 remainder;
    DivideUnsigned64(n, d, &remainder);
    return remainder;
}

}  // extern "C"
