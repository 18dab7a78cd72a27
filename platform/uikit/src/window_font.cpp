// The font of the suite's window texts.
#include "CxControls.h"
#include <stddef.h>
#include <wchar.h>
#include "unique_res.h"

BOOL CreateWndTextFont(CWnd* pWnd, CDC* pDC, CFont& font, const wchar_t* faceName, BOOL bFromWindow,
                       int nHeightAdjust) {
    if (font.m_hObject) return TRUE;
    LOGFONTW lf{};
    CFont* own = (bFromWindow && pWnd && pWnd->m_hWnd) ? pWnd->GetFont() : nullptr;
    if (!own || !own->GetLogFont(&lf)) {
        NONCLIENTMETRICSW ncm{};
        ncm.cbSize = sizeof(ncm);
        if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) {
            // Older systems: the shorter record without the padded-border field.
            ncm.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(LOGFONTW);
            if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0))
                GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &ncm.lfMessageFont);
        }
        lf = ncm.lfMessageFont;
    }
    if (faceName && *faceName) {
        wcsncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
        lf.lfFaceName[LF_FACESIZE - 1] = 0;
    }
    if (lf.lfHeight == 0) {
        // A zero height (font mapper's default): the height of 8 points on the device.
        win32::unique_screen_dc screen;
        HDC dc = pDC ? pDC->m_hDC : nullptr;
        if (!dc) { screen.reset(GetDC(nullptr)); dc = screen.get(); }
        lf.lfHeight = -MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72);
    }
    // The adjustment changes the magnitude, whatever the sign convention of the height.
    int magnitude = (lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight) + nHeightAdjust;
    if (magnitude < 1) magnitude = 1;
    lf.lfHeight = lf.lfHeight < 0 ? -magnitude : magnitude;
    lf.lfWidth = 0;
    return font.CreateFontIndirect(&lf);
}
