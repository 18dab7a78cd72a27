// A small sample catalogue for the tour.
#pragma once
#include <string>

// Builds the sample catalogue in a new file at path (the process's AppDB) and reports
// what the queries give, as lines separated by '|'. Empty when the file cannot be made.
std::string SampleCatalogueReport(const std::wstring& path);
