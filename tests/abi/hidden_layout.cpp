// Layout checks that the exported headers cannot make themselves, in the same form
// (CorelinkLayout.h): the offsets of protected and private fields of the exported classes
// (hosts inline the accessors that read them, and classes of theirs derive from the
// classes), and the platform classes that the exported classes derive from or hold, whose
// sizes move every field after them.
//
// Built with -fno-access-control, so that protected and private fields can be named here;
// the object is never linked. A change fails the build of the target abi_probes.
#include <Corelink.h>
#include <CxLogMsg.h>
#include <CxSysMsgQueue.h>
#include <afxcmn.h>

// ---- Fields that hosts do not name ----------------------------------------------------------
CORELINK_CHECK_OFFSET(AppDB, m_pDB, 4);
CORELINK_CHECK_OFFSET(AppDB, m_strPath, 8);
CORELINK_CHECK_OFFSET(SimpleDB, m_db, 4);
CORELINK_CHECK_OFFSET(SimpleDB, m_table, 8);
CORELINK_CHECK_OFFSET(SimpleDB, m_inTransaction, 12);
CORELINK_CHECK_OFFSET(SimpleDB, m_stmts, 16);
CORELINK_CHECK_OFFSET(_xml_attr, m_nRefs, 8);
CORELINK_CHECK_OFFSET(_xml_attr, m_pChunk, 12);
CORELINK_CHECK_OFFSET(_xml_element, m_nRefs, 40);
CORELINK_CHECK_OFFSET(_xml_element, m_pChunk, 44);
CORELINK_CHECK_OFFSET(CxMenuButton, m_bmpSkin, 12);
CORELINK_CHECK_OFFSET(CxMenuButton, m_SkinConfig, 20);
CORELINK_CHECK_OFFSET(CxMenuButton, m_strCaption, 36);
CORELINK_CHECK_OFFSET(CxMenuButton, m_bDropped, 40);
CORELINK_CHECK_OFFSET(CxMenuButton, m_nCurSel, 44);
CORELINK_CHECK_OFFSET(CxMenuButton, m_aItems, 48);
CORELINK_CHECK_OFFSET(CxMenuButton, m_nNotifyMsg, 64);
CORELINK_CHECK_OFFSET(CxMenuButton, m_bUpdateCaption, 68);
CORELINK_CHECK_OFFSET(CxMenuList, m_pOwner, 12);
CORELINK_CHECK_OFFSET(CxMenuList, m_nHover, 16);
CORELINK_CHECK_OFFSET(CxMenuList, m_rcList, 20);
CORELINK_CHECK_OFFSET(CxMenuList, m_nButtonWidth, 36);
CORELINK_CHECK_OFFSET(CxMenuList, m_nItemHeight, 40);
CORELINK_CHECK_OFFSET(CxMenuList, m_bCreated, 44);
CORELINK_CHECK_OFFSET(CNameSelectDlg, m_bSpecialAdded, 128);

// ---- The platform classes inside the exported ones ---------------------------------------------
CORELINK_CHECK_SIZE(CString, 4);
CORELINK_CHECK_SIZE(CWnd, 12);
CORELINK_CHECK_OFFSET(CWnd, m_hWnd, 4);
CORELINK_CHECK_OFFSET(CWnd, m_pfnSuper, 8);
CORELINK_CHECK_SIZE(CDialog, 32);
CORELINK_CHECK_OFFSET(CDialog, m_lpszTemplateName, 12);
CORELINK_CHECK_OFFSET(CDialog, m_nIDHelp, 16);
CORELINK_CHECK_OFFSET(CDialog, m_pParentWnd, 20);
CORELINK_CHECK_OFFSET(CDialog, m_bModal, 24);
CORELINK_CHECK_OFFSET(CDialog, m_nModalResult, 28);
CORELINK_CHECK_SIZE(CButton, 12);
CORELINK_CHECK_SIZE(CEdit, 12);
CORELINK_CHECK_SIZE(CComboBox, 12);
CORELINK_CHECK_SIZE(CProgressCtrl, 12);
CORELINK_CHECK_SIZE(CGdiObject, 8);
CORELINK_CHECK_SIZE(CFont, 8);
CORELINK_CHECK_SIZE(CBitmap, 8);
CORELINK_CHECK_SIZE(CRect, 16);
CORELINK_CHECK_SIZE(CxString, 8);
CORELINK_CHECK_SIZE(CxStringList, 4);
CORELINK_CHECK_SIZE(CxComboBox, 12);
CORELINK_CHECK_SIZE(CxEdit, 12);
CORELINK_CHECK_SIZE(CxLogMsg, 8);
CORELINK_CHECK_SIZE(MSGQUEUE_INFO, 12);
CORELINK_CHECK_OFFSET(MSGQUEUE_INFO, dwSize, 0);
CORELINK_CHECK_OFFSET(MSGQUEUE_INFO, dwFlags, 4);
CORELINK_CHECK_OFFSET(MSGQUEUE_INFO, dwRemaining, 8);
using MenuItems = CArray<CxMenuButton::Item>;
using ElementList = CArray<_xml_element*, _xml_element*>;
CORELINK_CHECK_SIZE(MenuItems, 16);
CORELINK_CHECK_SIZE(ElementList, 16);
