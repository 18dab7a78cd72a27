// The download dialog mid-way through a slow download from a local server, for the pictures.
#pragma once
#include <windows.h>

// Runs the dialog modally (the watcher ends it with its Abort button).
void DownloadDialogMidWay();
// True once the dialog shows the product's name and its bar is well under way.
bool DownloadDialogReady(HWND dialog);
// The dialog's bar: its picture differs from run to run only there.
HWND DownloadDialogBar(HWND dialog);
