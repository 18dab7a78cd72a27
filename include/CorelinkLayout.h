// Layout checks of the exported records and classes, in the one form they take: each header
// ends with the size of every exported record and class and the offset of each public field.
// Offsets of protected and private fields are checked in tests/abi/hidden_layout.cpp, the
// virtual slots of the exported classes in tests/abi/vtable_slots.cpp. Hosts compile against
// the 32-bit layouts these fix; a build for another data model (the 64-bit sanitizer build of
// the portable cores, on machines that run 64-bit programs only) compiles the same records
// without checking them. The checks are the platform modules' own (PlatformLayout.h, installed
// beside this header), under the library's names.
#pragma once
#include "PlatformLayout.h"

#define CORELINK_LAYOUT_FIXED PLATFORM_LAYOUT_FIXED
#define CORELINK_CHECK_SIZE(T, n) PLATFORM_CHECK_SIZE(T, n)
#define CORELINK_CHECK_OFFSET(T, f, n) PLATFORM_CHECK_OFFSET(T, f, n)
