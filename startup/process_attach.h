// What runs when a process loads and unloads the library (after MFC registration).
#pragma once

// Product names, program and application data folders, the existence mutex, the
// process's diagnostic log.
void OnProcessAttach();
// Deletes the diagnostic logs.
void OnProcessDetach();
