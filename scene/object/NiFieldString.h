#pragma once

#include <string>

// Field strings: one line per field of an object for a viewer ("name = value"). Every class's
// AddFieldStrings appends its lines with these formatters; the caller owns the result.

// "--- <class> ---": the line that opens a class's fields.
std::string NiFieldStringHeader(const char* pcClassName);

std::string NiFieldString(const char* pcName, bool bValue);
std::string NiFieldString(const char* pcName, char cValue);
std::string NiFieldString(const char* pcName, unsigned char ucValue);
std::string NiFieldString(const char* pcName, short sValue);
std::string NiFieldString(const char* pcName, unsigned short usValue);
std::string NiFieldString(const char* pcName, int iValue);
std::string NiFieldString(const char* pcName, unsigned int uiValue);
std::string NiFieldString(const char* pcName, long lValue);
std::string NiFieldString(const char* pcName, unsigned long ulValue);
std::string NiFieldString(const char* pcName, float fValue);
std::string NiFieldString(const char* pcName, double dValue);
std::string NiFieldString(const char* pcName, const void* pvValue);
// A null text prints as NULL.
std::string NiFieldString(const char* pcName, const char* pcValue);
