// ShowMessageWithHint: the caller's message, the Sharp models' information box, and the
// connection hint with its "do not show again" check box.
#include <afxwin.h>
#include "HintMessages.h"
#include "SharedState.h"
#include "SxMessageBox.h"
#include "hint_rules.h"
#include "library_names.h"

namespace {

const UINT kCheckBoxText = 2023;
const UINT kHintCaption = 2200;

// Retry and Ignore of a retry box go back to the caller at once: the operation is repeated
// or skipped, and a hint about the connection would only be in the way.
bool RetriesAtOnce(UINT type, int result) {
    UINT buttons = type & MB_TYPEMASK;
    return (buttons == MB_ABORTRETRYIGNORE || buttons == MB_RETRYCANCEL) && (result == IDRETRY || result == IDIGNORE);
}

} // namespace

int ShowMessageWithHint(const unsigned short* msg, UINT type, EPhMgrModule module, int nCheck, int* pbChecked) {
    // The check box state as the caller remembers it; it is what the caller gets back when no
    // hint box is shown, so that *pbChecked never holds what it held before the call.
    UINT checked = nCheck > 0 ? 1 : 0;
    auto report = [&] {
        if (pbChecked) *pbChecked = checked ? 1 : 0;
    };

    int result = 1;
    if (msg && msg[0]) {
        result = AfxMessageBox(WideText(msg), type);
        if (RetriesAtOnce(type, result)) {
            report();
            return result;
        }
    }

    const wchar_t* model = WideText(g_szTP_Model);
    const wchar_t* iface = WideText(g_szInterface);
    int hint = HintNumberFor(ModuleHintNumber(g_cap.adwModuleValue, module), model, iface);
    if (HasSharpInformation(model)) {
        CString info = SharpInformationText(iface);
        if (!info.IsEmpty()) AfxMessageBox(info, MB_ICONINFORMATION);
    }

    CString checkText;
    checkText.LoadString(kCheckBoxText);
    if (hint == -1) {
        report();
        return result;
    }

    CString text = ApplyAdapterName(GetRemindMessage(ACTION_TYPE_HINT, ACTION_TIME_CONNECTION, hint), g_nVX_USB, g_nVX_BT);
    SXMSGBOX rec{nCheck >= 0 ? UINT(SX_MSGBOX_CHECKBOX) : 0u, 0, reinterpret_cast<const unsigned short*>(checkText.GetString()),
                 &checked, 0, 0};
    CString caption;
    const bool hasCaption = caption.LoadString(kHintCaption) != FALSE;
    HWND owner = g_pMainFrame ? g_pMainFrame->GetSafeHwnd() : nullptr;
    SxMessageBox(owner, reinterpret_cast<const unsigned short*>(text.GetString()),
                 hasCaption ? reinterpret_cast<const unsigned short*>(caption.GetString()) : nullptr, type, &rec);
    report();
    return result;
}
