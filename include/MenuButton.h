// CxMenuButton: an owner-drawn push button that behaves like a drop-down list. It is painted
// from a three-part skin bitmap (rows normal, pressed, disabled; each a left cap, a
// stretchable middle and a right cap), shows its caption or the selected item's text, and a
// click opens a CxMenuList below it. A choice notifies the parent like a combo box does
// (WM_COMMAND with CBN_SELENDOK / CBN_SELCHANGE / CBN_SELENDCANCEL) and, when a notify message
// is set, first with that message (wParam WM_XMB_*, lParam the selection).
//
// The window that creates the button gives it the BS_OWNERDRAW style.
#pragma once
#include <afxwin.h>
#include "CorelinkApi.h"

// Between the list and the button, and the wParam of the extra notification.
#define WM_XMB_SELENDOK     (WM_USER + 1001)   // the list closed with a choice
#define WM_XMB_SELENDCANCEL (WM_USER + 1002)   // the list closed without a choice
#define WM_XMB_SELCHANGE    (WM_USER + 1003)   // highlighted row (list) / selection (parent) changed
static_assert(WM_XMB_SELENDOK == 2025 && WM_XMB_SELENDCANCEL == 2026 && WM_XMB_SELCHANGE == 2027,
              "the menu button's message numbers are fixed");

class CxMenuList;

class CORELINK_API CxMenuButton : public CButton {
public:
    // Skin geometry in pixels.
    struct SkinConfig {
        int nHeight;        // one bitmap row, and the button's height
        int nLeftWidth;     // left cap
        int nRightWidth;    // right cap
        int nMiddleWidth;   // stretchable middle part in the bitmap
    };
    // One list row.
    struct Item {
        CString strText;
        unsigned long dwData;
    };

    CxMenuButton();
    ~CxMenuButton() override;

    const SkinConfig& GetSkinConfig() const { return m_SkinConfig; }
    // Replaces the skin with bitmap id (found through the resource chain) and its geometry.
    void SetSkinBitmap(unsigned int id, const SkinConfig& cfg);
    // Sizes the window to the skin: nHeight high, at least as wide as the three parts.
    void SetWindowSize();

    // Caption and flag take effect at the next paint.
    void SetCaption(const CString& caption) { m_strCaption = caption; }
    CString GetCaption() const { return m_strCaption; }
    void SetUpdateCaption(bool update) { m_bUpdateCaption = update; }
    bool GetUpdateCaption() const { return m_bUpdateCaption; }
    void SetNotifyMessage(unsigned int msg) { m_nNotifyMsg = msg; }

    CArray<Item>& GetMenuItems() { return m_aItems; }
    int GetCount() const { return static_cast<int>(m_aItems.GetSize()); }
    int GetCurSel() const { return m_nCurSel; }

    // Replaces the items with copies of n items (none when n < 1); the selection stays.
    void SetMenuItems(Item* items, int n);
    // Appends an item with data 0; its index.
    int AddString(const unsigned short* text);
    // Removes the item at index when there is one; the count. The selection is not adjusted.
    int DeleteString(unsigned int index);
    // Stores data at index when in range; returns index.
    int SetItemData(int index, unsigned long data);
    // The item's data, 0 out of range.
    unsigned long GetItemData(int index) const;
    // Selects index and shows its text; -1 (nothing changes) out of range.
    int SetCurSel(int index);
    // The item whose text equals text exactly, searching after startAfter and wrapping round
    // (a negative startAfter: the whole list from the start); -1 when none. Selects nothing.
    int SelectString(int startAfter, const unsigned short* text);

    void PreSubclassWindow() override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    int OnCreate(LPCREATESTRUCT cs);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnClicked();
    LRESULT OnSelEndOK(WPARAM index, LPARAM);
    LRESULT OnSelEndCancel(WPARAM, LPARAM);
    // The keyboard, the window text, the focus and an open list that must not outlive the
    // window: handled in the button's own message map (since 1.1).
    LRESULT OnGetDlgCode(WPARAM, LPARAM msg);
    LRESULT OnKeyDown(WPARAM key, LPARAM flags);
    LRESULT OnSysKeyDown(WPARAM key, LPARAM flags);
    LRESULT OnChar(WPARAM ch, LPARAM);
    LRESULT OnGetText(WPARAM, LPARAM);
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CBitmap m_bmpSkin;
    SkinConfig m_SkinConfig;
    CString m_strCaption;
    bool m_bDropped;          // the list is open
    int m_nCurSel;
    CArray<Item> m_aItems;
    unsigned int m_nNotifyMsg;   // 0: no extra notification
    bool m_bUpdateCaption;       // show the selected item's text rather than the caption

private:
    friend class CxMenuList;
    void notify_parent(UINT xmbCode, UINT cbnCode);
    bool take_key(UINT key, bool alt);
    void select_from_keyboard(int index);
    void open_list();
    const CString& shown_text() const;
    void show_text(bool repaint);
};

