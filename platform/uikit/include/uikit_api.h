// Export macro of the controls library (UiKitU.dll).
#pragma once
#ifdef UIKIT_BUILD
#define UIKIT_API __declspec(dllexport)
#else
#define UIKIT_API __declspec(dllimport)
#endif
