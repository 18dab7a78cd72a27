// Layout checks of the exported records and classes. Hosts compile against the 32-bit layouts
// these fix; a build for another data model (the 64-bit sanitizer build of the portable cores,
// on machines that run 64-bit programs only) compiles the same records without checking them.
#pragma once
#include <stddef.h>

#define CORELINK_LAYOUT_FIXED (sizeof(void*) == 4)
#define CORELINK_CHECK_SIZE(T, n) static_assert(!CORELINK_LAYOUT_FIXED || sizeof(T) == (n), #T " must be " #n " bytes")
#define CORELINK_CHECK_OFFSET(T, f, n) \
    static_assert(!CORELINK_LAYOUT_FIXED || offsetof(T, f) == (n), #T "::" #f " must be at " #n)
