#pragma once
// A workbook opened in LibreOffice Calc, headless, with a private profile that recalculates
// every formula on load: each sheet exported as CSV (numbers in full precision) and read
// back as rows of texts. What a spreadsheet computes, not what the writer cached.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace kv::prueba {

using THojaCalc = std::vector<std::vector<std::string>>;

// The sheets of the workbook by name, header row included; empty when Calc failed (the
// test then fails on the missing sheet).
std::map<std::string, THojaCalc> RecalculaLibro(const std::filesystem::path& libro);

// A text of a cell read as a number (what Calc wrote with "." as separator).
double NumeroCalc(const std::string& s);

}  // namespace kv::prueba
