#pragma once
// Fixed lines shared by the document frame and the folder sections.
#include <string>

// 137 characters: dash groups of 11, 16, 16, 16, 8, 8 and 56 between single blanks.
const std::wstring& RuleLine();
// 104 characters; with the Chinese characters two columns wide it is as wide as the rule.
const std::wstring& TxtColumnHeader();
const std::wstring& CsvColumnHeader();
// The file table's opening row and header cells, two lines (the row stays open).
const std::wstring& HtmlFileTableHeader();
