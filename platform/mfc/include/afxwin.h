// Application object, module state and extension-module registration of the MFC subset.
//
// One module state per process lives in MfcLiteU.dll: the current resource handle, the
// application object and the chain of registered extension modules. Resource look-ups
// try the current resource handle first, then each extension module in the order of
// registration.
#pragma once
#include <windows.h>
#include "afxstr.h"
#include "afxtempl.h"

// Registration record of one extension DLL.
struct AFX_EXTENSION_MODULE {
    BOOL bInitialized;
    HMODULE hModule;
    HMODULE hResource;
};

// Fills state for hModule. FALSE when hModule is null (the DLL must refuse to load).
MFCLITE_API BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
// Unregisters and deletes the module's CDynLinkLibrary objects; bAll also clears state.
MFCLITE_API void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

// Links an extension module into the process's resource chain for as long as it lives.
class MFCLITE_API CDynLinkLibrary {
public:
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
    virtual ~CDynLinkLibrary();
    static void* operator new(size_t size);
    static void operator delete(void* p);

    HMODULE m_hModule;
    HMODULE m_hResource;
    BOOL m_bSystem;
    CDynLinkLibrary* m_pNextDLL;
};

class MFCLITE_API CWinApp {
public:
    explicit CWinApp(const wchar_t* pszAppName = nullptr);
    virtual ~CWinApp();
    virtual BOOL InitInstance();

    // Heap copy owned by the application object; replace it with SetAppName.
    const wchar_t* m_pszAppName;
    HINSTANCE m_hInstance;

    void SetAppName(const wchar_t* name);
};

MFCLITE_API CWinApp* AfxGetApp();
MFCLITE_API HINSTANCE AfxGetInstanceHandle();
MFCLITE_API HINSTANCE AfxGetResourceHandle();
MFCLITE_API void AfxSetResourceHandle(HINSTANCE hResource);
// The first module of the chain (current resource handle, then extensions) that holds
// the resource; null when none does.
MFCLITE_API HINSTANCE AfxFindResourceHandle(const wchar_t* name, const wchar_t* type);
// Number of registered extension modules (diagnostics and tests).
MFCLITE_API int AfxGetExtensionModuleCount();

// ---- Windows, dialogs, controls and GDI -------------------------------------------------
//
// Ownership: a CWnd owns the window it created or subclassed (destroying the object destroys
// the window; a window destroyed first detaches itself at WM_NCDESTROY); a CGdiObject owns its
// GDI object and a CDC its device context, each released by the object's own DeleteObject /
// DeleteDC / destructor. Objects handed out by FromHandle for handles nobody here owns are
// temporary wrappers held per thread by MfcLiteU.dll: they never release the handle, and one
// handle always gives the same wrapper while it lives.
#include "afxmsg_.h"

class CDC;
class CWnd;
class CFont;
class CBitmap;
class CBrush;
class CPen;
class CGdiObject;

struct CSize : SIZE {
    CSize() { cx = cy = 0; }
    CSize(int x, int y) { cx = x; cy = y; }
    CSize(SIZE s) { cx = s.cx; cy = s.cy; }
    bool operator==(SIZE s) const { return cx == s.cx && cy == s.cy; }
    bool operator!=(SIZE s) const { return !(*this == s); }
};

struct CPoint : POINT {
    CPoint() { x = y = 0; }
    CPoint(int ix, int iy) { x = ix; y = iy; }
    CPoint(POINT p) { x = p.x; y = p.y; }
    explicit CPoint(LPARAM lp) { x = (short)LOWORD(lp); y = (short)HIWORD(lp); }
    void Offset(int dx, int dy) { x += dx; y += dy; }
    bool operator==(POINT p) const { return x == p.x && y == p.y; }
    bool operator!=(POINT p) const { return !(*this == p); }
    CPoint operator+(SIZE s) const { return CPoint(x + s.cx, y + s.cy); }
    CPoint operator-(SIZE s) const { return CPoint(x - s.cx, y - s.cy); }
    CSize operator-(POINT p) const { return CSize(x - p.x, y - p.y); }
};

