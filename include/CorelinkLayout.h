// Layout checks of the exported records and classes, in the one form they take: each header
// ends with the size of every exported record and class and the offset of each public field.
// Offsets of protected and private fields are checked in tests/abi/hidden_layout.cpp, the
// virtual slots of the exported classes in tests/abi/vtable_slots.cpp. Hosts compile against
// the 32-bit layouts these fix; a build for another data model (the 64-bit sanitizer build of
// the portable cores, on machines that run 64-bit programs only) compiles the same records
// without checking them.
#pragma once
#include <stddef.h>

#define CORELINK_LAYOUT_FIXED (sizeof(void*) == 4)
#define CORELINK_CHECK_SIZE(T, n) static_assert(!CORELINK_LAYOUT_FIXED || sizeof(T) == (n), #T " must be " #n " bytes")
// An offset in a class that is not standard-layout (a base with virtual members) is what the
// one ABI gives; the check asks for it without the warning that such an offsetof draws. The
// trailing static_assert takes the caller's semicolon.
#define CORELINK_CHECK_OFFSET(T, f, n)                                                              \
    _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Winvalid-offsetof\"")        \
    static_assert(!CORELINK_LAYOUT_FIXED || offsetof(T, f) == (n), #T "::" #f " must be at " #n); \
    _Pragma("GCC diagnostic pop") static_assert(true, "")
