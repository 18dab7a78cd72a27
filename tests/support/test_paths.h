// Paths the tests work with.
#pragma once
#include <string>

// The folder of the running test program (build/bin): the library and the hosts.
std::wstring BinFolder();
// A new, empty folder under the temporary folder, unique to this call.
std::wstring NewTempFolder(const wchar_t* tag);
// Removes a folder and everything in it.
void RemoveTree(const std::wstring& folder);
// The whole content of a file, or "" when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
