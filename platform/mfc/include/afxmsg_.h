// Message-map entries of the MFC subset.
//
// A message map is a static table of AFX_MSGMAP_ENTRY rows, one per handled message, ended
// by a row whose signature is AfxSig_end; each map links to its base class's map, so a
// class handles what its bases handle unless it names the message itself. The handler is
// stored as a plain CWnd member pointer and called back through the signature of its row.
#pragma once
#include <windows.h>
#include <string.h>

class CWnd;
typedef void (CWnd::*AFX_PMSG)();

// Stores a handler of any signature as AFX_PMSG, and gives it back (same representation).
template <class F> inline AFX_PMSG AfxToPmsg(F f) {
    static_assert(sizeof(F) == sizeof(AFX_PMSG), "handler must be a CWnd member function");
    AFX_PMSG p;
    memcpy(static_cast<void*>(&p), static_cast<const void*>(&f), sizeof p);
    return p;
}
template <class F> inline F AfxFromPmsg(AFX_PMSG p) {
    static_assert(sizeof(F) == sizeof(AFX_PMSG), "handler must be a CWnd member function");
    F f;
    memcpy(static_cast<void*>(&f), static_cast<const void*>(&p), sizeof f);
    return f;
}

// Handler signatures (how OnWndMsg unpacks wParam/lParam and what it returns).
enum AfxSig : UINT_PTR {
    AfxSig_end = 0,
    AfxSig_vv,        // void ()
    AfxSig_v_up,      // void (UINT_PTR)                 WM_TIMER
    AfxSig_i_pcs,     // int (LPCREATESTRUCT)            WM_CREATE
    AfxSig_b_pdc,     // BOOL (CDC*)                     WM_ERASEBKGND
    AfxSig_v_u_pt,    // void (UINT, CPoint)             mouse messages
    AfxSig_v_b_dw,    // void (BOOL, DWORD)              WM_ACTIVATEAPP
    AfxSig_v_pwnd,    // void (CWnd*)                    WM_KILLFOCUS, WM_SETFOCUS
    AfxSig_l_w_l,     // LRESULT (WPARAM, LPARAM)        ON_MESSAGE
    AfxSig_v_u_ii,    // void (UINT, int, int)           WM_SIZE
    AfxSig_b_v,       // BOOL ()                         ON_CONTROL_REFLECT_EX
};

// Offset of reflected messages: a control sees its parent's notification about it as
// WM_REFLECT_BASE + the notification message.
#define WM_REFLECT_BASE 0xBC00

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;     // window message (WM_COMMAND for control notifications)
    UINT nCode;        // notification code of WM_COMMAND rows, 0 otherwise
    UINT nID;          // first control id of WM_COMMAND rows
    UINT nLastID;      // last control id of WM_COMMAND rows
    UINT_PTR nSig;     // AfxSig_*
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();   // null for the root map (CWnd)
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    virtual const AFX_MSGMAP* GetMessageMap() const;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() { \
        typedef theClass ThisClass; \
        typedef baseClass TheBaseClass; \
        (void)sizeof(ThisClass*); \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP() \
            {0, 0, 0, 0, AfxSig_end, nullptr} \
        }; \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
        return &messageMap; \
    }

// The member pointer of a handler, checked against its signature, stored as AFX_PMSG.
#define AFX_MSG_FN(type, fn) AfxToPmsg(static_cast<type>(fn))

#define ON_WM_CREATE() \
    {WM_CREATE, 0, 0, 0, AfxSig_i_pcs, AFX_MSG_FN(int (CWnd::*)(LPCREATESTRUCT), &ThisClass::OnCreate)},
#define ON_WM_DESTROY() \
    {WM_DESTROY, 0, 0, 0, AfxSig_vv, AFX_MSG_FN(void (CWnd::*)(), &ThisClass::OnDestroy)},
