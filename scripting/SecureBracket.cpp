#include "scripting/PythonApi.h"

#include "scripting/SecureBracket.h"

#include "scripting/PyEmbed.h"

#include <cstdint>

namespace
{
int32_t s_iSecureLevel = 0;
}

int Py_ChangeSecureLevel(int flag)
{
    s_iSecureLevel += flag ? 1 : -1;
    return s_iSecureLevel;
}

int Py_IsSecure()
{
    return s_iSecureLevel > 0 ? 1 : 0;
}

namespace PyEmbed
{
void LowerSecureLevel()
{
    Py_ChangeSecureLevel(0);
}

int GetSecureLevel()
{
    return s_iSecureLevel;
}

SecureBracket::SecureBracket()
{
    if (Py_IsInitialized() && PyErr_Occurred())
        CheckError();
    Py_ChangeSecureLevel(1);
}

SecureBracket::~SecureBracket()
{
    LowerSecureLevel();
}

SecureLevelPause::SecureLevelPause() : m_iSavedLevel(s_iSecureLevel)
{
    s_iSecureLevel = 0;
}

SecureLevelPause::~SecureLevelPause()
{
    s_iSecureLevel = m_iSavedLevel;
}
} // namespace PyEmbed