struct CRect : RECT {
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    CRect(const RECT& r) { left = r.left; top = r.top; right = r.right; bottom = r.bottom; }
    CRect(POINT p, SIZE s) { left = p.x; top = p.y; right = p.x + s.cx; bottom = p.y + s.cy; }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(&left); }
    CPoint& BottomRight() { return *reinterpret_cast<CPoint*>(&right); }
    const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(&left); }
    const CPoint& BottomRight() const { return *reinterpret_cast<const CPoint*>(&right); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    bool IsRectNull() const { return !left && !top && !right && !bottom; }
    bool PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
    void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
    void InflateRect(int dx, int dy) { left -= dx; right += dx; top -= dy; bottom += dy; }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    void NormalizeRect() {
        if (left > right) { LONG t = left; left = right; right = t; }
        if (top > bottom) { LONG t = top; top = bottom; bottom = t; }
    }
    bool operator==(const RECT& r) const { return ::EqualRect(this, &r) != 0; }
    bool operator!=(const RECT& r) const { return !(*this == r); }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
};

// ---- GDI objects --------------------------------------------------------------------------

class MFCLITE_API CGdiObject {
public:
    CGdiObject();
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject();

    HGDIOBJ m_hObject;

    // A temporary wrapper of h (see the ownership note above); null for null.
    static CGdiObject* FromHandle(HGDIOBJ h);
    BOOL Attach(HGDIOBJ h);          // takes ownership; FALSE when already holding one
    HGDIOBJ Detach();                // gives ownership up
    BOOL DeleteObject();             // releases the held object
    HGDIOBJ GetSafeHandle() const;
    operator HGDIOBJ() const;
    int GetObject(int nCount, void* pObject) const;
    BOOL CreateStockObject(int nIndex);   // held but never deleted
};

class MFCLITE_API CFont : public CGdiObject {
public:
    static CFont* FromHandle(HFONT h);
    BOOL CreateFontIndirect(const LOGFONTW* lf);
    // nPointSize in tenths of a point, for pDC (the screen when null).
    BOOL CreatePointFont(int nPointSize, const wchar_t* faceName, CDC* pDC = nullptr);
    BOOL CreatePointFontIndirect(const LOGFONTW* lf, CDC* pDC = nullptr);
    int GetLogFont(LOGFONTW* lf) const;
    operator HFONT() const;
};

class MFCLITE_API CBitmap : public CGdiObject {
public:
    static CBitmap* FromHandle(HBITMAP h);
    // Bitmap resource from the first module of the resource chain that holds it.
    BOOL LoadBitmap(UINT nID);
    BOOL LoadBitmap(const wchar_t* name);
    BOOL CreateCompatibleBitmap(CDC* pDC, int width, int height);
    int GetBitmap(BITMAP* bm) const;
    operator HBITMAP() const;
};

class MFCLITE_API CBrush : public CGdiObject {
public:
    CBrush();
    explicit CBrush(COLORREF color);
    static CBrush* FromHandle(HBRUSH h);
    BOOL CreateSolidBrush(COLORREF color);
    BOOL CreateSysColorBrush(int index);
    operator HBRUSH() const;
};

class MFCLITE_API CPen : public CGdiObject {
public:
    CPen();
    CPen(int style, int width, COLORREF color);
    static CPen* FromHandle(HPEN h);
    BOOL CreatePen(int style, int width, COLORREF color);
    operator HPEN() const;
};

// ---- Device contexts ----------------------------------------------------------------------

class MFCLITE_API CDC {
public:
    CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC();

    HDC m_hDC;

    static CDC* FromHandle(HDC h);   // temporary wrapper; never deletes the DC
    BOOL Attach(HDC h);              // takes ownership (DeleteDC at the end)
    HDC Detach();
    BOOL DeleteDC();
    HDC GetSafeHdc() const;
    operator HDC() const;

    BOOL CreateCompatibleDC(CDC* pDC);   // pDC null: compatible with the screen

    CGdiObject* SelectObject(CGdiObject* p);
    CFont* SelectObject(CFont* p);
    CBitmap* SelectObject(CBitmap* p);
    CBrush* SelectObject(CBrush* p);
    CPen* SelectObject(CPen* p);
    CGdiObject* SelectStockObject(int index);
    CFont* GetCurrentFont() const;

