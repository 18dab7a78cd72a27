// The controls of the suite's look: a combo box and an edit with text helpers, and the font
// that the suite's windows use for their text.
#pragma once
#include <afxcoll.h>
#include <afxwin.h>
#include "CxStringList.h"
#include "uikit_api.h"

class UIKIT_API CxComboBox : public CComboBox {
public:
    CxComboBox();
    ~CxComboBox() override;

    // Adds the list's texts as rows, in list order; bAppend 0 empties the box first.
    // Returns the number of rows added.
    int FillStringList(const CxStringList& list, int bAppend = 0);
    int FillStringList(const CStringList& list, int bAppend = 0);
    // Sets the text of the edit part (drop-down boxes) or selects the row with exactly that
    // text (drop-down lists). nMaxChars > 0 also limits the edit part to that many characters
    // and cuts the text to fit.
    void SetEditBox(const wchar_t* text, int nMaxChars = 0);
    // The text of the edit part (drop-down boxes) or of the selected row.
    CString GetEditBox() const;
};

class UIKIT_API CxEdit : public CEdit {
public:
    CxEdit();
    ~CxEdit() override;

    // The edit's text.
    CString GetEditBox() const;
    // Sets the text and puts the caret after it; nMaxChars > 0 also limits the edit to that
    // many characters and cuts the text to fit.
    void SetEditBox(const wchar_t* text, int nMaxChars = 0);
};

// Makes font the font for pWnd's text in the suite's look: the window's own font when
// bFromWindow is set and the window has one, else the system's message font; faceName
// (when given) replaces the face; nHeightAdjust is added to the character height in pixels
// (−2 makes it two pixels smaller). pDC (or the screen when null) is the device the font is
// measured for. A font object that already holds a font is kept as it is, so one font can be
// shared by several controls. FALSE when no font could be made.
UIKIT_API BOOL CreateWndTextFont(CWnd* pWnd, CDC* pDC, CFont& font, const wchar_t* faceName,
                                 BOOL bFromWindow, int nHeightAdjust);
