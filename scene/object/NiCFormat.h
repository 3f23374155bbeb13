#pragma once

#include <string>

// printf-style formatting that always uses the "C" locale, whatever the process locale is:
// viewer field strings and saved texts must never see a decimal comma.
std::string NiCFormat(const char* pcFormat, ...) __attribute__((format(printf, 1, 2)));
