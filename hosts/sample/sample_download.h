// A download through a connector, for the tour.
#pragma once
#include <string>

// Downloads http://server/path into file through a CNetConnector (probe host
// "localhost"), with progress, and reports as lines separated by '|'.
std::string SampleDownloadReport(const std::string& server, const std::string& path, const std::wstring& file);
