// Export macro of the MFC subset (MfcLiteU.dll).
#pragma once
#ifdef MFCLITE_BUILD
#define MFCLITE_API __declspec(dllexport)
#else
#define MFCLITE_API __declspec(dllimport)
#endif
