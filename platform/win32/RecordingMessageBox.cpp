#include "platform/win32/RecordingMessageBox.h"

namespace win32
{
RecordingMessageBox::RecordingMessageBox()
{
    m_pkPrevious = SetMessageBoxService(this);
}

RecordingMessageBox::~RecordingMessageBox()
{
    SetMessageBoxService(m_pkPrevious);
}

int RecordingMessageBox::Show(HWND hOwner, const char* pcText, const char* pcCaption, uint32_t uiType)
{
    m_kBoxes.push_back(
        {hOwner, pcText != nullptr ? pcText : "", pcCaption != nullptr ? pcCaption : "", uiType});
    if (m_kAnswers.empty())
        return DefaultMessageBoxAnswer(uiType);
    const int iAnswer = m_kAnswers.front();
    m_kAnswers.pop_front();
    return iAnswer;
}
} // namespace win32
