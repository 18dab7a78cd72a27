// Umbrella header of the foundation library.
#pragma once
#include "CxString.h"
#include "CxStringList.h"
#include "CxLogMsg.h"
#include "CxRegSDK.h"
#include "VXLibConfig.h"
#include "CxShareMemory.h"
#include "SysInfo.h"
#include "FilePath.h"
#include "ReleaseCPUTime.h"
#include "CxSysMsgQueue.h"
#include "CPackageBlk.h"