    BOOL BitBlt(int x, int y, int w, int h, CDC* src, int xSrc, int ySrc, DWORD rop);
    BOOL StretchBlt(int x, int y, int w, int h, CDC* src, int xSrc, int ySrc, int wSrc, int hSrc, DWORD rop);
    BOOL TextOut(int x, int y, const wchar_t* text, int n);
    BOOL TextOut(int x, int y, const CString& text);
    int DrawText(const wchar_t* text, int n, LPRECT rc, UINT format);
    int DrawText(const CString& text, LPRECT rc, UINT format);
    CSize GetTextExtent(const wchar_t* text, int n) const;
    CSize GetTextExtent(const CString& text) const;
    BOOL GetTextMetrics(TEXTMETRICW* tm) const;
    void FillSolidRect(LPCRECT rc, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void FillRect(LPCRECT rc, CBrush* brush);
    void FrameRect(LPCRECT rc, CBrush* brush);
    BOOL Rectangle(LPCRECT rc);
    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y);
    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const;
    COLORREF SetBkColor(COLORREF color);
    int SetBkMode(int mode);
    int GetDeviceCaps(int index) const;
    int SaveDC();
    BOOL RestoreDC(int saved);
};

// The DC of BeginPaint/EndPaint.
class MFCLITE_API CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps;
protected:
    HWND m_hWnd;
};

// The client-area DC of GetDC/ReleaseDC.
class MFCLITE_API CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;
protected:
    HWND m_hWnd;
};

// The whole-window DC of GetWindowDC/ReleaseDC.
class MFCLITE_API CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;
protected:
    HWND m_hWnd;
};

// ---- Windows ------------------------------------------------------------------------------

struct CCreateContext;
class CDataExchange;

// The window procedure of every window that a CWnd created or subclassed.
MFCLITE_API LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Registers (once) a window class with these attributes; returns its name, valid until the
// next call on this thread. The class's procedure is DefWindowProcW: CWnd::Create subclasses.
MFCLITE_API const wchar_t* AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr,
                                               HBRUSH hbrBackground = nullptr, HICON hIcon = nullptr);

class MFCLITE_API CWnd {
public:
    CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

public:
    HWND m_hWnd;

    // Handle map of the calling thread.
    static CWnd* FromHandle(HWND h);            // permanent object, else a temporary wrapper
    static CWnd* FromHandlePermanent(HWND h);   // the object that created/attached h, or null
    BOOL Attach(HWND h);                        // maps h to this object (no subclassing)
    HWND Detach();
    BOOL SubclassWindow(HWND h);                // Attach + messages through this object's map
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    virtual void PreSubclassWindow();
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // A notification about this control that its parent received; TRUE when handled here.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual void PostNcDestroy();

    BOOL Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                CWnd* pParent, UINT nID, CCreateContext* pContext = nullptr);
    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                  int x, int y, int width, int height, HWND hParent, HMENU idOrMenu, void* param = nullptr);
    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                  const RECT& rect, CWnd* pParent, UINT nID, void* param = nullptr);
    virtual BOOL DestroyWindow();

    HWND GetSafeHwnd() const;
    operator HWND() const;
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    CWnd* GetTopLevelParent() const;
    BOOL IsWindow() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);

    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsWindowEnabled() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    void MoveWindow(int x, int y, int width, int height, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT rc, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pInsertAfter, int x, int y, int cx, int cy, UINT flags);
    void GetWindowRect(LPRECT rc) const;
    void GetClientRect(LPRECT rc) const;
    void ScreenToClient(LPPOINT p) const;
    void ScreenToClient(LPRECT rc) const;
    void ClientToScreen(LPPOINT p) const;
    void ClientToScreen(LPRECT rc) const;
    void CenterWindow(CWnd* pAlternateOwner = nullptr);

    void SetWindowText(const wchar_t* text);
    int GetWindowText(wchar_t* buffer, int nMaxCount) const;
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;
    void SetDlgItemText(int nID, const wchar_t* text);
    int GetDlgItemText(int nID, CString& text) const;

    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT rc, BOOL bErase = TRUE);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT rc = nullptr, HRGN rgn = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;
    CDC* GetDC();                 // a temporary CDC; give it back with ReleaseDC
    int ReleaseDC(CDC* pDC);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC proc = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);
    CWnd* SetCapture();
    static CWnd* GetCapture();
    static BOOL ReleaseCapture();
    CWnd* SetFocus();
    static CWnd* GetFocus();
    static CWnd* GetActiveWindow();
    BOOL SetForegroundWindow();

    // The current message, as the default window procedure would handle it.
    LRESULT Default();
    // Data exchange between controls and members: FALSE when validation failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

protected:
    // Handlers of the message-map entries; each passes the message to Default().
    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnTimer(UINT_PTR nIDEvent);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnPaint();
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    void OnKillFocus(CWnd* pNewWnd);
    void OnSetFocus(CWnd* pOldWnd);
    void OnSize(UINT nType, int cx, int cy);

    // Sends the message to the control's own map as WM_REFLECT_BASE + message.
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    WNDPROC m_pfnSuper;           // the procedure that messages not handled here go to

