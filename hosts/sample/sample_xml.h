// A small response document for the tour.
#pragma once
#include <string>

// Writes a sample response document to path, loads it with CXMLDoc, and reports values
// found with FindChild / FindAttrValue and the tree written back out, as lines separated
// by '|'. Empty when the file cannot be written or read.
std::string SampleXmlReport(const std::wstring& path);