// The popup list of a CxMenuButton: a borderless window below the button, as wide as the
// button, kept on the screen. It holds the mouse capture while open, highlights the row under
// the mouse and closes on the button's release (a choice inside, a cancel outside) or when
// the application is deactivated. It deletes itself when its window is destroyed.
class CORELINK_API CxMenuList : public CWnd {
public:
    explicit CxMenuList(CxMenuButton* owner);
    ~CxMenuList() override;

    // Creates and shows the list below its owner with the owner's selection highlighted and
    // takes the mouse capture. FALSE when the owner has no window or the window could not be
    // made; the object is then still the caller's.
    BOOL Create();

    int GetHover() const { return m_nHover; }
    const CRect& GetListRect() const { return m_rcList; }
    int GetItemHeight() const { return m_nItemHeight; }
    CxMenuButton* GetOwnerButton() const { return m_pOwner; }

protected:
    void PostNcDestroy() override;
    void OnPaint();
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnActivateApp(BOOL active, DWORD threadId);
    void OnKillFocus(CWnd* newWnd);
    // The keyboard, the wheel and the list-box queries: handled in the list's own message
    // map (since 1.1).
    LRESULT OnGetDlgCode(WPARAM, LPARAM);
    LRESULT OnKeyDown(WPARAM key, LPARAM flags);
    LRESULT OnSysKeyDown(WPARAM key, LPARAM flags);
    LRESULT OnChar(WPARAM ch, LPARAM);
    LRESULT OnClose(WPARAM, LPARAM);
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM);
    LRESULT OnGetCount(WPARAM, LPARAM);
    LRESULT OnGetCurSel(WPARAM, LPARAM);
    LRESULT OnGetTopIndex(WPARAM, LPARAM);
    LRESULT OnGetTextLen(WPARAM row, LPARAM);
    LRESULT OnGetText(WPARAM row, LPARAM buffer);
    DECLARE_MESSAGE_MAP()

    CxMenuButton* m_pOwner;
    int m_nHover;          // highlighted row, -1 for none
    CRect m_rcList;        // screen coordinates
    int m_nButtonWidth;
    int m_nItemHeight;

private:
    friend class CxMenuButton;
    // Destroys, without a message, the open list of a button that is going away.
    static void destroy_list_of(CxMenuButton* owner);
    static void close_for(CxMenuButton* owner);   // 1.0's name of destroy_list_of, kept in the export table
    // Closes the list and tells its button: the focus back to the button when the list had
    // it, the list destroyed, then message with the highlighted row to the button.
    void close_with(UINT message);
    bool take_key(UINT key, bool alt);
    void set_hover(int row);
    void show_row(int row);
    void set_top(int top);
    int top_row() const;
    int shown_rows() const;
    int row_at(CPoint client) const;
    bool m_bCreated = false;   // the window exists; only then does its destruction delete this
};

// The layout hosts compile against (see CorelinkLayout.h).
#include "CorelinkLayout.h"
CORELINK_CHECK_SIZE(CxMenuButton, 72);
CORELINK_CHECK_SIZE(CxMenuButton::SkinConfig, 16);
CORELINK_CHECK_OFFSET(CxMenuButton::SkinConfig, nHeight, 0);
CORELINK_CHECK_OFFSET(CxMenuButton::SkinConfig, nLeftWidth, 4);
CORELINK_CHECK_OFFSET(CxMenuButton::SkinConfig, nRightWidth, 8);
CORELINK_CHECK_OFFSET(CxMenuButton::SkinConfig, nMiddleWidth, 12);
CORELINK_CHECK_SIZE(CxMenuButton::Item, 8);
CORELINK_CHECK_OFFSET(CxMenuButton::Item, strText, 0);
CORELINK_CHECK_OFFSET(CxMenuButton::Item, dwData, 4);
CORELINK_CHECK_SIZE(CxMenuList, 48);
