// Request records unpacked from arbitrary bytes; what was unpacked packs and unpacks again
// to the same package.
#include <stdint.h>
#include <string.h>
#include <stdlib.h>
#include "net_package.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CCommandNetBlk first;
    UnpackNetBlk(data, static_cast<unsigned long>(size), first);
    CPackageBlk once;
    PackNetBlk(first, once);
    CCommandNetBlk second;
    UnpackNetBlk(once.GetPackagePtr(), once.GetPackageSize(), second);
    CPackageBlk twice;
    PackNetBlk(second, twice);
    if (once.GetPackageSize() != twice.GetPackageSize() ||
        memcmp(once.GetPackagePtr(), twice.GetPackagePtr(), once.GetPackageSize()) != 0)
        abort();
    return 0;
}
