// The byte package of a CCommandNetBlk, as it travels through the queues.
#pragma once
#include <CPackageBlk.h>
#include "NetConnector.h"

void PackNetBlk(const CCommandNetBlk& block, CPackageBlk& package);
// Fills block (which holds the defaults) from a package; missing or short keys leave
// the defaults. Never reads or writes past either side.
void UnpackNetBlk(const void* data, unsigned long size, CCommandNetBlk& block);
