// The ends of the notify popups, which the module's entry point calls (splash_window.cpp).
#pragma once

// The calling thread ends: its popups are destroyed while the framework still routes their
// messages.
void end_thread_splashes();
// The module unloads while the process goes on: every popup closes, and the window class goes.
void end_all_splashes();
// The process ends: the popups are left to it.
void leave_splashes();
