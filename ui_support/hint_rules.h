// The rules of the hinted message that depend only on their inputs: which hint a module of
// the suite gets with the connected handset, the Sharp models' overrides and information
// texts, and the adapter name in hint texts.
#pragma once
#include <afxstr.h>
#include "HintMessages.h"

// The hint number of module (0, 1, 2, 4, 16, 32 or 256) from the capability record's
// per-module values, in that order; -1 for any other module.
int ModuleHintNumber(const unsigned long (&moduleValues)[7], EPhMgrModule module);

// The hint number for a handset of model on the interface iface (exact names): the module's
// own number, or the SHARP_GX25's number for its interface (-1, no hint, on any other).
int HintNumberFor(int moduleHint, const wchar_t* model, const wchar_t* iface);

// True for the models that first show an information box about their interface.
bool HasSharpInformation(const wchar_t* model);

// The information text of those models for iface, from the string resources: 2132 on
// "USB Cable"; template 2131 filled with 2024, 2025, 2029, 2026, 2027 on "IrDA"; with 2024,
// 2025, 2030, 2026, 2027 and then a line with 2133 on "Bluetooth". Empty on any other
// interface: no information box is shown then.
CString SharpInformationText(const wchar_t* iface);

// pattern with the platform's message inserts %1 to %5 filled by the five texts; an insert
// above %5 (a fault of the language file) comes out empty. Empty when the platform refuses
// the pattern.
CString FillInserts(const CString& pattern, const CString (&inserts)[5]);

// The adapter names of hint texts: with the USB adapter 220 every "(VX-200)" becomes
// "(VX-Bluetooth)"; otherwise with the Bluetooth adapter 230 every "VX-200" becomes
// "VX-Bluetooth".
CString ApplyAdapterName(CString hint, int vxUsb, int vxBt);
