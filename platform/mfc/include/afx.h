// Umbrella header of the MFC subset.
#pragma once
#include "afxstr.h"
#include "afxtempl.h"
#include "afxcoll.h"
#include "afxwin.h"