#define ON_WM_TIMER() \
    {WM_TIMER, 0, 0, 0, AfxSig_v_up, AFX_MSG_FN(void (CWnd::*)(UINT_PTR), &ThisClass::OnTimer)},
#define ON_WM_ERASEBKGND() \
    {WM_ERASEBKGND, 0, 0, 0, AfxSig_b_pdc, AFX_MSG_FN(BOOL (CWnd::*)(CDC*), &ThisClass::OnEraseBkgnd)},
#define ON_WM_PAINT() \
    {WM_PAINT, 0, 0, 0, AfxSig_vv, AFX_MSG_FN(void (CWnd::*)(), &ThisClass::OnPaint)},
#define ON_WM_MOUSEMOVE() \
    {WM_MOUSEMOVE, 0, 0, 0, AfxSig_v_u_pt, AFX_MSG_FN(void (CWnd::*)(UINT, CPoint), &ThisClass::OnMouseMove)},
#define ON_WM_LBUTTONDOWN() \
    {WM_LBUTTONDOWN, 0, 0, 0, AfxSig_v_u_pt, AFX_MSG_FN(void (CWnd::*)(UINT, CPoint), &ThisClass::OnLButtonDown)},
#define ON_WM_LBUTTONUP() \
    {WM_LBUTTONUP, 0, 0, 0, AfxSig_v_u_pt, AFX_MSG_FN(void (CWnd::*)(UINT, CPoint), &ThisClass::OnLButtonUp)},
#define ON_WM_ACTIVATEAPP() \
    {WM_ACTIVATEAPP, 0, 0, 0, AfxSig_v_b_dw, AFX_MSG_FN(void (CWnd::*)(BOOL, DWORD), &ThisClass::OnActivateApp)},
#define ON_WM_KILLFOCUS() \
    {WM_KILLFOCUS, 0, 0, 0, AfxSig_v_pwnd, AFX_MSG_FN(void (CWnd::*)(CWnd*), &ThisClass::OnKillFocus)},
#define ON_WM_SETFOCUS() \
    {WM_SETFOCUS, 0, 0, 0, AfxSig_v_pwnd, AFX_MSG_FN(void (CWnd::*)(CWnd*), &ThisClass::OnSetFocus)},
#define ON_WM_SIZE() \
    {WM_SIZE, 0, 0, 0, AfxSig_v_u_ii, AFX_MSG_FN(void (CWnd::*)(UINT, int, int), &ThisClass::OnSize)},

// Any window message: LRESULT handler(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn) \
    {message, 0, 0, 0, AfxSig_l_w_l, AFX_MSG_FN(LRESULT (CWnd::*)(WPARAM, LPARAM), &ThisClass::memberFxn)},

// WM_COMMAND from a control (or menu/accelerator: code 0) to its parent.
#define ON_CONTROL(code, id, memberFxn) \
    {WM_COMMAND, (UINT)(WORD)(code), (UINT)(WORD)(id), (UINT)(WORD)(id), AfxSig_vv, \
     AFX_MSG_FN(void (CWnd::*)(), &ThisClass::memberFxn)},
#define ON_COMMAND(id, memberFxn) ON_CONTROL(0, id, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)

// A notification reflected back to the control that sent it: the parent does not see it.
#define ON_CONTROL_REFLECT(code, memberFxn) \
    {WM_COMMAND + WM_REFLECT_BASE, (UINT)(WORD)(code), 0, 0, AfxSig_vv, \
     AFX_MSG_FN(void (CWnd::*)(), &ThisClass::memberFxn)},
// The same, but the parent also sees it when the handler returns FALSE.
#define ON_CONTROL_REFLECT_EX(code, memberFxn) \
    {WM_COMMAND + WM_REFLECT_BASE, (UINT)(WORD)(code), 0, 0, AfxSig_b_v, \
     AFX_MSG_FN(BOOL (CWnd::*)(), &ThisClass::memberFxn)},
