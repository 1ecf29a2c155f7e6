#pragma once
// The system's own words for an error code.
#include <string>

// The description of an error code without its line break; empty when the system has
// none for the code.
std::wstring SystemErrorDescription(unsigned long error);
