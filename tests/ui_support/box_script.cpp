// The boxes of a call, read and answered in turn.
#include "box_script.h"
#include <SxMessageBox.h>

namespace {

// The visible message box of thread tid, or null.
HWND OpenBox(DWORD tid) {
    for (HWND w : ThreadWindows(tid)) {
        wchar_t cls[16] = L"";
        GetClassNameW(w, cls, 16);
        if (IsWindowVisible(w) && lstrcmpW(cls, L"#32770") == 0) return w;
    }
    return nullptr;
}

} // namespace

std::vector<SeenBox> PlayBoxes(BoxThread& call, const std::vector<BoxAnswer>& answers, bool* finished) {
    std::vector<SeenBox> seen;
    for (;;) {
        HWND box = nullptr;
        // The previous box has gone: whatever box the thread shows now is the next one.
        WaitUntil([&] { return call.Wait(0) || (box = OpenBox(call.thread_id())) != nullptr; });
        if (!box) break;
        HWND check = GetDlgItem(box, IDC_SX_CHECKBOX);
        seen.push_back({TextOf(box), TextOf(TextControl(box)), check ? TextOf(check) : std::wstring(),
                        check ? int(SendMessageW(check, BM_GETCHECK, 0, 0)) : -1, GetWindow(box, GW_OWNER)});
        BoxAnswer answer = seen.size() <= answers.size() ? answers[seen.size() - 1] : BoxAnswer{false, IDCANCEL};
        if (answer.toggleCheck && check) Click(check);
        if (HWND button = ButtonById(box, answer.button)) Click(button);
        else PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        if (!WaitUntil([&] { return !IsWindow(box); })) break;
    }
    *finished = call.Wait(5000);
    return seen;
}
