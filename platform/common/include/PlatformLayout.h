// Layout checks of records and classes that programs compile against, in the one form the
// suite's modules use: a header ends with the size of every record and class it offers and the
// offset of each public field. The checks hold for the 32-bit data model these modules are
// built for; a build for another data model (the 64-bit sanitizer build of the portable cores,
// on machines that run 64-bit programs only) compiles the same records without checking them.
#pragma once
#include <stddef.h>

#define PLATFORM_LAYOUT_FIXED (sizeof(void*) == 4)
#define PLATFORM_CHECK_SIZE(T, n) static_assert(!PLATFORM_LAYOUT_FIXED || sizeof(T) == (n), #T " must be " #n " bytes")
// An offset in a class that is not standard-layout (a base with virtual members) is what the
// one ABI gives; the check asks for it without the warning that such an offsetof draws. The
// trailing static_assert takes the caller's semicolon.
#define PLATFORM_CHECK_OFFSET(T, f, n)                                                              \
    _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Winvalid-offsetof\"")        \
    static_assert(!PLATFORM_LAYOUT_FIXED || offsetof(T, f) == (n), #T "::" #f " must be at " #n); \
    _Pragma("GCC diagnostic pop") static_assert(true, "")
