// The virtual slots of the exported classes, as data that check_abi.py reads from this object.
//
// Hosts call these members through the vtable and override them in classes of their own, so
// each must keep its slot. A pointer to a virtual member holds 1 + the byte offset of its
// slot (Itanium C++ ABI, which mingw-w64 follows); every record below is such a pointer with
// the member's name, placed in the section ".abislot", and the object is never linked.
// Classes whose only virtual member is the destructor (AppDB, SimpleDB, CXMLDoc,
// CCommandNetBlk, CNetConnector) have nothing to read here: a virtual member added to one of
// them is a new export, which the export lists show.
//
// Built with -fno-access-control, so that protected members are named like public ones.
#include <Corelink.h>
#include <CxLogMsg.h>

namespace {

template <class Member>
struct SlotRecord {
    char name[116];
    unsigned magic;
    Member member;
};
static_assert(sizeof(SlotRecord<void (CWnd::*)()>) == 128, "a slot record is 128 bytes");

}  // namespace

#define CORELINK_SLOT_CAT2(a, b) a##b
#define CORELINK_SLOT_CAT(a, b) CORELINK_SLOT_CAT2(a, b)
#define SLOT(Class, member)                                                                          \
    extern const SlotRecord<decltype(&Class::member)> CORELINK_SLOT_CAT(corelink_slot_, __COUNTER__) \
        __attribute__((section(".abislot"), used)) = {#Class "::" #member, 0x534C4F54u, &Class::member};

// Every virtual member of a window class, then of a dialog and of a button.
#define WINDOW_SLOTS(C)         \
    SLOT(C, GetMessageMap)      \
    SLOT(C, PreSubclassWindow)  \
    SLOT(C, DoDataExchange)     \
    SLOT(C, PreCreateWindow)    \
    SLOT(C, WindowProc)         \
    SLOT(C, OnWndMsg)           \
    SLOT(C, DefWindowProc)      \
    SLOT(C, OnCommand)          \
    SLOT(C, OnChildNotify)      \
    SLOT(C, PostNcDestroy)      \
    SLOT(C, DestroyWindow)
#define DIALOG_SLOTS(C)    \
    WINDOW_SLOTS(C)        \
    SLOT(C, OnInitDialog)  \
    SLOT(C, OnOK)          \
    SLOT(C, OnCancel)      \
    SLOT(C, DoModal)
#define BUTTON_SLOTS(C) \
    WINDOW_SLOTS(C)     \
    SLOT(C, DrawItem)

DIALOG_SLOTS(CWebFileDownloadDlg)
DIALOG_SLOTS(CNameSelectDlg)
DIALOG_SLOTS(CPosSelectDlg)
BUTTON_SLOTS(CxMenuButton)
WINDOW_SLOTS(CxMenuList)

// The diagnostic logs that the library hands out (g_pDbgUI, g_pDbgEng, g_pDbgPanel).
SLOT(CxLogMsg, LogMsg)