private:
    friend struct AfxWndAccess;
    LRESULT OnNcDestroyed(WPARAM wParam, LPARAM lParam);
    bool dispatch_map(UINT message, UINT code, UINT id, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};

// ---- Dialogs ------------------------------------------------------------------------------

class MFCLITE_API CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);
    BOOL m_bSaveAndValidate;   // TRUE: controls to members
    CWnd* m_pDlgWnd;
    BOOL m_bFailed;            // a value did not validate; later exchanges are skipped
    HWND PrepareCtrl(int nIDC);   // the control (remembered for Fail), null when absent
    void Fail();                  // focuses the last prepared control and marks the failure
private:
    HWND m_hWndLastControl;
};

MFCLITE_API void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
MFCLITE_API void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
MFCLITE_API void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
MFCLITE_API void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
MFCLITE_API void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
MFCLITE_API void DDX_Check(CDataExchange* pDX, int nIDC, int& value);

class MFCLITE_API CDialog : public CWnd {
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(const wchar_t* templateName, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    DECLARE_MESSAGE_MAP()
public:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual INT_PTR DoModal();

    // Modeless: creates the dialog from its template and returns at once.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL Create(const wchar_t* templateName, CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult);
    void NextDlgCtrl() const;
    void GotoDlgCtrl(CWnd* pCtrl);
    void SetDefID(UINT nID);

    const wchar_t* m_lpszTemplateName;   // MAKEINTRESOURCE(id) or a name
    UINT m_nIDHelp;
    CWnd* m_pParentWnd;

protected:
    bool m_bModal;
    int m_nModalResult;
};

// ---- Controls -----------------------------------------------------------------------------

class MFCLITE_API CStatic : public CWnd {
public:
    BOOL Create(const wchar_t* text, DWORD style, const RECT& rect, CWnd* pParent, UINT nID = 0xFFFF);
    HBITMAP SetBitmap(HBITMAP h);
    HBITMAP GetBitmap() const;
};

class MFCLITE_API CButton : public CWnd {
public:
    BOOL Create(const wchar_t* caption, DWORD style, const RECT& rect, CWnd* pParent, UINT nID);
    int GetCheck() const;
    void SetCheck(int nCheck);
    UINT GetState() const;
    void SetState(BOOL bHighlight);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT style, BOOL bRedraw = TRUE);
    HBITMAP SetBitmap(HBITMAP h);

    // Owner-drawn buttons (BS_OWNERDRAW) draw themselves here; the parent's WM_DRAWITEM
    // about the button comes back to it.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class MFCLITE_API CEdit : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* pParent, UINT nID);
    void LimitText(int nChars = 0);
    UINT GetLimitText() const;
    void SetSel(int nStart, int nEnd, BOOL bNoScroll = FALSE);
    void GetSel(int& nStart, int& nEnd) const;
    void ReplaceSel(const wchar_t* text, BOOL bCanUndo = FALSE);
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
};

class MFCLITE_API CComboBox : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* pParent, UINT nID);
    int AddString(const wchar_t* text);
    int InsertString(int index, const wchar_t* text);
    int DeleteString(UINT index);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    int GetLBText(int index, wchar_t* buffer) const;   // buffer of GetLBTextLen + 1 characters
    void GetLBText(int index, CString& text) const;
    int GetLBTextLen(int index) const;
    int FindStringExact(int startAfter, const wchar_t* text) const;
    int SelectString(int startAfter, const wchar_t* text);
    DWORD_PTR GetItemData(int index) const;
    int SetItemData(int index, DWORD_PTR data);
    BOOL LimitText(int nMaxChars);
    BOOL SetEditSel(int nStart, int nEnd);
    BOOL GetDroppedState() const;
    void ShowDropDown(BOOL bShow = TRUE);

    // Owner-drawn combo boxes draw their rows here.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

// ---- Message boxes ------------------------------------------------------------------------

// A message box owned by the thread's active window, captioned with the application's name
// (the executable's file name when there is no application object or name).
MFCLITE_API int AfxMessageBox(const wchar_t* text, UINT nType = MB_OK, UINT nIDHelp = 0);
// The same with string resource nIDPrompt (through the resource chain).
MFCLITE_API int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
