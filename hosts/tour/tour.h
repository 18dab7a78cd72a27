// The sample host's tour: each subsystem adds a step that shows what the library does.
#pragma once
#include <string>

// A step prints what it shows; returns false when something did not work.
struct TourStep {
    const char* title;
    bool (*run)(const std::wstring& binFolder);
};

bool StartupTour(const std::wstring& binFolder);
bool CapabilityTour(const std::wstring& binFolder);
bool CatalogueTour(const std::wstring& binFolder);
bool XmlTour(const std::wstring& binFolder);
bool NetTour(const std::wstring& binFolder);
bool LanguageTour(const std::wstring& binFolder);
bool NameDialogTour(const std::wstring& binFolder);
bool MessageTour(const std::wstring& binFolder);

// Prints a host's report: one line per '|'-separated part, indented.
void TourPrintLines(const std::string& report);

// Starts exe from bin, runs command (whose "ok" reply is a '|'-separated report), prints
// intro and the report. False when the host or the command failed.
bool TourHostReport(const std::wstring& bin, const wchar_t* exe, const std::string& command, const char* intro);

// A path in the temporary folder, in UTF-8 for a host command.
std::string TourTempPath(const wchar_t* name);

void TourPrint(const char* fmt, ...);
