// Export macro of Corelink.dll. Hosts compile with CORELINK_API as dllimport.
#pragma once
#ifdef CORELINK_BUILD
#define CORELINK_API __declspec(dllexport)
#else
#define CORELINK_API __declspec(dllimport)
#endif
