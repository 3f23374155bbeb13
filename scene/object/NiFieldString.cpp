#include "scene/object/NiFieldString.h"

#include "scene/object/NiCFormat.h"

std::string NiFieldStringHeader(const char* pcClassName)
{
    return NiCFormat("--- %s ---", pcClassName);
}

std::string NiFieldString(const char* pcName, bool bValue)
{
    return NiCFormat(bValue ? "%s = true" : "%s = false", pcName);
}

std::string NiFieldString(const char* pcName, char cValue)
{
    return NiCFormat("%s = %c", pcName, cValue);
}

std::string NiFieldString(const char* pcName, unsigned char ucValue)
{
    return NiCFormat("%s = %u", pcName, static_cast<unsigned int>(ucValue));
}

std::string NiFieldString(const char* pcName, short sValue)
{
    return NiCFormat("%s = %hd", pcName, sValue);
}

std::string NiFieldString(const char* pcName, unsigned short usValue)
{
    return NiCFormat("%s = %hu", pcName, usValue);
}

std::string NiFieldString(const char* pcName, int iValue)
{
    return NiCFormat("%s = %d", pcName, iValue);
}

std::string NiFieldString(const char* pcName, unsigned int uiValue)
{
    return NiCFormat("%s = %u", pcName, uiValue);
}

std::string NiFieldString(const char* pcName, long lValue)
{
    return NiCFormat("%s = %ld", pcName, lValue);
}

std::string NiFieldString(const char* pcName, unsigned long ulValue)
{
    return NiCFormat("%s = %lu", pcName, ulValue);
}

std::string NiFieldString(const char* pcName, float fValue)
{
    return NiCFormat("%s = %.6e", pcName, static_cast<double>(fValue));
}

std::string NiFieldString(const char* pcName, double dValue)
{
    return NiCFormat("%s = %.6e", pcName, dValue);
}

std::string NiFieldString(const char* pcName, const void* pvValue)
{
    return NiCFormat("%s = %p", pcName, pvValue);
}

std::string NiFieldString(const char* pcName, const char* pcValue)
{
    return pcValue ? NiCFormat("%s = %s", pcName, pcValue) : NiCFormat("%s = NULL", pcName);
}
