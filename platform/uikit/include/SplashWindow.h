// The notify popup of the suite: a small topmost window with a text, at the bottom right of
// the work area, that closes on WM_CLOSE, on a click, or after its time-out.
#pragma once
#include <windows.h>
#include "uikit_api.h"
#include "PlatformLayout.h"

// Look of a splash window (seven 32-bit values).
struct SPLASH_STYLE_INFO {
    int nPaddingX;          // pixels between the border and the content, left and right
    int nPaddingY;          // the same above and below
    int nBorder;            // border width in pixels (0: none)
    COLORREF crBack;        // background colour
    COLORREF crText;        // text colour
    COLORREF crBorder;      // border colour
    int nFontHeightAdjust;  // added to the message font's height in pixels
};

// Icons of dwFlags' low four bits.
enum : DWORD {
    SPLASH_ICON_NONE = 0,
    SPLASH_ICON_INFORMATION = 1,
    SPLASH_ICON_WARNING = 2,
    SPLASH_ICON_ERROR = 3,
    SPLASH_ICON_QUESTION = 4,
    SPLASH_ICON_MASK = 0x0F,
};

// Shows text in a new splash window and returns its handle (null on failure).
//   dwTimeout  milliseconds until it closes by itself; 0: it stays until closed
//   hParent    owner window (may be null); its monitor's work area is used
//   x, y       screen position of the top-left corner; both 0: the bottom right of the work area
//   dwFlags    SPLASH_ICON_* in the low four bits
//   bIcon      draw the icon of dwFlags
//   style      the look; null: the default look (tooltip colours, 10-pixel padding, 1-pixel border)
// The window belongs to the calling thread, which must handle window messages. It closes when
// that thread ends and when this module is unloaded.
UIKIT_API HWND ShowSplashWindow(const wchar_t* text, DWORD dwTimeout, HWND hParent, int x, int y,
                                DWORD dwFlags, BOOL bIcon, const SPLASH_STYLE_INFO* style);
inline HWND ShowSplashWindow(const unsigned short* text, DWORD dwTimeout, HWND hParent, int x, int y,
                             DWORD dwFlags, BOOL bIcon, const SPLASH_STYLE_INFO* style) {
    return ShowSplashWindow(reinterpret_cast<const wchar_t*>(text), dwTimeout, hParent, x, y, dwFlags, bIcon, style);
}
// Window class name of splash windows.
#define SPLASH_WINDOW_CLASS L"UiKitSplashWindow"

// The layout programs compile against (see PlatformLayout.h).
PLATFORM_CHECK_SIZE(SPLASH_STYLE_INFO, 28);
PLATFORM_CHECK_OFFSET(SPLASH_STYLE_INFO, nPaddingX, 0);
PLATFORM_CHECK_OFFSET(SPLASH_STYLE_INFO, nPaddingY, 4);
PLATFORM_CHECK_OFFSET(SPLASH_STYLE_INFO, nBorder, 8);
PLATFORM_CHECK_OFFSET(SPLASH_STYLE_INFO, crBack, 12);
PLATFORM_CHECK_OFFSET(SPLASH_STYLE_INFO, crText, 16);
PLATFORM_CHECK_OFFSET(SPLASH_STYLE_INFO, crBorder, 20);
PLATFORM_CHECK_OFFSET(SPLASH_STYLE_INFO, nFontHeightAdjust, 24);
