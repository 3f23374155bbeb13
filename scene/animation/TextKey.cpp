#include "scene/animation/TextKey.h"

#include "scene/object/NiStream.h"

#include <cstring>

void TextKey::SetText(const char* pcText)
{
    if (pcText)
        m_kText = pcText;
    else
        m_kText.reset();
}

bool TextKey::TextEquals(const char* pcText) const
{
    const char* pcOwn = GetText();
    return std::strcmp(pcOwn ? pcOwn : "", pcText ? pcText : "") == 0;
}

bool TextKey::TextStartsWith(const char* pcPrefix) const
{
    const char* pcOwn = GetText();
    return std::strncmp(pcOwn ? pcOwn : "", pcPrefix, std::strlen(pcPrefix)) == 0;
}

void TextKey::LoadBinary(NiStream& kStream)
{
    kStream.Load(m_fTime);
    m_kText = kStream.LoadCString();
}

void TextKey::SaveBinary(NiStream& kStream) const
{
    kStream.Save(m_fTime);
    kStream.SaveCString(GetText());
}
