// The remind texts of the suite. Action type 0 with action time 6 are the connection hints,
// numbered as the handset capability record's module entries name them.
#include <windows.h>
#include <afxstr.h>

namespace {

struct RemindText {
    int type;
    int time;
    int index;
    const wchar_t* text;
};

const RemindText kTexts[] = {
    {0, 6, 0, L"Connect the handset with its data cable before you start."},
    {0, 6, 1, L"Connect the handset with the USB data cable (VX-200) and switch it on."},
    {0, 6, 2, L"Photos are copied over the data cable (VX-200). Keep the handset connected until the copy has finished."},
    {0, 6, 3, L"Music files are large: connect the handset over USB for the fastest transfer."},
    {0, 6, 4, L"Ring tones are sent to the handset's sound folder. Choose the tone on the handset afterwards."},
    {0, 6, 5, L"Videos can be played on the handset only in the formats it supports."},
    {0, 6, 6, L"Contacts are read from the handset's phone book. Unlock the handset if it asks for a code."},
    {0, 6, 7, L"Applications are installed by the handset itself: confirm the installation on its screen."},
    {0, 6, 8, L"Calendar entries are synchronised both ways. Close the calendar on the handset first."},
    {0, 6, 28, L"Connect the handset with the USB data cable (VX-200). The handset shows \"USB mode\" when it is ready."},
    {0, 6, 29, L"Point the handset's infrared port at the adapter (VX-200) and keep it within 30 cm."},
    {0, 6, 30, L"Switch on Bluetooth on the handset and on the adapter (VX-200), then pair them."},
    {1, 0, 0, L"The handset's battery is low. Charge it before a long transfer."},
    {1, 1, 0, L"The transfer has finished. You can disconnect the handset now."},
};

} // namespace

extern "C" __declspec(dllexport) CString GetRemindMessage(int type, int time, int index) {
    for (const RemindText& t : kTexts)
        if (t.type == type && t.time == time && t.index == index) return CString(t.text);
    return CString();
}
