// Bounded copies into the fixed-size text fields of records (8-bit or UTF-16 units).
#pragma once
#include <stddef.h>

// Copies src up to its terminator, at most N - 1 units and at most srcMax units, into dst
// and always terminates it. A null src gives the empty text. Returns the units copied.
template <class C, size_t N>
size_t copy_field(C (&dst)[N], const C* src, size_t srcMax = N - 1) {
    size_t n = 0;
    if (src)
        while (n < N - 1 && n < srcMax && src[n]) ++n;
    for (size_t i = 0; i < n; ++i) dst[i] = src[i];
    dst[n] = 0;
    return n;
}
