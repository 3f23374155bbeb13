#pragma once

#include <optional>
#include <string>

class NiStream;

// A named point in a sequence's time: the time and an owned text, or no text.
class TextKey
{
public:
    TextKey() = default;
    TextKey(float fTime, const char* pcText) : m_fTime(fTime) { SetText(pcText); }

    float GetTime() const { return m_fTime; }
    void SetTime(float fTime) { m_fTime = fTime; }
    // The text, or null when there is none.
    const char* GetText() const { return m_kText ? m_kText->c_str() : nullptr; }
    // A copy of the text; null stores none.
    void SetText(const char* pcText);

    // Compared as texts, a missing text counting as the empty one.
    bool TextEquals(const char* pcText) const;
    bool TextStartsWith(const char* pcPrefix) const;

    // The time, then the text (a stored length of 0 reads as no text; none saves as length 0).
    void LoadBinary(NiStream& kStream);
    void SaveBinary(NiStream& kStream) const;

    bool operator==(const TextKey& kOther) const = default;

private:
    float m_fTime = 0.0f;
    std::optional<std::string> m_kText;
};
