// The suite's message box: the platform's standard box, altered while it opens (a check
// box, a count-down that ends the box by itself, centred text, buttons to the right,
// centring over the owner or placement at a screen point).
#pragma once
#include <windows.h>
#include <cstddef>
#include "CorelinkApi.h"

class CWnd;

// Flags of SXMSGBOX::uFlags.
enum : UINT {
    SX_MSGBOX_CENTER        = 0x01,   // centre the box over its owner (and the check box across it)
    SX_MSGBOX_TIMEOUT       = 0x02,   // set by SxMessageBox itself from uTimeout
    SX_MSGBOX_CENTER_TEXT   = 0x04,
    SX_MSGBOX_CHECKBOX      = 0x08,
    SX_MSGBOX_RIGHT_BUTTONS = 0x10,
    SX_MSGBOX_SET_POS       = 0x20,   // top-left corner at (nPosX, nPosY); excludes SX_MSGBOX_CENTER
};

// Control identifier of the added check box, and the count-down timer of the box.
enum : UINT { IDC_SX_CHECKBOX = 19726, IDT_SX_COUNTDOWN = 2002888 };

// The caller's record. It and the texts it points to stay valid until SxMessageBox returns.
struct SXMSGBOX {
    UINT uFlags;
    UINT uTimeout;                            // seconds until the box ends with its default button; 0: none
    const unsigned short* pcszCheckBoxText;   // "(T)" in the message text shows the seconds left
    UINT* puValue;                            // in: non-zero opens the check box checked; out: 1/0 after each click
    int nPosX;
    int nPosY;
};

// MessageBoxW(hWnd, text, caption, type) altered as p asks; returns what MessageBoxW returns.
// A rejected record (reported to the debugger output) or a null caption gives a plain box.
// Writes SX_MSGBOX_TIMEOUT in p->uFlags from p->uTimeout.
CORELINK_API int SxMessageBox(HWND hWnd, const unsigned short* text, const unsigned short* caption,
                              UINT type, SXMSGBOX* p);
// The same with string resources; captionId 0 takes the application's name.
CORELINK_API int SxMessageBox(CWnd* pWnd, UINT textId, UINT captionId, UINT type, SXMSGBOX* p);

// The layout hosts compile against (see CorelinkLayout.h).
#include "CorelinkLayout.h"
CORELINK_CHECK_SIZE(SXMSGBOX, 24);
CORELINK_CHECK_OFFSET(SXMSGBOX, uFlags, 0);
CORELINK_CHECK_OFFSET(SXMSGBOX, uTimeout, 4);
CORELINK_CHECK_OFFSET(SXMSGBOX, pcszCheckBoxText, 8);
CORELINK_CHECK_OFFSET(SXMSGBOX, puValue, 12);
CORELINK_CHECK_OFFSET(SXMSGBOX, nPosX, 16);
CORELINK_CHECK_OFFSET(SXMSGBOX, nPosY, 20);
